#include "player/about/about_form.h"

#include <shellapi.h>

#include "platform/text.h"
#include "ui/picture_file.h"

namespace lumorix {

namespace {

constexpr COLORREF kInfoBk = 0x80000000u | COLOR_INFOBK;

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

ui::FontDesign TitleFont() { return {-12, FW_NORMAL, false, RUSSIAN_CHARSET, L"Arial Black"}; }

ui::FontDesign LinkFont() { return {-11, FW_BOLD, true, DEFAULT_CHARSET, L"MS Sans Serif"}; }

}  // namespace

const wchar_t* const TlumorixAboutForm::MakerAddress = L"https://vantrel.example/lumorix";

WindowsVersion RunningWindowsVersion() {
  OSVERSIONINFOA reported{};
  reported.dwOSVersionInfoSize = sizeof reported;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  (void)GetVersionExA(&reported);
#pragma GCC diagnostic pop
  WindowsVersion version{reported.dwMajorVersion, reported.dwMinorVersion, reported.dwBuildNumber,
                         reported.dwPlatformId, reported.szCSDVersion};
  if (version.major < 6) return version;
  using RtlGetVersionProc = LONG(WINAPI*)(OSVERSIONINFOW*);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto getVersion =
      ntdll ? reinterpret_cast<RtlGetVersionProc>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
            : nullptr;
  OSVERSIONINFOW real{};
  real.dwOSVersionInfoSize = sizeof real;
  if (getVersion && getVersion(&real) == 0) {
    version.major = real.dwMajorVersion;
    version.minor = real.dwMinorVersion;
    version.build = real.dwBuildNumber;
    version.servicePack = WideToAnsi(real.szCSDVersion);
  }
  return version;
}

TlumorixAboutForm::TlumorixAboutForm(IAboutOwner& owner, HMODULE resources)
    : ui::Form(AboutDesign()),
      OpenAddress([](HWND window, const wchar_t* address) {
        ShellExecuteW(window, L"open", address, nullptr, nullptr, SW_RESTORE);
      }),
      Bevel2(Handle(), {8, 88, 225, 137}, ui::BevelShape::Frame),
      LumorixLogo(Handle(), {16, 104, 48, 48}),
      Label5(Handle(), {16, 152, 0, 0}, L"Lumorix"),
      Label1(Handle(), {80, 96, 0, 0}, L"Version: 1.1"),
      Label3(Handle(), {80, 112, 0, 0}, L"Live video wallpaper"),
      Label2(Handle(), {80, 136, 0, 0}, L"Vantrel"),
      Label4(Handle(), {80, 160, 0, 0}, L"vantrel.example"),
      Bevel1(Handle(), {8, 184, 225, 2}, ui::BevelShape::TopLine),
      LWinInfo(Handle(), {16, 192, 0, 0}, L""),
      BtOk(Handle(), {80, 232, 75, 25}, L"Ok"),
      owner_(owner),
      titleFont_(TitleFont()),
      linkFont_(LinkFont()) {
  LumorixLogo.SetStretch(true);
  LumorixLogo.SetBitmap(ui::LoadPngResource(resources, L"LUMORIX_LOGO"));
  LumorixLogo.AddLargerArt(ui::LoadPngResource(resources, L"LUMORIX_LOGO96"));
  for (ui::Label* label : {&Label5, &Label1, &Label3, &Label2}) label->SetFont(titleFont_);
  Label4.SetFont(linkFont_);
  Label4.SetFontColor(0x00FF0000);  // blue
  Label4.SetHandCursor(true);
  for (ui::Label* label : {&Label5, &Label1, &Label3, &Label2, &Label4, &LWinInfo}) label->SetColor(kInfoBk);
  Label4.OnClick = [this] { Label4Click(); };
  BtOk.OnClick = [this] { BtOkClick(); };
}

void TlumorixAboutForm::FormShow() { LWinInfo.SetCaption(AnsiToWide(WindowsVersionLine(RunningWindowsVersion()))); }

void TlumorixAboutForm::BtOkClick() {
  owner_.ShowSettings();
  Close();
}

void TlumorixAboutForm::Label4Click() { OpenAddress(Handle(), MakerAddress); }

}  // namespace lumorix
