#pragma once
// Main and popup menus. Items keep their own state (caption, shortcut,
// visibility, default and radio marks); the Win32 menu is rebuilt from the
// visible items whenever that state changes, since Win32 menus cannot hide
// an item.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lumorix::ui {

struct Shortcut {
  UINT key = 0;  // virtual-key code; 0: none
  bool ctrl = false;
  bool shift = false;
  bool alt = false;

  bool Empty() const { return key == 0; }
  std::wstring Text() const;
};

inline Shortcut CtrlKey(UINT key) { return {key, true, false, false}; }
inline Shortcut ShiftKey(UINT key) { return {key, false, true, false}; }

class MenuItem {
 public:
  explicit MenuItem(std::wstring caption = {}, Shortcut shortcut = {});
  virtual ~MenuItem();
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  // Appends a new item owned by this one and returns it.
  MenuItem& Add(std::wstring caption, Shortcut shortcut = {});
  MenuItem& AddSeparator() { return Add(L"-"); }
  size_t Count() const { return children_.size(); }
  MenuItem& Item(size_t index) const { return *children_[index]; }

  std::function<void()> OnClick;
  // Runs OnClick when the item is enabled.
  void Click();

  void SetCaption(std::wstring caption);
  const std::wstring& Caption() const { return caption_; }
  void SetShortcut(Shortcut shortcut);
  const Shortcut& GetShortcut() const { return shortcut_; }
  void SetVisible(bool visible);
  bool Visible() const { return visible_; }
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  void SetDefault(bool isDefault);
  bool Default() const { return default_; }
  void SetRadio(bool radio);
  void SetChecked(bool checked);
  bool Checked() const { return checked_; }
  bool IsSeparator() const { return caption_ == L"-"; }

  UINT Id() const { return id_; }
  static MenuItem* FromId(UINT id);
  // The Win32 menu that lists this item's children.
  HMENU Handle();

 protected:
  // A change that the Win32 menus must show.
  virtual void Changed();
  void Rebuild();
  void CollectShortcuts(std::vector<ACCEL>& table) const;
  MenuItem* parent_ = nullptr;
  bool isMenuBar_ = false;

 private:
  void InsertInto(HMENU menu, UINT position);

  std::wstring caption_;
  Shortcut shortcut_;
  bool visible_ = true;
  bool enabled_ = true;
  bool default_ = false;
  bool radio_ = false;
  bool checked_ = false;
  UINT id_;
  HMENU handle_ = nullptr;
  std::vector<std::unique_ptr<MenuItem>> children_;
};

// The menu bar of a form, with the keyboard shortcuts of its items.
class MainMenu : public MenuItem {
 public:
  MainMenu();
  ~MainMenu() override;
  void AttachTo(HWND form) { form_ = form; }
  HACCEL Accelerators();

 protected:
  void Changed() override;

 private:
  HWND form_ = nullptr;
  HACCEL accelerators_ = nullptr;
  bool acceleratorsStale_ = true;
};

class PopupMenu : public MenuItem {
 public:
  // Shows the menu at screen position x, y and runs the chosen item.
  void Popup(int x, int y, HWND owner);
};

}  // namespace lumorix::ui
