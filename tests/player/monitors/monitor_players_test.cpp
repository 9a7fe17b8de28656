// Each monitor its own playlist, on two monitors made of the two halves of
// the one test screen (Wine's display has one, and no monitor that can be
// unplugged: the monitors the player's calls see stand in for the system's,
// identities and names as Windows gives them). Each half plays its own list
// in its own graph, read back from the screen; a monitor unplugged and
// plugged back finds its list and state again; a monitor never seen starts
// with the primary's list.
#include <gtest/gtest.h>

#include <thread>

#include "common/monitor_lists.h"
#include "common/settings_layout.h"
#include "player/desktop/desktop_stage.h"
#include "player/desktop/monitors.h"
#include "tests/player/core/player_fixture.h"
#include "tests/support/screen_capture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
const std::wstring kPrimaryId = L"\\\\?\\DISPLAY#TST0001#4&1a2b&0&UID4352#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";
const std::wstring kRightId = L"\\\\?\\DISPLAY#TST0002#4&1a2b&0&UID4353#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";
const std::wstring kStrangerId = L"\\\\?\\DISPLAY#TST0003#4&1a2b&0&UID4354#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";

std::vector<desktop::DesktopMonitor> connected;

MonitorRect LeftHalf() { return {0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN)}; }
MonitorRect RightHalf() {
  return {GetSystemMetrics(SM_CXSCREEN) / 2, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}
desktop::DesktopMonitor Primary() { return {LeftHalf(), {kPrimaryId, L"Test Panel 1", true}}; }
desktop::DesktopMonitor Right(const std::wstring& identity = kRightId) {
  return {RightHalf(), {identity, L"Test Panel 2", false}};
}

std::wstring ListFileOf(const std::wstring& identity) {
  std::wstring main = TLumorixPlayListForm::PlayListFileName(true);
  size_t slash = main.rfind(L'\\');
  return main.substr(0, slash + 1) + MonitorPlayListName(main.substr(slash + 1), identity);
}

std::vector<TPlayListEntry> ReadList(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::vector<uint8_t> bytes(1 << 16);
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return DecodePlayList(bytes);
}

std::vector<std::string> Names(const std::vector<TPlayListEntry>& list) {
  std::vector<std::string> names;
  for (const TPlayListEntry& entry : list) names.push_back(entry.EntryName);
  return names;
}

class OwnListOnEachMonitor : public PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    WriteSetting(kSettingsKey, kShowOn, EncodeInteger(static_cast<int32_t>(ShowOn::EachMonitorOwnList)));
    WritePlayList({"red-long.avi"});
    for (const std::wstring& identity : {kRightId, kStrangerId}) DeleteFileW(ListFileOf(identity).c_str());
    WriteMonitorList(kRightId, {"blue-long.avi"});
    connected = {Right(), Primary()};  // Windows need not list the primary first
    desktop::UseDescribedMonitorsForTesting([] { return connected; });
  }
  void TearDown() override {
    PlayerTest::TearDown();
    desktop::UseDescribedMonitorsForTesting(nullptr);
  }

  static void WriteMonitorList(const std::wstring& identity, const std::vector<std::string>& clips) {
    std::vector<TPlayListEntry> entries;
    for (const std::string& clip : clips) entries.push_back(EntryFromFileName(WideToAnsi(Clip(clip))));
    std::vector<uint8_t> contents = EncodePlayList(entries);
    HANDLE file = CreateFileW(ListFileOf(identity).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(file);
  }

  // The settings window's start step has put the clip on the desktop, and the other monitors play.
  TLumorixMainForm& StartOnDesktop(size_t players) {
    TLumorixMainForm& form = StartPlayer();
    EXPECT_TRUE(PumpUntil(
        [&] {
          return form.DSVideoWindowEx2.DesktopMode() && form.MonitorControl()->Players().size() == players &&
                 form.FilterGraph()->State() == 3;
        },
        milliseconds(10000)));
    return form;
  }

  // Windows tells every top-level window; each stage's watcher hears it.
  void ChangeDisplay(std::vector<desktop::DesktopMonitor> monitors) {
    connected = std::move(monitors);
    for (HWND watcher = nullptr; (watcher = FindWindowExW(nullptr, watcher, L"LumorixShellWatcher", nullptr));)
      SendMessageW(watcher, WM_DISPLAYCHANGE, 32, 0);
  }

  MonitorPlayer* PlayerOf(const std::wstring& identity) { return player->MonitorControl()->PlayerOf(identity); }

  struct Seen {
    COLORREF left, right;
  };
  Seen Look(const std::string& name) {
    PumpFor(milliseconds(1500));  // a few frames
    ScreenShot shot;
    shot.Save(name);
    return {shot.Pixel(shot.Width() / 4, shot.Height() / 2), shot.Pixel(3 * shot.Width() / 4, shot.Height() / 2)};
  }
};

}  // namespace

TEST_F(OwnListOnEachMonitor, EachMonitorPlaysItsOwnListInItsOwnGraph) {
  TLumorixMainForm& form = StartOnDesktop(1);
  EXPECT_TRUE(form.ShowOnControl().ItShowEachOwnList.Checked());
  MonitorPlayer* right = PlayerOf(kRightId);
  ASSERT_NE(right, nullptr);
  EXPECT_NE(&right->Graph(), form.FilterGraph());
  EXPECT_EQ(right->Graph().State(), 3);
  EXPECT_EQ(Names(right->List()), std::vector<std::string>{"blue-long.avi"});
  std::vector<RECT> shown = right->Video().ShownMonitorRects();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].left, RightHalf().left);
  Seen seen = Look("own-list-on-each-monitor");
  EXPECT_TRUE(Near(seen.left, kRed)) << "the primary plays the playlist file: " << Describe(seen.left);
  EXPECT_TRUE(Near(seen.right, kBlue)) << "the other its own list: " << Describe(seen.right);

  // The playlist window names the monitors, the primary first, and edits the one chosen.
  TLumorixPlayListForm& window = form.PlayListForm();
  EXPECT_TRUE(IsWindowVisible(window.CBMonitor.Handle()) || !IsWindowVisible(window.Handle()));
  EXPECT_EQ(window.CBMonitor.Items(), (std::vector<std::wstring>{L"Test Panel 1", L"Test Panel 2"}));
  window.ShowChoice(1);
  window.AppendFiles({Clip("red.avi")});
  window.TBRep().SetDown(true);
  window.TBRepClick();
  EXPECT_EQ(Names(right->List()), (std::vector<std::string>{"blue-long.avi", "red.avi"}));
  EXPECT_EQ(window.Count(), 1) << "the primary's list is as it was";
  EXPECT_TRUE(right->RepeatMode());
  EXPECT_FALSE(form.Repeat);
  window.ShowChoice(0);
  EXPECT_EQ(window.ShownCount(), 1);
  EXPECT_FALSE(window.TBRep().Down()) << "the buttons show the list shown";
}

TEST_F(OwnListOnEachMonitor, AMonitorUnpluggedAndPluggedBackFindsItsListAgain) {
  TLumorixMainForm& form = StartOnDesktop(1);
  ASSERT_NE(PlayerOf(kRightId), nullptr);
  PlayerOf(kRightId)->List().push_back(EntryFromFileName(WideToAnsi(Clip("red.avi"))));
  PlayerOf(kRightId)->SetRandomMode(true);

  ChangeDisplay({Primary()});
  ASSERT_TRUE(PumpUntil([&] { return form.MonitorControl()->Players().empty(); }, milliseconds(5000)));
  EXPECT_EQ(Names(ReadList(ListFileOf(kRightId))), (std::vector<std::string>{"blue-long.avi", "red.avi"}))
      << "kept when the monitor went";
  Seen seen = Look("own-list-monitor-unplugged");
  EXPECT_TRUE(Near(seen.left, kRed)) << Describe(seen.left);
  EXPECT_FALSE(Near(seen.right, kBlue)) << "nothing of its clip stays: " << Describe(seen.right);
  EXPECT_EQ(form.FilterGraph()->State(), 3) << "the primary plays on";

  ChangeDisplay({Primary(), Right()});
  ASSERT_TRUE(
      PumpUntil([&] { return PlayerOf(kRightId) && PlayerOf(kRightId)->Graph().State() == 3; }, milliseconds(10000)));
  EXPECT_EQ(Names(PlayerOf(kRightId)->List()), (std::vector<std::string>{"blue-long.avi", "red.avi"}));
  EXPECT_TRUE(PlayerOf(kRightId)->RandomMode());
  EXPECT_EQ(PlayerOf(kRightId)->PlayingIndex(), 0);
  seen = Look("own-list-monitor-back");
  EXPECT_TRUE(Near(seen.right, kBlue)) << Describe(seen.right);

  // Another monitor on that connector, never seen before: the primary's list.
  ChangeDisplay({Primary(), Right(kStrangerId)});
  ASSERT_TRUE(PumpUntil([&] { return PlayerOf(kStrangerId) != nullptr; }, milliseconds(10000)));
  EXPECT_EQ(PlayerOf(kRightId), nullptr);
  EXPECT_EQ(Names(PlayerOf(kStrangerId)->List()), std::vector<std::string>{"red-long.avi"});
  EXPECT_FALSE(PlayerOf(kStrangerId)->RandomMode());
  seen = Look("own-list-new-monitor");
  EXPECT_TRUE(Near(seen.right, kRed)) << Describe(seen.right);
}

TEST_F(OwnListOnEachMonitor, EachMonitorsListAndStateAreKeptBetweenRuns) {
  TLumorixMainForm& form = StartOnDesktop(1);
  MonitorPlayer* right = PlayerOf(kRightId);
  ASSERT_NE(right, nullptr);
  right->List().push_back(EntryFromFileName(WideToAnsi(Clip("red-long.avi"))));
  right->PlayIndex(1);
  right->SetRepeatMode(true);
  form.ItExitClick();
  EXPECT_EQ(Names(ReadList(ListFileOf(kRightId))), (std::vector<std::string>{"blue-long.avi", "red-long.avi"}));
  EXPECT_EQ(Names(ReadList(TLumorixPlayListForm::PlayListFileName())), std::vector<std::string>{"red-long.avi"});
  player.reset();
  ui::Application::Instance().ClearTermination();

  // Found again by its identity, although Windows lists it in another place now.
  connected = {Primary(), Right()};
  TLumorixMainForm& again = StartOnDesktop(1);
  right = PlayerOf(kRightId);
  ASSERT_NE(right, nullptr);
  EXPECT_EQ(right->PlayingIndex(), 1);
  EXPECT_TRUE(right->RepeatMode());
  EXPECT_FALSE(again.Repeat);
  EXPECT_EQ(Names(right->List()), (std::vector<std::string>{"blue-long.avi", "red-long.avi"}));

  // Another choice in "Show on": the other monitors' players go, their lists kept.
  again.ShowOnControl().ItShowOnPrimary.Click();
  EXPECT_TRUE(again.MonitorControl()->Players().empty());
  EXPECT_FALSE(IsWindowVisible(again.PlayListForm().CBMonitor.Handle()));
  EXPECT_EQ(ReadList(ListFileOf(kRightId)).size(), 2u);
  // And back: at once, from where it was.
  again.ShowOnControl().ItShowEachOwnList.Click();
  EXPECT_TRUE(again.ShowOnControl().ItShowEachOwnList.Checked());
  ASSERT_EQ(again.MonitorControl()->Players().size(), 1u);
  EXPECT_EQ(PlayerOf(kRightId)->PlayingIndex(), 1);
  EXPECT_TRUE(PumpUntil([&] { return PlayerOf(kRightId)->Graph().State() == 3; }, milliseconds(5000)));
  again.ItExitClick();
  EXPECT_EQ(ReadIntegerSetting(kSettingsKey, kShowOn), 3);
}

TEST_F(OwnListOnEachMonitor, AnotherPrimaryBringsItsListAndTheFormerKeepsThePlaylistFilesList) {
  TLumorixMainForm& form = StartOnDesktop(1);
  // The right monitor made the primary: Windows puts it at the origin.
  const desktop::DesktopMonitor newPrimary{LeftHalf(), {kRightId, L"Test Panel 2", true}};
  const desktop::DesktopMonitor formerPrimary{RightHalf(), {kPrimaryId, L"Test Panel 1", false}};
  ChangeDisplay({formerPrimary, newPrimary});
  ASSERT_TRUE(PumpUntil([&] { return PlayerOf(kPrimaryId) && PlayerOf(kPrimaryId)->Graph().State() == 3; },
                        milliseconds(10000)));
  EXPECT_EQ(PlayerOf(kRightId), nullptr);
  EXPECT_EQ(Names(form.PlayListForm().Entries()), std::vector<std::string>{"blue-long.avi"});
  EXPECT_EQ(Names(PlayerOf(kPrimaryId)->List()), std::vector<std::string>{"red-long.avi"});
  Seen seen = Look("own-list-primary-changed");
  EXPECT_TRUE(Near(seen.left, kBlue)) << Describe(seen.left);
  EXPECT_TRUE(Near(seen.right, kRed)) << Describe(seen.right);
  form.ItExitClick();
  EXPECT_EQ(Names(ReadList(TLumorixPlayListForm::PlayListFileName())), std::vector<std::string>{"blue-long.avi"})
      << "the playlist file is the primary's";
  EXPECT_EQ(Names(ReadList(ListFileOf(kPrimaryId))), std::vector<std::string>{"red-long.avi"});
  player.reset();
  ui::Application::Instance().ClearTermination();

  // The first primary again by the next start: each takes its own list back.
  connected = {Right(), Primary()};
  TLumorixMainForm& again = StartOnDesktop(1);
  EXPECT_EQ(Names(again.PlayListForm().Entries()), std::vector<std::string>{"red-long.avi"});
  ASSERT_NE(PlayerOf(kRightId), nullptr);
  EXPECT_EQ(Names(PlayerOf(kRightId)->List()), std::vector<std::string>{"blue-long.avi"});
  seen = Look("own-list-primary-back");
  EXPECT_TRUE(Near(seen.left, kRed)) << Describe(seen.left);
  EXPECT_TRUE(Near(seen.right, kBlue)) << Describe(seen.right);
}

TEST_F(OwnListOnEachMonitor, TheScreenSaverCoversEveryMonitorEachWithItsOwnClip) {
  TLumorixMainForm& form = StartOnDesktop(1);
  MonitorPlayer* right = PlayerOf(kRightId);
  ASSERT_NE(right, nullptr);
  SendMessageW(form.Handle(), WM_SCREENSAVERCOMMAND, 0, 0);
  EXPECT_TRUE(form.DSVideoWindowEx2.FullScreenMode());
  ASSERT_TRUE(right->Video().FullScreenMode());
  HWND host = right->Stage().Host(0).Handle();
  RECT area;
  GetWindowRect(host, &area);
  EXPECT_EQ(area.left, RightHalf().left);
  EXPECT_EQ(area.right, RightHalf().right);
  EXPECT_TRUE(GetWindowLongW(host, GWL_EXSTYLE) & WS_EX_TOPMOST);
  Seen seen = Look("own-list-screen-saver");
  EXPECT_TRUE(Near(seen.left, kRed)) << Describe(seen.left);
  EXPECT_TRUE(Near(seen.right, kBlue)) << Describe(seen.right);

  // A double click on either picture ends it, on both.
  SendMessageW(right->Video().Handle(), WM_LBUTTONDBLCLK, 0, 0);
  EXPECT_FALSE(ScreenSaverMode);
  EXPECT_TRUE(form.DSVideoWindowEx2.DesktopMode());
  EXPECT_TRUE(right->Video().DesktopMode());
  EXPECT_FALSE(GetWindowLongW(right->Stage().Host(0).Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// The system's own monitors (Wine's one): each known by an identity and a name, one the primary.
TEST(DesktopMonitors, EachIsKnownByItsIdentityAndName) {
  std::vector<desktop::DesktopMonitor> monitors = desktop::DescribeMonitors();
  ASSERT_FALSE(monitors.empty());
  int primaries = 0;
  for (const desktop::DesktopMonitor& monitor : monitors) {
    EXPECT_FALSE(monitor.named.identity.empty());
    EXPECT_FALSE(monitor.named.name.empty());
    primaries += monitor.named.primary;
    std::wstring lower = monitor.named.identity;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
    auto found = desktop::FindMonitor(lower);
    ASSERT_TRUE(found.has_value()) << Narrow(monitor.named.identity);
    EXPECT_EQ(found->area, monitor.area);
  }
  EXPECT_EQ(primaries, 1);
  EXPECT_EQ(desktop::DesktopMonitors().size(), monitors.size());
}

TEST_F(OwnListOnEachMonitor, AMonitorsClipPausesWhileAWindowCoversThatMonitorOnly) {
  TLumorixMainForm& form = StartOnDesktop(1);
  MonitorPlayer* right = PlayerOf(kRightId);
  ASSERT_NE(right, nullptr);
  ASSERT_TRUE(form.IdleControl().Switches().whenCovered);
  const MonitorRect half = RightHalf();
  HWND cover = CreateWindowExW(0, L"STATIC", L"cover", WS_POPUP | WS_VISIBLE, half.left, half.top, half.Width(),
                               half.Height(), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(cover, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return right->Graph().State() == 2; }, milliseconds(3000)));
  EXPECT_EQ(form.FilterGraph()->State(), 3) << "the primary is seen";
  DestroyWindow(cover);
  EXPECT_TRUE(PumpUntil([&] { return right->Graph().State() == 3; }, milliseconds(3000)));

  // The switch is the settings window's, for every monitor.
  form.IdleControl().ItPauseWhenCovered.Click();
  cover = CreateWindowExW(0, L"STATIC", L"cover", WS_POPUP | WS_VISIBLE, half.left, half.top, half.Width(),
                          half.Height(), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  PumpFor(milliseconds(2000));
  EXPECT_EQ(right->Graph().State(), 3);
  DestroyWindow(cover);
}

TEST_F(OwnListOnEachMonitor, AMonitorsFailingEntryGivesWayToItsNextAsOnThePrimary) {
  WriteMonitorList(kRightId, {"blue-long.avi", "red-long.avi", "blue-long.avi"});
  TLumorixMainForm& form = StartOnDesktop(1);
  MonitorPlayer* right = PlayerOf(kRightId);
  ASSERT_NE(right, nullptr);
  // Half-way, as a stream reports it from its own thread.
  ComPtr<IMediaEventSink> sink = right->Graph().Query<IMediaEventSink>();
  ASSERT_TRUE(sink);
  std::thread([&] { (void)sink->Notify(EC_ERRORABORT, static_cast<LONG_PTR>(E_FAIL), 0); }).join();
  ASSERT_TRUE(PumpUntil([&] { return right->PlayingIndex() == 1 && right->Graph().State() == 3; }, milliseconds(5000)));
  PumpFor(milliseconds(300));
  ASSERT_EQ(errors.Boxes().size(), 1u);
  EXPECT_NE(errors.Boxes()[0].text.find(L"($80004005)."), std::wstring::npos) << Narrow(errors.Boxes()[0].text);
  EXPECT_EQ(form.PlayingIndex, 0) << "the primary's clip plays on";
  EXPECT_EQ(form.FilterGraph()->State(), 3);

  // A file that is gone: the box, and the entry after it (two failures in a row of three entries).
  right->List()[0] = EntryFromFileName(WideToAnsi(Clip("red-long.avi")) + ".gone");
  right->PlayIndex(0);
  ASSERT_TRUE(PumpUntil([&] { return right->PlayingIndex() == 1 && right->Graph().State() == 3; }, milliseconds(5000)));
  PumpFor(milliseconds(300));
  EXPECT_EQ(errors.Boxes().size(), 2u);
}

TEST_F(OwnListOnEachMonitor, EachMonitorMovesOnThroughItsOwnListByItsOwnModes) {
  WriteMonitorList(kRightId, {"blue.avi", "red-long.avi"});
  TLumorixMainForm& form = StartOnDesktop(1);
  MonitorPlayer* right = PlayerOf(kRightId);
  ASSERT_NE(right, nullptr);
  // A two-second clip at its end: the next entry of its own list, not the primary's.
  ASSERT_TRUE(PumpUntil([&] { return right->PlayingIndex() == 1; }, milliseconds(8000)));
  EXPECT_EQ(form.PlayingIndex, 0);
  Seen seen = Look("own-list-moved-on");
  EXPECT_TRUE(Near(seen.right, kRed)) << Describe(seen.right);

  // "Change clip every" is the settings window's, for every monitor (a minute made short here).
  right->Chain().SetMinuteLength(600);
  form.Chain().SetMinuteLength(600);
  form.ClipChangeControl().SetChangeEvery(1);
  EXPECT_TRUE(PumpUntil([&] { return right->PlayingIndex() == 0; }, milliseconds(5000)));
  form.ClipChangeControl().SetChangeEvery(0);
}
