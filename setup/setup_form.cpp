#include "setup/setup_form.h"

#include <shlobj.h>

#include "common/install_folder.h"
#include "common/setup_rules.h"
#include "setup/target_folder.h"
#include "ui/application.h"

namespace lumorix::setup {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr int kClientWidth = 487;
constexpr int kClientHeight = 455;
constexpr int kLicenseHeight = 199;
constexpr int kSettingsHeight = 70;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

ui::FormDesign SetupDesign() {
  ui::FormDesign design;
  design.caption = L"Lumorix Setup";
  design.left = 328;
  design.top = 134;
  design.clientWidth = kClientWidth;
  design.clientHeight = kClientHeight;
  design.border = ui::BorderStyle::Single;
  design.color = kWhite;
  design.className = L"TLumorixSetupForm";
  return design;
}

int DefaultAsk(const std::wstring& text, const std::wstring& caption, UINT type) {
  return MessageBoxW(nullptr, text.c_str(), caption.c_str(), type);
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
  return 0;
}

}  // namespace

std::wstring AgreementText() {
  return L"Software agreement and limited warranty\r\n"
         L"\r\n"
         L"Please read this agreement before you install Lumorix. By ticking \"I Agree\" and pressing \"Start\"\r\n"
         L"you accept it.\r\n"
         L"\r\n"
         L"1. You may install and use Lumorix on any number of computers that you own or use.\r\n"
         L"2. You may give away unchanged copies of the installer, free of charge, with this agreement.\r\n"
         L"3. You may not sell Lumorix, nor pass off a changed copy as the original.\r\n"
         L"4. Lumorix plays the video files that you choose. You alone are responsible for having the right\r\n"
         L"   to play them.\r\n"
         L"\r\n"
         L"Limited warranty. Lumorix is provided \"as is\", without warranty of any kind, express or implied,\r\n"
         L"including the warranties of merchantability and of fitness for a particular purpose. The whole risk\r\n"
         L"as to its quality and performance lies with you. In no event shall Vantrel be liable for any\r\n"
         L"damages, including lost data or lost profits, arising from the use of Lumorix or the inability to\r\n"
         L"use it, even if Vantrel has been told of the possibility of such damages.\r\n";
}

std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& start) {
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  PIDLIST_ABSOLUTE picked = SHBrowseForFolderW(&info);
  if (!picked) return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  BOOL ok = SHGetPathFromIDListW(picked, path);
  CoTaskMemFree(picked);
  if (!ok) return std::nullopt;
  return std::wstring(path);
}

TSetupForm::TSetupForm(InstallFunction install, AskFunction ask, BrowseFunction browse)
    : ui::Form(SetupDesign()),
      GBLicense(Handle(), {0, 0, kClientWidth, kLicenseHeight}, L"License"),
      MLicense(GBLicense.Handle(), {4, 24, 475, 129}, AgreementText()),
      CBAgree(GBLicense.Handle(), {8, 168, 0, 0}, L"I Agree"),
      GBSettings(Handle(), {0, kLicenseHeight, kClientWidth, kSettingsHeight}, L"Settings"),
      CBStartUp(GBSettings.Handle(), {8, 16, 0, 0}, L"SturtUp with Windows"),
      CBStartMenu(GBSettings.Handle(), {8, 40, 0, 0}, L"Add ShortCut to Start Menu"),
      CBDesktop(GBSettings.Handle(), {176, 40, 0, 0}, L"Add ShorCut to Desktop"),
      RBForEveryone(GBSettings.Handle(), {336, 16, 0, 0}, L"Install for Everyone"),
      RBForMe(GBSettings.Handle(), {336, 40, 0, 0}, L"Install for Me Only"),
      PBottom(Handle(),
              {0, kLicenseHeight + kSettingsHeight, kClientWidth, kClientHeight - kLicenseHeight - kSettingsHeight},
              kWhite, kSilver),
      InstallFolder(PBottom.Handle(), {8, 16, 361, 0}, DefaultFolder(InstallScope::AllUsers)),
      BtBrouse(PBottom.Handle(), {376, 16, kButtonWidth, kButtonHeight}, L"Brouse"),
      LStatus(PBottom.Handle(), {8, 48, 0, 0}, L""),
      PBFile(PBottom.Handle(), {8, 72, 441, 0}, 0, 1000),
      PBTotal(PBottom.Handle(), {8, 104, 441, 0}, 0, 1000),
      BtStart(PBottom.Handle(), {16, 136, kButtonWidth, kButtonHeight}, L"Start"),
      install_(std::move(install)),
      ask_(ask ? std::move(ask) : AskFunction(DefaultAsk)),
      browse_(browse ? std::move(browse) : BrowseFunction(BrowseForFolder)) {
  GBLicense.SetColor(kWhite);
  GBSettings.SetColor(kWhite);
  CBStartMenu.SetChecked(true, false);
  CBDesktop.SetChecked(true, false);
  RBForEveryone.SetChecked(true, false);
  LStatus.SetSeeThrough(true);
  PBFile.SetBarBackground(kWhite);
  PBTotal.SetBarBackground(kWhite);
  BtStart.SetEnabled(false);
  CBAgree.OnClick = [this] { CBAgreeClick(); };
  BtBrouse.OnClick = [this] { BtBrouseClick(); };
  BtStart.OnClick = [this] { BtStartClick(); };
  RBForEveryone.OnClick = [this] { SetScope(InstallScope::AllUsers); };
  RBForMe.OnClick = [this] { SetScope(InstallScope::CurrentUser); };
}

TSetupForm::~TSetupForm() = default;

void TSetupForm::SetStatus(const std::wstring& text) { LStatus.SetCaption(text); }
void TSetupForm::SetFileProgress(int32_t position) { PBFile.SetPosition(position); }
void TSetupForm::SetTotalProgress(int32_t position) { PBTotal.SetPosition(position); }
void TSetupForm::ProcessMessages() { ui::Application::Instance().ProcessMessages(); }

void TSetupForm::CBAgreeClick() { BtStart.SetEnabled(CBAgree.Checked()); }

void TSetupForm::SetScope(InstallScope scope) {
  const bool forMe = scope == InstallScope::CurrentUser;
  const InstallScope other = forMe ? InstallScope::AllUsers : InstallScope::CurrentUser;
  // A folder the user typed or picked stays; only the other default gives way.
  if (SamePath(InstallFolder.Text(), DefaultFolder(other))) InstallFolder.SetText(DefaultFolder(scope));
  RBForEveryone.SetChecked(!forMe, false);
  RBForMe.SetChecked(forMe, false);
}

void TSetupForm::BtBrouseClick() {
  std::optional<std::wstring> picked = browse_(Handle(), DefaultFolder(Scope()));
  InstallFolder.SetText(BrouseResult(InstallFolder.Text(), picked));
}

void TSetupForm::BtStartClick() {
  // The window answers messages while it unpacks: a second start, or a
  // close, must wait for the end.
  if (installing_) return;
  FolderCheck folder = NormaliseInstallFolder(InstallFolder.Text());
  if (!folder.refusal.empty()) {
    (void)ask_(folder.refusal, L"Lumorix Setup", MB_OK | MB_ICONERROR);
    return;
  }
  InstallFolder.SetText(folder.folder);
  installing_ = true;
  BtStart.SetEnabled(false);
  BtBrouse.SetEnabled(false);
  TInstallState state;
  state.InstallFolder = InstallFolder.Text();
  state.scope = Scope();
  state.options = {CBStartUp.Checked(), CBStartMenu.Checked(), CBDesktop.Checked()};
  state.view = this;
  InstallOutcome outcome = install_(state);
  Outcome = outcome.message;
  Result = outcome.result;
  (void)ask_(outcome.message, L"Lumorix Setup", MB_OK | (outcome.Complete() ? MB_ICONINFORMATION : MB_ICONERROR));
  installing_ = false;
  if (outcome.NothingInstalled()) {
    // Another folder or the other choice may be taken, or the player closed.
    BtStart.SetEnabled(CBAgree.Checked());
    BtBrouse.SetEnabled(true);
    return;
  }
  Finished = true;
  Close();
}

void TSetupForm::FormCloseQuery(bool& canClose) {
  if (Finished) return;
  if (installing_) {
    canClose = false;
    return;
  }
  canClose = ask_(L"Do You whant to exit setup?", L"Lumorix Setup", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace lumorix::setup
