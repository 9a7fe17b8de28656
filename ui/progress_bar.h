#pragma once
#include "ui/window.h"

namespace lumorix::ui {

// A progress bar with its range; without a height it takes the default one.
class ProgressBar : public Window {
 public:
  ProgressBar(HWND parent, const Bounds& bounds, int min, int max);
  void SetPosition(int position);
  int Position() const;
  void SetBarBackground(COLORREF color);
};

}  // namespace lumorix::ui
