#pragma once
// The installation folder as the installer takes it: normalised and judged
// as typed, then (once no installed player runs any more) made or accepted,
// protected like the program-files folder and held for the installation.
#include <optional>
#include <string>
#include <vector>

#include "platform/handle.h"
#include "setup/folder_security.h"

namespace lumorix::setup {

// The default folder of this build for everyone: the 64-bit program-files
// folder for the x64 programs; the design's fixed "Program Files" on the
// system drive for the 32-bit ones. For the user alone: the user's own
// programs folder as the system names it (local application data's "Programs").
std::wstring DefaultFolder(InstallScope scope = InstallScope::AllUsers);

struct FolderCheck {
  std::wstring folder;   // the full path, ending with "\"
  std::wstring refusal;  // not empty: the folder is refused, and why
};

// Quotes taken off, the path made full (GetFullPathNameW) and judged: no
// relative, network or drive-root folder. What the folder holds is judged
// by PrepareInstallFolder.
FolderCheck NormaliseInstallFolder(const std::wstring& typed);

// The installation folder and every folder above it, each opened without
// following links and without letting anyone delete, move or replace it
// for as long as this object lives.
class HeldFolder {
 public:
  HeldFolder(std::wstring folder, std::vector<UniqueHandle> parts)
      : folder_(std::move(folder)), parts_(std::move(parts)) {}
  // The folder's full path with every part in its long form, ending with "\".
  const std::wstring& Folder() const { return folder_; }

 private:
  std::wstring folder_;
  std::vector<UniqueHandle> parts_;
};

// Makes the folder, or accepts it when it already exists. No part of its
// path may be a junction, a symbolic link or a mount point. Outside the
// scope's own place (the program-files folders for everyone, the user's
// profile for the user alone) a missing folder, and each missing parent, is
// made with the scope's protection (FolderSecurity); inside, it takes that
// place's own. An existing folder is taken only when it is a registered
// installation (`registered`: the folders the scope's uninstall entries
// name), owned as the scope needs (OwnedAsItsScopeNeeds), holding nothing
// but the product's files, no link anywhere inside and no file with a second
// name (a hard link); outside the scope's place it gets the protection again
// through the handle it was judged by. Nothing, with the reason in `why`,
// when the folder cannot be used.
std::optional<HeldFolder> PrepareInstallFolder(const std::wstring& folder, const std::vector<std::wstring>& registered,
                                               FolderSecurity& security, InstallScope scope, std::wstring& why);

}  // namespace lumorix::setup
