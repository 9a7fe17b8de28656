#pragma once
// A program started by the test as a real separate process, with its own
// command line, and its exit code read back.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

#include "platform/handle.h"

namespace lumorix::test {

class ChildProcess {
 public:
  // `commandLine` is the whole line, the program's own name first.
  ChildProcess(const std::wstring& program, const std::wstring& commandLine);
  // Ends the program the hard way if it is still running.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return static_cast<bool>(process_); }
  bool Running() const;
  // Dispatches this thread's messages while waiting (the program may be
  // sending to a window of the test), so the program can finish. The exit
  // code, or nothing when the program did not end in time.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout);

 private:
  UniqueHandle process_;
};

// The built LumorixSS.exe.
std::wstring ScreenSaverProgram();

// Runs LumorixSS.exe with `arguments` and waits for its end; its exit code.
std::optional<DWORD> RunScreenSaver(const std::wstring& arguments,
                                    std::chrono::milliseconds timeout = std::chrono::milliseconds(10000));

}  // namespace lumorix::test
