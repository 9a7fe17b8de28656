#pragma once
// Holds the desktop clip paused while nobody can see it and lets it run again
// afterwards. It drives the graph directly, so the seek bar stops ticking and
// decoding stops, but leaves the transport display alone: that shows what
// the user chose. It learns of every other Play, Pause and Stop from the
// graph's notices, so a pause or stop of anyone else is never undone.
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "common/idle_pause.h"
#include "player/core/visibility_watch.h"
#include "player/engine/graph/filter_graph.h"
#include "player/engine/video/video_window.h"
#include "ui/menu.h"

namespace lumorix {

class IdlePauseControl : private engine::IFilterGraphListener {
 public:
  // Adds the four switches to `showMenu`.
  IdlePauseControl(engine::TFilterGraph& graph, engine::TDSVideoWindowEx2& video, ui::MenuItem& showMenu);
  ~IdlePauseControl();
  IdlePauseControl(const IdlePauseControl&) = delete;
  IdlePauseControl& operator=(const IdlePauseControl&) = delete;

  // The video moved between the preview, the desktop and full screen.
  void PlacementChanged() { watch_.RequestSettle(); }
  // The monitors the desktop clip shows on, asked at every check for covers.
  void ShowsOn(ClipMonitors monitors) { watch_.ShowsOn(std::move(monitors)); }

  void SetSwitches(const IdleSwitches& switches);
  // The user flipped a switch in the menu.
  std::function<void(const IdleSwitches& switches)> OnSwitchesChanged;
  const IdleSwitches& Switches() const { return switches_; }
  // The clip is paused by this control and will run again when it is seen.
  bool Holding() const { return rule_.Holding(); }
  VisibilityWatch& Watch() { return watch_; }

  ui::MenuItem& ItPauseWhenCovered;
  ui::MenuItem& ItPauseOnBattery;
  ui::MenuItem& ItPauseWhenLocked;
  ui::MenuItem& ItPauseWhenRemote;

 private:
  enum class Notice { Ran, Halted };

  void GraphEvent(long, LONG_PTR, LONG_PTR) override {}
  void ControlEvent(engine::TGraphNotice notice, int param) override;
  void Settle();
  IdleSight CurrentSight() const;
  void Apply(IdleAction action);
  void SwitchClicked(ui::MenuItem& item, bool IdleSwitches::*flag);

  engine::TFilterGraph& graph_;
  engine::TDSVideoWindowEx2& video_;
  VisibilityWatch watch_;
  IdlePause rule_;
  IdleSwitches switches_;
  std::vector<Notice> notices_;
  bool acting_ = false;  // the graph's notices of our own pause and resume
};

}  // namespace lumorix
