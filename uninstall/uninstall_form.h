#pragma once
// The uninstaller's window: the question, a progress bar and "Uninstall".
#include <functional>
#include <string>
#include <vector>

#include "common/setup_rules.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/gradient_panel.h"
#include "ui/label.h"
#include "ui/progress_bar.h"
#include "uninstall/machine_part.h"

namespace lumorix::uninstall {

// The removal's steps, replaceable for tests of the window alone.
struct RemovalSteps {
  std::function<std::vector<std::wstring>()> readLog;  // raises, saying why, when nothing may be removed
  std::function<bool()> endPlayer;                     // false: a player still runs
  // The installation's files, shortcuts and entry: the elevated part for an
  // installation for everyone, this process for the user's own.
  std::function<PartResult()> removeInstallation;
  std::function<void()> removeForUser;            // the user's own, in their profile
  std::function<void(const std::wstring&)> tell;  // a message box
  bool forEveryone = true;                        // whose installation it is
};
// The steps for the installation of this program's folder, for `scope`.
RemovalSteps RealRemoval(InstallScope scope);

class TUninstallForm : public ui::Form {
 public:
  explicit TUninstallForm(RemovalSteps steps);

  void BtUninstallClick();
  // True once the removal ran to its end and left nothing behind.
  bool Removed() const { return removed_; }

  ui::GradientPanel PMain;
  ui::Label LQuestion;
  ui::ProgressBar PBProgress;
  ui::Button BtUninstall;

 private:
  RemovalSteps steps_;
  bool removed_ = false;
};

}  // namespace lumorix::uninstall
