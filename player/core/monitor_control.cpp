// "Each monitor its own playlist": the players of the other monitors follow
// the setting, and the playlist window offers their lists.
#include "player/core/main_form.h"
#include "player/playlist/playlist_form.h"

namespace lumorix {

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

}  // namespace lumorix
