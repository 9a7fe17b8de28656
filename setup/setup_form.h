#pragma once
// The installer's one window: the agreement, the options, the folder, the
// progress of the extraction and "Start".
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "setup/install_state.h"
#include "setup/installation.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/gradient_panel.h"
#include "ui/group_box.h"
#include "ui/label.h"
#include "ui/memo.h"
#include "ui/progress_bar.h"

namespace lumorix::setup {

// Shows a message box owned by no window; returns the button pressed.
// Tests answer in its place.
using AskFunction = std::function<int(const std::wstring& text, const std::wstring& caption, UINT type)>;
// Runs the installation (tests put an archive file in place of the resource).
using InstallFunction = std::function<InstallOutcome(TInstallState&)>;
// The folder dialog; nothing when it was cancelled.
using BrowseFunction = std::function<std::optional<std::wstring>(HWND owner, const std::wstring& start)>;

class TSetupForm : public ui::Form, public InstallView {
 public:
  TSetupForm(InstallFunction install, AskFunction ask = {}, BrowseFunction browse = {});
  ~TSetupForm() override;

  // InstallView
  void SetStatus(const std::wstring& text) override;
  void SetFileProgress(int32_t position) override;
  void SetTotalProgress(int32_t position) override;
  void ProcessMessages() override;

  void CBAgreeClick();
  void BtBrouseClick();
  void BtStartClick();
  // For everyone or for the user alone: the pair of choices, and the folder
  // box when it still holds the other choice's default folder.
  void SetScope(InstallScope scope);
  InstallScope Scope() const { return RBForMe.Checked() ? InstallScope::CurrentUser : InstallScope::AllUsers; }

  bool Finished = false;
  // The closing message of the last installation, and how it went.
  std::wstring Outcome;
  InstallResult Result = InstallResult::Incomplete;

  ui::GroupBox GBLicense;
  ui::Memo MLicense;
  ui::CheckBox CBAgree;
  ui::GroupBox GBSettings;
  ui::CheckBox CBStartUp;
  ui::CheckBox CBStartMenu;
  ui::CheckBox CBDesktop;
  ui::RadioButton RBForEveryone;
  ui::RadioButton RBForMe;
  ui::GradientPanel PBottom;
  ui::Edit InstallFolder;
  ui::Button BtBrouse;
  ui::Label LStatus;
  ui::ProgressBar PBFile;
  ui::ProgressBar PBTotal;
  ui::Button BtStart;

 protected:
  void FormCloseQuery(bool& canClose) override;

 private:
  InstallFunction install_;
  AskFunction ask_;
  BrowseFunction browse_;
  bool installing_ = false;
};

// The software agreement shown in the window.
std::wstring AgreementText();

// The system folder dialog, starting at `start`.
std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& start);

}  // namespace lumorix::setup
