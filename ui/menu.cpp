#include "ui/menu.h"

#include <map>

namespace lumorix::ui {

namespace {

std::map<UINT, MenuItem*>& Items() {
  static std::map<UINT, MenuItem*> items;
  return items;
}

UINT NextId() {
  static UINT next = 0x1000;
  return next++;
}

std::wstring KeyName(UINT key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::wstring(1, static_cast<wchar_t>(key));
  if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
  UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  wchar_t name[64] = {};
  if (GetKeyNameTextW(static_cast<LONG>(scan << 16), name, 64) > 0) return name;
  return std::wstring(1, static_cast<wchar_t>(key));
}

}  // namespace

std::wstring Shortcut::Text() const {
  if (Empty()) return {};
  std::wstring text;
  if (shift) text += L"Shift+";
  if (ctrl) text += L"Ctrl+";
  if (alt) text += L"Alt+";
  return text + KeyName(key);
}

MenuItem::MenuItem(std::wstring caption, Shortcut shortcut)
    : caption_(std::move(caption)), shortcut_(shortcut), id_(NextId()) {
  Items()[id_] = this;
}

MenuItem::~MenuItem() {
  Items().erase(id_);
  if (handle_) {
    // Detach the submenus first: each child destroys its own.
    while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
  }
  children_.clear();
  if (handle_) DestroyMenu(handle_);
}

MenuItem* MenuItem::FromId(UINT id) {
  auto found = Items().find(id);
  return found == Items().end() ? nullptr : found->second;
}

MenuItem& MenuItem::Add(std::wstring caption, Shortcut shortcut) {
  auto item = std::make_unique<MenuItem>(std::move(caption), shortcut);
  item->parent_ = this;
  children_.push_back(std::move(item));
  Rebuild();
  Changed();
  return *children_.back();
}

void MenuItem::Click() {
  if (enabled_ && OnClick) OnClick();
}

HMENU MenuItem::Handle() {
  if (!handle_) {
    handle_ = isMenuBar_ ? CreateMenu() : CreatePopupMenu();
    Rebuild();
  }
  return handle_;
}

void MenuItem::InsertInto(HMENU menu, UINT position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE;
  info.wID = id_;
  if (IsSeparator()) {
    info.fType = MFT_SEPARATOR;
  } else {
    info.fMask |= MIIM_STRING;
    std::wstring text = caption_;
    if (!shortcut_.Empty()) text += L"\t" + shortcut_.Text();
    info.dwTypeData = text.data();
    info.fType = radio_ ? MFT_RADIOCHECK : MFT_STRING;
    info.fState = (enabled_ ? MFS_ENABLED : MFS_DISABLED) | (checked_ ? MFS_CHECKED : 0) | (default_ ? MFS_DEFAULT : 0);
    if (!children_.empty()) {
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = Handle();
    }
    InsertMenuItemW(menu, position, TRUE, &info);
    return;
  }
  InsertMenuItemW(menu, position, TRUE, &info);
}

void MenuItem::Rebuild() {
  if (!handle_) return;
  while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
  UINT position = 0;
  for (auto& child : children_)
    if (child->visible_) child->InsertInto(handle_, position++);
}

void MenuItem::Changed() {
  if (parent_) {
    parent_->Rebuild();
    parent_->Changed();
  }
}

void MenuItem::CollectShortcuts(std::vector<ACCEL>& table) const {
  for (const auto& child : children_) {
    const Shortcut& key = child->shortcut_;
    if (!key.Empty()) {
      BYTE flags = FVIRTKEY | (key.ctrl ? FCONTROL : 0) | (key.shift ? FSHIFT : 0) | (key.alt ? FALT : 0);
      table.push_back(ACCEL{flags, static_cast<WORD>(key.key), static_cast<WORD>(child->id_)});
    }
    child->CollectShortcuts(table);
  }
}

void MenuItem::SetCaption(std::wstring caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed();
}

void MenuItem::SetShortcut(Shortcut shortcut) {
  shortcut_ = shortcut;
  Changed();
}

void MenuItem::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed();
}

void MenuItem::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed();
}

void MenuItem::SetDefault(bool isDefault) {
  default_ = isDefault;
  Changed();
}

void MenuItem::SetRadio(bool radio) {
  radio_ = radio;
  Changed();
}

void MenuItem::SetChecked(bool checked) {
  checked_ = checked;
  Changed();
}

MainMenu::MainMenu() { isMenuBar_ = true; }

MainMenu::~MainMenu() {
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

void MainMenu::Changed() {
  acceleratorsStale_ = true;
  if (form_) DrawMenuBar(form_);
}

HACCEL MainMenu::Accelerators() {
  if (acceleratorsStale_) {
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
    std::vector<ACCEL> table;
    CollectShortcuts(table);
    accelerators_ = table.empty() ? nullptr : CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
    acceleratorsStale_ = false;
  }
  return accelerators_;
}

void PopupMenu::Popup(int x, int y, HWND owner) {
  // The owner must be in front, or the menu does not close when the user clicks elsewhere.
  SetForegroundWindow(owner);
  UINT chosen = static_cast<UINT>(
      TrackPopupMenu(Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (MenuItem* item = chosen ? FromId(chosen) : nullptr) item->Click();
}

}  // namespace lumorix::ui
