#include "uninstall/uninstall_form.h"

#include "common/install_folder.h"
#include "platform/files.h"
#include "platform/running_player.h"
#include "platform/screen_saver_restore.h"
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

RemovalSteps RealRemoval(InstallScope scope) {
  const std::wstring folder = ProgramFolder();
  const bool forEveryone = scope == InstallScope::AllUsers;
  return {[folder, scope] {
            // A first look before the administrator is asked; the elevated
            // part looks again for itself.
            RequireInstalledFolder(folder, scope);
            return ReadUninstallLog(folder);
          },
          [folder] {
            if (!platform::EndRunningPlayer({folder + L"Lumorix.exe"})) return false;
            // Before the machine's part looks whether anybody still uses the
            // shared screen saver: this user no longer does.
            platform::GiveBackUsersScreenSaver();
            return true;
          },
          forEveryone ? std::function<PartResult()>(RunMachinePartElevated) : RemoveUsersInstallation,
          [folder, scope] { RemoveUsersOwn(folder, scope); },
          [](const std::wstring& text) {
            MessageBoxW(nullptr, text.c_str(), L"Uninstall Lumorix", MB_OK | MB_ICONINFORMATION);
          },
          forEveryone};
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
  auto nothingRemoved = [this](const std::wstring& text) {
    LQuestion.SetCaption(L"Do You really whant to remove Lumorix?");
    BtUninstall.SetEnabled(true);
    if (!text.empty()) steps_.tell(text);
  };
  // A log that cannot be read stops here, before anything is removed; the
  // standard error box says why.
  (void)steps_.readLog();
  // A running player holds its program file and would write its settings
  // back at its end: while it runs, nothing is removed.
  if (!steps_.endPlayer()) {
    nothingRemoved(
        L"Lumorix is still running and did not end. Nothing was removed. Close Lumorix, then press "
        L"\"Uninstall\" again.");
    return;
  }
  PartResult machine = steps_.removeInstallation();
  if (machine.exit == kMachineNothingRemoved) {
    nothingRemoved(machine.why.empty() ? L"" : L"Nothing was removed: " + machine.why + L".");
    return;
  }
  PBProgress.SetPosition(75);
  LQuestion.SetCaption(L"Removing registry keys...");
  steps_.removeForUser();
  PBProgress.SetPosition(100);
  LQuestion.SetCaption(L"Complite.");
  const bool gone = machine.exit == kMachineRemoved;
  std::wstring told =
      gone ? std::wstring(L"Lumorix was removed.")
           : L"Lumorix was removed, but some of its files could not be deleted; they stay in " + ProgramFolder();
  // An installation for one user had nothing of the others'.
  if (steps_.forEveryone)
    told +=
        L"\nThe settings, start-up shortcut, screen saver and playlist of the other users of this computer stay in "
        L"their profiles.";
  steps_.tell(told);
  removed_ = gone;
  PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

}  // namespace lumorix::uninstall
