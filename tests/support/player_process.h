#pragma once
// The real Lumorix.exe started from the build, in its own process.
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/handle.h"

namespace lumorix::test {

class PlayerProcess {
 public:
  PlayerProcess();
  // Ends the player the hard way if it is still running.
  ~PlayerProcess();
  PlayerProcess(const PlayerProcess&) = delete;
  PlayerProcess& operator=(const PlayerProcess&) = delete;

  bool Started() const { return static_cast<bool>(process_); }
  bool WaitForExit(DWORD milliseconds);
  // The exit code of a process that has ended.
  DWORD ExitCode() const;
  // As a crash or the task manager would: no clean-up of any kind.
  void Kill();

 private:
  UniqueHandle process_;
};

HWND WaitForWindow(const wchar_t* className, const wchar_t* title, std::chrono::milliseconds timeout);

// Writes the player's playlist file beside the built Lumorix.exe.
void WritePlayerPlayList(const std::vector<std::string>& clips);

}  // namespace lumorix::test
