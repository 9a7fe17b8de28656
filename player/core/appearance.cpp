// The Skins and Languages menus and the plain look.
#include "platform/files.h"
#include "player/core/main_form.h"

namespace lumorix {

namespace {

constexpr size_t kMenuSlots = 51;

std::wstring WithoutLeadingAmpersand(std::wstring caption) {
  if (!caption.empty() && caption.front() == L'&') caption.erase(0, 1);
  return caption;
}

std::wstring CutTo255(std::wstring path) {
  if (path.size() > 255) path.resize(255);
  return path;
}

}  // namespace

void TLumorixMainForm::AddLanguagesToMenu() {
  const std::wstring folder = ProgramFolder() + L"Languages\\";
  size_t slots = 0;
  for (const std::wstring& name : ListDirectory(folder + L"*.ini")) {
    size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring::npos || name.substr(dot) != L".ini" || slots == kMenuSlots) continue;
    std::wstring caption = name.substr(0, name.size() - 4);
    ui::MenuItem& item = Languages1.Add(caption, ui::CtrlKey(caption.empty() ? 0 : caption.front()));
    item.OnClick = [this, &item, folder] {
      SetLanguage(CutTo255(folder + WithoutLeadingAmpersand(item.Caption()) + L".ini"));
    };
    ++slots;
  }
}

void TLumorixMainForm::AddSkinsToMenu() {
  const std::wstring folder = ProgramFolder() + L"Skins\\";
  size_t slots = 0;
  for (const std::wstring& name : ListDirectory(folder + L"*.skn")) {
    if (slots == kMenuSlots || !FileExists(folder + name + L"\\Skin.ini")) continue;
    wchar_t caption[256] = {};
    GetPrivateProfileStringW(L"Info", L"Name", L"NoName", caption, 256, (folder + name + L"\\Skin.ini").c_str());
    std::wstring text = caption;
    ui::MenuItem& item = Skins1.Add(text, ui::ShiftKey(text.empty() ? 0 : text.front()));
    item.OnClick = [this, &item, folder] {
      SetSkin(CutTo255(folder + WithoutLeadingAmpersand(item.Caption()) + L".skn\\skin.ini"));
    };
    ++slots;
  }
}

void TLumorixMainForm::SetLanguage(const std::wstring& path) { Language = path; }

void TLumorixMainForm::SetSkin(const std::wstring& path) {
  std::wstring file = path;
  std::erase(file, L'&');
  // Until skin pictures can be drawn every skin shows the plain look; the
  // stored skin stays, so it is applied again once it can be.
  StandartWindows1Click();
}

void TLumorixMainForm::StandartWindows1Click() {
  for (ui::Picture* picture : {&ImPlay, &ImPause, &ImPrevious, &ImNext, &ImStop, &ImPL, &ImCC}) picture->Hide();
  TB.Show();
  BtShowPlayList.Show();
  BtSCC.Show();
}

}  // namespace lumorix
