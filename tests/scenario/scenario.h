// End-to-end scenarios: a starting state (registry keys and values, files, profiles), the
// command-line tail, and what must hold after the run. One description drives both the simulated
// host and the real tool under Wine; each is checked against the same expectations.
//
// Scenario files are UTF-8 text, converted to code page 932 when read. In text fields
// {nl} {cr} {tab} {sp} stand for those bytes, {xHH} for any byte, {fill N C} for N copies of C,
// %WINDIR% and %APPDATA% for the host's Windows and application-data folders.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace scenario {

struct RegValue {
  std::string name;
  uint32_t type;
  std::string data;
};

struct RegKey {
  std::string path;  // "HKCU\...", "HKLM\...", "HKU\..."
  std::vector<RegValue> values;
};

struct File {
  std::string path;
  std::string bytes;
  bool is_folder;
  bool is_profile;  // written as content lines: compared by content where the host rewrites
  bool read_only = false;
};

struct Warning {
  std::string text;
};

struct Scenario {
  std::string name;
  std::string tail;
  bool has_tail = true;
  std::vector<RegKey> keys;           // before the run
  std::vector<File> files;            // before the run
  std::vector<RegKey> expected_keys;  // values that are new or changed after the run
  std::vector<std::string> absent_keys;
  std::vector<std::string> removed;  // files gone after the run
  std::vector<File> expected_files;  // files whose content changes
  std::vector<Warning> warnings;     // in order; none means no warning at all
};

// What a host must offer to set a scenario up, run the tool and look at the result.
class World {
 public:
  virtual ~World() = default;
  virtual std::string WindowsDir() = 0;  // without a trailing backslash
  virtual std::string AppData() = 0;
  virtual void Reset(const Scenario& s) = 0;
  virtual void CreateKey(const std::string& path) = 0;
  virtual void SetValue(const std::string& key, const RegValue& value) = 0;
  virtual void WriteFile(const File& file) = 0;
  struct Shown {
    bool has_owner;
    std::string text;
    std::string caption;
    uint32_t style;
  };
  struct RunResult {
    bool finished;
    int exit_code;
    std::vector<Shown> shown;
    std::string problem;  // why the run could not be observed, if it could not
  };
  virtual RunResult Run(const std::string& tail, bool has_tail) = 0;
  virtual bool KeyExists(const std::string& path) = 0;
  virtual std::vector<RegValue> Values(const std::string& path) = 0;
  virtual bool ReadFile(const std::string& path, std::string* bytes) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // Wine rewrites a whole profile file whenever it writes one entry (blank lines dropped, blanks
  // around names and values removed, CRLF line ends); Windows edits the file in place.
  virtual bool RewritesProfiles() { return false; }
};

// A profile's text in the form Wine writes it.
std::string CanonicalProfile(const std::string& bytes);

// Parses a scenario file; false with a message naming the line on error.
bool Parse(const std::string& utf8_text, const std::string& name, World& world, Scenario* out,
           std::string* error);

// Sets the scenario up, runs the tool and returns every difference from what must hold.
// `observed`, when given, receives what the run showed.
std::vector<std::string> Check(const Scenario& s, World& world,
                               World::RunResult* observed = nullptr);

std::string Utf8ToCp932(const std::string& utf8);
std::string Printable(const std::string& bytes);  // for messages: non-ASCII bytes as \xHH

}  // namespace scenario
