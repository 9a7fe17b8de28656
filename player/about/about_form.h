#pragma once
// The about window: the logo, product, version, maker with a link to the
// maker's site, and the running Windows version.
#include <windows.h>

#include <functional>
#include <string>

#include "common/windows_version.h"
#include "player/about/about_owner.h"
#include "ui/bevel.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/picture.h"
#include "ui/scaled_font.h"

namespace lumorix {

// The version as GetVersionEx reports it, and for version 6 and later (which
// GetVersionEx reports as 6.2 build 9200 on every newer system) as the system
// really is. Texts in the ANSI code page.
WindowsVersion RunningWindowsVersion();

class TlumorixAboutForm : public ui::Form {
 public:
  // The logo is the PNG resource "LUMORIX_LOGO" of `resources`, drawn from
  // "LUMORIX_LOGO96" where it shows larger.
  explicit TlumorixAboutForm(IAboutOwner& owner, HMODULE resources = GetModuleHandleW(nullptr));

  void BtOkClick();
  void Label4Click();

  // The maker's web address, as the link shows and opens it.
  static const wchar_t* const MakerAddress;
  // Opens an address for the link; the shell's "open" by default.
  std::function<void(HWND owner, const wchar_t* address)> OpenAddress;

  ui::Bevel Bevel2;
  ui::Picture LumorixLogo;
  ui::Label Label5;
  ui::Label Label1;
  ui::Label Label3;
  ui::Label Label2;
  ui::Label Label4;
  ui::Bevel Bevel1;
  ui::Label LWinInfo;
  ui::Button BtOk;

 protected:
  void FormShow() override;

 private:
  IAboutOwner& owner_;
  ui::ScaledFont titleFont_;
  ui::ScaledFont linkFont_;
};

}  // namespace lumorix
