// How the screen-saver program reads the command lines the system starts it
// with, and the rules for the system's screen-saver setting.
#include <gtest/gtest.h>

#include "common/screen_saver_command.h"
#include "common/screen_saver_setting.h"

using namespace lumorix;

TEST(ScreenSaverCommandLine, ArgumentsFollowTheProgramName) {
  using Words = std::vector<std::wstring>;
  EXPECT_EQ(CommandLineArguments(L"C:\\WINDOWS\\SYSTEM32\\LUMORI~1.SCR /s"), Words{L"/s"});
  EXPECT_EQ(CommandLineArguments(L"\"C:\\Program Files\\Lumorix\\LumorixSS.scr\"  /p   1234 "),
            (Words{L"/p", L"1234"}));
  EXPECT_EQ(CommandLineArguments(L"ss.scr \"/c\" \"two words\"\tlast"), (Words{L"/c", L"two words", L"last"}));
  EXPECT_EQ(CommandLineArguments(L"ss.scr a\"b c\"d"), Words{L"ab cd"});
  EXPECT_EQ(CommandLineArguments(L"ss.scr \"\""), Words{L""});
  EXPECT_TRUE(CommandLineArguments(L"\"C:\\a b\\ss.scr\"").empty());
  EXPECT_TRUE(CommandLineArguments(L"").empty());
}

TEST(ScreenSaverCommandLine, SwitchesGiveTheirCommands) {
  EXPECT_EQ(ScreenSaverCommand(L"/s"), 0);
  EXPECT_EQ(ScreenSaverCommand(L"-S"), 0);
  EXPECT_EQ(ScreenSaverCommand(L"/c"), 1);
  EXPECT_EQ(ScreenSaverCommand(L"-C"), 1);
  EXPECT_EQ(ScreenSaverCommand(L"/p"), 2);
  EXPECT_EQ(ScreenSaverCommand(L"/P"), 2);
  EXPECT_EQ(ScreenSaverCommand(L"/a"), 3);
  EXPECT_EQ(ScreenSaverCommand(L"xa"), 3) << "any first character is dropped";
  EXPECT_EQ(ScreenSaverCommand(L"C"), 1) << "a single character is compared as it is";
}

TEST(ScreenSaverCommandLine, AnythingElseStartsTheScreenSaver) {
  EXPECT_EQ(ScreenSaverCommand(L"/c:1234"), 0) << "configure with its parent in the same argument";
  EXPECT_EQ(ScreenSaverCommand(L"c"), 0) << "one character is not converted";
  EXPECT_EQ(ScreenSaverCommand(L"/"), 0);
  EXPECT_EQ(ScreenSaverCommand(L""), 0);
  EXPECT_EQ(ScreenSaverCommand(L"/config"), 0);
  EXPECT_EQ(ScreenSaverCommand(L"//c"), 0);
  EXPECT_EQ(ScreenSaverCommand(L"/\u00e7"), 0) << "only a to z are upper-cased";
}

TEST(ScreenSaverCommandLine, PreviewHandleIsDecimalOrHexadecimal) {
  EXPECT_EQ(CommandLineNumber(L"1234"), 1234);
  EXPECT_EQ(CommandLineNumber(L"$4D2"), 1234);
  EXPECT_EQ(CommandLineNumber(L"$4d2"), 1234);
  EXPECT_EQ(CommandLineNumber(L"0x4D2"), 1234);
  EXPECT_EQ(CommandLineNumber(L"0X4d2"), 1234);
  EXPECT_EQ(CommandLineNumber(L"-5"), -5);
  EXPECT_EQ(CommandLineNumber(L"0012"), 12);
  EXPECT_EQ(CommandLineNumber(L"12ab"), 12) << "digits stop at the first non-digit";
  EXPECT_EQ(CommandLineNumber(L"4D2"), 4) << "hexadecimal only with its mark";
  EXPECT_EQ(CommandLineNumber(L"window"), 0);
  EXPECT_EQ(CommandLineNumber(L""), 0);
  EXPECT_EQ(CommandLineNumber(L"$"), 0);
  EXPECT_EQ(CommandLineNumber(L"$FFFFFFFFFFFFFFFFF"), -1) << "an overlong number wraps without overflow";
}

TEST(ScreenSaverCommandLine, WholeCommandLines) {
  EXPECT_EQ(ScreenSaverRequestFor(L"LumorixSS.scr /s"), (ScreenSaverRequest{0, 0}));
  EXPECT_EQ(ScreenSaverRequestFor(L"LumorixSS.scr"), (ScreenSaverRequest{0, 0}));
  EXPECT_EQ(ScreenSaverRequestFor(L"LumorixSS.scr /c"), (ScreenSaverRequest{1, 0}));
  EXPECT_EQ(ScreenSaverRequestFor(L"LumorixSS.scr /c:1234"), (ScreenSaverRequest{0, 0}));
  EXPECT_EQ(ScreenSaverRequestFor(L"LumorixSS.scr /p 1234"), (ScreenSaverRequest{2, 1234}));
  EXPECT_EQ(ScreenSaverRequestFor(L"LumorixSS.scr \"/p\" \"0x10\""), (ScreenSaverRequest{2, 16}));
  EXPECT_EQ(ScreenSaverRequestFor(L"LumorixSS.scr /p"), (ScreenSaverRequest{2, 0}));
  EXPECT_EQ(ScreenSaverRequestFor(L"LumorixSS.scr /a 1234"), (ScreenSaverRequest{3, 0})) << "only /p reads a number";
  EXPECT_EQ(ScreenSaverRequestFor(L"LumorixSS.scr /s 1234"), (ScreenSaverRequest{0, 0}));
}

TEST(ScreenSaverSetting, RecognisesOurOwnScreenSaverInAnyForm) {
  EXPECT_TRUE(NamesOwnScreenSaver(L"C:\\WINDOWS\\system32\\LUMORI~1.SCR"));
  EXPECT_TRUE(NamesOwnScreenSaver(L"C:\\Windows\\System32\\LumorixSS.scr"));
  EXPECT_TRUE(NamesOwnScreenSaver(L"C:\\Users\\ANNSMI~1\\AppData\\Local\\Lumorix\\lumorixss.SCR"));
  EXPECT_TRUE(NamesOwnScreenSaver(L"C:\\x\\LUMORI~12.SCR"));
  EXPECT_TRUE(NamesOwnScreenSaver(L"LumorixSS.scr"));
  EXPECT_FALSE(NamesOwnScreenSaver(L"C:\\Windows\\system32\\Bubbles.scr"));
  EXPECT_FALSE(NamesOwnScreenSaver(L"C:\\Windows\\system32\\LUMORI~X.SCR"));
  EXPECT_FALSE(NamesOwnScreenSaver(L"C:\\Windows\\system32\\LUMORI~.SCR"));
  EXPECT_FALSE(NamesOwnScreenSaver(L"C:\\LumorixSS.scr\\other.scr"));
  EXPECT_FALSE(NamesOwnScreenSaver(L""));
}

TEST(ScreenSaverSetting, PathsWithBlanksAreWrittenInTheirShortForm) {
  EXPECT_EQ(ScreenSaverSettingPath(L"C:\\Windows\\System32\\LumorixSS.scr", L"C:\\WINDOWS\\SYSTEM32\\LUMORI~1.SCR"),
            L"C:\\Windows\\System32\\LumorixSS.scr");
  EXPECT_EQ(ScreenSaverSettingPath(L"C:\\Users\\Ann Smith\\AppData\\Local\\Lumorix\\LumorixSS.scr",
                                   L"C:\\Users\\ANNSMI~1\\AppData\\Local\\Lumorix\\LUMORI~1.SCR"),
            L"C:\\Users\\ANNSMI~1\\AppData\\Local\\Lumorix\\LUMORI~1.SCR");
  // Without short names there is no form without the blank.
  EXPECT_EQ(ScreenSaverSettingPath(L"C:\\Users\\Ann Smith\\LumorixSS.scr", L"C:\\Users\\Ann Smith\\LumorixSS.scr"),
            L"C:\\Users\\Ann Smith\\LumorixSS.scr");
  EXPECT_EQ(ScreenSaverSettingPath(L"C:\\Users\\Ann Smith\\LumorixSS.scr", L""),
            L"C:\\Users\\Ann Smith\\LumorixSS.scr");
}
