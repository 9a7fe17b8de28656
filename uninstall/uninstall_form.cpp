#include "uninstall/uninstall_form.h"

#include <stdexcept>

#include "common/install_folder.h"
#include "platform/files.h"
#include "platform/running_player.h"
#include "platform/uninstall_entry.h"
#include "platform/text.h"
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
  const std::wstring folder = ProgramFolder();
  return {[folder] {
            // A copy of this program beside a stranger's log must not delete what it lists.
            std::wstring installed = platform::InstalledFolder();
            if (installed.empty() || folder.empty() || !SamePath(installed, folder))
              throw std::runtime_error("This uninstaller is not the one of the installed Lumorix (" +
                                       Narrow(installed.empty() ? L"none is installed" : installed) +
                                       "); nothing was removed");
            return ReadUninstallLog(folder);
          },
          platform::EndRunningPlayer,
          [folder](const std::vector<std::wstring>& files) { return RemoveFiles(files, folder); },
          RemoveRegistryEntries,
          RemovePlayerLeftovers,
          [folder] { return StartFolderRemoval(folder); },
          [](const std::wstring& text) {
            MessageBoxW(nullptr, text.c_str(), L"Uninstall Lumorix", MB_OK | MB_ICONINFORMATION);
          }};
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
  // back at its end: while it runs, nothing is removed.
  if (!steps_.endPlayer()) {
    LQuestion.SetCaption(L"Do You really whant to remove Lumorix?");
    BtUninstall.SetEnabled(true);
    steps_.tell(
        L"Lumorix is still running and did not end. Nothing was removed. Close Lumorix, then press "
        L"\"Uninstall\" again.");
    return;
  }
  bool gone = steps_.removeFiles(files);
  PBProgress.SetPosition(75);
  LQuestion.SetCaption(L"Removing registry keys...");
  steps_.removeRegistryEntries();
  steps_.removeLeftovers();
  PBProgress.SetPosition(100);
  LQuestion.SetCaption(L"Complite.");
  gone = steps_.removeFolder() && gone;
  steps_.tell(
      (gone ? std::wstring(L"Lumorix was removed.")
            : L"Lumorix was removed, but some of its files could not be deleted; they stay in " + ProgramFolder()) +
      L"\nThe settings, start-up shortcut and screen saver of the other users of this computer stay in their "
      L"profiles.");
  removed_ = gone;
  PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

}  // namespace lumorix::uninstall
