#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/sim_run.h"

namespace {

const char kList2000[] =
    "HKU\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Ime\\Japan\\IMEJP\\Dictionaries";
const char kList2002[] = "HKU\\.DEFAULT\\Software\\Microsoft\\IMEJP\\8.0\\Dictionaries";
const char kNonManage[] =
    "HKU\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Ime\\Japan\\IMEJP\\NonManage";

std::string Warning(const std::string& version) {
  return version +
         "には既に７個以上の辞書が登録されています。\n\n拡張辞書のコピーはできていますが、\n" +
         version + "のプロパティを開き、使用する辞書を６個以下に\n設定しないと使用できません。";
}

std::string Z(const std::string& text) {
  return text + std::string(1, '\0');
}
std::string NonManageEntry(const std::string& path) {
  return std::string("\x01\x00\x00\x00", 4) + Z(path);
}

void Bin(const char* key, const std::string& name, const std::string& bytes) {
  sim::SetValue(key, name, REG_BINARY, bytes);
}
void Entries(const char* key, const std::vector<std::string>& texts) {
  for (size_t i = 0; i < texts.size(); ++i)
    Bin(key, "DIC" + std::to_string(i), Z(texts[i]));
}

void Seed2000(const std::vector<std::string>& list) {
  simrun::FreshHost();
  sim::CreateKey(kList2000);
  Entries(kList2000, list);
  simrun::Dictionary("C:\\Dic\\VezDim20.dic");
}

struct Outcome {
  std::string list_slot;  // slot holding the tool's entry afterwards, "" for none
  int list_values;
  std::string nonmanage_slot;
  bool warned;
  bool present;
};

Outcome Observe(const char* list_key, const char* file, const std::string& version) {
  Outcome o{"", static_cast<int>(sim::Values(list_key).size()), "", false, false};
  const std::string path = std::string("C:\\Dic\\") + file;
  for (const sim::Value& v : sim::Values(list_key)) {
    if (v.data == Z(path + ",1") && v.type == REG_BINARY)
      o.list_slot = v.name;
  }
  for (const sim::Value& v : sim::Values(kNonManage)) {
    if (v.data == NonManageEntry(path) && v.type == REG_BINARY)
      o.nonmanage_slot = v.name;
  }
  o.warned = simrun::MessageTexts() == std::vector<std::string>{Warning(version)};
  EXPECT_TRUE(o.warned || sim::Messages().empty());
  o.present = sim::Exists(path);
  EXPECT_EQ(0u, sim::OpenKeyCount());
  return o;
}

Outcome Run2000() {
  simrun::RunTool("C:\\Dic");
  return Observe(kList2000, "VezDim20.dic", "IME2000");
}

TEST(Ime2000, FreeSlotAfterThreeActiveAndOneInactive) {
  Seed2000({"C:\\A\\a.dic,1", "C:\\B\\b.dic,1", "C:\\C\\c.dic,1", "C:\\D\\d.dic,0"});
  Outcome o = Run2000();
  EXPECT_EQ("DIC4", o.list_slot);
  EXPECT_EQ("DIC0", o.nonmanage_slot);
  EXPECT_FALSE(o.warned);
  EXPECT_TRUE(o.present);
  EXPECT_EQ(1u, sim::Values(kNonManage).size());
}

TEST(Ime2000, SixActiveBeforeTheSlotWarnsAndKeepsTheFile) {
  Seed2000({"C:\\A\\a.dic,1", "C:\\B\\b.dic,1", "C:\\C\\c.dic,1", "C:\\D\\d.dic,1",
            "C:\\E\\e.dic,1", "C:\\F\\f.dic,1"});
  Outcome o = Run2000();
  EXPECT_EQ("DIC6", o.list_slot);
  EXPECT_EQ("DIC0", o.nonmanage_slot);
  EXPECT_TRUE(o.warned);
  EXPECT_TRUE(o.present);
}

TEST(Ime2000, ReRunRewritesItsOwnEntryInPlaceAndCountsIt) {
  Seed2000({"C:\\A\\a.dic,1", "C:\\B\\b.dic,1", "C:\\C\\c.dic,1", "C:\\D\\d.dic,1",
            "C:\\E\\e.dic,1", "D:\\Old\\VezDim20.dic,1", "C:\\G\\g.dic,1"});
  Outcome o = Run2000();
  EXPECT_EQ("DIC5", o.list_slot);
  EXPECT_EQ(7, o.list_values);
  EXPECT_TRUE(o.warned);  // 1 + 5 others + its own active entry
  // Five others and its own inactive entry: 1 + 5 = 6, no warning.
  Seed2000({"C:\\A\\a.dic,1", "C:\\B\\b.dic,1", "C:\\C\\c.dic,1", "C:\\D\\d.dic,1",
            "C:\\E\\e.dic,1", "D:\\Old\\VezDim20.dic,0", "C:\\G\\g.dic,1"});
  o = Run2000();
  EXPECT_EQ("DIC5", o.list_slot);
  EXPECT_FALSE(o.warned);
}

TEST(Ime2000, OnlyTheLastByteOfTheTextDecides) {
  // "11" counts; ",0", ",2", ",1 " and a comma-less path do not; an empty entry is passed over.
  Seed2000({"C:\\A\\a.dic,11", "C:\\B\\b.dic,0", "C:\\C\\c.dic,2", "C:\\D\\d.dic,1 ",
            "C:\\X\\x.dic", "", "C:\\E\\e.dic,1", "C:\\F\\f.dic,1", "C:\\G\\g.dic,1",
            "C:\\H\\h.dic,1"});
  Outcome o = Run2000();
  EXPECT_EQ("DIC10", o.list_slot);
  EXPECT_EQ(std::string(1, '\0'), simrun::ValueBytes(kList2000, "DIC5"));
  EXPECT_FALSE(o.warned);  // 1 + 5 = 6
  Bin(kList2000, "DIC10", Z("C:\\I\\i.dic,1"));
  sim::SetValue(kNonManage, "DIC0", REG_BINARY, NonManageEntry("X"));
  simrun::RunTool("C:\\Dic");
  o = Observe(kList2000, "VezDim20.dic", "IME2000");
  EXPECT_EQ("DIC11", o.list_slot);
  EXPECT_TRUE(o.warned);  // 1 + 6 = 7
}

TEST(Ime2000, StringAndBinaryEntriesReadAlikeAndAreRewrittenAsBinary) {
  Seed2000({});
  sim::SetValue(kList2000, "DIC0", REG_SZ, Z("C:\\A\\a.dic,1"));
  sim::SetValue(kList2000, "DIC1", REG_SZ, Z("D:\\Old\\VezDim20.dic,0"));
  Outcome o = Run2000();
  EXPECT_EQ("DIC1", o.list_slot);
  EXPECT_EQ(2, o.list_values);
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), sim::Values(kList2000)[0].type);
}

TEST(Ime2000, NotInstalledRemovesSilentlyAndCreatesNothing) {
  simrun::FreshHost();
  simrun::Dictionary("C:\\Dic\\VezDim20.dic");
  simrun::Dictionary("C:\\Dic\\VezDim22.dic");
  simrun::RunTool("C:\\Dic");
  EXPECT_FALSE(sim::Exists("C:\\Dic\\VezDim20.dic"));
  EXPECT_FALSE(sim::Exists("C:\\Dic\\VezDim22.dic"));
  EXPECT_FALSE(sim::KeyExists(kList2000));
  EXPECT_FALSE(sim::KeyExists(kNonManage));
  EXPECT_TRUE(sim::Messages().empty());
}

TEST(Ime2002, WritesItsNonManageEntryUnderTheIme2000KeyAfterIme2000s) {
  simrun::FreshHost();
  sim::CreateKey(kList2000);
  Entries(kList2002, {"C:\\A\\a.dic,1"});
  Bin(kNonManage, "DIC0", NonManageEntry("C:\\Other\\o.dic"));
  simrun::Dictionary("C:\\Dic\\VezDim20.dic");
  simrun::Dictionary("C:\\Dic\\VezDim22.dic");
  simrun::RunTool("C:\\Dic");
  Outcome o2000 = Observe(kList2000, "VezDim20.dic", "IME2000");
  Outcome o2002 = Observe(kList2002, "VezDim22.dic", "IME2002");
  EXPECT_EQ("DIC0", o2000.list_slot);
  EXPECT_EQ("DIC1", o2000.nonmanage_slot);
  EXPECT_EQ("DIC1", o2002.list_slot);
  EXPECT_EQ("DIC2", o2002.nonmanage_slot);
  EXPECT_FALSE(sim::KeyExists("HKU\\.DEFAULT\\Software\\Microsoft\\IMEJP\\8.0\\NonManage"));
  EXPECT_EQ(3u, sim::Values(kNonManage).size());
}

TEST(Ime2002, SevenActiveShowsItsOwnWarning) {
  simrun::FreshHost();
  Entries(kList2002, {"a,1", "b,1", "c,1", "d,1", "e,1", "f,1"});
  simrun::Dictionary("C:\\Dic\\VezDim22.dic");
  simrun::RunTool("C:\\Dic");
  Outcome o = Observe(kList2002, "VezDim22.dic", "IME2002");
  EXPECT_TRUE(o.warned);
  EXPECT_TRUE(o.present);
  EXPECT_EQ("DIC6", o.list_slot);
}

TEST(ImeJpNonManage, EntriesMatchByThePathFromOffsetFour) {
  Seed2000({});
  Bin(kNonManage, "DIC0", std::string("\x01\x00", 2));  // too short to hold a path: kept
  Bin(kNonManage, "DIC1", NonManageEntry("C:\\X\\x.dic"));
  Bin(kNonManage, "DIC2", std::string("\x00\x00\x00\x00", 4) + "D:\\Old\\VezDim20.dic");  // no zero
  Outcome o = Run2000();
  EXPECT_EQ("DIC2", o.nonmanage_slot);
  EXPECT_EQ(std::string("\x01\x00", 2), simrun::ValueBytes(kNonManage, "DIC0"));
  EXPECT_EQ(3u, sim::Values(kNonManage).size());
}

// What this tool chose where the procedure leaves a choice.
TEST(ImeJpChoices, EntryTooLargeToReadIsNeverChosenOrCounted) {
  Seed2000({});
  Bin(kList2000, "DIC0", Z("C:\\" + std::string(1100, 'x') + "VezDim20.dic,1"));
  Bin(kNonManage, "DIC0", NonManageEntry("C:\\" + std::string(1100, 'y') + "VezDim20.dic"));
  Outcome o = Run2000();
  EXPECT_EQ("DIC1", o.list_slot);
  EXPECT_EQ("DIC1", o.nonmanage_slot);
  EXPECT_EQ(3u + 1100 + 14 + 1, simrun::ValueBytes(kList2000, "DIC0").size());
}

TEST(ImeJpChoices, NinetyNineForeignEntriesMeanNoWriteAndRemoval) {
  Seed2000({});
  for (int i = 0; i < 99; ++i)
    Bin(kList2000, "DIC" + std::to_string(i), Z("C:\\A\\a.dic,0"));
  Outcome o = Run2000();
  EXPECT_EQ("", o.list_slot);
  EXPECT_EQ(99, o.list_values);
  EXPECT_FALSE(o.present);
  EXPECT_FALSE(o.warned);
  EXPECT_FALSE(sim::KeyExists(kNonManage));
}

TEST(ImeJpChoices, FullNonManageListKeepsTheRegisteredDictionary) {
  Seed2000({});
  for (int i = 0; i < 99; ++i)
    Bin(kNonManage, "DIC" + std::to_string(i), NonManageEntry("C:\\o"));
  Outcome o = Run2000();
  EXPECT_EQ("DIC0", o.list_slot);
  EXPECT_EQ("", o.nonmanage_slot);
  EXPECT_TRUE(o.present);
}

TEST(ImeJpChoices, InstallDirTooLongForTheEntryIsAFailedWrite) {
  // "<dir>\VezDim20.dic,1" and its zero must fit 1024 bytes: 1009 bytes of folder do not.
  for (size_t folder_length : {1008u, 1009u}) {
    simrun::FreshHost();
    sim::CreateKey(kList2000);
    std::string dir = "C:";
    while (dir.size() + 203 <= folder_length)
      dir += "\\" + std::string(200, 'd');
    dir += "\\" + std::string(folder_length - dir.size() - 1, 'e');
    sim::SetValue(kList2000, "DIC0", REG_BINARY, Z("C:\\A\\a.dic,1"));
    // The host accepts any length of path here; only the entry's buffer limits it.
    sim::WriteFile(dir + "\\VezDim20.dic", "dictionary");
    simrun::RunTool(dir);
    const bool fits = folder_length == 1008;
    EXPECT_EQ(fits ? 2u : 1u, sim::Values(kList2000).size()) << folder_length;
    EXPECT_EQ(fits, sim::Exists(dir + "\\VezDim20.dic")) << folder_length;
    if (fits) {
      EXPECT_EQ(1024u, simrun::ValueBytes(kList2000, "DIC1").size());
      EXPECT_EQ(4u + 1021 + 1, simrun::ValueBytes(kNonManage, "DIC0").size());
    }
  }
}

// Every host call failing in turn, with the mended rule: once the dictionary list names the
// file, a NonManage failure keeps the file and the warning step still runs.
TEST(Ime2000, EachHostCallFailingInTurn) {
  auto seed = [] {
    Seed2000({"a,1", "b,1", "c,1", "d,1", "e,1", "f,1"});  // a clean run warns
    Bin(kNonManage, "DIC0", NonManageEntry("C:\\Other\\o.dic"));
  };
  seed();
  simrun::RunTool("C:\\Dic");
  const std::vector<sim::Call> clean = sim::Journal();
  const std::string list_key = std::string(kList2000).substr(4);
  for (size_t k = 1; k <= clean.size(); ++k) {
    seed();
    sim::FailCall(k);
    ASSERT_EQ(0, simrun::RunTool("C:\\Dic"));
    const sim::Call& call = clean[k - 1];
    SCOPED_TRACE(std::to_string(k) + " " + sim::OpName(call.op) + " " + call.target);
    Outcome o = Observe(kList2000, "VezDim20.dic", "IME2000");
    const bool on_list = call.target.find("Dictionaries") != std::string::npos;
    const bool on_nonmanage = call.target.find("NonManage") != std::string::npos;
    const bool is_20 = call.target.find("VezDim20") != std::string::npos;
    if (call.op == sim::Op::GetFileAttributesA && is_20) {
      EXPECT_TRUE(o.present);
      EXPECT_EQ("", o.list_slot);
    } else if (on_list &&
               (call.op == sim::Op::RegOpenKeyExA || call.op == sim::Op::RegSetValueExA)) {
      EXPECT_FALSE(o.present);  // not installed, or the list write failed: removal, no message
      EXPECT_EQ("", o.list_slot);
      EXPECT_EQ("", o.nonmanage_slot);
      EXPECT_FALSE(o.warned);
    } else if (on_nonmanage &&
               (call.op == sim::Op::RegCreateKeyExA || call.op == sim::Op::RegSetValueExA)) {
      EXPECT_TRUE(o.present);  // registered in the list: the file stays, the warning still shows
      EXPECT_EQ("DIC6", o.list_slot);
      EXPECT_EQ("", o.nonmanage_slot);
      EXPECT_TRUE(o.warned);
    } else if (call.op == sim::Op::MessageBoxA) {
      EXPECT_TRUE(o.present);
      EXPECT_EQ("DIC6", o.list_slot);
    } else if (call.op == sim::Op::RegQueryValueExA && on_list) {
      // A refused read is passed over: not counted and not overwritten.
      const bool free_slot = call.target.find("|DIC6") != std::string::npos;
      EXPECT_TRUE(o.present);
      EXPECT_EQ(free_slot ? "DIC7" : "DIC6", o.list_slot);
      EXPECT_EQ(7, o.list_values);
      EXPECT_EQ(free_slot, o.warned);
    } else if (call.op == sim::Op::RegQueryValueExA && on_nonmanage) {
      EXPECT_TRUE(o.present);
      EXPECT_EQ(call.target.find("|DIC1") != std::string::npos ? "DIC2" : "DIC1", o.nonmanage_slot);
      EXPECT_EQ(Z("C:\\Other\\o.dic").size() + 4, simrun::ValueBytes(kNonManage, "DIC0").size());
    } else {
      EXPECT_TRUE(o.present);
      EXPECT_EQ("DIC6", o.list_slot);
      EXPECT_EQ("DIC1", o.nonmanage_slot);
      EXPECT_TRUE(o.warned);
    }
  }
}

}  // namespace
