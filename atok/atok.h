// Registration with ATOK 10 to 14: the dictionary goes into a slot of the basic dictionary set of
// the ATOK profile file, found through the Windows directory, the registry or the
// application-data folder.
#pragma once

#include "host/host.h"
#include "setup/text.h"

enum SlotOutcome {
  SlotWritten = 0,
  ProfileMissing = 1,
  ProfileUnusable = 2,  // no usable set number, no section names, or no section for the set
  NoFreeSlot = 3,
};

// Enters InstallDir + file into an auxiliary-dictionary slot (ATOK 10 to 13); on any outcome but
// SlotWritten removes the dictionary file, with a warning for ProfileUnusable and NoFreeSlot.
void AddToAuxiliarySlot(const char* profile_path, const char* dictionary_file, const char* version);
// Enters "ON,0," + InstallDir + file into a system-dictionary slot (ATOK 14); nothing else.
SlotOutcome AddToSystemSlot(const char* profile_path, const char* dictionary_file);

void SetupAtok10();
void SetupAtok11();
void SetupAtok12();
void SetupAtok13();
void SetupAtok14();

// The path of a shell folder ending in a backslash, or "" when the host cannot name it.
void GetSpecialFolderPath(int folder, Text<262>* path);
