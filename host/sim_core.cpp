// Journal, fault injection and the parts of the simulated host that belong to no one service.
#include <filesystem>

#include "host/sim_internal.h"
#include "setup/text.h"

namespace sim {

World& TheWorld() {
  static World world;
  return world;
}

const char* OpName(Op op) {
  static const char* const names[] = {
      "RegOpenKeyExA",
      "RegCreateKeyExA",
      "RegQueryValueExA",
      "RegSetValueExA",
      "RegCloseKey",
      "GetPrivateProfileIntA",
      "GetPrivateProfileSectionNamesA",
      "GetPrivateProfileStringA",
      "WritePrivateProfileStringA",
      "GetFileAttributesA",
      "DeleteFileA",
      "GetWindowsDirectoryA",
      "SHGetSpecialFolderLocation",
      "SHGetPathFromIDListA",
      "CoTaskMemFree",
      "MessageBoxA",
  };
  static_assert(sizeof(names) / sizeof(names[0]) == static_cast<size_t>(Op::Count),
                "one name per operation");
  return op < Op::Count ? names[static_cast<size_t>(op)] : "?";
}

std::string FoldCase(const std::string& s) {
  std::string folded = s;
  for (size_t i = 0; i < folded.size();) {
    size_t n = cp932::CharLength(folded.data(), i, folded.size());
    if (n == 1 && folded[i] >= 'a' && folded[i] <= 'z')
      folded[i] = static_cast<char>(folded[i] - 32);
    i += n;
  }
  return folded;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  return FoldCase(a) == FoldCase(b);
}

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < path.size();) {
    size_t n = cp932::CharLength(path.data(), i, path.size());
    if (n == 1 && (path[i] == '\\' || path[i] == '/')) {
      parts.emplace_back();
    } else {
      parts.back().append(path, i, n);
    }
    i += n;
  }
  return parts;
}

void Reset(const std::string& files_root) {
  World& w = TheWorld();
  w = World();
  w.files_root = files_root;
  std::error_code ignored;
  std::filesystem::remove_all(files_root, ignored);
  std::filesystem::create_directories(files_root);
}

const std::vector<Message>& Messages() {
  return TheWorld().messages;
}
const std::vector<Call>& Journal() {
  return TheWorld().journal;
}
size_t FaultsFired() {
  return TheWorld().faults_fired;
}

size_t CallCount(Op op) {
  size_t n = 0;
  for (const Call& call : TheWorld().journal)
    n += call.op == op;
  return n;
}

void FailOperation(Op op, const std::string& target_contains, DWORD error) {
  TheWorld().faults.push_back(Fault{op, FoldCase(target_contains), 0, false, error, false});
}

void FailCall(size_t index, bool persistent, DWORD error) {
  TheWorld().faults.push_back(Fault{Op::Count, "", index, persistent, error, false});
}

bool Enter(Op op, const std::string& target, DWORD* error) {
  World& w = TheWorld();
  size_t index = w.journal.size() + 1;
  w.journal.push_back(Call{op, target, false});
  DWORD chosen = 0;
  bool fail = false;
  for (Op persistent : w.persistent_ops)
    fail = fail || persistent == op;
  const std::string folded_target = FoldCase(target);
  for (Fault& fault : w.faults) {
    bool matches = (fault.op == Op::Count || fault.op == op) &&
                   (fault.index == 0 || fault.index == index) &&
                   folded_target.find(fault.target) != std::string::npos;
    if (!matches)
      continue;
    fail = true;
    chosen = fault.error;
    fault.fired = true;
    if (fault.persistent)
      w.persistent_ops.push_back(op);
  }
  if (!fail)
    return false;
  ++w.faults_fired;
  w.journal.back().failed = true;
  *error = chosen != 0 ? chosen : static_cast<DWORD>(ERROR_ACCESS_DENIED);
  return true;
}

}  // namespace sim

DWORD GetLastError() {
  return sim::TheWorld().last_error;
}
void SetLastError(DWORD error) {
  sim::TheWorld().last_error = error;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  DWORD error;
  if (sim::Enter(sim::Op::MessageBoxA, text ? text : "", &error)) {
    SetLastError(error);
    return 0;
  }
  sim::TheWorld().messages.push_back(
      sim::Message{owner != nullptr, text ? text : "", caption ? caption : "", style});
  return IDOK;
}
