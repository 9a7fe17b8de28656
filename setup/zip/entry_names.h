#pragma once
// Which entry names may be extracted: none that leaves the target folder or
// names a device (the rule the uninstaller's log lines follow too).
#include <string>
#include <string_view>

#include "common/safe_names.h"

namespace lumorix::zip {

// Whether an entry name stays inside the folder it is extracted into and names
// no device in any of its parts.
inline bool IsSafeEntryName(const std::string& name) { return IsSafeRelativeName(std::string_view(name)); }
using lumorix::IsDeviceName;

}  // namespace lumorix::zip
