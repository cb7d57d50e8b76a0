#include "tests/host_fixture.h"

#ifdef _WIN32
#include <vector>
#else
#include <stdlib.h>
#include <unistd.h>

#include "host/sim_host.h"
#endif

namespace hosttest {

const char kScratchKey[] = "Software\\DicsetupHostTest";

#ifdef _WIN32

static void DeleteTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..")
        continue;
      std::string path = folder + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(path);
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

std::string ScratchFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = temp;
  if (folder.back() != '\\')
    folder += '\\';
  return folder + "dicsetup-hosttest\\";
}

void ResetScratch() {
  RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
  HKEY key;
  RegCreateKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr);
  RegCloseKey(key);
  std::string folder = ScratchFolder();
  DeleteTree(folder.substr(0, folder.size() - 1));
  CreateDirectoryA(folder.c_str(), nullptr);
}

void MakeFolder(const std::string& path) {
  CreateDirectoryA(path.c_str(), nullptr);
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

bool ReadFileBytes(const std::string& path, std::string* bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  bytes->clear();
  char chunk[4096];
  DWORD got = 0;
  while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
    bytes->append(chunk, got);
  CloseHandle(file);
  return true;
}

void MakeReadOnly(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
}

#else

std::string ScratchFolder() {
  return "C:\\hosttest\\";
}

void ResetScratch() {
  const char* tmp = getenv("TMPDIR");
  sim::Reset(std::string(tmp ? tmp : "/tmp") + "/dicsetup-hosttest-" +
             std::to_string(static_cast<long>(getpid())));
  sim::CreateKey(std::string("HKCU\\") + kScratchKey);
  sim::MakeDirectory(ScratchFolder());
}

void MakeFolder(const std::string& path) {
  sim::MakeDirectory(path);
}
void WriteFileBytes(const std::string& path, const std::string& bytes) {
  sim::WriteFile(path, bytes);
}
bool ReadFileBytes(const std::string& path, std::string* bytes) {
  return sim::ReadFile(path, bytes);
}
void MakeReadOnly(const std::string& path) {
  sim::SetReadOnly(path, true);
}

#endif

}  // namespace hosttest
