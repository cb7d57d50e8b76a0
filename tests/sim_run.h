// Runs the tool on the simulated host: a fresh world per test, a command-line tail, and helpers to
// read back what the run did.
#pragma once

#include <string>
#include <vector>

#include "host/sim_host.h"

namespace simrun {

// Fresh simulated host; files live in a folder of the build host private to this process.
void FreshHost();
// Runs the tool's entry point with this command-line tail; returns its exit code.
int RunTool(const std::string& command_line_tail);
// The same, given the whole command line the platform would start the program with.
int RunToolWithCommandLine(const std::string& command_line);

// The nine dictionary files, in the order the handlers run.
extern const char* const kDictionaries[9];

// Short names for the keys the handlers use.
extern const char kIme97Key[];
extern const char kIme98Key[];

std::string Sz(const std::string& text);  // the bytes of a REG_SZ text with its terminator
void PutSz(const std::string& key, const std::string& name, const std::string& text);
std::string ValueBytes(const std::string& key, const std::string& name);  // "<missing>" if absent
std::vector<std::string> MessageTexts();
void Dictionary(const std::string& windows_path);          // creates a dictionary file
std::string Lines(const std::vector<std::string>& lines);  // profile text, CRLF line ends

}  // namespace simrun
