// IME 2000 and IME 2002: under the default user profile, a dictionary list of REG_BINARY entries
// "<path>,<flag>" and zero, and the NonManage list of entries "01 00 00 00 <path> 00". Both lists
// are numbered "DIC0" to "DIC98".
#include "msime/msime.h"
#include "setup/setup.h"

namespace {

const char kIme2000ListKey[] =
    ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Ime\\Japan\\IMEJP\\Dictionaries";
const char kIme2002ListKey[] = ".DEFAULT\\Software\\Microsoft\\IMEJP\\8.0\\Dictionaries";
// IME 2002 records its dictionaries in the IME 2000 NonManage list too.
const char kNonManageKey[] =
    ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Ime\\Japan\\IMEJP\\NonManage";

const char kIme2000Warning[] =
    "IME2000には既に７個以上の辞書が登録されています。\n"
    "\n"
    "拡張辞書のコピーはできていますが、\n"
    "IME2000のプロパティを開き、使用する辞書を６個以下に\n"
    "設定しないと使用できません。";
const char kIme2002Warning[] =
    "IME2002には既に７個以上の辞書が登録されています。\n"
    "\n"
    "拡張辞書のコピーはできていますが、\n"
    "IME2002のプロパティを開き、使用する辞書を６個以下に\n"
    "設定しないと使用できません。";

constexpr int kSlotCount = 99;
constexpr int kActiveLimit = 6;
constexpr DWORD kListBufferSize = 1024;
constexpr DWORD kListReadSize = 1022;
constexpr DWORD kNonManageBufferSize = 1028;
constexpr DWORD kNonManageReadSize = 1026;
constexpr DWORD kNonManagePathOffset = 4;

typedef Text<16> SlotName;

void NameSlot(int i, SlotName* slot) {
  slot->Clear();
  slot->Append("DIC").AppendDecimal(i);
}

// Names slot i and reads it, whatever its type, with `*size` as the size given to the host.
LONG ReadSlot(HKEY key, int i, SlotName* slot, char* entry, DWORD* size) {
  NameSlot(i, slot);
  return RegQueryValueExA(key, slot->c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(entry),
                          size);
}

// Scans the dictionary list for the slot to write, counting the active entries it examines.
// Entries that cannot be read are another program's: never chosen, not counted.
bool ChooseListSlot(HKEY key, const char* dictionary_file, SlotName* slot, int* active) {
  for (int i = 0; i < kSlotCount; ++i) {
    char entry[kListBufferSize];
    DWORD size = kListReadSize;
    LONG rc = ReadSlot(key, i, slot, entry, &size);
    if (rc == ERROR_FILE_NOT_FOUND)
      return true;
    if (rc != ERROR_SUCCESS)
      continue;
    size_t length = TextLength(entry, size < kListReadSize ? size : kListReadSize);
    if (length > 0 && entry[length - 1] == '1')
      ++*active;
    if (cp932::FindInText(entry, length, dictionary_file) >= 0)
      return true;
  }
  return false;
}

bool ChooseNonManageSlot(HKEY key, const char* dictionary_file, SlotName* slot) {
  for (int i = 0; i < kSlotCount; ++i) {
    char entry[kNonManageBufferSize];
    DWORD size = kNonManageReadSize;
    LONG rc = ReadSlot(key, i, slot, entry, &size);
    if (rc == ERROR_FILE_NOT_FOUND)
      return true;
    // Unreadable, or too short to hold a path: someone else's entry.
    if (rc != ERROR_SUCCESS || size <= kNonManagePathOffset)
      continue;
    if (size > kNonManageReadSize)
      size = kNonManageReadSize;
    const char* path = entry + kNonManagePathOffset;
    size_t length = TextLength(path, size - kNonManagePathOffset);
    if (cp932::FindBytes(path, length, dictionary_file) >= 0)
      return true;
  }
  return false;
}

// Writes "<InstallDir><file>,1" and a zero byte; false when it was not written.
bool WriteListEntry(HKEY key, const char* dictionary_file, const SlotName& slot) {
  PathText path;
  if (!InstallPath(dictionary_file, &path) || path.length + 3 > kListBufferSize)
    return false;
  char entry[kListBufferSize];
  FillBytes(entry, 0, sizeof entry);
  CopyBytes(entry, path.c_str(), path.length);
  CopyBytes(entry + path.length, ",1", 2);
  return RegSetValueExA(key, slot.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(entry),
                        static_cast<DWORD>(path.length + 3)) == ERROR_SUCCESS;
}

// Writes 01 00 00 00, "<InstallDir><file>" and a zero byte; false when it was not written.
bool WriteNonManageEntry(HKEY key, const char* dictionary_file, const SlotName& slot) {
  PathText path;
  if (!InstallPath(dictionary_file, &path) ||
      path.length + kNonManagePathOffset + 1 > kNonManageBufferSize) {
    return false;
  }
  char entry[kNonManageBufferSize];
  FillBytes(entry, 0, sizeof entry);
  entry[0] = 1;
  CopyBytes(entry + kNonManagePathOffset, path.c_str(), path.length);
  return RegSetValueExA(key, slot.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(entry),
                        static_cast<DWORD>(path.length + kNonManagePathOffset + 1)) ==
         ERROR_SUCCESS;
}

// Records the dictionary in the NonManage list; false when that could not be done.
bool RecordInNonManage(const char* dictionary_file) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_USERS, kNonManageKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  SlotName slot;
  bool written = ChooseNonManageSlot(key, dictionary_file, &slot) &&
                 WriteNonManageEntry(key, dictionary_file, slot);
  RegCloseKey(key);
  return written;
}

}  // namespace

void RegisterImeJpDictionary(const char* dictionary_file, const char* dictionary_list_key,
                             const char* warning) {
  if (!IsDictionaryPresent(dictionary_file))
    return;
  int active = 1;
  HKEY key;
  if (RegOpenKeyExA(HKEY_USERS, dictionary_list_key, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
    RemoveDictionary(dictionary_file);  // this version is not installed
    return;
  }
  SlotName slot;
  bool written = ChooseListSlot(key, dictionary_file, &slot, &active) &&
                 WriteListEntry(key, dictionary_file, slot);
  RegCloseKey(key);
  if (!written) {
    RemoveDictionary(dictionary_file);
    return;
  }
  // The dictionary is registered and usable from here on: a missing NonManage record is no
  // reason to delete the file the list now names.
  RecordInNonManage(dictionary_file);
  if (active > kActiveLimit)
    ShowWarning(warning);
}

void SetupIme2000() {
  RegisterImeJpDictionary("VezDim20.dic", kIme2000ListKey, kIme2000Warning);
}
void SetupIme2002() {
  RegisterImeJpDictionary("VezDim22.dic", kIme2002ListKey, kIme2002Warning);
}
