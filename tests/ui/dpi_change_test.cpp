// A form told that its monitor's scale changed (WM_DPICHANGED, which Wine
// never sends: it has one DPI for every monitor) lays itself out again.
#include <gtest/gtest.h>

#include "tests/support/test_form.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/group_box.h"
#include "ui/image_list.h"
#include "ui/label.h"
#include "ui/picture.h"
#include "ui/picture_file.h"
#include "ui/tool_bar.h"

namespace lumorix::test {

namespace {

LONG FontHeight(HWND window) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfHeight;
}

void TellDpi(const ui::Form& form, int dpi, RECT suggested) {
  SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

}  // namespace

TEST(DpiChange, ControlsFontsAndPicturesFollowTheNewScaleAndComeBackExactly) {
  TestForm form(L"Scaled", 300, 220, ui::BorderStyle::Single);
  ASSERT_EQ(form.Dpi(), 96);  // the test bed's display
  ui::GroupBox box(form.Handle(), {8, 8, 200, 100}, L"Box");
  ui::Button button(box.Handle(), {3, 32, 75, 25}, L"Ok");
  ui::CheckBox check(form.Handle(), {8, 120, 0, 0}, L"Replace Screen Saver");
  ui::Label label(form.Handle(), {8, 150, 0, 0}, L"Balance");
  ui::Picture picture(form.Handle(), {220, 8, 0, 0}, true);
  picture.SetBitmap(ui::BitmapFromImage(PremultipliedImage{10, 10, std::vector<uint32_t>(100, 0xFF0000FFu)}));
  ui::ImageList images(24, 24);
  images.Add(ui::BitmapFromImage(PremultipliedImage{48, 24, std::vector<uint32_t>(48 * 24, 0xFFFF0000u)}).Get());
  ui::ToolBar bar(form.Handle(), {0, 180, 100, 29}, ui::ToolBarDesign{31, 30});
  bar.SetImages(&images);
  bar.AddButton(0);
  const int checkWidth = check.Width(), labelWidth = label.Width();

  TellDpi(form, 144, {100, 50, 600, 450});
  EXPECT_EQ(form.GetBounds(), (ui::Bounds{100, 50, 500, 400}));  // the system's suggestion, as it is
  EXPECT_EQ(box.GetBounds(), (ui::Bounds{12, 12, 300, 150}));
  EXPECT_EQ(button.GetBounds(), (ui::Bounds{5, 48, 112, 38}));
  EXPECT_EQ(FontHeight(form.Handle()), -17);
  EXPECT_EQ(FontHeight(button.Handle()), -17);
  // Sized to their captions in the larger font, which they show whole.
  EXPECT_GT(check.Width(), checkWidth * 5 / 4);
  EXPECT_GT(label.Width(), labelWidth * 5 / 4);
  EXPECT_GE(label.Width(), ui::CaptionSize(label.Handle()).cx);
  EXPECT_EQ(picture.GetBounds(), (ui::Bounds{330, 12, 15, 15}));
  int imageWidth = 0, imageHeight = 0;
  ImageList_GetIconSize(images.Handle(), &imageWidth, &imageHeight);
  EXPECT_EQ(imageWidth, 36);
  EXPECT_EQ(images.Count(), 2);
  EXPECT_EQ(LOWORD(SendMessageW(bar.Handle(), TB_GETBUTTONSIZE, 0, 0)), 47);

  TellDpi(form, 96, {100, 50, 420, 320});
  EXPECT_EQ(box.GetBounds(), (ui::Bounds{8, 8, 200, 100}));
  EXPECT_EQ(button.GetBounds(), (ui::Bounds{3, 32, 75, 25}));
  EXPECT_EQ(check.Width(), checkWidth);
  EXPECT_EQ(FontHeight(button.Handle()), -11);
  ImageList_GetIconSize(images.Handle(), &imageWidth, &imageHeight);
  EXPECT_EQ(imageWidth, 24);
  EXPECT_EQ(images.Count(), 2);
}

}  // namespace lumorix::test
