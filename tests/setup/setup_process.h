#pragma once
// The installer and the uninstaller as a user drives them: real processes,
// their windows and message boxes found and answered from the test.
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/handle.h"

namespace lumorix::test {

// With the test's own rights, or as a user without the administrator's:
// Wine starts every program elevated, and gives its limited twin as the
// token's linked one, as Windows does for an administrator under UAC.
enum class Rights { Own, WithoutAdministrator };

class ChildProcess {
 public:
  ChildProcess(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder,
               Rights rights = Rights::Own);
  // A process started otherwise (a shortcut the shell opened).
  ChildProcess(UniqueHandle process, DWORD id) : process_(std::move(process)), id_(id) {}
  ~ChildProcess();
  ChildProcess(ChildProcess&&) = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return static_cast<bool>(process_); }
  DWORD Id() const { return id_; }
  // The exit code, or nothing while it still runs after `timeout`.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout);

 private:
  UniqueHandle process_;
  DWORD id_ = 0;
};

// Opens a file as the shell does (a shortcut starts its program).
bool OpenWithShell(const std::wstring& file);
// Whether `process` has a child process running `program` (a file name: "LumorixSetup.exe").
bool HasChildRunning(DWORD process, const wchar_t* program);

// A top-level window of a process by its class (a message box: "#32770") and caption.
HWND WaitForProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* caption,
                          std::chrono::milliseconds timeout);
// A top-level window of a process by its caption alone, shown or not.
HWND FindProcessWindow(DWORD processId, const wchar_t* caption);
// A child control (at any depth) by its class and text.
HWND FindControl(HWND parent, const wchar_t* className, const std::wstring& text);
// The message text of a message box.
std::wstring BoxText(HWND box);
// The installer's closing box, answered with OK: its text and the installer's
// exit code; `watch` runs while it is waited for. Neither when it never came.
struct ClosingBox {
  std::wstring text;
  std::optional<DWORD> exitCode;
};
ClosingBox AnswerClosingBox(ChildProcess& setup, const std::function<void()>& watch = {});

// The folders of the test prefix: the Start menu's programs and the desktop
// of every user, and the current user's start-up folder.
std::wstring ProgramsFolder();
std::wstring DesktopFolder();
std::wstring StartUpFolder();
std::wstring TempFolder();

// Target and working folder of a shell link.
struct LinkInfo {
  std::wstring target;
  std::wstring workingFolder;
};
LinkInfo ReadLink(const std::wstring& linkFile);

std::vector<uint8_t> FileBytes(const std::wstring& path);
std::vector<std::string> FileLines(const std::wstring& path);  // split at CR LF; the last ends with one
bool Exists(const std::wstring& path);
std::vector<std::wstring> TempArchivesLeft();  // the installer's "Lmx*.tmp" files in the temporary folder

// Starts the program "UninstallString" names with `folder` as the current
// folder, presses "Uninstall" in the window and answers the closing box (or
// closes the window when `press` is false). Its exit code, or nothing when
// the window never came or it did not end.
std::optional<DWORD> RunUninstall(const std::wstring& uninstallString, const std::wstring& folder, bool press = true,
                                  Rights rights = Rights::Own);

}  // namespace lumorix::test
