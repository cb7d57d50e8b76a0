// Simulated files and folders: Windows paths ("C:\Dic\x.dic") map onto a folder of the build
// host, one sub-folder per drive; names match case-insensitively as on Windows.
#include <ctype.h>
#include <dirent.h>
#include <unistd.h>
#include <string.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/sim_internal.h"
#include "setup/text.h"

namespace sim {
namespace {

bool HasInvalidCharacter(const std::string& path) {
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(path[i]);
    if (cp932::CharLength(path.data(), i, path.size()) == 2) {
      ++i;
      continue;
    }
    if (b < 0x20 || strchr("\"<>|*?", b) != nullptr)
      return true;
    if (b == ':' && i != 1)
      return true;
  }
  return false;
}

// The entry of host folder `dir` whose name equals `name` case-insensitively, else `name`.
std::string MatchEntry(const std::string& dir, const std::string& name) {
  DIR* listing = opendir(dir.c_str());
  if (listing == nullptr)
    return name;
  std::string found = name;
  while (dirent* entry = readdir(listing)) {
    if (EqualNoCase(entry->d_name, name)) {
      found = entry->d_name;
      break;
    }
  }
  closedir(listing);
  return found;
}

}  // namespace

// Maps a Windows path to the host; "" for an empty or malformed path.
std::string HostPath(const std::string& windows_path) {
  if (windows_path.empty() || HasInvalidCharacter(windows_path))
    return "";
  World& w = TheWorld();
  std::string full = windows_path;
  bool absolute =
      full.size() >= 2 && full[1] == ':' && isalpha(static_cast<unsigned char>(full[0]));
  if (!absolute) {
    if (full[0] == '\\' || full[0] == '/') {
      full = w.current_directory.substr(0, 2) + full;
    } else {
      std::string base = w.current_directory;
      if (base.empty() || (base.back() != '\\' && base.back() != '/'))
        base += '\\';
      full = base + full;
    }
  }
  if (full.size() < 3 || (full[2] != '\\' && full[2] != '/'))
    return "";
  std::string drive(1, static_cast<char>(tolower(static_cast<unsigned char>(full[0]))));
  std::vector<std::string> parts = SplitPath(full.substr(3));
  std::vector<std::string> resolved;
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    if (part.empty() || part == ".")
      continue;
    if (part == "..") {
      if (!resolved.empty())
        resolved.pop_back();
      continue;
    }
    resolved.push_back(part);
  }
  std::string host = w.files_root + "/" + drive;
  for (const std::string& part : resolved)
    host += "/" + MatchEntry(host, part);
  return host;
}

void MakeDirectory(const std::string& windows_path) {
  std::filesystem::create_directories(HostPath(windows_path));
}

void WriteFile(const std::string& windows_path, const std::string& bytes) {
  std::string host = HostPath(windows_path);
  std::filesystem::create_directories(std::filesystem::path(host).parent_path());
  std::ofstream(host, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
}

bool ReadFile(const std::string& windows_path, std::string* bytes) {
  std::ifstream in(HostPath(windows_path), std::ios::binary);
  if (!in)
    return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool Exists(const std::string& windows_path) {
  struct stat info;
  std::string host = HostPath(windows_path);
  return !host.empty() && stat(host.c_str(), &info) == 0;
}

std::vector<std::string> AllFiles() {
  std::vector<std::string> files;
  const std::string& root = TheWorld().files_root;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(root, error);
       it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    if (!it->is_regular_file())
      continue;
    std::string relative = it->path().string().substr(root.size() + 1);
    std::string windows =
        static_cast<char>(toupper(static_cast<unsigned char>(relative[0]))) + std::string(":");
    for (size_t i = 1; i < relative.size(); ++i)
      windows += relative[i] == '/' ? '\\' : relative[i];
    files.push_back(windows);
  }
  return files;
}

void SetReadOnly(const std::string& windows_path, bool read_only) {
  std::string host = HostPath(windows_path);
  if (read_only) {
    TheWorld().read_only.insert(host);
  } else {
    TheWorld().read_only.erase(host);
  }
}

void SetWindowsDirectory(const std::string& path) {
  TheWorld().windows_directory = path;
}
void SetCurrentDirectory(const std::string& path) {
  TheWorld().current_directory = path;
}

// Error for a path with nothing at it: the file is missing (2) or a folder on the way is (3).
DWORD MissingPathError(const std::string& host) {
  struct stat info;
  std::string parent = std::filesystem::path(host).parent_path();
  return stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? ERROR_FILE_NOT_FOUND
                                                                   : ERROR_PATH_NOT_FOUND;
}

}  // namespace sim

DWORD GetFileAttributesA(LPCSTR path) {
  DWORD error;
  if (sim::Enter(sim::Op::GetFileAttributesA, path ? path : "", &error)) {
    SetLastError(error);
    return INVALID_FILE_ATTRIBUTES;
  }
  std::string host = sim::HostPath(path ? path : "");
  struct stat info;
  if (host.empty()) {
    SetLastError(path && *path ? ERROR_INVALID_NAME : ERROR_PATH_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  if (stat(host.c_str(), &info) != 0) {
    SetLastError(sim::MissingPathError(host));
    return INVALID_FILE_ATTRIBUTES;
  }
  if (S_ISDIR(info.st_mode))
    return FILE_ATTRIBUTE_DIRECTORY;
  // A file named with a trailing backslash is not found.
  std::string text = path;
  if (cp932::EndsWithBackslash(text.data(), text.size()) || (!text.empty() && text.back() == '/')) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
  if (sim::TheWorld().read_only.count(host))
    attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes;
}

BOOL DeleteFileA(LPCSTR path) {
  DWORD error;
  if (sim::Enter(sim::Op::DeleteFileA, path ? path : "", &error)) {
    SetLastError(error);
    return FALSE;
  }
  std::string host = sim::HostPath(path ? path : "");
  struct stat info;
  if (host.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return FALSE;
  }
  if (stat(host.c_str(), &info) != 0) {
    SetLastError(sim::MissingPathError(host));
    return FALSE;
  }
  if (S_ISDIR(info.st_mode) || sim::TheWorld().read_only.count(host)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  unlink(host.c_str());
  return TRUE;
}

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) {
  DWORD error;
  if (sim::Enter(sim::Op::GetWindowsDirectoryA, "", &error)) {
    SetLastError(error);
    return 0;
  }
  const std::string& dir = sim::TheWorld().windows_directory;
  if (buffer == nullptr || size < dir.size() + 1)
    return static_cast<UINT>(dir.size() + 1);
  memcpy(buffer, dir.c_str(), dir.size() + 1);
  return static_cast<UINT>(dir.size());
}
