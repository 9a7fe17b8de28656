#pragma once
// Whether the program runs under Wine rather than Windows. Only for working
// around a fault of Wine's own components, never to change what a user of
// Windows sees.

namespace lumorix::platform {

// True when ntdll is Wine's (it exports wine_get_version).
bool RunningOnWine();

}  // namespace lumorix::platform
