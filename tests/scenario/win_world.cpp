// Scenarios on Windows (run under Wine): the real registry and files, and the real tool started
// as its own process with an exact command line. Its warnings are real message boxes on a
// (virtual) display: each is found, read back and dismissed. The style each box was asked for
// comes from Wine's relay trace of the tool's MessageBoxA calls.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "tests/host_fixture.h"
#include "tests/scenario/scenario.h"

namespace scenario {
namespace {

// Every key the tool may write, cleared before each scenario so none leaks into the next.
const char* const kToolKeys[] = {
    "HKCU\\Software\\Microsoft\\Ime\\msime97",
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Ime\\Japan\\IME98",
    "HKU\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Ime\\Japan\\IMEJP",
    "HKU\\.DEFAULT\\Software\\Microsoft\\IMEJP",
    "HKLM\\Software\\Justsystem",
};

HKEY Root(const std::string& path, std::string* sub_key) {
  size_t slash = path.find('\\');
  std::string root = path.substr(0, slash);
  *sub_key = slash == std::string::npos ? "" : path.substr(slash + 1);
  if (root == "HKCU")
    return HKEY_CURRENT_USER;
  if (root == "HKLM")
    return HKEY_LOCAL_MACHINE;
  if (root == "HKU")
    return HKEY_USERS;
  return nullptr;
}

bool CreateOrOpen(const std::string& path, HKEY* key) {
  std::string sub_key;
  HKEY root = Root(path, &sub_key);
  return root && RegCreateKeyExA(root, sub_key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key,
                                 nullptr) == ERROR_SUCCESS;
}

void DeleteKeyTree(const std::string& path) {
  std::string sub_key;
  HKEY root = Root(path, &sub_key);
  if (root)
    RegDeleteTreeA(root, sub_key.c_str());
  if (root)
    RegDeleteKeyA(root, sub_key.c_str());
}

void MakeParents(const std::string& path) {
  for (size_t i = 3; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
      ++i;
    } else if (c == '\\') {
      CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
  }
}

void RemovePath(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!DeleteFileA(path.c_str()))
    RemoveDirectoryA(path.c_str());
}

struct BoxSearch {
  DWORD process_id;
  HWND box;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
  BoxSearch* search = reinterpret_cast<BoxSearch*>(param);
  DWORD owner_process = 0;
  GetWindowThreadProcessId(window, &owner_process);
  char window_class[64] = "";
  GetClassNameA(window, window_class, sizeof window_class);
  if (owner_process == search->process_id && IsWindowVisible(window) &&
      lstrcmpA(window_class, "#32770") == 0) {
    search->box = window;
    return FALSE;
  }
  return TRUE;
}

struct BoxContent {
  std::string text;
  int buttons = 0;
  int ok_buttons = 0;
  int icons = 0;
};

std::string WindowText(HWND window) {
  char buffer[16384] = "";
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  return std::string(buffer, static_cast<size_t>(copied));
}

BOOL CALLBACK ReadControl(HWND control, LPARAM param) {
  BoxContent* content = reinterpret_cast<BoxContent*>(param);
  char control_class[64] = "";
  GetClassNameA(control, control_class, sizeof control_class);
  LONG style = GetWindowLongA(control, GWL_STYLE);
  if (lstrcmpiA(control_class, "Button") == 0) {
    ++content->buttons;
    content->ok_buttons += GetDlgCtrlID(control) == IDOK;
  } else if (lstrcmpiA(control_class, "Static") == 0) {
    if ((style & SS_TYPEMASK) == SS_ICON) {
      ++content->icons;
    } else {
      content->text += WindowText(control);
    }
  }
  return TRUE;
}

// Owner and style of each MessageBoxA call in a relay trace, in call order.
// Lines of the tool's main thread start with its id in hex, "01b8:Call user32.MessageBoxA(".
void ReadRelayTrace(const std::string& path, DWORD thread, std::vector<World::Shown>* shown,
                    std::string* problem) {
  if (path.empty()) {
    *problem += "DICSETUP_RELAY_LOG is not set; ";
    return;
  }
  std::ifstream in(path);
  char prefix[48];
  snprintf(prefix, sizeof prefix, "%04lx:Call user32.MessageBoxA(",
           static_cast<unsigned long>(thread));
  // A box that could not be shown at all (no display, say) returns 0 or -1 at once.
  char returned[48];
  snprintf(returned, sizeof returned,
           "%04lx:Ret  user32.MessageBoxA() retval=", static_cast<unsigned long>(thread));
  const size_t returned_length = strlen(returned);
  std::string line;
  size_t index = 0;
  size_t failures = 0;
  while (std::getline(in, line)) {
    if (line.compare(0, returned_length, returned) == 0) {
      const std::string value = line.substr(returned_length, 8);
      if (value == "00000000" || value == "ffffffff")
        ++failures;
    }
    size_t call = line.find(prefix);
    if (call != 0)
      continue;
    call = line.find("Call user32.MessageBoxA(");
    size_t args = call + 24;
    size_t end = line.rfind(") ret=");
    size_t last_comma = line.rfind(',', end);
    if (end == std::string::npos || last_comma == std::string::npos)
      continue;
    unsigned long owner =
        strtoul(line.substr(args, line.find(',', args) - args).c_str(), nullptr, 16);
    unsigned long style =
        strtoul(line.substr(last_comma + 1, end - last_comma - 1).c_str(), nullptr, 16);
    if (index < shown->size()) {
      (*shown)[index].has_owner = owner != 0;
      (*shown)[index].style = static_cast<uint32_t>(style);
    }
    ++index;
  }
  if (failures > 0) {
    *problem += std::to_string(failures) +
                " MessageBoxA calls failed instead of showing a box (is there a display?); ";
  }
  if (index != shown->size()) {
    *problem += "relay trace names " + std::to_string(index) + " MessageBoxA calls for " +
                std::to_string(shown->size()) + " boxes seen; ";
  }
}

// Saves what the screen shows of `window` as a 24-bit BMP file.
void SaveScreenshot(HWND window, const std::string& path) {
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD row = static_cast<DWORD>((width * 3 + 3) & ~3);
  std::string pixels(row * static_cast<DWORD>(height), '\0');
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), &pixels[0],
            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

}  // namespace

class WinWorld : public World {
 public:
  explicit WinWorld(const std::string& tool) : tool_(tool) {
    // Only the tool's own MessageBoxA calls are traced.
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Debug", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) == ERROR_SUCCESS) {
      const char include[] = "user32.MessageBoxA";
      RegSetValueExA(key, "RelayInclude", 0, REG_SZ, reinterpret_cast<const BYTE*>(include),
                     sizeof include);
      RegCloseKey(key);
    }
    char log[MAX_PATH] = "";
    GetEnvironmentVariableA("DICSETUP_RELAY_LOG", log, MAX_PATH);
    trace_ = log;
  }

  std::string WindowsDir() override {
    char buffer[MAX_PATH] = "";
    GetWindowsDirectoryA(buffer, MAX_PATH);
    return buffer;
  }

  std::string AppData() override {
    char buffer[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, buffer);
    return buffer;
  }

  void Reset(const Scenario& s) override {
    for (const char* key : kToolKeys)
      DeleteKeyTree(key);
    for (const RegKey& key : s.keys)
      DeleteKeyTree(key.path);
    for (const RegKey& key : s.expected_keys)
      DeleteKeyTree(key.path);
    for (const std::string& key : s.absent_keys)
      DeleteKeyTree(key);
    // The profiles the tool may edit, and the dictionaries in every folder the scenario uses.
    const std::string appdata = AppData() + "\\Justsystem\\Atok14\\";
    for (const std::string& profile :
         {WindowsDir() + "\\atok10w.ini", WindowsDir() + "\\atok11w.ini", appdata + "atok14w.ini",
          appdata + "user.ini"}) {
      RemovePath(profile);
    }
    std::vector<std::string> folders = {s.tail};
    for (const File& f : s.files)
      folders.push_back(f.path.substr(0, f.path.rfind('\\')));
    for (std::string folder : folders) {
      if (folder.empty() || folder.find('"') != std::string::npos)
        continue;
      if (folder.back() != '\\')
        folder += '\\';
      for (const char* name :
           {"VezDim97.dic", "VezDim98.dic", "VezDim20.dic", "VezDim22.dic", "VezDat10.dic",
            "VezDat11.dic", "VezDat12.dic", "VezDat13.dic", "VezDat14.dic"}) {
        RemovePath(folder + name);
      }
    }
    for (const File& f : s.files)
      RemovePath(f.path);
    for (const File& f : s.expected_files)
      RemovePath(f.path);
    for (const std::string& f : s.removed)
      RemovePath(f);
  }

  void CreateKey(const std::string& path) override {
    HKEY key;
    if (CreateOrOpen(path, &key))
      RegCloseKey(key);
  }

  void SetValue(const std::string& path, const RegValue& value) override {
    HKEY key;
    if (!CreateOrOpen(path, &key))
      return;
    // A non-zero byte after the data, so a string stored without its terminator stays so.
    std::string data = value.data + "X";
    RegSetValueExA(key, value.name.c_str(), 0, value.type,
                   reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(value.data.size()));
    RegCloseKey(key);
  }

  void WriteFile(const File& file) override {
    MakeParents(file.path);
    if (file.is_folder) {
      CreateDirectoryA(file.path.c_str(), nullptr);
      return;
    }
    HANDLE handle = CreateFileA(file.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(handle, file.bytes.data(), static_cast<DWORD>(file.bytes.size()), &written,
                nullptr);
    CloseHandle(handle);
    if (file.read_only)
      SetFileAttributesA(file.path.c_str(), FILE_ATTRIBUTE_READONLY);
  }

  RunResult Run(const std::string& tail, bool has_tail) override {
    RunResult result{false, -1, {}, ""};
    std::string command_line = "\"" + tool_ + "\"" + (has_tail ? " " + tail : "");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    // Wine writes the relay trace of the tool to the Unix standard error it inherits, which the
    // wine-run wrapper sends to a file and names in DICSETUP_RELAY_LOG.
    SetEnvironmentVariableA("WINEDEBUG", "-all,+relay");
    PROCESS_INFORMATION process;
    BOOL started = CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process);
    SetEnvironmentVariableA("WINEDEBUG", "-all");
    if (!started) {
      result.problem = "CreateProcess failed: " + std::to_string(GetLastError());
      return result;
    }
    // A run normally ends in well under a second; an emulated one may take minutes.
    char limit[16] = "";
    GetEnvironmentVariableA("DICSETUP_RUN_TIMEOUT", limit, sizeof limit);
    const DWORD seconds = limit[0] ? static_cast<DWORD>(strtoul(limit, nullptr, 10)) : 60;
    const DWORD deadline = GetTickCount() + seconds * 1000;
    for (;;) {
      DWORD wait = WaitForSingleObject(process.hProcess, 50);
      BoxSearch search = {process.dwProcessId, nullptr};
      EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
      if (search.box) {
        Sleep(100);  // let the box finish laying itself out
        BoxContent content;
        EnumChildWindows(search.box, ReadControl, reinterpret_cast<LPARAM>(&content));
        Shown shown = {false, content.text, WindowText(search.box), 0};
        result.shown.push_back(shown);
        if (!shots_.empty()) {
          SaveScreenshot(search.box,
                         shots_ + "\\warning-" + std::to_string(result.shown.size()) + ".bmp");
        }
        if (content.buttons != 1 || content.ok_buttons != 1) {
          result.problem += "a box without exactly one OK button; ";
        }
        if (content.icons != 1)
          result.problem += "a box without its icon; ";
        if (!(GetWindowLongA(search.box, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
          result.problem += "a box that is not topmost; ";
        }
        PostMessageA(search.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        while (IsWindow(search.box) && GetTickCount() < deadline)
          Sleep(20);
        continue;
      }
      if (wait == WAIT_OBJECT_0)
        break;
      if (GetTickCount() > deadline) {
        TerminateProcess(process.hProcess, 99);
        result.problem += "the tool did not end within " + std::to_string(seconds) + " s";
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return result;
      }
    }
    DWORD exit_code = 0;
    GetExitCodeProcess(process.hProcess, &exit_code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    result.finished = true;
    result.exit_code = static_cast<int>(exit_code);
    ReadRelayTrace(trace_, process.dwThreadId, &result.shown, &result.problem);
    return result;
  }

  bool KeyExists(const std::string& path) override {
    std::string sub_key;
    HKEY root = Root(path, &sub_key);
    HKEY key;
    if (!root || RegOpenKeyExA(root, sub_key.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(key);
    return true;
  }

  std::vector<RegValue> Values(const std::string& path) override {
    std::vector<RegValue> values;
    std::string sub_key;
    HKEY root = Root(path, &sub_key);
    HKEY key;
    if (!root || RegOpenKeyExA(root, sub_key.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
      return values;
    }
    for (DWORD i = 0;; ++i) {
      char name[16384];
      DWORD name_size = sizeof name;
      std::string data(65536, '\0');
      DWORD data_size = static_cast<DWORD>(data.size());
      DWORD type = 0;
      if (RegEnumValueA(key, i, name, &name_size, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                        &data_size) != ERROR_SUCCESS) {
        break;
      }
      data.resize(data_size);
      values.push_back(RegValue{std::string(name, name_size), type, data});
    }
    RegCloseKey(key);
    return values;
  }

  bool ReadFile(const std::string& path, std::string* bytes) override {
    return hosttest::ReadFileBytes(path, bytes);
  }

  bool Exists(const std::string& path) override {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  bool RewritesProfiles() override {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }

  void SaveScreenshotsTo(const std::string& folder) {
    shots_ = folder;
    // With no window manager on the virtual display, Wine draws the caption bar itself only
    // for windows it does not hand to a manager.
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
      RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
      RegCloseKey(key);
    }
  }

 private:
  std::string tool_;
  std::string trace_;
  std::string shots_;
};

}  // namespace scenario

namespace {

std::string WindowsPath(std::string path) {
  for (char& c : path) {
    if (c == '/')
      c = '\\';
  }
  return path.size() > 0 && path[0] == '\\' ? "Z:" + path : path;
}

}  // namespace

namespace {

std::string Hex(const std::string& bytes) {
  std::string out;
  char hex[4];
  for (unsigned char c : bytes) {
    snprintf(hex, sizeof hex, "%02X ", c);
    out += hex;
  }
  return out;
}

// A value as a person reads it: text where it is text, with the bytes that are not.
std::string Describe(const scenario::RegValue& v) {
  const char* type = v.type == REG_SZ       ? "REG_SZ"
                     : v.type == REG_BINARY ? "REG_BINARY"
                     : v.type == REG_DWORD  ? "REG_DWORD"
                                            : "type";
  std::string text;
  size_t i = 0;
  if (v.type == REG_BINARY && v.data.size() > 4 && v.data[0] == 1 && v.data[1] == 0) {
    text = Hex(v.data.substr(0, 4));
    i = 4;
  }
  std::string rest = v.data.substr(i);
  size_t zero = rest.find('\0');
  text += "\"" + rest.substr(0, zero) + "\"";
  if (zero != std::string::npos)
    text += " " + Hex(rest.substr(zero));
  return std::string(type) + " " + text;
}

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : bytes) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!line.empty())
    lines.push_back(line);
  return lines;
}

// Runs one scenario and tells what the run did: values written, files removed, profile lines
// changed, warnings shown; then whether the scenario's expectations hold.
int Show(scenario::WinWorld& world, const std::string& path, const std::string& shots) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  scenario::Scenario s;
  std::string error;
  if (!scenario::Parse(text.str(), path, world, &s, &error)) {
    printf("%s\n", error.c_str());
    return 1;
  }
  // Set up once to look at the state before the run; Check sets it up again and runs.
  world.Reset(s);
  for (const scenario::RegKey& key : s.keys) {
    world.CreateKey(key.path);
    for (const scenario::RegValue& value : key.values)
      world.SetValue(key.path, value);
  }
  for (const scenario::File& file : s.files)
    world.WriteFile(file);
  std::vector<std::string> keys;
  for (const scenario::RegKey& k : s.keys)
    keys.push_back(k.path);
  for (const scenario::RegKey& k : s.expected_keys)
    keys.push_back(k.path);
  std::vector<std::vector<scenario::RegValue>> before;
  for (const std::string& k : keys)
    before.push_back(world.Values(k));
  std::vector<std::string> profiles_before;
  for (const scenario::File& f : s.files) {
    std::string bytes;
    world.ReadFile(f.path, &bytes);
    profiles_before.push_back(bytes);
  }

  if (!shots.empty())
    world.SaveScreenshotsTo(shots);
  printf("command line: \"dicsetup.exe\"%s%s\n", s.has_tail ? " " : "", s.tail.c_str());
  scenario::World::RunResult observed;
  std::vector<std::string> problems = scenario::Check(s, world, &observed);

  printf("\nregistry values written:\n");
  bool any = false;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (i > 0 && keys[i] == keys[i - 1])
      continue;
    for (const scenario::RegValue& v : world.Values(keys[i])) {
      bool same = false;
      for (const scenario::RegValue& old : before[i]) {
        same = same || (old.name == v.name && old.type == v.type && old.data == v.data);
      }
      if (same)
        continue;
      printf("  %s\n    %s = %s\n", keys[i].c_str(), v.name.c_str(), Describe(v).c_str());
      any = true;
    }
  }
  if (!any)
    printf("  (none)\n");

  printf("\nfiles removed:\n");
  any = false;
  for (const scenario::File& f : s.files) {
    if (!f.is_profile && !world.Exists(f.path)) {
      printf("  %s\n", f.path.c_str());
      any = true;
    }
  }
  if (!any)
    printf("  (none)\n");

  printf("\nprofile lines changed:\n");
  any = false;
  for (size_t i = 0; i < s.files.size(); ++i) {
    if (!s.files[i].is_profile)
      continue;
    std::string after;
    world.ReadFile(s.files[i].path, &after);
    std::vector<std::string> old_lines = SplitLines(profiles_before[i]);
    for (const std::string& line : SplitLines(after)) {
      bool found = false;
      for (const std::string& old : old_lines)
        found = found || old == line;
      if (!found) {
        printf("  %s\n    + %s\n", s.files[i].path.c_str(), line.c_str());
        any = true;
      }
    }
  }
  if (!any)
    printf("  (none)\n");

  printf("\nwarnings shown: %u\n", static_cast<unsigned>(observed.shown.size()));
  for (const scenario::World::Shown& w : observed.shown) {
    printf("  [%s, style 0x%04X]\n%s\n\n", w.caption.c_str(), static_cast<unsigned>(w.style),
           w.text.c_str());
  }
  printf("\n%s\n",
         problems.empty() ? "every expected effect holds, exit code 0" : "NOT as expected:");
  for (const std::string& p : problems)
    printf("  %s\n", p.c_str());
  return problems.empty() ? 0 : 1;
}

}  // namespace

// scenario_runner <dicsetup.exe> <scenario folder>: every *.scn of the folder, run against the
// real tool. Prints one line per scenario and the totals; exits non-zero if any failed.
int main(int argc, char** argv) {
  const bool show = argc >= 2 && std::string(argv[1]) == "--show";
  if (show) {
    --argc;
    ++argv;
  }
  if (argc != 3 && !(show && argc == 4)) {
    printf(
        "usage: scenario_runner <dicsetup.exe> <scenario folder>\n"
        "       scenario_runner --show <dicsetup.exe> <scenario file> [screenshot folder]\n");
    return 2;
  }
  if (GetACP() != 932) {
    printf("the ANSI code page is %u, not 932: run with a Japanese locale\n", GetACP());
    return 2;
  }
  const std::string tool = WindowsPath(argv[1]);
  const std::string folder = WindowsPath(argv[2]);
  scenario::WinWorld world(tool);
  if (show)
    return Show(world, folder, argc == 4 ? WindowsPath(argv[3]) : "");
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*.scn").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  std::sort(names.begin(), names.end());
  int passed = 0;
  int failed = 0;
  for (const std::string& name : names) {
    std::ifstream in(folder + "\\" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    scenario::Scenario s;
    std::string error;
    std::vector<std::string> problems;
    if (!scenario::Parse(text.str(), name, world, &s, &error)) {
      problems.push_back(error);
    } else {
      problems = scenario::Check(s, world);
    }
    printf("%s %s\n", problems.empty() ? "PASS" : "FAIL", name.c_str());
    for (const std::string& p : problems)
      printf("    %s\n", p.c_str());
    fflush(stdout);
    (problems.empty() ? passed : failed)++;
  }
  printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 && passed > 0 ? 0 : 1;
}
