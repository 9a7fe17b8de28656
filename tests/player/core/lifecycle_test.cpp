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

TEST_F(PlayerTest, LogOffKeepsTheCompanionWindowsForTheNextStart) {
  WriteSetting(kAudioKey, "PlayListVisible", EncodeInteger(0));
  TLumorixMainForm& form = StartPlayer();
  form.RunSettings();
  form.PlayList1.Click();
  form.ColorControl1.Click();
  ASSERT_TRUE(form.PlayListVisible && form.ColorControlVisible);
  // Windows asks every top-level window, the companions too, before the settings window.
  EXPECT_EQ(SendMessageW(form.PlayListForm().Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 1);
  EXPECT_EQ(SendMessageW(form.ColorControlForm().Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 1);
  EXPECT_EQ(SendMessageW(form.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 1);
  EXPECT_TRUE(ui::Application::Instance().Terminated());
  EXPECT_EQ(ReadIntegerSetting(kAudioKey, "PlayListVisible"), 1);
  EXPECT_EQ(ReadIntegerSetting(kAudioKey, "ColorControlVisible"), 1);
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

namespace {

// A notification area that refuses every icon: a stand-in for a shell without
// one (Wine's always takes icons). The shell's icon call asks the first
// top-level window of this class; a top-most one made last is that window.
class RefusingTray {
 public:
  RefusingTray() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Refuse;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Shell_TrayWnd";
    RegisterClassExW(&windowClass);
    window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                              nullptr, nullptr, nullptr);
  }
  ~RefusingTray() { DestroyWindow(window_); }
  static LRESULT CALLBACK Refuse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_COPYDATA ? FALSE : DefWindowProcW(window, message, wParam, lParam);
  }
  bool First() const { return FindWindowW(L"Shell_TrayWnd", nullptr) == window_; }

 private:
  HWND window_;
};

}  // namespace

TEST_F(PlayerTest, AfterAStartThatStoppedEarlyEveryActionIsSafe) {
  WritePlayList({"red.avi"});
  TLumorixMainForm* form = nullptr;
  {
    RefusingTray tray;
    ASSERT_TRUE(tray.First());
    form = &StartPlayer();
  }
  ASSERT_EQ(errors.Boxes().size(), 1u);
  EXPECT_EQ(errors.Boxes()[0].text, L"Cannot create shell notification icon.");
  EXPECT_FALSE(form->Timer.Enabled());  // the start step never comes: the settings window stays up

  // Neither the companions nor the hint exist: each action does nothing.
  form->TBVolume.SetPosition(-5000);
  form->TBBalance.SetPosition(20);
  form->PlayList1.Click();
  form->ColorControl1.Click();
  form->ImCC.OnClick();
  form->BtNextClick();
  form->BtPreviousClick();
  form->ItPlayClick();
  SendMessageW(form->Handle(), WM_SCREENSAVERCOMMAND, 1, 0);
  PumpFor(milliseconds(200));
  EXPECT_EQ(errors.Boxes().size(), 1u);
  EXPECT_FALSE(form->PlayListVisible);
  EXPECT_FALSE(form->ColorControlVisible);
  EXPECT_EQ(form->FilterGraph()->State(), 0);  // nothing plays
}
