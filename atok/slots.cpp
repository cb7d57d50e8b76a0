// Entering a dictionary into a slot of the basic dictionary set of an ATOK profile.
#include "atok/atok.h"
#include "setup/setup.h"

namespace {

const char kLearningSection[] = "辞書・学習";
const char kBasicSetKey[] = "基本辞書セットNo";
const char kSetSectionPrefix[] = "辞書セット";  // followed by the full-width digit of the set

const char* const kAuxiliarySlotKeys[] = {"補助辞書１", "補助辞書２", "補助辞書３", "補助辞書４"};
const char* const kSystemSlotKeys[] = {"システム辞書６", "システム辞書７", "システム辞書８",
                                       "システム辞書９", "システム辞書０"};

const char kEditFailedWarning[] =
    "%s の編集に失敗しました。\n\n%sのプロパティを直接操作して\n拡張辞書を登録して下さい。";
const char kSetFullWarning[] =
    "%sの「基本辞書セットの補助辞書」には\n"
    "既に各種辞書が登録されており これ以上登録できません。\n"
    "\n"
    "以下のどちらかの方法で拡張辞書を登録して下さい。\n"
    "\n"
    "①%sのプロパティを操作して 手動で拡張辞書を登録する。\n"
    "②%sのプロパティを操作して １つ以上の補助辞書を削除\n"
    "　してから 拡張辞書のセットアップを再実行する。";

constexpr DWORD kProfileBufferSize = 1024;
constexpr int kDefaultSetNumber = 10;

// Names in a section-name list follow one another, each ended by a zero byte; an empty name
// ends the list. Only the `stored` bytes the host reported are looked at.
bool ListHoldsSection(const char* list, DWORD stored, const char* section) {
  size_t i = 0;
  while (i < stored && list[i] != 0) {
    size_t length = TextLength(list + i, stored - i);
    if (i + length < stored && TextEquals(list + i, section))
      return true;
    i += length + 1;
  }
  return false;
}

SlotOutcome AddToSlot(const char* profile_path, const char* dictionary_file,
                      const char* const* slot_keys, size_t slot_count, const char* value) {
  if (GetFileAttributesA(profile_path) == INVALID_FILE_ATTRIBUTES)
    return ProfileMissing;
  int set = static_cast<int>(
      GetPrivateProfileIntA(kLearningSection, kBasicSetKey, kDefaultSetNumber, profile_path));
  if (set < 1 || set > 9)
    return ProfileUnusable;
  Text<32> section(kSetSectionPrefix);
  section.AppendChar('\x82').AppendChar(static_cast<char>(0x4F + set));

  char names[kProfileBufferSize];
  DWORD stored = GetPrivateProfileSectionNamesA(names, kProfileBufferSize, profile_path);
  if (stored == 0)
    return ProfileUnusable;
  if (stored > kProfileBufferSize)
    stored = kProfileBufferSize;
  if (!ListHoldsSection(names, stored, section.c_str()))
    return ProfileUnusable;

  const char* chosen = nullptr;
  for (size_t i = 0; i < slot_count; ++i) {
    char slot[kProfileBufferSize];
    DWORD length = GetPrivateProfileStringA(section.c_str(), slot_keys[i], "", slot,
                                            kProfileBufferSize, profile_path);
    slot[kProfileBufferSize - 1] = 0;
    size_t text_length =
        TextLength(slot, length < kProfileBufferSize ? length : kProfileBufferSize);
    if (cp932::FindBytes(slot, text_length, dictionary_file) >= 0) {
      chosen = slot_keys[i];  // the slot that already holds this dictionary wins
      break;
    }
    if (chosen == nullptr && text_length == 0)
      chosen = slot_keys[i];
  }
  if (chosen == nullptr)
    return NoFreeSlot;
  WritePrivateProfileStringA(section.c_str(), chosen, value, profile_path);
  return SlotWritten;
}

}  // namespace

void AddToAuxiliarySlot(const char* profile_path, const char* dictionary_file,
                        const char* version) {
  PathText value;
  SlotOutcome outcome = ProfileMissing;
  if (InstallPath(dictionary_file, &value)) {
    outcome = AddToSlot(profile_path, dictionary_file, kAuxiliarySlotKeys, 4, value.c_str());
  }
  if (outcome != SlotWritten)
    RemoveDictionary(dictionary_file);
  if (outcome == ProfileUnusable) {
    const char* const args[] = {profile_path, version};
    Text<2048> message;
    message.AppendFormat(kEditFailedWarning, args, 2);
    ShowWarning(message.c_str());
  } else if (outcome == NoFreeSlot) {
    const char* const args[] = {version, version, version};
    Text<1024> message;
    message.AppendFormat(kSetFullWarning, args, 3);
    ShowWarning(message.c_str());
  }
}

SlotOutcome AddToSystemSlot(const char* profile_path, const char* dictionary_file) {
  PathText value("ON,0,");
  PathText path;
  if (!InstallPath(dictionary_file, &path) || value.Append(path.c_str()).overflowed) {
    return ProfileMissing;
  }
  return AddToSlot(profile_path, dictionary_file, kSystemSlotKeys, 5, value.c_str());
}
