#pragma once
// An installation for everyone from an installer that runs without the
// administrator's rights: its administrator's part is this program started
// again with them (`/Machine`), which installs and reports what the window
// shows (status, both bars, the closing message) to a window of the process
// that started it, and ends with the installation's exit code. A declined
// consent installs nothing.
#include <windows.h>

#include <string>

#include "setup/elevation.h"
#include "setup/install_state.h"
#include "setup/installation.h"

namespace lumorix::setup {

// Installs for the state's scope: for the user alone, and for everyone once
// this process has the rights, here; otherwise through the administrator's
// part, `program` started through `elevation`, its consent owned by `owner`.
InstallOutcome InstallInScope(TInstallState& state, HMODULE module, Elevation& elevation, const std::wstring& program,
                              HWND owner);

// The administrator's part's view: each report is sent to `window` (which
// may be gone, or none: then nothing is sent) of the process that started it.
class ReportingView : public InstallView {
 public:
  explicit ReportingView(HWND window) : window_(window) {}
  void SetStatus(const std::wstring& text) override;
  void SetFileProgress(int32_t position) override;
  void SetTotalProgress(int32_t position) override;
  void ProcessMessages() override {}
  // The closing message, last of all.
  void ReportOutcome(const std::wstring& message);

 private:
  void Send(ULONG_PTR kind, const void* data, DWORD size);
  HWND window_;
};

}  // namespace lumorix::setup
