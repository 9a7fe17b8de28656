// Controls raise their change events for the program's changes as for the user's.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/support/gui_test.h"
#include "tests/support/test_form.h"
#include "ui/check_box.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/hint_window.h"
#include "ui/label.h"
#include "ui/list_box.h"
#include "ui/track_bar.h"

using namespace lumorix;

namespace {
// The controls' parent: a fixed single-border form of 300 x 200.
struct TestForm : test::TestForm {
  TestForm() : test::TestForm(L"Controls", 300, 200, ui::BorderStyle::Single) {}
};
}  // namespace

namespace {

ui::TrackBarDesign Range(int min, int max, int position) {
  ui::TrackBarDesign design;
  design.min = min;
  design.max = max;
  design.position = position;
  return design;
}

}  // namespace

TEST(TrackBar, ProgramChangeRaisesChangeOnlyWhenThePositionMoves) {
  TestForm form;
  ui::TrackBar bar(form.Handle(), {0, 0, 100, 30}, Range(-50, 50, 0));
  int changes = 0;
  bar.OnChange = [&] { ++changes; };
  bar.SetPosition(0);
  EXPECT_EQ(changes, 0);
  bar.SetPosition(20);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(SendMessageW(bar.Handle(), TBM_GETPOS, 0, 0), 20);
  bar.SetPosition(20);
  EXPECT_EQ(changes, 1);
}

TEST(TrackBar, ClampsToItsRange) {
  TestForm form;
  ui::TrackBar bar(form.Handle(), {0, 0, 100, 30}, Range(-10000, 0, 0));
  bar.SetPosition(10000);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetPosition(-20000);
  EXPECT_EQ(bar.Position(), -10000);
}

TEST(TrackBar, UserMoveInsideAGroupBoxRaisesChange) {
  TestForm form;
  ui::GroupBox group(form.Handle(), {0, 0, 200, 100}, L"Group");
  ui::TrackBar bar(group.Handle(), {10, 20, 100, 30}, Range(0, 10, 0));
  int changes = 0;
  bar.OnChange = [&] { ++changes; };
  // What the control does when the user presses the right arrow on it.
  SendMessageW(bar.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(bar.Position(), 1);
  EXPECT_EQ(changes, 1);
}

TEST(TrackBar, NarrowingTheRangeMovesThePositionAndRaisesChange) {
  TestForm form;
  ui::TrackBar bar(form.Handle(), {0, 0, 100, 30}, Range(0, 100, 90));
  int changes = 0;
  bar.OnChange = [&] { ++changes; };
  bar.SetMax(50);
  EXPECT_EQ(bar.Position(), 50);
  EXPECT_EQ(changes, 1);
}

TEST(CheckBox, StateChangesRunTheClickHandlerOnce) {
  TestForm form;
  ui::CheckBox box(form.Handle(), {0, 0, 120, 20}, L"Check");
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };
  box.SetChecked(false);
  EXPECT_EQ(clicks, 0);
  box.SetChecked(true);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(SendMessageW(box.Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  box.SetChecked(false, false);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(box.Checked());
}

TEST(CheckBox, UserClickTogglesAndNotifies) {
  TestForm form;
  ui::CheckBox box(form.Handle(), {0, 0, 120, 20}, L"Check");
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };
  SendMessageW(box.Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(clicks, 1);
}

TEST(Label, SizesItselfToItsCaption) {
  TestForm form;
  ui::Label shortLabel(form.Handle(), {0, 0, 0, 0}, L"Rate");
  ui::Label longLabel(form.Handle(), {0, 20, 0, 0}, L"Replace Screen Saver");
  EXPECT_GT(shortLabel.Width(), 0);
  EXPECT_GT(longLabel.Width(), shortLabel.Width());
}

TEST(ListBox, MultiSelectAndOwnerDraw) {
  TestForm form;
  ui::ListBox list(form.Handle(), {0, 0, 200, 100}, 13, true);
  int drawn = 0;
  list.OnDrawItem = [&](const ui::ListBoxDrawItem&) { ++drawn; };
  list.Add(L"one");
  list.Add(L"two");
  list.Add(L"three");
  list.SetSelected(0, true);
  list.SetSelected(2, true);
  EXPECT_TRUE(list.Selected(0));
  EXPECT_FALSE(list.Selected(1));
  EXPECT_TRUE(list.Selected(2));
  EXPECT_EQ(SendMessageW(list.Handle(), LB_GETITEMHEIGHT, 0, 0), 13);
  form.Show();
  list.Repaint();
  EXPECT_GT(drawn, 0);
}

TEST(HintWindow, SizesItselfToTheTextWithItsMargins) {
  TestForm form;
  ui::HintWindow hint(form.Handle());
  hint.SetHintText(L"Left: 50% - Right: 50%");
  RECT window;
  GetWindowRect(hint.Handle(), &window);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = CreateFontIndirectW(&metrics.lfStatusFont);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT text{};
  DrawTextW(dc, L"Left: 50% - Right: 50%", -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  EXPECT_EQ(window.right - window.left, text.right + 6);
  EXPECT_EQ(window.bottom - window.top, text.bottom + 4);
}

TEST(Form, ClientSizeAndFixedBorder) {
  TestForm form;
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200);
  LONG style = GetWindowLongW(form.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
}
