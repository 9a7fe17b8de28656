#pragma once
// The player of one monitor other than the primary, when each monitor plays
// a list of its own: its own graph, video window and seek bar (hidden), its
// list, the entry it plays, its own repeat and random, shown on the desktop
// of its monitor only. What plays next is the play-next flow's, as on the
// primary (repeat without a seam, the next entry prepared, the transition
// and the change timer the settings window's). Its sound is off: only the
// primary's clip is heard.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/monitor_lists.h"
#include "common/playlist_entry.h"
#include "common/random_pick.h"
#include "player/core/clip_chain.h"
#include "player/engine/graph/filter_graph.h"
#include "player/engine/seek/ds_track_bar.h"
#include "player/engine/video/video_window.h"
#include "player/playlist/playlist_owner.h"
#include "ui/form.h"
#include "ui/timer.h"

namespace lumorix {

namespace desktop {
class DesktopStage;
}

// What is kept of a monitor's playback between runs, beside its list.
struct MonitorPlayState {
  int32_t playingIndex = 0;
  bool repeat = false;
  bool random = false;
  int32_t position = 0;  // seconds into the entry
  bool operator==(const MonitorPlayState&) const = default;
};

// What the settings window adds to a player for its life (the automatic
// pause, the watch for a clip failing half-way).
class MonitorPlayerExtra {
 public:
  virtual ~MonitorPlayerExtra() = default;
  // The picture moved between the desktop and full screen.
  virtual void PlacementChanged() {}
  // A new clip is about to be rendered, the last one's graph cleared.
  virtual void NewClip() {}
};

class MonitorPlayer final : public IPlayListOwner, private IClipChainHost {
 public:
  MonitorPlayer(NamedMonitor monitor, std::vector<TPlayListEntry> list, MonitorPlayState state);
  ~MonitorPlayer();
  MonitorPlayer(const MonitorPlayer&) = delete;
  MonitorPlayer& operator=(const MonitorPlayer&) = delete;

  const NamedMonitor& Monitor() const { return monitor_; }
  // The list; the playlist window edits it in place.
  std::vector<TPlayListEntry>& List() { return list_; }
  const std::vector<TPlayListEntry>& List() const { return list_; }
  MonitorPlayState State() const;

  // Desktop (or full-screen) playback on its monitor: the kept entry from the kept second.
  void Start(bool fullScreen = false);
  // Full screen on its monitor, on top, as the screen saver; or back on its desktop.
  void SetFullScreen(bool fullScreen);
  void PlayIndex(int32_t index);
  void PlayNext();
  void Stop();
  // The clip failed half-way: nothing more comes of it, and the next entry follows.
  void ClipAborted(const std::string& message);

  engine::TFilterGraph& Graph() { return *graph_; }
  engine::TDSVideoWindowEx2& Video() { return *video_; }
  desktop::DesktopStage& Stage() { return *stage_; }
  int32_t PlayingIndex() const { return playingIndex_; }
  // Where "Transition" and "Change clip every" come from (the settings window's).
  void UseClipChange(std::function<int()> transitionMs, std::function<int32_t()> changeEvery);
  // "Change clip every" changed: a fresh count.
  void ChangeEveryChanged();
  ClipChain& Chain() { return *chain_; }
  // Lives until the player goes, before its graph.
  void Attach(std::unique_ptr<MonitorPlayerExtra> extra) { extra_ = std::move(extra); }
  MonitorPlayerExtra* Extra() const { return extra_.get(); }
  // Starting a clip or placing the picture pumps messages: a player must not
  // be destroyed from a message handled meanwhile.
  bool Busy() const;

  // An entry that cannot play: its message for the standard error box.
  std::function<void(const std::string& message)> OnFailure;
  // Another entry plays: the playlist window draws it bold.
  std::function<void()> OnPlayingChanged;
  // A double click on its picture (full screen: the screen saver ends).
  std::function<void()> OnDblClick;
  // The user closed the playlist window while it showed this list.
  std::function<void()> OnPlayListClosed;

  // The playlist window's view of this player.
  int32_t CurrentIndex() const override { return playingIndex_; }
  void PlayEntry(int32_t index) override { PlayIndex(index); }
  void StopPlayback() override { Stop(); }
  void SetRepeatMode(bool repeat) override { repeat_ = repeat; }
  void SetRandomMode(bool random) override { random_ = random; }
  bool RepeatMode() const override { return repeat_; }
  bool RandomMode() const override { return random_; }
  void PlayListWindowClosed() override {
    if (OnPlayListClosed) OnPlayListClosed();
  }

 private:
  // The play-next flow's view of this player.
  int32_t EntryCount() const override { return static_cast<int32_t>(list_.size()); }
  std::string EntryFile(int32_t index) const override;
  PlayModes Modes() const override { return {repeat_, random_, changeEvery_ ? changeEvery_() : 0}; }
  int32_t PlayingEntry() const override { return playingIndex_; }
  int TransitionMs() const override { return transitionMs_ ? transitionMs_() : 0; }
  void ClipEnded() override { failedInARow_ = 0; }
  void EntryLooped(int32_t index) override;
  void EntryTookOver(int32_t index) override;
  void StartEntry(int32_t index) override { PlayIndex(index); }
  void PreparationFailed(const std::string& message) override;

  void PositionChanged();
  void Playing(int32_t index);
  void EntryFailed(const std::string& message);
  void MoveOn();

  NamedMonitor monitor_;
  std::vector<TPlayListEntry> list_;
  int32_t playingIndex_ = 0;
  bool repeat_ = false;
  bool random_ = false;
  std::optional<int32_t> resumeAt_;
  int busy_ = 0;
  int32_t failedInARow_ = 0;
  RandomPick randomPick_{FreshSeed()};
  // The window the video window and the seek bar live in while they are not on the desktop; never shown.
  std::unique_ptr<ui::Form> holder_;
  std::unique_ptr<engine::TFilterGraph> graph_;
  std::unique_ptr<engine::TDSVideoWindowEx2> video_;
  std::unique_ptr<engine::TDSTrackBar> position_;
  desktop::DesktopStage* stage_ = nullptr;
  ui::Timer moveOnTimer_{10};
  std::function<int()> transitionMs_;
  std::function<int32_t()> changeEvery_;
  std::unique_ptr<ClipChain> chain_;
  std::unique_ptr<MonitorPlayerExtra> extra_;
};

}  // namespace lumorix
