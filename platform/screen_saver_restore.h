#pragma once
// Giving the user's own screen saver back once the player stops standing in
// for it, and whether anybody still stands on the machine's shared copy.
#include <string>

namespace lumorix::platform {

// While the current user's "SCRNSAVE.EXE" still names the product's screen
// saver, writes back the one recorded in the user's "OldScreenSaver" (or
// removes the setting when none is recorded: no screen saver rather than a
// missing one); a screen saver the user has chosen since stays. Then the
// record is forgotten, so that it cannot overwrite a later choice.
void GiveBackUsersScreenSaver();

// Whether the "SCRNSAVE.EXE" of some user whose settings are loaded (every
// signed-in user's) names the product's screen saver in `folder`, the copy
// they all share. A user's settings that cannot be read count as naming it:
// nobody's screen saver is deleted under them on a guess.
bool SomeUserNamesScreenSaverIn(const std::wstring& folder);

}  // namespace lumorix::platform
