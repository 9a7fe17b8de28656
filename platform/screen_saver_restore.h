#pragma once
// Giving the user's own screen saver back once the player stops standing in for it.
namespace lumorix::platform {

// While the current user's "SCRNSAVE.EXE" still names the product's screen
// saver, writes back the one recorded in the user's "OldScreenSaver" (or
// removes the setting when none is recorded: no screen saver rather than a
// missing one); a screen saver the user has chosen since stays. Then the
// record is forgotten, so that it cannot overwrite a later choice.
void GiveBackUsersScreenSaver();

}  // namespace lumorix::platform
