#pragma once
// The about window's line naming the running Windows version.
#include <cstdint>
#include <string>

namespace lumorix {

struct WindowsVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  uint32_t platform = 0;    // VER_PLATFORM_WIN32_WINDOWS is 1
  std::string servicePack;  // the record's text up to its first NUL
};

// "Windows XP", "Windows 10" and so on; empty for a version without a name.
std::string WindowsVersionName(const WindowsVersion& version);
// The name, " (Build ", the build, ": ", the service-pack text, ")".
std::string WindowsVersionLine(const WindowsVersion& version);

}  // namespace lumorix
