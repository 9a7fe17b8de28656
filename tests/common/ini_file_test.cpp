// The profile-file rules that skins and language files are read with.
#include <gtest/gtest.h>

#include "common/ini_file.h"

using namespace lumorix;

TEST(IniFile, SectionsAndKeysMatchWithoutCaseAndBlanksAreDropped) {
  IniFile ini = IniFile::Parse("  [ Info ]  \r\n  NAME   =   Radorur   \r\n[mainform]\ncolor=$00C1BFBF\n");
  EXPECT_EQ(ini.Find("info", "name"), "Radorur");
  EXPECT_EQ(ini.Find("INFO", "Name"), "Radorur");
  EXPECT_EQ(ini.Find("MainForm", "Color"), "$00C1BFBF");
}

TEST(IniFile, MissingSectionKeyOrEqualsGivesTheDefault) {
  IniFile ini = IniFile::Parse("[Info]\nName\nAuthor=Vantrel\n");
  EXPECT_FALSE(ini.Find("Info", "Name"));  // no "=": not a value
  EXPECT_FALSE(ini.Find("Info", "Nam"));
  EXPECT_FALSE(ini.Find("Other", "Author"));
  EXPECT_EQ(ini.ReadString("Info", "Name", "NoName"), "NoName");
  EXPECT_EQ(ini.ReadString("Info", "Author", "x"), "Vantrel");
  EXPECT_EQ(IniFile().ReadString("Info", "Name", "NoName"), "NoName");
}

TEST(IniFile, EmptyValueIsKeptEmpty) {
  IniFile ini = IniFile::Parse("[Main]\nBtSCC=\nLTime =   \n");
  EXPECT_EQ(ini.Find("Main", "BtSCC"), "");
  EXPECT_EQ(ini.Find("Main", "LTime"), "");
  EXPECT_EQ(ini.ReadString("Main", "BtSCC", "Color Control"), "");
}

TEST(IniFile, FirstSectionAndFirstKeyWin) {
  IniFile ini = IniFile::Parse("[A]\nk=1\nk=2\n[a]\nk=3\nonly=4\n");
  EXPECT_EQ(ini.Find("A", "k"), "1");
  // A key found only in a later section of the same name is not seen.
  EXPECT_FALSE(ini.Find("A", "only"));
}

TEST(IniFile, CommentsLinesBeforeAnySectionAndQuotes) {
  IniFile ini = IniFile::Parse("Name=Outside\n; [Info]\n[Info]\n;Name=Commented\nName=\"  Quoted  \"\nOne='a\n");
  EXPECT_EQ(ini.Find("Info", "Name"), "  Quoted  ");
  EXPECT_EQ(ini.Find("Info", "One"), "'a");  // an unpaired quote stays
}

TEST(IniFile, ValueAfterTheFirstEqualsSignKeepsLaterOnes) {
  IniFile ini = IniFile::Parse("[S]\nk = a=b \n");
  EXPECT_EQ(ini.Find("S", "k"), "a=b");
}

TEST(IniFile, ValuesAreCutToTheBuffer) {
  std::string longName(300, 'n');
  IniFile ini = IniFile::Parse("[Info]\nName=" + longName + "\n");
  EXPECT_EQ(ini.Find("Info", "Name", 256)->size(), 255u);
  EXPECT_EQ(ini.Find("Info", "Name")->size(), 300u);
  EXPECT_EQ(ini.ReadString("Info", "Missing", "abcdef", 4), "abc");
  std::string huge(5000, 'h');
  EXPECT_EQ(IniFile::Parse("[S]\nk=" + huge).Find("S", "k")->size(), IniFile::kBufferSize - 1);
}

TEST(IniFile, LineEndingsOfEveryKindAndNoFinalNewline) {
  IniFile ini = IniFile::Parse("[S]\r\na=1\rb=2\nc=3");
  EXPECT_EQ(ini.Find("S", "a"), "1");
  EXPECT_EQ(ini.Find("S", "b"), "2");
  EXPECT_EQ(ini.Find("S", "c"), "3");
}

TEST(IniFile, SingleByteTextsPassUnchanged) {
  // Windows-1251 bytes of a Russian caption.
  std::string russian = "\xCF\xEB\xE5\xE9\xEB\xE8\xF1\xF2";
  IniFile ini = IniFile::Parse("[Main]\nBtShowPlayList=" + russian + "\n");
  EXPECT_EQ(ini.Find("Main", "BtShowPlayList"), russian);
}

namespace {

// UTF-16 bytes of a text, in either byte order, with the byte-order mark.
std::string Utf16(std::u16string_view text, bool bigEndian = false) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

}  // namespace

TEST(IniFile, ByteOrderMarksChooseHowTextsAreRead) {
  struct Case {
    std::string file;
    IniEncoding encoding;
    std::string name;  // "Name" of "Info", cut to 3 characters
  };
  const Case cases[] = {
      {"[Info]\nName=\xCF\xF0\xE8\xE2\n", IniEncoding::Ansi, "\xCF\xF0\xE8"},
      {"\xEF\xBB\xBF[Info]\nName=\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\n", IniEncoding::Utf8, "\xCE\x95\xCE\xBB\xCE\xBB"},
      {Utf16(u"[Info]\r\nName = \u0395\U0001F600\u00E9x\r\n"), IniEncoding::Utf8, "\xCE\x95\xF0\x9F\x98\x80\xC3\xA9"},
      {Utf16(u"[Info]\nName=\u042F\u0431", true), IniEncoding::Utf8, "\xD0\xAF\xD0\xB1"},
      // A lone surrogate and an odd last byte.
      {Utf16(u"[Info]\nName=\xD800z") + "\x41", IniEncoding::Utf8, "\xEF\xBF\xBDz"},
  };
  for (const Case& c : cases) {
    IniFile ini = IniFile::Parse(c.file);
    EXPECT_EQ(ini.Encoding(), c.encoding) << c.name;
    EXPECT_EQ(ini.ReadString("info", "NAME", "NoName", 4), c.name);
  }
}

TEST(IniFile, KeepingOnlyTheWantedKeysGivesTheSameAnswers) {
  const IniKey wanted[] = {{"Info", "Name"}, {"TB", "Add"}, {"TB", "Del"}};
  const std::string text = "[info]\nname=First\nName=Second\nAuthor=x\n[TB]\nAdd\nAdd=late\n[Info]\nName=Later\n";
  IniFile all = IniFile::Parse(text), kept = IniFile::Parse(text, wanted);
  for (const IniKey& key : wanted) EXPECT_EQ(kept.Find(key.section, key.key), all.Find(key.section, key.key));
  EXPECT_EQ(kept.Find("Info", "Name"), "First");
  EXPECT_TRUE(all.Find("Info", "Author"));
  EXPECT_FALSE(kept.Find("Info", "Author"));
}
