#pragma once
// What plays next on one host (the settings window's video, or one monitor):
// the playing clip in the host's graph, the next entry built and paused beside
// it in a graph of its own while the clip plays, and the move at the clip's
// end, at the change timer or on Next. A repeat of the same file goes back to
// the start without building anything; a different file takes over from the
// prepared graph, cut or crossfaded; only where nothing could be prepared is
// the graph built again at the moment of the move, by the host.
#include <set>
#include <string>

#include "common/clip_sequence.h"
#include "player/engine/graph/filter_graph.h"
#include "player/engine/video/video_window.h"
#include "ui/timer.h"

namespace lumorix {

class IClipChainHost {
 public:
  virtual int32_t EntryCount() const = 0;
  // The full file name of an entry, as the playlist gives it.
  virtual std::string EntryFile(int32_t index) const = 0;
  virtual PlayModes Modes() const = 0;
  virtual int32_t PlayingEntry() const = 0;
  // Milliseconds of crossfade for a takeover; 0 cuts.
  virtual int TransitionMs() const = 0;
  // The playing clip reached its end; the move follows.
  virtual void ClipEnded() = 0;
  // The clip went back to its start in its own graph, now as entry `index`.
  virtual void EntryLooped(int32_t index) = 0;
  // The prepared clip took over as entry `index` and plays.
  virtual void EntryTookOver(int32_t index) = 0;
  // Nothing prepared for `index`: the host starts it the ordinary way.
  virtual void StartEntry(int32_t index) = 0;
  // An entry that did not render while it was prepared; the clip playing goes on.
  virtual void PreparationFailed(const std::string& message) = 0;

 protected:
  ~IClipChainHost() = default;
};

class ClipChain : private engine::IFilterGraphListener {
 public:
  ClipChain(IClipChainHost& host, engine::TFilterGraph& graph, engine::TDSVideoWindowEx2& video,
            RandomIndex randomIndex);
  ~ClipChain();
  ClipChain(const ClipChain&) = delete;
  ClipChain& operator=(const ClipChain&) = delete;

  // The host built and started `file` in its graph: what was prepared is of
  // no use now, and the next is prepared a moment after the clip runs. An
  // empty name: the host's graph holds no clip (it did not render).
  void Started(const std::string& file);
  // Moves on now, as the reason asks.
  void Move(MoveReason reason);
  // "Change clip every", in minutes (0: off); a fresh count.
  void SetChangeEvery(int32_t minutes);

  // The entry prepared to play next (-1: none), and whether its graph waits
  // paused (false when the next entry is the playing file itself).
  int32_t PreparedEntry() const { return prepared_; }
  bool PreparedGraphWaits() const { return spareReady_; }
  engine::TFilterGraph& SpareGraph() { return spare_; }
  // An entry's file did not render: true the first time since it last did,
  // when the user is to hear of it; preparing it again stays silent.
  bool FirstFailureOf(const std::string& file);
  // How long a minute of the change timer lasts, for tests that cannot wait
  // whole minutes; the default is 60 000.
  void SetMinuteLength(int64_t milliseconds);
  // How long after a clip starts the next one is prepared.
  static constexpr UINT kPrepareDelayMs = 1000;

 private:
  // The spare graph's events: only a failure matters while its clip waits.
  class SpareListener : public engine::IFilterGraphListener {
   public:
    explicit SpareListener(ClipChain& chain) : chain_(chain) {}
    void GraphEvent(long code, LONG_PTR, LONG_PTR) override {
      if (code == EC_ERRORABORT || code == EC_ERRORABORTEX) chain_.spareFailed_ = true;
    }
    void ControlEvent(engine::TGraphNotice, int) override {}

   private:
    ClipChain& chain_;
  };

  void GraphEvent(long code, LONG_PTR param1, LONG_PTR param2) override;
  void ControlEvent(engine::TGraphNotice, int) override {}
  // How long the clip's frames stand, from its renderer.
  UINT FrameTimeMs() const;
  void EndTimerTimer();
  void Prepare();
  // Builds `file` in the spare graph and pauses it there; false (and the host
  // told why) when it does not render.
  bool Build(const std::string& file);
  void DropPrepared();
  void TakeOver(int32_t index);
  void CountDown();
  bool PreparedStillValid() const;

  IClipChainHost& host_;
  engine::TFilterGraph& graph_;
  engine::TDSVideoWindowEx2& video_;
  RandomIndex randomIndex_;
  engine::TFilterGraph spare_;
  SpareListener spareListener_{*this};
  std::string playingFile_;
  // The entry the rules chose for the next move, the one prepared for it
  // (the first after it that renders), and their files when they were chosen.
  int32_t preparedFor_ = -1;
  int32_t prepared_ = -1;
  std::string preparedForFile_;
  std::string preparedFile_;
  std::set<std::string> failedFiles_;
  bool spareReady_ = false;
  bool spareFailed_ = false;
  ChangeCountdown countdown_;
  int32_t changeEvery_ = 0;
  int64_t minuteMs_ = 60'000;
  DWORD lastTick_ = 0;
  ui::Timer prepareTimer_{kPrepareDelayMs};
  ui::Timer countTimer_{250};
  static constexpr UINT kDefaultFrameMs = 40;
  ui::Timer endTimer_{kDefaultFrameMs};
};

}  // namespace lumorix
