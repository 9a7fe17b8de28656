#pragma once
// The player's icon in the notification area, its mouse handling and its menu.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "ui/gdi.h"
#include "ui/menu.h"
#include "ui/window.h"

namespace lumorix {

inline constexpr UINT kTrayCallbackMessage = WM_USER + 1;

// The shell's icon record in its first, 88-byte layout.
struct TrayIconData {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  char szTip[64];
};
static_assert(sizeof(void*) != 4 || sizeof(TrayIconData) == 88, "first notify-icon layout is 88 bytes");

enum class TrayButton { Left, Right, Middle };

struct TrayShift {
  bool shift = false;
  bool alt = false;
  bool ctrl = false;
  bool left = false;
  bool right = false;
  bool middle = false;
};

class TTrayIcon {
 public:
  // Puts the application's icon with the application title as its tip into the tray.
  TTrayIcon();
  ~TTrayIcon();
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  void SetHint(const std::string& hint);
  const std::string& Hint() const { return hint_; }
  void SetIcon(HICON icon);
  HICON Icon() const { return icon_.Get(); }
  void SetPopupMenu(ui::PopupMenu* menu) { popupMenu_ = menu; }
  ui::PopupMenu* PopupMenu() const { return popupMenu_; }
  const TrayIconData& IconData() const { return iconData_; }
  HWND WindowHandle() const;

  std::function<void()> OnClick, OnDblClick, OnMinimize, OnRestore;
  std::function<void(TrayShift, int x, int y)> OnMouseMove;
  std::function<void(TrayButton, TrayShift, int x, int y)> OnMouseDown, OnMouseUp;

  void ShowPopup();
  void Click();
  void DblClick();
  bool RemoveIcon();
  void DoMouseMove(TrayShift shift, int x, int y);
  void DoMouseDown(TrayButton button, TrayShift shift, int x, int y);
  void DoMouseUp(TrayButton button, TrayShift shift, int x, int y);
  void UpdateIcon();
  void DoMinimize();
  void DoRestore();

  // The shell callback, as the hidden window receives it.
  void HandleCallback(LPARAM mouseMessage);

 private:
  class HiddenWindow;
  void PopupAtCursor();

  std::string hint_;
  ui::UniqueIcon icon_;
  ui::PopupMenu* popupMenu_ = nullptr;
  TrayIconData iconData_{};
  bool leftDown_ = false;
  std::unique_ptr<HiddenWindow> window_;
};

}  // namespace lumorix
