#pragma once
// The installation's last three steps: the settings defaults and the
// uninstall entry, the shortcuts, and the batch files of the uninstallation.
#include <string>

#include "setup/install_state.h"

namespace lumorix::setup {

inline constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumorix";

// Registry failures are silent: a key that cannot be created takes no values.
void WriteRegistryEntries(TInstallState& state, int64_t installedBytes);
void CreateShortcuts(TInstallState& state);
// Raises when a batch file cannot be written.
void WriteUninstallBatch(TInstallState& state);

}  // namespace lumorix::setup
