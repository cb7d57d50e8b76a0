// Every scenario of tests/scenarios, run on the simulated host.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "tests/scenario/sim_world.h"

namespace {

// The scenario files of the test folder and the bundled examples, as full paths.
std::vector<std::string> ScenarioNames() {
  std::vector<std::string> names;
  std::stringstream dirs(DICSETUP_SCENARIO_DIRS);
  std::string dir_path;
  while (std::getline(dirs, dir_path, '|')) {
    if (DIR* dir = opendir(dir_path.c_str())) {
      while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".scn") == 0) {
          names.push_back(dir_path + "/" + name);
        }
      }
      closedir(dir);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

class Scenario : public ::testing::TestWithParam<std::string> {};

TEST_P(Scenario, HoldsOnTheSimulatedHost) {
  std::ifstream in(GetParam());
  std::stringstream text;
  text << in.rdbuf();
  scenario::SimWorld world;
  scenario::Scenario s;
  std::string error;
  ASSERT_TRUE(scenario::Parse(text.str(), GetParam(), world, &s, &error)) << error;
  for (const std::string& problem : scenario::Check(s, world))
    ADD_FAILURE() << problem;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name;
  const std::string file = info.param.substr(info.param.rfind('/') + 1);
  for (char c : file.substr(0, file.size() - 4)) {
    if (isalnum(static_cast<unsigned char>(c)))
      name += c;
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Files, Scenario, ::testing::ValuesIn(ScenarioNames()), TestName);

TEST(ScenarioFiles, AreThere) {
  EXPECT_FALSE(ScenarioNames().empty());
}

}  // namespace
