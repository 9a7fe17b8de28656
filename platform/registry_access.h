#pragma once
// Who may change a key. The player runs with the user's own rights and keeps
// its settings under HKEY_LOCAL_MACHINE, so the installer, which runs as an
// administrator, lets every user of the machine change the product's key.
#include <windows.h>

#include <string>

namespace lumorix {

// Adds full control for the built-in Users group to `path` (32-bit view),
// inherited by keys made below it later. False when the key cannot be
// opened or its access list not changed.
[[nodiscard]] bool GrantUsersFullControl(HKEY root, const std::string& path);

// Whether the built-in Users group has full control of `path`, inherited or not.
bool UsersHaveFullControl(HKEY root, const std::string& path);

}  // namespace lumorix
