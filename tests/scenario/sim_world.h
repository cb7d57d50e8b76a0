// Scenarios on the simulated host: the tool's entry point runs in this process.
#pragma once

#include "tests/scenario/scenario.h"

namespace scenario {

class SimWorld : public World {
 public:
  std::string WindowsDir() override;
  std::string AppData() override;
  void Reset(const Scenario& s) override;
  void CreateKey(const std::string& path) override;
  void SetValue(const std::string& key, const RegValue& value) override;
  void WriteFile(const File& file) override;
  RunResult Run(const std::string& tail, bool has_tail) override;
  bool KeyExists(const std::string& path) override;
  std::vector<RegValue> Values(const std::string& path) override;
  bool ReadFile(const std::string& path, std::string* bytes) override;
  bool Exists(const std::string& path) override;
};

}  // namespace scenario
