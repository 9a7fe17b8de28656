// The shipped Russian language file on a system whose ANSI code page is
// Windows-1251 (this program runs in a Wine session with a Russian locale).
#include "player/colour/color_control_form.h"
#include "tests/player/core/player_fixture.h"
#include "tests/support/program_folder.h"

using namespace lumorix;
using namespace lumorix::test;

namespace {

const std::string kRussian = std::string(LUMORIX_BUILD_DIR) + "/bin/Languages/Russian.ini";

}  // namespace

TEST(RussianSystem, AnsiCodePageIsWindows1251) { ASSERT_EQ(GetACP(), 1251u); }

TEST_F(PlayerTest, ShippedRussianFileShowsCyrillicCaptions) {
  TLumorixMainForm& form = StartPlayer();
  form.SetLanguage(WindowsPath(kRussian));
  EXPECT_EQ(form.File1.Caption(), L"&Файл");
  EXPECT_EQ(form.Open.Caption(), L"&Открыть");
  EXPECT_EQ(form.ItOpen.Caption(), L"&Открыть");
  EXPECT_EQ(form.GBSound.Text(), L"Настройки звука");
  EXPECT_EQ(form.CBRSS.Text(), L"Заменить заставку");
  EXPECT_EQ(form.ColorControlForm().LSaturation.Text(), L"Насыщенность");
  EXPECT_EQ(form.ColorControlForm().BDefault.Text(), L"По умолчанию");
  EXPECT_EQ(form.ItPlay.Caption(), L"&Воспроизвести");
  EXPECT_EQ(form.ItPause.Caption(), L"&Пауза");
  EXPECT_EQ(form.ItExit.Caption(), L"В&ыход");
  // The window shows them as they are: the control's own text, read back through Windows.
  wchar_t shown[64] = {};
  GetWindowTextW(form.GBPreview.Handle(), shown, 64);
  EXPECT_STREQ(shown, L"Просмотр");
}

TEST_F(PlayerTest, CyrillicLanguageFileNameBecomesItsMenuCaption) {
  ProgramFolderFiles files{{L"Languages"}};
  // "Русский.ini" named in Windows-1251, as the file system of such a system shows it.
  files.Write(L"Languages\\\u0420\u0443\u0441\u0441\u043a\u0438\u0439.ini", "[MainMenu]\nFile=\xD4\xE0\xE9\xEB\n");
  TLumorixMainForm& form = StartPlayer();
  ASSERT_EQ(form.LanguageItems.size(), 1u);
  EXPECT_EQ(form.LanguageItems[0]->Caption(), L"Русский");
  // Ctrl with the caption's first character in the ANSI code page (0xD0).
  EXPECT_EQ(form.LanguageItems[0]->GetShortcut().key, 0xD0u);
  form.LanguageItems[0]->Click();
  EXPECT_EQ(form.File1.Caption(), L"Файл");
}
