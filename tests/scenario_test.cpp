// Every scenario of tests/scenarios, run on the simulated host.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "tests/scenario/sim_world.h"

namespace {

std::vector<std::string> ScenarioNames() {
  std::vector<std::string> names;
  if (DIR* dir = opendir(DICSETUP_SCENARIO_DIR)) {
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".scn") == 0) {
        names.push_back(name.substr(0, name.size() - 4));
      }
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

class Scenario : public ::testing::TestWithParam<std::string> {};

TEST_P(Scenario, HoldsOnTheSimulatedHost) {
  std::ifstream in(std::string(DICSETUP_SCENARIO_DIR) + "/" + GetParam() + ".scn");
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
  for (char c : info.param) {
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
