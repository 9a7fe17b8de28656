#pragma once
// Desktop and full-screen playback for the video window: the hosts over the
// monitors the setting "Show on" asks for, the shell's wallpaper layer (asked
// for again until it is there), the monitor geometry (fitted again when the
// display changes) and, only while the overlay needs it, the user's desktop
// look saved and restored.
//
// The clip is decoded and uploaded once. The player's own renderer draws it
// into every host's window with a swap chain each, letter-boxed for that
// host's monitor; the video window waits hidden in the first host. The legacy
// renderer draws only into the video window in the first host. Across
// monitors that host covers their union.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/monitor_layout.h"
#include "platform/desktop_look.h"
#include "player/desktop/desktop_host.h"
#include "player/desktop/shell_watcher.h"
#include "player/engine/video/picture_host.h"
#include "ui/timer.h"

namespace lumorix::desktop {

class DesktopStage final : public engine::PictureHost {
 public:
  DesktopStage(engine::HostedPicture& picture, COLORREF color);
  ~DesktopStage() override;
  DesktopStage(const DesktopStage&) = delete;
  DesktopStage& operator=(const DesktopStage&) = delete;

  ShowOn GetShowOn() const override { return showOn_; }
  void SetShowOn(ShowOn mode) override;
  bool DesktopMode() const override { return desktop_; }
  bool FullScreenMode() const override { return fullScreen_; }
  bool EnterDesktop(HMONITOR monitor) override;
  bool EnterFullScreen(HMONITOR monitor, bool topMost) override;
  void Leave(bool destroying) override;
  std::vector<RECT> ShownMonitorRects() const override;
  void Refresh() override { Arrange(); }

  // Shows on the monitor of that identity only, whatever "Show on" says: the
  // stage of a monitor's own player. Nothing shows while it is not connected,
  // and the desktop look is never changed by it (an overlay's colour key is
  // the primary stage's to set and restore).
  void PinTo(std::wstring identity);
  const std::wstring& PinnedTo() const { return pinned_; }

  // Setting the renderer up in the hosts pumps messages: the stage must not go meanwhile.
  bool Arranging() const { return arranging_; }

  size_t HostCount() const { return hosts_.size(); }
  DesktopHost& Host(size_t index) { return *hosts_.at(index); }
  ShellRestartWatcher& Watcher() { return *watcher_; }

  // Explorer shows desktop icons but its wallpaper layer could not be found
  // after the first tries: the picture waits, hidden, while the search goes on.
  // Called once per run.
  std::function<void()> OnLayerMissing;
  // The display changed (a monitor came, went or changed), after the hosts were fitted again.
  std::function<void()> OnDisplayChanged;

  static constexpr int kLayerTries = 5;
  static constexpr UINT kLayerRetryMs = 500;
  static constexpr UINT kBackgroundRetryMs = 3000;
  // How often the hosts' place in the layer is looked at: a wrong one is put right within a second.
  static constexpr UINT kLayerCheckMs = 500;

 private:
  std::unique_ptr<DesktopHost> NewHost(size_t index);
  std::vector<MonitorRect> Areas() const;
  // `found`: a layer just found, so it is not looked for (a call to the shell) twice.
  void Arrange(std::optional<LayerSearch> found = std::nullopt);
  void Refit();
  void LayerNotFound(bool iconView);
  void RetryLayer();
  void CheckLayer();
  void ShellBusy();
  bool AllInLayer() const;
  void Rescue();
  void HideHosts();
  void RestoreLook();

  engine::HostedPicture& picture_;
  COLORREF color_;
  std::unique_ptr<ShellRestartWatcher> watcher_;
  std::vector<std::unique_ptr<DesktopHost>> hosts_;
  ShowOn showOn_ = ShowOn::PrimaryMonitor;
  std::wstring pinned_;
  bool desktop_ = false;
  bool fullScreen_ = false;
  bool topMost_ = false;
  MonitorRect monitor_{};  // the monitor asked for: the one the primary mode shows on
  HWND savedParent_ = nullptr;
  std::optional<platform::DesktopLook> savedLook_;  // only while the look is changed
  int layerTries_ = 0;
  bool layerHintGiven_ = false;
  bool arranging_ = false;
  bool arrangeAgain_ = false;
  ui::Timer layerTimer_{kLayerRetryMs};
  ui::Timer checkTimer_{kLayerCheckMs};
  bool drawnIntoHosts_ = false;  // the renderer draws into the hosts themselves
};

}  // namespace lumorix::desktop
