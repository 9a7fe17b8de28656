#include "ui/status_bar.h"

#include <commctrl.h>

namespace lumorix::ui {

StatusBar::StatusBar(HWND parent, int panelWidth) : panelWidth_(panelWidth) {
  CreateControl(STATUSCLASSNAMEW, WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0, parent, {0, 0, 0, 0});
  SetPanels();
}

void StatusBar::SetPanels() {
  int edges[1] = {Scale(panelWidth_)};
  SendMessageW(Handle(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(edges));
}

void StatusBar::SetPanelText(const std::wstring& text) {
  std::wstring centred = L"\t" + text;  // a leading tab centres the text in its panel
  SendMessageW(Handle(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(centred.c_str()));
}

void StatusBar::DpiChanged(int) {
  SetPanels();
  SendMessageW(Handle(), WM_SIZE, 0, 0);  // its height follows the new font, its place the parent's new size
}

}  // namespace lumorix::ui
