// "Each monitor its own playlist": the players of the other monitors follow
// the setting, and the playlist window offers their lists.
#include "player/core/main_form.h"
#include "player/playlist/playlist_form.h"

namespace lumorix {

namespace {

// A monitor's clip pauses while nobody sees it, as the primary's does: covered
// on its own monitor, or for the reasons every monitor shares; and a clip
// failing half-way gives way to the next entry, as on the primary.
class MonitorCompanions final : public MonitorPlayerExtra {
 public:
  MonitorCompanions(MonitorPlayer& player, const IdleSwitches& switches)
      : holder_(menu_.Add(L"")), control_(player.Graph(), player.Video(), holder_), abortWatch_(player.Graph()) {
    control_.SetSwitches(switches);
    control_.ShowsOn([&player] { return player.Video().ShownMonitorRects(); });
    abortWatch_.OnAbort = [&player](const std::string& message) { player.ClipAborted(message); };
  }
  void PlacementChanged() override { control_.PlacementChanged(); }
  void NewClip() override { abortWatch_.NewClip(); }
  IdlePauseControl& Control() { return control_; }

 private:
  ui::PopupMenu menu_;  // never shown: the switches are the settings window's
  ui::MenuItem& holder_;
  IdlePauseControl control_;
  ClipAbortWatch abortWatch_;
};

}  // namespace

void TLumorixMainForm::FollowIdleSwitches(const IdleSwitches& switches) {
  if (!monitorPlayers_) return;
  for (const auto& player : monitorPlayers_->Players())
    if (auto* pause = static_cast<MonitorCompanions*>(player->Extra())) pause->Control().SetSwitches(switches);
}

std::unique_ptr<MonitorPlayerExtra> TLumorixMainForm::MakeMonitorExtra(MonitorPlayer& player) {
  return std::make_unique<MonitorCompanions>(player, idlePause_->Switches());
}

void TLumorixMainForm::FollowShowOn() {
  if (!monitorPlayers_) return;
  monitorPlayers_->SetActive(onDesktopOnce_ && showOn_->Get() == ShowOn::EachMonitorOwnList);
  OfferMonitorLists();
}

void TLumorixMainForm::OfferMonitorLists() {
  if (!playListForm_ || !monitorPlayers_) return;
  std::vector<TLumorixPlayListForm::ListChoice> choices;
  if (monitorPlayers_->Active()) {
    std::vector<NamedMonitor> monitors = monitorPlayers_->Monitors();
    choices.push_back({monitors.empty() ? std::wstring() : monitors.front().name, nullptr, nullptr});
    for (const auto& player : monitorPlayers_->Players())
      choices.push_back({player->Monitor().name, &player->List(), player.get()});
  }
  playListForm_->SetListChoices(std::move(choices));
}

void TLumorixMainForm::TakePrimaryList(std::vector<TPlayListEntry> list, const MonitorPlayState& state) {
  playListForm_->ReplaceEntries(std::move(list));
  Repeat = state.repeat;
  Random = state.random;
  int32_t count = PlayListCount();
  int32_t index = state.playingIndex >= 0 && state.playingIndex < count ? state.playingIndex : 0;
  if (count == 0) {
    Stop();
    return;
  }
  PlayIndex(index);
  // As at the start: the kept second, once the clip runs.
  if (index == state.playingIndex && state.position > 0) {
    StartPosition = state.position;
    savedIndex_ = index;
    Timer2.SetEnabled(true);
  }
}

}  // namespace lumorix
