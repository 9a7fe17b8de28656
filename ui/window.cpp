#include "ui/window.h"

#include <commctrl.h>

#include <set>

#include "common/design_scale.h"
#include "ui/application.h"
#include "ui/dpi.h"
#include "ui/scaled_font.h"

namespace lumorix::ui {

namespace {
constexpr wchar_t kObjectProperty[] = L"Lumorix.Window";
constexpr UINT_PTR kSubclassId = 0x4C58;

// A window of the layer knows the DPI its layout is scaled for (also one a
// test gave it); another takes its monitor's.
int DpiOfParent(HWND parent) {
  if (Window* window = Window::FromHandle(parent)) return window->Dpi();
  return WindowDpi(parent);
}
}  // namespace

void RegisterOwnClass(const wchar_t* className, UINT classStyle, WNDPROC procedure) {
  static std::set<std::wstring> registered;
  if (!registered.insert(className).second) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = classStyle;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = className;
  RegisterClassExW(&windowClass);
}

Window::~Window() { DestroyHandle(); }

Window* Window::FromHandle(HWND hwnd) { return hwnd ? static_cast<Window*>(GetPropW(hwnd, kObjectProperty)) : nullptr; }

void Window::DestroyHandle() {
  if (!hwnd_) return;
  destroying_ = true;
  DestroyWindow(hwnd_);
  Detach();
}

void Window::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  SetPropW(hwnd, kObjectProperty, this);
}

void Window::Detach() {
  if (!hwnd_) return;
  RemovePropW(hwnd_, kObjectProperty);
  if (subclassed_) RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
  subclassed_ = false;
  hwnd_ = nullptr;
}

void Window::CreateOwn(const wchar_t* className, UINT classStyle, DWORD style, DWORD exStyle, HWND parent,
                       const Bounds& bounds, const std::wstring& text) {
  RegisterOwnClass(className, classStyle, OwnClassProc);
  Bounds placed = bounds;
  if (style & WS_CHILD) {
    dpi_ = DpiOfParent(parent);
    design_ = bounds;
    placed = Scale(bounds);
  }
  CreateWindowExW(exStyle, className, text.c_str(), style, placed.left, placed.top, placed.width, placed.height, parent,
                  nullptr, GetModuleHandleW(nullptr), this);
  if (!(style & WS_CHILD) && hwnd_) dpi_ = WindowDpi(hwnd_);
}

void Window::CreateControl(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, const Bounds& bounds,
                           const std::wstring& text) {
  dpi_ = DpiOfParent(parent);
  design_ = bounds;
  const Bounds placed = Scale(bounds);
  HWND hwnd = CreateWindowExW(exStyle | WS_EX_NOPARENTNOTIFY, className, text.c_str(), style, placed.left, placed.top,
                              placed.width, placed.height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return;
  Attach(hwnd);
  subclassed_ = SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  if (parent) {
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0))) {
      SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      inheritsFont_ = true;
    }
  }
}

LRESULT CALLBACK Window::OwnClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    static_cast<Window*>(create->lpCreateParams)->Attach(hwnd);
  }
  Window* window = FromHandle(hwnd);
  if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    window->Detach();
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return window->Dispatch(message, wParam, lParam);
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* window = reinterpret_cast<Window*>(data);
  if (message == WM_NCDESTROY) {
    window->Detach();
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  return window->Dispatch(message, wParam, lParam);
}

LRESULT Window::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (subclassed_) return DefSubclassProc(hwnd_, message, wParam, lParam);
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if (destroying_) return DefaultProc(message, wParam, lParam);
  LRESULT result = 0;
  try {
    if (ReflectToChild(message, wParam, lParam, result)) return result;
    if (OnMessage(message, wParam, lParam, result)) return result;
  } catch (const std::exception& failure) {
    Application::Instance().HandleException(failure);
    return 0;
  }
  return DefaultProc(message, wParam, lParam);
}

// Sends a control's notifications back to the control's own object.
bool Window::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND child = nullptr;
  switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
      child = reinterpret_cast<HWND>(lParam);
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
      break;
    case WM_DRAWITEM:
      child = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
      break;
    default:
      return false;
  }
  Window* control = FromHandle(child);
  return control && control->OnReflected(message, wParam, lParam, result);
}

bool Window::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool Window::OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, ResolveColor(Color()));
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      result = reinterpret_cast<LRESULT>(BackgroundBrush());
      return true;
    }
    default:
      return false;
  }
}

int Window::Scale(int designUnits) const { return ScaleToDpi(designUnits, dpi_); }

Bounds Window::Scale(const Bounds& design) const {
  const ScaledSpan across = ScaleSpan(design.left, design.width, dpi_);
  const ScaledSpan down = ScaleSpan(design.top, design.height, dpi_);
  return {across.start, down.start, across.length, down.length};
}

void Window::SetDesignBounds(const Bounds& design) {
  SetBounds(Scale(design));
  design_ = design;
}

void Window::SetScaledFont(const ScaledFont* font) {
  font_ = font;
  HFONT handle = font ? font->At(dpi_) : nullptr;
  if (!handle && inheritsFont_)
    if (HWND parent = GetParent(hwnd_)) handle = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0));
  if (handle) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(handle), FALSE);
}

void Window::ApplyDpi(int dpi, HFONT inheritedFont) {
  const int oldDpi = dpi_;
  dpi_ = dpi;
  if (HFONT font = font_ ? font_->At(dpi) : inheritsFont_ ? inheritedFont : nullptr)
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (design_) {
    const Bounds design = *design_;
    SetDesignBounds(design);
  } else if (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) {
    const Bounds now = GetBounds();
    SetBounds({RescaleDpi(now.left, oldDpi, dpi), RescaleDpi(now.top, oldDpi, dpi), RescaleDpi(now.width, oldDpi, dpi),
               RescaleDpi(now.height, oldDpi, dpi)});
  }
  DpiChanged(oldDpi);
  Invalidate();
}

void Window::SetBounds(const Bounds& bounds) {
  design_.reset();
  SetWindowPos(hwnd_, nullptr, bounds.left, bounds.top, bounds.width, bounds.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

Bounds Window::GetBounds() const {
  RECT rect{};
  GetWindowRect(hwnd_, &rect);
  if (HWND parent = GetParent(hwnd_); parent && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void Window::SetLeft(int left) {
  Bounds bounds = GetBounds();
  bounds.left = left;
  SetBounds(bounds);
}

void Window::SetTop(int top) {
  Bounds bounds = GetBounds();
  bounds.top = top;
  SetBounds(bounds);
}

void Window::SetVisible(bool visible) {
  if (visible != Visible()) ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

bool Window::Visible() const { return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE); }

void Window::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }
bool Window::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void Window::SetText(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

std::wstring Window::Text() const {
  int length = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(hwnd_, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

void Window::SetColor(COLORREF color) {
  color_ = color;
  // Children without a colour of their own paint with this one.
  if (hwnd_) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

COLORREF Window::Color() const {
  if (color_) return *color_;
  if (HWND parent = GetParent(hwnd_))
    if (Window* owner = FromHandle(parent)) return owner->Color();
  return 0x80000000u | COLOR_BTNFACE;
}

HBRUSH Window::BackgroundBrush() const {
  COLORREF color = ResolveColor(Color());
  if (!brush_ || brushColor_ != color) {
    brush_.Reset(CreateSolidBrush(color));
    brushColor_ = color;
  }
  return brush_.Get();
}

void Window::SetParentWindow(HWND parent) { ::SetParent(hwnd_, parent); }
HWND Window::ParentHandle() const { return GetParent(hwnd_); }

void Window::Invalidate() const {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Window::Repaint() const {
  if (!hwnd_) return;
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateWindow(hwnd_);
}

}  // namespace lumorix::ui
