// Skins: the Skins menu, a skin's description applied to the settings window
// and the playlist's tool buttons, and the plain look.
#include "common/color_names.h"
#include "common/skin_description.h"
#include "platform/files.h"
#include "platform/text.h"
#include "player/core/main_form.h"
#include "player/core/menu_captions.h"
#include "player/playlist/playlist_form.h"
#include "ui/exception.h"
#include "ui/picture_file.h"

namespace lumorix {

namespace {

IniFile ReadIni(const std::wstring& path) {
  std::optional<std::string> contents = ReadWholeFile(path);
  return contents ? IniFile::Parse(*contents) : IniFile();
}

// Texts of INI files are in the system's ANSI code page.
std::wstring FromAnsi(const std::string& text) { return AnsiToWide(text); }

}  // namespace

void TLumorixMainForm::AddSkinsToMenu() {
  const std::wstring folder = ProgramFolder() + L"Skins\\";
  // Every skin is listed; the menu scrolls when there are many.
  for (const std::wstring& name : ListDirectory(folder + L"*.skn")) {
    const std::wstring ini = folder + name + L"\\Skin.ini";
    if (!FileExists(ini)) continue;
    std::wstring caption = FromAnsi(SkinName(ReadIni(ini)));
    ui::MenuItem& item = Skins1.Add(caption, ui::ShiftKey(ShortcutKeyOf(caption)));
    item.OnClick = [this, &item] { SkinClick(item); };
    SkinItems.push_back(&item);
  }
}

// The folder is found through the caption, so a skin named unlike its folder gives the plain look.
void TLumorixMainForm::SkinClick(const ui::MenuItem& item) {
  SetSkin(CutTo255(ProgramFolder() + L"Skins\\" + WithoutLeadingAmpersand(item.Caption()) + L".skn\\skin.ini"));
}

void TLumorixMainForm::SetSkin(const std::wstring& path) {
  std::wstring file = path;
  std::erase(file, L'&');
  if (!FileExists(file)) {
    StandartWindows1Click();
    return;
  }
  ui::Picture* pictures[kSkinButtonCount] = {&ImPrevious, &ImPlay, &ImPause, &ImStop, &ImNext, &ImPL, &ImCC};
  for (ui::Picture* picture : pictures) picture->Show();
  TB.Hide();
  BtShowPlayList.Hide();
  BtSCC.Hide();

  const std::wstring folder = file.substr(0, file.find_last_of(L'\\') + 1);
  const SkinDescription skin = ReadSkinDescription(ReadIni(file), ColorToText(Color()));
  std::optional<uint32_t> color = ColorFromText(skin.colorText);
  if (!color) throw ui::Exception(NotAnIntegerMessage(Narrow(FromAnsi(skin.colorText))));
  SetColor(*color);

  // A picture that fails stops the skin here; the ones before it stay.
  for (size_t i = 0; i < kSkinButtonCount; ++i) {
    ui::UniqueBitmap bitmap = ui::LoadPictureFile(folder + FromAnsi(skin.pictures[i].file));
    BITMAP size{};
    GetObjectW(bitmap.Get(), sizeof size, &size);
    pictures[i]->SetBitmap(std::move(bitmap));
    pictures[i]->SetDesignBounds({skin.pictures[i].left, skin.pictures[i].top, size.bmWidth, size.bmHeight});
  }

  if (playListForm_) {
    ui::ImageList& images = playListForm_->ImageList;
    images.Clear();
    for (const std::string& name : skin.toolButtons) {
      // A bitmap that cannot be loaded adds nothing; the later ones move up.
      ui::UniqueBitmap bitmap(static_cast<HBITMAP>(LoadImageW(nullptr, (folder + FromAnsi(name)).c_str(), IMAGE_BITMAP,
                                                              0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
      if (bitmap) images.AddMasked(bitmap.Get(), RGB(0, 0, 255));
    }
    playListForm_->ToolBar1.Invalidate();
  }
  Skin = file;
}

// The window colour and the playlist's images stay as the last skin left them, and so does `Skin`.
void TLumorixMainForm::StandartWindows1Click() {
  for (ui::Picture* picture : {&ImPlay, &ImPause, &ImPrevious, &ImNext, &ImStop, &ImPL, &ImCC}) picture->Hide();
  TB.Show();
  BtShowPlayList.Show();
  BtSCC.Show();
}

}  // namespace lumorix
