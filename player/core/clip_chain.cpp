#include "player/core/clip_chain.h"

#include <algorithm>

#include "platform/text.h"
#include "player/engine/graph/direct_show_error.h"

namespace lumorix {

ClipChain::ClipChain(IClipChainHost& host, engine::TFilterGraph& graph, engine::TDSVideoWindowEx2& video,
                     RandomIndex randomIndex)
    : host_(host), graph_(graph), video_(video), randomIndex_(std::move(randomIndex)) {
  spare_.SetGraphEdit(false);
  spare_.SetLinearVolume(graph_.LinearVolume());
  spare_.AddMember(&video_.SpareOutput());
  spare_.AddListener(&spareListener_);
  graph_.AddListener(this);
  prepareTimer_.OnTimer = [this] { Prepare(); };
  endTimer_.OnTimer = [this] { EndTimerTimer(); };
  countTimer_.OnTimer = [this] { CountDown(); };
}

ClipChain::~ClipChain() {
  prepareTimer_.SetEnabled(false);
  countTimer_.SetEnabled(false);
  endTimer_.SetEnabled(false);
  graph_.RemoveListener(this);
  spare_.RemoveListener(&spareListener_);
  try {
    (void)spare_.Stop();
  } catch (const std::exception&) {
    // The next clip is going away unplayed; a graph that refuses to stop goes all the same.
  }
  spare_.SetActive(false);
  spare_.RemoveMember(&video_.SpareOutput());
}

void ClipChain::Started(const std::string& file) {
  failedFiles_.erase(file);
  endTimer_.SetEnabled(false);
  playingFile_ = file;
  DropPrepared();
  countdown_.Restart();
  lastTick_ = GetTickCount();
  prepareTimer_.SetEnabled(false);
  prepareTimer_.SetEnabled(!file.empty());
}

void ClipChain::SetChangeEvery(int32_t minutes) {
  changeEvery_ = ValidChangeEvery(minutes);
  countdown_.SetInterval(changeEvery_, minuteMs_);
  lastTick_ = GetTickCount();
  countTimer_.SetEnabled(countdown_.On());
  // What is prepared depends on whether the timer or the clip's end moves on next.
  if (!playingFile_.empty()) {
    DropPrepared();
    prepareTimer_.SetEnabled(false);
    prepareTimer_.SetEnabled(true);
  }
}

void ClipChain::SetMinuteLength(int64_t milliseconds) {
  minuteMs_ = milliseconds;
  SetChangeEvery(changeEvery_);
}

void ClipChain::GraphEvent(long code, LONG_PTR, LONG_PTR) {
  if (code != EC_COMPLETE || playingFile_.empty()) return;
  host_.ClipEnded();
  // The renderer reports the end as it draws the last frame: that frame is
  // given its own time on the screen before the move.
  endTimer_.SetInterval(FrameTimeMs());
  endTimer_.SetEnabled(true);
}

UINT ClipChain::FrameTimeMs() const {
  REFTIME perFrame = 0;
  auto video = graph_.Query<IBasicVideo>();
  if (!video || FAILED(video->get_AvgTimePerFrame(&perFrame)) || perFrame <= 0) return kDefaultFrameMs;
  return std::clamp(static_cast<UINT>(perFrame * 1000 + 0.5), UINT{10}, UINT{200});
}

void ClipChain::EndTimerTimer() {
  endTimer_.SetEnabled(false);
  Move(MoveReason::ClipEnded);
}

void ClipChain::DropPrepared() {
  preparedFor_ = prepared_ = -1;
  preparedForFile_.clear();
  preparedFile_.clear();
  spareFailed_ = false;
  if (!spareReady_) return;
  spareReady_ = false;
  try {
    spare_.ClearGraph();
  } catch (const engine::EDirectShowException&) {
    // A spare graph that does not come apart is built anew: given up, as a wedged one.
    spare_.SetActive(false);
  }
}

bool ClipChain::PreparedStillValid() const {
  const int32_t count = host_.EntryCount();
  if (preparedFor_ < 0 || prepared_ < 0 || preparedFor_ >= count || prepared_ >= count) return false;
  return host_.EntryFile(preparedFor_) == preparedForFile_ && host_.EntryFile(prepared_) == preparedFile_;
}

void ClipChain::Prepare() {
  prepareTimer_.SetEnabled(false);
  DropPrepared();
  const int32_t count = host_.EntryCount();
  const PlayModes modes = host_.Modes();
  const int32_t first = FollowingEntry(modes, NextOwnMove(modes), count, host_.PlayingEntry(), randomIndex_);
  if (first < 0) return;
  preparedFor_ = first;
  preparedForFile_ = host_.EntryFile(first);
  const bool canBuild = video_.CanPrepareSpare();
  prepared_ = FirstPlayable(count, first, modes.random, randomIndex_, [&](int32_t index) {
    std::string file = host_.EntryFile(index);
    // The playing file repeats by going back to its start: nothing to build.
    if (SameClipFile(file, playingFile_)) return true;
    if (!canBuild) return true;  // built by the host when the move comes, as before
    return Build(file);
  });
  if (prepared_ >= 0) preparedFile_ = host_.EntryFile(prepared_);
}

bool ClipChain::Build(const std::string& file) {
  try {
    spare_.SetActive(true);
    if (!spare_.Active()) return false;  // no graph to be had: the move builds it as before
    spare_.ClearGraph();
    spare_.SetVolume(graph_.Volume());
    spare_.SetBalance(graph_.Balance());
    spare_.SetRate(graph_.Rate());
    (void)spare_.RenderFile(AnsiToWide(file));
    video_.SpareRendered(spare_);
    // Paused, the graph has its first picture decoded and waiting in the renderer.
    (void)spare_.Pause();
    spare_.PumpEvents();
    if (spareFailed_) throw engine::EDirectShowException(E_FAIL);
    spareReady_ = true;
    failedFiles_.erase(file);
    return true;
  } catch (const engine::EDirectShowException& failure) {
    spareFailed_ = false;
    try {
      spare_.ClearGraph();
    } catch (const engine::EDirectShowException&) {
      spare_.SetActive(false);
    }
    if (FirstFailureOf(file)) host_.PreparationFailed(failure.what());
    return false;
  }
}

bool ClipChain::FirstFailureOf(const std::string& file) { return failedFiles_.insert(file).second; }

void ClipChain::Move(MoveReason reason) {
  endTimer_.SetEnabled(false);
  const int32_t count = host_.EntryCount();
  const PlayModes modes = host_.Modes();
  const bool valid = PreparedStillValid();
  const int32_t wanted =
      EntryToPlay(modes, reason, count, host_.PlayingEntry(), valid ? preparedFor_ : -1, randomIndex_);
  if (wanted < 0) return;
  // The rules chose what was prepared for: the first of its successors that renders plays.
  const int32_t index = valid && wanted == preparedFor_ ? prepared_ : wanted;
  const std::string file = host_.EntryFile(index);
  if (SameClipFile(file, playingFile_) && graph_.Active()) {
    // What was prepared is used up: a random pick is made afresh for the next move.
    DropPrepared();
    prepareTimer_.SetEnabled(false);
    prepareTimer_.SetEnabled(true);
    // The timer has nothing else to show: the clip simply plays on.
    if (reason == MoveReason::ChangeTimer) return;
    // A round of the same clip is no new clip: the countdown goes on.
    (void)graph_.Seek(0);
    host_.EntryLooped(index);
    return;
  }
  if (valid && index == prepared_ && spareReady_ && !spareFailed_ && video_.CanPrepareSpare()) {
    TakeOver(index);
    return;
  }
  DropPrepared();
  host_.StartEntry(index);
}

void ClipChain::TakeOver(int32_t index) {
  spareReady_ = false;
  video_.RaiseSpare(host_.TransitionMs());
  // Its first picture again, now that its window shows: the renderer draws a
  // picture as it arrives while paused.
  (void)spare_.Seek(0);
  (void)spare_.WaitForState(std::chrono::milliseconds(500));
  // The spare graph's queued notices (its clock chosen when it paused) are of
  // its preparation, not news for the host's listeners.
  spare_.PumpEvents();
  graph_.SwapGraphs(spare_);
  video_.SwapToSpare();
  std::string failure;
  try {
    (void)graph_.PlaySoon();
  } catch (const engine::EDirectShowException& refused) {
    failure = refused.what();  // told once the takeover is complete
  }
  playingFile_ = preparedFile_;
  preparedFor_ = prepared_ = -1;
  try {
    spare_.ClearGraph();  // the clip that ended
  } catch (const engine::EDirectShowException&) {
    spare_.SetActive(false);
  }
  countdown_.Restart();
  lastTick_ = GetTickCount();
  host_.EntryTookOver(index);
  prepareTimer_.SetEnabled(false);
  prepareTimer_.SetEnabled(true);
  if (!failure.empty()) host_.PreparationFailed(failure);
}

void ClipChain::CountDown() {
  const DWORD now = GetTickCount();
  const DWORD elapsed = now - lastTick_;
  lastTick_ = now;
  if (countdown_.Advance(elapsed, graph_.State() == 3)) Move(MoveReason::ChangeTimer);
}

}  // namespace lumorix
