#pragma once
// Where the player keeps what is the user's own: the playlist in the user's
// local application data, never in the program folder, which only the
// administrators may change and which every user of the machine shares.
#include <string>

namespace lumorix::platform {

// Local application data + "\Vantrel\Lumorix\"; "" when Windows cannot say.
// `create` makes it (and the folders above it) where it is missing, and
// gives "" when it cannot.
std::wstring UserDataFolder(bool create = false);

// The playlist file's name for a program file: the program's own file name
// with its extension replaced by ".Lumorixpl" ("Lumorix.Lumorixpl").
std::wstring PlayListNameOf(const std::wstring& programFile);

}  // namespace lumorix::platform
