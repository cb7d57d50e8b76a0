#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/sim_run.h"

namespace {

using simrun::kIme97Key;
using simrun::kIme98Key;
using simrun::Sz;

std::string TooManyWarning(const std::string& v) {
  return v +
         "の「変換に使用するシステム辞書」には\n"
         "既に各種辞書が登録されており これ以上登録できません。\n"
         "\n"
         "以下のどちらかの方法で拡張辞書を登録して下さい。\n"
         "\n"
         "①" +
         v +
         "のプロパティを操作して 手動で拡張辞書を登録する。\n"
         "②" +
         v +
         "のプロパティを操作して 使用するシステム辞書のチェックを\n"
         "　１つ以上外してから 拡張辞書のセットアップを再実行する。";
}

TEST(ImeWarning, HasTheExactBytes) {
  // The line breaks, the ideographic space and the circled digits, byte for byte.
  const std::string text = TooManyWarning("IME97");
  EXPECT_NE(std::string::npos, text.find("\n\x81\x40\x82\x50"));  // "\n　１"
  EXPECT_EQ(0, text.compare(text.find("\x87\x40"), 7, "\x87\x40IME97"));
  EXPECT_NE(std::string::npos, text.find("\x87\x41IME97"));
  EXPECT_NE(std::string::npos, text.find("\x82\xE8 \x82\xB1"));  // "り こ": a single-byte blank
}

sim::Value Sz(const char* name, const std::string& text) {
  return {name, REG_SZ, Sz(text)};
}
sim::Value Bin(const char* name, const std::string& bytes) {
  return {name, REG_BINARY, bytes};
}

std::vector<sim::Value> ActiveEntries(int n, int first = 0) {
  std::vector<sim::Value> entries;
  for (int i = 0; i < n; ++i) {
    std::string name = "DIC" + std::to_string(first + i);
    entries.push_back(
        {name, REG_SZ, Sz("C:\\Other" + std::to_string(i) + "\\x.dic," + (i % 2 ? "2" : "1"))});
  }
  return entries;
}

template <typename... Parts>
std::vector<sim::Value> Join(Parts... parts) {
  std::vector<sim::Value> all;
  for (const std::vector<sim::Value>& part : {parts...})
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct ListCase {
  const char* name;
  std::vector<sim::Value> before;
  const char* written;  // the slot that must hold the tool's entry afterwards, or nullptr
  bool warned_and_removed;
};

void PrintTo(const ListCase& c, std::ostream* os) {
  *os << c.name;
}

class Ime97List : public ::testing::TestWithParam<ListCase> {};

TEST_P(Ime97List, ChoosesTheSlotCountsAndWarns) {
  const ListCase& c = GetParam();
  simrun::FreshHost();
  sim::CreateKey(kIme97Key);
  for (const sim::Value& v : c.before)
    sim::SetValue(kIme97Key, v.name, v.type, v.data);
  simrun::Dictionary("C:\\Dic\\VezDim97.dic");

  EXPECT_EQ(0, simrun::RunTool("C:\\Dic"));

  std::vector<sim::Value> expected = c.before;
  if (c.written) {
    const sim::Value entry = Sz(c.written, "C:\\Dic\\VezDim97.dic,1");
    bool replaced = false;
    for (sim::Value& v : expected) {
      if (v.name == c.written) {
        v = entry;
        replaced = true;
      }
    }
    if (!replaced)
      expected.push_back(entry);
  }
  std::vector<sim::Value> after = sim::Values(kIme97Key);
  ASSERT_EQ(expected.size(), after.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(expected[i].name, after[i].name);
    EXPECT_EQ(expected[i].type, after[i].type) << after[i].name;
    EXPECT_EQ(expected[i].data, after[i].data) << after[i].name;
  }
  if (c.warned_and_removed) {
    EXPECT_EQ(std::vector<std::string>{TooManyWarning("IME97")}, simrun::MessageTexts());
    EXPECT_FALSE(sim::Exists("C:\\Dic\\VezDim97.dic"));
  } else {
    EXPECT_TRUE(sim::Messages().empty());
    EXPECT_TRUE(sim::Exists("C:\\Dic\\VezDim97.dic"));
  }
  EXPECT_EQ(0u, sim::OpenKeyCount());
}

INSTANTIATE_TEST_SUITE_P(
    Table, Ime97List,
    ::testing::Values(
        ListCase{"EmptyList", {}, "DIC0", false},
        ListCase{"AfterAnActiveAndAnInactiveEntry",
                 {Sz("DIC0", "C:\\A\\a.dic,1"), Sz("DIC1", "C:\\B\\b.dic,0")},
                 "DIC2",
                 false},
        ListCase{
            "EarlierEntryOfTheDictionaryIsReactivated",
            Join(ActiveEntries(3), std::vector<sim::Value>{Sz("DIC3", "D:\\Old\\VezDim97.dic,0")}),
            "DIC3", false},
        ListCase{"SixActiveBeforeTheFreeSlot", ActiveEntries(6), "DIC6", false},
        ListCase{"SevenActiveBeforeTheFreeSlot", ActiveEntries(7), nullptr, true},
        // The entry already naming the dictionary is chosen before its flag is looked at.
        ListCase{
            "OwnEntryAfterSixActiveIsNotCounted",
            Join(ActiveEntries(6), std::vector<sim::Value>{Sz("DIC6", "C:\\Dic\\VezDim97.dic,1")}),
            "DIC6", false},
        ListCase{"FlagsReadAfterTheFirstComma",
                 {Sz("DIC0", "C:\\X\\x.dic"), Sz("DIC1", "C:\\X\\x.dic, 2 "),
                  Sz("DIC2", "C:\\X\\x.dic\t,\r1\n"), Sz("DIC3", "C:\\X\\x.dic,1"),
                  Sz("DIC4", "C:\\X\\x.dic,2"), Sz("DIC5", "C:\\X\\x.dic,1"),
                  Sz("DIC6", "C:\\X\\x.dic,0"), Sz("DIC7", "C:\\A,B\\x.dic,1"),
                  Sz("DIC8", "C:\\X\\x.dic,12"), Sz("DIC9", "C:\\X\\y.dic,1")},
                 nullptr,
                 true},
        ListCase{"InactiveFlagsDoNotCount",
                 Join(ActiveEntries(6), std::vector<sim::Value>{Sz("DIC6", "C:\\X\\x.dic,0"),
                                                                Sz("DIC7", "C:\\A,B\\x.dic,1"),
                                                                Sz("DIC8", "C:\\X\\x.dic,1 1")}),
                 "DIC9", false},
        ListCase{"BinaryEntryIsSkippedNotReusedNotCounted",
                 Join(ActiveEntries(4), std::vector<sim::Value>{Bin("DIC4", "C:\\x.dic,1")},
                      ActiveEntries(2, 5)),
                 "DIC7", false},
        ListCase{"EmptyStringIsReusedBeforeTheOldEntry",
                 {Sz("DIC0", "C:\\A\\a.dic,1"), Sz("DIC1", ""), Sz("DIC2", "C:\\B\\b.dic,1"),
                  Sz("DIC5", "D:\\Old\\VezDim97.dic,1")},
                 "DIC1",
                 false},
        ListCase{"StringWithoutTerminatorIsReadToItsSize",
                 {{"DIC0", REG_SZ, "D:\\Old\\VezDim97.dic,0"}},
                 "DIC0",
                 false},
        ListCase{"NameInsideADoubleByteCharacterIsNotAMatch",
                 {Sz("DIC0", "D:\\\x83VezDim97.dic,0")},
                 "DIC1",
                 false},
        ListCase{"MatchIsCaseSensitive", {Sz("DIC0", "D:\\vezdim97.dic,0")}, "DIC1", false},
        // An entry too large to read is another program's: never overwritten, not counted.
        ListCase{"EntryLargerThanTheBufferIsKept",
                 {Sz("DIC0", "C:\\" + std::string(300, 'x') + "VezDim97.dic,1"),
                  Sz("DIC1", "C:\\A\\a.dic,1")},
                 "DIC2",
                 false},
        ListCase{"EntryOf260BytesIsRead",
                 {Sz("DIC0", "C:\\" + std::string(259 - 3 - 14, 'x') + "VezDim97.dic,0")},
                 "DIC0",
                 false}),
    [](const ::testing::TestParamInfo<ListCase>& info) { return std::string(info.param.name); });

TEST(Ime97, AllSlotsTakenByOthersWarnsAndRemoves) {
  simrun::FreshHost();
  for (int i = 0; i < 255; ++i) {
    std::string name = "DIC" + std::to_string(i);
    if (i % 50 == 0) {
      sim::SetValue(kIme97Key, name, REG_SZ, Sz("C:\\A\\a.dic,1"));
    } else {
      sim::SetValue(kIme97Key, name, REG_SZ, Sz("C:\\A\\a.dic,0"));
    }
  }
  simrun::Dictionary("C:\\Dic\\VezDim97.dic");
  simrun::RunTool("C:\\Dic");
  EXPECT_EQ(std::vector<std::string>{TooManyWarning("IME97")}, simrun::MessageTexts());
  EXPECT_FALSE(sim::Exists("C:\\Dic\\VezDim97.dic"));
  EXPECT_EQ(255u, sim::Values(kIme97Key).size());
  EXPECT_EQ("<missing>", simrun::ValueBytes(kIme97Key, "DIC255"));
}

TEST(Ime98, UsesItsOwnKeyAndVersionName) {
  simrun::FreshHost();
  for (const sim::Value& v : ActiveEntries(7))
    sim::SetValue(kIme98Key, v.name, v.type, v.data);
  sim::CreateKey(kIme97Key);
  simrun::Dictionary("C:\\Dic\\VezDim97.dic");
  simrun::Dictionary("C:\\Dic\\VezDim98.dic");
  simrun::RunTool("C:\\Dic");
  EXPECT_EQ(std::vector<std::string>{TooManyWarning("IME98")}, simrun::MessageTexts());
  EXPECT_FALSE(sim::Exists("C:\\Dic\\VezDim98.dic"));
  EXPECT_TRUE(sim::Exists("C:\\Dic\\VezDim97.dic"));
  EXPECT_EQ(Sz("C:\\Dic\\VezDim97.dic,1"), simrun::ValueBytes(kIme97Key, "DIC0"));
  EXPECT_EQ(7u, sim::Values(kIme98Key).size());
}

TEST(Ime97, AbsentKeyRemovesTheDictionarySilently) {
  simrun::FreshHost();
  simrun::Dictionary("C:\\Dic\\VezDim97.dic");
  simrun::Dictionary("C:\\Dic\\VezDim98.dic");
  simrun::RunTool("C:\\Dic");
  EXPECT_FALSE(sim::Exists("C:\\Dic\\VezDim97.dic"));
  EXPECT_FALSE(sim::Exists("C:\\Dic\\VezDim98.dic"));
  EXPECT_TRUE(sim::Messages().empty());
  EXPECT_FALSE(sim::KeyExists(kIme97Key));
  EXPECT_EQ(0u, sim::CallCount(sim::Op::RegCreateKeyExA));
}

// Every host call of a run, made to fail in turn: the outcome the handler gives that failure.
TEST(Ime97, EachHostCallFailingInTurn) {
  auto seed = [] {
    simrun::FreshHost();
    sim::SetValue(kIme97Key, "DIC0", REG_SZ, Sz("C:\\A\\a.dic,1"));
    simrun::Dictionary("C:\\Dic\\VezDim97.dic");
  };
  seed();
  simrun::RunTool("C:\\Dic");
  const std::vector<sim::Call> clean = sim::Journal();
  ASSERT_GT(clean.size(), 5u);
  for (size_t k = 1; k <= clean.size(); ++k) {
    seed();
    sim::FailCall(k);
    ASSERT_EQ(0, simrun::RunTool("C:\\Dic"));
    const sim::Op op = clean[k - 1].op;
    SCOPED_TRACE(std::string("call ") + std::to_string(k) + " " + sim::OpName(op));
    EXPECT_EQ(1u, sim::FaultsFired());
    EXPECT_EQ(0u, sim::OpenKeyCount());
    EXPECT_TRUE(sim::Messages().empty());
    const bool present = sim::Exists("C:\\Dic\\VezDim97.dic");
    const std::string dic1 = simrun::ValueBytes(kIme97Key, "DIC1");
    EXPECT_EQ(Sz("C:\\A\\a.dic,1"), simrun::ValueBytes(kIme97Key, "DIC0"));
    const std::string& target = clean[k - 1].target;
    const std::string entry = Sz("C:\\Dic\\VezDim97.dic,1");
    if (op == sim::Op::GetFileAttributesA && target.find("VezDim97") != std::string::npos) {
      EXPECT_TRUE(present);  // the dictionary looks absent: nothing happens
      EXPECT_EQ("<missing>", dic1);
    } else if (op == sim::Op::RegOpenKeyExA) {
      EXPECT_FALSE(present);  // the input method looks absent: silent removal
      EXPECT_EQ("<missing>", dic1);
    } else if (op == sim::Op::RegSetValueExA) {
      EXPECT_TRUE(present);  // a failed write goes unnoticed and the file stays
      EXPECT_EQ("<missing>", dic1);
    } else if (op == sim::Op::RegQueryValueExA && target.substr(target.find('|') + 1) == "DIC1") {
      // A refused read is passed over like an unreadable entry: never overwritten.
      EXPECT_TRUE(present);
      EXPECT_EQ("<missing>", dic1);
      EXPECT_EQ(entry, simrun::ValueBytes(kIme97Key, "DIC2"));
    } else {
      // Reading the Windows directory or DIC0, closing the key, looking for IME 98's file.
      EXPECT_TRUE(present);
      EXPECT_EQ(entry, dic1);
    }
  }
}

}  // namespace
