// Registration with Microsoft IME: the IME 97 / IME 98 dictionary lists of the current user and
// the IME 2000 / IME 2002 dictionary and NonManage lists of the default user profile.
#pragma once

#include "host/host.h"

void SetupIme97();
void SetupIme98();
void SetupIme2000();
void SetupIme2002();

// Enters InstallDir + dictionary file into the string list of the open key `key`: the entry that
// already names the file, else the first missing or empty slot. Fails, after the too-many warning,
// when more than `active_limit` active entries come before the slot, and fails silently when no
// slot of the `slot_count` can be used.
bool AddToImeDictionaryList(HKEY key, const char* dictionary_file, const char* version,
                            int slot_count, int active_limit);

// The IME 2000 / IME 2002 procedure: the dictionary list, then the NonManage list, then the
// warning when more than six dictionaries are active.
void RegisterImeJpDictionary(const char* dictionary_file, const char* dictionary_list_key,
                             const char* warning);
