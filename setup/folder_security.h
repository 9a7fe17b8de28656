#pragma once
// The protection the installer gives a folder outside its scope's own place
// (program files for everyone, the user's profile for the user alone), with
// nothing passed down from the parent: for everyone the administrators own
// it, the administrators and SYSTEM have full control and users may read and
// run; for the user alone that user owns it and, with SYSTEM and the
// administrators, is the only one who may do anything there.
// The file system's security calls sit behind a seam: Wine keeps no owner
// or access list for files (it reads every file back as its own user's,
// with rights made from the Unix mode), so tests put a recorder in their place.
#include <windows.h>

#include <string>

#include "common/setup_rules.h"

namespace lumorix::setup {

class FolderSecurity {
 public:
  virtual ~FolderSecurity() = default;
  // CreateDirectory with the descriptor.
  [[nodiscard]] virtual bool CreateFolder(const std::wstring& path, SECURITY_DESCRIPTOR* descriptor) = 0;
  // The owner and a protected access list, set through this very handle.
  [[nodiscard]] virtual bool SetOwnerAndList(HANDLE folder, PSID owner, PACL list) = 0;
  // The owner's SID as text ("S-1-5-32-544"); "" when it cannot be read.
  virtual std::wstring OwnerOf(HANDLE folder) = 0;
};

// The file system's own.
FolderSecurity& SystemFolderSecurity();

// The rules, the same whatever stands behind the seam. A folder made with
// its protection from its first moment (the descriptor given to
// CreateDirectory, not applied afterwards):
[[nodiscard]] bool CreateProtectedFolder(FolderSecurity& security, const std::wstring& path, InstallScope scope);
// An existing folder given that owner and list:
[[nodiscard]] bool ProtectFolder(FolderSecurity& security, HANDLE folder, InstallScope scope);
// Whether the folder's owner is one nobody else can give the rights back to:
// the administrators or the system, and for the user's own installation the
// user too.
bool OwnedAsItsScopeNeeds(FolderSecurity& security, HANDLE folder, InstallScope scope);

}  // namespace lumorix::setup
