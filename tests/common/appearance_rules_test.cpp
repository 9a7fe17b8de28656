// Colours and integers as skins write them, what a "Skin.ini" and a language
// file say, and the about window's Windows version line.
#include <gtest/gtest.h>

#include "common/color_names.h"
#include "common/language_texts.h"
#include "common/skin_description.h"
#include "common/windows_version.h"

using namespace lumorix;

TEST(SkinIntegers, DecimalDollarAndZeroXForms) {
  EXPECT_EQ(ParseInteger("376"), 376);
  EXPECT_EQ(ParseInteger("-8"), -8);
  EXPECT_EQ(ParseInteger("$178"), 0x178);
  EXPECT_EQ(ParseInteger("0x1a"), 0x1A);
  EXPECT_EQ(ParseInteger("0X1A"), 0x1A);
  EXPECT_EQ(ParseInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
}

TEST(SkinIntegers, AnythingElseIsNoInteger) {
  for (const char* text : {"", " 1", "1 ", "12px", "$", "0x", "$1G", "2147483648", "$100000000", "1.5", "--1"})
    EXPECT_FALSE(ParseInteger(text)) << text;
}

TEST(SkinColours, TableHasFortyNineNamesWithTheirValues) {
  EXPECT_EQ(ColorFromName("clBlack"), 0x00000000u);
  EXPECT_EQ(ColorFromName("CLRED"), 0x000000FFu);
  EXPECT_EQ(ColorFromName("clskyblue"), 0x00F0CAA6u);
  EXPECT_EQ(ColorFromName("clMedGray"), 0x00A4A0A0u);
  EXPECT_EQ(ColorFromName("clScrollBar"), 0x80000000u);
  EXPECT_EQ(ColorFromName("clInfoBk"), 0x80000018u);
  EXPECT_EQ(ColorFromName("clGradientActiveCaption"), 0x8000001Bu);
  EXPECT_EQ(ColorFromName("clGradientInactiveCaption"), 0x8000001Cu);
  EXPECT_EQ(ColorFromName("clNone"), 0x1FFFFFFFu);
  EXPECT_EQ(ColorFromName("clDefault"), 0x20000000u);
  EXPECT_FALSE(ColorFromName("clOrange"));
  // No system colour 25 or 26 has a name.
  EXPECT_FALSE(ColorName(0x80000019u));
  EXPECT_FALSE(ColorName(0x8000001Au));
  int named = 0;
  for (uint32_t index = 0; index <= 28; ++index) named += ColorName(0x80000000u | index).has_value();
  EXPECT_EQ(named, 27);
}

TEST(SkinColours, TextIsANameOrAnInteger) {
  EXPECT_EQ(ColorFromText("clBlack"), 0u);
  EXPECT_EQ(ColorFromText("$000000FF"), 0xFFu);
  EXPECT_EQ(ColorFromText("0x00FF0000"), 0x00FF0000u);
  EXPECT_EQ(ColorFromText("255"), 255u);
  EXPECT_FALSE(ColorFromText(""));
  EXPECT_FALSE(ColorFromText("black"));
}

TEST(SkinColours, CurrentColourAsTextIsItsNameOrEightHexDigits) {
  EXPECT_EQ(ColorToText(0x00C1BFBF), "$00C1BFBF");
  EXPECT_EQ(ColorToText(0x000000FF), "clRed");
  EXPECT_EQ(ColorToText(0x8000000F), "clBtnFace");
  EXPECT_EQ(ColorToText(0x00000001), "$00000001");
  EXPECT_EQ(ColorFromText(ColorToText(0x00123456)), 0x00123456u);
}

TEST(SkinDescription, MissingKeysTakeTheirDefaults) {
  SkinDescription skin = ReadSkinDescription(IniFile::Parse("[Info]\nName=Only\n"), "$00C1BFBF");
  EXPECT_EQ(skin.colorText, "$00C1BFBF");
  EXPECT_EQ(skin.pictures[0].file, "Previous.png");
  EXPECT_EQ(skin.pictures[0].left, 8);
  EXPECT_EQ(skin.pictures[0].top, 376);
  EXPECT_EQ(skin.pictures[4].file, "Next.png");
  EXPECT_EQ(skin.pictures[4].left, 296);
  EXPECT_EQ(skin.pictures[5].file, "PlayList.png");
  EXPECT_EQ(skin.pictures[5].left, 376);
  EXPECT_EQ(skin.pictures[6].file, "ColorControl.png");
  EXPECT_EQ(skin.pictures[6].top, 408);
  EXPECT_EQ(skin.toolButtons[0], "Add.bmp");
  EXPECT_EQ(skin.toolButtons[3], "Rand.bmp");
  EXPECT_STREQ(SkinSection(SkinButton::PL), "PL");
}

TEST(SkinDescription, PlacesInEveryFormAndNonIntegersGiveTheDefault) {
  SkinDescription skin = ReadSkinDescription(
      IniFile::Parse("[MainForm]\nColor=\n[Play]\nImg=P.bmp\nLeft=$20\nTop=0x30\n[Stop]\nLeft=ten\nTop=\n"), "clRed");
  EXPECT_EQ(skin.colorText, "");  // present but empty: checked (and refused) when applied
  EXPECT_EQ(skin.pictures[1].file, "P.bmp");
  EXPECT_EQ(skin.pictures[1].left, 0x20);
  EXPECT_EQ(skin.pictures[1].top, 0x30);
  EXPECT_EQ(skin.pictures[3].left, 224);
  EXPECT_EQ(skin.pictures[3].top, 376);
}

TEST(SkinDescription, NameIsCutTo255AndDefaultsToNoName) {
  EXPECT_EQ(SkinName(IniFile::Parse("[Info]\nAuthor=x\n")), "NoName");
  EXPECT_EQ(SkinName(IniFile::Parse("[Info]\nName=" + std::string(400, 'a'))).size(), 255u);
}

TEST(SkinDescription, FailureTexts) {
  EXPECT_EQ(CannotOpenFileMessage("C:\\S\\a.png"), "Cannot open file C:\\S\\a.png");
  EXPECT_EQ(UnknownPictureExtensionMessage("gif"), "Unknown picture file extension (.gif)");
  EXPECT_EQ(NotAnIntegerMessage(""), "'' is not a valid integer value");
}

TEST(LanguageTexts, BuiltInTextsIncludeTheTraysPaly) {
  LanguageTexts texts;
  EXPECT_EQ(texts.Text(Caption::ItPlay), "&Paly");
  EXPECT_EQ(texts.Text(Caption::ItPause), "&Pause");
  EXPECT_EQ(texts.Text(Caption::BtSCC), "Color Control");
  EXPECT_EQ(texts.Text(Caption::ItPrevious), "P&revious");
  EXPECT_FALSE(texts.FromFile(Caption::File));
}

TEST(LanguageTexts, FileTextsEmptyOnesAndMissingOnes) {
  LanguageTexts texts(IniFile::Parse("[MainMenu]\nFile=&Datei\n[main]\nBTSCC=\n[TrayPopUp]\nOpen=&Offnen\n"));
  EXPECT_EQ(texts.Text(Caption::File), "&Datei");
  EXPECT_EQ(texts.Text(Caption::BtSCC), "");
  EXPECT_TRUE(texts.FromFile(Caption::BtSCC));
  // One key names both Open items.
  EXPECT_EQ(texts.Text(Caption::Open), "&Offnen");
  EXPECT_EQ(texts.Text(Caption::ItOpen), "&Offnen");
  EXPECT_EQ(texts.Text(Caption::ItPlay), "&Paly");
  EXPECT_EQ(texts.Text(Caption::LSharpness), "Sharpness");
  EXPECT_EQ(texts.Text(Caption::ItPauseOnBattery), "Pause on &battery");
}

TEST(LanguageTexts, TableOrderAndKeys) {
  EXPECT_STREQ(CaptionKeyOf(Caption::BtShowPlayList).key, "BtShowPlayList");
  EXPECT_STREQ(CaptionKeyOf(Caption::Open).section, "TrayPopUp");
  EXPECT_STREQ(CaptionKeyOf(Caption::ItOptions).key, "Settings");
  EXPECT_STREQ(CaptionKeyOf(Caption::ItExit).builtIn, "&Exit");
  EXPECT_STREQ(CaptionKeyOf(Caption::ItPauseWhenCovered).section, "MainMenu");
  EXPECT_STREQ(CaptionKeyOf(Caption::ItPauseOnBattery).key, "PauseOnBattery");
  EXPECT_STREQ(CaptionKeyOf(Caption::ItPauseWhenLocked).builtIn, "Pause when loc&ked or the display is off");
  EXPECT_STREQ(CaptionKeyOf(Caption::ItPauseWhenRemote).key, "PauseWhenRemote");
  EXPECT_STREQ(CaptionKeyOf(Caption::ItTransitionFade05).key, "Crossfade05");
  EXPECT_STREQ(CaptionKeyOf(Caption::ItChange15).key, "ChangeClip15");
  EXPECT_EQ(static_cast<size_t>(Caption::ItChange60) + 1, kCaptionCount);
}

namespace {
std::string Line(uint32_t major, uint32_t minor, uint32_t build, uint32_t platform, std::string sp = {}) {
  return WindowsVersionLine({major, minor, build, platform, std::move(sp)});
}
}  // namespace

TEST(WindowsVersionLine, VersionsOfTheTable) {
  EXPECT_EQ(Line(3, 51, 1057, 2), "Windows NT 3.5 (Build 1057: )");
  EXPECT_EQ(Line(4, 0, 950, 1), "Windows 95 (Build 950: )");
  EXPECT_EQ(Line(4, 10, 67766446, 1, " A "), "Windows 98 (Build 67766446:  A )");
  EXPECT_EQ(Line(4, 0, 1381, 2, "Service Pack 6"), "Windows NT 4 (Build 1381: Service Pack 6)");
  EXPECT_EQ(Line(5, 0, 2195, 2, "Service Pack 4"), "Windows 2000 (Build 2195: Service Pack 4)");
  EXPECT_EQ(Line(5, 1, 2600, 2, "Service Pack 2"), "Windows XP (Build 2600: Service Pack 2)");
  EXPECT_EQ(Line(5, 2, 3790, 2), "Windows XP (Build 3790: )");
  EXPECT_EQ(Line(4, 90, 3000, 1), "Windows 98 (Build 3000: )");
}

TEST(WindowsVersionLine, BuildUsesAllThirtyTwoBitsUnsigned) {
  EXPECT_EQ(Line(5, 1, 0xFFFFFFFFu, 2), "Windows XP (Build 4294967295: )");
}

TEST(WindowsVersionLine, VersionsSixAndLaterAreNamed) {
  EXPECT_EQ(Line(6, 0, 6002, 2, "Service Pack 2"), "Windows Vista (Build 6002: Service Pack 2)");
  EXPECT_EQ(Line(6, 1, 7601, 2, "Service Pack 1"), "Windows 7 (Build 7601: Service Pack 1)");
  EXPECT_EQ(Line(6, 2, 9200, 2), "Windows 8 (Build 9200: )");
  EXPECT_EQ(Line(6, 3, 9600, 2), "Windows 8.1 (Build 9600: )");
  EXPECT_EQ(Line(10, 0, 19045, 2), "Windows 10 (Build 19045: )");
  EXPECT_EQ(Line(10, 0, 21999, 2), "Windows 10 (Build 21999: )");
  EXPECT_EQ(Line(10, 0, 22000, 2), "Windows 11 (Build 22000: )");
  EXPECT_EQ(Line(10, 0, 22631, 2), "Windows 11 (Build 22631: )");
}

TEST(WindowsVersionLine, UnknownVersionsKeepTheBareForm) {
  EXPECT_EQ(Line(6, 4, 9841, 2), " (Build 9841: )");
  EXPECT_EQ(Line(11, 0, 30000, 2), " (Build 30000: )");
  EXPECT_EQ(Line(2, 0, 1, 2), " (Build 1: )");
}
