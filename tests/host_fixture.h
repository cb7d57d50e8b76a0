// A scratch area on whichever host the test runs on: a registry key of its own under
// HKEY_CURRENT_USER and a folder of its own. Natively that host is the simulated one; in the
// Windows build it is the real API (run under Wine).
#pragma once

#include <string>

#include "host/host.h"

namespace hosttest {

extern const char kScratchKey[];  // below HKEY_CURRENT_USER

// Starts from an empty scratch key and an empty scratch folder.
void ResetScratch();
// The scratch folder as a Windows path ending in a backslash.
std::string ScratchFolder();
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool ReadFileBytes(const std::string& path, std::string* bytes);
void MakeFolder(const std::string& path);
void MakeReadOnly(const std::string& path);

}  // namespace hosttest
