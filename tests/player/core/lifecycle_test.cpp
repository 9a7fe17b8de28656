// Start-up steps, hiding to the tray, companion windows and the ends of the program.
#include "common/settings_layout.h"
#include "player/colour/color_control_form.h"
#include "player/playlist/playlist_form.h"
#include "tests/player/core/player_fixture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

TEST_F(PlayerTest, StartStepHidesTheWindowAndResumeStepFollows) {
  TLumorixMainForm& form = StartPlayer();
  form.Show();
  EXPECT_TRUE(form.Visible());
  ASSERT_TRUE(PumpUntil([&] { return !form.Visible(); }, milliseconds(3000)));
  EXPECT_FALSE(form.Timer.Enabled());
  EXPECT_TRUE(form.Timer2.Enabled());
  ASSERT_TRUE(PumpUntil([&] { return !form.Timer2.Enabled(); }, milliseconds(3000)));
}

TEST_F(PlayerTest, CloseBoxHidesTheWindowAndKeepsTheProgramRunning) {
  TLumorixMainForm& form = StartPlayer();
  form.RunSettings();
  EXPECT_TRUE(form.PlayListForm().Visible());  // the installer has the playlist window shown
  form.TBBalance.SetPosition(30);
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(form.PlayListForm().Visible());
  EXPECT_TRUE(form.PlayListVisible);  // it comes back with the settings window
  EXPECT_FALSE(ui::Application::Instance().Terminated());
  EXPECT_EQ(ReadIntegerSetting(kAudioKey, "Balance"), 0);  // nothing is saved before Exit
  form.RunSettings();
  EXPECT_TRUE(form.PlayListForm().Visible());
}

TEST_F(PlayerTest, ExitSavesAndEnds) {
  TLumorixMainForm& form = StartPlayer();
  form.TBBalance.SetPosition(-40);
  form.ItExit.Click();
  EXPECT_TRUE(ui::Application::Instance().Terminated());
  EXPECT_EQ(ReadIntegerSetting(kAudioKey, "Balance"), -40);
}

TEST_F(PlayerTest, LogOffSavesAndEnds) {
  TLumorixMainForm& form = StartPlayer();
  form.Show();
  ASSERT_TRUE(PumpUntil([&] { return !form.Timer2.Enabled() && !form.Visible(); }, milliseconds(5000)));
  form.TBBalance.SetPosition(25);
  LRESULT answer = SendMessageW(form.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
  EXPECT_EQ(answer, 1);
  EXPECT_TRUE(form.ExitRequested);
  EXPECT_TRUE(ui::Application::Instance().Terminated());
  EXPECT_EQ(ReadIntegerSetting(kAudioKey, "Balance"), 25);
}

TEST_F(PlayerTest, CompanionWindowTogglesRememberTheirVisibility) {
  TLumorixMainForm& form = StartPlayer();
  form.RunSettings();
  EXPECT_FALSE(form.ColorControlForm().Visible());
  form.ColorControl1.Click();
  EXPECT_TRUE(form.ColorControlForm().Visible());
  EXPECT_TRUE(form.ColorControlVisible);
  form.BtSCC.Click();
  EXPECT_FALSE(form.ColorControlForm().Visible());
  EXPECT_FALSE(form.ColorControlVisible);

  // The playlist window's own close box clears its flag.
  SendMessageW(form.PlayListForm().Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form.PlayListForm().Visible());
  EXPECT_FALSE(form.PlayListVisible);
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  form.RunSettings();
  EXPECT_FALSE(form.PlayListForm().Visible());
}

TEST_F(PlayerTest, SlidersPopTheHintWithTheirTexts) {
  TLumorixMainForm& form = StartPlayer();
  HWND hint = FindWindowW(L"LumorixHint", nullptr);
  ASSERT_NE(hint, nullptr);
  EXPECT_FALSE(IsWindowVisible(hint));  // the load's hint is hidden again by the create step
  form.TBBalance.SetPosition(50);
  EXPECT_TRUE(IsWindowVisible(hint));
  EXPECT_EQ(WindowText(hint), L"Left: 0% - Right: 100%");
  EXPECT_EQ(form.FilterGraph()->Balance(), 5000);
  form.TBVolume.SetPosition(-10000);
  EXPECT_EQ(WindowText(hint), L"100");
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(hint); }, milliseconds(3000)));
}

TEST_F(PlayerTest, MenusCarryTheirCaptionsShortcutsAndMarks) {
  TLumorixMainForm& form = StartPlayer();
  EXPECT_EQ(form.Open.Caption(), L"&Open");
  EXPECT_EQ(form.Open.GetShortcut().Text(), L"Ctrl+O");
  EXPECT_TRUE(form.Defoult1.Default());
  EXPECT_EQ(form.StandartWindows1.GetShortcut().Text(), L"Shift+W");
  EXPECT_FALSE(form.ItPlay.Visible());
  EXPECT_TRUE(form.ItPause.Visible());
  EXPECT_TRUE(form.ItOptions.Default());
  EXPECT_EQ(GetMenuItemCount(form.TrayPopup.Handle()), 10);  // eleven items, "&Play" hidden
  EXPECT_EQ(GetMenuItemCount(GetMenu(form.Handle())), 5);
}

TEST_F(PlayerTest, SettingsWindowHasItsDesign) {
  TLumorixMainForm& form = StartPlayer();
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, 575);
  EXPECT_EQ(client.bottom, 480);
  EXPECT_EQ(WindowText(form.Handle()), L"Lumorix - Settings");
  wchar_t className[64] = {};
  GetClassNameW(form.Handle(), className, 64);
  EXPECT_STREQ(className, L"TLumorixMainForm");
  ui::Bounds preview = form.DSVideoWindowEx2.GetBounds();
  EXPECT_EQ(preview.left, 16);
  EXPECT_EQ(preview.top, 16);
  EXPECT_EQ(preview.width, 400);
  EXPECT_EQ(preview.height, 300);
  EXPECT_EQ(form.TBVolume.Min(), -10000);
  EXPECT_EQ(form.TBVolume.Max(), 0);
  EXPECT_EQ(form.TBBalance.Min(), -50);
  EXPECT_EQ(form.LTimeInd.Text(), L"0 / 0");
  EXPECT_EQ(WindowText(form.PlayListForm().Handle()), L"PlayList");
  EXPECT_EQ(WindowText(form.ColorControlForm().Handle()), L"Color Control");
}
