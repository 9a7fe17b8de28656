#pragma once
// Who may change a key. The installer, which runs as an administrator, seeds
// the product's defaults under HKEY_LOCAL_MACHINE; no standard user may
// change them, since every user's player starts from them.
#include <windows.h>

#include <string>

namespace lumorix {

// Replaces the key's own access list (an earlier installation gave the
// built-in Users group full control) with full control for the
// administrators and SYSTEM and reading for users, passed on to its
// subkeys. False when the key cannot be opened or its list not changed.
[[nodiscard]] bool OnlyAdministratorsChange(HKEY root, const std::string& path);

// Whether an entry of the key's access list lets the built-in Users group
// change the key (values, subkeys, links, permissions or owner).
bool UsersMayChange(HKEY root, const std::string& path);

}  // namespace lumorix

namespace lumorix {

// When `path` is a registry link (a key that stands for another), deletes
// the link itself, not what it points to. True when it deleted one.
bool RemoveRegistryLink(HKEY root, const std::string& path);

}  // namespace lumorix
