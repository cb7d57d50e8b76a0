// Simulated profile (INI) files, read and written as Windows does for code page 932 files:
// section and key names match case-insensitively (ASCII letters only; double-byte characters
// compare exactly), blanks around names and values are ignored, the first of duplicate sections
// or keys wins, and a write edits the file in place, leaving every other byte as it was.
#include <string.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "host/sim_internal.h"
#include "setup/text.h"

namespace sim {

DWORD MissingPathError(const std::string& host);

namespace {

struct Line {
  size_t begin;  // first byte of the line
  size_t end;    // end of its text, before the line break
  size_t next;   // first byte of the next line
  enum Kind { kOther, kSection, kKey } kind;
  std::string name;   // section or key name, trimmed
  std::string value;  // key value, trimmed, quotes removed, up to a zero byte
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\x1a';
}

std::string Trim(const std::string& s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && IsBlank(s[b]))
    ++b;
  while (e > b && IsBlank(s[e - 1]))
    --e;
  return s.substr(b, e - b);
}

// Position of the first (or last) single-byte `c` in s, character-aware; npos if none.
size_t FindChar(const std::string& s, char c, bool last) {
  size_t found = std::string::npos;
  for (size_t i = 0; i < s.size();) {
    size_t n = cp932::CharLength(s.data(), i, s.size());
    if (n == 1 && s[i] == c) {
      found = i;
      if (!last)
        return found;
    }
    i += n;
  }
  return found;
}

std::vector<Line> ParseLines(const std::string& bytes) {
  std::vector<Line> lines;
  size_t i = 0;
  while (i < bytes.size()) {
    Line line{i, i, i, Line::kOther, "", ""};
    size_t end = i;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
      ++end;
    line.end = end;
    size_t next = end;
    if (next < bytes.size() && bytes[next] == '\r')
      ++next;
    if (next < bytes.size() && bytes[next] == '\n' && (next == end || bytes[next - 1] == '\r')) {
      ++next;
    }
    line.next = next;
    std::string text = bytes.substr(i, end - i);
    text = text.substr(0, text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    std::string trimmed = Trim(text);
    if (!trimmed.empty() && trimmed[0] == '[') {
      size_t close = FindChar(trimmed, ']', true);
      if (close != std::string::npos) {
        line.kind = Line::kSection;
        line.name = Trim(trimmed.substr(1, close - 1));
      }
    } else if (!trimmed.empty() && trimmed[0] != ';') {
      size_t equals = FindChar(trimmed, '=', false);
      if (equals != std::string::npos) {
        line.kind = Line::kKey;
        line.name = Trim(trimmed.substr(0, equals));
        std::string value = Trim(trimmed.substr(equals + 1));
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') &&
            value.back() == value[0]) {
          value = value.substr(1, value.size() - 2);
        }
        line.value = value;
      }
    }
    lines.push_back(line);
    i = next;
  }
  return lines;
}

// Index of the first line of the first section named `section`, or npos; `end` receives the
// index just past that section's last line.
size_t FindSection(const std::vector<Line>& lines, const std::string& section, size_t* end) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == Line::kSection && EqualNoCase(lines[i].name, section)) {
      size_t j = i + 1;
      while (j < lines.size() && lines[j].kind != Line::kSection)
        ++j;
      *end = j;
      return i;
    }
  }
  return std::string::npos;
}

size_t FindKey(const std::vector<Line>& lines, size_t section, size_t end, const std::string& key) {
  for (size_t i = section + 1; i < end; ++i) {
    if (lines[i].kind == Line::kKey && EqualNoCase(lines[i].name, key))
      return i;
  }
  return std::string::npos;
}

// The file a profile name stands for: a bare name lives in the Windows directory.
std::string ProfileHostPath(const char* file) {
  std::string name = file ? file : "";
  if (name.empty())
    return "";
  bool bare = name.find('\\') == std::string::npos && name.find('/') == std::string::npos &&
              name.find(':') == std::string::npos;
  if (bare)
    name = TheWorld().windows_directory + "\\" + name;
  return HostPath(name);
}

// Reads the profile; false (with the Windows error) when there is no readable file.
bool LoadProfile(const std::string& host, std::string* bytes, DWORD* error) {
  struct stat info;
  if (host.empty()) {
    *error = ERROR_ACCESS_DENIED;
    return false;
  }
  if (stat(host.c_str(), &info) != 0) {
    *error = MissingPathError(host);
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    *error = ERROR_ACCESS_DENIED;
    return false;
  }
  std::ifstream in(host, std::ios::binary);
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

std::string Target(const char* file, const char* section, const char* key) {
  return std::string(file ? file : "") + "|" + (section ? section : "") + "|" + (key ? key : "");
}

// Copies `text` into the caller's buffer, cut to size - 1 bytes; returns the bytes copied.
DWORD CopyOut(const std::string& text, LPSTR buffer, DWORD size) {
  if (buffer == nullptr || size == 0)
    return 0;
  size_t n = text.size() < size - 1 ? text.size() : size - 1;
  memcpy(buffer, text.data(), n);
  buffer[n] = 0;
  return static_cast<DWORD>(n);
}

// A list of zero-terminated names ended by one more zero. When it does not fit (an exact fit
// counts as not fitting) the list is cut to size - 2 bytes and ended by two zeros.
DWORD CopyList(const std::vector<std::string>& names, LPSTR buffer, DWORD size) {
  if (buffer == nullptr || size == 0)
    return 0;
  std::string list;
  for (const std::string& name : names)
    list += name + std::string(1, '\0');
  if (list.size() + 2 <= size) {
    memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = 0;
    return static_cast<DWORD>(list.size());
  }
  if (size < 2) {
    buffer[0] = 0;
    return 0;
  }
  memcpy(buffer, list.data(), size - 2);
  buffer[size - 2] = 0;
  buffer[size - 1] = 0;
  return size - 2;
}

std::string TrimTrailingBlanks(const char* text) {
  std::string s = text ? text : "";
  while (!s.empty() && IsBlank(s.back()))
    s.pop_back();
  return s;
}

// The value of section/key, or false when the file, the section or the key is missing.
bool LookUp(const char* file, const std::string& section, const std::string& key,
            std::string* value) {
  std::string bytes;
  DWORD error;
  if (!LoadProfile(ProfileHostPath(file), &bytes, &error)) {
    SetLastError(error);
    return false;
  }
  std::vector<Line> lines = ParseLines(bytes);
  size_t end;
  size_t s = FindSection(lines, Trim(section), &end);
  if (s == std::string::npos)
    return false;
  size_t k = FindKey(lines, s, end, Trim(key));
  if (k == std::string::npos)
    return false;
  *value = lines[k].value;
  return true;
}

}  // namespace
}  // namespace sim

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT default_value, LPCSTR file) {
  DWORD error;
  if (sim::Enter(sim::Op::GetPrivateProfileIntA, sim::Target(file, section, key), &error)) {
    SetLastError(error);
    return static_cast<UINT>(default_value);
  }
  std::string value;
  if (section == nullptr || key == nullptr || !sim::LookUp(file, section, key, &value) ||
      value.empty()) {
    return static_cast<UINT>(default_value);
  }
  // Decimal digits after an optional sign; anything else ends the number. Wraps modulo 2^32.
  size_t i = 0;
  bool negative = false;
  if (value[i] == '+' || value[i] == '-')
    negative = value[i++] == '-';
  uint32_t n = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    n = n * 10u + static_cast<uint32_t>(value[i] - '0');
  }
  return negative ? 0u - n : n;
}

DWORD GetPrivateProfileSectionNamesA(LPSTR buffer, DWORD size, LPCSTR file) {
  DWORD error;
  if (sim::Enter(sim::Op::GetPrivateProfileSectionNamesA, sim::Target(file, nullptr, nullptr),
                 &error)) {
    if (buffer && size > 0)
      buffer[0] = 0;
    SetLastError(error);
    return 0;
  }
  std::string bytes;
  if (!sim::LoadProfile(sim::ProfileHostPath(file), &bytes, &error)) {
    if (buffer && size > 0)
      buffer[0] = 0;
    SetLastError(error);
    return 0;
  }
  std::vector<std::string> names;
  for (const sim::Line& line : sim::ParseLines(bytes)) {
    if (line.kind == sim::Line::kSection)
      names.push_back(line.name);
  }
  return sim::CopyList(names, buffer, size);
}

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR default_value, LPSTR buffer,
                               DWORD size, LPCSTR file) {
  DWORD error;
  if (sim::Enter(sim::Op::GetPrivateProfileStringA, sim::Target(file, section, key), &error)) {
    if (buffer && size > 0)
      buffer[0] = 0;
    SetLastError(error);
    return 0;
  }
  if (section == nullptr)
    return GetPrivateProfileSectionNamesA(buffer, size, file);
  std::string value;
  if (key != nullptr && sim::LookUp(file, section, key, &value)) {
    return sim::CopyOut(value, buffer, size);
  }
  if (key == nullptr) {
    // The key names of the section.
    std::string bytes;
    std::vector<std::string> names;
    if (sim::LoadProfile(sim::ProfileHostPath(file), &bytes, &error)) {
      std::vector<sim::Line> lines = sim::ParseLines(bytes);
      size_t end;
      size_t s = sim::FindSection(lines, sim::Trim(section), &end);
      for (size_t i = s + 1; s != std::string::npos && i < end; ++i) {
        if (lines[i].kind == sim::Line::kKey)
          names.push_back(lines[i].name);
      }
      if (s != std::string::npos)
        return sim::CopyList(names, buffer, size);
    }
  }
  return sim::CopyOut(sim::TrimTrailingBlanks(default_value), buffer, size);
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
  DWORD error;
  if (sim::Enter(sim::Op::WritePrivateProfileStringA, sim::Target(file, section, key), &error)) {
    SetLastError(error);
    return FALSE;
  }
  if (section == nullptr || key == nullptr || value == nullptr) {
    // Deleting keys and sections is not something this tool does.
    SetLastError(section == nullptr ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string host = sim::ProfileHostPath(file);
  std::string bytes;
  if (!sim::LoadProfile(host, &bytes, &error)) {
    if (error != ERROR_FILE_NOT_FOUND) {
      SetLastError(error);
      return FALSE;
    }
    bytes.clear();  // a new file
  } else if (sim::TheWorld().read_only.count(host)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  const std::string wanted_section = sim::Trim(section);
  const std::string wanted_key = sim::Trim(key);
  std::vector<sim::Line> lines = sim::ParseLines(bytes);
  size_t end;
  size_t s = sim::FindSection(lines, wanted_section, &end);
  std::string updated;
  if (s == std::string::npos) {
    // A new section at the end, on a line of its own.
    updated = bytes;
    if (!updated.empty() && updated.back() != '\n' && updated.back() != '\r')
      updated += "\r\n";
    updated += "[" + wanted_section + "]\r\n" + wanted_key + "=" + value + "\r\n";
  } else {
    size_t k = sim::FindKey(lines, s, end, wanted_key);
    if (k != std::string::npos) {
      // Replaced in place: the key keeps the spelling the file gave it, the line its ending.
      const sim::Line& line = lines[k];
      updated = bytes.substr(0, line.begin) + line.name + "=" + value + bytes.substr(line.end);
    } else {
      // Added after the last non-blank line of the section.
      size_t last = s;
      for (size_t i = s + 1; i < end; ++i) {
        if (!sim::Trim(bytes.substr(lines[i].begin, lines[i].end - lines[i].begin)).empty()) {
          last = i;
        }
      }
      const sim::Line& after = lines[last];
      std::string head = bytes.substr(0, after.next);
      if (after.next == after.end)
        head += "\r\n";  // the file's last line had no line break
      updated = head + wanted_key + "=" + value + "\r\n" + bytes.substr(after.next);
    }
  }
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  if (!out) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  out.write(updated.data(), static_cast<std::streamsize>(updated.size()));
  return TRUE;
}
