#include "uninstall/uninstall_form.h"

#include "uninstall/removal.h"

namespace lumorix::uninstall {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kSilver = RGB(192, 192, 192);

ui::FormDesign UninstallDesign() {
  ui::FormDesign design;
  design.caption = L"Uninstall Lumorix";
  design.left = 260;
  design.top = 144;
  design.clientWidth = 545;
  design.clientHeight = 96;
  design.border = ui::BorderStyle::Single;
  design.className = L"TUninstallLumorixForm";
  return design;
}

}  // namespace

RemovalSteps RealRemoval() {
  return {ReadUninstallLog, EndRunningPlayer, RemoveFiles, RemoveRegistryEntries, RemovePlayerLeftovers};
}

TUninstallForm::TUninstallForm(RemovalSteps steps)
    : ui::Form(UninstallDesign()),
      PMain(Handle(), {0, 0, 545, 96}, kSilver, kWhite),
      LQuestion(PMain.Handle(), {8, 8, 0, 0}, L"Do You really whant to remove Lumorix?"),
      PBProgress(PMain.Handle(), {8, 32, 521, 0}, 0, 100),
      BtUninstall(PMain.Handle(), {8, 64, 75, 25}, L"Uninstall"),
      steps_(std::move(steps)) {
  LQuestion.SetSeeThrough(true);
  BtUninstall.OnClick = [this] { BtUninstallClick(); };
}

void TUninstallForm::BtUninstallClick() {
  BtUninstall.SetEnabled(false);
  LQuestion.SetCaption(L"Removing Files...");
  // A log that cannot be read stops here, before anything is removed; the
  // standard error box says why.
  std::vector<std::wstring> files = steps_.readLog();
  // A running player holds its program file and would write its settings
  // back at its end; it goes first.
  (void)steps_.endPlayer();
  steps_.removeFiles(files);
  PBProgress.SetPosition(75);
  LQuestion.SetCaption(L"Removing registry keys...");
  steps_.removeRegistryEntries();
  steps_.removeLeftovers();
  PBProgress.SetPosition(100);
  LQuestion.SetCaption(L"Complite.");
  removed_ = true;
  PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

}  // namespace lumorix::uninstall
