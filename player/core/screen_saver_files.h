#pragma once
// Where the player puts its screen saver so that the system can start it,
// and how it stands in for the user's screen saver and gives it back.
#include <functional>
#include <string>
#include <vector>

namespace lumorix {

// Copies `from` to `to` unless `to` exists already; true when it copied.
using CopyNewFile = std::function<bool(const std::wstring& from, const std::wstring& to)>;

// Replaces the copy step (empty: the real CopyFile). Wine lets every user
// write the system folder, so tests refuse that copy through this seam, as
// Windows does for a standard user.
void UseScreenSaverCopy(CopyNewFile copy);

// A place for the installed copy: the path this process writes it through,
// and the path the system (the 64-bit one on 64-bit Windows) knows it by.
struct ScreenSaverPlace {
  std::wstring copyPath;
  std::wstring systemPath;
  bool shared = false;  // the system folder's, which every user of the machine may name
};

// Best first: the system folder, when this process writes there for real
// (not into a per-user virtual store), then a folder of the user's own.
std::vector<ScreenSaverPlace> ScreenSaverPlaces();

// Copies `source` to the first place that takes it (a copy already there is
// kept when it has the source's bytes, and replaced otherwise; the system
// folder never takes the source of an installation for one user), records the
// user's screen saver in "OldScreenSaver" and names the copy in
// "SCRNSAVE.EXE". Without the source, or without a copy of it, the setting
// is left as it was. Returns what "SCRNSAVE.EXE" now names, or "" when it
// names no copy.
std::wstring ReplaceScreenSaver(const std::wstring& source);

// While the setting still names the copy, gives the user's recorded screen
// saver back, then forgets the record; deletes the user's own copy, and the
// system folder's unless another signed-in user's setting still names it.
void RestoreScreenSaver();

}  // namespace lumorix
