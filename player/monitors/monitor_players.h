#pragma once
// "Each monitor its own playlist": a player for every monitor but the primary
// (which the settings window plays), made and let go as monitors come and
// go. A monitor is known again by its identity: its list is kept in a file of
// its own beside the playlist file, its state where the settings store keeps
// it, and both wait for it while it is away. A monitor seen for the first
// time starts with a copy of the primary's list. When another monitor becomes
// the primary (in a run, or since the last), the former primary keeps the
// playlist file's list as its own, and the new one brings its own list to the
// settings window, when it has one.
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/monitor_lists.h"
#include "common/playlist_entry.h"
#include "player/monitors/monitor_player.h"
#include "ui/timer.h"

namespace lumorix {

// Where the monitors' states are kept between runs.
class MonitorStateStore {
 public:
  // None for a monitor never saved (or whose state cannot be read).
  virtual std::optional<MonitorPlayState> ReadMonitorState(const std::wstring& identity) = 0;
  virtual void WriteMonitorState(const std::wstring& identity, const MonitorPlayState& state) = 0;
  // The monitor that was the primary when the playlist file was last saved; empty before.
  virtual std::wstring ReadPrimaryIdentity() = 0;
  virtual void WritePrimaryIdentity(const std::wstring& identity) = 0;

 protected:
  ~MonitorStateStore() = default;
};

class MonitorPlayers {
 public:
  // `listFolder` ends in a backslash; `mainFileName` is the playlist file's
  // name in it. `primaryList` and `primaryState` give what the settings window
  // plays: a new monitor starts from its list and modes.
  MonitorPlayers(std::wstring listFolder, std::wstring mainFileName, MonitorStateStore& store,
                 std::function<std::vector<TPlayListEntry>()> primaryList,
                 std::function<MonitorPlayState()> primaryState);
  ~MonitorPlayers();
  MonitorPlayers(const MonitorPlayers&) = delete;
  MonitorPlayers& operator=(const MonitorPlayers&) = delete;

  // On: a player for each monitor but the primary. Off: each saved and gone.
  void SetActive(bool active);
  bool Active() const { return active_; }
  // The monitors changed: players for those that came; those of monitors that went are saved and let go.
  void Sync();
  // Each player full screen on its monitor (the screen saver), or back on its desktop.
  void SetFullScreen(bool fullScreen);
  // Every player's list and state (at the end of the run). Raises the first
  // failure after trying them all.
  void Save();

  // The monitors now, the primary first.
  std::vector<NamedMonitor> Monitors() const;
  // The players, in the order of Monitors().
  const std::vector<std::unique_ptr<MonitorPlayer>>& Players() const { return players_; }
  MonitorPlayer* PlayerOf(std::wstring_view identity) const;
  std::wstring ListFileOf(std::wstring_view identity) const;

  // The players changed (the playlist window offers their lists).
  std::function<void()> OnPlayersChanged;
  std::function<void(const std::string& message)> OnFailure;
  std::function<void()> OnPlayingChanged;
  std::function<void()> OnPlayListClosed;
  std::function<void()> OnDblClick;
  // "Transition" and "Change clip every", the settings window's, for every player.
  std::function<int()> TransitionMs;
  std::function<int32_t()> ChangeEvery;
  void ChangeEveryChanged();
  // Made for each new player before it starts.
  std::function<std::unique_ptr<MonitorPlayerExtra>(MonitorPlayer& player)> MakeExtra;
  // Another monitor became the primary and brings its own list: the settings window plays it now.
  std::function<void(std::vector<TPlayListEntry> list, const MonitorPlayState& state)> OnPrimaryList;

 private:
  void SyncOnce();
  // Out of the list at once, destroyed once it is not busy (see MonitorPlayer::Busy).
  void Retire(std::vector<std::unique_ptr<MonitorPlayer>>::iterator player);
  void Reap();
  void FollowPrimary(const std::vector<NamedMonitor>& monitors);
  bool HasOwnFile(std::wstring_view identity) const;
  void LetAllGo();
  void Add(const NamedMonitor& monitor);
  void SaveOne(const MonitorPlayer& player);
  void Report(const std::string& message);

  std::wstring folder_;
  std::wstring mainFileName_;
  MonitorStateStore& store_;
  std::function<std::vector<TPlayListEntry>()> primaryList_;
  std::function<MonitorPlayState()> primaryState_;
  // The monitor whose list the settings window plays.
  std::wstring primary_;
  bool active_ = false;
  bool fullScreen_ = false;
  // Starting a clip pumps messages: a change of monitors heard meanwhile is looked at after.
  bool syncing_ = false;
  bool syncAgain_ = false;
  std::vector<std::unique_ptr<MonitorPlayer>> players_;
  std::vector<std::unique_ptr<MonitorPlayer>> retired_;
  ui::Timer reapTimer_{50};
  // Monitors whose file could not be read: their file is not written over with what little was read.
  std::set<std::wstring> unreadable_;
};

}  // namespace lumorix
