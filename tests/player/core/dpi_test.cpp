// A display scaled to 150 % (the dpi144 session): the settings window is laid
// out at its monitor's DPI, its texts fit, and the shipped programs declare
// that they scale themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/player/core/player_fixture.h"
#include "tests/support/screen_capture.h"
#include "ui/dpi.h"
#include "ui/gdi.h"
#include "ui/scaled_font.h"

namespace lumorix::test {

namespace {

// As the manifest makes the player: aware of each monitor's DPI. Otherwise
// Windows would report 96 to the test and stretch its windows. (Wine makes
// every process aware already, so the call may be refused there.)
[[maybe_unused]] const bool perMonitorAware = [] {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  auto set = reinterpret_cast<SetContext>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  return set && set(reinterpret_cast<HANDLE>(-4));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
}();

// The settings window's client area at its own scale, read from the screen:
// the form's colour in the strip right of the sound and video boxes, which at
// 96 DPI ends at 575.
bool ScreenShowsScaledForm(const ui::Form& form) {
  POINT strip{852, 400};
  ClientToScreen(form.Handle(), &strip);
  ScreenShot shot;
  shot.Save("dpi144-settings");
  return Near(shot.Pixel(strip.x, strip.y), ui::ResolveColor(form.Color()), 8);
}

// A control's caption in its own font is as wide as it at most.
void ExpectCaptionFits(const ui::Window& control) {
  RECT client;
  GetClientRect(control.Handle(), &client);
  EXPECT_LE(ui::CaptionSize(control.Handle()).cx, client.right) << WindowText(control.Handle()).c_str();
}

// A check box of the design's fixed width: its caption beside the box runs
// over at 150 % by at most what it runs over at 100 %, scaled. (The design's
// widths were made for Windows' font; Wine's stand-in is a little wider.)
void ExpectCheckBoxScaledAsAt96(const ui::Window& control, int designWidth) {
  ui::ScaledFont font;
  const std::wstring text = WindowText(control.Handle());
  const int over96 = ui::SingleLineTextSize(control.Handle(), font.At(96), text).cx +
                     ui::SystemMetricForDpi(SM_CXMENUCHECK, 96) - designWidth;
  RECT client;
  GetClientRect(control.Handle(), &client);
  const int over144 = ui::CaptionSize(control.Handle()).cx + ui::SystemMetricForDpi(SM_CXMENUCHECK, 144) - client.right;
  EXPECT_LE(over144, std::max(0, over96 * 3 / 2) + 2) << text.c_str();
}

std::string ManifestOf(const std::wstring& program) {
  HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return {};
  std::string text;
  if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)))  // RT_MANIFEST
    if (HGLOBAL loaded = LoadResource(module, found))
      text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
  FreeLibrary(module);
  return text;
}

bool LargeAddressAware(const std::wstring& program) {
  HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return false;
  // A data file's handle is its base with the low bit set.
  auto base = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(module) & ~ULONG_PTR{3});
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  bool aware = (nt->FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE) != 0;
  FreeLibrary(module);
  return aware;
}

std::string SupportedSystems(const std::string& manifest) {
  std::string list;
  for (size_t at = manifest.find("supportedOS Id="); at != std::string::npos;
       at = manifest.find("supportedOS Id=", at + 1))
    list += manifest.substr(at + 16, 38);
  return list;
}

}  // namespace

TEST_F(PlayerTest, SettingsWindowIsLaidOutAtItsMonitorsScale) {
  ASSERT_EQ(ui::SystemDpi(), 144) << "the session's LogPixels did not reach Wine";
  TLumorixMainForm& form = StartPlayer();
  form.Timer.SetEnabled(false);  // the settings window stays up
  EXPECT_EQ(form.Dpi(), 144);
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, 863);  // 575 x 480 at 150 %
  EXPECT_EQ(client.bottom, 720);
  ui::Bounds preview = form.GBPreview.GetBounds();
  EXPECT_EQ(preview.left, 12);
  EXPECT_EQ(preview.width, 648);
  ui::Bounds video = form.DSVideoWindowEx2.GetBounds();
  EXPECT_EQ(video.width, 600);
  EXPECT_EQ(video.height, 450);
  const ui::Window* captioned[] = {&form.LBalance,       &form.LVolume,  &form.LRate,      &form.LTime,
                                   &form.LRateInd,       &form.LTimeInd, &form.BtRateDown, &form.BtRateUp,
                                   &form.BtShowPlayList, &form.BtSCC};
  for (const ui::Window* control : captioned) ExpectCaptionFits(*control);
  ExpectCheckBoxScaledAsAt96(form.CBRSS, 129);
  ExpectCheckBoxScaledAsAt96(form.CBRunWithStartUp, 129);
  form.Show();
  PumpFor(std::chrono::milliseconds(300));
  EXPECT_TRUE(ScreenShowsScaledForm(form));
}

TEST(ShippedPrograms, DeclareEachMonitorsDpiAndUseTheWholeAddressSpace) {
  const std::string player = ManifestOf(WindowsPath(LUMORIX_BUILD_DIR "/bin/Lumorix.exe"));
  ASSERT_NE(SupportedSystems(player), "");
  for (const char* name : {"Lumorix.exe", "LumorixSS.exe", "LumorixSetup.exe", "Uninstall.exe"}) {
    const std::wstring program = WindowsPath(std::string(LUMORIX_BUILD_DIR "/bin/") + name);
    const std::string manifest = ManifestOf(program);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos) << name;
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos) << name;
    EXPECT_EQ(SupportedSystems(manifest), SupportedSystems(player)) << name;
    EXPECT_TRUE(LargeAddressAware(program)) << name;
  }
}

}  // namespace lumorix::test
