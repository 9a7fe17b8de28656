// Transport, playlist stepping, the rate ladder, volume, balance and the time read-out.
#include "common/next_entry.h"
#include "common/rate_ladder.h"
#include "common/time_text.h"
#include "platform/locale.h"
#include "platform/text.h"
#include "player/engine/graph/direct_show_error.h"
#include "player/core/main_form.h"
#include "player/playlist/playlist_form.h"
#include "ui/application.h"
#include "ui/pointer.h"

namespace lumorix {

void TLumorixMainForm::Play() {
  (void)filterGraph_->Play();
  btPlayPause_->SetCaption(L"Pause");
  ItPause.SetVisible(true);
  ItPlay.SetVisible(false);
  TBPosition.SetEnabled(true);
}

void TLumorixMainForm::Pause() {
  (void)filterGraph_->Pause();
  ItPause.SetVisible(false);
  ItPlay.SetVisible(true);
  btPlayPause_->SetCaption(L"Play");
}

void TLumorixMainForm::Stop() {
  int state = filterGraph_->State();
  if (state != 3 && state != 2) return;
  TBPosition.SetPosition(0);
  (void)filterGraph_->Stop();
  btPlayPause_->SetCaption(L"Play");
  ItPause.SetVisible(false);
  ItPlay.SetVisible(true);
}

void TLumorixMainForm::PlayIndex(int32_t index) {
  // With nothing to play the clip only rewinds. Otherwise the old clip is
  // not sent back first: its first picture would stand until the new one shows.
  if (PlayListCount() == 0) {
    TBPosition.SetPosition(0);
    return;
  }
  TLumorixPlayListForm& playList = *playListForm_;
  PlayingIndex = index;
  std::wstring path = AnsiToWide(EntryPath(playList.Entry(index)));
  filterGraph_->SetActive(true);
  filterGraph_->ClearGraph();
  abortWatch_->NewClip();
  if (!StartEntry(path)) {
    // Shown now; preparing the file again later stays silent.
    (void)clipChain_->FirstFailureOf(EntryFile(index));
    clipChain_->Started({});
    return;
  }
  filterGraph_->SetVolume(-TBVolume.Position());
  filterGraph_->SetRate(PlayRate);
  playList.LBPlayList.Invalidate();
  EndReached = false;
  clipChain_->Started(EntryFile(index));
}

std::string TLumorixMainForm::EntryFile(int32_t index) const {
  if (!playListForm_ || index < 0 || index >= PlayListCount()) return {};
  return EntryPath(playListForm_->Entry(index));
}

void TLumorixMainForm::EntryLooped(int32_t index) {
  TBPosition.Restarted();
  if (index != PlayingIndex) {
    PlayingIndex = index;
    playListForm_->LBPlayList.Invalidate();
  }
  failedInARow_ = 0;
  EndReached = false;
}

void TLumorixMainForm::EntryTookOver(int32_t index) {
  abortWatch_->NewClip();
  TBPosition.Restarted();
  PlayingIndex = index;
  filterGraph_->SetVolume(-TBVolume.Position());
  filterGraph_->SetRate(PlayRate);
  playListForm_->LBPlayList.Invalidate();
  failedInARow_ = 0;
  EndReached = false;
}

bool TLumorixMainForm::StartEntry(const std::wstring& path) {
  try {
    (void)filterGraph_->RenderFile(path);
    (void)filterGraph_->Play();
    return true;
  } catch (const engine::EDirectShowException& failure) {
    EntryFailed(failure.what());
    return false;
  }
}

void TLumorixMainForm::EntryFailed(const std::string& message) {
  // The next entry starts behind the box; a playlist of nothing but such files ends after one round.
  if (++failedInARow_ < PlayListCount()) MoveOnTimer.SetEnabled(true);
  ShowClipFailure(message);
}

void TLumorixMainForm::ClipAborted(const std::string& message) {
  // Nothing more comes of this clip: its last picture must not stand for good.
  try {
    (void)filterGraph_->Stop();
  } catch (const engine::EDirectShowException&) {
    // A graph that refuses to stop after its stream failed is cleared by the next entry.
  }
  EntryFailed(message);
}

void TLumorixMainForm::ShowClipFailure(std::string message) {
  clipFailures_.push_back(std::move(message));
  // The create step posts them itself once its timer is set: starting a clip
  // pumps messages, and a box shown from there would hold the start-up.
  if (!creating_) PostMessageW(Handle(), kClipFailureMessage, 0, 0);
}

void TLumorixMainForm::MoveOnTimerTimer() {
  MoveOnTimer.SetEnabled(false);
  // Repeat would only try the same file again.
  int32_t index = NextEntryIndex(PlayListCount(), PlayingIndex, false, Random, std::ref(randomPick_));
  if (index >= 0) PlayIndex(index);
}

void TLumorixMainForm::PlayNext() { clipChain_->Move(MoveReason::UserNext); }

void TLumorixMainForm::BtPreviousClick() {
  // The bar counts seconds, so this is a clip played for 10000 seconds.
  if (TBPosition.Position() >= 10000 || PlayingIndex <= 0) {
    TBPosition.SetPosition(0);
    return;
  }
  if (Random) {
    // With every entry gone there is nothing to pick: PlayIndex then only rewinds.
    int32_t count = PlayListCount();
    PlayIndex(count > 0 ? randomPick_(count) : PlayingIndex);
    return;
  }
  PlayIndex(PlayingIndex - 1);
}

void TLumorixMainForm::TBPositionChange() {
  // The end of the clip is the graph's own (the play-next flow hears it), so
  // its last frame shows also when its length is no whole number of seconds.
  LTimeInd.SetCaption(Widen(SecToTime(TBPosition.Position()) + " / " + SecToTime(filterGraph_->Duration() / 1000)));
}

void TLumorixMainForm::ApplyRateStep(int step) {
  rateStep_ = step;
  filterGraph_->SetRate(RateOfStep(step));
  PlayRate = filterGraph_->Rate();
  LRateInd.SetCaption(Widen(RateText(PlayRate, DecimalSeparator())));
}

void TLumorixMainForm::BtRateUpClick() { ApplyRateStep(StepUp(rateStep_)); }
void TLumorixMainForm::BtRateDownClick() { ApplyRateStep(StepDown(rateStep_)); }

void TLumorixMainForm::TBVolumeChange() {
  filterGraph_->SetVolume(-TBVolume.Position());
  ShowMainHint(std::to_wstring(-TBVolume.Position() / 100));
}

void TLumorixMainForm::TBBalanceChange() {
  filterGraph_->SetBalance(TBBalance.Position() * 100);
  ShowMainHint(L"Left: " + std::to_wstring(50 - TBBalance.Position()) + L"% - Right: " +
               std::to_wstring(TBBalance.Position() + 50) + L"%");
}

void TLumorixMainForm::OpenClick() {
  if (playListForm_) playListForm_->AddFromDialog();
}

void TLumorixMainForm::DSVideoWindowEx2DblClick() {
  if (!ScreenSaverMode) return;
  ScreenSaverMode = false;
  SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
  ui::ShowPointer();
  Hide();
  DSVideoWindowEx2.StartDesktopPlayback();
  if (monitorPlayers_) monitorPlayers_->SetFullScreen(false);
  if (idlePause_) idlePause_->PlacementChanged();
}

}  // namespace lumorix
