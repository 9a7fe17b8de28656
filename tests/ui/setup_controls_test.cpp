// The controls the installer and the uninstaller add to the windowing layer.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/support/gui_test.h"
#include "tests/support/test_form.h"
#include "ui/check_box.h"
#include "ui/edit.h"
#include "ui/gradient_panel.h"
#include "ui/memo.h"
#include "ui/progress_bar.h"

using namespace lumorix;
using std::chrono::milliseconds;

namespace {
struct Form : test::TestForm {
  Form() : test::TestForm(L"Setup controls", 400, 300, ui::BorderStyle::Single) {}
};
}  // namespace

TEST(Edit, TakesTheDefaultHeightAndReportsEveryChange) {
  Form form;
  ui::Edit edit(form.Handle(), {8, 16, 361, 0}, L"C:\\Program Files\\");
  EXPECT_EQ(edit.Height(), 21);
  EXPECT_EQ(edit.Width(), 361);
  EXPECT_EQ(edit.Text(), L"C:\\Program Files\\");
  int changes = 0;
  edit.OnChange = [&] { ++changes; };
  edit.SetText(L"D:\\Apps\\");
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(GetWindowLongW(edit.Handle(), GWL_STYLE) & (ES_READONLY | ES_MULTILINE));
}

TEST(Memo, IsMultiLineReadOnlyWithBothScrollBarsAndNoBorder) {
  Form form;
  ui::Memo memo(form.Handle(), {4, 24, 300, 129}, L"First line\r\nSecond line");
  LONG style = GetWindowLongW(memo.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & ES_READONLY);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_TRUE(style & WS_HSCROLL);
  EXPECT_FALSE(style & WS_BORDER);
  EXPECT_FALSE(GetWindowLongW(memo.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(SendMessageW(memo.Handle(), EM_GETLINECOUNT, 0, 0), 2);
  // Typing changes nothing.
  SendMessageW(memo.Handle(), WM_CHAR, L'x', 0);
  EXPECT_EQ(memo.Text(), L"First line\r\nSecond line");
}

TEST(ProgressBar, KeepsItsRangeAndPosition) {
  Form form;
  ui::ProgressBar bar(form.Handle(), {8, 72, 300, 0}, 0, 1000);
  EXPECT_EQ(bar.Height(), 17);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetPosition(333);
  EXPECT_EQ(bar.Position(), 333);
  PBRANGE range{};
  SendMessageW(bar.Handle(), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 1000);
  bar.SetPosition(5000);
  EXPECT_EQ(bar.Position(), 1000);
}

TEST(GradientPanel, PaintsFromItsTopColourToItsBottomColour) {
  Form form;
  ui::GradientPanel panel(form.Handle(), {0, 0, 400, 300}, RGB(255, 255, 255), RGB(192, 192, 192));
  form.Show();
  panel.Repaint();
  test::PumpFor(milliseconds(100));
  HDC dc = GetDC(panel.Handle());
  RECT client;
  GetClientRect(panel.Handle(), &client);
  COLORREF top = GetPixel(dc, client.right / 2, 0);
  COLORREF middle = GetPixel(dc, client.right / 2, client.bottom / 2);
  COLORREF bottom = GetPixel(dc, client.right / 2, client.bottom - 1);
  ReleaseDC(panel.Handle(), dc);
  EXPECT_GE(GetRValue(top), 250);
  EXPECT_LE(GetRValue(bottom), 197);
  EXPECT_GE(GetRValue(bottom), 187);
  EXPECT_LT(GetRValue(middle), GetRValue(top));
  EXPECT_GT(GetRValue(middle), GetRValue(bottom));
  // Its controls take the form's font.
  EXPECT_EQ(SendMessageW(panel.Handle(), WM_GETFONT, 0, 0), SendMessageW(form.Handle(), WM_GETFONT, 0, 0));
}

TEST(CheckBox, WithoutASizeFitsItsCaption) {
  Form form;
  ui::CheckBox shortBox(form.Handle(), {8, 16, 0, 0}, L"I Agree");
  ui::CheckBox longBox(form.Handle(), {8, 40, 0, 0}, L"Add ShortCut to Start Menu");
  EXPECT_GT(shortBox.Width(), 20);
  EXPECT_GT(longBox.Width(), shortBox.Width() + 40);
  EXPECT_GE(shortBox.Height(), 17);
  ui::CheckBox sized(form.Handle(), {8, 64, 50, 20}, L"Add ShortCut to Start Menu");
  EXPECT_EQ(sized.Width(), 50);
}
