// Where a desktop picture goes among Explorer's windows and what puts it
// right again, and when the overlay path can show a picture at all.
#include <gtest/gtest.h>

#include "common/overlay_path.h"
#include "common/shell_layout.h"

using namespace lumorix;

TEST(ShellLayout, EachWindowsBuildOfTheDesktopIsRecognised) {
  struct Case {
    const char* name;
    ShellFacts facts;
    ShellLayout layout;
  } const cases[] = {
      {"no Progman (another shell, Wine)", {false, false, false, false}, ShellLayout::kNone},
      {"a stray worker without Progman", {false, true, true, true}, ShellLayout::kNone},
      {"classic, before 0x052C made the worker", {true, false, false, false}, ShellLayout::kNone},
      {"classic, the worker behind the icons", {true, false, false, true}, ShellLayout::kClassic},
      {"24H2", {true, true, true, false}, ShellLayout::kComposed},
      {"24H2, 0x052C made no worker", {true, true, false, false}, ShellLayout::kComposed},
      {"24H2 with an old top-level worker left over", {true, true, false, true}, ShellLayout::kComposed},
      {"a worker inside a Progman that still has a surface", {true, false, true, false}, ShellLayout::kComposed},
  };
  for (const Case& c : cases) EXPECT_EQ(LayoutOf(c.facts), c.layout) << c.name;
}

TEST(ShellLayout, RepairsAreTheLeastThatPutsTheHostRight) {
  constexpr HostFacts kRight{true, true, true, true, true};
  struct Case {
    const char* name;
    ShellLayout layout;
    HostFacts host;
    LayerRepair repair;  // rehost, restyle, reorder
  } const cases[] = {
      {"composed, all right", ShellLayout::kComposed, kRight, {false, false, false}},
      {"not Progman's child", ShellLayout::kComposed, {false, true, true, true, true}, {true, false, false}},
      {"out of it and unlayered", ShellLayout::kComposed, {}, {true, false, false}},
      {"lost its layered style", ShellLayout::kComposed, {true, false, false, true, true}, {false, true, false}},
      {"layered but see-through", ShellLayout::kComposed, {true, true, false, true, true}, {false, true, false}},
      {"a new worker above it", ShellLayout::kComposed, {true, true, true, true, false}, {false, false, true}},
      {"above the icons", ShellLayout::kComposed, {true, true, true, false, true}, {false, false, true}},
      {"unlayered, above the icons", ShellLayout::kComposed, {true, false, false, false, true}, {false, true, true}},
      {"classic, the worker's child", ShellLayout::kClassic, {true, false, false, false, false}, {false, false, false}},
      {"classic, out of the worker", ShellLayout::kClassic, {false, false, false, true, true}, {true, false, false}},
      {"the layer is gone", ShellLayout::kNone, kRight, {true, false, false}},
  };
  for (const Case& c : cases) {
    LayerRepair repair = RepairFor(c.layout, c.host);
    EXPECT_EQ(repair.rehost, c.repair.rehost) << c.name;
    EXPECT_EQ(repair.restyle, c.repair.restyle) << c.name;
    EXPECT_EQ(repair.reorder, c.repair.reorder) << c.name;
    EXPECT_EQ(repair.Needed(), c.repair.rehost || c.repair.restyle || c.repair.reorder) << c.name;
  }
}

TEST(OverlayPath, OnlyAnUncomposedDesktopWithAnOverlayTakesIt) {
  struct Case {
    const char* name;
    DisplayFacts display;
    bool usable;
  } const cases[] = {
      {"XP with an overlay", {true, false, 5, 1}, true},
      {"XP without one", {false, false, 5, 1}, false},
      {"Vista with the basic theme", {true, false, 6, 0}, true},
      {"Windows 7 composed", {true, true, 6, 1}, false},
      {"Windows 7 with composition off", {true, false, 6, 1}, true},
      {"Windows 8 said to be uncomposed", {true, false, 6, 2}, false},
      {"Windows 11 whose driver claims an overlay", {true, false, 10, 0}, false},
      {"Windows 11 composed", {true, true, 10, 0}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(OverlayPathUsable(c.display), c.usable) << c.name;
}
