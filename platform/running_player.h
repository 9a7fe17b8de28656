#pragma once
// A player running in this session, asked to end before its files are
// replaced or removed.
namespace lumorix::platform {

// Asks a running player to end as at log-off (it saves and gives the
// desktop back) and waits until its process is gone. True when no player
// runs any more.
bool EndRunningPlayer();

}  // namespace lumorix::platform
