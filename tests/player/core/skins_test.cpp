// The Skins menu and skins applied to the settings window, with real skin
// folders beside the program and the window read back from the screen.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "common/ini_file.h"
#include "common/settings_layout.h"
#include "player/playlist/playlist_form.h"
#include "tests/player/core/player_fixture.h"
#include "tests/support/program_folder.h"
#include "tests/support/screen_capture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

const std::string kShippedSkin = std::string(LUMORIX_BUILD_DIR) + "/bin/Skins/Radorur.skn/Skin.ini";

uint32_t Opaque(uint32_t rgb) { return 0xFF000000u | rgb; }
std::string Green64() {
  return MakePng(64, 64, [](int, int) { return Opaque(0x00C000); });
}
std::string Green32() {
  return MakePng(32, 32, [](int, int) { return Opaque(0x00C000); });
}
// 24 pixels wide per image; the corners pure blue, the middle red.
std::string ToolBitmap(int images) {
  return MakeBmp(24 * images, 24, [](int x, int y) {
    int u = x % 24;
    return u < 4 || y < 4 || u > 19 || y > 19 ? 0x0000FFu : 0xFF0000u;
  });
}

class SkinTest : public PlayerTest {
 protected:
  ProgramFolderFiles files{{L"Skins"}};

  // A skin folder with every default picture and tool bitmap and the given INI text.
  void MakeSkin(const std::wstring& folder, const std::string& ini, bool pictures = true) const {
    files.Write(L"Skins\\" + folder + L"\\Skin.ini", ini);
    if (!pictures) return;
    for (const wchar_t* name : {L"Previous.png", L"Play.png", L"Pause.png", L"Stop.png", L"Next.png"})
      files.Write(L"Skins\\" + folder + L"\\" + name, Green64());
    for (const wchar_t* name : {L"PlayList.png", L"ColorControl.png"})
      files.Write(L"Skins\\" + folder + L"\\" + name, Green32());
    for (const wchar_t* name : {L"Add.bmp", L"Del.bmp", L"Rep.bmp", L"Rand.bmp"})
      files.Write(L"Skins\\" + folder + L"\\" + name, ToolBitmap(1));
  }

  // The settings window on screen, without its start step hiding it.
  TLumorixMainForm& ShowPlayer() {
    TLumorixMainForm& form = StartPlayer();
    form.Timer.SetEnabled(false);
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpFor(milliseconds(200));
    return form;
  }

  static std::vector<std::wstring> SkinCaptions(const TLumorixMainForm& form) {
    std::vector<std::wstring> captions;
    for (size_t i = 0; i < form.Skins1.Count(); ++i) captions.push_back(form.Skins1.Item(i).Caption());
    return captions;
  }

  // Runs a menu item as the user's choice does, so a failure reaches the error box.
  static void Choose(const TLumorixMainForm& form, const ui::MenuItem& item) {
    SendMessageW(form.Handle(), WM_COMMAND, item.Id(), 0);
  }

  // A screen pixel of the window's client area.
  static COLORREF ClientPixel(const ui::Window& window, int x, int y) {
    window.Repaint();
    PumpFor(milliseconds(100));
    POINT point{x, y};
    ClientToScreen(window.Handle(), &point);
    return ScreenShot().Pixel(point.x, point.y);
  }

  static const ui::MenuItem& ItemCaptioned(const TLumorixMainForm& form, const std::wstring& caption) {
    for (const ui::MenuItem* item : form.SkinItems)
      if (item->Caption() == caption) return *item;
    throw std::runtime_error("no such skin item");
  }

  static bool PicturesShown(const TLumorixMainForm& form) {
    for (const ui::Picture* picture :
         {&form.ImPrevious, &form.ImPlay, &form.ImPause, &form.ImStop, &form.ImNext, &form.ImPL, &form.ImCC})
      if (!picture->Visible()) return false;
    return !form.TB.Visible() && !form.BtShowPlayList.Visible() && !form.BtSCC.Visible();
  }
  static bool PlainLook(const TLumorixMainForm& form) {
    for (const ui::Picture* picture :
         {&form.ImPrevious, &form.ImPlay, &form.ImPause, &form.ImStop, &form.ImNext, &form.ImPL, &form.ImCC})
      if (picture->Visible()) return false;
    return form.TB.Visible() && form.BtShowPlayList.Visible() && form.BtSCC.Visible();
  }
};

}  // namespace

TEST_F(SkinTest, WithoutASkinsFolderTheMenuHoldsOnlyStandartWindows) {
  TLumorixMainForm& form = StartPlayer();
  EXPECT_EQ(SkinCaptions(form), std::vector<std::wstring>{L"StandartWindows"});
  EXPECT_TRUE(PlainLook(form));
}

TEST_F(SkinTest, OnlyFoldersWithASkinIniAreListed) {
  MakeSkin(L"Green.skn", "[Info]\nName=Green\n", false);
  files.MakeFolder(L"Skins\\Blue.skn");
  files.Write(L"Skins\\Red.skn", "[Info]\nName=Red\n");
  files.Write(L"Skins\\Yellow.txt\\Skin.ini", "[Info]\nName=Yellow\n");
  files.Write(L"Skins\\Huge.skn\\Skin.ini", "[Info]\nName=Huge\n" + std::string(IniFile::kSizeLimit, ';'));
  TLumorixMainForm& form = StartPlayer();
  EXPECT_EQ(SkinCaptions(form), (std::vector<std::wstring>{L"StandartWindows", L"Green"}));
  ASSERT_EQ(form.SkinItems.size(), 1u);
  EXPECT_EQ(form.SkinItems[0], &form.Skins1.Item(1));
  // Shift with the caption's first character as the key.
  EXPECT_EQ(form.SkinItems[0]->GetShortcut().Text(), L"Shift+G");
}

TEST_F(SkinTest, SkinWithoutNameReadsNoNameAndGivesThePlainLook) {
  MakeSkin(L"Nameless.skn", "[Info]\nAuthor=Someone\n");
  TLumorixMainForm& form = StartPlayer();
  ASSERT_EQ(SkinCaptions(form), (std::vector<std::wstring>{L"StandartWindows", L"NoName"}));
  Choose(form, *form.SkinItems[0]);
  EXPECT_TRUE(PlainLook(form));
  EXPECT_EQ(form.Skin, L"");
}

TEST_F(SkinTest, SkinWithOnlyInfoTakesDefaultPicturesAndPlaces) {
  MakeSkin(L"Only.skn", "[Info]\nName=Only\n");
  TLumorixMainForm& form = StartPlayer();
  ASSERT_EQ(form.SkinItems.size(), 1u);
  Choose(form, *form.SkinItems[0]);
  EXPECT_TRUE(errors.Boxes().empty());
  EXPECT_TRUE(PicturesShown(form));
  EXPECT_EQ(form.Skin, files.Path(L"Skins\\Only.skn\\skin.ini"));
  struct Place {
    const ui::Picture* picture;
    int left, top, size;
  };
  for (const Place& place :
       {Place{&form.ImPrevious, 8, 376, 64}, Place{&form.ImPlay, 80, 376, 64}, Place{&form.ImPause, 152, 376, 64},
        Place{&form.ImStop, 224, 376, 64}, Place{&form.ImNext, 296, 376, 64}, Place{&form.ImPL, 376, 376, 32},
        Place{&form.ImCC, 376, 408, 32}}) {
    ui::Bounds bounds = place.picture->GetBounds();
    EXPECT_EQ(bounds.left, place.left);
    EXPECT_EQ(bounds.top, place.top);
    EXPECT_EQ(bounds.width, place.size);
    EXPECT_EQ(bounds.height, place.size);
  }
  // The window colour is the one it had.
  EXPECT_EQ(form.Color(), 0x00C1BFBFu);
}

TEST_F(SkinTest, PlacesInHexadecimalAndNonIntegersFallingBack) {
  MakeSkin(L"Placed.skn", "[Info]\nName=Placed\n[Play]\nLeft=$10\nTop=0x20\n[Stop]\nLeft=far\nTop=\n");
  TLumorixMainForm& form = StartPlayer();
  Choose(form, *form.SkinItems[0]);
  EXPECT_EQ(form.ImPlay.Left(), 16);
  EXPECT_EQ(form.ImPlay.Top(), 32);
  EXPECT_EQ(form.ImStop.Left(), 224);
  EXPECT_EQ(form.ImStop.Top(), 376);
}

TEST_F(SkinTest, ColourNamesAndIntegersPaintTheWindow) {
  MakeSkin(L"Black.skn", "[Info]\nName=Black\n[MainForm]\nColor=clBlack\n");
  MakeSkin(L"Red.skn", "[Info]\nName=Red\n[MainForm]\nColor=$000000FF\n");
  MakeSkin(L"Face.skn", "[Info]\nName=Face\n[MainForm]\nColor=clBtnFace\n");
  TLumorixMainForm& form = ShowPlayer();
  EXPECT_TRUE(Near(ClientPixel(form, 568, 300), RGB(0xBF, 0xBF, 0xC1), 0));

  form.SetSkin(files.Path(L"Skins\\Black.skn\\Skin.ini"));
  EXPECT_EQ(ClientPixel(form, 568, 300), RGB(0, 0, 0));
  // A transparent picture shows the new colour through.
  std::string halfClear = MakePng(64, 64, [](int x, int) { return x < 32 ? 0u : Opaque(0xFFFFFF); });
  files.Write(L"Skins\\Black.skn\\Play.png", halfClear);
  files.Write(L"Skins\\Red.skn\\Play.png", halfClear);
  form.SetSkin(files.Path(L"Skins\\Black.skn\\Skin.ini"));
  EXPECT_EQ(ClientPixel(form.ImPlay, 10, 10), RGB(0, 0, 0));
  EXPECT_EQ(ClientPixel(form.ImPlay, 50, 10), RGB(255, 255, 255));

  form.SetSkin(files.Path(L"Skins\\Red.skn\\Skin.ini"));
  EXPECT_EQ(ClientPixel(form, 568, 300), RGB(255, 0, 0));
  EXPECT_EQ(ClientPixel(form.ImPlay, 10, 10), RGB(255, 0, 0));

  form.SetSkin(files.Path(L"Skins\\Face.skn\\Skin.ini"));
  EXPECT_EQ(form.Color(), 0x8000000Fu);
  EXPECT_EQ(ClientPixel(form, 568, 300), GetSysColor(COLOR_BTNFACE));
}

TEST_F(SkinTest, EmptyColourStopsTheSkinWithTheErrorBox) {
  MakeSkin(L"Good.skn", "[Info]\nName=Good\n");
  MakeSkin(L"Empty.skn", "[Info]\nName=Empty\n[MainForm]\nColor=\n");
  TLumorixMainForm& form = StartPlayer();
  form.SetSkin(files.Path(L"Skins\\Good.skn\\Skin.ini"));
  files.Write(L"Skins\\Empty.skn\\Add.bmp", ToolBitmap(3));
  Choose(form, ItemCaptioned(form, L"Empty"));
  ASSERT_EQ(errors.Boxes().size(), 1u);
  EXPECT_EQ(errors.Boxes()[0].text, L"'' is not a valid integer value.");
  EXPECT_EQ(errors.Boxes()[0].title, L"Lumorix - settings");
  EXPECT_EQ(form.Skin, files.Path(L"Skins\\Good.skn\\Skin.ini"));  // kept
  EXPECT_EQ(form.PlayListForm().ImageList.Count(), 4);             // not touched
  EXPECT_TRUE(PicturesShown(form));
}

TEST_F(SkinTest, MissingPictureStopsTheSkinAndKeepsWhatWasLoaded) {
  MakeSkin(L"Gone.skn", "[Info]\nName=Gone\n[MainForm]\nColor=clRed\n");
  files.Remove(L"Skins\\Gone.skn\\Next.png");
  files.Write(L"Skins\\Gone.skn\\Add.bmp", ToolBitmap(3));
  TLumorixMainForm& form = StartPlayer();
  Choose(form, *form.SkinItems[0]);
  ASSERT_EQ(errors.Boxes().size(), 1u);
  EXPECT_EQ(errors.Boxes()[0].text, L"Cannot open file " + files.Path(L"Skins\\Gone.skn\\Next.png") + L".");
  EXPECT_EQ(form.Color(), 0x000000FFu);  // set before the pictures
  EXPECT_TRUE(form.ImStop.HasBitmap());
  EXPECT_FALSE(form.ImNext.HasBitmap());
  EXPECT_FALSE(form.ImCC.HasBitmap());
  EXPECT_EQ(form.PlayListForm().ImageList.Count(), 4);  // the default images, untouched
  EXPECT_EQ(form.Skin, L"");
}

TEST_F(SkinTest, UnknownPictureExtensionStopsTheSkin) {
  MakeSkin(L"Gif.skn", "[Info]\nName=Gif\n[Pause]\nImg=Pause.gif\n");
  TLumorixMainForm& form = StartPlayer();
  Choose(form, *form.SkinItems[0]);
  ASSERT_EQ(errors.Boxes().size(), 1u);
  EXPECT_EQ(errors.Boxes()[0].text, L"Unknown picture file extension (.gif).");
  EXPECT_TRUE(form.ImPlay.HasBitmap());
  EXPECT_FALSE(form.ImPause.HasBitmap());
}

TEST_F(SkinTest, ToolBitmapsAreCutIntoImagesAndAMissingOneAddsNothing) {
  MakeSkin(L"Tools.skn", "[Info]\nName=Tools\n[TB]\nDel=Two.bmp\nRep=Missing.bmp\n");
  files.Write(L"Skins\\Tools.skn\\Two.bmp", ToolBitmap(2));
  TLumorixMainForm& form = StartPlayer();
  form.SetSkin(files.Path(L"Skins\\Tools.skn\\Skin.ini"));
  HIMAGELIST images = form.PlayListForm().ImageList.Handle();
  ASSERT_EQ(ImageList_GetImageCount(images), 4);  // add, two from Two.bmp, random

  // Pure blue is transparent: drawn over green, the corner stays green and the middle is red.
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 24, 24);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, canvas);
  for (int image = 0; image < 4; ++image) {
    RECT all{0, 0, 24, 24};
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(dc, &all, green);
    DeleteObject(green);
    ImageList_Draw(images, image, dc, 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 255, 0)) << image;
    EXPECT_EQ(GetPixel(dc, 12, 12), RGB(255, 0, 0)) << image;
  }
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
}

TEST_F(SkinTest, StandartWindowsThenRestartBringsTheSkinBack) {
  MakeSkin(L"Back.skn", "[Info]\nName=Back\n[MainForm]\nColor=clTeal\n");
  {
    TLumorixMainForm& form = StartPlayer();
    Choose(form, *form.SkinItems[0]);
    EXPECT_TRUE(PicturesShown(form));
    Choose(form, form.StandartWindows1);
    EXPECT_TRUE(PlainLook(form));
    EXPECT_EQ(form.Color(), 0x00808000u);  // the colour stays as the skin left it
    form.ItExit.Click();
  }
  EXPECT_EQ(DecodeString("Skin", *ReadSetting(kSettingsKey, "Skin")),
            WideToAnsi(files.Path(L"Skins\\Back.skn\\skin.ini")));
  player.reset();
  ui::Application::Instance().ClearTermination();
  TLumorixMainForm& again = StartPlayer();
  EXPECT_TRUE(PicturesShown(again));
  EXPECT_EQ(again.Color(), 0x00808000u);
}

TEST_F(SkinTest, SkinNamedUnlikeItsFolderIsListedButGivesThePlainLook) {
  MakeSkin(L"Folder.skn", "[Info]\nName=&Other\n");
  TLumorixMainForm& form = StartPlayer();
  Choose(form, *form.SkinItems[0]);
  EXPECT_TRUE(PlainLook(form));
  EXPECT_TRUE(errors.Boxes().empty());
}

TEST_F(SkinTest, EverySkinIsListedBeyondFiftyOne) {
  for (int i = 0; i < 53; ++i) files.Write(L"Skins\\S" + std::to_wstring(i) + L".skn\\Skin.ini", "[Info]\n");
  TLumorixMainForm& form = StartPlayer();
  EXPECT_EQ(form.SkinItems.size(), 53u);
  EXPECT_EQ(form.Skins1.Count(), 54u);
}

TEST_F(SkinTest, ShippedSkinIsAppliedWithRealTransparency) {
  TLumorixMainForm& form = ShowPlayer();
  form.SetSkin(WindowsPath(kShippedSkin));
  ASSERT_TRUE(errors.Boxes().empty()) << Narrow(errors.Boxes()[0].text);
  EXPECT_TRUE(PicturesShown(form));
  EXPECT_EQ(form.Color(), 0x00C1BFBFu);
  EXPECT_EQ(form.ImPlay.GetBounds().width, 64);
  EXPECT_EQ(form.ImCC.GetBounds().top, 408);
  // A clear corner of the play button shows the window colour; its middle does not.
  const COLORREF window = RGB(0xBF, 0xBF, 0xC1);
  EXPECT_EQ(ClientPixel(form.ImPlay, 0, 0), window);
  EXPECT_NE(ClientPixel(form.ImPlay, 32, 32), window);
  EXPECT_EQ(ClientPixel(form.ImPL, 0, 0), window);
  EXPECT_EQ(form.PlayListForm().ImageList.Count(), 4);
  ScreenShot().Save("shipped-skin");
}

TEST_F(SkinTest, Utf8SkinNamesItsItemAndPicturesBeyondTheAnsiCodePage) {
  // "Ελλάδα" with its play button "Κουμπί.png", in UTF-8 with a byte-order mark.
  MakeSkin(L"\u0395\u03BB\u03BB\u03AC\u03B4\u03B1.skn",
           "\xEF\xBB\xBF[Info]\nName=\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1\n"
           "[Play]\nImg=\xCE\x9A\xCE\xBF\xCF\x85\xCE\xBC\xCF\x80\xCE\xAF.png\n");
  files.Write(L"Skins\\\u0395\u03BB\u03BB\u03AC\u03B4\u03B1.skn\\\u039A\u03BF\u03C5\u03BC\u03C0\u03AF.png", Green32());
  TLumorixMainForm& form = StartPlayer();
  ASSERT_EQ(SkinCaptions(form),
            (std::vector<std::wstring>{L"StandartWindows", L"\u0395\u03BB\u03BB\u03AC\u03B4\u03B1"}));
  Choose(form, *form.SkinItems[0]);
  EXPECT_EQ(ErrorText(errors), L"");
  EXPECT_EQ(form.ImPlay.GetBounds().width, 32);
}
