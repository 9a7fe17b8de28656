// Loading and saving the settings against the real registry.
#include "common/settings_layout.h"
#include "player/colour/color_control_form.h"
#include "platform/registry.h"
#include "player/core/settings_registry.h"
#include "tests/player/core/player_fixture.h"

using namespace lumorix;
using namespace lumorix::test;

TEST_F(PlayerTest, InstallerDefaultsLoadIntoTheWindow) {
  TLumorixMainForm& form = StartPlayer();
  EXPECT_TRUE(errors.Boxes().empty()) << ErrorText(errors);
  EXPECT_FALSE(form.CBRSS.Checked());
  EXPECT_FALSE(form.CBRunWithStartUp.Checked());
  EXPECT_EQ(form.TBVolume.Position(), 0);  // 10000 is beyond the slider: the silent end
  EXPECT_EQ(form.TBBalance.Position(), 0);
  EXPECT_TRUE(form.PlayListVisible);
  EXPECT_FALSE(form.ColorControlVisible);
  TLumorixColorControlForm& colours = form.ColorControlForm();
  EXPECT_EQ(colours.TBBrightness.Position(), 75);
  EXPECT_EQ(colours.TBContrast.Position(), 1000);
  EXPECT_EQ(colours.TBGamma.Position(), 1);
  EXPECT_EQ(colours.TBHue.Position(), 0);
  EXPECT_EQ(colours.TBSaturation.Position(), 1000);
  EXPECT_EQ(colours.TBSharpness.Position(), 5);
  // The installer's rate bytes are no rate on the ladder: normal speed.
  EXPECT_EQ(form.PlayRate, 1.0);
  EXPECT_EQ(form.FilterGraph()->Rate(), 1.0);
  EXPECT_EQ(form.LRateInd.Text(), L"1x");
  EXPECT_EQ(form.RateStep(), 0);
  EXPECT_EQ(form.PlayingIndex, 0);
  EXPECT_FALSE(form.Random);
  EXPECT_FALSE(form.Repeat);
  EXPECT_TRUE(form.Language.empty());
  EXPECT_TRUE(form.FilterGraph()->Active());
  EXPECT_TRUE(form.Timer.Enabled());
}

TEST_F(PlayerTest, SaveAtExitRoundTripsEveryValue) {
  WriteSetting(kSettingsKey, "Language", EncodeString("C:\\Lumorix\\Languages\\German.ini"));
  WriteSetting(kSettingsKey, "Skin", EncodeString(""));
  WriteSetting(kAudioKey, "Balance", EncodeInteger(-20));
  WriteSetting(kAudioKey, "Volume", EncodeInteger(-3000));
  WriteSetting(kAudioKey, "PlayListVisible", EncodeInteger(0));
  WriteSetting(kAudioKey, "ColorControlVisible", EncodeInteger(1));
  WriteSetting(kColorKey, "Brightness", EncodeInteger(100));
  WriteSetting(kColorKey, "Contrast", EncodeInteger(1500));
  WriteSetting(kColorKey, "Gamma", EncodeInteger(7));
  WriteSetting(kColorKey, "Hue", EncodeInteger(-180));
  WriteSetting(kColorKey, "Saturation", EncodeInteger(200));
  WriteSetting(kColorKey, "Sharpness", EncodeInteger(10));
  WriteSetting(kVideoKey, "Rate", EncodeFloat(2.0));
  WriteSetting(kPlayListKey, "PlayingIndex", EncodeInteger(4));
  WriteSetting(kPlayListKey, "Random", EncodeInteger(1));
  WriteSetting(kPlayListKey, "Repeat", EncodeInteger(1));
  // Every value is deleted after the load, so the save must write each one.
  std::vector<std::pair<std::string, std::string>> names;
  for (const auto& seeded : InstallerDefaults(false)) names.emplace_back(seeded.key, seeded.name);
  names.emplace_back(kSettingsKey, "Language");
  names.emplace_back(kSettingsKey, "Skin");
  std::map<std::pair<std::string, std::string>, RawValue> loaded;
  for (const auto& [key, name] : names) loaded[{key, name}] = *ReadSetting(key, name);

  TLumorixMainForm& form = StartPlayer();
  ASSERT_TRUE(errors.Boxes().empty()) << ErrorText(errors);
  EXPECT_EQ(form.LRateInd.Text(), L"2x");
  // Saved index 4 names no entry of the empty playlist: nothing plays, nothing fails.
  for (const auto& [key, name] : names) DeleteSetting(key, name);

  form.ItExitClick();
  EXPECT_TRUE(ui::Application::Instance().Terminated());
  for (const auto& [key, name] : names) {
    std::optional<RawValue> saved = ReadSetting(key, name);
    ASSERT_TRUE(saved) << name;
    RawValue expected = loaded[{key, name}];
    if (name == "Rate") expected = EncodeFloat(2.0);  // the graph's rate, not the stored bytes
    EXPECT_EQ(saved->type, expected.type) << name;
    EXPECT_EQ(saved->data, expected.data) << name;
  }
}

TEST_F(PlayerTest, VolumeBeyondTheSliderLoadsAndSavesAsSilent) {
  WriteSetting(kAudioKey, "Volume", EncodeInteger(10000));
  TLumorixMainForm& form = StartPlayer();
  EXPECT_EQ(form.TBVolume.Position(), 0);
  form.ItExitClick();
  EXPECT_EQ(ReadIntegerSetting(kAudioKey, "Volume"), 0);
}

TEST_F(PlayerTest, FullVolumeLoadsAtTheTopAndReachesTheGraph) {
  WriteSetting(kAudioKey, "Volume", EncodeInteger(-10000));
  TLumorixMainForm& form = StartPlayer();
  EXPECT_EQ(form.TBVolume.Position(), -10000);
  EXPECT_EQ(form.FilterGraph()->Volume(), 10000);
}

TEST_F(PlayerTest, BalanceBeyondTheSliderLoadsAndSavesAsFullyRight) {
  WriteSetting(kAudioKey, "Balance", EncodeInteger(80));
  TLumorixMainForm& form = StartPlayer();
  EXPECT_EQ(form.TBBalance.Position(), 50);
  EXPECT_EQ(form.FilterGraph()->Balance(), 5000);
  form.ItExitClick();
  EXPECT_EQ(ReadIntegerSetting(kAudioKey, "Balance"), 50);
}

TEST_F(PlayerTest, MissingBalanceStopsTheStartUp) {
  DeleteSetting(kAudioKey, "Balance");
  TLumorixMainForm& form = StartPlayer();
  ASSERT_EQ(errors.Boxes().size(), 1u);
  EXPECT_EQ(errors.Boxes()[0].text, L"Failed to get data for 'Balance'.");
  EXPECT_EQ(errors.Boxes()[0].title, L"Lumorix - settings");
  EXPECT_FALSE(form.Timer.Enabled());
  EXPECT_FALSE(form.FilterGraph()->Active());
  // Values after the failing one keep their design values.
  EXPECT_FALSE(form.PlayListVisible);
  form.Show();
  PumpFor(std::chrono::milliseconds(1300));
  EXPECT_TRUE(form.Visible());
}

TEST_F(PlayerTest, RateStoredAsAnIntegerIsAnInvalidType) {
  WriteSetting(kVideoKey, "Rate", EncodeInteger(2));
  TLumorixMainForm& form = StartPlayer();
  ASSERT_EQ(errors.Boxes().size(), 1u);
  EXPECT_EQ(errors.Boxes()[0].text, L"Invalid data type for 'Rate'.");
  EXPECT_FALSE(form.Timer.Enabled());
}

TEST_F(PlayerTest, MissingLanguageAndSkinGiveTheBuiltInLookWithoutFailure) {
  DeleteSetting(kSettingsKey, "Language");
  DeleteSetting(kSettingsKey, "Skin");
  TLumorixMainForm& form = StartPlayer();
  EXPECT_TRUE(errors.Boxes().empty()) << ErrorText(errors);
  EXPECT_TRUE(form.TB.Visible());
  EXPECT_TRUE(form.BtShowPlayList.Visible());
  EXPECT_FALSE(form.ImPlay.Visible());
}

namespace {
// A registry that refuses one write, as one without the rights to change the tree would.
class RefusingRegistry : public SettingsRegistry {
 public:
  explicit RefusingRegistry(std::string refused) : refused_(std::move(refused)) {}
  bool Write(const std::string& name, const RawValue& value) override {
    return name != refused_ && SettingsRegistry::Write(name, value);
  }

 private:
  std::string refused_;
};
}  // namespace

TEST_F(PlayerTest, RefusedSaveStopsTheCloseStepAndTheProgramGoesOn) {
  TLumorixMainForm& form = StartPlayer();
  ASSERT_TRUE(errors.Boxes().empty()) << ErrorText(errors);
  RefusingRegistry refusing("Volume");
  UseSettingsRegistry(&refusing);
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(form.ItExit.Id(), 0), 0);
  UseSettingsRegistry(nullptr);
  ASSERT_EQ(errors.Boxes().size(), 1u);
  EXPECT_EQ(errors.Boxes()[0].text, L"Failed to set data for 'Volume'.");
  EXPECT_FALSE(ui::Application::Instance().Terminated());
  EXPECT_TRUE(form.FilterGraph()->Active());
  EXPECT_EQ(ReadIntegerSetting(kAudioKey, "Volume"), 10000);  // nothing after the refusal was written

  // A later Exit tries again.
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(form.ItExit.Id(), 0), 0);
  EXPECT_TRUE(ui::Application::Instance().Terminated());
  EXPECT_EQ(ReadIntegerSetting(kAudioKey, "Volume"), 0);
}

TEST_F(PlayerTest, LogOffWithARefusedSaveNeitherVetoesNorShowsABox) {
  WritePlayList({"red.avi"});
  TLumorixMainForm& form = StartPlayer();
  ASSERT_TRUE(errors.Boxes().empty()) << ErrorText(errors);
  DeleteFileW(TLumorixPlayListForm::PlayListFileName().c_str());
  RefusingRegistry refusing("Volume");
  UseSettingsRegistry(&refusing);
  LRESULT answer = SendMessageW(form.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
  UseSettingsRegistry(nullptr);
  EXPECT_EQ(answer, 1);  // the log-off goes ahead
  EXPECT_TRUE(errors.Boxes().empty()) << ErrorText(errors);
  EXPECT_TRUE(ui::Application::Instance().Terminated());
  // The rest of the ending still ran: the playlist is saved and playback stopped.
  EXPECT_TRUE(GetFileAttributesW(TLumorixPlayListForm::PlayListFileName().c_str()) != INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(form.FilterGraph()->State(), 1);
}

TEST_F(PlayerTest, AUserWithoutSettingsStartsFromTheMachinesOnceAndKeepsTheirOwn) {
  DeleteSettingsTree();
  for (const SettingsDefault& value : InstallerDefaults(false))
    ASSERT_TRUE(RegistryKey::Create(HKEY_LOCAL_MACHINE, value.key).Write(value.name, value.value));
  // An earlier installation's setting, changed from the default.
  ASSERT_TRUE(RegistryKey::Create(HKEY_LOCAL_MACHINE, kAudioKey).Write("PlayListVisible", EncodeInteger(0)));
  TLumorixMainForm& form = StartPlayer();
  EXPECT_TRUE(errors.Boxes().empty()) << ErrorText(errors);
  EXPECT_EQ(form.ColorControlForm().TBBrightness.Position(), 75);
  EXPECT_FALSE(form.PlayListVisible) << "an earlier installation's settings come along";
  form.ColorControlForm().TBBrightness.SetPosition(300);
  form.ItExitClick();
  EXPECT_EQ(ReadIntegerSetting(kColorKey, "Brightness"), 300);
  EXPECT_EQ(DecodeInteger("Brightness", RegistryKey::Open(HKEY_LOCAL_MACHINE, kColorKey, KEY_READ).Read("Brightness")),
            75);

  player.reset();
  ui::Application::Instance().ClearTermination();
  EXPECT_EQ(StartPlayer().ColorControlForm().TBBrightness.Position(), 300);
}

TEST_F(PlayerTest, ShowOnIsKeptInTheSettingsKeyAndAnUnreadableOneIsThePrimaryMonitor) {
  WriteSetting(kSettingsKey, kShowOn, EncodeString("2"));  // not a DWORD: the primary, and no error
  TLumorixMainForm& form = StartPlayer();
  EXPECT_TRUE(errors.Boxes().empty());
  EXPECT_TRUE(form.ShowOnControl().ItShowOnPrimary.Checked());
  EXPECT_EQ(form.DSVideoWindowEx2.GetShowOn(), ShowOn::PrimaryMonitor);
  form.ShowOnControl().ItShowAcross.Click();
  EXPECT_FALSE(form.ShowOnControl().ItShowOnPrimary.Checked());
  EXPECT_EQ(form.DSVideoWindowEx2.GetShowOn(), ShowOn::AcrossMonitors);
  form.ItExitClick();
  EXPECT_EQ(ReadIntegerSetting(kSettingsKey, kShowOn), 2);
  player.reset();

  WriteSetting(kSettingsKey, kShowOn, EncodeInteger(1));
  TLumorixMainForm& again = StartPlayer();
  EXPECT_TRUE(again.ShowOnControl().ItShowOnEvery.Checked());
  EXPECT_EQ(again.DSVideoWindowEx2.GetShowOn(), ShowOn::EveryMonitor);
}
