// The notification-area icon: its record, tips, mouse handling and log-off answers.
#include "player/tray/tray_icon.h"

#include "tests/player/core/player_fixture.h"

using namespace lumorix;
using namespace lumorix::test;

TEST(TrayIcon, RecordInTheFirstLayoutWithTheTitleAsTip) {
  TTrayIcon icon;
  const TrayIconData& data = icon.IconData();
  EXPECT_EQ(data.cbSize, NOTIFYICONDATAA_V1_SIZE);  // 88 bytes in a 32-bit program
  EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(data.uCallbackMessage, static_cast<UINT>(WM_USER + 1));
  EXPECT_STREQ(data.szTip, "Lumorix - settings");
  EXPECT_TRUE(icon.Hint().empty());
}

TEST(TrayIcon, HintSetsTheTipCutTo63Characters) {
  TTrayIcon icon;
  icon.SetHint(std::string(100, 'h'));
  EXPECT_EQ(std::string(icon.IconData().szTip), std::string(63, 'h'));
  icon.SetHint("");
  EXPECT_FALSE(icon.IconData().uFlags & NIF_TIP);
  EXPECT_STREQ(icon.IconData().szTip, "");
}

TEST(TrayIcon, ClickOnlyWhenThePressWasOnTheIconToo) {
  TTrayIcon icon;
  int clicks = 0, ups = 0;
  icon.OnClick = [&] { ++clicks; };
  icon.OnMouseUp = [&](TrayButton button, TrayShift shift, int, int) {
    EXPECT_EQ(button, TrayButton::Left);
    EXPECT_TRUE(shift.left);
    ++ups;
  };
  SendMessageW(icon.WindowHandle(), WM_USER + 1, 0, WM_LBUTTONUP);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(ups, 1);
  SendMessageW(icon.WindowHandle(), WM_USER + 1, 0, WM_LBUTTONDOWN);
  SendMessageW(icon.WindowHandle(), WM_USER + 1, 0, WM_LBUTTONUP);
  EXPECT_EQ(clicks, 1);
  int doubles = 0;
  icon.OnDblClick = [&] { ++doubles; };
  SendMessageW(icon.WindowHandle(), WM_USER + 1, 0, WM_RBUTTONDBLCLK);
  EXPECT_EQ(doubles, 1);
}

TEST(TrayIcon, AnswersLogOffWithoutABoxAndEndsTheProgram) {
  ui::Application::Instance().ClearTermination();
  TTrayIcon icon;
  // A message box here would keep SendMessage from returning.
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(icon.WindowHandle(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 3000, &answer));
  EXPECT_EQ(answer, 1u);
  ASSERT_TRUE(SendMessageTimeoutW(icon.WindowHandle(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 3000, &answer));
  EXPECT_TRUE(ui::Application::Instance().Terminated());
  EXPECT_FALSE(icon.RemoveIcon());  // already gone
  ui::Application::Instance().ClearTermination();
}

TEST_F(PlayerTest, TrayMenuDrivesTransportAndExit) {
  WritePlayList({"red.avi", "blue.avi"});
  TLumorixMainForm& form = StartPlayer();
  ASSERT_NE(form.TrayIcon(), nullptr);
  EXPECT_EQ(form.TrayIcon()->PopupMenu(), &form.TrayPopup);
  ASSERT_TRUE(PumpUntil([&] { return form.FilterGraph()->State() == 3; }, std::chrono::milliseconds(5000)));
  form.ItPause.Click();
  EXPECT_EQ(form.FilterGraph()->State(), 2);
  form.ItPlay.Click();
  ASSERT_TRUE(PumpUntil([&] { return form.FilterGraph()->State() == 3; }, std::chrono::milliseconds(5000)));
  form.ItNext.Click();
  EXPECT_EQ(form.PlayingIndex, 1);
  form.ItOptions.Click();
  EXPECT_TRUE(form.Visible());
  form.ItExit.Click();
  EXPECT_TRUE(ui::Application::Instance().Terminated());
}
