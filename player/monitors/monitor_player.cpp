#include "player/monitors/monitor_player.h"

#include "common/format.h"
#include "common/next_entry.h"
#include "platform/text.h"
#include "player/desktop/desktop_stage.h"
#include "player/desktop/monitors.h"
#include "ui/exception.h"

namespace lumorix {

namespace {

ui::FormDesign HolderDesign() {
  ui::FormDesign design;
  design.caption = L"Lumorix monitor";
  design.clientWidth = 320;
  design.clientHeight = 240;
  design.border = ui::BorderStyle::None;
  design.extraExStyle = WS_EX_TOOLWINDOW;
  return design;
}

ui::TrackBarDesign PositionDesign() {
  ui::TrackBarDesign design;
  design.min = 0;
  design.max = 0;
  design.tickStyle = ui::TickStyle::None;
  return design;
}

// Marks the player busy while a step that pumps messages runs.
struct BusyScope {
  int& depth;
  explicit BusyScope(int& d) : depth(d) { ++depth; }
  ~BusyScope() { --depth; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
};

}  // namespace

bool MonitorPlayer::Busy() const { return busy_ > 0 || (stage_ && stage_->Arranging()); }

MonitorPlayer::MonitorPlayer(NamedMonitor monitor, std::vector<TPlayListEntry> list, MonitorPlayState state)
    : monitor_(std::move(monitor)),
      list_(std::move(list)),
      playingIndex_(state.playingIndex),
      repeat_(state.repeat),
      random_(state.random),
      resumeAt_(state.position > 0 ? std::optional<int32_t>(state.position) : std::nullopt),
      holder_(std::make_unique<ui::Form>(HolderDesign())),
      graph_(std::make_unique<engine::TFilterGraph>()) {
  graph_->SetGraphEdit(false);
  graph_->SetLinearVolume(true);
  video_ =
      std::make_unique<engine::TDSVideoWindowEx2>(holder_->Handle(), ui::Bounds{0, 0, 320, 240}, L"DSVideoWindowEx2");
  video_->SetPictureHost([this](engine::HostedPicture& picture, COLORREF color) {
    auto stage = std::make_unique<desktop::DesktopStage>(picture, color);
    stage->PinTo(monitor_.identity);
    stage_ = stage.get();
    return stage;
  });
  video_->SetFilterGraph(graph_.get());
  video_->SetAspectRatio(engine::rmLetterBox);
  video_->SetFullScreenTopMost(true);
  video_->OnDblClick = [this] {
    if (OnDblClick) OnDblClick();
  };
  position_ = std::make_unique<engine::TDSTrackBar>(holder_->Handle(), ui::Bounds{0, 240, 320, 25}, PositionDesign());
  position_->SetFilterGraph(graph_.get());
  position_->SetEnabled(true);
  position_->OnChange = [this] { PositionChanged(); };
  moveOnTimer_.OnTimer = [this] { MoveOn(); };
  chain_ = std::make_unique<ClipChain>(static_cast<IClipChainHost&>(*this), *graph_, *video_, std::ref(randomPick_));
}

void MonitorPlayer::UseClipChange(std::function<int()> transitionMs, std::function<int32_t()> changeEvery) {
  transitionMs_ = std::move(transitionMs);
  changeEvery_ = std::move(changeEvery);
  ChangeEveryChanged();
}

void MonitorPlayer::ChangeEveryChanged() { chain_->SetChangeEvery(changeEvery_ ? changeEvery_() : 0); }

std::string MonitorPlayer::EntryFile(int32_t index) const {
  if (index < 0 || index >= static_cast<int32_t>(list_.size())) return {};
  return EntryPath(list_[static_cast<size_t>(index)]);
}

void MonitorPlayer::Playing(int32_t index) {
  playingIndex_ = index;
  failedInARow_ = 0;
  if (OnPlayingChanged) OnPlayingChanged();
}

void MonitorPlayer::EntryLooped(int32_t index) {
  position_->Restarted();
  Playing(index);
}

void MonitorPlayer::EntryTookOver(int32_t index) {
  if (extra_) extra_->NewClip();
  position_->Restarted();
  graph_->SetVolume(0);
  resumeAt_.reset();
  Playing(index);
}

void MonitorPlayer::PreparationFailed(const std::string& message) {
  if (OnFailure) OnFailure(message);
}

MonitorPlayer::~MonitorPlayer() {
  extra_.reset();
  chain_.reset();
  moveOnTimer_.SetEnabled(false);
  try {
    (void)graph_->Stop();
  } catch (const std::exception&) {
    // Going away: a graph that refuses to stop is released all the same.
  }
  graph_.reset();
  video_->GraphDestroyed();
  position_->GraphDestroyed();
  video_->StopDesktopPlayback();
}

MonitorPlayState MonitorPlayer::State() const {
  // A position still waiting to be sought is the one to keep.
  int32_t position = resumeAt_ ? *resumeAt_ : position_->Position();
  return {playingIndex_, repeat_, random_, position};
}

void MonitorPlayer::Start(bool fullScreen) {
  BusyScope busy(busy_);
  graph_->SetActive(true);
  // A kept entry beyond a list edited since (or a file that lost entries) starts the list again.
  int32_t count = static_cast<int32_t>(list_.size());
  if (playingIndex_ < 0 || playingIndex_ >= count) {
    playingIndex_ = 0;
    resumeAt_.reset();
  }
  PlayIndex(playingIndex_);
  SetFullScreen(fullScreen);
}

void MonitorPlayer::SetFullScreen(bool fullScreen) {
  BusyScope busy(busy_);
  auto monitor = desktop::FindMonitor(monitor_.identity);
  if (!monitor) return;
  // The stage shows on its own monitor whichever system monitor is named.
  POINT middle{(monitor->area.left + monitor->area.right) / 2, (monitor->area.top + monitor->area.bottom) / 2};
  HMONITOR system = MonitorFromPoint(middle, MONITOR_DEFAULTTONEAREST);
  if (fullScreen) {
    video_->StartFullScreen(system);
  } else {
    if (video_->FullScreenMode()) video_->StopDesktopPlayback();
    video_->StartDesktopPlayback(system);
  }
  if (extra_) extra_->PlacementChanged();
}

void MonitorPlayer::PlayIndex(int32_t index) {
  BusyScope busy(busy_);
  int32_t count = static_cast<int32_t>(list_.size());
  if (count == 0) {
    position_->SetPosition(0);
    return;
  }
  if (index < 0 || index >= count) {
    if (OnFailure) OnFailure(Format("List index out of bounds (%d)", index));
    return;
  }
  if (index != playingIndex_) resumeAt_.reset();
  playingIndex_ = index;
  try {
    graph_->SetActive(true);
    graph_->ClearGraph();
    if (extra_) extra_->NewClip();
    (void)graph_->RenderFile(AnsiToWide(EntryPath(list_[static_cast<size_t>(index)])));
    (void)graph_->Play();
  } catch (const ui::Exception& failure) {
    // Shown now; preparing the file again later stays silent.
    (void)chain_->FirstFailureOf(EntryFile(index));
    chain_->Started({});
    EntryFailed(failure.what());
    return;
  }
  graph_->SetVolume(0);
  chain_->Started(EntryFile(index));
  if (OnPlayingChanged) OnPlayingChanged();
}

void MonitorPlayer::PlayNext() { chain_->Move(MoveReason::UserNext); }

void MonitorPlayer::Stop() {
  int state = graph_->State();
  if (state != 3 && state != 2) return;
  position_->SetPosition(0);
  (void)graph_->Stop();
}

// The end of a clip is the play-next flow's (the graph's own); the bar only
// brings the kept second of the kept entry back, once it knows the clip's length.
void MonitorPlayer::PositionChanged() {
  if (!resumeAt_ || position_->Max() <= 0) return;
  int32_t at = *resumeAt_;
  resumeAt_.reset();
  if (at < position_->Max()) position_->SetPosition(at);
}

void MonitorPlayer::EntryFailed(const std::string& message) {
  // As on the primary: the next entry follows, and a list of nothing but such files ends after one round.
  if (++failedInARow_ < static_cast<int32_t>(list_.size())) moveOnTimer_.SetEnabled(true);
  if (OnFailure) OnFailure(message);
}

void MonitorPlayer::ClipAborted(const std::string& message) {
  // Its last picture must not stand for good.
  try {
    (void)graph_->Stop();
  } catch (const ui::Exception&) {
    // A graph that refuses to stop after its stream failed is cleared by the next entry.
  }
  EntryFailed(message);
}

void MonitorPlayer::MoveOn() {
  moveOnTimer_.SetEnabled(false);
  int32_t index =
      NextEntryIndex(static_cast<int32_t>(list_.size()), playingIndex_, false, random_, std::ref(randomPick_));
  if (index >= 0) PlayIndex(index);
}

}  // namespace lumorix
