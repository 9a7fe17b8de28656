#pragma once
// Rules for the system's "SCRNSAVE.EXE" value while the player stands in
// for the user's screen saver.
#include <string>
#include <string_view>

namespace lumorix {

// The installed copy's file name.
inline constexpr wchar_t kInstalledScreenSaverName[] = L"LumorixSS.scr";

// True when the setting names the product's own screen saver (its long name
// or a short form of it, in any folder), which must never be recorded as
// the user's screen saver to give back.
bool NamesOwnScreenSaver(std::wstring_view setting);
// True when the setting names the product's screen saver in `folder` (the
// folder without a final "\"): the copy there, not one elsewhere.
bool NamesOwnScreenSaverIn(std::wstring_view setting, std::wstring_view folder);

// The form of a copy's path to write into the setting. The system starts the
// screen saver from the value with its switch appended, so a path with a
// blank is only safe as its short form; without a short form the long path
// is all there is.
std::wstring ScreenSaverSettingPath(const std::wstring& longPath, const std::wstring& shortPath);

}  // namespace lumorix
