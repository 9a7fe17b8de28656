#pragma once
// The steps of an installation in their order, and what the closing message
// says about them.
#include <windows.h>

#include <string>

#include "setup/install_state.h"

namespace lumorix::setup {

struct InstallOutcome {
  bool complete = false;
  // The closing message: thanks, or which file failed and why.
  std::wstring message;
  // Nothing was installed: the folder could not be used (the window lets the
  // user choose another; a silent run ends with 2).
  bool folderRefused = false;
};

inline constexpr wchar_t kThanks[] = L"Thank You for using\nLumorix!";

// Extracts the payload carried by `module` and runs the registration
// steps; the log is closed at the end.
InstallOutcome RunInstallation(TInstallState& state, HMODULE module);
// The same from an archive file (or a memory archive's name).
InstallOutcome InstallFrom(const std::string& archive, TInstallState& state);

}  // namespace lumorix::setup
