#pragma once
// The four steps of an installation in their order, and what the closing
// message says about them.
#include <windows.h>

#include <string>

#include "setup/install_state.h"

namespace lumorix::setup {

struct InstallOutcome {
  bool complete = false;
  // The closing message: thanks, or which file failed and why.
  std::wstring message;
};

inline constexpr wchar_t kThanks[] = L"Thank You for using\nLumorix!";

// Extracts the payload carried by `module` and runs the three registration
// steps; the log is closed at the end.
InstallOutcome RunInstallation(TInstallState& state, HMODULE module);
// The same from an archive file.
InstallOutcome InstallFrom(const std::wstring& archive, TInstallState& state);

}  // namespace lumorix::setup
