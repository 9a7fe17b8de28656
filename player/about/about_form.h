#pragma once
// The about window: product, version, maker and the running Windows version.
#include <windows.h>

#include <string>

#include "player/about/about_owner.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/label.h"

namespace lumorix {

// The name of the Windows version for the about window's version line.
std::wstring WindowsVersionLine(const OSVERSIONINFOW& version);

class TlumorixAboutForm : public ui::Form {
 public:
  explicit TlumorixAboutForm(IAboutOwner& owner);

  void BtOkClick();
  void Label4Click();

  ui::Label Label5;
  ui::Label Label1;
  ui::Label Label3;
  ui::Label Label2;
  ui::Label Label4;
  ui::Label LWinInfo;
  ui::Button BtOk;

 protected:
  void FormShow() override;

 private:
  IAboutOwner& owner_;
};

}  // namespace lumorix
