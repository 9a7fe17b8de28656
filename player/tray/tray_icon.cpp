#include "player/tray/tray_icon.h"

#include <shellapi.h>

#include <cstring>

#include "platform/text.h"
#include "ui/application.h"
#include "ui/exception.h"
#include "ui/form.h"

namespace lumorix {

namespace {

void CopyTip(char (&tip)[64], const std::string& text) {
  std::memset(tip, 0, sizeof tip);
  std::memcpy(tip, text.data(), text.size() < 63 ? text.size() : 63);
}

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

TrayShift Keys() { return TrayShift{KeyDown(VK_SHIFT), KeyDown(VK_MENU), KeyDown(VK_CONTROL)}; }

TrayShift KeysWith(TrayButton button) {
  TrayShift shift = Keys();
  shift.left = button == TrayButton::Left;
  shift.right = button == TrayButton::Right;
  shift.middle = button == TrayButton::Middle;
  return shift;
}

bool MainWindowVisible() {
  ui::Form* main = ui::Application::Instance().MainForm();
  return main && main->Visible();
}

}  // namespace

// A top-level window that is never shown, so that it also hears the log-off
// and shut-down messages Windows sends to every top-level window.
class TTrayIcon::HiddenWindow : public ui::Window {
 public:
  explicit HiddenWindow(TTrayIcon& icon) : icon_(icon), taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
    CreateOwn(L"LumorixTrayWindow", 0, WS_POPUP, WS_EX_TOOLWINDOW, nullptr, {0, 0, 0, 0});
  }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    result = 0;
    switch (message) {
      case WM_QUERYENDSESSION:
        result = 1;  // the log-off or shut-down may go ahead
        return true;
      case WM_ENDSESSION:
        if (wParam) (void)icon_.RemoveIcon();
        ui::Application::Instance().Terminate();
        return true;
      case kTrayCallbackMessage:
        icon_.HandleCallback(lParam);
        return true;
      default:
        if (message == taskbarCreated_) {  // Explorer restarted: the tray is new and empty
          (void)Shell_NotifyIconA(NIM_ADD, reinterpret_cast<PNOTIFYICONDATAA>(&icon_.iconData_));
          return true;
        }
        return false;
    }
  }

 private:
  TTrayIcon& icon_;
  UINT taskbarCreated_;
};

TTrayIcon::TTrayIcon() : window_(std::make_unique<HiddenWindow>(*this)) {
  if (HICON appIcon = ui::Application::Instance().Icon()) icon_.Reset(CopyIcon(appIcon));
  iconData_.cbSize = sizeof iconData_;
  iconData_.hWnd = window_->Handle();
  iconData_.uID = 0;
  iconData_.hIcon = icon_.Get();
  std::string title = WideToAnsi(ui::Application::Instance().Title());
  CopyTip(iconData_.szTip, title);
  iconData_.uFlags = NIF_MESSAGE | NIF_ICON | (title.empty() ? 0 : NIF_TIP);
  iconData_.uCallbackMessage = kTrayCallbackMessage;
  if (!Shell_NotifyIconA(NIM_ADD, reinterpret_cast<PNOTIFYICONDATAA>(&iconData_)))
    throw ui::EOutOfResources("Cannot create shell notification icon");
}

TTrayIcon::~TTrayIcon() {
  (void)Shell_NotifyIconA(NIM_DELETE, reinterpret_cast<PNOTIFYICONDATAA>(&iconData_));
  icon_.Reset();
}

HWND TTrayIcon::WindowHandle() const { return window_->Handle(); }

void TTrayIcon::SetHint(const std::string& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  CopyTip(iconData_.szTip, hint);
  if (hint.empty())
    iconData_.uFlags &= ~NIF_TIP;
  else
    iconData_.uFlags |= NIF_TIP;
  UpdateIcon();
}

void TTrayIcon::SetIcon(HICON icon) {
  if (!icon || icon == icon_.Get()) return;
  icon_.Reset(CopyIcon(icon));  // our own copy: the caller may free theirs
  iconData_.hIcon = icon_.Get();
  UpdateIcon();
}

void TTrayIcon::UpdateIcon() { (void)Shell_NotifyIconA(NIM_MODIFY, reinterpret_cast<PNOTIFYICONDATAA>(&iconData_)); }

bool TTrayIcon::RemoveIcon() {
  return Shell_NotifyIconA(NIM_DELETE, reinterpret_cast<PNOTIFYICONDATAA>(&iconData_)) != FALSE;
}

void TTrayIcon::PopupAtCursor() {
  if (!popupMenu_) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  popupMenu_->Popup(cursor.x, cursor.y, window_->Handle());
}

void TTrayIcon::ShowPopup() {
  if (popupMenu_ && !MainWindowVisible()) PopupAtCursor();
}

void TTrayIcon::Click() {
  if (OnClick) OnClick();
}
void TTrayIcon::DblClick() {
  if (OnDblClick) OnDblClick();
}
void TTrayIcon::DoMouseMove(TrayShift shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(shift, x, y);
}
void TTrayIcon::DoMouseDown(TrayButton button, TrayShift shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(button, shift, x, y);
}
void TTrayIcon::DoMouseUp(TrayButton button, TrayShift shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(button, shift, x, y);
}

void TTrayIcon::DoMinimize() {
  if (ui::Form* main = ui::Application::Instance().MainForm()) ShowWindow(main->Handle(), SW_HIDE);
  if (OnMinimize) OnMinimize();
}

void TTrayIcon::DoRestore() {
  if (ui::Form* main = ui::Application::Instance().MainForm()) ShowWindow(main->Handle(), SW_RESTORE);
  if (OnRestore) OnRestore();
}

void TTrayIcon::HandleCallback(LPARAM mouseMessage) {
  POINT cursor{};
  GetCursorPos(&cursor);
  const int x = cursor.x, y = cursor.y;
  switch (mouseMessage) {
    case WM_MOUSEMOVE:
      DoMouseMove(Keys(), x, y);
      break;
    case WM_LBUTTONDOWN:
      DoMouseDown(TrayButton::Left, KeysWith(TrayButton::Left), x, y);
      leftDown_ = true;
      break;
    case WM_LBUTTONUP:
      if (leftDown_) {
        leftDown_ = false;
        Click();
      }
      DoMouseUp(TrayButton::Left, KeysWith(TrayButton::Left), x, y);
      break;
    case WM_RBUTTONDOWN:
      DoMouseDown(TrayButton::Right, KeysWith(TrayButton::Right), x, y);
      ShowPopup();
      break;
    case WM_RBUTTONUP:
      DoMouseUp(TrayButton::Right, KeysWith(TrayButton::Right), x, y);
      if (popupMenu_) popupMenu_->Popup(x, y, window_->Handle());
      break;
    case WM_MBUTTONDOWN:
      DoMouseDown(TrayButton::Middle, KeysWith(TrayButton::Middle), x, y);
      break;
    case WM_MBUTTONUP:
      DoMouseUp(TrayButton::Middle, KeysWith(TrayButton::Middle), x, y);
      break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      DblClick();
      break;
    default:
      break;
  }
}

}  // namespace lumorix
