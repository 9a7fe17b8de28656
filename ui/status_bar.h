#pragma once
#include <string>

#include "ui/window.h"

namespace lumorix::ui {

// A status bar along the bottom of its parent with one centred panel.
class StatusBar : public Window {
 public:
  StatusBar(HWND parent, int panelWidth);
  void SetPanelText(const std::wstring& text);

 protected:
  void DpiChanged(int oldDpi) override;

 private:
  void SetPanels();
  int panelWidth_;  // in design units
};

}  // namespace lumorix::ui
