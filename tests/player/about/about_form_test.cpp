// The about window: its controls, fonts and colours, the logo, the Windows
// version line, the link and the way back to the settings window.
#include "player/about/about_form.h"

#include "platform/text.h"
#include "player/core/program_icon.h"
#include "player/tray/tray_icon.h"
#include "tests/player/core/player_fixture.h"
#include "tests/support/screen_capture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

LOGFONTW FontOf(const ui::Window& window) {
  LOGFONTW font{};
  HFONT handle = reinterpret_cast<HFONT>(SendMessageW(window.Handle(), WM_GETFONT, 0, 0));
  GetObjectW(handle, sizeof font, &font);
  return font;
}

COLORREF ScreenPixel(const ui::Window& window, int x, int y) {
  POINT point{x, y};
  ClientToScreen(window.Handle(), &point);
  return ScreenShot().Pixel(point.x, point.y);
}

class AboutTest : public PlayerTest {
 protected:
  TlumorixAboutForm& StartWithAbout() {
    TLumorixMainForm& form = StartPlayer();
    form.Timer.SetEnabled(false);
    about = std::make_unique<TlumorixAboutForm>(form);
    form.AboutForm = about.get();
    return *about;
  }
  void TearDown() override {
    about.reset();
    PlayerTest::TearDown();
  }
  std::unique_ptr<TlumorixAboutForm> about;
};

}  // namespace

TEST_F(AboutTest, ControlsInTheirPlacesWithTheirTexts) {
  TlumorixAboutForm& form = StartWithAbout();
  EXPECT_EQ(form.Text(), L"About");
  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, 243);
  EXPECT_EQ(client.bottom, 268);
  EXPECT_EQ(form.Label1.Text(), L"Version: 1.1");
  EXPECT_EQ(form.Label5.Text(), L"Lumorix");
  EXPECT_EQ(form.BtOk.Text(), L"Ok");
  ui::Bounds logo = form.LumorixLogo.GetBounds();
  EXPECT_EQ(logo.left, 16);
  EXPECT_EQ(logo.top, 104);
  EXPECT_EQ(logo.width, 48);
  EXPECT_EQ(logo.height, 48);
  EXPECT_EQ(form.Bevel2.GetBounds().width, 225);
  EXPECT_EQ(form.Label4.Left(), 80);
  EXPECT_EQ(form.Label4.Top(), 160);
  EXPECT_EQ(form.LWinInfo.Top(), 192);
  EXPECT_FALSE(form.Visible());
}

TEST_F(AboutTest, FontsAndColoursOfTheLabels) {
  TlumorixAboutForm& form = StartWithAbout();
  for (const ui::Label* label : {&form.Label1, &form.Label2, &form.Label3, &form.Label5}) {
    LOGFONTW font = FontOf(*label);
    EXPECT_STREQ(font.lfFaceName, L"Arial Black");
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfCharSet, RUSSIAN_CHARSET);
  }
  LOGFONTW link = FontOf(form.Label4);
  EXPECT_STREQ(link.lfFaceName, L"MS Sans Serif");
  EXPECT_EQ(link.lfHeight, -11);
  EXPECT_EQ(link.lfWeight, FW_BOLD);
  EXPECT_TRUE(link.lfUnderline);

  form.Show();
  form.Repaint();
  PumpFor(milliseconds(200));
  // The window in the desktop's colour, the labels on the tooltip colour.
  EXPECT_EQ(ScreenPixel(form, 4, 4), GetSysColor(COLOR_BACKGROUND));
  EXPECT_EQ(ScreenPixel(form.Label1, 0, 0), GetSysColor(COLOR_INFOBK));
  EXPECT_EQ(ScreenPixel(form.LWinInfo, 0, 0), GetSysColor(COLOR_INFOBK));
  // Some of the link's text is blue.
  bool blue = false;
  for (int x = 0; x < form.Label4.Width() && !blue; ++x)
    for (int y = 0; y < form.Label4.Height() && !blue; ++y) blue = ScreenPixel(form.Label4, x, y) == RGB(0, 0, 255);
  EXPECT_TRUE(blue);
}

TEST_F(AboutTest, LogoIsDrawnWithItsTransparency) {
  TlumorixAboutForm& form = StartWithAbout();
  ASSERT_TRUE(form.LumorixLogo.HasBitmap());
  form.Show();
  form.Repaint();
  PumpFor(milliseconds(200));
  ScreenShot shot;
  POINT corner{0, 0}, middle{24, 24};
  ClientToScreen(form.LumorixLogo.Handle(), &corner);
  ClientToScreen(form.LumorixLogo.Handle(), &middle);
  EXPECT_EQ(shot.Pixel(corner.x, corner.y), GetSysColor(COLOR_BACKGROUND));
  EXPECT_NE(shot.Pixel(middle.x, middle.y), GetSysColor(COLOR_BACKGROUND));
  shot.Save("about-window");
}

TEST_F(AboutTest, VersionLineNamesTheRealWindowsVersion) {
  TlumorixAboutForm& form = StartWithAbout();
  form.Show();
  std::wstring line = form.LWinInfo.Text();
  WindowsVersion real = RunningWindowsVersion();
  EXPECT_EQ(line, AnsiToWide(WindowsVersionLine(real)));
  // The system itself, not the 6.2 that GetVersionEx reports to programs without a manifest.
  using RtlGetVersionProc = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto getVersion = reinterpret_cast<RtlGetVersionProc>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW system{};
  system.dwOSVersionInfoSize = sizeof system;
  ASSERT_EQ(getVersion(&system), 0);
  EXPECT_EQ(real.major, system.dwMajorVersion);
  EXPECT_EQ(real.build, system.dwBuildNumber);
  EXPECT_NE(line.substr(0, 8), L" (Build ") << Narrow(line);
}

TEST_F(AboutTest, OkBringsTheSettingsWindowBack) {
  TlumorixAboutForm& form = StartWithAbout();
  player->RunSettings();
  player->About.Click();
  EXPECT_TRUE(form.Visible());
  EXPECT_FALSE(player->Visible());
  form.BtOk.Click();
  EXPECT_FALSE(form.Visible());
  EXPECT_TRUE(player->Visible());
}

TEST_F(AboutTest, CloseBoxLeavesThePlayerInTheTray) {
  TlumorixAboutForm& form = StartWithAbout();
  player->RunSettings();
  player->About.Click();
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(player->Visible());
  EXPECT_FALSE(ui::Application::Instance().Terminated());
}

TEST_F(AboutTest, LinkOpensTheMakersAddressWithAHandCursor) {
  TlumorixAboutForm& form = StartWithAbout();
  // Stands in for the shell, which would start a browser.
  std::vector<std::wstring> opened;
  form.OpenAddress = [&](HWND owner, const wchar_t* address) {
    EXPECT_EQ(owner, form.Handle());
    opened.push_back(address);
  };
  form.Show();
  SendMessageW(form.Label4.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(form.Label4.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], TlumorixAboutForm::MakerAddress);
  SendMessageW(form.Label4.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.Label4.Handle()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

namespace {

// An icon drawn over black at 32 x 32.
std::vector<COLORREF> IconPixels(HICON icon) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 32, 32);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, canvas);
  RECT all{0, 0, 32, 32};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) pixels.push_back(GetPixel(dc, x, y));
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
  return pixels;
}

}  // namespace

TEST_F(PlayerTest, WindowsAndTrayShowTheProgramIconOfTheResources) {
  // This test program carries the player's icon resource as the player does.
  HICON icon = ProgramIcon();
  ASSERT_NE(icon, nullptr);
  HICON resource = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 32, 32, 0));
  ASSERT_NE(resource, nullptr);
  ui::Application::Instance().SetIcon(icon);
  TLumorixMainForm& form = StartPlayer();
  TlumorixAboutForm about(form);
  ui::Application::Instance().SetIcon(nullptr);
  for (HWND window : {form.Handle(), about.Handle()})
    EXPECT_EQ(IconPixels(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0))), IconPixels(resource));
  ASSERT_NE(form.TrayIcon(), nullptr);
  EXPECT_EQ(IconPixels(form.TrayIcon()->Icon()), IconPixels(resource));
  DestroyIcon(resource);
}
