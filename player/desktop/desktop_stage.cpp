#include "player/desktop/desktop_stage.h"

#include <algorithm>

#include "player/desktop/monitors.h"

namespace lumorix::desktop {

DesktopStage::DesktopStage(engine::HostedPicture& picture, COLORREF color)
    : picture_(picture), color_(color), watcher_(std::make_unique<ShellRestartWatcher>()) {
  watcher_->OnShellRestarted = [this] {
    layerTries_ = 0;
    Refit();
  };
  watcher_->OnDisplayChanged = [this] {
    Refit();
    if (OnDisplayChanged) OnDisplayChanged();
  };
  watcher_->OnRearrange = [this] { Refit(); };
  // Explorer may rebuild its desktop windows after any of these: the hosts in
  // the layer are looked at again, and hosts still waiting for one ask at once.
  watcher_->OnShellMayHaveChanged = [this] {
    layerTries_ = 0;
    if (layerTimer_.Enabled()) {
      RetryLayer();
    } else {
      CheckLayer();
    }
  };
  layerTimer_.OnTimer = [this] { RetryLayer(); };
  checkTimer_.OnTimer = [this] { CheckLayer(); };
  hosts_.push_back(NewHost(0));
  (void)hosts_[0]->Form();
}

std::unique_ptr<DesktopHost> DesktopStage::NewHost(size_t index) {
  auto host = std::make_unique<DesktopHost>(color_);
  host->OnParentLost = [this, index] {
    if (index == 0) Rescue();
    watcher_->PostRearrange();
  };
  host->OnScaleChanged = [this] { watcher_->PostRearrange(); };
  host->OnRepaint = [this](HWND form) {
    if (drawnIntoHosts_) picture_.PictureRepaint(form);
  };
  return host;
}

DesktopStage::~DesktopStage() {
  layerTimer_.SetEnabled(false);
  checkTimer_.SetEnabled(false);
  RestoreLook();
  if (drawnIntoHosts_) (void)picture_.PictureShowIn({});
  // The window must not go down with a host it still sits in.
  HWND window = picture_.PictureWindow();
  if (window && savedParent_ && IsWindow(savedParent_) && GetParent(window) == hosts_[0]->Handle())
    SetParent(window, savedParent_);
}

void DesktopStage::SetShowOn(ShowOn mode) {
  if (mode == showOn_) return;
  showOn_ = mode;
  Refit();
}

void DesktopStage::PinTo(std::wstring identity) {
  pinned_ = std::move(identity);
  Refit();
}

std::vector<MonitorRect> DesktopStage::Areas() const {
  if (!pinned_.empty()) {
    auto monitor = FindMonitor(pinned_);
    return monitor ? std::vector<MonitorRect>{monitor->area} : std::vector<MonitorRect>{};
  }
  std::vector<MonitorRect> monitors = DesktopMonitors();
  // As ever, the primary mode shows on the monitor asked for, when it is one of the desktop's.
  if (showOn_ == ShowOn::PrimaryMonitor && std::find(monitors.begin(), monitors.end(), monitor_) != monitors.end())
    return {monitor_};
  return HostAreas(showOn_, monitors);
}

std::vector<RECT> DesktopStage::ShownMonitorRects() const {
  std::vector<RECT> shown;
  if (!desktop_ && !fullScreen_) return shown;
  std::vector<MonitorRect> monitors = DesktopMonitors();
  std::vector<MonitorRect> areas =
      showOn_ == ShowOn::PrimaryMonitor || !pinned_.empty() ? Areas() : ShownMonitors(showOn_, monitors);
  for (const MonitorRect& area : areas) shown.push_back(ToRect(area));
  return shown;
}

bool DesktopStage::EnterDesktop(HMONITOR monitor) {
  auto area = AreaOfMonitor(monitor);
  if (desktop_ || !area) return false;  // no switch without a monitor
  monitor_ = *area;
  if (Areas().empty()) return false;
  if (!fullScreen_) savedParent_ = GetParent(picture_.PictureWindow());
  // The overlay shows only through the desktop's colour key: only then is the
  // user's look changed, and kept in case this run dies before it is restored.
  // A monitor's own stage leaves the look to the primary's: two stages saving
  // and restoring it in turn would leave the colour key for good.
  if (picture_.PictureThroughOverlay() && !savedLook_ && pinned_.empty()) {
    savedLook_ = platform::ReadDesktopLook();
    platform::KeepInterruptedLook(*savedLook_);
    platform::ApplyPlaybackLook(picture_.PictureColorKey());
  }
  fullScreen_ = false;
  desktop_ = true;
  layerTries_ = 0;
  Arrange();
  checkTimer_.SetEnabled(true);
  return true;
}

bool DesktopStage::EnterFullScreen(HMONITOR monitor, bool topMost) {
  auto area = AreaOfMonitor(monitor);
  if (fullScreen_ || desktop_ || !area) return false;
  monitor_ = *area;
  if (Areas().empty()) return false;
  savedParent_ = GetParent(picture_.PictureWindow());
  topMost_ = topMost;
  fullScreen_ = true;
  Arrange();
  return true;
}

void DesktopStage::Leave(bool destroying) {
  RestoreLook();
  bool wasHosting = desktop_ || fullScreen_;
  desktop_ = fullScreen_ = false;
  layerTimer_.SetEnabled(false);
  checkTimer_.SetEnabled(false);
  if (drawnIntoHosts_) (void)picture_.PictureShowIn({});
  drawnIntoHosts_ = false;
  if (destroying) return;
  if (wasHosting) HideHosts();
  HWND window = picture_.PictureWindow();
  if (savedParent_ && IsWindow(savedParent_) && GetParent(window) != savedParent_) SetParent(window, savedParent_);
  ShowWindow(window, SW_SHOWNA);  // hidden while the shell had taken its host away
}

void DesktopStage::RestoreLook() {
  if (!savedLook_) return;
  platform::RestoreDesktopLook(*savedLook_);
  platform::ForgetInterruptedLook();
  savedLook_.reset();
}

void DesktopStage::HideHosts() {
  for (auto& host : hosts_) host->Hide();
  while (hosts_.size() > 1) hosts_.pop_back();
}

void DesktopStage::Refit() {
  if (!desktop_ && !fullScreen_) return;
  // The monitor asked for may have changed its size or gone: the nearest one now.
  RECT old = ToRect(monitor_);
  if (auto area = AreaOfMonitor(MonitorFromRect(&old, MONITOR_DEFAULTTONEAREST))) monitor_ = *area;
  Arrange();
}

void DesktopStage::Arrange(std::optional<LayerSearch> found) {
  if (arranging_) {
    // Setting the renderer up pumps messages; a change heard meanwhile is handled after.
    arrangeAgain_ = true;
    return;
  }
  std::vector<MonitorRect> areas = Areas();
  if (areas.empty()) {
    // A monitor's own stage whose monitor went: nothing of it stays on another.
    if (!pinned_.empty())
      for (auto& host : hosts_) host->Hide();
    return;
  }
  arranging_ = true;
  if (drawnIntoHosts_ && hosts_.size() > areas.size()) {
    // The renderer lets go of the hosts that go before they are destroyed.
    std::vector<HWND> kept;
    for (size_t i = 0; i < areas.size(); ++i) kept.push_back(hosts_[i]->Handle());
    (void)picture_.PictureShowIn(kept);
  }
  while (hosts_.size() > areas.size()) {
    hosts_.back()->Hide();
    hosts_.pop_back();
  }
  while (hosts_.size() < areas.size()) hosts_.push_back(NewHost(hosts_.size()));

  const bool overlay = picture_.PictureThroughOverlay();
  HWND window = picture_.PictureWindow();
  DesktopHost& first = Host(0);
  picture_.PictureMoveTo(first.Handle(), {0, 0, areas[0].Width(), areas[0].Height()});

  if (fullScreen_) {
    for (size_t i = 0; i < areas.size(); ++i) Host(i).ShowFullScreen(ToRect(areas[i]), topMost_);
  } else if (overlay) {
    // The overlay shows through the colour key; the host only gives the geometry.
    first.Cover(ToRect(areas[0]));
    for (size_t i = 1; i < areas.size(); ++i) Host(i).Hide();
  } else {
    LayerSearch search = found ? *found : FindWallpaperLayer();
    if (search.shellBusy && AllInLayer()) {
      ShellBusy();
    } else {
      const std::optional<WallpaperLayer>& layer = search.layer;
      // Outside the layer a picture would cover Explorer's icons (or sit unseen
      // under them); only a shell without an icon view gets the backdrop.
      bool iconView = !layer && ShellHasIconView();
      for (size_t i = 0; i < areas.size(); ++i) Host(i).ShowOnDesktop(ToRect(areas[i]), layer, !iconView);
      if (layer) {
        layerTimer_.SetEnabled(false);
      } else {
        LayerNotFound(iconView);
      }
    }
  }
  picture_.PicturePlaced();
  // The renderer draws into every host itself where it can; the video window then waits hidden.
  std::vector<HWND> handles;
  if (!(overlay && !fullScreen_))
    for (auto& host : hosts_) handles.push_back(host->Handle());
  drawnIntoHosts_ = !handles.empty() && picture_.PictureShowIn(handles);
  ShowWindow(window, drawnIntoHosts_ ? SW_HIDE : SW_SHOWNA);
  for (size_t i = 0; i < hosts_.size(); ++i) hosts_[i]->ShowPicture(drawnIntoHosts_, window);
  if (overlay && !fullScreen_) ShowWindow(first.Handle(), SW_HIDE);

  arranging_ = false;
  if (arrangeAgain_) {
    arrangeAgain_ = false;
    watcher_->PostRearrange();
  }
}

void DesktopStage::LayerNotFound(bool iconView) {
  ++layerTries_;
  if (layerTries_ >= kLayerTries) {
    if (iconView && !layerHintGiven_ && OnLayerMissing) {
      layerHintGiven_ = true;
      OnLayerMissing();
    }
    // A shell without icons of its own keeps the backdrop; Explorer is asked on.
    if (!iconView) {
      layerTimer_.SetEnabled(false);
      return;
    }
  }
  layerTimer_.SetEnabled(false);
  layerTimer_.SetInterval(layerTries_ >= kLayerTries ? kBackgroundRetryMs : kLayerRetryMs);
  layerTimer_.SetEnabled(true);
}

void DesktopStage::RetryLayer() {
  layerTimer_.SetEnabled(false);
  if (!desktop_ || picture_.PictureThroughOverlay()) return;
  // The hosts are only moved once there is a layer to move them into.
  LayerSearch search = FindWallpaperLayer();
  if (search.layer) {
    Arrange(search);
  } else if (search.shellBusy && AllInLayer()) {
    ShellBusy();
  } else {
    LayerNotFound(search.shellBusy || ShellHasIconView());
  }
}

// Explorer is busy or hung: the hosts stay where they are, and it is asked
// again shortly; no layer is missing, so nothing counts towards the hint.
void DesktopStage::ShellBusy() {
  layerTimer_.SetEnabled(false);
  layerTimer_.SetInterval(kLayerRetryMs);
  layerTimer_.SetEnabled(true);
}

bool DesktopStage::AllInLayer() const {
  return std::all_of(hosts_.begin(), hosts_.end(), [](const std::unique_ptr<DesktopHost>& host) {
    return host->Where() == DesktopHost::Place::Layer;
  });
}

// Explorer can take the layer apart under the hosts without destroying them
// (a new worker above them, their style lost). Looked at without asking
// Explorer anything; only what is wrong is put right, and only a host out of
// its layer is hosted again.
void DesktopStage::CheckLayer() {
  if (!desktop_ || arranging_ || picture_.PictureThroughOverlay()) return;
  bool rehost = false;
  for (auto& host : hosts_) {
    if (host->Where() != DesktopHost::Place::Layer) continue;  // waiting for a layer: the retries' business
    std::optional<WallpaperLayer> layer = LayerNow(host->Form().Layer());
    LayerRepair repair = layer ? RepairFor(layer->layout, FactsOf(host->Handle(), *layer)) : LayerRepair{true};
    if (repair.rehost) {
      rehost = true;
    } else if (repair.Needed()) {
      host->Form().MendInLayer(*layer, repair);
    }
  }
  if (rehost) Arrange();
}

// The shell is destroying the layer the first host sat in: the window (and
// the renderer's, its sibling) leave before it goes, to come back once
// re-arranged.
void DesktopStage::Rescue() {
  HWND parent = savedParent_ && IsWindow(savedParent_) ? savedParent_ : watcher_->Handle();
  picture_.PictureRescued(parent);
}

}  // namespace lumorix::desktop
