#include "tests/scenario/sim_world.h"

#include "host/sim_host.h"
#include "tests/sim_run.h"

namespace scenario {

std::string SimWorld::WindowsDir() {
  return "C:\\WINDOWS";
}
std::string SimWorld::AppData() {
  return "C:\\Documents and Settings\\user\\Application Data";
}

void SimWorld::Reset(const Scenario&) {
  simrun::FreshHost();
  sim::SetWindowsDirectory(WindowsDir());
  sim::SetAppDataFolder(AppData());
}

void SimWorld::CreateKey(const std::string& path) {
  sim::CreateKey(path);
}

void SimWorld::SetValue(const std::string& key, const RegValue& value) {
  sim::SetValue(key, value.name, value.type, value.data);
}

void SimWorld::WriteFile(const File& file) {
  if (file.is_folder) {
    sim::MakeDirectory(file.path);
  } else {
    sim::WriteFile(file.path, file.bytes);
    if (file.read_only)
      sim::SetReadOnly(file.path, true);
  }
}

World::RunResult SimWorld::Run(const std::string& tail, bool has_tail) {
  RunResult result;
  result.exit_code = simrun::RunToolWithCommandLine(has_tail ? "\"C:\\Setup\\dicsetup.exe\" " + tail
                                                             : "\"C:\\Setup\\dicsetup.exe\"");
  result.finished = true;
  for (const sim::Message& m : sim::Messages()) {
    result.shown.push_back(Shown{m.has_owner, m.text, m.caption, m.style});
  }
  if (sim::OpenKeyCount() != 0 || sim::LiveShellItems() != 0) {
    result.finished = false;
    result.problem = "the run left registry keys or shell items open";
  }
  return result;
}

bool SimWorld::KeyExists(const std::string& path) {
  return sim::KeyExists(path);
}

std::vector<RegValue> SimWorld::Values(const std::string& path) {
  std::vector<RegValue> values;
  for (const sim::Value& v : sim::Values(path))
    values.push_back(RegValue{v.name, v.type, v.data});
  return values;
}

bool SimWorld::ReadFile(const std::string& path, std::string* bytes) {
  return sim::ReadFile(path, bytes);
}

bool SimWorld::Exists(const std::string& path) {
  return sim::Exists(path);
}

}  // namespace scenario
