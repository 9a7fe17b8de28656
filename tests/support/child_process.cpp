#include "tests/support/child_process.h"

#include "tests/support/gui_test.h"
#include "tests/support/registry_fixture.h"

namespace lumorix::test {

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring line = commandLine;
  if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    process_ = UniqueHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
}

ChildProcess::~ChildProcess() {
  if (Running()) {
    TerminateProcess(process_.Get(), 1);
    WaitForSingleObject(process_.Get(), 5000);
  }
}

bool ChildProcess::Running() const { return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
  if (!process_ || !PumpUntil([&] { return !Running(); }, timeout)) return std::nullopt;
  DWORD code = 0;
  if (!GetExitCodeProcess(process_.Get(), &code)) return std::nullopt;
  return code;
}

std::wstring ScreenSaverProgram() { return WindowsPath(LUMORIX_BUILD_DIR "/bin/LumorixSS.exe"); }

std::optional<DWORD> RunScreenSaver(const std::wstring& arguments, std::chrono::milliseconds timeout) {
  std::wstring program = ScreenSaverProgram();
  ChildProcess screenSaver(program, L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments));
  return screenSaver.WaitForExit(timeout);
}

}  // namespace lumorix::test
