#include "tests/invariants.h"

#include <algorithm>

#include "host/sim_internal.h"
#include "tests/sim_run.h"

namespace invariants {
namespace {

using simrun::kDictionaries;

const char kIme97[] = "HKCU\\SOFTWARE\\MICROSOFT\\IME\\MSIME97\\DICTIONARIES";
const char kIme98[] =
    "HKCU\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\IME\\JAPAN\\IME98\\DICTIONARIES";
const char kIme2000[] =
    "HKU\\.DEFAULT\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\IME\\JAPAN\\IMEJP\\DICTIONARIES";
const char kIme2002[] = "HKU\\.DEFAULT\\SOFTWARE\\MICROSOFT\\IMEJP\\8.0\\DICTIONARIES";
const char kNonManage[] =
    "HKU\\.DEFAULT\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\IME\\JAPAN\\IMEJP\\NONMANAGE";

const char* const kSlotKeys[] = {"補助辞書１",     "補助辞書２",     "補助辞書３",
                                 "補助辞書４",     "システム辞書６", "システム辞書７",
                                 "システム辞書８", "システム辞書９", "システム辞書０"};

std::string Z(const std::string& s) {
  return s + std::string(1, '\0');
}

bool IsSlotName(const std::string& name, int count) {
  std::string folded = sim::FoldCase(name);
  for (int i = 0; i < count; ++i) {
    if (folded == "DIC" + std::to_string(i))
      return true;
  }
  return false;
}

// The text of an entry up to its first zero byte.
std::string TextOf(const std::string& data, size_t from = 0) {
  if (data.size() <= from)
    return "";
  std::string text = data.substr(from);
  return text.substr(0, text.find('\0'));
}

// Whether the tool may have written `after` over `before` (nullptr: the value was missing) at
// this key and name: only its own entry, and only over a missing, reusable or own entry.
std::string CheckWrite(const std::string& key, const sim::Value* before, const sim::Value& after,
                       const std::string& install_dir) {
  struct List {
    const char* key;
    const char* file;
    int slots;
    bool string_list;  // IME 97/98: REG_SZ, empty entries reused
    bool nonmanage;
  } lists[] = {
      {kIme97, "VezDim97.dic", 255, true, false},    {kIme98, "VezDim98.dic", 255, true, false},
      {kIme2000, "VezDim20.dic", 99, false, false},  {kIme2002, "VezDim22.dic", 99, false, false},
      {kNonManage, "VezDim20.dic", 99, false, true}, {kNonManage, "VezDim22.dic", 99, false, true}};
  for (const List& list : lists) {
    if (sim::FoldCase(key) != list.key)
      continue;
    std::string expected = list.nonmanage
                               ? std::string("\x01\0\0\0", 4) + Z(install_dir + list.file)
                               : Z(install_dir + list.file + ",1");
    DWORD type = list.string_list ? REG_SZ : REG_BINARY;
    if (!IsSlotName(after.name, list.slots) || after.type != type || after.data != expected) {
      continue;
    }
    if (before == nullptr)
      return "";
    std::string old = TextOf(before->data, list.nonmanage ? 4 : 0);
    if (old.find(list.file) != std::string::npos)
      return "";  // its own entry
    if (list.string_list && before->type == REG_SZ && old.empty())
      return "";
  }
  return key + " " + after.name + " written with " + after.data.substr(0, 80) +
         (before ? " over " + before->data.substr(0, 80) : "");
}

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      lines.push_back(line);
      line.clear();
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
        ++i;
    } else {
      line += bytes[i];
    }
  }
  if (!line.empty())
    lines.push_back(line);
  return lines;
}

std::string KeyOfLine(const std::string& line) {
  size_t equals = line.find('=');
  std::string key = line.substr(0, equals);
  while (!key.empty() && (key.back() == ' ' || key.back() == '\t'))
    key.pop_back();
  size_t start = key.find_first_not_of(" \t");
  return start == std::string::npos ? "" : key.substr(start);
}

// A profile may change only in slot lines, and every line added is the tool's own entry.
std::string CheckProfile(const std::string& path, const std::string& before,
                         const std::string& after, const std::string& install_dir) {
  std::vector<std::string> old_lines = SplitLines(before);
  std::vector<std::string> new_lines = SplitLines(after);
  std::vector<std::string> removed;
  std::vector<std::string> added = new_lines;
  for (const std::string& line : old_lines) {
    auto it = std::find(added.begin(), added.end(), line);
    if (it != added.end()) {
      added.erase(it);
    } else {
      removed.push_back(line);
    }
  }
  auto is_slot = [](const std::string& line) {
    for (const char* key : kSlotKeys) {
      if (KeyOfLine(line) == key)
        return true;
    }
    return false;
  };
  for (const std::string& line : removed) {
    if (!is_slot(line))
      return path + ": lost line " + line;
  }
  for (const std::string& line : added) {
    size_t equals = line.find('=');
    std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
    bool own = false;
    for (const char* file : {"VezDat10.dic", "VezDat11.dic", "VezDat12.dic", "VezDat13.dic"}) {
      own = own || value == install_dir + file;
    }
    own = own || value == "ON,0," + install_dir + "VezDat14.dic";
    if (!is_slot(line) || !own)
      return path + ": added line " + line;
  }
  return "";
}

bool IsToolText(const std::string& text) {
  auto ends_with = [&](const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
  };
  if (text == "起動オプションに拡張辞書インストール先のパスを指定して下さい。")
    return true;
  for (const char* v : {"IME97", "IME98"}) {
    std::string version = v;
    if (text == version +
                    "の「変換に使用するシステム辞書」には\n既に各種辞書が登録されており "
                    "これ以上登録できません。\n\n以下のどちらかの方法で拡張辞書を登録して下さい。"
                    "\n\n①" +
                    version + "のプロパティを操作して 手動で拡張辞書を登録する。\n②" + version +
                    "のプロパティを操作して 使用するシステム辞書のチェックを\n　１つ以上外"
                    "してから 拡張辞書のセットアップを再実行する。") {
      return true;
    }
  }
  for (const char* v : {"IME2000", "IME2002"}) {
    std::string version = v;
    if (text == version +
                    "には既に７個以上の辞書が登録されています。\n\n拡張辞書のコピーはできていま"
                    "すが、\n" +
                    version +
                    "のプロパティを開き、使用する辞書を６個以下に\n設定し"
                    "ないと使用できません。") {
      return true;
    }
  }
  for (const char* v : {"ATOK10", "ATOK11", "ATOK12", "ATOK13"}) {
    std::string version = v;
    if (ends_with(" の編集に失敗しました。\n\n" + version +
                  "のプロパティを直接操作して\n拡張辞書を登録して下さい。")) {
      return true;
    }
    if (text == version +
                    "の「基本辞書セットの補助辞書」には\n既に各種辞書が登録されており これ以上"
                    "登録できません。\n\n以下のどちらかの方法で拡張辞書を登録して下さい。\n\n①" +
                    version + "のプロパティを操作して 手動で拡張辞書を登録する。\n②" + version +
                    "のプロパティを操作して １つ以上の補助辞書を削除\n　してから 拡張辞書のセット"
                    "アップを再実行する。") {
      return true;
    }
  }
  return false;
}

}  // namespace

Snapshot Take() {
  Snapshot s;
  s.keys = sim::AllKeyPaths();
  for (const std::string& key : s.keys)
    s.values[key] = sim::Values(key);
  for (const std::string& file : sim::AllFiles())
    sim::ReadFile(file, &s.files[file]);
  return s;
}

std::vector<std::string> Check(const Snapshot& before, const Snapshot& after,
                               const std::string& install_dir) {
  std::vector<std::string> problems;
  // Keys: none removed; the only one the tool creates is the NonManage key (and its parents).
  for (const std::string& key : before.keys) {
    if (std::find(after.keys.begin(), after.keys.end(), key) == after.keys.end()) {
      problems.push_back("key removed: " + key);
    }
  }
  for (const std::string& key : after.keys) {
    bool existed = std::find(before.keys.begin(), before.keys.end(), key) != before.keys.end();
    std::string folded = sim::FoldCase(key);
    if (!existed && std::string(kNonManage).compare(0, folded.size(), folded) != 0) {
      problems.push_back("key created: " + key);
    }
  }
  // Values: none removed, changed or added but the tool's own entries in allowed slots.
  for (const auto& item : after.values) {
    auto old = before.values.find(item.first);
    for (const sim::Value& v : item.second) {
      const sim::Value* previous = nullptr;
      if (old != before.values.end()) {
        for (const sim::Value& o : old->second) {
          if (sim::EqualNoCase(o.name, v.name))
            previous = &o;
        }
      }
      if (previous && previous->type == v.type && previous->data == v.data)
        continue;
      std::string problem = CheckWrite(item.first, previous, v, install_dir);
      if (!problem.empty())
        problems.push_back(problem);
    }
  }
  for (const auto& item : before.values) {
    auto now = after.values.find(item.first);
    for (const sim::Value& v : item.second) {
      bool kept = false;
      if (now != after.values.end()) {
        for (const sim::Value& n : now->second)
          kept = kept || sim::EqualNoCase(n.name, v.name);
      }
      if (!kept)
        problems.push_back("value removed: " + item.first + " " + v.name);
    }
  }
  // Files: only the tool's own dictionaries in InstallDir are deleted, only profiles change.
  for (const auto& item : before.files) {
    auto now = after.files.find(item.first);
    if (now == after.files.end()) {
      bool own = false;
      // Compared as the files they name: "C:\\a\\\\b\\" and "C:\\A\\b\\" are one folder.
      for (const char* name : kDictionaries) {
        own = own || sim::HostPath(item.first) == sim::HostPath(install_dir + name);
      }
      if (!own)
        problems.push_back("file deleted: " + item.first);
    } else if (now->second != item.second) {
      std::string problem = CheckProfile(item.first, item.second, now->second, install_dir);
      if (!problem.empty())
        problems.push_back(problem);
    }
  }
  for (const auto& item : after.files) {
    if (!before.files.count(item.first))
      problems.push_back("file created: " + item.first);
  }
  for (const sim::Message& m : sim::Messages()) {
    if (!IsToolText(m.text))
      problems.push_back("not one of the tool's warnings: " + m.text.substr(0, 80));
    if (m.caption != "拡張辞書セットアップ" || m.style != 0x1030 || m.has_owner) {
      problems.push_back("warning box of the wrong kind");
    }
  }
  if (sim::OpenKeyCount() != 0)
    problems.push_back("registry keys left open");
  if (sim::LiveShellItems() != 0)
    problems.push_back("shell items not released");
  return problems;
}

}  // namespace invariants
