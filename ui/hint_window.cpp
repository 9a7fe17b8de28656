#include "ui/hint_window.h"

namespace lumorix::ui {

HintWindow::HintWindow(HWND owner) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  font_.Reset(CreateFontIndirectW(&metrics.lfStatusFont));
  CreateOwn(L"LumorixHint", CS_SAVEBITS | CS_DROPSHADOW, WS_POPUP | WS_BORDER,
            WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, owner, {0, 0, 10, 10});
  SetColor(0x80000000u | COLOR_INFOBK);
}

void HintWindow::SetHintText(const std::wstring& text) {
  SetText(text);
  SIZE size = SingleLineTextSize(Handle(), font_.Get(), text, DT_NOPREFIX);
  SetWindowPos(Handle(), nullptr, 0, 0, size.cx + 6, size.cy + 4, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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

bool HintWindow::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
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
    OffsetRect(&text, 2, 1);
    std::wstring caption = Text();
    DrawTextW(dc, caption.c_str(), -1, &text, DT_NOPREFIX | DT_SINGLELINE);
  }
  EndPaint(Handle(), &paint);
  result = 0;
  return true;
}

}  // namespace lumorix::ui
