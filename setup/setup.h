// The setup run: the install and Windows directories, the handler sequence and the building
// blocks every version handler uses.
#pragma once

#include "host/host.h"
#include "setup/text.h"

// Room for the longest command line Windows hands over (32767 bytes), its added backslash and a
// dictionary file name.
constexpr size_t kInstallDirCapacity = 32768 + 2;
constexpr size_t kPathCapacity = kInstallDirCapacity + 16;
constexpr size_t kWindowsDirCapacity = 261;

typedef Text<kInstallDirCapacity> InstallDirText;
typedef Text<kPathCapacity> PathText;

// The folder the installer copied the dictionaries to, ending in a backslash.
extern InstallDirText InstallDir;
// The Windows directory as the host reports it, ending in a backslash.
extern Text<kWindowsDirCapacity + 1> WindowsDir;

struct SetupHandler {
  const char* version;          // version name used in messages, or nullptr
  const char* dictionary_file;  // file name in InstallDir
  void (*run)();
};

// The version handlers in the order they run.
extern const SetupHandler SetupHandlers[];
extern const size_t SetupHandlerCount;

// True when something (a file or a folder) exists at InstallDir + file name.
bool IsDictionaryPresent(const char* dictionary_file);
// Deletes InstallDir + file name; a file already gone is no error.
void RemoveDictionary(const char* dictionary_file);
// Shows a warning box: no owner, the tool's caption, OK button, warning icon, system-modal.
void ShowWarning(const char* text);

// InstallDir + file name. False (and nothing usable) when the path does not fit.
bool InstallPath(const char* dictionary_file, PathText* path);

// The command-line tail of a full command line: what follows the program's name (a quoted name
// ends at its closing quote, an unquoted one at the first byte from 0x01 to 0x20) and the bytes
// from 0x01 to 0x20 after it. Nothing else is removed or split.
const char* CommandLineTail(const char* command_line);

extern const char kCaption[];
extern const char kMissingInstallDirWarning[];

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line_tail, int show);
