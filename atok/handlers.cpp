// The ATOK 10 to 14 handlers: each finds where its version keeps its profile.
#include <stdint.h>

#include "atok/atok.h"
#include "setup/setup.h"

namespace {

constexpr DWORD kRegistryBufferSize = 1024;

void SetupWithWindowsProfile(const char* profile_name, const char* dictionary_file,
                             const char* version) {
  if (!IsDictionaryPresent(dictionary_file))
    return;
  Text<kWindowsDirCapacity + 32> profile(WindowsDir.c_str());
  profile.Append(profile_name);
  AddToAuxiliarySlot(profile.c_str(), dictionary_file, version);
}

// ATOK 12 and 13 name their profile in the registry: "Active" holds the number n of the profile
// in use (4 bytes, little-endian), "File<n>" its path.
void SetupWithRegistryProfile(const char* profile_key, const char* dictionary_file,
                              const char* version) {
  if (!IsDictionaryPresent(dictionary_file))
    return;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, profile_key, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
    RemoveDictionary(dictionary_file);  // this version is not installed
    return;
  }
  Text<kRegistryBufferSize + 1> profile;
  unsigned char buffer[kRegistryBufferSize];
  FillBytes(buffer, 0, sizeof buffer);
  DWORD size = kRegistryBufferSize;
  if (RegQueryValueExA(key, "Active", nullptr, nullptr, buffer, &size) == ERROR_SUCCESS) {
    int32_t active = static_cast<int32_t>(
        static_cast<uint32_t>(buffer[0]) | static_cast<uint32_t>(buffer[1]) << 8 |
        static_cast<uint32_t>(buffer[2]) << 16 | static_cast<uint32_t>(buffer[3]) << 24);
    Text<32> file_value("File");
    file_value.AppendDecimal(active);
    FillBytes(buffer, 0, sizeof buffer);
    size = kRegistryBufferSize;
    if (RegQueryValueExA(key, file_value.c_str(), nullptr, nullptr, buffer, &size) ==
        ERROR_SUCCESS) {
      const char* text = reinterpret_cast<const char*>(buffer);
      profile.Append(text,
                     TextLength(text, size < kRegistryBufferSize ? size : kRegistryBufferSize));
    }
  }
  // An empty path names nothing, so the editor finds no profile and removes the dictionary.
  AddToAuxiliarySlot(profile.c_str(), dictionary_file, version);
  RegCloseKey(key);
}

}  // namespace

void GetSpecialFolderPath(int folder, Text<262>* path) {
  char buffer[261];
  FillBytes(buffer, 0, sizeof buffer);
  LPITEMIDLIST item = nullptr;
  if (SHGetSpecialFolderLocation(nullptr, folder, &item) >= 0) {
    SHGetPathFromIDListA(item, buffer);
    CoTaskMemFree(item);
  }
  buffer[sizeof buffer - 1] = 0;
  path->Clear();
  path->Append(buffer);
  if (!path->Empty())
    path->EnsureTrailingBackslash();
}

void SetupAtok10() {
  SetupWithWindowsProfile("atok10w.ini", "VezDat10.dic", "ATOK10");
}
void SetupAtok11() {
  SetupWithWindowsProfile("atok11w.ini", "VezDat11.dic", "ATOK11");
}
void SetupAtok12() {
  SetupWithRegistryProfile("Software\\Justsystem\\ATOK\\12.0\\Profile", "VezDat12.dic", "ATOK12");
}
void SetupAtok13() {
  SetupWithRegistryProfile("Software\\Justsystem\\ATOK\\13.0\\Profile", "VezDat13.dic", "ATOK13");
}

void SetupAtok14() {
  const char dictionary_file[] = "VezDat14.dic";
  if (!IsDictionaryPresent(dictionary_file))
    return;
  Text<262> app_data;
  GetSpecialFolderPath(CSIDL_APPDATA, &app_data);
  Text<262 + 32> main_profile(app_data.c_str());
  main_profile.Append("Justsystem\\Atok14\\");
  Text<262 + 32> user_profile(main_profile.c_str());
  main_profile.Append("atok14w.ini");
  user_profile.Append("user.ini");
  if (GetFileAttributesA(main_profile.c_str()) == INVALID_FILE_ATTRIBUTES) {
    RemoveDictionary(dictionary_file);  // ATOK 14 is not installed for this user
    return;
  }
  // Once the main profile exists the dictionary stays, whatever the editors make of it.
  AddToSystemSlot(main_profile.c_str(), dictionary_file);
  AddToSystemSlot(user_profile.c_str(), dictionary_file);
}
