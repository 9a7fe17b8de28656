#pragma once
// The steps of an installation in their order, and what the closing message
// says about them.
#include <windows.h>

#include <string>

#include "common/setup_rules.h"
#include "setup/install_state.h"

namespace lumorix::setup {

enum class InstallResult {
  Installed,
  Incomplete,     // something could not be written; what landed can be uninstalled
  FolderRefused,  // nothing was installed: the folder cannot be used
  PlayerRunning,  // nothing was installed: the running Lumorix did not end
  Declined,       // nothing was installed: the administrator's consent was not given
};

struct InstallOutcome {
  InstallResult result = InstallResult::Incomplete;
  // The closing message: thanks, or which file failed and why.
  std::wstring message;
  bool Complete() const { return result == InstallResult::Installed; }
  // The window lets the user change the folder or the choice and start again.
  bool NothingInstalled() const {
    return result == InstallResult::FolderRefused || result == InstallResult::PlayerRunning ||
           result == InstallResult::Declined;
  }
};

inline constexpr wchar_t kThanks[] = L"Thank You for using\nLumorix!";

// The exit code a silent run ends with.
SetupExitCode ExitCodeOf(InstallResult result);
// What an ended administrator's part's exit code says, for the caller that started it.
InstallResult ResultOfExitCode(DWORD code);

// Extracts the payload carried by `module` and runs the registration
// steps for the state's scope in this process; the log is closed at the end.
InstallOutcome RunInstallation(TInstallState& state, HMODULE module);
// The same from an archive file (or a memory archive's name).
InstallOutcome InstallFrom(const std::string& archive, TInstallState& state);

}  // namespace lumorix::setup
