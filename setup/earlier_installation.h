#pragma once
// What an installation takes over from the ones before it: the playlist file
// that seeds every user's own list, and an installation of the 32-bit
// programs that the x64 one replaces (its files, uninstall entry, machine
// settings key and shortcuts; each user's settings are shared by both
// registry views and stay).
#include <optional>
#include <string>
#include <vector>

#include "setup/install_state.h"

namespace lumorix::setup {

struct EarlierInstallation {
  // The earlier playlist file's bytes: a user's list must not give way to
  // the payload's empty one.
  std::optional<std::string> playList;
  // The 32-bit installation to replace: its folder (ending with "\") and its log.
  std::wstring replacedFolder;
  std::vector<std::wstring> replacedLog;
};

// Read before the payload lands, since it replaces the files of the same
// folder. `folder` is the installation folder in its long form. Only an
// installation for everyone replaces the 32-bit programs' (which are
// everyone's too); one for the user alone takes the list of the user's own.
EarlierInstallation FindEarlierInstallation(const std::wstring& folder, InstallScope scope);

// After the payload: the earlier playlist becomes the installation's own
// playlist file (deleted and made anew). False when it cannot be written.
[[nodiscard]] bool CarryOverPlayList(const EarlierInstallation& earlier, const TInstallState& state);

// After the payload and before the shortcuts: removes what the replaced
// installation's log lists inside its folder (never through a link) and
// what the new installation did not just put in the same place, its log,
// its emptied folders, its entry and its machine settings key. One whose
// log is missing is left alone unless it was in the same folder or its
// folder is gone. False when some of its files stay.
bool RemoveReplacedInstallation(const EarlierInstallation& earlier, const TInstallState& state);

}  // namespace lumorix::setup
