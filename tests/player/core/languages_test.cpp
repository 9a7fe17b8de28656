// The Languages menu and language files applied to the settings window, its
// menus, the tray menu and the colour-control window.
#include "common/ini_file.h"
#include "common/settings_layout.h"
#include "player/colour/color_control_form.h"
#include "tests/player/core/player_fixture.h"
#include "tests/support/program_folder.h"

using namespace lumorix;
using namespace lumorix::test;

namespace {

const std::string kShippedLanguages = std::string(LUMORIX_BUILD_DIR) + "/bin/Languages/";

class LanguageTest : public PlayerTest {
 protected:
  ProgramFolderFiles files{{L"Languages"}};

  static std::vector<std::wstring> LanguageCaptions(const TLumorixMainForm& form) {
    std::vector<std::wstring> captions;
    for (size_t i = 0; i < form.Languages1.Count(); ++i) captions.push_back(form.Languages1.Item(i).Caption());
    return captions;
  }

  // Every caption a language sets, in the table's order.
  static std::vector<std::wstring> Captions(TLumorixMainForm& form) {
    TLumorixColorControlForm& colours = form.ColorControlForm();
    return {form.BtShowPlayList.Text(),
            form.BtSCC.Text(),
            form.CBRunWithStartUp.Text(),
            form.File1.Caption(),
            form.Languages1.Caption(),
            form.Show1.Caption(),
            form.Help.Caption(),
            form.About.Caption(),
            form.Open.Caption(),
            form.GBPreview.Text(),
            form.GBSound.Text(),
            form.LBalance.Text(),
            form.LVolume.Text(),
            form.GBVideo.Text(),
            form.LRate.Text(),
            form.LTime.Text(),
            form.GBScreenSaver.Text(),
            form.CBRSS.Text(),
            colours.LBrightness.Text(),
            colours.LContrast.Text(),
            colours.LGamma.Text(),
            colours.LHue.Text(),
            colours.LSaturation.Text(),
            colours.LSharpness.Text(),
            colours.BDefault.Text(),
            form.ItPlay.Caption(),
            form.ItPause.Caption(),
            form.ItNext.Caption(),
            form.ItPrevious.Caption(),
            form.ItOpen.Caption(),
            form.ItOptions.Caption(),
            form.ItExit.Caption(),
            form.IdleControl().ItPauseWhenCovered.Caption(),
            form.IdleControl().ItPauseOnBattery.Caption(),
            form.IdleControl().ItPauseWhenLocked.Caption(),
            form.IdleControl().ItPauseWhenRemote.Caption(),
            form.ShowOnControl().ItShowOnPrimary.Caption(),
            form.ShowOnControl().ItShowOnEvery.Caption(),
            form.ShowOnControl().ItShowAcross.Caption(),
            form.ShowOnControl().ItShowEachOwnList.Caption(),
            form.LayerMissingHint};
  }

  static std::vector<std::wstring> BuiltIn() {
    return {L"PlayList",
            L"Color Control",
            L"Add to StartUp",
            L"&File",
            L"&Languages",
            L"&Show",
            L"&Help",
            L"&About",
            L"&Open",
            L"Preview",
            L"Sound Settings",
            L"Balance",
            L"Volume",
            L"Video",
            L"Rate",
            L"Time",
            L"ScreenSaver",
            L"Replace Screen Saver",
            L"Brightness",
            L"Contrast",
            L"Gamma",
            L"Hue",
            L"Saturation",
            L"Sharpness",
            L"Default",
            L"&Paly",
            L"&Pause",
            L"&Next",
            L"P&revious",
            L"&Open",
            L"&Settings",
            L"&Exit",
            L"Pause when covered by a &window",
            L"Pause on &battery",
            L"Pause when loc&ked or the display is off",
            L"Pause in a &remote session",
            L"Show on the &primary monitor",
            L"Show on &every monitor",
            L"Show &across all monitors",
            L"Show on each monitor its &own playlist",
            L"The desktop's wallpaper layer was not found; still looking for it."};
  }

  static void Choose(const TLumorixMainForm& form, const ui::MenuItem& item) {
    SendMessageW(form.Handle(), WM_COMMAND, item.Id(), 0);
  }
};

}  // namespace

TEST_F(LanguageTest, OnlyFilesEndingInLowerCaseIniAreListed) {
  files.Write(L"Languages\\German.ini", "[MainMenu]\nFile=&Datei\n");
  files.Write(L"Languages\\german.txt", "[MainMenu]\nFile=&Text\n");
  files.Write(L"Languages\\Deutsch.INI", "[MainMenu]\nFile=&Gross\n");
  files.Write(L"Languages\\Huge.ini", "[MainMenu]\nFile=&Huge\n" + std::string(IniFile::kSizeLimit, ';'));
  TLumorixMainForm& form = StartPlayer();
  EXPECT_EQ(LanguageCaptions(form), (std::vector<std::wstring>{L"&Default", L"German"}));
  ASSERT_EQ(form.LanguageItems.size(), 1u);
  EXPECT_EQ(form.LanguageItems[0]->GetShortcut().Text(), L"Ctrl+G");
  EXPECT_TRUE(form.Defoult1.Default());
}

TEST_F(LanguageTest, WithoutALanguagesFolderOnlyDefaultIsListed) {
  TLumorixMainForm& form = StartPlayer();
  EXPECT_EQ(LanguageCaptions(form), std::vector<std::wstring>{L"&Default"});
  // A first start holds no language: the built-in texts, "&Paly" and all.
  EXPECT_EQ(Captions(form), BuiltIn());
}

TEST_F(LanguageTest, FileSettingOnlyTheFileMenuLeavesEveryOtherCaptionBuiltIn) {
  files.Write(L"Languages\\German.ini", "[MainMenu]\nFile=&Datei\n");
  TLumorixMainForm& form = StartPlayer();
  form.ItPlay.SetCaption(L"&Play");
  form.ItPause.SetCaption(L"P&ause");
  Choose(form, *form.LanguageItems[0]);
  std::vector<std::wstring> expected = BuiltIn();
  expected[3] = L"&Datei";
  EXPECT_EQ(Captions(form), expected);
  EXPECT_EQ(form.Language, files.Path(L"Languages\\German.ini"));
}

TEST_F(LanguageTest, OpenSetsBothOpenItemsAndEmptyValuesGiveEmptyCaptions) {
  files.Write(L"Languages\\Mixed.ini",
              "[TrayPopUp]\nOpen=&Offnen\nExit=\n[ColorControl]\nLHue = Farbton \n[Main]\nBtSCC=\n");
  TLumorixMainForm& form = StartPlayer();
  form.SetLanguage(files.Path(L"Languages\\Mixed.ini"));
  EXPECT_EQ(form.Open.Caption(), L"&Offnen");
  EXPECT_EQ(form.ItOpen.Caption(), L"&Offnen");
  EXPECT_EQ(form.ItExit.Caption(), L"");
  EXPECT_EQ(form.BtSCC.Text(), L"");
  EXPECT_EQ(form.ColorControlForm().LHue.Text(), L"Farbton");
  EXPECT_EQ(form.ItPlay.Caption(), L"&Paly");
}

TEST_F(LanguageTest, DefaultAfterALanguageRestoresTheBuiltInTexts) {
  TLumorixMainForm& form = StartPlayer();
  form.SetLanguage(WindowsPath(kShippedLanguages + "English.ini"));
  EXPECT_EQ(form.ItPlay.Caption(), L"&Play");  // the shipped English file mends the built-in text
  EXPECT_EQ(form.ItPause.Caption(), L"&Pause");
  Choose(form, form.Defoult1);
  EXPECT_EQ(Captions(form), BuiltIn());
  EXPECT_EQ(form.Language, L"");
}

TEST_F(LanguageTest, ShippedEnglishFileGivesTheDesignedCaptions) {
  TLumorixMainForm& form = StartPlayer();
  form.SetLanguage(WindowsPath(kShippedLanguages + "English.ini"));
  std::vector<std::wstring> expected = BuiltIn();
  expected[25] = L"&Play";
  EXPECT_EQ(Captions(form), expected);
}

TEST_F(LanguageTest, DeletedFileGivesTheBuiltInTextsAndKeepsItsPath) {
  files.Write(L"Languages\\Gone.ini", "[Main]\nBtSCC=Farbe\n");
  TLumorixMainForm& form = StartPlayer();
  Choose(form, *form.LanguageItems[0]);
  EXPECT_EQ(form.BtSCC.Text(), L"Farbe");
  files.Remove(L"Languages\\Gone.ini");
  Choose(form, *form.LanguageItems[0]);
  EXPECT_EQ(Captions(form), BuiltIn());
  EXPECT_EQ(form.Language, files.Path(L"Languages\\Gone.ini"));
  form.ItExit.Click();
  EXPECT_EQ(DecodeString("Language", *ReadSetting(kSettingsKey, "Language")),
            WideToAnsi(files.Path(L"Languages\\Gone.ini")));
}

TEST_F(LanguageTest, StoredLanguageIsAppliedAtStart) {
  files.Write(L"Languages\\Stored.ini", "[GBVideo]\nGBVideo=Bild\n");
  WriteSetting(kSettingsKey, "Language", EncodeString(WideToAnsi(files.Path(L"Languages\\Stored.ini"))));
  TLumorixMainForm& form = StartPlayer();
  EXPECT_EQ(form.GBVideo.Text(), L"Bild");
}
