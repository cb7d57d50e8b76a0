// IME 97 and IME 98: a numbered list of REG_SZ values "DIC0", "DIC1", ... under the current
// user, each "<path>,<flag>". The tool's own entry is "<InstallDir><file>,1".
#include "msime/msime.h"
#include "setup/setup.h"

namespace {

const char kIme97Key[] = "Software\\Microsoft\\Ime\\msime97\\Dictionaries";
const char kIme98Key[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Ime\\Japan\\IME98\\Dictionaries";

const char kTooManyWarning[] =
    "%sの「変換に使用するシステム辞書」には\n"
    "既に各種辞書が登録されており これ以上登録できません。\n"
    "\n"
    "以下のどちらかの方法で拡張辞書を登録して下さい。\n"
    "\n"
    "①%sのプロパティを操作して 手動で拡張辞書を登録する。\n"
    "②%sのプロパティを操作して 使用するシステム辞書のチェックを\n"
    "　１つ以上外してから 拡張辞書のセットアップを再実行する。";

constexpr DWORD kEntryBufferSize = 260;

bool IsFlagBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// An entry is active when the text after its first comma, without surrounding blanks, is "1" or
// "2"; an entry with no comma counts as "1".
bool IsActiveEntry(const char* text, size_t length) {
  long comma = cp932::FindBytes(text, length, ",");
  if (comma < 0)
    return true;
  size_t begin = static_cast<size_t>(comma) + 1;
  size_t end = length;
  while (begin < end && IsFlagBlank(text[begin]))
    ++begin;
  while (end > begin && IsFlagBlank(text[end - 1]))
    --end;
  return end - begin == 1 && (text[begin] == '1' || text[begin] == '2');
}

void ShowTooManyWarning(const char* version) {
  const char* const args[] = {version, version, version};
  Text<1024> message;
  message.AppendFormat(kTooManyWarning, args, 3);
  ShowWarning(message.c_str());
}

void SetupImeWithList(const char* sub_key, const char* dictionary_file, const char* version) {
  if (!IsDictionaryPresent(dictionary_file))
    return;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, sub_key, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
    RemoveDictionary(dictionary_file);  // this input method is not installed for the user
    return;
  }
  if (!AddToImeDictionaryList(key, dictionary_file, version, 255, 6)) {
    RemoveDictionary(dictionary_file);
  }
  RegCloseKey(key);
}

}  // namespace

bool AddToImeDictionaryList(HKEY key, const char* dictionary_file, const char* version,
                            int slot_count, int active_limit) {
  Text<16> chosen;
  int active = 0;
  for (int i = 0; i < slot_count; ++i) {
    Text<16> slot("DIC");
    slot.AppendDecimal(i);
    char entry[kEntryBufferSize];
    DWORD type = REG_NONE;
    DWORD size = kEntryBufferSize;
    LONG rc =
        RegQueryValueExA(key, slot.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(entry), &size);
    if (rc == ERROR_FILE_NOT_FOUND) {
      chosen = slot;
      break;
    }
    // An entry that cannot be read (larger than the buffer, or refused) belongs to someone else:
    // it is never overwritten, and as its flag is unknown it is not counted.
    if (rc != ERROR_SUCCESS || type != REG_SZ)
      continue;
    size_t length = TextLength(entry, size < kEntryBufferSize ? size : kEntryBufferSize);
    if (length == 0 || cp932::FindInText(entry, length, dictionary_file) >= 0) {
      chosen = slot;
      break;
    }
    if (IsActiveEntry(entry, length) && ++active > active_limit) {
      ShowTooManyWarning(version);
      return false;
    }
  }
  if (chosen.Empty()) {
    // Every slot holds another program's entry: the list cannot take another dictionary.
    ShowTooManyWarning(version);
    return false;
  }
  PathText value;
  if (!InstallPath(dictionary_file, &value) || value.Append(",1").overflowed)
    return false;
  RegSetValueExA(key, chosen.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.length + 1));
  return true;
}

void SetupIme97() {
  SetupImeWithList(kIme97Key, "VezDim97.dic", "IME97");
}
void SetupIme98() {
  SetupImeWithList(kIme98Key, "VezDim98.dic", "IME98");
}
