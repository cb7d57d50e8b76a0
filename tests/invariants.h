// What must hold after any run of the tool on the simulated host, whatever the starting state
// and whatever host call failed: nothing of another program's is overwritten, dropped or
// deleted, every warning is one of the tool's own texts, nothing is left open.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "host/sim_host.h"

namespace invariants {

struct Snapshot {
  std::vector<std::string> keys;
  std::map<std::string, std::vector<sim::Value>> values;  // by key path
  std::map<std::string, std::string> files;               // Windows path -> bytes
};

Snapshot Take();

// Every way the run's result breaks the rules; empty when it keeps them. `install_dir` is the
// tool's InstallDir (with its backslash).
std::vector<std::string> Check(const Snapshot& before, const Snapshot& after,
                               const std::string& install_dir);

}  // namespace invariants
