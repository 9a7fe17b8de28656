// Menus: hidden items leave the Win32 menu, marks show, shortcuts work as accelerators.
#include <gtest/gtest.h>

#include "tests/support/gui_test.h"
#include "tests/support/test_form.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/menu.h"

using namespace lumorix;

namespace {

std::wstring ItemText(HMENU menu, UINT position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return text;
}

}  // namespace

TEST(Menu, HiddenItemsAreLeftOutAndComeBack) {
  ui::PopupMenu popup;
  ui::MenuItem& play = popup.Add(L"&Play");
  popup.Add(L"P&ause");
  play.SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(popup.Handle()), 1);
  EXPECT_EQ(ItemText(popup.Handle(), 0), L"P&ause");
  play.SetVisible(true);
  EXPECT_EQ(GetMenuItemCount(popup.Handle()), 2);
  EXPECT_EQ(ItemText(popup.Handle(), 0), L"&Play");
}

TEST(Menu, DefaultItemAndSeparators) {
  ui::PopupMenu popup;
  popup.Add(L"&Open");
  popup.AddSeparator();
  ui::MenuItem& settings = popup.Add(L"&Settings");
  settings.SetDefault(true);
  EXPECT_EQ(GetMenuDefaultItem(popup.Handle(), TRUE, 0), 2u);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(popup.Handle(), 1, TRUE, &info);
  EXPECT_TRUE(info.fType & MFT_SEPARATOR);
}

TEST(Menu, ShortcutTextFollowsTheCaption) {
  ui::MainMenu menu;
  ui::MenuItem& file = menu.Add(L"&File");
  file.Add(L"&Open", ui::CtrlKey('O'));
  file.Add(L"StandartWindows", ui::ShiftKey('W'));
  EXPECT_EQ(ItemText(file.Handle(), 0), L"&Open\tCtrl+O");
  EXPECT_EQ(ItemText(file.Handle(), 1), L"StandartWindows\tShift+W");
}

TEST(Menu, ShortcutRunsTheItemThroughTheFormsAccelerators) {
  test::TestForm form(L"Menus", 200, 100);
  ui::MainMenu menu;
  ui::MenuItem& file = menu.Add(L"&File");
  ui::MenuItem& open = file.Add(L"&Open", ui::CtrlKey('O'));
  int opened = 0;
  open.OnClick = [&] { ++opened; };
  form.SetMenu(&menu);

  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  MSG message{form.Handle(), WM_KEYDOWN, 'O', 0, 0, {0, 0}};
  EXPECT_TRUE(form.TranslateShortcut(message));
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  test::PumpFor(std::chrono::milliseconds(50));
  EXPECT_EQ(opened, 1);

  MSG plain{form.Handle(), WM_KEYDOWN, 'O', 0, 0, {0, 0}};
  EXPECT_FALSE(form.TranslateShortcut(plain));
}

TEST(Menu, DisabledItemDoesNotRun) {
  ui::PopupMenu popup;
  ui::MenuItem& exit = popup.Add(L"&Exit");
  int runs = 0;
  exit.OnClick = [&] { ++runs; };
  exit.SetEnabled(false);
  exit.Click();
  EXPECT_EQ(runs, 0);
  exit.SetEnabled(true);
  exit.Click();
  EXPECT_EQ(runs, 1);
}
