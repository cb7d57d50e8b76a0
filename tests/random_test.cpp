// Randomized starting states for the whole run: registry lists of random types and sizes around
// every buffer the tool uses, random code page 932 bytes (invalid sequences and 5C trail bytes
// included), profiles with random lines, byte order marks, long lines, duplicates and no final
// line break, random command tails, and now and then a failing host call. After each run the
// same rules as the fault sweep must hold. Fixed seeds here; DICSETUP_RANDOM_RUNS=N for more.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "setup/setup.h"
#include "host/sim_internal.h"
#include "tests/invariants.h"
#include "tests/sim_run.h"

namespace {

using simrun::kDictionaries;
const char kAppData[] = "C:\\Documents and Settings\\user\\Application Data";

class Generator {
 public:
  explicit Generator(uint32_t seed) : rng_(seed) {}

  int Below(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
  }

  // Random bytes leaning on what trips code page 932 handling: lead bytes, 5C/5B/5D trail
  // bytes, lone lead bytes, control bytes, ASCII.
  std::string Bytes(size_t n) {
    static const std::vector<std::string> pieces = {
        "ソ", "表", "辞書",     "ゾ",       "\x83", "\\",   "a",   "Z", ",",
        "=",  "[",  "]",        " ",        "\t",   "1",    "2",   "0", ";",
        "\"", "ｱ",  "\x81\x40", "\x87\x40", "\xFF", "\x80", "\x7F"};
    std::string s;
    while (s.size() < n)
      s += Pick(pieces);
    s.resize(n);
    return s;
  }

  // A registry value's data: sometimes naming the dictionary, sized near `limit`.
  std::string EntryData(const std::string& file, size_t limit, bool nonmanage) {
    std::vector<size_t> sizes = {0,         1,         3,     4,         5,         12,       40,
                                 limit - 2, limit - 1, limit, limit + 1, limit + 2, limit + 5};
    size_t size = Pick(sizes);
    std::string text;
    if (nonmanage && Chance(70))
      text = std::string("\x01\0\0\0", 4);
    if (Chance(30))
      text += "C:\\Old\\" + file;
    text += Bytes(size > text.size() ? size - text.size() : 0);
    if (Chance(50))
      text += Pick(std::vector<std::string>{",1", ",0", ",2", ",11", ", 1 ", ""});
    if (Chance(70))
      text += std::string(1, '\0');
    return text;
  }

  void List(const std::string& key, const std::string& file, size_t limit, int max_entries,
            bool nonmanage) {
    if (!Chance(75))
      return;
    sim::CreateKey(key);
    int entries = Below(max_entries + 1);
    for (int i = 0; i < entries; ++i) {
      if (Chance(10))
        continue;  // a gap: the first missing slot
      static const std::vector<DWORD> types = {REG_SZ,     REG_SZ,    REG_BINARY,
                                               REG_BINARY, REG_DWORD, REG_EXPAND_SZ};
      std::string name = (Chance(10) ? "dic" : "DIC") + std::to_string(i);
      sim::SetValue(key, name, Pick(types), EntryData(file, limit, nonmanage));
    }
  }

  std::string ProfileLine(int set) {
    static const std::vector<std::string> slots = {
        "補助辞書１",     "補助辞書２",     "補助辞書３",     "補助辞書４",    "システム辞書６",
        "システム辞書７", "システム辞書８", "システム辞書９", "システム辞書０"};
    switch (Below(10)) {
      case 0:
        return "[辞書・学習]";
      case 1:
        return "基本辞書セットNo" + Pick(std::vector<std::string>{"=", " = ", "="}) +
               Pick(std::vector<std::string>{std::to_string(set), "0", "10", "-1", "abc", "",
                                             "4294967297", "２", std::to_string(set) + "x"});
      case 2:
        return "[辞書セット" + std::string("\x82") + static_cast<char>(0x4F + set) + "]";
      case 3:
      case 4:
      case 5:
        return Pick(slots) + "=" +
               (Chance(40)   ? ""
                : Chance(30) ? "C:\\Old\\VezDat1" + std::to_string(Below(5)) + ".dic"
                             : Bytes(static_cast<size_t>(Below(30))));
      case 6:
        return "; " + Bytes(static_cast<size_t>(Below(20)));
      case 7:
        return "";
      case 8:
        return Bytes(static_cast<size_t>(Chance(10) ? 1500 + Below(600) : Below(40)));
      default:
        return "[" + Bytes(static_cast<size_t>(Below(12))) + "]";
    }
  }

  std::string Profile() {
    int set = 1 + Below(9);
    std::string text = Chance(10) ? Pick(std::vector<std::string>{"\xEF\xBB\xBF", "\xFF\xFE"}) : "";
    std::vector<std::string> lines = {
        "[辞書・学習]", "基本辞書セットNo=" + std::to_string(set),
        "[辞書セット" + std::string("\x82") + static_cast<char>(0x4F + set) + "]"};
    if (Chance(20)) {  // enough sections to overflow the 1024-byte name list
      for (int i = 0; i < 120; ++i)
        lines.insert(lines.begin(), "[Section" + std::to_string(i) + "]");
    }
    int extra = Below(14);
    for (int i = 0; i < extra; ++i) {
      lines.insert(lines.begin() + Below(static_cast<int>(lines.size()) + 1), ProfileLine(set));
    }
    std::string eol = Pick(std::vector<std::string>{"\r\n", "\r\n", "\n", "\r"});
    for (size_t i = 0; i < lines.size(); ++i) {
      text += lines[i];
      if (i + 1 < lines.size() || Chance(70))
        text += eol;
    }
    return text;
  }

  std::string Tail() {
    switch (Below(12)) {
      case 0:
        return "";
      case 1:
        return " \t\x01";
      case 2:
        return "\"C:\\Dic\"";
      case 3:
        return "C:\\ソ";
      case 4:
        return "C:\\My Dic  ";
      case 5:
        return "C:\\" + Bytes(static_cast<size_t>(Below(40)));
      case 6:
        return "C:\\" + std::string(static_cast<size_t>(200 + Below(32 * 1024)), 'd');
      default:
        return "C:\\Dic";
    }
  }

 private:
  std::mt19937 rng_;
};

// Builds a random machine; returns the command-line tail.
std::string SeedRandomMachine(uint32_t seed) {
  Generator g(seed);
  simrun::FreshHost();
  std::string tail = g.Tail();
  if (g.Chance(10))
    sim::SetWindowsDirectory(g.Pick(std::vector<std::string>{"C:\\ソ", "C:\\WINDOWS\\", ""}));
  if (g.Chance(10))
    sim::SetAppDataFolder("");
  std::string dir = tail;
  if (!dir.empty() && dir.size() < 300 && dir.find('"') == std::string::npos) {
    std::string folder = dir;
    while (!folder.empty() && (folder.back() == ' '))
      folder.pop_back();
    for (const char* name : kDictionaries) {
      if (!g.Chance(75))
        continue;
      std::string path = dir + (dir.back() == '\\' ? "" : "\\") + name;
      // The build host cannot hold a name part longer than 255 bytes; Windows cannot either.
      bool too_long = false;
      for (const std::string& part : sim::SplitPath(path))
        too_long = too_long || part.size() > 255;
      if (sim::HostPath(path).empty() || too_long)
        continue;
      if (g.Chance(5)) {
        sim::MakeDirectory(path);
      } else {
        simrun::Dictionary(path);
        if (g.Chance(5))
          sim::SetReadOnly(path, true);
      }
    }
  }
  g.List(simrun::kIme97Key, "VezDim97.dic", 260, 12, false);
  g.List(simrun::kIme98Key, "VezDim98.dic", 260, 12, false);
  const std::string imejp =
      "HKU\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Ime\\Japan\\IMEJP\\";
  g.List(imejp + "Dictionaries", "VezDim20.dic", 1022, 10, false);
  g.List("HKU\\.DEFAULT\\Software\\Microsoft\\IMEJP\\8.0\\Dictionaries", "VezDim22.dic", 1022, 10,
         false);
  g.List(imejp + "NonManage", "VezDim20.dic", 1026, 6, true);
  if (g.Chance(70))
    sim::WriteFile("C:\\WINDOWS\\atok10w.ini", g.Profile());
  if (g.Chance(50))
    sim::WriteFile("C:\\WINDOWS\\atok11w.ini", g.Profile());
  for (const char* version : {"12.0", "13.0"}) {
    if (!g.Chance(60))
      continue;
    const std::string key =
        std::string("HKLM\\Software\\Justsystem\\ATOK\\") + version + "\\Profile";
    sim::CreateKey(key);
    int n = g.Below(4);
    if (g.Chance(85)) {
      sim::SetValue(key, "Active", g.Chance(70) ? REG_DWORD : REG_SZ,
                    g.Chance(80) ? std::string(1, static_cast<char>(n)) + std::string(3, '\0')
                                 : g.Bytes(static_cast<size_t>(g.Below(6))));
    }
    std::string profile = "C:\\P\\" + std::string(version) + ".ini";
    if (g.Chance(85)) {
      sim::SetValue(key, "File" + std::to_string(n), REG_SZ,
                    g.Chance(80) ? profile + std::string(1, '\0')
                                 : g.Bytes(static_cast<size_t>(g.Below(1100))));
    }
    if (g.Chance(80))
      sim::WriteFile(profile, g.Profile());
  }
  const std::string atok14 = std::string(kAppData) + "\\Justsystem\\Atok14\\";
  if (g.Chance(70))
    sim::WriteFile(atok14 + "atok14w.ini", g.Profile());
  if (g.Chance(60))
    sim::WriteFile(atok14 + "user.ini", g.Profile());
  if (g.Chance(25))
    sim::FailCall(static_cast<size_t>(1 + g.Below(80)), g.Chance(50));
  return tail;
}

struct Tally {
  unsigned writes = 0;
  unsigned removals = 0;
  unsigned warnings = 0;
  unsigned faults = 0;
};
Tally tally;

void RunSeed(uint32_t seed) {
  std::string tail = SeedRandomMachine(seed);
  invariants::Snapshot before = invariants::Take();
  ASSERT_EQ(0, simrun::RunToolWithCommandLine("dicsetup.exe " + tail)) << "seed " << seed;
  std::string install_dir = InstallDir.c_str();
  tally.writes +=
      sim::CallCount(sim::Op::RegSetValueExA) + sim::CallCount(sim::Op::WritePrivateProfileStringA);
  tally.removals += sim::CallCount(sim::Op::DeleteFileA);
  tally.warnings += static_cast<unsigned>(sim::Messages().size());
  tally.faults += static_cast<unsigned>(sim::FaultsFired());
  for (const std::string& problem : invariants::Check(before, invariants::Take(), install_dir)) {
    ADD_FAILURE() << "seed " << seed << ": " << problem;
  }
}

// Seeds that once found a fault, kept so it stays fixed. 2408: a folder named with an empty
// part ("C:\\a\\\\b") is the same folder as without it (a fault of these rules, not of the tool).
TEST(RandomRuns, KeptSeeds) {
  for (uint32_t seed : {2408u})
    RunSeed(seed);
}

TEST(RandomRuns, FixedSeeds) {
  const char* requested = getenv("DICSETUP_RANDOM_RUNS");
  const uint32_t runs = requested ? static_cast<uint32_t>(strtoul(requested, nullptr, 10)) : 400;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(requested ? 86400 : 100);
  uint32_t done = 0;
  for (uint32_t seed = 1000; seed < 1000 + runs && !HasFailure(); ++seed, ++done) {
    RunSeed(seed);
    if (std::chrono::steady_clock::now() > deadline)
      break;
  }
  printf(
      "randomized runs: %u seeds run (from 1000): %u writes, %u removals, %u warnings, "
      "%u injected failures\n",
      done + (HasFailure() ? 1 : 0), tally.writes, tally.removals, tally.warnings, tally.faults);
}

}  // namespace
