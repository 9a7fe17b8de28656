#pragma once
// The Show menu's choice of monitors for desktop and full-screen playback:
// four radio items, the setting "ShowOn" behind them.
#include <functional>

#include "common/monitor_layout.h"
#include "player/engine/video/video_window.h"
#include "ui/menu.h"

namespace lumorix {

class ShowOnMenu {
 public:
  // Adds a separator and the four items to `showMenu`.
  ShowOnMenu(ui::MenuItem& showMenu, engine::TDSVideoWindowEx2& video);

  void Set(ShowOn mode);
  ShowOn Get() const { return video_.GetShowOn(); }

  ui::MenuItem& ItShowOnPrimary;
  ui::MenuItem& ItShowOnEvery;
  ui::MenuItem& ItShowAcross;
  ui::MenuItem& ItShowEachOwnList;
  // After every change of the choice, by the user or at load.
  std::function<void(ShowOn mode)> OnChange;

 private:
  engine::TDSVideoWindowEx2& video_;
};

}  // namespace lumorix
