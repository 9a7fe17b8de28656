#include "common/windows_version.h"

namespace lumorix {

std::string WindowsVersionName(const WindowsVersion& version) {
  switch (version.major) {
    case 3:
      return "Windows NT 3.5";
    case 4:
      if (version.platform == 1) return version.minor == 0 ? "Windows 95" : "Windows 98";
      return "Windows NT 4";
    case 5:
      return version.minor == 0 ? "Windows 2000" : "Windows XP";
    case 6:
      switch (version.minor) {
        case 0:
          return "Windows Vista";
        case 1:
          return "Windows 7";
        case 2:
          return "Windows 8";
        case 3:
          return "Windows 8.1";
        default:
          return {};
      }
    case 10:
      // Windows 11 kept the version number 10.0; its builds start at 22000.
      if (version.minor == 0) return version.build >= 22000 ? "Windows 11" : "Windows 10";
      return {};
    default:
      return {};
  }
}

std::string WindowsVersionLine(const WindowsVersion& version) {
  return WindowsVersionName(version) + " (Build " + std::to_string(version.build) + ": " + version.servicePack + ")";
}

}  // namespace lumorix
