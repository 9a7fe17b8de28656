// Which rectangles desktop playback covers for a list of monitors, and where
// the picture goes in each.
#include <gtest/gtest.h>

#include "common/monitor_layout.h"

using namespace lumorix;

namespace lumorix {
void PrintTo(const MonitorRect& r, std::ostream* out) {
  *out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
}  // namespace lumorix

namespace {

const MonitorRect kPrimary{0, 0, 1920, 1080};
const MonitorRect kLeftTaller{-1200, -600, 0, 1320};  // portrait, left of and above the primary
const MonitorRect kAbove{0, -1440, 2560, 0};
const MonitorRect kRightSmall{1920, 200, 3200, 1224};

struct LayoutCase {
  const char* name;
  std::vector<MonitorRect> monitors;
  ShowOn mode;
  std::vector<MonitorRect> hosts;
  std::vector<MonitorRect> shown;
};

}  // namespace

TEST(MonitorLayout, HostAreasAndShownMonitorsForEachMode) {
  const std::vector<LayoutCase> cases = {
      {"one monitor, every mode alike", {kPrimary}, ShowOn::EveryMonitor, {kPrimary}, {kPrimary}},
      {"primary listed second", {kLeftTaller, kPrimary}, ShowOn::PrimaryMonitor, {kPrimary}, {kPrimary}},
      {"every: the primary first",
       {kLeftTaller, kPrimary, kRightSmall},
       ShowOn::EveryMonitor,
       {kPrimary, kLeftTaller, kRightSmall},
       {kPrimary, kLeftTaller, kRightSmall}},
      {"across: left and above",
       {kPrimary, kLeftTaller, kAbove},
       ShowOn::AcrossMonitors,
       {{-1200, -1440, 2560, 1320}},
       {kPrimary, kLeftTaller, kAbove}},
      {"across: uneven heights",
       {kPrimary, kRightSmall},
       ShowOn::AcrossMonitors,
       {{0, 0, 3200, 1224}},
       {kPrimary, kRightSmall}},
      {"a list on each: the playlist's host is the primary's only",
       {kLeftTaller, kPrimary, kRightSmall},
       ShowOn::EachMonitorOwnList,
       {kPrimary},
       {kPrimary}},
      {"no monitor at the origin: the first counts",
       {kLeftTaller, kRightSmall},
       ShowOn::PrimaryMonitor,
       {kLeftTaller},
       {kLeftTaller}},
      {"an empty monitor is left out", {{5, 5, 5, 900}, kPrimary}, ShowOn::EveryMonitor, {kPrimary}, {kPrimary}},
      {"no monitor, no host", {}, ShowOn::AcrossMonitors, {}, {}},
  };
  for (const LayoutCase& c : cases) {
    EXPECT_EQ(HostAreas(c.mode, c.monitors), c.hosts) << c.name;
    EXPECT_EQ(ShownMonitors(c.mode, c.monitors), c.shown) << c.name;
  }
}

TEST(MonitorLayout, PictureIsLetterBoxedInsideEachArea) {
  // A 16:9 clip: bars above and below on a portrait monitor, at its own negative place.
  EXPECT_EQ(LetterBoxIn(kLeftTaller, 16, 9), (MonitorRect{-1200, 22, 0, 697}));
  EXPECT_EQ(LetterBoxIn(kPrimary, 16, 9), kPrimary);
  EXPECT_EQ(LetterBoxIn(kRightSmall, 16, 9), (MonitorRect{1920, 352, 3200, 1072}));
  // A 4:3 clip across the union of two side by side: bars at the sides.
  EXPECT_EQ(LetterBoxIn({-1920, 0, 1920, 1080}, 4, 3), (MonitorRect{-720, 0, 720, 1080}));
  EXPECT_EQ(LetterBoxIn(kAbove, 0, 0), kAbove);
}

TEST(MonitorLayout, PhysicalPixelsAtAScale) {
  EXPECT_EQ(ToPhysical(MonitorRect{-800, -600, 800, 600}, 144), (MonitorRect{-1200, -900, 1200, 900}));
  EXPECT_EQ(ToPhysical(MonitorRect{0, 0, 1536, 865}, 120), (MonitorRect{0, 0, 1920, 1081}));
  EXPECT_EQ(ToPhysical(333, 0), 333);
  EXPECT_EQ(ToPhysical(-333, 192), -666);
}

TEST(MonitorLayout, UnreadableShowOnReadsAsThePrimaryMonitor) {
  EXPECT_EQ(DecodeShowOn(EncodeInteger(1)), ShowOn::EveryMonitor);
  EXPECT_EQ(DecodeShowOn(EncodeInteger(2)), ShowOn::AcrossMonitors);
  EXPECT_EQ(DecodeShowOn(EncodeInteger(3)), ShowOn::EachMonitorOwnList);
  for (const std::optional<RawValue>& bad :
       {std::optional<RawValue>{}, std::optional<RawValue>{EncodeInteger(4)},
        std::optional<RawValue>{EncodeInteger(-1)}, std::optional<RawValue>{EncodeString("1")},
        std::optional<RawValue>{RawValue{kRegDword, {1, 0}}}})
    EXPECT_EQ(DecodeShowOn(bad), ShowOn::PrimaryMonitor);
}
