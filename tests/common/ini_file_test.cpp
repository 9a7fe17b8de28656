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
