// Languages: the Languages menu and a language file's captions applied to the
// settings window, its menus, the tray menu and the colour-control window.
#include "common/language_texts.h"
#include "platform/files.h"
#include "platform/text.h"
#include "player/colour/color_control_form.h"
#include "player/core/main_form.h"
#include "player/core/menu_captions.h"
#include "player/core/profile_file.h"

namespace lumorix {

void TLumorixMainForm::AddLanguagesToMenu() {
  const std::wstring folder = ProgramFolder() + L"Languages\\";
  for (const std::wstring& name : ListDirectory(folder + L"*.ini")) {
    // Exactly ".ini": a name in capitals with the extension INI is not a language.
    size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring::npos || name.compare(dot, std::wstring::npos, L".ini") != 0) continue;
    // A file that cannot be read, or is far too large for a language, is left out.
    if (!ReadProfileFile(folder + name, LanguageKeys())) continue;
    std::wstring caption = name.substr(0, name.size() - 4);
    ui::MenuItem& item = Languages1.Add(caption, ui::CtrlKey(ShortcutKeyOf(caption)));
    item.OnClick = [this, &item] { LangClick(item); };
    LanguageItems.push_back(&item);
  }
}

void TLumorixMainForm::LangClick(const ui::MenuItem& item) {
  SetLanguage(CutTo255(ProgramFolder() + L"Languages\\" + WithoutLeadingAmpersand(item.Caption()) + L".ini"));
}

void TLumorixMainForm::Defoult1Click() { SetLanguage(L""); }

void TLumorixMainForm::SetLanguage(const std::wstring& path) {
  // A missing or unreadable file, or no path, gives the built-in texts; the path is kept all the same.
  const IniFile file = (path.empty() ? std::nullopt : ReadProfileFile(path, LanguageKeys())).value_or(IniFile());
  const LanguageTexts texts(file);
  auto text = [&](Caption caption) { return ProfileText(file, texts.Text(caption)); };

  BtShowPlayList.SetText(text(Caption::BtShowPlayList));
  BtSCC.SetText(text(Caption::BtSCC));
  CBRunWithStartUp.SetText(text(Caption::CBRunWithStartUp));
  File1.SetCaption(text(Caption::File));
  Languages1.SetCaption(text(Caption::Languages));
  Show1.SetCaption(text(Caption::Show));
  Help.SetCaption(text(Caption::Help));
  About.SetCaption(text(Caption::About));
  Open.SetCaption(text(Caption::Open));
  GBPreview.SetText(text(Caption::GBPreview));
  GBSound.SetText(text(Caption::GBSound));
  LBalance.SetCaption(text(Caption::LBalance));
  LVolume.SetCaption(text(Caption::LVolume));
  GBVideo.SetText(text(Caption::GBVideo));
  LRate.SetCaption(text(Caption::LRate));
  LTime.SetCaption(text(Caption::LTime));
  GBScreenSaver.SetText(text(Caption::GBScreenSaver));
  CBRSS.SetText(text(Caption::CBRSS));
  if (colorControlForm_) {
    TLumorixColorControlForm& colours = *colorControlForm_;
    colours.LBrightness.SetCaption(text(Caption::LBrightness));
    colours.LContrast.SetCaption(text(Caption::LContrast));
    colours.LGamma.SetCaption(text(Caption::LGamma));
    colours.LHue.SetCaption(text(Caption::LHue));
    colours.LSaturation.SetCaption(text(Caption::LSaturation));
    colours.LSharpness.SetCaption(text(Caption::LSharpness));
    colours.BDefault.SetText(text(Caption::BDefault));
  }
  ItPlay.SetCaption(text(Caption::ItPlay));
  ItPause.SetCaption(text(Caption::ItPause));
  ItNext.SetCaption(text(Caption::ItNext));
  ItPrevious.SetCaption(text(Caption::ItPrevious));
  ItOpen.SetCaption(text(Caption::ItOpen));
  ItOptions.SetCaption(text(Caption::ItOptions));
  ItExit.SetCaption(text(Caption::ItExit));
  idlePause_->ItPauseWhenCovered.SetCaption(text(Caption::ItPauseWhenCovered));
  idlePause_->ItPauseOnBattery.SetCaption(text(Caption::ItPauseOnBattery));
  idlePause_->ItPauseWhenLocked.SetCaption(text(Caption::ItPauseWhenLocked));
  idlePause_->ItPauseWhenRemote.SetCaption(text(Caption::ItPauseWhenRemote));
  showOn_->ItShowOnPrimary.SetCaption(text(Caption::ItShowOnPrimary));
  showOn_->ItShowOnEvery.SetCaption(text(Caption::ItShowOnEvery));
  showOn_->ItShowAcross.SetCaption(text(Caption::ItShowAcross));
  showOn_->ItShowEachOwnList.SetCaption(text(Caption::ItShowEachOwnList));
  clipChange_->ItTransition.SetCaption(text(Caption::ItTransition));
  for (size_t i = 0; i < clipChange_->TransitionItems.size(); ++i)
    clipChange_->TransitionItems[i]->SetCaption(
        text(static_cast<Caption>(static_cast<size_t>(Caption::ItTransitionNone) + i)));
  clipChange_->ItChangeEvery.SetCaption(text(Caption::ItChangeEvery));
  for (size_t i = 0; i < clipChange_->ChangeEveryItems.size(); ++i)
    clipChange_->ChangeEveryItems[i]->SetCaption(
        text(static_cast<Caption>(static_cast<size_t>(Caption::ItChangeOff) + i)));
  LayerMissingHint = text(Caption::WallpaperLayerMissing);
  Language = path;
}

}  // namespace lumorix
