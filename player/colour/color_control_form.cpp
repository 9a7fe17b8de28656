#include "player/colour/color_control_form.h"

#include <string>

namespace lumorix {

namespace {

ui::FormDesign ColorControlDesign() {
  ui::FormDesign design;
  design.caption = L"Color Control";
  design.left = 60;
  design.top = 127;
  design.clientWidth = 168;
  design.clientHeight = 321;
  design.border = ui::BorderStyle::ToolWindow;
  design.color = 0x00A3A3A3;
  return design;
}

// Tick frequency 1, marks below, only the end ticks drawn.
ui::TrackBarDesign Slider(int min, int max, int position) {
  ui::TrackBarDesign design;
  design.min = min;
  design.max = max;
  design.position = position;
  design.tickStyle = ui::TickStyle::Manual;
  return design;
}

}  // namespace

TLumorixColorControlForm::TLumorixColorControlForm(IColorControlOwner& owner)
    : ui::Form(ColorControlDesign()),
      LBrightness(Handle(), {8, 8, 0, 0}, L"Brightness"),
      TBBrightness(Handle(), {8, 24, 150, 33}, Slider(0, 1000, 75)),
      LContrast(Handle(), {8, 56, 0, 0}, L"Contrast"),
      TBContrast(Handle(), {8, 72, 150, 33}, Slider(0, 2000, 1000)),
      LGamma(Handle(), {8, 104, 0, 0}, L"Gamma"),
      TBGamma(Handle(), {8, 120, 150, 33}, Slider(1, 500, 1)),
      LHue(Handle(), {8, 152, 0, 0}, L"Hue"),
      TBHue(Handle(), {8, 168, 150, 33}, Slider(-180, 180, 0)),
      LSaturation(Handle(), {8, 200, 0, 0}, L"Saturation"),
      TBSaturation(Handle(), {8, 216, 150, 33}, Slider(0, 2000, 1000)),
      LSharpness(Handle(), {8, 248, 0, 0}, L"Sharpness"),
      TBSharpness(Handle(), {8, 264, 150, 25}, Slider(0, 10, 5)),
      BDefault(Handle(), {16, 288, 137, 25}, L"Default"),
      owner_(owner) {
  for (ui::Label* label : {&LBrightness, &LContrast, &LGamma, &LHue, &LSaturation, &LSharpness})
    label->SetTransparent(true);
  TBBrightness.OnChange = [this] { TBBrightnessChange(); };
  TBContrast.OnChange = [this] { TBContrastChange(); };
  TBGamma.OnChange = [this] { TBGammaChange(); };
  TBHue.OnChange = [this] { TBHueChange(); };
  TBSaturation.OnChange = [this] { TBSaturationChange(); };
  TBSharpness.OnChange = [this] { TBSharpnessChange(); };
  BDefault.OnClick = [this] { BDefaultClick(); };
}

void TLumorixColorControlForm::TBBrightnessChange() {
  owner_.VideoColorControl().SetBrightness(TBBrightness.Position() * 10);
  owner_.ShowHint(std::to_wstring(TBBrightness.Position()));
}

void TLumorixColorControlForm::TBContrastChange() {
  owner_.VideoColorControl().SetContrast(TBContrast.Position() * 10);
  owner_.ShowHint(std::to_wstring(TBContrast.Position()));
}

void TLumorixColorControlForm::TBGammaChange() {
  owner_.VideoColorControl().SetGamma(TBGamma.Position());
  owner_.ShowHint(std::to_wstring(TBGamma.Position()));
}

void TLumorixColorControlForm::TBHueChange() {
  owner_.VideoColorControl().SetHue(TBHue.Position());
  owner_.ShowHint(std::to_wstring(TBHue.Position()));
}

void TLumorixColorControlForm::TBSaturationChange() {
  owner_.VideoColorControl().SetSaturation(TBSaturation.Position() * 10);
  owner_.ShowHint(std::to_wstring(TBSaturation.Position()));
}

void TLumorixColorControlForm::TBSharpnessChange() {
  owner_.VideoColorControl().SetSharpness(TBSharpness.Position());
  owner_.ShowHint(std::to_wstring(TBSharpness.Position()));
}

void TLumorixColorControlForm::BDefaultClick() {
  owner_.VideoColorControl().RestoreDefault();
  TBBrightness.SetPosition(75);
  TBContrast.SetPosition(1000);
  TBGamma.SetPosition(1);
  TBHue.SetPosition(0);
  TBSaturation.SetPosition(1000);
  TBSharpness.SetPosition(5);
}

void TLumorixColorControlForm::FormShow() { FollowCapabilities(); }

void TLumorixColorControlForm::FollowCapabilities() {
  const auto& caps = owner_.VideoCapabilities();
  TBBrightness.SetEnabled(caps.CanControlBrigtness());
  TBContrast.SetEnabled(caps.CanControlContrast());
  TBGamma.SetEnabled(caps.CanControlGamma());
  TBHue.SetEnabled(caps.CanControlHue());
  TBSaturation.SetEnabled(caps.CanControlSaturation());
  TBSharpness.SetEnabled(caps.CanControlSharpness());
}

void TLumorixColorControlForm::FormCloseQuery(bool& canClose) {
  owner_.ColorControlWindowClosed();
  canClose = true;
}

}  // namespace lumorix
