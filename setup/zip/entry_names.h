#pragma once
// Which entry names may be extracted: none that leaves the target folder or
// names a device.
#include <string>
#include <string_view>

namespace lumorix::zip {

// Whether an entry name stays inside the folder it is extracted into and names
// no device in any of its parts.
bool IsSafeEntryName(const std::string& name);
// Whether one part of a path is a name Windows reserves for a device: CON,
// PRN, AUX, NUL, COM0 to COM9 and LPT0 to LPT9 (COM and LPT also with a
// superscript 1 to 3), in any case, with or without an extension.
bool IsDeviceName(std::string_view part);

}  // namespace lumorix::zip
