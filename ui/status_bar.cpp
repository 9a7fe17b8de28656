#include "ui/status_bar.h"

#include <commctrl.h>

namespace lumorix::ui {

StatusBar::StatusBar(HWND parent, int panelWidth) {
  CreateControl(STATUSCLASSNAMEW, WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0, parent, {0, 0, 0, 0});
  int edges[1] = {panelWidth};
  SendMessageW(Handle(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(edges));
}

void StatusBar::SetPanelText(const std::wstring& text) {
  std::wstring centred = L"\t" + text;  // a leading tab centres the text in its panel
  SendMessageW(Handle(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(centred.c_str()));
}

}  // namespace lumorix::ui
