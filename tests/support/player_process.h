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

// This user's own playlist file, as every player of the product reads it
// (its folder made where it is missing).
std::wstring UserPlayListFile();
// A playlist file of the given test clips; the entry names in a playlist file.
void WritePlayListFile(const std::wstring& path, const std::vector<std::string>& clips);
std::vector<std::string> PlayListNames(const std::wstring& path);
// Writes this user's playlist of the built player.
void WritePlayerPlayList(const std::vector<std::string>& clips);

}  // namespace lumorix::test
