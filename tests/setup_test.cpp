#include <gtest/gtest.h>

#include "setup/setup.h"
#include "tests/sim_run.h"

namespace {

using simrun::FreshHost;
using simrun::RunTool;
using simrun::RunToolWithCommandLine;

TEST(SetupRun, MissingInstallDirWarnsOnceAndTouchesNothing) {
  for (const char* command_line :
       {"dicsetup.exe", "\"C:\\Setup\\dicsetup.exe\"   ", "dicsetup.exe \t\x01\x1f "}) {
    FreshHost();
    simrun::Dictionary("C:\\WINDOWS\\VezDim97.dic");
    EXPECT_EQ(0, RunToolWithCommandLine(command_line));
    ASSERT_EQ(1u, sim::Messages().size()) << command_line;
    const sim::Message& m = sim::Messages()[0];
    EXPECT_FALSE(m.has_owner);
    EXPECT_EQ("起動オプションに拡張辞書インストール先のパスを指定して下さい。", m.text);
    EXPECT_EQ("拡張辞書セットアップ", m.caption);
    EXPECT_EQ(0x1030u, m.style);
    // The Windows directory is read first; nothing else is asked of the host.
    ASSERT_EQ(2u, sim::Journal().size());
    EXPECT_EQ(sim::Op::GetWindowsDirectoryA, sim::Journal()[0].op);
    EXPECT_EQ(sim::Op::MessageBoxA, sim::Journal()[1].op);
  }
}

TEST(SetupRun, InstallDirIsTheVerbatimTailWithABackslash) {
  struct Case {
    const char* command_line;
    const char* install_dir;
  } cases[] = {
      {"dicsetup.exe C:\\Dic", "C:\\Dic\\"},
      {"dicsetup.exe C:\\Dic\\", "C:\\Dic\\"},
      {"\"C:\\Program Files\\x\\dicsetup.exe\" C:\\Dic", "C:\\Dic\\"},
      {"\"dicsetup.exe\"C:\\Dic", "C:\\Dic\\"},
      {"dicsetup.exe C:\\My Dic", "C:\\My Dic\\"},
      {"dicsetup.exe \"C:\\My Dic\"", "\"C:\\My Dic\"\\"},
      {"dicsetup.exe \t\x01 C:\\Dic  ", "C:\\Dic  \\"},
      {"dicsetup.exe C:\\ソ", "C:\\ソ\\"},
      {"dicsetup.exe C:\\ソ\\", "C:\\ソ\\"},
  };
  for (const Case& c : cases) {
    FreshHost();
    EXPECT_EQ(0, RunToolWithCommandLine(c.command_line));
    EXPECT_STREQ(c.install_dir, InstallDir.c_str()) << c.command_line;
    EXPECT_TRUE(sim::Messages().empty()) << c.command_line;
  }
}

TEST(SetupRun, WindowsDirGetsItsBackslashOrIsALoneOne) {
  struct Case {
    const char* reported;
    bool fails;
    const char* windows_dir;
  } cases[] = {
      {"C:\\WINDOWS", false, "C:\\WINDOWS\\"},
      {"C:\\WINDOWS\\", false, "C:\\WINDOWS\\"},
      {"D:\\ソ", false, "D:\\ソ\\"},
      {"C:\\WINDOWS", true, "\\"},
  };
  for (const Case& c : cases) {
    FreshHost();
    sim::SetWindowsDirectory(c.reported);
    if (c.fails)
      sim::FailOperation(sim::Op::GetWindowsDirectoryA);
    RunTool("C:\\Dic");
    EXPECT_STREQ(c.windows_dir, WindowsDir.c_str()) << c.reported;
  }
}

TEST(SetupRun, FolderEndingInSoFindsAndRegistersItsDictionary) {
  FreshHost();
  sim::CreateKey(simrun::kIme97Key);
  simrun::Dictionary("C:\\ソ\\VezDim97.dic");
  EXPECT_EQ(0, RunTool("C:\\ソ"));
  EXPECT_EQ(simrun::Sz("C:\\ソ\\VezDim97.dic,1"), simrun::ValueBytes(simrun::kIme97Key, "DIC0"));
}

TEST(SetupRun, AbsentOrQuotedFolderFindsNothingAndChangesNothing) {
  for (const char* tail : {"\"C:\\My Dic\"", "C:\\Missing", "C:\\My Dic  "}) {
    FreshHost();
    sim::CreateKey(simrun::kIme97Key);
    sim::CreateKey(simrun::kIme98Key);
    simrun::Dictionary("C:\\My Dic\\VezDim97.dic");
    simrun::Dictionary("C:\\My Dic\\VezDim98.dic");
    EXPECT_EQ(0, RunTool(tail));
    EXPECT_TRUE(sim::Messages().empty());
    EXPECT_TRUE(sim::Values(simrun::kIme97Key).empty()) << tail;
    for (const sim::Call& call : sim::Journal()) {
      EXPECT_TRUE(call.op == sim::Op::GetWindowsDirectoryA ||
                  call.op == sim::Op::GetFileAttributesA)
          << tail << ": " << sim::OpName(call.op);
    }
    EXPECT_TRUE(sim::Exists("C:\\My Dic\\VezDim97.dic"));
  }
}

TEST(SetupRun, PresenceCountsAFolderOfThatName) {
  FreshHost();
  sim::MakeDirectory("C:\\Dic\\VezDim97.dic");
  RunTool("C:\\Dic");
  // IME 97 is not installed, so the handler tries to remove what it found; a folder stays.
  EXPECT_EQ(1u, sim::CallCount(sim::Op::DeleteFileA));
  EXPECT_TRUE(sim::Exists("C:\\Dic\\VezDim97.dic"));
}

TEST(SetupRun, AnInstallDirTooLongForAnyPathFindsNothing) {
  FreshHost();
  EXPECT_EQ(0, RunTool(std::string(40000, 'a')));
  EXPECT_EQ(0u, sim::CallCount(sim::Op::GetFileAttributesA));
  EXPECT_TRUE(sim::Messages().empty());
}

}  // namespace
