#pragma once
// "Each monitor its own playlist": a player for every monitor but the primary
// (which the settings window plays), made and let go as monitors come and
// go. A monitor is known again by its identity: its list is kept in a file of
// its own beside the playlist file, its state where the settings store keeps
// it, and both wait for it while it is away. A monitor seen for the first
// time starts with a copy of the primary's list.
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/monitor_lists.h"
#include "common/playlist_entry.h"
#include "player/monitors/monitor_player.h"

namespace lumorix {

// Where the monitors' states are kept between runs.
class MonitorStateStore {
 public:
  // None for a monitor never saved (or whose state cannot be read).
  virtual std::optional<MonitorPlayState> ReadMonitorState(const std::wstring& identity) = 0;
  virtual void WriteMonitorState(const std::wstring& identity, const MonitorPlayState& state) = 0;

 protected:
  ~MonitorStateStore() = default;
};

class MonitorPlayers {
 public:
  // `listFolder` ends in a backslash; `mainFileName` is the playlist file's
  // name in it. `primary` gives the primary's list and its modes, which a new
  // monitor starts from.
  MonitorPlayers(std::wstring listFolder, std::wstring mainFileName, MonitorStateStore& store,
                 std::function<std::vector<TPlayListEntry>()> primaryList,
                 std::function<MonitorPlayState()> primaryModes);
  ~MonitorPlayers();
  MonitorPlayers(const MonitorPlayers&) = delete;
  MonitorPlayers& operator=(const MonitorPlayers&) = delete;

  // On: a player for each monitor but the primary. Off: each saved and gone.
  void SetActive(bool active);
  bool Active() const { return active_; }
  // The monitors changed: players for those that came; those of monitors that went are saved and let go.
  void Sync();
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

 private:
  void Add(const NamedMonitor& monitor);
  void SaveOne(const MonitorPlayer& player);
  void Report(const std::string& message);

  std::wstring folder_;
  std::wstring mainFileName_;
  MonitorStateStore& store_;
  std::function<std::vector<TPlayListEntry>()> primaryList_;
  std::function<MonitorPlayState()> primaryModes_;
  bool active_ = false;
  std::vector<std::unique_ptr<MonitorPlayer>> players_;
  // Monitors whose file could not be read: their file is not written over with what little was read.
  std::set<std::wstring> unreadable_;
};

}  // namespace lumorix
