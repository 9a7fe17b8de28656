// The player with clips only Media Foundation reads here: the time read-out,
// the seek bar, moving on at the end of a clip, and the picture on the desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/settings_layout.h"
#include "player/engine/mf/mf_render.h"
#include "tests/player/core/player_fixture.h"
#include "tests/support/desktop_look.h"
#include "tests/support/media.h"
#include "tests/support/player_process.h"
#include "tests/support/screen_capture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

bool PlaysThroughMediaFoundation(TLumorixMainForm& form) {
  ComPtr<IBaseFilter> source;
  auto graph = form.FilterGraph()->Query<IFilterGraph>();
  return graph && SUCCEEDED(graph->FindFilterByName(engine::kMfSourceName, &source));
}

// The seeking of the Media Foundation source's pin: where its stream is.
ComPtr<IMediaSeeking> SourcePinSeeking(TLumorixMainForm& form, const wchar_t* pinName) {
  ComPtr<IBaseFilter> source;
  ComPtr<IPin> pin;
  ComPtr<IMediaSeeking> seeking;
  auto graph = form.FilterGraph()->Query<IFilterGraph>();
  if (graph && SUCCEEDED(graph->FindFilterByName(engine::kMfSourceName, &source)) &&
      SUCCEEDED(source->FindPin(pinName, &pin)))
    (void)pin.As(&seeking);
  return seeking;
}

std::string Narrowed(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The player's playlist file with entries for files anywhere.
void WriteFullPlayList(const std::vector<std::wstring>& paths) {
  std::vector<TPlayListEntry> entries;
  for (const auto& path : paths) entries.push_back(EntryFromFileName(WideToAnsi(path)));
  std::vector<uint8_t> contents = EncodePlayList(entries);
  HANDLE list = CreateFileW(TLumorixPlayListForm::PlayListFileName().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            0, nullptr);
  DWORD written = 0;
  WriteFile(list, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
  CloseHandle(list);
}

}  // namespace

TEST_F(PlayerTest, Mp4TimeReadOutAndSeekBarFollowTheClip) {
  WritePlayList({"tone.mp4"});
  TLumorixMainForm& form = StartPlayer();
  ASSERT_TRUE(errors.Boxes().empty()) << Narrowed(errors.Boxes()[0].text);
  EXPECT_TRUE(PlaysThroughMediaFoundation(form));
  ASSERT_TRUE(PumpUntil([&] { return form.LTimeInd.Text() == L"00:00:01 / 00:00:06"; }, milliseconds(6000)))
      << Narrowed(form.LTimeInd.Text());
  EXPECT_EQ(form.TBPosition.Max(), 6);

  // The seek bar's jump lands within a second of where it was sent (after the
  // start-up's own seek to the saved second).
  ASSERT_TRUE(PumpUntil([&] { return !form.Timer.Enabled() && !form.Timer2.Enabled(); }, milliseconds(5000)));
  form.TBPosition.SetPosition(4);
  PumpFor(milliseconds(300));
  // Where the picture is now, as its source delivers it, and what the bar shows.
  LONGLONG position = 0;
  auto picture = SourcePinSeeking(form, L"Video");
  ASSERT_TRUE(picture);
  ASSERT_HRESULT_SUCCEEDED(picture->GetCurrentPosition(&position));
  EXPECT_GE(position, 39000000);
  EXPECT_LT(position, 50000000);
  form.TBPosition.Tick();
  EXPECT_EQ(form.TBPosition.Position(), 4);
  EXPECT_EQ(Narrowed(form.LTimeInd.Text()), "00:00:04 / 00:00:06");
}

TEST_F(PlayerTest, EndOfClipMovesFromMp4ToAviAndBack) {
  WritePlayList({"short.mp4", "plain.avi", "short.mp4"});
  TLumorixMainForm& form = StartPlayer();
  ASSERT_TRUE(errors.Boxes().empty()) << Narrowed(errors.Boxes()[0].text);
  std::vector<int32_t> seen{form.PlayingIndex};
  std::vector<bool> throughMf{PlaysThroughMediaFoundation(form)};
  ASSERT_TRUE(PumpUntil(
      [&] {
        if (form.PlayingIndex != seen.back()) {
          seen.push_back(form.PlayingIndex);
          throughMf.push_back(PlaysThroughMediaFoundation(form));
        }
        return seen.size() == 3;
      },
      milliseconds(15000)))
      << seen.size();
  EXPECT_EQ(seen, (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(throughMf, (std::vector<bool>{true, false, true}));
  EXPECT_TRUE(errors.Boxes().empty());
}

TEST_F(PlayerTest, ClipNoFrameworkPlaysShowsTheStandardErrorBox) {
  std::wstring path = NotAClip(L"lumorix-broken.mkv", "not a Matroska file");
  ASSERT_FALSE(path.empty());
  WriteFullPlayList({path});
  StartPlayer();
  // From the message loop: a box waiting for the user holds no start-up.
  ASSERT_TRUE(PumpUntil([&] { return errors.Boxes().size() == 1; }, milliseconds(2000)));
  EXPECT_EQ(errors.Boxes()[0].title, L"Lumorix - settings");
  EXPECT_NE(errors.Boxes()[0].text.find(L"($80040218)."), std::wstring::npos) << Narrowed(errors.Boxes()[0].text);
  DeleteFileW(path.c_str());
}

TEST_F(PlayerTest, PictureNothingDecodesShowsTheErrorAndMovesOn) {
  WritePlayList({"sound-av1.mp4", "short.mp4"});
  TLumorixMainForm& form = StartPlayer();
  EXPECT_TRUE(form.Timer.Enabled()) << "start-up goes on";
  ASSERT_TRUE(PumpUntil([&] { return errors.Boxes().size() == 1; }, milliseconds(2000)));
  EXPECT_NE(errors.Boxes()[0].text.find(L"($80040255)."), std::wstring::npos) << Narrowed(errors.Boxes()[0].text);
  ASSERT_TRUE(PumpUntil([&] { return form.PlayingIndex == 1; }, milliseconds(3000)));
  EXPECT_TRUE(PlaysThroughMediaFoundation(form));
  EXPECT_TRUE(PumpUntil([&] { return form.FilterGraph()->State() == 3; }, milliseconds(3000)));
  EXPECT_EQ(errors.Boxes().size(), 1u);
}

TEST_F(PlayerTest, PlaylistOfFilesThatDoNotRenderStopsAfterOneRound) {
  std::wstring first = NotAClip(L"lumorix-not-a-clip-1.mp4", "not a movie");
  std::wstring second = NotAClip(L"lumorix-not-a-clip-2.mp4", "not a movie either");
  ASSERT_FALSE(first.empty() || second.empty());
  WriteFullPlayList({first, second});
  TLumorixMainForm& form = StartPlayer();
  form.Repeat = true;  // would pick the same entry again
  PumpFor(milliseconds(1500));
  EXPECT_EQ(errors.Boxes().size(), 2u) << "each entry once";
  EXPECT_EQ(form.PlayingIndex, 1);
  DeleteFileW(first.c_str());
  DeleteFileW(second.c_str());
}

// A recorder's WebM states no length: it plays to its end, and only then does
// the player move on. Meanwhile the seek bar, which had the previous clip's
// range, offers none: no position could be reached by length.
TEST_F(PlayerTest, WebmWithoutDurationPlaysToItsEndThenMovesOn) {
  WritePlayList({"short.mp4", "no-duration.webm", "short.mp4"});
  TLumorixMainForm& form = StartPlayer();
  ASSERT_TRUE(errors.Boxes().empty()) << Narrowed(errors.Boxes()[0].text);
  ASSERT_TRUE(PumpUntil([&] { return form.PlayingIndex == 1; }, milliseconds(6000)));
  // The clip's own clock, not the wall's: on a loaded machine building the
  // graph alone can take seconds of the test's time.
  LONGLONG reached = 0;
  auto noteReached = [&] {
    LONGLONG position = 0;
    auto seeking = form.FilterGraph()->Query<IMediaSeeking>();
    if (form.PlayingIndex == 1 && seeking && SUCCEEDED(seeking->GetCurrentPosition(&position)))
      reached = std::max(reached, position);
    return reached;
  };
  PumpUntil([&] { return noteReached() >= 20'000'000; }, milliseconds(8000));
  EXPECT_EQ(form.PlayingIndex, 1) << "moved on two seconds into a four-second clip";
  EXPECT_EQ(form.FilterGraph()->Duration(), 0) << "a length guessed from the part read so far";
  EXPECT_EQ(form.TBPosition.Max(), 0) << "no range to drag the thumb along";
  ASSERT_TRUE(PumpUntil([&] { return (noteReached(), form.PlayingIndex == 2); }, milliseconds(7000)));
  EXPECT_GE(reached, 30'000'000) << "the four-second clip ended early";
  EXPECT_TRUE(errors.Boxes().empty());
}

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

// The real player started on the one clip; its settings window once it has gone to the desktop.
HWND StartOnTheDesktop(std::unique_ptr<PlayerProcess>& player, const std::string& clip) {
  SeedInstallerDefaults();
  WriteSetting(kAudioKey, "PlayListVisible", EncodeInteger(0));
  WritePlayerPlayList({clip});
  if (!SetUserDesktop("C:\\windows\\lumorix-user.bmp", RGB(1, 2, 3))) return nullptr;
  player = std::make_unique<PlayerProcess>();
  if (!player->Started()) return nullptr;
  HWND settings = WaitForWindow(L"TLumorixMainForm", L"Lumorix - Settings", milliseconds(20000));
  if (!settings || !PumpUntil([&] { return IsWindowVisible(settings); }, milliseconds(10000)) ||
      !PumpUntil([&] { return !IsWindowVisible(settings); }, milliseconds(10000)) ||
      !PumpUntil(DesktopHostShown, milliseconds(5000)))
    return nullptr;
  if (RegistryWallpaper() != "C:\\windows\\lumorix-user.bmp") return nullptr;  // no overlay: the user's stays
  PumpFor(milliseconds(1500));                                                 // a few frames
  return settings;
}

bool EndSession(HWND settings) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(settings, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer) != 0;
}

}  // namespace

// A plain clip fills the desktop; one stored as red left of blue with a
// quarter turn anticlockwise (as phones store portrait video) shows upright,
// blue above red, pillar-boxed; one larger than the screen fits it.
TEST(MfDesktopPicture, Mp4FillsTheDesktopBehindTheIconsUpright) {
  constexpr COLORREF kBlue = RGB(0, 0, 255);
  const struct {
    const char* clip;
    std::vector<std::pair<POINT, COLORREF>> expected;
  } cases[] = {
      {"red-long.mp4",
       {{{40, 40}, kRed}, {{512, 300}, kRed}, {{980, 80}, kRed}, {{60, 600}, kRed}, {{900, 640}, kRed}}},
      {"red-blue-turned.mp4", {{{512, 60}, kBlue}, {{512, 300}, kBlue}, {{512, 460}, kRed}, {{512, 700}, kRed}}},
      // Larger than the screen: shrunk before it reaches the renderer, still letter-boxed to 1024x576.
      {"red-blue-large.mp4",
       {{{40, 300}, kRed},
        {{500, 300}, kRed},
        {{530, 300}, kBlue},
        {{980, 600}, kBlue},
        {{512, 60}, RGB(0, 0, 0)},
        {{512, 720}, RGB(0, 0, 0)}}},
  };
  for (const auto& test : cases) {
    std::unique_ptr<PlayerProcess> player;
    HWND settings = StartOnTheDesktop(player, test.clip);
    ASSERT_NE(settings, nullptr) << test.clip << ": desktop playback did not start";
    ScreenShot desktop;
    std::string name = test.clip;
    desktop.Save("mf-desktop-" + name.substr(0, name.find('.')));
    for (const auto& [point, colour] : test.expected)
      EXPECT_TRUE(Near(desktop.Pixel(point.x, point.y), colour))
          << test.clip << " at " << point.x << "," << point.y << ": " << Describe(desktop.Pixel(point.x, point.y));
    ASSERT_TRUE(EndSession(settings));
    EXPECT_TRUE(player->WaitForExit(10000));
    EXPECT_EQ(RegistryWallpaper(), "C:\\windows\\lumorix-user.bmp");
  }
}

TEST(MfDesktopPicture, PreviewLetterBoxesAWideMp4) {
  std::unique_ptr<PlayerProcess> player;
  HWND settings = StartOnTheDesktop(player, "red-wide.mp4");
  ASSERT_NE(settings, nullptr) << "desktop playback did not start";
  PostMessageW(settings, WM_USER + 100, 1, 0);  // the screen saver's "configure": the settings window
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(settings); }, milliseconds(5000)));
  PumpFor(milliseconds(1500));
  HWND preview =
      FindWindowExW(FindWindowExW(settings, nullptr, L"Button", L"Preview"), nullptr, L"LumorixVideoWindow", nullptr);
  ASSERT_NE(preview, nullptr);
  RECT area;
  GetWindowRect(preview, &area);
  ScreenShot shot;
  shot.Save("mf-preview-letter-box");
  // 16:9 in 400 x 300: the picture is 400 x 225, 37 rows down; black bars above and below.
  int middle = (area.top + area.bottom) / 2;
  for (POINT point : {POINT{area.left + 10, middle}, POINT{(area.left + area.right) / 2, middle},
                      POINT{area.right - 10, middle}, POINT{area.left + 200, area.top + 45}})
    EXPECT_TRUE(Near(shot.Pixel(point.x, point.y), kRed)) << Describe(shot.Pixel(point.x, point.y));
  for (POINT point : {POINT{area.left + 200, area.top + 20}, POINT{area.left + 200, area.bottom - 20}})
    EXPECT_TRUE(Near(shot.Pixel(point.x, point.y), RGB(0, 0, 0))) << Describe(shot.Pixel(point.x, point.y));
  ASSERT_TRUE(EndSession(settings));
  EXPECT_TRUE(player->WaitForExit(10000));
}
