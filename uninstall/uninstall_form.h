#pragma once
// The uninstaller's window: the question, a progress bar and "Uninstall".
#include <functional>
#include <string>
#include <vector>

#include "ui/button.h"
#include "ui/form.h"
#include "ui/gradient_panel.h"
#include "ui/label.h"
#include "ui/progress_bar.h"

namespace lumorix::uninstall {

// The removal's steps, replaceable for tests of the window alone.
struct RemovalSteps {
  std::function<std::vector<std::wstring>()> readLog;
  std::function<bool()> endPlayer;
  std::function<void(const std::vector<std::wstring>&)> removeFiles;
  std::function<void()> removeRegistryEntries;
  std::function<void()> removeLeftovers;
};
RemovalSteps RealRemoval();

class TUninstallForm : public ui::Form {
 public:
  explicit TUninstallForm(RemovalSteps steps = RealRemoval());

  void BtUninstallClick();
  // True once the removal ran to its end.
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
