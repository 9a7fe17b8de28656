#pragma once
// The access list of the product's own places (its registry keys, a folder
// outside program files): the administrators and SYSTEM may do everything,
// the users only read, and the entries pass on to everything below.
#include <windows.h>

#include <memory>

namespace lumorix::platform {

struct LocalFreeDeleter {
  void operator()(void* memory) const { LocalFree(memory); }
};
using OwnedAcl = std::unique_ptr<ACL, LocalFreeDeleter>;

// `full` and `read` are the object type's own rights (KEY_ALL_ACCESS and
// KEY_READ, FILE_ALL_ACCESS and FILE_GENERIC_READ | FILE_GENERIC_EXECUTE).
// Null when the list cannot be made.
OwnedAcl AdministratorsFullUsersRead(DWORD full, DWORD read);

}  // namespace lumorix::platform
