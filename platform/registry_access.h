#pragma once
// Who may change a key, and keys removed without following links. The
// installer, which runs as an administrator, seeds the product's defaults
// under HKEY_LOCAL_MACHINE; no standard user may change them, since every
// user's player starts from them.
#include <windows.h>

#include <string>

namespace lumorix {

// Makes the administrators the key's owner (an owner may always change the
// rights again) and replaces its own access list (an earlier installation
// gave the built-in Users group full control) with full control for the
// administrators and SYSTEM and reading for users, passed on to its subkeys.
// `view` may name a registry view (KEY_WOW64_32KEY). False when the key
// cannot be opened or its owner or list not changed.
[[nodiscard]] bool OnlyAdministratorsChange(HKEY root, const std::string& path, REGSAM view = 0);

// Whether an entry of the key's access list lets the built-in Users group
// change the key (values, subkeys, links, permissions or owner).
bool UsersMayChange(HKEY root, const std::string& path, REGSAM view = 0);

// When `path` is a registry link (a key that stands for another), deletes
// the link itself, not what it points to. True when it deleted one.
bool RemoveRegistryLink(HKEY root, const std::string& path, REGSAM view = 0);

// Deletes the key and everything below it, each key by name only once a
// link standing in its place has been removed: the deletion never reaches
// a key elsewhere. True when the key is gone (or was never there).
bool DeleteKeyTree(HKEY root, const std::string& path, REGSAM view = 0);

}  // namespace lumorix
