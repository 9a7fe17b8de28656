// The colour-control window: sliders into the video's colour control, the
// hint, Default, and the capability-driven enabling on show.
#include <optional>

#include "player/colour/color_control_form.h"
#include "tests/player/core/player_fixture.h"
#include "tests/support/fake_overlay_mixer.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

// The settings window's pop-up hint, when it shows.
std::optional<std::wstring> ShownHint(HWND owner) {
  for (HWND hint = FindWindowExW(nullptr, nullptr, L"LumorixHint", nullptr); hint;
       hint = FindWindowExW(nullptr, hint, L"LumorixHint", nullptr)) {
    if (GetWindow(hint, GW_OWNER) == owner && IsWindowVisible(hint)) return WindowText(hint);
  }
  return std::nullopt;
}

class ColourWindowTest : public PlayerTest {
 protected:
  // Starts the player and lets the start-up hints go.
  TLumorixColorControlForm& Start() {
    TLumorixMainForm& form = StartPlayer();
    form.HintTimerTimer();
    return form.ColorControlForm();
  }
  engine::TColorControl& Colours() { return player->DSVideoWindowEx2.ColorControl(); }
};

}  // namespace

TEST_F(ColourWindowTest, SlidersWriteTheirFactorAndHintThePosition) {
  TLumorixColorControlForm& colours = Start();
  colours.TBBrightness.SetPosition(100);
  EXPECT_EQ(Colours().Brightness(), 1000);
  EXPECT_EQ(ShownHint(player->Handle()), L"100");
  colours.TBHue.SetPosition(-180);
  EXPECT_EQ(Colours().Hue(), -180);
  EXPECT_EQ(ShownHint(player->Handle()), L"-180");
  colours.TBSaturation.SetPosition(2000);
  EXPECT_EQ(Colours().Saturation(), 20000);
  colours.TBSharpness.SetPosition(10);
  EXPECT_EQ(Colours().Sharpness(), 10);
  colours.TBGamma.SetPosition(0);
  EXPECT_EQ(colours.TBGamma.Position(), 1) << "gamma starts at 1";
  EXPECT_TRUE(errors.Boxes().empty());
}

TEST_F(ColourWindowTest, DefaultWithTheSlidersInPlaceOnlyRestoresTheHardwareValues) {
  TLumorixColorControlForm& colours = Start();
  Colours().SetContrast(3000);  // changed behind the slider's back
  colours.BDefaultClick();
  EXPECT_EQ(Colours().Contrast(), 10000);
  EXPECT_FALSE(ShownHint(player->Handle())) << "no slider moved, so nothing popped up";

  colours.TBContrast.SetPosition(400);
  player->HintTimerTimer();
  colours.BDefaultClick();
  EXPECT_EQ(colours.TBContrast.Position(), 1000);
  EXPECT_EQ(Colours().Contrast(), 10000);
  EXPECT_EQ(ShownHint(player->Handle()), L"1000");
}

TEST_F(ColourWindowTest, ShowEnablesTheSlidersTheOverlayCanAdjust) {
  FakeOverlayMixerRegistration mixer;
  mixer.State().current.dwFlags = 0x01 | 0x02 | 0x04 | 0x08 | 0x20;  // everything but sharpness
  WritePlayList({"red.avi"});
  TLumorixColorControlForm& colours = Start();
  ASSERT_TRUE(PumpUntil([&] { return player->DSVideoWindowEx2.OverlayActive(); }, milliseconds(5000)));
  colours.Show();
  EXPECT_TRUE(colours.TBBrightness.Enabled());
  EXPECT_TRUE(colours.TBContrast.Enabled());
  EXPECT_TRUE(colours.TBGamma.Enabled());
  EXPECT_TRUE(colours.TBHue.Enabled());
  EXPECT_TRUE(colours.TBSaturation.Enabled());
  EXPECT_FALSE(colours.TBSharpness.Enabled());
  EXPECT_TRUE(colours.BDefault.Enabled());

  // The sliders reach the overlay hardware.
  colours.TBBrightness.SetPosition(200);
  EXPECT_EQ(mixer.State().current.lBrightness, 2000);
  colours.Hide();
  ASSERT_TRUE(player->FilterGraph()->Play());
  (void)PumpUntil([&] { return player->FilterGraph()->State() == 3; }, milliseconds(3000));
  player.reset();  // before the stand-in goes
}

TEST_F(ColourWindowTest, WithoutAnOverlayEverySliderStaysUsable) {
  TLumorixColorControlForm& colours = Start();
  colours.Show();
  for (ui::TrackBar* slider : {&colours.TBBrightness, &colours.TBContrast, &colours.TBGamma, &colours.TBHue,
                               &colours.TBSaturation, &colours.TBSharpness})
    EXPECT_TRUE(slider->Enabled());
}
