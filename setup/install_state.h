#pragma once
// What the installation steps share: the folder, the options, the log, the
// folder list, and the window (or its silent stand-in) they report to.
#include <cstdint>
#include <string>
#include <vector>

#include "common/setup_rules.h"
#include "setup/folder_security.h"
#include "setup/line_file.h"

namespace lumorix::setup {

// What the steps show while they run.
class InstallView {
 public:
  virtual ~InstallView() = default;
  virtual void SetStatus(const std::wstring& text) = 0;
  virtual void SetFileProgress(int32_t position) = 0;
  virtual void SetTotalProgress(int32_t position) = 0;
  // Removes and dispatches every message waiting in the thread's queue.
  virtual void ProcessMessages() = 0;
};

// The silent installation's view: shows nothing.
class NoView : public InstallView {
 public:
  void SetStatus(const std::wstring&) override {}
  void SetFileProgress(int32_t) override {}
  void SetTotalProgress(int32_t) override {}
  void ProcessMessages() override {}
};

struct TInstallState {
  std::wstring InstallFolder;  // ends with "\"
  InstallScope scope = InstallScope::AllUsers;
  InstallOptions options;
  InstallView* view = nullptr;
  LineFile UninstallLog;
  std::vector<std::wstring> FolderList;
  // The payload's files, relative to the folder, in archive order.
  std::vector<std::wstring> InstalledFiles;
  int32_t TotalSize = 0;
  // How folders are protected (tests record it: Wine keeps no protection).
  FolderSecurity* security = &SystemFolderSecurity();
};

}  // namespace lumorix::setup
