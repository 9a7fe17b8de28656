#include "ui/form.h"

#include "common/design_scale.h"
#include "ui/application.h"
#include "ui/dpi.h"
#include "ui/menu.h"

namespace lumorix::ui {

namespace {

struct FrameStyle {
  DWORD style;
  DWORD exStyle;
};

FrameStyle StyleOf(BorderStyle border) {
  switch (border) {
    case BorderStyle::None:
      return {WS_POPUP | WS_CLIPCHILDREN, 0};
    case BorderStyle::Single:
      return {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0};
    case BorderStyle::Sizeable:
      return {WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0};
    case BorderStyle::Dialog:
      return {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME};
    case BorderStyle::ToolWindow:
      return {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW};
    case BorderStyle::SizeToolWin:
      return {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW};
  }
  return {WS_OVERLAPPEDWINDOW, 0};
}

struct DpiWalk {
  int dpi;
  HFONT font;
};

BOOL CALLBACK ApplyDpiToChild(HWND child, LPARAM data) {
  const auto& walk = *reinterpret_cast<const DpiWalk*>(data);
  if (Window* window = Window::FromHandle(child)) window->ApplyDpi(walk.dpi, walk.font);
  return TRUE;
}

RECT WorkAreaOf(HWND window) {
  RECT work{};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor))
    work = monitor.rcWork;
  else
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

}  // namespace

Form::Form(const FormDesign& design)
    : scaleLayout_(design.scaleLayout),
      border_(design.border),
      clientWidth_(design.clientWidth),
      clientHeight_(design.clientHeight),
      outerSize_(design.outerSize) {
  FrameStyle frame = StyleOf(design.border);
  // Made at the design's size first: only the window knows its monitor's DPI.
  Bounds bounds{design.left, design.top, design.clientWidth, design.clientHeight};
  CreateOwn(design.className.c_str(), CS_DBLCLKS, frame.style, frame.exStyle | design.extraExStyle, design.owner,
            bounds, design.caption);
  if (!scaleLayout_) SetDpi(kDesignDpi);
  bounds = {Scale(bounds.left), Scale(bounds.top), Scale(bounds.width), Scale(bounds.height)};
  if (!design.outerSize) {
    SIZE outer =
        OuterSizeForDpi({bounds.width, bounds.height}, frame.style, frame.exStyle | design.extraExStyle, false, Dpi());
    bounds.width = outer.cx;
    bounds.height = outer.cy;
  }
  if (design.position == FormPosition::DesktopCenter) {
    RECT work = WorkAreaOf(Handle());
    bounds.left = work.left + (work.right - work.left - bounds.width) / 2;
    bounds.top = work.top + (work.bottom - work.top - bounds.height) / 2;
  }
  SetBounds(bounds);
  SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  SetColor(design.color);
  if (HICON icon = Application::Instance().Icon()) {
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
  Application::Instance().RegisterForm(this);
}

Form::~Form() {
  Application::Instance().UnregisterForm(this);
  DestroyHandle();
}

void Form::FinishCreate() {
  try {
    FormCreate();
  } catch (const std::exception& failure) {
    Application::Instance().HandleException(failure);
  }
}

void Form::SetVisible(bool visible) {
  if (visible == Visible()) return;
  if (visible) {
    FormShow();
    ShowWindow(Handle(), SW_SHOW);
  } else {
    ShowWindow(Handle(), SW_HIDE);
  }
}

bool Form::CloseQuery() {
  bool canClose = true;
  FormCloseQuery(canClose);
  return canClose;
}

void Form::Close() {
  if (!CloseQuery()) return;
  FormClose();
  if (Application::Instance().MainForm() == this)
    Application::Instance().Terminate();
  else
    Hide();
}

void Form::SetMenu(MainMenu* menu) {
  menu_ = menu;
  if (menu) menu->AttachTo(Handle());
  ::SetMenu(Handle(), menu ? menu->Handle() : nullptr);
  // The designed client area lies below the menu bar.
  if (!outerSize_) SetClientSize(clientWidth_, clientHeight_);
}

void Form::SetTopMost(bool topMost) {
  SetWindowPos(Handle(), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form::SetClientSize(int width, int height) {
  SIZE outer = OuterSizeForDpi({Scale(width), Scale(height)}, static_cast<DWORD>(GetWindowLongW(Handle(), GWL_STYLE)),
                               static_cast<DWORD>(GetWindowLongW(Handle(), GWL_EXSTYLE)), menu_ != nullptr, Dpi());
  SetWindowPos(Handle(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A menu bar of more than one line (a narrow form, a large font) takes more room than reckoned.
  RECT client;
  GetClientRect(Handle(), &client);
  const int missing = Scale(height) - client.bottom;
  if (missing > 0)
    SetWindowPos(Handle(), nullptr, 0, 0, outer.cx, outer.cy + missing, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::ChangeDpi(int dpi, const RECT* suggested) {
  const int oldDpi = Dpi();
  SetDpi(dpi);
  HFONT font = Font();
  SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (suggested) {
    SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (outerSize_) {
    SetWindowPos(Handle(), nullptr, 0, 0, Scale(clientWidth_), Scale(clientHeight_),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SetClientSize(clientWidth_, clientHeight_);
  }
  DpiWalk walk{dpi, font};
  EnumChildWindows(Handle(), ApplyDpiToChild, reinterpret_cast<LPARAM>(&walk));
  if (menu_) DrawMenuBar(Handle());
  // Last, so a form that lays its children out by its size does it at the new DPI.
  DpiChanged(oldDpi);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool Form::TranslateShortcut(MSG& message) {
  return menu_ && menu_->Accelerators() && TranslateAcceleratorW(Handle(), menu_->Accelerators(), &message);
}

bool Form::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_GETFONT:
      result = reinterpret_cast<LRESULT>(Font());
      return true;
    case WM_DPICHANGED:
      if (!scaleLayout_) return false;
      ChangeDpi(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      result = 0;
      return true;
    case WM_CLOSE:
      Close();
      result = 0;
      return true;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(Handle(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, BackgroundBrush());
      result = 1;
      return true;
    }
    case WM_COMMAND:
      if (lParam == 0) {  // a menu item or its keyboard shortcut
        if (MenuItem* item = MenuItem::FromId(LOWORD(wParam))) item->Click();
        result = 0;
        return true;
      }
      return false;
    case WM_QUERYENDSESSION:
      // Windows asks every top-level window. Only the main form speaks for the
      // program; another form's close query records a user's close of that
      // window, which a log-off is not.
      result = Application::Instance().MainForm() != this || CloseQuery() ? 1 : 0;
      return true;
    default:
      return false;
  }
}

}  // namespace lumorix::ui
