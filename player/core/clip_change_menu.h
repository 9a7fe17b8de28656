#pragma once
// The Show menu's two playlist timings: "Transition" (a cut, or a crossfade
// of 0.5, 1 or 2 seconds) and "Change clip every" (off, or 1 to 60 minutes),
// each a submenu of radio items over the stored setting.
#include <array>
#include <functional>

#include "common/clip_sequence.h"
#include "ui/menu.h"

namespace lumorix {

class ClipChangeMenu {
 public:
  // Adds a separator and the two submenus to `showMenu`.
  explicit ClipChangeMenu(ui::MenuItem& showMenu);

  void SetTransition(int32_t milliseconds);
  int32_t Transition() const { return transition_; }
  void SetChangeEvery(int32_t minutes);
  int32_t ChangeEvery() const { return changeEvery_; }
  // After a change by the user or the settings: the player applies it.
  std::function<void(int32_t minutes)> OnChangeEvery;

  ui::MenuItem& ItTransition;
  std::array<ui::MenuItem*, std::size(kTransitionChoices)> TransitionItems;
  ui::MenuItem& ItChangeEvery;
  std::array<ui::MenuItem*, std::size(kChangeEveryChoices)> ChangeEveryItems;

 private:
  int32_t transition_ = 0;
  int32_t changeEvery_ = 0;
};

}  // namespace lumorix
