// State shared by the parts of the simulated host.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/sim_host.h"

namespace sim {

struct Fault {
  Op op;               // Op::Count: any operation
  std::string target;  // substring of the call's target, case-insensitive; "" matches all
  size_t index;        // 1-based place in the run; 0: any place
  bool persistent;     // after firing at `index`, every later call of that op fails too
  DWORD error;
  bool fired;
};

struct RegistryKey {
  std::string name;
  std::vector<std::unique_ptr<RegistryKey>> children;
  std::vector<Value> values;
};

struct World {
  std::string files_root;
  RegistryKey current_user{"HKCU", {}, {}};
  RegistryKey local_machine{"HKLM", {}, {}};
  RegistryKey users{"HKU", {}, {}};
  struct Handle {
    RegistryKey* key;
    std::string path;
    bool open;
  };
  std::vector<Handle> handles;
  std::string windows_directory = "C:\\WINDOWS";
  std::string current_directory = "C:\\";
  std::string app_data = "C:\\Documents and Settings\\user\\Application Data";
  std::set<std::string> read_only;  // host paths
  size_t live_shell_items = 0;
  std::vector<Message> messages;
  std::vector<Call> journal;
  std::vector<Fault> faults;
  std::vector<Op> persistent_ops;
  size_t faults_fired = 0;
  DWORD last_error = 0;
};

World& TheWorld();

// Names as Windows compares them: ASCII letters fold, double-byte characters compare exactly.
bool EqualNoCase(const std::string& a, const std::string& b);
std::string FoldCase(const std::string& s);
// Splits at single-byte backslashes (a 5C trail byte does not split).
std::vector<std::string> SplitPath(const std::string& path);

}  // namespace sim
