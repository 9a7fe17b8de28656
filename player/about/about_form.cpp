#include "player/about/about_form.h"

#include <shellapi.h>


namespace lumorix {

namespace {

constexpr wchar_t kMakerAddress[] = L"https://vantrel.example/lumorix";

ui::FormDesign AboutDesign() {
  ui::FormDesign design;
  design.caption = L"About";
  design.clientWidth = 243;
  design.clientHeight = 268;
  design.border = ui::BorderStyle::Dialog;
  design.position = ui::FormPosition::DesktopCenter;
  design.color = 0x80000000u | COLOR_BACKGROUND;
  return design;
}

}  // namespace

std::wstring WindowsVersionLine(const OSVERSIONINFOW& version) {
  std::wstring name;
  switch (version.dwMajorVersion) {
    case 3:
      name = L"Windows NT 3.5";
      break;
    case 4:
      if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        name = version.dwMinorVersion == 0 ? L"Windows 95" : L"Windows 98";
      else
        name = L"Windows NT 4";
      break;
    case 5:
      name = version.dwMinorVersion == 0 ? L"Windows 2000" : L"Windows XP";
      break;
    default:
      break;
  }
  return name + L" (Build " + std::to_wstring(version.dwBuildNumber) + L": " + version.szCSDVersion + L")";
}

TlumorixAboutForm::TlumorixAboutForm(IAboutOwner& owner)
    : ui::Form(AboutDesign()),
      Label5(Handle(), {16, 152, 0, 0}, L"Lumorix"),
      Label1(Handle(), {80, 96, 0, 0}, L"Version: 1.1"),
      Label3(Handle(), {80, 112, 0, 0}, L"Live video wallpaper"),
      Label2(Handle(), {80, 136, 0, 0}, L"Vantrel"),
      Label4(Handle(), {80, 160, 0, 0}, L"vantrel.example"),
      LWinInfo(Handle(), {16, 192, 0, 0}, L""),
      BtOk(Handle(), {80, 232, 75, 25}, L"Ok"),
      owner_(owner) {
  BtOk.OnClick = [this] { BtOkClick(); };
}

void TlumorixAboutForm::FormShow() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&version);
#pragma GCC diagnostic pop
  LWinInfo.SetCaption(WindowsVersionLine(version));
}

void TlumorixAboutForm::BtOkClick() {
  owner_.ShowSettings();
  Close();
}

void TlumorixAboutForm::Label4Click() { ShellExecuteW(Handle(), L"open", kMakerAddress, nullptr, nullptr, SW_RESTORE); }

}  // namespace lumorix
