#pragma once
// The protection the installer gives a folder outside program files: the
// administrators own it, the administrators and SYSTEM have full control
// and users may read and run, with nothing passed down from the parent.
// The file system's security calls sit behind a seam: Wine keeps no owner
// or access list for files (it reads every file back as its own user's,
// with rights made from the Unix mode), so tests put a recorder in their place.
#include <windows.h>

#include <string>

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
[[nodiscard]] bool CreateProtectedFolder(FolderSecurity& security, const std::wstring& path);
// An existing folder given that owner and list:
[[nodiscard]] bool ProtectFolder(FolderSecurity& security, HANDLE folder);
// Whether the administrators or the system own the folder, so that no
// standard user can give themselves the rights back.
bool OwnedByAdministrators(FolderSecurity& security, HANDLE folder);

}  // namespace lumorix::setup
