// Simulated shell folders: the application-data folder is the only one the tool asks for.
#include <string.h>

#include "host/sim_internal.h"

struct ITEMIDLIST {
  std::string path;
};

namespace sim {

void SetAppDataFolder(const std::string& path) {
  TheWorld().app_data = path;
}
size_t LiveShellItems() {
  return TheWorld().live_shell_items;
}

}  // namespace sim

HRESULT SHGetSpecialFolderLocation(HWND, int folder, LPITEMIDLIST* item) {
  DWORD error;
  if (sim::Enter(sim::Op::SHGetSpecialFolderLocation, std::to_string(folder), &error)) {
    return E_FAIL;
  }
  const std::string& path = sim::TheWorld().app_data;
  if (item == nullptr || folder != CSIDL_APPDATA || path.empty())
    return E_FAIL;
  *item = new ITEMIDLIST{path};
  ++sim::TheWorld().live_shell_items;
  return S_OK;
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST item, LPSTR path) {
  DWORD error;
  if (sim::Enter(sim::Op::SHGetPathFromIDListA, item ? item->path : "", &error))
    return FALSE;
  if (item == nullptr || path == nullptr || item->path.size() >= MAX_PATH)
    return FALSE;
  memcpy(path, item->path.c_str(), item->path.size() + 1);
  return TRUE;
}

void CoTaskMemFree(LPVOID memory) {
  DWORD error;
  sim::Enter(sim::Op::CoTaskMemFree, "", &error);  // releasing cannot fail
  if (memory == nullptr)
    return;
  delete static_cast<ITEMIDLIST*>(memory);
  --sim::TheWorld().live_shell_items;
}
