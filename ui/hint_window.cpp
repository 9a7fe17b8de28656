#include "ui/hint_window.h"

#include "ui/dpi.h"

namespace lumorix::ui {

HintWindow::HintWindow(HWND owner) {
  CreateOwn(L"LumorixHint", CS_SAVEBITS | CS_DROPSHADOW, WS_POPUP | WS_BORDER,
            WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, owner, {0, 0, 10, 10});
  SetColor(0x80000000u | COLOR_INFOBK);
}

void HintWindow::SetHintText(const std::wstring& text) {
  SetText(text);
  FitToText();
}

void HintWindow::FitToText() {
  if (fontDpi_ != Dpi()) {
    LOGFONTW font = StatusFontForDpi(Dpi());
    font_.Reset(CreateFontIndirectW(&font));
    fontDpi_ = Dpi();
  }
  SIZE size = SingleLineTextSize(Handle(), font_.Get(), Text(), DT_NOPREFIX);
  SetWindowPos(Handle(), nullptr, 0, 0, size.cx + Scale(6), size.cy + Scale(4),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HintWindow::MoveTo(int x, int y) {
  SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HintWindow::SetVisible(bool visible) {
  if (visible)
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  else
    ShowWindow(Handle(), SW_HIDE);
}

bool HintWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_DPICHANGED) {
    // Moved onto a monitor of another scale: the same place, the text at the new size.
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    SetDpi(LOWORD(wParam));
    SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitToText();
    result = 0;
    return true;
  }
  if (message != WM_PAINT) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Handle(), &paint);
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, BackgroundBrush());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  {
    SelectObjectScope select(dc, font_.Get());
    RECT text = client;
    OffsetRect(&text, Scale(2), Scale(1));
    std::wstring caption = Text();
    DrawTextW(dc, caption.c_str(), -1, &text, DT_NOPREFIX | DT_SINGLELINE);
  }
  EndPaint(Handle(), &paint);
  result = 0;
  return true;
}

}  // namespace lumorix::ui
