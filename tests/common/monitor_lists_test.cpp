// How a monitor's own playlist is found again: by its identity, in a file
// whose name is safe whatever the identity holds, and which list a monitor
// gets when the monitors change.
#include <gtest/gtest.h>

#include <set>

#include "common/monitor_lists.h"
#include "common/safe_names.h"

using namespace lumorix;

namespace {

const std::wstring kDell = L"\\\\?\\DISPLAY#DEL4082#5&2a1b3c4d&0&UID4353#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";
const std::wstring kDellOtherPort =
    L"\\\\?\\DISPLAY#DEL4082#5&2a1b3c4d&0&UID4354#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";
const std::wstring kLaptop = L"\\\\?\\DISPLAY#BOE0867#4&1b2c3d4e&0&UID265988#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";

}  // namespace

TEST(MonitorLists, FileNameOfAnIdentityIsAPlainSafeNameBesideThePlaylist) {
  struct Case {
    const char* name;
    std::wstring identity;
  };
  const std::vector<Case> cases = {
      {"a device path", kDell},
      {"a device name alone", L"CON"},
      {"a device name with a port", L"com1"},
      {"climbing out", L"..\\..\\Windows\\System32"},
      {"a drive and a stream", L"C:\\x:stream"},
      {"nothing but punctuation", L"\\\\?\\#&{}"},
      {"empty", L""},
      {"letters Windows does not allow", L"a<b>c|d\"e*f?g"},
      {"not Latin", L"\x041C\x043E\x043D\x0438\x0442\x043E\x0440"},
      {"a NUL inside", std::wstring(L"DISP\0LAY", 8)},
      {"very long", std::wstring(5000, L'W')},
  };
  std::set<std::wstring> names;
  for (const Case& c : cases) {
    std::wstring file = MonitorPlayListName(L"Lumorix.Lumorixpl", c.identity);
    EXPECT_TRUE(IsSafeRelativeName(file)) << c.name;
    EXPECT_EQ(file.find_first_of(L"\\/:*?\"<>|"), std::wstring::npos) << c.name;
    EXPECT_EQ(file.rfind(L"Lumorix.", 0), 0u) << c.name;
    EXPECT_TRUE(file.ends_with(L".Lumorixpl")) << c.name;
    EXPECT_LT(file.size(), 100u) << c.name;
    for (wchar_t ch : file) EXPECT_TRUE(ch > 32 && ch < 127) << c.name;
    EXPECT_FALSE(IsDeviceName(MonitorNamePart(c.identity))) << c.name;
    names.insert(file);
  }
  EXPECT_EQ(names.size(), cases.size()) << "every identity has a file of its own";
}

TEST(MonitorLists, OneMonitorOneFileWhateverTheSpelling) {
  std::wstring lower = kDell;
  for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
  EXPECT_TRUE(SameMonitor(kDell, lower));
  EXPECT_EQ(MonitorPlayListName(L"Lumorix.Lumorixpl", kDell), MonitorPlayListName(L"Lumorix.Lumorixpl", lower));
  // The same model on another connector is another monitor.
  EXPECT_FALSE(SameMonitor(kDell, kDellOtherPort));
  EXPECT_NE(MonitorPlayListName(L"Lumorix.Lumorixpl", kDell),
            MonitorPlayListName(L"Lumorix.Lumorixpl", kDellOtherPort));
  // Punctuation alone apart: the hash keeps them apart.
  EXPECT_NE(MonitorNamePart(L"A#B"), MonitorNamePart(L"A&B"));
  // A program renamed keeps its lists beside its own playlist.
  EXPECT_EQ(MonitorPlayListName(L"Wall.Lumorixpl", kDell).rfind(L"Wall.", 0), 0u);
}

TEST(MonitorLists, WhichListEachMonitorGets) {
  const std::set<std::wstring> known = {L"SEEN-BEFORE"};
  HasOwnList hasOwn = [&](std::wstring_view identity) { return known.count(std::wstring(identity)) > 0; };
  EXPECT_EQ(ListSourceFor(L"SEEN-BEFORE", hasOwn), ListSource::OwnFile) << "a returning monitor";
  EXPECT_EQ(ListSourceFor(L"NEW", hasOwn), ListSource::CopyOfPrimary) << "a new monitor";

  struct SwapCase {
    const char* name;
    std::wstring formerPrimary, primary;
    PrimarySwap swap;
  };
  const std::vector<SwapCase> swaps = {
      {"first save: nothing recorded", L"", L"NEW", {}},
      {"the same primary", L"SEEN-BEFORE", L"seen-before", {}},
      {"a new monitor made primary keeps the playlist", L"OLD", L"NEW", {true, false}},
      {"a known monitor made primary brings its own list", L"OLD", L"SEEN-BEFORE", {true, true}},
  };
  for (const SwapCase& c : swaps) EXPECT_EQ(SwapForPrimary(c.formerPrimary, c.primary, hasOwn), c.swap) << c.name;
}

TEST(MonitorLists, ChangesOfMonitorsByIdentityNotPlace) {
  const NamedMonitor primary{kLaptop, L"Built-in display", true};
  const NamedMonitor dell{kDell, L"DELL U2415", false};
  const NamedMonitor dell2{kDellOtherPort, L"DELL U2415", false};
  struct Case {
    const char* name;
    std::vector<std::wstring> playing;
    std::vector<NamedMonitor> now;
    MonitorChanges changes;
  };
  const std::vector<Case> cases = {
      {"start with two", {}, {dell, primary}, {{}, {dell}}},
      {"nothing changed, listed in another order", {kDell, kDellOtherPort}, {dell2, primary, dell}, {}},
      {"one unplugged", {kDell, kDellOtherPort}, {primary, dell2}, {{kDell}, {}}},
      {"plugged back", {kDellOtherPort}, {primary, dell, dell2}, {{}, {dell}}},
      {"made primary: its own player goes",
       {kDell},
       {{kDell, L"DELL U2415", true}, {kLaptop, L"x", false}},
       {{kDell}, {{kLaptop, L"x", false}}}},
      {"every monitor gone", {kDell}, {}, {{kDell}, {}}},
      {"listed twice by the system", {}, {primary, dell, dell}, {{}, {dell}}},
  };
  for (const Case& c : cases) EXPECT_EQ(ChangesBetween(c.playing, c.now), c.changes) << c.name;

  EXPECT_EQ(PrimaryFirst({dell, dell2, primary}), (std::vector<NamedMonitor>{primary, dell, dell2}));
}
