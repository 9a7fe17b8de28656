#pragma once
// Which relative names stay inside the folder they are taken from: none that
// climbs out of it (".." and the spellings Windows reads as ".."), starts at
// a root, names a drive or a stream, or names a device in any of its parts.
// One rule for the payload's entries and for the uninstaller's log lines.
#include <string_view>

namespace lumorix {

// UTF-8 (as archive names reach the file system) and UTF-16.
bool IsSafeRelativeName(std::string_view name);
bool IsSafeRelativeName(std::wstring_view name);
// Whether one part of a path is a name Windows reserves for a device: CON,
// PRN, AUX, NUL, COM0 to COM9 and LPT0 to LPT9 (COM and LPT also with a
// superscript 1 to 3), in any case, with or without an extension.
bool IsDeviceName(std::string_view part);
bool IsDeviceName(std::wstring_view part);

}  // namespace lumorix
