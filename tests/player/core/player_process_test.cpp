// The real Lumorix.exe in its own process: what a user sees at start and at log-off.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "common/settings_layout.h"
#include "platform/text.h"
#include "tests/support/gui_test.h"
#include "tests/support/player_process.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/screen_capture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

struct BoxContents {
  std::wstring text;
  bool hasIcon = false;
};

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM data) {
  auto& contents = *reinterpret_cast<BoxContents*>(data);
  wchar_t className[32] = {};
  GetClassNameW(child, className, 32);
  if (std::wstring(className) != L"Static") return TRUE;
  if (GetWindowLongW(child, GWL_STYLE) & SS_ICON)
    contents.hasIcon = true;
  else if (!WindowText(child).empty())
    contents.text = WindowText(child);
  return TRUE;
}

}  // namespace

TEST(PlayerProcess, MissingBalanceShowsTheErrorBoxAndKeepsTheSettingsWindowUp) {
  SeedInstallerDefaults();
  DeleteSetting(kAudioKey, "Balance");
  PlayerProcess player;
  ASSERT_TRUE(player.Started());
  HWND box = WaitForWindow(L"#32770", L"Lumorix - settings", milliseconds(20000));
  ASSERT_NE(box, nullptr);
  BoxContents contents;
  EnumChildWindows(box, ReadBoxChild, reinterpret_cast<LPARAM>(&contents));
  EXPECT_EQ(contents.text, L"Failed to get data for 'Balance'.");
  EXPECT_TRUE(contents.hasIcon);
  PostMessageW(box, WM_COMMAND, IDOK, 0);

  HWND settings = WaitForWindow(L"TLumorixMainForm", L"Lumorix - Settings", milliseconds(10000));
  ASSERT_NE(settings, nullptr);
  PumpFor(milliseconds(2500));  // past both start-up timers
  EXPECT_TRUE(IsWindowVisible(settings));
}

TEST(PlayerProcess, GoesToTheTrayAfterOneSecondAndSavesAtLogOff) {
  SeedInstallerDefaults();
  PlayerProcess player;
  ASSERT_TRUE(player.Started());
  HWND settings = WaitForWindow(L"TLumorixMainForm", L"Lumorix - Settings", milliseconds(20000));
  ASSERT_NE(settings, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(settings); }, milliseconds(10000)));
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(settings); }, milliseconds(10000)));

  DWORD_PTR answer = 0;
  LRESULT sent = SendMessageTimeoutW(settings, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer);
  EXPECT_NE(sent, 0) << GetLastError();
  EXPECT_EQ(answer, 1u);
  EXPECT_TRUE(player.WaitForExit(10000));
  // The installer's 10000 is beyond the volume slider; the save writes the clamped value.
  EXPECT_EQ(ReadIntegerSetting(kAudioKey, "Volume"), 0);
}

namespace {

BOOL CALLBACK CountShownPictures(HWND child, LPARAM data) {
  wchar_t className[32] = {};
  GetClassNameW(child, className, 32);
  if (std::wstring(className) == L"LumorixPicture" && (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE))
    ++*reinterpret_cast<int*>(data);
  return TRUE;
}

}  // namespace

TEST(PlayerProcess, StoredSkinIsAppliedAtStart) {
  SeedInstallerDefaults();
  const std::string bin = std::string(LUMORIX_BUILD_DIR) + "/bin/";
  WriteSetting(kSettingsKey, "Skin", EncodeString(WideToAnsi(WindowsPath(bin + "Skins/Radorur.skn/Skin.ini"))));
  PlayerProcess player;
  ASSERT_TRUE(player.Started());
  HWND settings = WaitForWindow(L"TLumorixMainForm", L"Lumorix - Settings", milliseconds(20000));
  ASSERT_NE(settings, nullptr);

  // The settings load applies the stored skin: the seven pictures instead of the plain tool bar.
  int pictures = 0;
  EXPECT_TRUE(PumpUntil(
      [&] {
        pictures = 0;
        EnumChildWindows(settings, CountShownPictures, reinterpret_cast<LPARAM>(&pictures));
        return pictures == 7;
      },
      milliseconds(10000)))
      << pictures;
  player.Kill();
}

// The window answers within `limit`, as a window whose thread is not stuck does.
static bool Answers(HWND window, milliseconds limit) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(limit.count()), &result) != 0;
}

TEST(PlayerProcess, MovesOnFromAClipWithSoundAndKeepsAnswering) {
  SeedInstallerDefaults();
  WriteSetting(kAudioKey, "PlayListVisible", EncodeInteger(0));
  WritePlayerPlayList({"tone3.avi", "blue.avi", "tone3.avi"});
  PlayerProcess player;
  ASSERT_TRUE(player.Started());
  HWND settings = WaitForWindow(L"TLumorixMainForm", L"Lumorix - Settings", milliseconds(20000));
  ASSERT_NE(settings, nullptr);
  // Green with sound for three seconds (five, with the resume step's seek to
  // the saved second 0 at two), blue without for two, then green again. A
  // graph call may hold the window up for its bounded wait, never longer.
  std::vector<char> seen;
  auto end = std::chrono::steady_clock::now() + milliseconds(20000);
  while (std::chrono::steady_clock::now() < end && seen.size() < 3) {
    ASSERT_TRUE(Answers(settings, milliseconds(4000))) << "the player stopped answering";
    COLORREF centre = ScreenShot().Pixel(512, 300);
    char colour = Near(centre, RGB(0, 128, 0), 60) ? 'g' : Near(centre, RGB(0, 0, 255)) ? 'b' : 0;
    if (colour && (seen.empty() || seen.back() != colour)) seen.push_back(colour);
    PumpFor(milliseconds(200));
  }
  if (std::string(seen.begin(), seen.end()) != "gbg") ScreenShot().Save("moves-on-from-sound");
  EXPECT_EQ(std::string(seen.begin(), seen.end()), "gbg") << "the desktop did not follow the playlist";
  EXPECT_EQ(FindWindowW(L"#32770", L"Lumorix - settings"), nullptr) << "an error box";
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(settings, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer);
  EXPECT_TRUE(player.WaitForExit(10000));
}

namespace {

// Files dropped beside the built player, its own shipped ones untouched, and removed again.
struct DroppedFiles {
  std::vector<std::filesystem::path> written;
  ~DroppedFiles() {
    std::error_code ignored;
    for (const std::filesystem::path& path : written) {
      std::filesystem::remove(path, ignored);
      std::filesystem::remove(path.parent_path(), ignored);  // only when that left it empty
    }
  }
  std::wstring Write(const std::wstring& relative, const std::string& contents) {
    written.push_back(WindowsPath(LUMORIX_BUILD_DIR "/bin/") + relative);
    std::filesystem::create_directories(written.back().parent_path());
    std::ofstream(written.back(), std::ios::binary).write(contents.data(), contents.size());
    return written.back().wstring();
  }
};

// A PNG whose header, checksum and all, claims `side` x `side` RGBA pixels, with no picture data after it.
std::string PngClaiming(uint32_t side) {
  std::string header = std::string("IHDR", 4);
  for (uint32_t value : {side, side})
    for (int shift = 24; shift >= 0; shift -= 8) header += static_cast<char>(value >> shift & 0xFF);
  header += std::string("\x08\x06\0\0\0", 5);
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(header.data()), static_cast<uInt>(header.size()));
  std::string png = std::string("\x89PNG\r\n\x1A\n\0\0\0\x0D", 12) + header;
  for (int shift = 24; shift >= 0; shift -= 8) png += static_cast<char>(crc >> shift & 0xFF);
  return png;
}

BOOL CALLBACK CollectTexts(HWND child, LPARAM data) {
  reinterpret_cast<std::vector<std::wstring>*>(data)->push_back(WindowText(child));
  return TRUE;
}

}  // namespace

// Skins and languages from anywhere: neither a huge file nor a picture that
// claims a gigabyte keeps the clip from playing at start.
TEST(PlayerProcess, HostileSkinsAndLanguagesLeavePlaybackGoing) {
  DroppedFiles files;
  // 64 MB of one short key after another, each of which a reader keeping every key would store.
  std::string lines = "[Info]\r\nName=Huge\r\n", block;
  for (int i = 0; i < 4096; ++i) block += "a=\n";
  while (lines.size() < (64u << 20)) lines += block;
  lines.resize(64u << 20);
  const std::wstring huge = files.Write(L"Skins\\Huge.skn\\Skin.ini", lines);
  const std::wstring vast = files.Write(L"Skins\\Vast.skn\\Skin.ini", "[Info]\nName=Vast\n");
  const std::wstring picture = files.Write(L"Skins\\Vast.skn\\Previous.png", PngClaiming(16384));
  std::u16string greek = u"\uFEFF[GBVideo]\r\nGBVideo=\u0392\u03AF\u03BD\u03C4\u03B5\u03BF\r\n";
  const std::wstring unicode =
      files.Write(L"Languages\\Greek.ini", std::string(reinterpret_cast<const char*>(greek.data()), greek.size() * 2));
  struct Case {
    const char* name;
    std::wstring skin, language, box, caption;
  };
  const Case cases[] = {
      {"64 MB Skin.ini", huge, L"", L"Cannot open file " + huge + L".", L""},
      {"PNG of 16384 x 16384", vast, L"",
       L"Picture " + picture + L" is too large (16384 x 16384 pixels; a skin's " +
           L"pictures have at most 1024 a side).",
       L""},
      {"UTF-16 language", L"", unicode, L"", L"\u0392\u03AF\u03BD\u03C4\u03B5\u03BF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SeedInstallerDefaults();
    WriteSetting(kSettingsKey, "Skin", EncodeString(WideToAnsi(c.skin)));
    WriteSetting(kSettingsKey, "Language", EncodeString(WideToAnsi(c.language)));
    WritePlayerPlayList({"blue.avi"});
    PlayerProcess player;
    HWND settings = WaitForWindow(L"TLumorixMainForm", L"Lumorix - Settings", milliseconds(20000));
    ASSERT_NE(settings, nullptr);
    HWND box = WaitForWindow(L"#32770", L"Lumorix - settings", milliseconds(c.box.empty() ? 1500 : 10000));
    BoxContents contents;
    if (box) EnumChildWindows(box, ReadBoxChild, reinterpret_cast<LPARAM>(&contents));
    EXPECT_EQ(contents.text, c.box);
    std::vector<std::wstring> texts;
    EnumChildWindows(settings, CollectTexts, reinterpret_cast<LPARAM>(&texts));
    if (!c.caption.empty()) {
      EXPECT_NE(std::find(texts.begin(), texts.end(), c.caption), texts.end());
    }
    // The clip plays on the desktop, the box (if any) still up.
    EXPECT_TRUE(PumpUntil([] { return Near(ScreenShot().Pixel(40, 40), RGB(0, 0, 255)); }, milliseconds(15000)));
  }
}

// A wallpaper that starts with Windows whose first clip is gone: the box says
// so, and behind it the start goes on to the desktop with the next entry.
TEST(PlayerProcess, StartGoesOnToTheDesktopBehindTheBoxOfAClipThatIsGone) {
  SeedInstallerDefaults();
  WriteSetting(kAudioKey, "PlayListVisible", EncodeInteger(0));
  WritePlayerPlayList({"gone-before-the-start.avi", "red-long.avi"});
  // The next start must not meet the lost clip's box.
  struct EmptiedAfter {
    ~EmptiedAfter() { WritePlayerPlayList({}); }
  } emptied;
  PlayerProcess player;
  ASSERT_TRUE(player.Started());
  HWND box = WaitForWindow(L"#32770", L"Lumorix - settings", milliseconds(20000));
  ASSERT_NE(box, nullptr);
  HWND settings = FindWindowW(L"TLumorixMainForm", L"Lumorix - Settings");
  ASSERT_NE(settings, nullptr);
  auto onDesktop = [&] { return !IsWindowVisible(settings) && Near(ScreenShot().Pixel(512, 300), RGB(255, 0, 0)); };
  EXPECT_TRUE(PumpUntil(onDesktop, milliseconds(5000))) << "the box held the start up";
  EXPECT_TRUE(IsWindow(box));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(box); }, milliseconds(3000)));
  PumpFor(milliseconds(1500));
  if (!onDesktop()) ScreenShot().Save("start-behind-the-box");
  EXPECT_TRUE(onDesktop());
  EXPECT_EQ(FindWindowW(L"#32770", L"Lumorix - settings"), nullptr) << "one box for the one clip";
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(settings, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer);
  EXPECT_TRUE(player.WaitForExit(10000));
}
