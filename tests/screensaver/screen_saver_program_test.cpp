// The real LumorixSS.exe started as the system starts a screen saver: what
// it sends, what it shows without a player, and its exit code.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/gui_test.h"
#include "tests/support/player_process.h"
#include "tests/support/screen_capture.h"

using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

constexpr UINT kScreenSaverCommand = WM_USER + 100;

struct Received {
  WPARAM command;
  LPARAM parameter;
  bool operator==(const Received&) const = default;
};

std::vector<Received> received;

LRESULT CALLBACK RecordCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kScreenSaverCommand) {
    received.push_back({wParam, lParam});
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A window of the player's class that writes down the commands it gets. The
// real player ignores the preview's handle, so only a stand-in shows which
// number arrived.
class CommandRecorder {
 public:
  CommandRecorder() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = RecordCommands;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TLumorixMainForm";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, L"TLumorixMainForm", L"stand-in", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    received.clear();
  }
  ~CommandRecorder() {
    DestroyWindow(window_);
    UnregisterClassW(L"TLumorixMainForm", GetModuleHandleW(nullptr));
  }
  HWND Window() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// One command line, the exit code and what reached the player's window.
void ExpectSent(const std::wstring& arguments, Received expected) {
  received.clear();
  EXPECT_EQ(RunScreenSaver(arguments), 0u)
      << "exit code for '" << std::string(arguments.begin(), arguments.end()) << "'";
  ASSERT_EQ(received.size(), 1u) << std::string(arguments.begin(), arguments.end());
  EXPECT_EQ(received[0], expected) << std::string(arguments.begin(), arguments.end()) << " sent " << received[0].command
                                   << ", " << received[0].parameter;
}

struct BoxContents {
  std::wstring text;
  HWND icon = nullptr;
  HWND okButton = nullptr;
};

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM data) {
  auto& contents = *reinterpret_cast<BoxContents*>(data);
  wchar_t className[32] = {};
  GetClassNameW(child, className, 32);
  if (std::wstring(className) == L"Button") {
    if (GetDlgCtrlID(child) == IDOK) contents.okButton = child;
  } else if (std::wstring(className) == L"Static") {
    if (GetWindowLongW(child, GWL_STYLE) & SS_ICON)
      contents.icon = child;
    else if (!WindowText(child).empty())
      contents.text = WindowText(child);
  }
  return TRUE;
}

// How many pixels of the icon shown on screen match `icon` drawn here the
// same way, on the colour the box shows in the icon's corner.
double IconLikeness(const ScreenShot& screen, const RECT& place, LPCWSTR icon) {
  int size = GetSystemMetrics(SM_CXICON);
  HDC screenDc = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screenDc);
  HBITMAP bitmap = CreateCompatibleBitmap(screenDc, size, size);
  HGDIOBJ old = SelectObject(memory, bitmap);
  HBRUSH background = CreateSolidBrush(screen.Pixel(place.left, place.top));
  RECT all{0, 0, size, size};
  FillRect(memory, &all, background);
  DrawIconEx(memory, 0, 0, LoadIconW(nullptr, icon), size, size, 0, nullptr, DI_NORMAL);
  int same = 0;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (Near(screen.Pixel(place.left + x, place.top + y), GetPixel(memory, x, y), 8)) ++same;
  SelectObject(memory, old);
  DeleteObject(background);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screenDc);
  return static_cast<double>(same) / (size * size);
}

}  // namespace

TEST(ScreenSaverProgram, EachCommandLineSendsItsCommand) {
  CommandRecorder player;
  ASSERT_NE(player.Window(), nullptr);
  ExpectSent(L"/s", {0, 0});
  ExpectSent(L"-S", {0, 0});
  ExpectSent(L"", {0, 0});
  ExpectSent(L"/c", {1, 0});
  ExpectSent(L"\"-C\"", {1, 0});
  ExpectSent(L"/c:1234", {0, 0});
  ExpectSent(L"c", {0, 0});
  ExpectSent(L"/p 1234", {2, 1234});
  ExpectSent(L"/p $4D2", {2, 1234});
  ExpectSent(L"/p 0x4d2", {2, 1234});
  ExpectSent(L"/a", {3, 0});
}

TEST(ScreenSaverProgram, WithoutThePlayerTellsTheUserToRunIt) {
  ASSERT_EQ(FindWindowW(L"TLumorixMainForm", nullptr), nullptr);
  std::wstring program = ScreenSaverProgram();
  ChildProcess screenSaver(program, L"\"" + program + L"\" /s");
  ASSERT_TRUE(screenSaver.Started());
  HWND box = WaitForWindow(L"#32770", L"Lumorix Screen Saver", milliseconds(10000));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
  BoxContents contents;
  EnumChildWindows(box, ReadBoxChild, reinterpret_cast<LPARAM>(&contents));
  EXPECT_EQ(contents.text, L"Please, run Lumorix");
  ASSERT_NE(contents.icon, nullptr);
  EXPECT_NE(contents.okButton, nullptr);

  // The icon as the box shows it: the error icon, and not one of the others.
  PumpFor(milliseconds(300));
  RECT place;
  GetWindowRect(contents.icon, &place);
  ScreenShot screen;
  screen.Save("screen-saver-no-player");
  double error = IconLikeness(screen, place, IDI_ERROR);
  EXPECT_GT(error, 0.9);
  EXPECT_GT(error, IconLikeness(screen, place, IDI_WARNING));
  EXPECT_GT(error, IconLikeness(screen, place, IDI_INFORMATION));

  EXPECT_TRUE(screenSaver.Running()) << "the program waits for the box";
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(screenSaver.WaitForExit(milliseconds(10000)), 0u);
}
