#pragma once
// The colour-control window: six sliders writing into the video window's
// colour control, and a button that restores the defaults.
#include "player/colour/color_control_owner.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/track_bar.h"

namespace lumorix {

class TLumorixColorControlForm : public ui::Form {
 public:
  explicit TLumorixColorControlForm(IColorControlOwner& owner);

  void TBBrightnessChange();
  void TBContrastChange();
  void TBGammaChange();
  void TBHueChange();
  void TBSaturationChange();
  void TBSharpnessChange();
  void BDefaultClick();
  // Enables each slider by what the video can adjust now.
  void FollowCapabilities();

  ui::Label LBrightness;
  ui::TrackBar TBBrightness;
  ui::Label LContrast;
  ui::TrackBar TBContrast;
  ui::Label LGamma;
  ui::TrackBar TBGamma;
  ui::Label LHue;
  ui::TrackBar TBHue;
  ui::Label LSaturation;
  ui::TrackBar TBSaturation;
  ui::Label LSharpness;
  ui::TrackBar TBSharpness;
  ui::Button BDefault;

 protected:
  void FormShow() override;
  void FormCloseQuery(bool& canClose) override;

 private:
  IColorControlOwner& owner_;
};

}  // namespace lumorix
