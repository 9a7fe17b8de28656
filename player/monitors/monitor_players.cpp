#include "player/monitors/monitor_players.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "player/desktop/monitors.h"
#include "player/playlist/playlist_file.h"
#include "ui/exception.h"

namespace lumorix {

namespace {

std::wstring Upper(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& c : upper)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return upper;
}

}  // namespace

MonitorPlayers::MonitorPlayers(std::wstring listFolder, std::wstring mainFileName, MonitorStateStore& store,
                               std::function<std::vector<TPlayListEntry>()> primaryList,
                               std::function<MonitorPlayState()> primaryState)
    : folder_(std::move(listFolder)),
      mainFileName_(std::move(mainFileName)),
      store_(store),
      primaryList_(std::move(primaryList)),
      primaryState_(std::move(primaryState)) {
  reapTimer_.OnTimer = [this] { Reap(); };
}

MonitorPlayers::~MonitorPlayers() { reapTimer_.SetEnabled(false); }

void MonitorPlayers::Retire(std::vector<std::unique_ptr<MonitorPlayer>>::iterator player) {
  retired_.push_back(std::move(*player));
  players_.erase(player);
  reapTimer_.SetEnabled(true);
}

void MonitorPlayers::Reap() {
  std::vector<std::unique_ptr<MonitorPlayer>> done;
  for (auto player = retired_.begin(); player != retired_.end();) {
    if ((*player)->Busy()) {
      ++player;
      continue;
    }
    done.push_back(std::move(*player));
    player = retired_.erase(player);
  }
  if (retired_.empty()) reapTimer_.SetEnabled(false);
  done.clear();  // stopping a graph may pump messages: the list is in order before
}

std::wstring MonitorPlayers::ListFileOf(std::wstring_view identity) const {
  return folder_ + MonitorPlayListName(mainFileName_, identity);
}

std::vector<NamedMonitor> MonitorPlayers::Monitors() const {
  std::vector<NamedMonitor> monitors;
  for (const desktop::DesktopMonitor& monitor : desktop::DescribeMonitors()) monitors.push_back(monitor.named);
  return PrimaryFirst(std::move(monitors));
}

MonitorPlayer* MonitorPlayers::PlayerOf(std::wstring_view identity) const {
  for (const auto& player : players_)
    if (SameMonitor(player->Monitor().identity, identity)) return player.get();
  return nullptr;
}

void MonitorPlayers::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  if (active) {
    primary_ = store_.ReadPrimaryIdentity();
    Sync();
  } else if (!syncing_) {
    LetAllGo();  // while a player starts, the sync lets them go once it is done
  }
}

void MonitorPlayers::LetAllGo() {
  if (!primary_.empty()) store_.WritePrimaryIdentity(primary_);
  for (const auto& player : players_) {
    try {
      SaveOne(*player);
    } catch (const std::exception& failure) {
      Report(failure.what());
    }
  }
  while (!players_.empty()) Retire(players_.begin());
  if (OnPlayersChanged) OnPlayersChanged();
}

void MonitorPlayers::Sync() {
  if (!active_) return;
  if (syncing_) {
    syncAgain_ = true;
    return;
  }
  syncing_ = true;
  struct Done {
    MonitorPlayers& players;
    ~Done() { players.syncing_ = false; }
  } done{*this};
  do {
    syncAgain_ = false;
    SyncOnce();
  } while (syncAgain_ && active_);
  if (!active_) LetAllGo();
}

bool MonitorPlayers::HasOwnFile(std::wstring_view identity) const {
  return GetFileAttributesW(ListFileOf(identity).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MonitorPlayers::FollowPrimary(const std::vector<NamedMonitor>& monitors) {
  if (monitors.empty() || !monitors.front().primary) return;
  const std::wstring now = monitors.front().identity;
  PrimarySwap swap = SwapForPrimary(
      primary_, now, [this](std::wstring_view identity) { return PlayerOf(identity) || HasOwnFile(identity); });
  const std::wstring former = std::exchange(primary_, now);
  if (swap == PrimarySwap{}) return;
  // What the settings window plays is the former primary's: it keeps it, here or not.
  std::vector<TPlayListEntry> formerList = primaryList_();
  MonitorPlayState formerState = primaryState_();
  if (swap.ownBecomesMain) {
    std::vector<TPlayListEntry> list;
    MonitorPlayState state;
    auto player = std::find_if(players_.begin(), players_.end(),
                               [&](const auto& p) { return SameMonitor(p->Monitor().identity, now); });
    if (player != players_.end()) {
      list = (*player)->List();
      state = (*player)->State();
      Retire(player);
    } else {
      try {
        LoadPlayListFile(ListFileOf(now), list);
      } catch (const std::exception& failure) {
        Report(failure.what());
      }
      state = store_.ReadMonitorState(now).value_or(MonitorPlayState{});
    }
    if (OnPrimaryList) OnPrimaryList(std::move(list), state);
  }
  try {
    store_.WriteMonitorState(former, formerState);
    SavePlayListFile(ListFileOf(former), formerList);
    unreadable_.erase(Upper(former));
  } catch (const std::exception& failure) {
    Report(failure.what());
  }
}

void MonitorPlayers::SyncOnce() {
  std::vector<NamedMonitor> monitors = Monitors();
  FollowPrimary(monitors);
  std::vector<std::wstring> playing;
  for (const auto& player : players_) playing.push_back(player->Monitor().identity);
  MonitorChanges changes = ChangesBetween(playing, monitors);
  for (const std::wstring& gone : changes.gone) {
    auto found = std::find_if(players_.begin(), players_.end(),
                              [&](const auto& player) { return SameMonitor(player->Monitor().identity, gone); });
    if (found == players_.end()) continue;
    try {
      SaveOne(**found);
    } catch (const std::exception& failure) {
      Report(failure.what());
    }
    Retire(found);
  }
  for (const NamedMonitor& came : changes.came)
    if (active_) Add(came);
  // In the order of the monitors, the primary's first, as the playlist window offers them.
  std::vector<std::unique_ptr<MonitorPlayer>> ordered;
  for (const NamedMonitor& monitor : monitors)
    for (auto& player : players_)
      if (player && SameMonitor(player->Monitor().identity, monitor.identity)) ordered.push_back(std::move(player));
  players_ = std::move(ordered);
  if (!changes.gone.empty() || !changes.came.empty()) {
    if (OnPlayersChanged) OnPlayersChanged();
  }
}

void MonitorPlayers::Add(const NamedMonitor& monitor) {
  const std::wstring file = ListFileOf(monitor.identity);
  auto hasOwnList = [this](std::wstring_view identity) { return HasOwnFile(identity); };
  std::vector<TPlayListEntry> list;
  MonitorPlayState state;
  if (ListSourceFor(monitor.identity, hasOwnList) == ListSource::OwnFile) {
    unreadable_.erase(Upper(monitor.identity));
    try {
      LoadPlayListFile(file, list);
    } catch (const std::exception& failure) {
      unreadable_.insert(Upper(monitor.identity));
      Report(failure.what());
    }
    state = store_.ReadMonitorState(monitor.identity).value_or(MonitorPlayState{});
  } else {
    // A monitor seen for the first time: the primary's list and modes, from its first entry.
    list = primaryList_();
    MonitorPlayState modes = primaryState_();
    state = {0, modes.repeat, modes.random, 0};
  }
  auto player = std::make_unique<MonitorPlayer>(monitor, std::move(list), state);
  player->OnFailure = [this](const std::string& message) { Report(message); };
  player->OnPlayingChanged = [this] {
    if (OnPlayingChanged) OnPlayingChanged();
  };
  player->OnPlayListClosed = [this] {
    if (OnPlayListClosed) OnPlayListClosed();
  };
  player->OnDblClick = [this] {
    if (OnDblClick) OnDblClick();
  };
  if (MakeExtra) player->Attach(MakeExtra(*player));
  player->UseClipChange(TransitionMs, ChangeEvery);
  MonitorPlayer& started = *player;
  players_.push_back(std::move(player));
  started.Start(fullScreen_);
}

void MonitorPlayers::SaveOne(const MonitorPlayer& player) {
  const std::wstring& identity = player.Monitor().identity;
  // The list first: it is what the user built.
  if (!unreadable_.count(Upper(identity))) SavePlayListFile(ListFileOf(identity), player.List());
  store_.WriteMonitorState(identity, player.State());
}

void MonitorPlayers::SetFullScreen(bool fullScreen) {
  fullScreen_ = fullScreen;
  // A copy: a player may be let go while another one is placed.
  std::vector<MonitorPlayer*> players;
  for (const auto& player : players_) players.push_back(player.get());
  for (MonitorPlayer* player : players)
    if (std::any_of(players_.begin(), players_.end(), [&](const auto& p) { return p.get() == player; }))
      player->SetFullScreen(fullScreen);
}

void MonitorPlayers::ChangeEveryChanged() {
  for (const auto& player : players_) player->ChangeEveryChanged();
}

void MonitorPlayers::Save() {
  std::optional<std::string> first;
  if (active_ && !primary_.empty()) store_.WritePrimaryIdentity(primary_);
  for (const auto& player : players_) {
    try {
      SaveOne(*player);
    } catch (const std::exception& failure) {
      if (!first) first = failure.what();
    }
  }
  if (first) throw ui::Exception(*first);
}

void MonitorPlayers::Report(const std::string& message) {
  if (OnFailure) OnFailure(message);
}

}  // namespace lumorix
