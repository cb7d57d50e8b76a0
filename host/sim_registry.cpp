// The simulated registry: keys and value names match case-insensitively, the case used at
// creation is kept, values keep their type and bytes exactly.
#include <string.h>

#include "host/sim_internal.h"

namespace sim {
namespace {

constexpr uintptr_t kFirstHandle = 0x1000;

RegistryKey* RootKey(HKEY key) {
  World& w = TheWorld();
  if (key == HKEY_CURRENT_USER)
    return &w.current_user;
  if (key == HKEY_LOCAL_MACHINE)
    return &w.local_machine;
  if (key == HKEY_USERS)
    return &w.users;
  return nullptr;
}

// The key a handle stands for (a root or an open handle), with its full path.
RegistryKey* KeyOfHandle(HKEY key, std::string* path) {
  if (RegistryKey* root = RootKey(key)) {
    *path = root->name;
    return root;
  }
  World& w = TheWorld();
  uintptr_t raw = reinterpret_cast<uintptr_t>(key);
  if (raw < kFirstHandle || raw - kFirstHandle >= w.handles.size())
    return nullptr;
  World::Handle& handle = w.handles[raw - kFirstHandle];
  if (!handle.open)
    return nullptr;
  *path = handle.path;
  return handle.key;
}

RegistryKey* FindChild(RegistryKey* key, const std::string& name) {
  for (auto& child : key->children) {
    if (EqualNoCase(child->name, name))
      return child.get();
  }
  return nullptr;
}

Value* FindValue(RegistryKey* key, const std::string& name) {
  for (Value& value : key->values) {
    if (EqualNoCase(value.name, name))
      return &value;
  }
  return nullptr;
}

// Walks (and with `create`, makes) the sub-key path below `key`. Returns ERROR_SUCCESS and the
// key reached, ERROR_FILE_NOT_FOUND or ERROR_BAD_PATHNAME (a leading backslash, an empty part).
LONG Walk(RegistryKey* key, const char* sub_key, bool create, RegistryKey** result,
          std::string* path, bool* created) {
  *created = false;
  if (sub_key == nullptr || sub_key[0] == 0) {
    *result = key;
    return ERROR_SUCCESS;
  }
  std::vector<std::string> parts = SplitPath(sub_key);
  if (!parts.empty() && parts.back().empty())
    parts.pop_back();  // a trailing backslash is fine
  for (const std::string& part : parts) {
    if (part.empty())
      return ERROR_BAD_PATHNAME;
  }
  for (const std::string& part : parts) {
    RegistryKey* child = FindChild(key, part);
    if (child == nullptr) {
      if (!create)
        return ERROR_FILE_NOT_FOUND;
      key->children.push_back(std::make_unique<RegistryKey>(RegistryKey{part, {}, {}}));
      child = key->children.back().get();
      *created = true;
    }
    *path += "\\" + child->name;
    key = child;
  }
  *result = key;
  return ERROR_SUCCESS;
}

HKEY NewHandle(RegistryKey* key, const std::string& path) {
  World& w = TheWorld();
  w.handles.push_back(World::Handle{key, path, true});
  return reinterpret_cast<HKEY>(kFirstHandle + w.handles.size() - 1);
}

RegistryKey* KeyOfPath(const std::string& key_path, bool create) {
  std::vector<std::string> parts = SplitPath(key_path);
  World& w = TheWorld();
  RegistryKey* key = EqualNoCase(parts[0], "HKCU")   ? &w.current_user
                     : EqualNoCase(parts[0], "HKLM") ? &w.local_machine
                     : EqualNoCase(parts[0], "HKU")  ? &w.users
                                                     : nullptr;
  for (size_t i = 1; key != nullptr && i < parts.size(); ++i) {
    RegistryKey* child = FindChild(key, parts[i]);
    if (child == nullptr && create) {
      key->children.push_back(std::make_unique<RegistryKey>(RegistryKey{parts[i], {}, {}}));
      child = key->children.back().get();
    }
    key = child;
  }
  return key;
}

std::string ValueTarget(const std::string& key_path, const char* name) {
  return key_path + "|" + (name ? name : "");
}

}  // namespace

void CreateKey(const std::string& key_path) {
  KeyOfPath(key_path, true);
}

void SetValue(const std::string& key_path, const std::string& name, DWORD type,
              const std::string& data) {
  RegistryKey* key = KeyOfPath(key_path, true);
  if (Value* value = FindValue(key, name)) {
    value->type = type;
    value->data = data;
  } else {
    key->values.push_back(Value{name, type, data});
  }
}

bool KeyExists(const std::string& key_path) {
  return KeyOfPath(key_path, false) != nullptr;
}

bool GetValue(const std::string& key_path, const std::string& name, Value* value) {
  RegistryKey* key = KeyOfPath(key_path, false);
  Value* found = key ? FindValue(key, name) : nullptr;
  if (found)
    *value = *found;
  return found != nullptr;
}

std::vector<Value> Values(const std::string& key_path) {
  RegistryKey* key = KeyOfPath(key_path, false);
  return key ? key->values : std::vector<Value>();
}

static void CollectKeys(const RegistryKey& key, const std::string& path,
                        std::vector<std::string>* paths) {
  for (const auto& child : key.children) {
    const std::string child_path = path + "\\" + child->name;
    paths->push_back(child_path);
    CollectKeys(*child, child_path, paths);
  }
}

std::vector<std::string> AllKeyPaths() {
  std::vector<std::string> paths;
  World& w = TheWorld();
  for (const RegistryKey* root : {&w.current_user, &w.local_machine, &w.users}) {
    CollectKeys(*root, root->name, &paths);
  }
  return paths;
}

size_t OpenKeyCount() {
  size_t n = 0;
  for (const World::Handle& handle : TheWorld().handles)
    n += handle.open;
  return n;
}

}  // namespace sim

using sim::TheWorld;

LONG RegOpenKeyExA(HKEY key, LPCSTR sub_key, DWORD, REGSAM, PHKEY result) {
  std::string path;
  sim::RegistryKey* parent = sim::KeyOfHandle(key, &path);
  std::string target = path + (sub_key && *sub_key ? std::string("\\") + sub_key : "");
  DWORD error;
  if (sim::Enter(sim::Op::RegOpenKeyExA, target, &error))
    return static_cast<LONG>(error);
  if (result == nullptr)
    return ERROR_INVALID_PARAMETER;
  if (parent == nullptr)
    return ERROR_INVALID_HANDLE;
  sim::RegistryKey* found;
  bool created;
  LONG rc = sim::Walk(parent, sub_key, false, &found, &path, &created);
  if (rc != ERROR_SUCCESS)
    return rc;
  *result = sim::NewHandle(found, path);
  return ERROR_SUCCESS;
}

LONG RegCreateKeyExA(HKEY key, LPCSTR sub_key, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES,
                     PHKEY result, LPDWORD disposition) {
  std::string path;
  sim::RegistryKey* parent = sim::KeyOfHandle(key, &path);
  std::string target = path + (sub_key && *sub_key ? std::string("\\") + sub_key : "");
  DWORD error;
  if (sim::Enter(sim::Op::RegCreateKeyExA, target, &error))
    return static_cast<LONG>(error);
  if (result == nullptr)
    return ERROR_INVALID_PARAMETER;
  if (parent == nullptr)
    return ERROR_INVALID_HANDLE;
  sim::RegistryKey* found;
  bool created;
  LONG rc = sim::Walk(parent, sub_key, true, &found, &path, &created);
  if (rc != ERROR_SUCCESS)
    return rc;
  *result = sim::NewHandle(found, path);
  if (disposition)
    *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, LPCSTR value_name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD data_size) {
  std::string path;
  sim::RegistryKey* owner = sim::KeyOfHandle(key, &path);
  DWORD error;
  if (sim::Enter(sim::Op::RegQueryValueExA, sim::ValueTarget(path, value_name), &error)) {
    return static_cast<LONG>(error);
  }
  if (owner == nullptr)
    return ERROR_INVALID_HANDLE;
  if (reserved != nullptr || (data != nullptr && data_size == nullptr)) {
    return ERROR_INVALID_PARAMETER;
  }
  sim::Value* value = sim::FindValue(owner, value_name ? value_name : "");
  if (value == nullptr) {
    if (data == nullptr && data_size != nullptr)
      *data_size = 0;
    return ERROR_FILE_NOT_FOUND;
  }
  DWORD stored = static_cast<DWORD>(value->data.size());
  if (type)
    *type = value->type;
  if (data == nullptr) {
    if (data_size)
      *data_size = stored;
    return ERROR_SUCCESS;
  }
  DWORD capacity = *data_size;
  *data_size = stored;
  if (stored > capacity)
    return ERROR_MORE_DATA;  // the buffer is left as it was
  memcpy(data, value->data.data(), stored);
  // A string stored without its terminator gets one in the caller's buffer when there is room;
  // it is not counted in the size.
  bool is_string =
      value->type == REG_SZ || value->type == REG_EXPAND_SZ || value->type == REG_MULTI_SZ;
  if (is_string && stored > 0 && stored < capacity && value->data[stored - 1] != 0) {
    data[stored] = 0;
  }
  return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY key, LPCSTR value_name, DWORD, DWORD type, const BYTE* data,
                    DWORD data_size) {
  std::string path;
  sim::RegistryKey* owner = sim::KeyOfHandle(key, &path);
  DWORD error;
  if (sim::Enter(sim::Op::RegSetValueExA, sim::ValueTarget(path, value_name), &error)) {
    return static_cast<LONG>(error);
  }
  if (owner == nullptr)
    return ERROR_INVALID_HANDLE;
  if (data == nullptr && data_size > 0)
    return ERROR_INVALID_PARAMETER;
  std::string bytes(reinterpret_cast<const char*>(data), data ? data_size : 0);
  const std::string name = value_name ? value_name : "";
  if (sim::Value* value = sim::FindValue(owner, name)) {
    value->type = type;
    value->data = bytes;
  } else {
    owner->values.push_back(sim::Value{name, type, bytes});
  }
  return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
  std::string path;
  sim::RegistryKey* owner = sim::KeyOfHandle(key, &path);
  DWORD error;
  bool fail = sim::Enter(sim::Op::RegCloseKey, path, &error);
  if (owner == nullptr)
    return ERROR_INVALID_HANDLE;
  // Even a close reported as failed releases the handle, so handle counts stay meaningful.
  if (sim::RootKey(key) == nullptr) {
    TheWorld().handles[reinterpret_cast<uintptr_t>(key) - sim::kFirstHandle].open = false;
  }
  return fail ? static_cast<LONG>(error) : ERROR_SUCCESS;
}
