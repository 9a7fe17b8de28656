#pragma once
// The access list of the product's own places (its registry keys, a folder
// outside program files): the administrators and SYSTEM may do everything,
// the users only read, and the entries pass on to everything below.
#include <windows.h>

#include <memory>
#include <string>

namespace lumorix::platform {

struct LocalFreeDeleter {
  void operator()(void* memory) const { LocalFree(memory); }
};
using OwnedAcl = std::unique_ptr<ACL, LocalFreeDeleter>;

// `full` and `read` are the object type's own rights (KEY_ALL_ACCESS and
// KEY_READ, FILE_ALL_ACCESS and FILE_GENERIC_READ | FILE_GENERIC_EXECUTE).
// Null when the list cannot be made.
OwnedAcl AdministratorsFullUsersRead(DWORD full, DWORD read);

// The SID of the user this process runs as; false when it cannot be read.
bool CurrentUserSid(BYTE (&sid)[SECURITY_MAX_SID_SIZE]);

// A folder's descriptor with nothing passed down from the parent (protected).
// For an installation for everyone, as the program-files folder has it:
// owned by the administrators, that list for files (users read and run).
// For an installation for the user alone, as the user's profile has it:
// owned by that user, who with SYSTEM and the administrators has full
// control; nobody else may do anything.
class FolderDescriptor {
 public:
  enum class Kind { Administrators, CurrentUser };
  explicit FolderDescriptor(Kind kind);
  FolderDescriptor(const FolderDescriptor&) = delete;
  FolderDescriptor& operator=(const FolderDescriptor&) = delete;
  explicit operator bool() const { return ready_; }
  SECURITY_DESCRIPTOR* Get() { return &descriptor_; }
  PSID Owner() { return owner_; }
  PACL List() { return list_.get(); }

 private:
  BYTE owner_[SECURITY_MAX_SID_SIZE] = {};
  OwnedAcl list_;
  SECURITY_DESCRIPTOR descriptor_{};
  bool ready_ = false;
};

class AdministratorsFolderDescriptor : public FolderDescriptor {
 public:
  AdministratorsFolderDescriptor() : FolderDescriptor(Kind::Administrators) {}
};

// Makes a folder with that descriptor from its first moment: it is given to
// CreateDirectory, not applied afterwards. False when it cannot be made (an
// existing one included).
[[nodiscard]] bool CreateAdministratorsFolder(const std::wstring& path);

}  // namespace lumorix::platform
