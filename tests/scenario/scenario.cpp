#include "tests/scenario/scenario.h"

#include <stdio.h>
#include <string.h>

#include <map>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace scenario {

std::string Utf8ToCp932(const std::string& utf8) {
  if (utf8.empty())
    return "";
#ifdef _WIN32
  int wide_length =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(wide_length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0],
                      wide_length);
  int length = WideCharToMultiByte(932, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(932, 0, wide.data(), wide_length, &out[0], length, nullptr, nullptr);
  return out;
#else
  iconv_t cd = iconv_open("CP932", "UTF-8");
  std::string in = utf8;
  std::string out(in.size() * 2 + 4, '\0');
  char* src = &in[0];
  size_t src_left = in.size();
  char* dst = &out[0];
  size_t dst_left = out.size();
  iconv(cd, &src, &src_left, &dst, &dst_left);
  iconv_close(cd);
  out.resize(out.size() - dst_left);
  return out;
#endif
}

std::string Printable(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      char hex[8];
      snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

namespace {

// Decodes a text field: escapes in braces, placeholders, UTF-8 to code page 932.
bool Decode(const std::string& field, World& world, std::string* out, std::string* error) {
  out->clear();
  std::string run;
  auto flush = [&] {
    *out += Utf8ToCp932(run);
    run.clear();
  };
  for (size_t i = 0; i < field.size();) {
    if (field.compare(i, 8, "%WINDIR%") == 0) {
      flush();
      *out += world.WindowsDir();
      i += 8;
    } else if (field.compare(i, 9, "%APPDATA%") == 0) {
      flush();
      *out += world.AppData();
      i += 9;
    } else if (field[i] == '{') {
      size_t close = field.find('}', i);
      if (close == std::string::npos) {
        *error = "unclosed {";
        return false;
      }
      std::string escape = field.substr(i + 1, close - i - 1);
      flush();
      unsigned count;
      char fill;
      if (escape == "nl") {
        *out += '\n';
      } else if (escape == "cr") {
        *out += '\r';
      } else if (escape == "tab") {
        *out += '\t';
      } else if (escape == "sp") {
        *out += ' ';
      } else if (escape.size() == 3 && escape[0] == 'x') {
        *out += static_cast<char>(strtol(escape.c_str() + 1, nullptr, 16));
      } else if (sscanf(escape.c_str(), "fill %u %c", &count, &fill) == 2) {
        *out += std::string(count, fill);
      } else {
        *error = "unknown escape {" + escape + "}";
        return false;
      }
      i = close + 1;
    } else {
      run += field[i++];
    }
  }
  flush();
  return true;
}

std::string Word(std::string* rest) {
  size_t space = rest->find(' ');
  std::string word = rest->substr(0, space);
  *rest = space == std::string::npos ? "" : rest->substr(space + 1);
  return word;
}

bool ParseValue(std::string rest, World& world, RegValue* value, std::string* error) {
  std::string name;
  if (!Decode(Word(&rest), world, &name, error))
    return false;
  std::string type = Word(&rest);
  std::string data;
  if (!Decode(rest, world, &data, error))
    return false;
  value->name = name;
  if (type == "sz") {
    value->type = 1;
    value->data = data + std::string(1, '\0');
  } else if (type == "sz-raw") {
    value->type = 1;
    value->data = data;
  } else if (type == "binary") {
    value->type = 3;
    value->data = data;
  } else if (type == "dword") {
    uint32_t n = static_cast<uint32_t>(strtoul(data.c_str(), nullptr, 0));
    value->type = 4;
    value->data = std::string(reinterpret_cast<const char*>(&n), 4);
  } else {
    *error = "unknown value type " + type;
    return false;
  }
  return true;
}

}  // namespace

bool Parse(const std::string& utf8_text, const std::string& name, World& world, Scenario* out,
           std::string* error) {
  Scenario s;
  s.name = name;
  bool expecting = false;
  RegKey* key = nullptr;
  File* file = nullptr;
  size_t line_number = 0;
  size_t start = 0;
  while (start < utf8_text.size()) {
    size_t end = utf8_text.find('\n', start);
    if (end == std::string::npos)
      end = utf8_text.size();
    std::string line = utf8_text.substr(start, end - start);
    start = end + 1;
    ++line_number;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    std::string problem;
    auto fail = [&](const std::string& what) {
      *error = name + ":" + std::to_string(line_number) + ": " + what;
      return false;
    };
    if (line.rfind("|", 0) == 0) {
      if (file == nullptr)
        return fail("content line outside a file");
      std::string text;
      if (!Decode(line.size() > 2 ? line.substr(2) : "", world, &text, &problem)) {
        return fail(problem);
      }
      file->bytes += text + "\r\n";
      continue;
    }
    file = nullptr;
    if (line.empty() || line[0] == '#')
      continue;
    std::string rest = line;
    std::string command = Word(&rest);
    std::string text;
    if (command == "value") {
      if (key == nullptr)
        return fail("value outside a key");
      RegValue value;
      if (!ParseValue(rest, world, &value, &problem))
        return fail(problem);
      key->values.push_back(value);
      continue;
    }
    if (command != "expect" && command != "command" && !Decode(rest, world, &text, &problem)) {
      return fail(problem);
    }
    key = nullptr;
    if (command == "expect") {
      expecting = true;
    } else if (command == "command") {
      if (expecting)
        return fail("command after expect");
      s.has_tail = line.size() > 7;
      if (!Decode(rest, world, &s.tail, &problem))
        return fail(problem);
    } else if (command == "key") {
      std::vector<RegKey>& keys = expecting ? s.expected_keys : s.keys;
      keys.push_back(RegKey{text, {}});
      key = &keys.back();
    } else if (command == "file" || command == "folder" || command == "profile") {
      std::vector<File>& files = expecting ? s.expected_files : s.files;
      bool dictionary = command == "file" && !expecting;
      files.push_back(File{text, dictionary ? "dictionary file" : "", command == "folder",
                           command == "profile" || expecting});
      if (command == "profile" || expecting)
        file = &files.back();
    } else if (command == "readonly" && !expecting) {
      bool found = false;
      for (File& f : s.files) {
        if (f.path == text)
          found = f.read_only = true;
      }
      if (!found)
        return fail("readonly names no file given before it");
    } else if (command == "nokey" && expecting) {
      s.absent_keys.push_back(text);
    } else if (command == "removed" && expecting) {
      s.removed.push_back(text);
    } else if (command == "warning" && expecting) {
      s.warnings.push_back(Warning{text});
    } else {
      return fail("unknown line: " + command);
    }
  }
  *out = s;
  return true;
}

namespace {

std::string Fold(const std::string& s) {
  std::string f = s;
  for (size_t i = 0; i < f.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(f[i]);
    if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      f[i] = static_cast<char>(c - 32);
    }
  }
  return f;
}

const char kCaption[] = "拡張辞書セットアップ";

}  // namespace

std::string CanonicalProfile(const std::string& bytes) {
  auto trim = [](const std::string& t) {
    size_t b = t.find_first_not_of(" \t");
    size_t e = t.find_last_not_of(" \t");
    return b == std::string::npos ? std::string() : t.substr(b, e - b + 1);
  };
  std::string out;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos)
      end = bytes.size();
    std::string line = trim(bytes.substr(start, end - start));
    start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    if (line.empty())
      continue;
    size_t equals = line.find('=');
    if (line[0] != '[' && line[0] != ';' && equals != std::string::npos) {
      line = trim(line.substr(0, equals)) + "=" + trim(line.substr(equals + 1));
    }
    out += line + "\r\n";
  }
  return out;
}

std::vector<std::string> Check(const Scenario& s, World& world, World::RunResult* observed) {
  std::vector<std::string> problems;
  world.Reset(s);
  for (const RegKey& key : s.keys) {
    world.CreateKey(key.path);
    for (const RegValue& value : key.values)
      world.SetValue(key.path, value);
  }
  for (const File& file : s.files)
    world.WriteFile(file);

  World::RunResult result = world.Run(s.tail, s.has_tail);
  if (observed)
    *observed = result;
  if (!result.finished) {
    problems.push_back("the run did not finish: " + result.problem);
    return problems;
  }
  if (result.exit_code != 0)
    problems.push_back("exit code " + std::to_string(result.exit_code));
  if (!result.problem.empty())
    problems.push_back(result.problem);

  // Warnings: exactly those expected, in order, each the tool's own kind of box.
  if (result.shown.size() != s.warnings.size()) {
    problems.push_back(std::to_string(result.shown.size()) + " warnings shown, " +
                       std::to_string(s.warnings.size()) + " expected");
  }
  for (size_t i = 0; i < result.shown.size() && i < s.warnings.size(); ++i) {
    const World::Shown& shown = result.shown[i];
    if (shown.text != s.warnings[i].text) {
      problems.push_back("warning " + std::to_string(i + 1) + " text " + Printable(shown.text) +
                         " expected " + Printable(s.warnings[i].text));
    }
    if (shown.caption != kCaption)
      problems.push_back("caption " + Printable(shown.caption));
    if (shown.style != 0x1030)
      problems.push_back("style " + std::to_string(shown.style));
    if (shown.has_owner)
      problems.push_back("the warning has an owner window");
  }
  for (size_t i = s.warnings.size(); i < result.shown.size(); ++i) {
    problems.push_back("unexpected warning " + Printable(result.shown[i].text));
  }

  // Registry: every key named keeps exactly its values, changed only where expected.
  std::map<std::string, std::pair<std::string, std::vector<RegValue>>> keys;
  for (const RegKey& key : s.keys) {
    auto& entry = keys[Fold(key.path)];
    entry.first = key.path;
    for (const RegValue& v : key.values)
      entry.second.push_back(v);
  }
  for (const RegKey& key : s.expected_keys) {
    auto& entry = keys[Fold(key.path)];
    entry.first = key.path;
    for (const RegValue& v : key.values) {
      bool replaced = false;
      for (RegValue& old : entry.second) {
        if (Fold(old.name) == Fold(v.name)) {
          old = v;
          replaced = true;
        }
      }
      if (!replaced)
        entry.second.push_back(v);
    }
  }
  for (const std::string& absent : s.absent_keys) {
    if (world.KeyExists(absent))
      problems.push_back("key exists: " + Printable(absent));
  }
  for (const auto& item : keys) {
    const std::string& path = item.second.first;
    if (!world.KeyExists(path)) {
      problems.push_back("key missing: " + Printable(path));
      continue;
    }
    std::vector<RegValue> actual = world.Values(path);
    for (const RegValue& want : item.second.second) {
      const RegValue* got = nullptr;
      for (const RegValue& a : actual) {
        if (Fold(a.name) == Fold(want.name))
          got = &a;
      }
      if (got == nullptr) {
        problems.push_back(Printable(path) + " " + Printable(want.name) + " missing");
      } else if (got->type != want.type || got->data != want.data) {
        problems.push_back(Printable(path) + " " + Printable(want.name) + " is type " +
                           std::to_string(got->type) + " " + Printable(got->data) +
                           ", expected type " + std::to_string(want.type) + " " +
                           Printable(want.data));
      }
    }
    for (const RegValue& a : actual) {
      bool known = false;
      for (const RegValue& want : item.second.second)
        known = known || Fold(a.name) == Fold(want.name);
      if (!known)
        problems.push_back(Printable(path) + " has unexpected " + Printable(a.name));
    }
  }

  // Files: removed where expected, every other one kept with its bytes or the expected ones.
  auto is_removed = [&](const std::string& path) {
    for (const std::string& r : s.removed) {
      if (Fold(r) == Fold(path))
        return true;
    }
    return false;
  };
  for (const std::string& path : s.removed) {
    if (world.Exists(path))
      problems.push_back("not removed: " + Printable(path));
  }
  std::vector<File> kept;
  for (const File& f : s.files) {
    if (!is_removed(f.path))
      kept.push_back(f);
  }
  for (const File& f : s.expected_files) {
    bool replaced = false;
    for (File& k : kept) {
      if (Fold(k.path) == Fold(f.path)) {
        k.bytes = f.bytes;
        replaced = true;
      }
    }
    if (!replaced)
      kept.push_back(f);
  }
  for (const File& f : kept) {
    if (f.is_folder) {
      if (!world.Exists(f.path))
        problems.push_back("folder gone: " + Printable(f.path));
      continue;
    }
    std::string bytes;
    if (!world.ReadFile(f.path, &bytes)) {
      problems.push_back("file gone: " + Printable(f.path));
    } else if (f.is_profile && world.RewritesProfiles()
                   ? CanonicalProfile(bytes) != CanonicalProfile(f.bytes)
                   : bytes != f.bytes) {
      problems.push_back("file " + Printable(f.path) + " holds " + Printable(bytes) +
                         ", expected " + Printable(f.bytes));
    }
  }
  return problems;
}

}  // namespace scenario
