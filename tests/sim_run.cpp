#include "tests/sim_run.h"

#include <stdlib.h>
#include <unistd.h>

#include "setup/setup.h"

namespace simrun {

const char* const kDictionaries[9] = {"VezDim97.dic", "VezDim98.dic", "VezDim20.dic",
                                      "VezDim22.dic", "VezDat10.dic", "VezDat11.dic",
                                      "VezDat12.dic", "VezDat13.dic", "VezDat14.dic"};

const char kIme97Key[] = "HKCU\\Software\\Microsoft\\Ime\\msime97\\Dictionaries";
const char kIme98Key[] =
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Ime\\Japan\\IME98\\Dictionaries";

void FreshHost() {
  const char* tmp = getenv("TMPDIR");
  sim::Reset(std::string(tmp ? tmp : "/tmp") + "/dicsetup-sim-" +
             std::to_string(static_cast<long>(getpid())));
}

int RunTool(const std::string& command_line_tail) {
  std::string tail = command_line_tail;
  return WinMain(nullptr, nullptr, &tail[0], SW_SHOWNORMAL);
}

int RunToolWithCommandLine(const std::string& command_line) {
  return RunTool(CommandLineTail(command_line.c_str()));
}

std::string Sz(const std::string& text) {
  return text + std::string(1, '\0');
}

void PutSz(const std::string& key, const std::string& name, const std::string& text) {
  sim::SetValue(key, name, REG_SZ, Sz(text));
}

std::string ValueBytes(const std::string& key, const std::string& name) {
  sim::Value value;
  if (!sim::GetValue(key, name, &value))
    return "<missing>";
  return value.data;
}

std::vector<std::string> MessageTexts() {
  std::vector<std::string> texts;
  for (const sim::Message& m : sim::Messages())
    texts.push_back(m.text);
  return texts;
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + "\r\n";
  return text;
}

void Dictionary(const std::string& windows_path) {
  sim::WriteFile(windows_path, "dictionary");
}

}  // namespace simrun
