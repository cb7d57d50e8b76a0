// Control of the simulated Windows host: its state (registry, files, folders), the record of
// what the tool did (journal of host calls, message boxes shown) and fault injection.
//
// Registry key paths are written with their root name: "HKCU\Software\...", "HKLM\...", "HKU\...".
// Windows paths ("C:\Dic\VezDim97.dic") map onto a folder of the build host.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "host/sim_api.h"

namespace sim {

enum class Op {
  RegOpenKeyExA,
  RegCreateKeyExA,
  RegQueryValueExA,
  RegSetValueExA,
  RegCloseKey,
  GetPrivateProfileIntA,
  GetPrivateProfileSectionNamesA,
  GetPrivateProfileStringA,
  WritePrivateProfileStringA,
  GetFileAttributesA,
  DeleteFileA,
  GetWindowsDirectoryA,
  SHGetSpecialFolderLocation,
  SHGetPathFromIDListA,
  CoTaskMemFree,
  MessageBoxA,
  Count
};
const char* OpName(Op op);

struct Call {
  Op op;
  std::string target;  // key path, "key path|value name", file path or message text
  bool failed;         // made to fail by fault injection
};

struct Message {
  bool has_owner;
  std::string text;
  std::string caption;
  UINT style;
};

struct Value {
  std::string name;
  DWORD type;
  std::string data;
};

// Starts a new world: empty registry (the three roots only), no files, no faults, empty journal.
// Files live below `files_root` on the build host, which is emptied.
void Reset(const std::string& files_root);

// Registry state.
void CreateKey(const std::string& key_path);
void SetValue(const std::string& key_path, const std::string& name, DWORD type,
              const std::string& data);
bool KeyExists(const std::string& key_path);
bool GetValue(const std::string& key_path, const std::string& name, Value* value);
std::vector<Value> Values(const std::string& key_path);  // in creation order
size_t OpenKeyCount();                   // handles opened by the tool and not yet closed
std::vector<std::string> AllKeyPaths();  // every key below the three roots, parents first

// Files and folders. Paths are Windows paths; relative ones start at the current directory.
std::string HostPath(const std::string& windows_path);  // "" when the path is not valid
void WriteFile(const std::string& windows_path, const std::string& bytes);  // creates parents
bool ReadFile(const std::string& windows_path, std::string* bytes);
void MakeDirectory(const std::string& windows_path);
bool Exists(const std::string& windows_path);
// Every file below the simulated drives, as Windows paths ("C:\Dic\VezDim97.dic").
std::vector<std::string> AllFiles();
void SetReadOnly(const std::string& windows_path, bool read_only);
void SetWindowsDirectory(const std::string& path);  // default "C:\WINDOWS"
void SetCurrentDirectory(const std::string& path);  // default "C:\"
void SetAppDataFolder(const std::string& path);     // "" means the shell knows no such folder
size_t LiveShellItems();                            // folder items handed out and not released

// Message boxes shown, in order. Each returns IDOK unless made to fail.
const std::vector<Message>& Messages();

// Journal of every host call, in order.
const std::vector<Call>& Journal();
size_t CallCount(Op op);

// Fault injection. A failing call fails the way that operation fails on Windows: an error code
// for the registry, FALSE or INVALID_FILE_ATTRIBUTES with GetLastError set, 0 or an empty text
// for profile reads, E_FAIL for the shell, 0 for a message box.
// `error` 0 means the operation's usual error (ERROR_ACCESS_DENIED).
void FailOperation(Op op, const std::string& target_contains = "", DWORD error = 0);
// Makes the call at 1-based place `index` of the run fail; with `persistent`, every later call of
// the same operation fails too.
void FailCall(size_t index, bool persistent = false, DWORD error = 0);
size_t FaultsFired();

// Internal to the simulated host: records a call and says whether it must fail (and how).
bool Enter(Op op, const std::string& target, DWORD* error);

}  // namespace sim
