// The whole nine-handler run with each host call failing in turn: once alone, and once with
// every later call of the same operation failing too. After each run: exit code 0, every
// handler ran, and nothing of anyone else's was overwritten, dropped or deleted.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/invariants.h"
#include "tests/sim_run.h"

namespace {

using simrun::Lines;

using simrun::kDictionaries;
const char kAppData[] = "C:\\Documents and Settings\\user\\Application Data";

std::string Z(const std::string& s) {
  return s + std::string(1, '\0');
}

// Every handler has work: registrations, a full list, an unusable profile, a full set.
void SeedBusyMachine() {
  simrun::FreshHost();
  for (const char* name : kDictionaries)
    simrun::Dictionary(std::string("C:\\Dic\\") + name);
  const std::string ime97 = simrun::kIme97Key;
  sim::SetValue(ime97, "DIC0", REG_SZ, Z("C:\\A\\a.dic,1"));
  sim::SetValue(ime97, "DIC1", REG_SZ, Z(""));
  sim::SetValue(ime97, "DIC2", REG_SZ, Z("D:\\Old\\VezDim97.dic,0"));
  for (int i = 0; i < 8; ++i) {
    sim::SetValue(simrun::kIme98Key, "DIC" + std::to_string(i), REG_SZ, Z("C:\\X\\x.dic,1"));
  }
  const std::string ime2000 =
      "HKU\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Ime\\Japan\\IMEJP\\";
  for (int i = 0; i < 6; ++i) {
    sim::SetValue(ime2000 + "Dictionaries", "DIC" + std::to_string(i), REG_BINARY,
                  Z("C:\\Y\\y" + std::to_string(i) + ".dic,1"));
  }
  sim::SetValue(ime2000 + "NonManage", "DIC0", REG_BINARY,
                std::string("\x01\0\0\0", 4) + Z("C:\\Y\\y0.dic"));
  sim::SetValue("HKU\\.DEFAULT\\Software\\Microsoft\\IMEJP\\8.0\\Dictionaries", "DIC0", REG_BINARY,
                Z("C:\\Old\\VezDim22.dic,0"));
  sim::WriteFile(
      "C:\\WINDOWS\\atok10w.ini",
      "; mine\n[辞書・学習]\n基本辞書セットNo = 2\n\n[辞書セット２]\n補助辞書１=C:\\A\\a.dic\n");
  sim::WriteFile("C:\\WINDOWS\\atok11w.ini", Lines({"[辞書・学習]", "[辞書セット１]"}));
  const std::string atok = "HKLM\\Software\\Justsystem\\ATOK\\";
  sim::SetValue(atok + "12.0\\Profile", "Active", REG_DWORD, std::string("\x01\0\0\0", 4));
  sim::SetValue(atok + "12.0\\Profile", "File1", REG_SZ, Z("C:\\P\\a12.ini"));
  sim::WriteFile("C:\\P\\a12.ini", Lines({"[辞書・学習]", "基本辞書セットNo=1", "[辞書セット１]",
                                          "補助辞書１=C:\\Old\\VezDat12.dic"}));
  sim::SetValue(atok + "13.0\\Profile", "Active", REG_DWORD, std::string("\x01\0\0\0", 4));
  sim::SetValue(atok + "13.0\\Profile", "File1", REG_SZ, Z("C:\\P\\a13.ini"));
  sim::WriteFile("C:\\P\\a13.ini",
                 Lines({"[辞書・学習]", "基本辞書セットNo=1", "[辞書セット１]", "補助辞書１=a",
                        "補助辞書２=b", "補助辞書３=c", "補助辞書４=d"}));
  const std::string atok14 = std::string(kAppData) + "\\Justsystem\\Atok14\\";
  sim::WriteFile(atok14 + "atok14w.ini", Lines({"[辞書・学習]", "基本辞書セットNo=1",
                                                "[辞書セット１]", "システム辞書６=x"}));
  sim::WriteFile(atok14 + "user.ini",
                 Lines({"[辞書・学習]", "基本辞書セットNo=1", "[辞書セット１]"}));
}

// A first install: lists empty or absent, fresh profiles.
void SeedFreshMachine() {
  simrun::FreshHost();
  for (const char* name : kDictionaries)
    simrun::Dictionary(std::string("C:\\ソ\\") + name);
  sim::CreateKey(simrun::kIme97Key);
  sim::CreateKey("HKU\\.DEFAULT\\Software\\Microsoft\\IMEJP\\8.0\\Dictionaries");
  sim::WriteFile("C:\\WINDOWS\\atok11w.ini",
                 Lines({"[辞書・学習]", "基本辞書セットNo=9", "[辞書セット９]"}));
  sim::CreateKey("HKLM\\Software\\Justsystem\\ATOK\\13.0\\Profile");
  sim::WriteFile(std::string(kAppData) + "\\Justsystem\\Atok14\\atok14w.ini",
                 Lines({"[辞書・学習]", "基本辞書セットNo=1", "[辞書セット１]"}));
}

// Every handler looked for its dictionary, in table order.
void ExpectEveryHandlerRan(const std::string& install_dir) {
  size_t next = 0;
  for (const sim::Call& call : sim::Journal()) {
    if (next < 9 && call.op == sim::Op::GetFileAttributesA &&
        call.target == install_dir + kDictionaries[next]) {
      ++next;
    }
  }
  EXPECT_EQ(9u, next) << "handlers that ran, in order";
}

void Sweep(const char* name, const std::function<void()>& seed, const std::string& install_dir) {
  seed();
  simrun::RunTool(install_dir);
  const size_t calls = sim::Journal().size();
  size_t runs = 0;
  for (size_t k = 1; k <= calls; ++k) {
    for (bool persistent : {false, true}) {
      seed();
      invariants::Snapshot before = invariants::Take();
      sim::FailCall(k, persistent);
      SCOPED_TRACE(std::string(name) + ": call " + std::to_string(k) +
                   (persistent ? " and later ones" : ""));
      ASSERT_EQ(0, simrun::RunTool(install_dir));
      ++runs;
      EXPECT_GE(sim::FaultsFired(), 1u);
      ExpectEveryHandlerRan(install_dir);
      for (const std::string& problem :
           invariants::Check(before, invariants::Take(), install_dir)) {
        ADD_FAILURE() << problem;
      }
    }
  }
  printf("fault sweep %s: %zu calls swept, %zu runs\n", name, calls, runs);
}

TEST(FaultSweep, BusyMachine) {
  Sweep("busy", SeedBusyMachine, "C:\\Dic\\");
}
TEST(FaultSweep, FreshMachine) {
  Sweep("fresh", SeedFreshMachine, "C:\\ソ\\");
}

TEST(FaultSweep, CleanRunKeepsTheRules) {
  SeedBusyMachine();
  invariants::Snapshot before = invariants::Take();
  simrun::RunTool("C:\\Dic");
  EXPECT_EQ(std::vector<std::string>{}, invariants::Check(before, invariants::Take(), "C:\\Dic\\"));
  // The run did register: the checks above are not vacuous.
  EXPECT_EQ(Z("C:\\Dic\\VezDim97.dic,1"), simrun::ValueBytes(simrun::kIme97Key, "DIC1"));
  // IME 98 full, IME 2000 at seven active, ATOK 11 unusable, ATOK 13 full.
  EXPECT_EQ(4u, sim::Messages().size());
}

// The rules catch what they are for: a foreign entry overwritten, a foreign file deleted.
TEST(FaultSweep, RulesCatchForeignDamage) {
  SeedBusyMachine();
  invariants::Snapshot before = invariants::Take();
  sim::SetValue(simrun::kIme97Key, "DIC0", REG_SZ, Z("C:\\Dic\\VezDim97.dic,1"));
  sim::WriteFile("C:\\WINDOWS\\atok10w.ini", "[辞書・学習]\n");
  EXPECT_EQ(2u, invariants::Check(before, invariants::Take(), "C:\\Dic\\").size());
}

}  // namespace
