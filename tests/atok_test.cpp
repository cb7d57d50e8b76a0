#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/sim_run.h"

namespace {

using simrun::Lines;

const char kAtok10Profile[] = "C:\\WINDOWS\\atok10w.ini";
const char kAppData[] = "C:\\Documents and Settings\\user\\Application Data";
const std::string kAtok14Folder = std::string(kAppData) + "\\Justsystem\\Atok14\\";
const char kAtok12Key[] = "HKLM\\Software\\Justsystem\\ATOK\\12.0\\Profile";
const char kAtok13Key[] = "HKLM\\Software\\Justsystem\\ATOK\\13.0\\Profile";

std::string EditFailed(const std::string& path, const std::string& version) {
  return path + " の編集に失敗しました。\n\n" + version +
         "のプロパティを直接操作して\n拡張辞書を登録して下さい。";
}

std::string SetFull(const std::string& v) {
  return v +
         "の「基本辞書セットの補助辞書」には\n"
         "既に各種辞書が登録されており これ以上登録できません。\n"
         "\n"
         "以下のどちらかの方法で拡張辞書を登録して下さい。\n"
         "\n"
         "①" +
         v +
         "のプロパティを操作して 手動で拡張辞書を登録する。\n"
         "②" +
         v +
         "のプロパティを操作して １つ以上の補助辞書を削除\n"
         "　してから 拡張辞書のセットアップを再実行する。";
}

std::string ReadBack(const std::string& path) {
  std::string bytes = "<missing>";
  sim::ReadFile(path, &bytes);
  return bytes;
}

struct AuxCase {
  const char* name;
  std::vector<std::string> before;  // atok10w.ini lines; empty for no file
  std::vector<std::string> after;   // lines after the run; empty: unchanged
  int warning;                      // 0 none, 1 edit failed, 2 set full
};

void PrintTo(const AuxCase& c, std::ostream* os) {
  *os << c.name;
}

class Atok10Profile : public ::testing::TestWithParam<AuxCase> {};

TEST_P(Atok10Profile, EditsTheBasicSetOrRemovesAndWarns) {
  const AuxCase& c = GetParam();
  simrun::FreshHost();
  simrun::Dictionary("C:\\Dic\\VezDat10.dic");
  if (!c.before.empty())
    sim::WriteFile(kAtok10Profile, Lines(c.before));
  EXPECT_EQ(0, simrun::RunTool("C:\\Dic"));
  const bool written = !c.after.empty();
  EXPECT_EQ(written            ? Lines(c.after)
            : c.before.empty() ? "<missing>"
                               : Lines(c.before),
            ReadBack(kAtok10Profile));
  EXPECT_EQ(written, sim::Exists("C:\\Dic\\VezDat10.dic"));
  std::vector<std::string> expected;
  if (c.warning == 1)
    expected.push_back(EditFailed(kAtok10Profile, "ATOK10"));
  if (c.warning == 2)
    expected.push_back(SetFull("ATOK10"));
  EXPECT_EQ(expected, simrun::MessageTexts());
}

const std::vector<std::string> kLearning2 = {"[辞書・学習]", "基本辞書セットNo=2"};

std::vector<std::string> Plus(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Atok10Profile,
    ::testing::Values(
        AuxCase{"FirstEmptySlot",
                Plus(kLearning2, {"[辞書セット２]", "補助辞書１=C:\\A\\a.dic", "補助辞書２="}),
                Plus(kLearning2, {"[辞書セット２]", "補助辞書１=C:\\A\\a.dic",
                                  "補助辞書２=C:\\Dic\\VezDat10.dic"}),
                0},
        AuxCase{"LaterSlotHoldingTheDictionaryWins",
                Plus(kLearning2, {"[辞書セット２]", "補助辞書１=C:\\A\\a.dic", "補助辞書２=",
                                  "補助辞書３=C:\\C\\c.dic", "補助辞書４=D:\\Old\\VezDat10.dic"}),
                Plus(kLearning2, {"[辞書セット２]", "補助辞書１=C:\\A\\a.dic", "補助辞書２=",
                                  "補助辞書３=C:\\C\\c.dic", "補助辞書４=C:\\Dic\\VezDat10.dic"}),
                0},
        AuxCase{
            "AbsentKeyIsAFreeSlotAndIsCreated",
            Plus(kLearning2,
                 {"[辞書セット２]", "補助辞書１=C:\\A\\a.dic", "[辞書セット３]", "補助辞書１="}),
            Plus(kLearning2, {"[辞書セット２]", "補助辞書１=C:\\A\\a.dic",
                              "補助辞書２=C:\\Dic\\VezDat10.dic", "[辞書セット３]", "補助辞書１="}),
            0},
        AuxCase{"OtherSetsAreNotLookedAt",
                {"[辞書・学習]", "基本辞書セットNo=9", "[辞書セット２]",
                 "補助辞書１=", "[辞書セット９]", "補助辞書１=C:\\A\\a.dic",
                 "補助辞書２=C:\\B\\b.dic", "補助辞書３=C:\\C\\c.dic", "補助辞書４=C:\\D\\d.dic"},
                {},
                2},
        AuxCase{"NoSetNumberMeansSetTen", {"[辞書・学習]", "[辞書セット１]", "補助辞書１="}, {}, 1},
        AuxCase{"SetNumberZero",
                {"[辞書・学習]", "基本辞書セットNo=0", "[辞書セット１]", "補助辞書１="},
                {},
                1},
        AuxCase{"HalfWidthDigitSectionIsNotTheSet",
                {"[辞書・学習]", "基本辞書セットNo=3", "[辞書セット3]", "補助辞書１="},
                {},
                1},
        AuxCase{"AllFourSlotsTaken",
                Plus(kLearning2,
                     {"[辞書セット２]", "補助辞書１=C:\\A\\a.dic", "補助辞書２=C:\\B\\b.dic",
                      "補助辞書３=C:\\C\\c.dic", "補助辞書４=C:\\D\\d.dic"}),
                {},
                2},
        // The match is a byte search anywhere in the value, case-sensitive.
        AuxCase{"LowerCaseNameIsAnotherDictionary",
                Plus(kLearning2,
                     {"[辞書セット２]", "補助辞書１=C:\\A\\vezdat10.dic", "補助辞書２=C:\\B\\b.dic",
                      "補助辞書３=C:\\C\\c.dic", "補助辞書４=C:\\D\\d.dic"}),
                {},
                2},
        AuxCase{"NoProfileRemovesSilently", {}, {}, 0}),
    [](const ::testing::TestParamInfo<AuxCase>& info) { return std::string(info.param.name); });

TEST(AtokProfile, FolderAtTheProfilePathIsUnusable) {
  simrun::FreshHost();
  simrun::Dictionary("C:\\Dic\\VezDat10.dic");
  sim::MakeDirectory(kAtok10Profile);
  simrun::RunTool("C:\\Dic");
  EXPECT_EQ(std::vector<std::string>{EditFailed(kAtok10Profile, "ATOK10")}, simrun::MessageTexts());
  EXPECT_FALSE(sim::Exists("C:\\Dic\\VezDat10.dic"));
}

TEST(AtokProfile, OnlySectionNamesWithinTheBufferAreSeen) {
  // Padding sections fill the 1024-byte name list; the set's section comes after them.
  for (size_t padding : {900u, 1100u}) {
    simrun::FreshHost();
    simrun::Dictionary("C:\\Dic\\VezDat10.dic");
    std::vector<std::string> lines = kLearning2;
    for (size_t used = 11; used < padding; used += 11)
      lines.push_back("[Section" + std::to_string(1000 + used) + "]");
    lines.push_back("[辞書セット２]");
    lines.push_back("補助辞書１=");
    sim::WriteFile(kAtok10Profile, Lines(lines));
    simrun::RunTool("C:\\Dic");
    EXPECT_EQ(padding < 1000, sim::Exists("C:\\Dic\\VezDat10.dic")) << padding;
    EXPECT_EQ(padding < 1000 ? 0u : 1u, sim::Messages().size()) << padding;
  }
}

TEST(AtokProfile, HandMadeLayoutIsKeptOutsideTheWrittenLine) {
  simrun::FreshHost();
  simrun::Dictionary("C:\\Dic\\VezDat11.dic");
  const std::string before =
      "; settings\n[辞書・学習]\n  基本辞書セットNo = 2  \n\n[辞書セット２]\n補助辞書１ = "
      "C:\\A\\a.dic\n"
      "補助辞書２ =\n\n[表示]\nフォント=ＭＳ ゴシック\n";
  sim::WriteFile("C:\\WINDOWS\\atok11w.ini", before);
  simrun::RunTool("C:\\Dic");
  std::string expected = before;
  const std::string old_line = "補助辞書２ =";
  expected.replace(expected.find(old_line), old_line.size(), "補助辞書２=C:\\Dic\\VezDat11.dic");
  EXPECT_EQ(expected, ReadBack("C:\\WINDOWS\\atok11w.ini"));
  EXPECT_TRUE(sim::Messages().empty());
}

TEST(Atok11, UsesItsOwnProfileAndVersionName) {
  simrun::FreshHost();
  simrun::Dictionary("C:\\Dic\\VezDat11.dic");
  sim::WriteFile("C:\\WINDOWS\\atok11w.ini", Lines({"[辞書・学習]", "[辞書セット１]"}));
  simrun::Dictionary("C:\\Dic\\VezDat10.dic");  // ATOK 10 has no profile: silently removed
  simrun::RunTool("C:\\Dic");
  EXPECT_EQ(std::vector<std::string>{EditFailed("C:\\WINDOWS\\atok11w.ini", "ATOK11")},
            simrun::MessageTexts());
  EXPECT_FALSE(sim::Exists("C:\\Dic\\VezDat10.dic"));
  EXPECT_FALSE(sim::Exists("C:\\Dic\\VezDat11.dic"));
}

// ---- ATOK 12 and 13: the profile named in the registry -----------------------------------

const std::vector<std::string> kFreeSet1 = {"[辞書・学習]", "基本辞書セットNo=1", "[辞書セット１]"};

TEST(Atok12, ActiveNumberNamesTheProfile) {
  simrun::FreshHost();
  simrun::Dictionary("C:\\Dic\\VezDat12.dic");
  sim::SetValue(kAtok12Key, "Active", REG_DWORD, std::string("\x02\x00\x00\x00", 4));
  sim::SetValue(kAtok12Key, "File2", REG_SZ, simrun::Sz("D:\\Profiles\\a12.ini"));
  sim::SetValue(kAtok12Key, "File1", REG_SZ, simrun::Sz("D:\\Profiles\\wrong.ini"));
  sim::WriteFile("D:\\Profiles\\a12.ini", Lines(kFreeSet1));
  sim::WriteFile("D:\\Profiles\\wrong.ini", Lines(kFreeSet1));
  simrun::RunTool("C:\\Dic");
  EXPECT_EQ(Lines(Plus(kFreeSet1, {"補助辞書１=C:\\Dic\\VezDat12.dic"})),
            ReadBack("D:\\Profiles\\a12.ini"));
  EXPECT_EQ(Lines(kFreeSet1), ReadBack("D:\\Profiles\\wrong.ini"));
  EXPECT_TRUE(sim::Exists("C:\\Dic\\VezDat12.dic"));
  EXPECT_EQ(0u, sim::OpenKeyCount());
}

TEST(Atok12, ActiveStoredAsTextReadsAsItsBytes) {
  simrun::FreshHost();
  simrun::Dictionary("C:\\Dic\\VezDat12.dic");
  sim::SetValue(kAtok12Key, "Active", REG_SZ, simrun::Sz("2"));  // 32 00: the number 50
  sim::SetValue(kAtok12Key, "File50", REG_SZ, simrun::Sz("D:\\Profiles\\fifty.ini"));
  sim::SetValue(kAtok12Key, "File2", REG_SZ, simrun::Sz("D:\\Profiles\\two.ini"));
  sim::WriteFile("D:\\Profiles\\fifty.ini", Lines(kFreeSet1));
  sim::WriteFile("D:\\Profiles\\two.ini", Lines(kFreeSet1));
  simrun::RunTool("C:\\Dic");
  EXPECT_EQ(Lines(Plus(kFreeSet1, {"補助辞書１=C:\\Dic\\VezDat12.dic"})),
            ReadBack("D:\\Profiles\\fifty.ini"));
  EXPECT_EQ(Lines(kFreeSet1), ReadBack("D:\\Profiles\\two.ini"));
}

TEST(Atok12, MissingActiveOrFileValueRemovesSilently) {
  for (bool has_active : {false, true}) {
    simrun::FreshHost();
    simrun::Dictionary("C:\\Dic\\VezDat12.dic");
    sim::CreateKey(kAtok12Key);
    if (has_active)
      sim::SetValue(kAtok12Key, "Active", REG_DWORD, std::string("\x03\0\0\0", 4));
    simrun::RunTool("C:\\Dic");
    EXPECT_FALSE(sim::Exists("C:\\Dic\\VezDat12.dic"));
    EXPECT_TRUE(sim::Messages().empty());
    EXPECT_EQ(0u, sim::OpenKeyCount());
  }
}

TEST(Atok13, NoProfileKeyRemovesTheDictionaryAndTouchesNothingElse) {
  simrun::FreshHost();
  simrun::Dictionary("C:\\Dic\\VezDat13.dic");
  sim::SetValue(kAtok12Key, "Active", REG_DWORD, std::string("\x01\0\0\0", 4));
  simrun::RunTool("C:\\Dic");
  EXPECT_FALSE(sim::Exists("C:\\Dic\\VezDat13.dic"));
  EXPECT_FALSE(sim::KeyExists(kAtok13Key));
  for (const sim::Call& call : sim::Journal()) {
    EXPECT_TRUE(call.op == sim::Op::GetWindowsDirectoryA ||
                call.op == sim::Op::GetFileAttributesA || call.op == sim::Op::RegOpenKeyExA ||
                call.op == sim::Op::DeleteFileA)
        << sim::OpName(call.op);
  }
}

// ---- ATOK 14: both profiles in the application-data folder ---------------------------------

struct Atok14Files {
  std::string main;
  std::string user;
};

Atok14Files RunAtok14(const std::string& main, const std::string& user) {
  simrun::FreshHost();
  simrun::Dictionary("C:\\Dic\\VezDat14.dic");
  if (!main.empty())
    sim::WriteFile(kAtok14Folder + "atok14w.ini", main);
  if (!user.empty())
    sim::WriteFile(kAtok14Folder + "user.ini", user);
  simrun::RunTool("C:\\Dic");
  EXPECT_TRUE(sim::Messages().empty());
  EXPECT_EQ(0u, sim::LiveShellItems());
  return {ReadBack(kAtok14Folder + "atok14w.ini"), ReadBack(kAtok14Folder + "user.ini")};
}

TEST(Atok14, BothProfilesGetTheFirstFreeSystemSlotOfTheirOwnSet) {
  const std::string main = Lines(
      {"[辞書・学習]", "基本辞書セットNo=1", "[辞書セット１]", "システム辞書６=ON,0,C:\\A\\a.dic",
       "システム辞書７=ON,0,C:\\B\\b.dic", "システム辞書８=", "[辞書セット３]"});
  const std::string user =
      Lines({"[辞書・学習]", "基本辞書セットNo=3", "[辞書セット１]", "[辞書セット３]",
             "システム辞書６=ON,0,C:\\A\\a.dic", "システム辞書７=OFF,0,C:\\B\\b.dic"});
  Atok14Files after = RunAtok14(main, user);
  std::string main_after = main;
  main_after.replace(main_after.find("システム辞書８="), 15,
                     "システム辞書８=ON,0,C:\\Dic\\VezDat14.dic");
  EXPECT_EQ(main_after, after.main);
  EXPECT_EQ(user + "システム辞書８=ON,0,C:\\Dic\\VezDat14.dic\r\n", after.user);
  EXPECT_TRUE(sim::Exists("C:\\Dic\\VezDat14.dic"));
}

TEST(Atok14, SlotHoldingTheFileNameAnywhereIsRewritten) {
  const std::string main = Lines({"[辞書・学習]", "基本辞書セットNo=1", "[辞書セット１]",
                                  "システム辞書６=", "システム辞書７=ON,0,D:\\Old\\VezDat14.dic"});
  Atok14Files after = RunAtok14(main, "");
  EXPECT_EQ(Lines({"[辞書・学習]", "基本辞書セットNo=1", "[辞書セット１]",
                   "システム辞書６=", "システム辞書７=ON,0,C:\\Dic\\VezDat14.dic"}),
            after.main);
  EXPECT_EQ("<missing>", after.user);
}

TEST(Atok14, KeyEndingInZeroComesLast) {
  std::vector<std::string> lines = {"[辞書・学習]", "基本辞書セットNo=1", "[辞書セット１]",
                                    "システム辞書０="};
  for (const char* digit : {"６", "７", "８", "９"}) {
    lines.push_back(std::string("システム辞書") + digit + "=ON,0,C:\\X" + digit + ".dic");
  }
  Atok14Files after = RunAtok14(Lines(lines), "");
  lines[3] = "システム辞書０=ON,0,C:\\Dic\\VezDat14.dic";
  EXPECT_EQ(Lines(lines), after.main);
}

TEST(Atok14, NoFreeSlotOrUnusableProfileChangesNothingAndKeepsTheFile) {
  std::vector<std::string> full = {"[辞書・学習]", "基本辞書セットNo=1", "[辞書セット１]"};
  for (const char* digit : {"６", "７", "８", "９", "０"}) {
    full.push_back(std::string("システム辞書") + digit + "=ON,0,C:\\X.dic");
  }
  const std::string unusable = Lines({"[辞書・学習]", "[辞書セット１]"});
  Atok14Files after = RunAtok14(Lines(full), unusable);
  EXPECT_EQ(Lines(full), after.main);
  EXPECT_EQ(unusable, after.user);
  EXPECT_TRUE(sim::Exists("C:\\Dic\\VezDat14.dic"));
}

TEST(Atok14, NoMainProfileRemovesTheDictionary) {
  Atok14Files after = RunAtok14("", Lines(kFreeSet1));
  EXPECT_FALSE(sim::Exists("C:\\Dic\\VezDat14.dic"));
  EXPECT_EQ(Lines(kFreeSet1), after.user);
}

TEST(Atok14, UnknownAppDataFolderMeansTheCurrentDirectory) {
  simrun::FreshHost();
  sim::SetAppDataFolder("");
  sim::SetCurrentDirectory("C:\\Setup");
  simrun::Dictionary("C:\\Dic\\VezDat14.dic");
  sim::WriteFile("C:\\Setup\\Justsystem\\Atok14\\atok14w.ini", Lines(kFreeSet1));
  simrun::RunTool("C:\\Dic");
  EXPECT_EQ(Lines(Plus(kFreeSet1, {"システム辞書６=ON,0,C:\\Dic\\VezDat14.dic"})),
            ReadBack("C:\\Setup\\Justsystem\\Atok14\\atok14w.ini"));
}

// ---- Every host call of an ATOK run failing in turn ----------------------------------------

struct Expected {
  bool registered;
  bool present;
  bool warned;
};

// What one handler must end with when `call` failed. A failed slot read looks like an absent
// key, so that slot counts as free: the host gives no way to tell the two apart.
// `repeated` says the same operation on the same target came earlier in the run (ATOK 14 looks
// for its main profile itself, then the editor looks again).
Expected ExpectedFor(const sim::Call& call, bool repeated, const std::string& profile,
                     const std::string& file, const std::string& key, bool auxiliary) {
  const bool on_profile = call.target.find(profile) != std::string::npos;
  const bool on_file = call.target.find(file) != std::string::npos;
  const bool on_key = !key.empty() && call.target.find(key) != std::string::npos;
  const sim::Op op = call.op;
  if (on_file && op == sim::Op::GetFileAttributesA)
    return {false, true, false};
  if (!auxiliary && on_profile && op == sim::Op::GetFileAttributesA && repeated) {
    return {false, true, false};  // the editor finds no profile: the system variant does nothing
  }
  if ((on_profile && op == sim::Op::GetFileAttributesA) || (on_key && op != sim::Op::RegCloseKey)) {
    return {false, false, false};  // the profile cannot be found: removal, no message
  }
  if (!auxiliary &&
      (op == sim::Op::SHGetSpecialFolderLocation || op == sim::Op::SHGetPathFromIDListA)) {
    return {false, false, false};
  }
  if (profile == "atok10w.ini" && op == sim::Op::GetWindowsDirectoryA)
    return {false, false, false};
  if (on_profile &&
      (op == sim::Op::GetPrivateProfileIntA || op == sim::Op::GetPrivateProfileSectionNamesA)) {
    return {false, !auxiliary, auxiliary};
  }
  if (on_profile && op == sim::Op::WritePrivateProfileStringA)
    return {false, true, false};
  return {true, true, false};
}

TEST(Atok, EachHostCallFailingInTurn) {
  const std::string profile10 = Lines(kFreeSet1);
  const std::string atok14 = kAtok14Folder + "atok14w.ini";
  auto seed = [&] {
    simrun::FreshHost();
    simrun::Dictionary("C:\\Dic\\VezDat10.dic");
    simrun::Dictionary("C:\\Dic\\VezDat12.dic");
    simrun::Dictionary("C:\\Dic\\VezDat14.dic");
    sim::WriteFile(kAtok10Profile, profile10);
    sim::SetValue(kAtok12Key, "Active", REG_DWORD, std::string("\x01\0\0\0", 4));
    sim::SetValue(kAtok12Key, "File1", REG_SZ, simrun::Sz("C:\\P\\a12.ini"));
    sim::WriteFile("C:\\P\\a12.ini", Lines(kFreeSet1));
    sim::WriteFile(atok14, Lines(kFreeSet1));
  };
  seed();
  simrun::RunTool("C:\\Dic");
  const std::vector<sim::Call> clean = sim::Journal();
  ASSERT_GT(clean.size(), 20u);
  for (size_t k = 1; k <= clean.size(); ++k) {
    seed();
    sim::FailCall(k);
    const sim::Call& call = clean[k - 1];
    bool repeated = false;
    for (size_t i = 0; i + 1 < k; ++i) {
      repeated = repeated || (clean[i].op == call.op && clean[i].target == call.target);
    }
    SCOPED_TRACE(std::to_string(k) + " " + sim::OpName(call.op) + " " + call.target);
    ASSERT_EQ(0, simrun::RunTool("C:\\Dic"));
    EXPECT_EQ(1u, sim::FaultsFired());
    EXPECT_EQ(0u, sim::OpenKeyCount());
    EXPECT_EQ(0u, sim::LiveShellItems());
    struct Handler {
      std::string profile_name, profile_path, file, key, version;
      bool auxiliary;
    } handlers[] = {
        {"atok10w.ini", kAtok10Profile, "VezDat10.dic", "", "ATOK10", true},
        {"a12.ini", "C:\\P\\a12.ini", "VezDat12.dic", "12.0", "ATOK12", true},
        {"atok14w.ini", atok14, "VezDat14.dic", "", "", false},
    };
    std::vector<std::string> warnings;
    for (const Handler& h : handlers) {
      Expected e = ExpectedFor(call, repeated, h.profile_name, h.file, h.key, h.auxiliary);
      SCOPED_TRACE(h.file);
      EXPECT_EQ(e.registered, ReadBack(h.profile_path).find(h.file) != std::string::npos);
      EXPECT_EQ(e.present, sim::Exists("C:\\Dic\\" + h.file));
      if (!e.registered) {
        EXPECT_EQ(Lines(kFreeSet1), ReadBack(h.profile_path));
      }
      if (e.warned)
        warnings.push_back(EditFailed(h.profile_path, h.version));
    }
    if (call.op != sim::Op::MessageBoxA) {
      EXPECT_EQ(warnings, simrun::MessageTexts());
    }
  }
}

}  // namespace
