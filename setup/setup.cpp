#include "setup/setup.h"

#include "atok/atok.h"
#include "msime/msime.h"

InstallDirText InstallDir;
Text<kWindowsDirCapacity + 1> WindowsDir;

const char kCaption[] = "拡張辞書セットアップ";
const char kMissingInstallDirWarning[] =
    "起動オプションに拡張辞書インストール先のパスを指定して下さい。";

const SetupHandler SetupHandlers[] = {
    {"IME97", "VezDim97.dic", SetupIme97},   {"IME98", "VezDim98.dic", SetupIme98},
    {nullptr, "VezDim20.dic", SetupIme2000}, {nullptr, "VezDim22.dic", SetupIme2002},
    {"ATOK10", "VezDat10.dic", SetupAtok10}, {"ATOK11", "VezDat11.dic", SetupAtok11},
    {"ATOK12", "VezDat12.dic", SetupAtok12}, {"ATOK13", "VezDat13.dic", SetupAtok13},
    {nullptr, "VezDat14.dic", SetupAtok14},
};
const size_t SetupHandlerCount = sizeof(SetupHandlers) / sizeof(SetupHandlers[0]);

bool InstallPath(const char* dictionary_file, PathText* path) {
  path->Clear();
  path->Append(InstallDir.c_str(), InstallDir.length).Append(dictionary_file);
  return !InstallDir.overflowed && !path->overflowed;
}

bool IsDictionaryPresent(const char* dictionary_file) {
  PathText path;
  if (!InstallPath(dictionary_file, &path))
    return false;
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveDictionary(const char* dictionary_file) {
  PathText path;
  if (InstallPath(dictionary_file, &path))
    DeleteFileA(path.c_str());
}

void ShowWarning(const char* text) {
  MessageBoxA(nullptr, text, kCaption, MB_OK | MB_ICONWARNING | MB_SYSTEMMODAL);
}

const char* CommandLineTail(const char* command_line) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(command_line);
  if (*p == '"') {
    ++p;
    while (*p && *p != '"')
      ++p;
    if (*p == '"')
      ++p;
  } else {
    while (*p > 0x20)
      ++p;
  }
  while (*p >= 0x01 && *p <= 0x20)
    ++p;
  return reinterpret_cast<const char*>(p);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line_tail, int) {
#ifdef _WIN32
  // The C runtime's own tail is empty when the folder follows a quoted program name with no blank
  // between them; the command line itself is the reliable source.
  command_line_tail = const_cast<LPSTR>(CommandLineTail(GetCommandLineA()));
#endif
  InstallDir.Clear();
  WindowsDir.Clear();
  if (command_line_tail != nullptr)
    InstallDir.Append(command_line_tail);

  // The buffer starts empty, so a failing call leaves an empty text.
  char windows_dir[kWindowsDirCapacity] = "";
  GetWindowsDirectoryA(windows_dir, kWindowsDirCapacity - 1);
  windows_dir[kWindowsDirCapacity - 1] = 0;
  WindowsDir.Append(windows_dir).EnsureTrailingBackslash();

  // A tail too long to hold is not a missing one: it names no dictionary, so nothing is found.
  if (InstallDir.Empty() && !InstallDir.overflowed) {
    ShowWarning(kMissingInstallDirWarning);
    return 0;
  }
  InstallDir.EnsureTrailingBackslash();

  for (size_t i = 0; i < SetupHandlerCount; ++i)
    SetupHandlers[i].run();
  return 0;
}
