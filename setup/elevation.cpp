#include "setup/elevation.h"

#include <shellapi.h>

#include "platform/handle.h"
#include "platform/known_folders.h"
#include "platform/text.h"

namespace lumorix::setup {

namespace {

// Waits for the process; sent messages are answered meanwhile and `pump`
// takes what is posted (the window paints, the reports arrive).
void WaitFor(HANDLE process, const std::function<void()>& pump) {
  while (MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    if (pump) pump();
    MSG message;
    // What the pump left is seen now: the next wait wakes only for new messages.
    (void)PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
  }
}

class SystemElevationImpl : public Elevation {
 public:
  bool Elevated() override { return ProcessIsElevated(); }
  ElevatedRun Run(const std::wstring& program, const std::wstring& arguments, HWND owner,
                  const std::function<void()>& pump) override {
    return RunElevated(program, arguments, owner, pump);
  }
};

}  // namespace

Elevation& SystemElevation() {
  static SystemElevationImpl elevation;
  return elevation;
}

bool ProcessIsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  UniqueHandle owned(token);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  return GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
         elevation.TokenIsElevated != 0;
}

ElevatedRun RunElevated(const std::wstring& program, const std::wstring& arguments, HWND owner,
                        const std::function<void()>& pump) {
  // The administrator consents to this very file: nobody may replace, move
  // or change it until the elevated process has ended (its loader shares
  // reading with this handle).
  UniqueHandle held(CreateFileW(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!held) return {ElevatedRun::Outcome::NotStarted, 0, SystemMessage(GetLastError())};
  const std::wstring folder = platform::SystemFolder();
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  execute.hwnd = owner;
  execute.lpVerb = L"runas";
  execute.lpFile = program.c_str();
  execute.lpParameters = arguments.c_str();
  // Not the folder the installer was started from, which may be a downloads folder.
  execute.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  execute.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&execute) || !execute.hProcess) {
    DWORD error = GetLastError();
    if (error == ERROR_CANCELLED) return {ElevatedRun::Outcome::Declined, 0, L""};
    return {ElevatedRun::Outcome::NotStarted, 0, SystemMessage(error)};
  }
  UniqueHandle process(execute.hProcess);
  WaitFor(process.Get(), pump);
  DWORD code = 0;
  if (!GetExitCodeProcess(process.Get(), &code)) return {ElevatedRun::Outcome::NotStarted, 0, L"it did not end"};
  return {ElevatedRun::Outcome::Ended, code, L""};
}

}  // namespace lumorix::setup
