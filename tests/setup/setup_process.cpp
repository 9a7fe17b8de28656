#include "tests/setup/setup_process.h"

#include <shlobj.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <wrl/client.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/known_folders.h"
#include "platform/shell_link.h"
#include "tests/support/gui_test.h"

namespace lumorix::test {

using std::chrono::milliseconds;

namespace {

// The limited twin of this process's token; none when it has no elevated one.
UniqueHandle LimitedToken() {
  HANDLE own = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own)) return {};
  UniqueHandle token(own);
  TOKEN_ELEVATION_TYPE type{};
  DWORD size = 0;
  if (!GetTokenInformation(own, TokenElevationType, &type, sizeof type, &size) || type != TokenElevationTypeFull)
    return {};
  TOKEN_LINKED_TOKEN linked{};
  if (!GetTokenInformation(own, TokenLinkedToken, &linked, sizeof linked, &size)) return {};
  UniqueHandle impersonation(linked.LinkedToken);
  HANDLE primary = nullptr;
  if (!DuplicateTokenEx(impersonation.Get(), TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenPrimary, &primary))
    return {};
  return UniqueHandle(primary);
}

}  // namespace

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder,
                           Rights rights) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  UniqueHandle limited = rights == Rights::WithoutAdministrator ? LimitedToken() : UniqueHandle();
  const wchar_t* current = folder.empty() ? nullptr : folder.c_str();
  BOOL started = limited ? CreateProcessAsUserW(limited.Get(), program.c_str(), commandLine.data(), nullptr, nullptr,
                                                FALSE, 0, nullptr, current, &startup, &process)
                         : CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                          current, &startup, &process);
  if (started) {
    process_ = UniqueHandle(process.hProcess);
    id_ = process.dwProcessId;
    CloseHandle(process.hThread);
  }
}

ChildProcess::~ChildProcess() {
  if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.Get(), 99);
    WaitForSingleObject(process_.Get(), 5000);
  }
}

std::optional<DWORD> ChildProcess::WaitForExit(milliseconds timeout) {
  if (!process_) return std::nullopt;
  bool ended = PumpUntil([&] { return WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0; }, timeout);
  if (!ended) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.Get(), &code);
  return code;
}

bool OpenWithShell(const std::wstring& file) {
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof execute;
  execute.lpFile = file.c_str();
  execute.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&execute) != FALSE;
}

bool HasChildRunning(DWORD process, const wchar_t* program) {
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot || snapshot.Get() == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
    if (entry.th32ParentProcessID == process && _wcsicmp(entry.szExeFile, program) == 0) return true;
  return false;
}

namespace {

struct WindowQuery {
  DWORD processId;
  const wchar_t* className;
  const wchar_t* caption;
  bool shownOnly = true;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM data) {
  auto& query = *reinterpret_cast<WindowQuery*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != query.processId || (query.shownOnly && !IsWindowVisible(window))) return TRUE;
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (query.className && std::wstring(className) != query.className) return TRUE;
  if (query.caption && WindowText(window) != query.caption) return TRUE;
  query.found = window;
  return FALSE;
}

struct ControlQuery {
  const wchar_t* className;
  std::wstring text;
  HWND found = nullptr;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM data) {
  auto& query = *reinterpret_cast<ControlQuery*>(data);
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (_wcsicmp(className, query.className) == 0 && WindowText(window) == query.text) {
    query.found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND WaitForProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, milliseconds timeout) {
  WindowQuery query{processId, className, caption};
  PumpUntil(
      [&] {
        EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&query));
        return query.found != nullptr;
      },
      timeout);
  return query.found;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* caption) {
  WindowQuery query{processId, nullptr, caption, false};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

HWND FindControl(HWND parent, const wchar_t* className, const std::wstring& text) {
  ControlQuery query{className, text};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

namespace {

BOOL CALLBACK ReadBoxText(HWND child, LPARAM data) {
  wchar_t className[32] = {};
  GetClassNameW(child, className, 32);
  if (_wcsicmp(className, L"Static") == 0 && !(GetWindowLongW(child, GWL_STYLE) & SS_ICON) &&
      !WindowText(child).empty())
    *reinterpret_cast<std::wstring*>(data) = WindowText(child);
  return TRUE;
}

}  // namespace

std::wstring BoxText(HWND box) {
  std::wstring text;
  EnumChildWindows(box, ReadBoxText, reinterpret_cast<LPARAM>(&text));
  return text;
}

ClosingBox AnswerClosingBox(ChildProcess& setup, const std::function<void()>& watch) {
  ClosingBox closing;
  HWND box = nullptr;
  PumpUntil(
      [&] {
        if (watch) watch();
        box = WaitForProcessWindow(setup.Id(), L"#32770", L"Lumorix Setup", milliseconds(0));
        return box != nullptr;
      },
      milliseconds(60000));
  if (!box) return closing;
  closing.text = BoxText(box);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  closing.exitCode = setup.WaitForExit(milliseconds(20000));
  return closing;
}

std::wstring ProgramsFolder() { return platform::CommonProgramsFolder(); }
std::wstring DesktopFolder() { return platform::CommonDesktopFolder(); }
std::wstring StartUpFolder() { return UserShellFolder("StartUp"); }

std::wstring TempFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, folder);
  return folder;
}

LinkInfo ReadLink(const std::wstring& linkFile) {
  (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  LinkInfo info;
  Microsoft::WRL::ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)))) return info;
  Microsoft::WRL::ComPtr<IPersistFile> file;
  if (FAILED(link.As(&file)) || FAILED(file->Load(linkFile.c_str(), STGM_READ))) return info;
  wchar_t text[MAX_PATH] = {};
  if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) info.target = text;
  text[0] = 0;
  if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) info.workingFolder = text;
  return info;
}

std::vector<uint8_t> FileBytes(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> FileLines(const std::wstring& path) {
  std::vector<uint8_t> bytes = FileBytes(path);
  std::string text(bytes.begin(), bytes.end());
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at) + "<no CR LF>");
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::wstring> TempArchivesLeft() {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((TempFolder() + L"Lmx*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

std::optional<DWORD> RunUninstall(const std::wstring& uninstallString, const std::wstring& folder, bool press,
                                  Rights rights) {
  std::wstring program = uninstallString;
  std::erase(program, L'"');  // the entry names the program alone, in quotes
  ChildProcess uninstall(program, L"", folder, rights);
  if (!uninstall.Started()) return std::nullopt;
  // The window is found by its class as soon as it exists; its button is
  // there once it shows.
  HWND window = nullptr;
  HWND button = nullptr;
  if (!PumpUntil(
          [&] {
            window = FindWindowW(L"TUninstallLumorixForm", nullptr);
            if (!window || !IsWindowVisible(window)) return false;
            button = FindControl(window, L"Button", L"Uninstall");
            return button != nullptr;
          },
          milliseconds(20000)))
    return std::nullopt;
  if (!press) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return uninstall.WaitForExit(milliseconds(20000));
  }
  PostMessageW(button, BM_CLICK, 0, 0);
  // It ends by saying what stays (another user's settings) or what failed.
  if (HWND box = WaitForProcessWindow(uninstall.Id(), L"#32770", L"Uninstall Lumorix", milliseconds(60000)))
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  return uninstall.WaitForExit(milliseconds(20000));
}

}  // namespace lumorix::test
