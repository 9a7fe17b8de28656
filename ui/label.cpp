#include "ui/label.h"

#include "ui/scaled_font.h"

namespace lumorix::ui {

Label::Label(HWND parent, const Bounds& bounds, const std::wstring& caption, Alignment alignment)
    : autoSize_(bounds.width == 0 && bounds.height == 0) {
  DWORD align = alignment == Alignment::Center ? SS_CENTER : alignment == Alignment::Right ? SS_RIGHT : SS_LEFT;
  CreateControl(L"STATIC", WS_CHILD | WS_VISIBLE | SS_NOTIFY | align, 0, parent, bounds, caption);
  if (autoSize_) FitToText();
}

void Label::SetCaption(const std::wstring& caption) {
  if (seeThrough_) {
    // The old text's place, before the label may shrink to the new one.
    RECT place;
    GetWindowRect(Handle(), &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(Handle()), reinterpret_cast<POINT*>(&place), 2);
    InvalidateRect(GetParent(Handle()), &place, TRUE);
  }
  SetText(caption);
  if (autoSize_) FitToText();
  Invalidate();
}

void Label::SetFont(const ScaledFont& font) {
  SetScaledFont(&font);
  if (autoSize_) FitToText();
  Invalidate();
}

void Label::DpiChanged(int) {
  if (autoSize_) FitToText();
}

void Label::SetFontColor(COLORREF color) {
  fontColor_ = color;
  Invalidate();
}

void Label::FitToText() {
  SIZE size = CaptionSize(Handle());
  SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Label::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_SETCURSOR && handCursor_) {
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    result = TRUE;
    return true;
  }
  return Window::OnMessage(message, wParam, lParam, result);
}

bool Label::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
    if (OnClick) OnClick();
    result = 0;
    return true;
  }
  if (message == WM_CTLCOLORSTATIC && seeThrough_) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ResolveColor(fontColor_.value_or(0x80000000u | COLOR_WINDOWTEXT)));
    result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    return true;
  }
  if (message == WM_CTLCOLORSTATIC && (transparent_ || fontColor_)) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (transparent_) SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, ResolveColor(Color()));
    SetTextColor(dc, ResolveColor(fontColor_.value_or(0x80000000u | COLOR_WINDOWTEXT)));
    result = reinterpret_cast<LRESULT>(BackgroundBrush());
    return true;
  }
  return Window::OnReflected(message, wParam, lParam, result);
}

}  // namespace lumorix::ui
