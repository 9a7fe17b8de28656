#pragma once
// A running installed player, asked to end before its files are replaced or
// removed.
#include <string>
#include <vector>

namespace lumorix::platform {

// Asks every player of this session whose process runs one of `programs`
// (full file names of installed players) to end as at log-off (it saves and
// gives the desktop back) and waits until its process is gone. A window of
// the player's class in any other process is no player of ours: it is
// neither asked nor waited for. True when none of them runs any more.
bool EndRunningPlayer(const std::vector<std::wstring>& programs);

}  // namespace lumorix::platform
