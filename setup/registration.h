#pragma once
// The installation's last three steps: the settings defaults and the
// uninstall entry, the shortcuts, and the batch files of the uninstallation.
#include <string>

#include "platform/uninstall_entry.h"
#include "setup/install_state.h"

namespace lumorix::setup {

using platform::kUninstallKey;

// False when a key or a value could not be written.
[[nodiscard]] bool WriteRegistryEntries(TInstallState& state, int64_t installedBytes);
void CreateShortcuts(TInstallState& state);
// Deletes the batch files an earlier version left in the folder.
void RemoveEarlierBatchFiles(TInstallState& state);

}  // namespace lumorix::setup
