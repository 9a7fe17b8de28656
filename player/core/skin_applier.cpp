// Skins: the Skins menu, a skin's description applied to the settings window
// and the playlist's tool buttons, and the plain look.
#include <new>

#include "common/color_names.h"
#include "common/picture_header.h"
#include "common/skin_description.h"
#include "platform/files.h"
#include "platform/text.h"
#include "player/core/main_form.h"
#include "player/core/menu_captions.h"
#include "player/core/profile_file.h"
#include "player/playlist/playlist_form.h"
#include "ui/exception.h"
#include "ui/picture_file.h"

namespace lumorix {

namespace {

// A tool bitmap whose header claims more than a skin's picture may have adds nothing, like one that cannot be loaded.
ui::UniqueBitmap LoadToolBitmap(const std::wstring& path) {
  std::optional<std::string> bytes = ReadWholeFile(path);
  std::optional<PictureSize> claimed = bytes ? BmpClaimedSize(*bytes) : std::nullopt;
  if (!claimed || !FitsSkin(*claimed)) return {};
  return ui::UniqueBitmap(static_cast<HBITMAP>(
      LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

}  // namespace

void TLumorixMainForm::AddSkinsToMenu() {
  const std::wstring folder = ProgramFolder() + L"Skins\\";
  // Every skin is listed; the menu scrolls when there are many.
  for (const std::wstring& name : ListDirectory(folder + L"*.skn")) {
    // A description that is missing, cannot be read or is far too large for one is left out.
    std::optional<IniFile> ini = ReadProfileFile(folder + name + L"\\Skin.ini", SkinKeys());
    if (!ini) continue;
    std::wstring caption = ProfileText(*ini, SkinName(*ini));
    ui::MenuItem& item = Skins1.Add(caption, ui::ShiftKey(ShortcutKeyOf(caption)));
    item.OnClick = [this, &item] { SkinClick(item); };
    SkinItems.push_back(&item);
  }
}

// The folder is found through the caption, so a skin named unlike its folder gives the plain look.
void TLumorixMainForm::SkinClick(const ui::MenuItem& item) {
  SetSkin(CutTo255(ProgramFolder() + L"Skins\\" + WithoutLeadingAmpersand(item.Caption()) + L".skn\\skin.ini"));
}

void TLumorixMainForm::SetSkin(const std::wstring& path) try {
  std::wstring file = path;
  std::erase(file, L'&');
  if (!FileExists(file)) {
    StandartWindows1Click();
    return;
  }
  // Read before anything changes: a description that cannot be read refuses the whole skin.
  const std::optional<IniFile> ini = ReadProfileFile(file, SkinKeys());
  if (!ini) throw ui::Exception(CannotOpenFileMessage(Narrow(file)));
  auto text = [&ini](const std::string& value) { return ProfileText(*ini, value); };
  ui::Picture* pictures[kSkinButtonCount] = {&ImPrevious, &ImPlay, &ImPause, &ImStop, &ImNext, &ImPL, &ImCC};
  for (ui::Picture* picture : pictures) picture->Show();
  TB.Hide();
  BtShowPlayList.Hide();
  BtSCC.Hide();

  const std::wstring folder = file.substr(0, file.find_last_of(L'\\') + 1);
  const SkinDescription skin = ReadSkinDescription(*ini, ColorToText(Color()));
  std::optional<uint32_t> color = ColorFromText(skin.colorText);
  if (!color) throw ui::Exception(NotAnIntegerMessage(Narrow(text(skin.colorText))));
  SetColor(*color);

  // A picture that fails stops the skin here; the ones before it stay.
  for (size_t i = 0; i < kSkinButtonCount; ++i) {
    ui::UniqueBitmap bitmap = ui::LoadPictureFile(folder + text(skin.pictures[i].file));
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
      ui::UniqueBitmap bitmap = LoadToolBitmap(folder + text(name));
      if (bitmap) images.AddMasked(bitmap.Get(), RGB(0, 0, 255));
    }
    playListForm_->ToolBar1.Invalidate();
  }
  Skin = file;
} catch (const std::bad_alloc&) {
  // Whatever a skin asks for beyond the memory left costs the skin, not the player.
  throw ui::Exception("Out of memory");
}

// The window colour and the playlist's images stay as the last skin left them, and so does `Skin`.
void TLumorixMainForm::StandartWindows1Click() {
  for (ui::Picture* picture : {&ImPlay, &ImPause, &ImPrevious, &ImNext, &ImStop, &ImPL, &ImCC}) picture->Hide();
  TB.Show();
  BtShowPlayList.Show();
  BtSCC.Show();
}

}  // namespace lumorix
