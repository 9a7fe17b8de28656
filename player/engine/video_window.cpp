#include "player/engine/video_window.h"

#include "player/engine/full_screen_form.h"
#include "ui/application.h"

namespace lumorix::engine {

bool TDSVideoWindowEx2Caps::CanOverlayGraphic() const { return window_.HoldsOverlay(); }
bool TDSVideoWindowEx2Caps::Flag(DWORD flag) const { return (window_.ColorDefaults().dwFlags & flag) != 0; }

TDSVideoWindowEx2::TDSVideoWindowEx2(HWND parent, const ui::Bounds& bounds, std::wstring name)
    : name_(std::move(name)), colorControl_([this] { return graph_; }), caps_(*this) {
  CreateOwn(L"LumorixVideoWindow", CS_DBLCLKS, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, 0, parent,
            bounds);
  SetColor(RGB(0, 0, 0));
  savedStyle_ = GetWindowLongW(Handle(), GWL_STYLE);
  savedExStyle_ = GetWindowLongW(Handle(), GWL_EXSTYLE);
  host_ = std::make_unique<TFullScrinForm>(Color());
}

TDSVideoWindowEx2::~TDSVideoWindowEx2() {
  if (desktopMode_) {
    // Only the desktop comes back; the window is going away, so no re-parenting.
    RestoreDesktopLook(savedLook_);
    ForgetInterruptedLook();
    desktopMode_ = false;
  }
  if (GetParent(Handle()) == host_->Handle() && savedParent_) SetParentWindow(savedParent_);
  host_->AllowClose();
  SetFilterGraph(nullptr);
  videoWindow_.Reset();
  renderer_.Reset();
}

void TDSVideoWindowEx2::SetFilterGraph(TFilterGraph* graph) {
  if (graph_) {
    graph_->RemoveMember(this);
    graph_->RemoveListener(this);
  }
  graph_ = graph;
  if (graph_) {
    graph_->AddMember(this);
    graph_->AddListener(this);
  }
}

void TDSVideoWindowEx2::NotifyFilter(TMemberOperation operation, int) {
  switch (operation) {
    case moAdding:
      insertionTried_ = false;
      renderer_.Reset();
      (void)CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&renderer_));
      break;
    case moAdded:
      videoWindow_.Reset();
      if (renderer_) (void)renderer_.As(&videoWindow_);
      break;
    case moRemoving:
      if (renderer_) {
        (void)renderer_->Stop();
        ComPtr<IEnumPins> pins;
        if (SUCCEEDED(renderer_->EnumPins(&pins))) {
          ComPtr<IPin> pin;
          while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) (void)pin->Disconnect();
        }
      }
      break;
    case moRemoved:
      insertionTried_ = false;
      overlay_.Reset();
      graphRenderer_.Reset();
      videoWindow_.Reset();
      renderer_.Reset();
      break;
  }
}

HRESULT TDSVideoWindowEx2::InsertOverlay() {
  insertionTried_ = true;
  overlay_.Reset();
  graphRenderer_.Reset();
  return E_FAIL;
}

void TDSVideoWindowEx2::InsertionStep() {
  overlayActive_ = SUCCEEDED(InsertOverlay());
  if (overlayActive_) {
    colorControl_.ReadDefaults();
    colorControl_.ApplyColors();
  }
  SetupVideoWindow();
}

void TDSVideoWindowEx2::ControlEvent(TGraphNotice notice, int) {
  switch (notice) {
    case gnPlay:
    case gnPause:
      if (!insertionTried_) InsertionStep();
      if (overlayActive_ && !overlayShown_ && !desktopMode_) {
        overlayShown_ = true;
        if (OnOverlayVisible) OnOverlayVisible(true);
        PaintColorKey();
      }
      break;
    case gnStop:
      if (!insertionTried_) InsertionStep();
      if (overlayActive_ && overlayShown_) {
        overlayShown_ = false;
        PaintColorKey();
        if (OnOverlayVisible) OnOverlayVisible(false);
      }
      break;
    case gnRendered:
      InsertionStep();
      break;
    default:
      break;
  }
}

void TDSVideoWindowEx2::GraphEvent(long code, LONG_PTR, LONG_PTR) {
  if (code == EC_PALETTE_CHANGED) SetupVideoWindow();
}

void TDSVideoWindowEx2::SetupVideoWindow() {
  if (!videoWindow_) return;
  ui::Bounds bounds = GetBounds();
  (void)videoWindow_->put_Owner(reinterpret_cast<OAHWND>(ParentHandle()));
  (void)videoWindow_->put_WindowStyle(savedStyle_ | WS_CHILD | WS_CLIPSIBLINGS);
  (void)videoWindow_->put_WindowStyleEx(savedExStyle_);
  (void)videoWindow_->SetWindowPosition(bounds.left, bounds.top, bounds.width, bounds.height);
  if (!name_.empty()) {
    BSTR caption = SysAllocString(name_.c_str());
    (void)videoWindow_->put_Caption(caption);
    SysFreeString(caption);
  }
  (void)videoWindow_->put_MessageDrain(reinterpret_cast<OAHWND>(Handle()));
  ui::Application::Instance().ProcessMessages();
  (void)videoWindow_->put_AutoShow(desktopMode_ ? OAFALSE : OATRUE);
}

void TDSVideoWindowEx2::PaintColorKey() { Invalidate(); }

namespace {

HMONITOR MonitorOf(HWND window) { return MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST); }

bool MonitorRect(HMONITOR monitor, RECT& rect) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!monitor || !GetMonitorInfoW(monitor, &info)) return false;
  rect = info.rcMonitor;
  return true;
}

}  // namespace

void TDSVideoWindowEx2::StartDesktopPlayback() { StartDesktopPlayback(MonitorOf(Handle())); }
void TDSVideoWindowEx2::StartFullScreen() { StartFullScreen(MonitorOf(Handle())); }

void TDSVideoWindowEx2::StartDesktopPlayback(HMONITOR monitor) {
  RECT area;
  if (desktopMode_ || !MonitorRect(monitor, area)) return;  // no switch without a monitor
  savedLook_ = ReadDesktopLook();
  KeepInterruptedLook(savedLook_);
  ApplyPlaybackLook(colorKey_);
  if (fullScreenMode_) StopDesktopPlayback();  // with desktop mode still off this only leaves full screen
  if (GetParent(Handle()) != host_->Handle()) savedParent_ = ParentHandle();
  SetParentWindow(host_->Handle());
  host_->SetTopMost(false);
  host_->CoverMonitor(area);
  // Without an overlay the host itself is the picture: the backdrop below every window.
  host_->SetBackdrop(!overlayActive_);
  ShowWindow(host_->Handle(), SW_SHOWNOACTIVATE);
  desktopMode_ = true;
  SetupVideoWindow();
  if (overlayActive_) ShowWindow(host_->Handle(), SW_HIDE);
  overlayShown_ = false;
  PaintColorKey();
  if (OnOverlayVisible) OnOverlayVisible(false);
}

void TDSVideoWindowEx2::StopDesktopPlayback() {
  if (desktopMode_) {
    RestoreDesktopLook(savedLook_);
    ForgetInterruptedLook();
    desktopMode_ = false;
    if (Destroying()) return;
    ShowWindow(host_->Handle(), SW_HIDE);
    host_->SetBackdrop(false);
  }
  if (savedParent_) SetParentWindow(savedParent_);
  if (fullScreenMode_) {
    ShowWindow(host_->Handle(), SW_HIDE);
    host_->Invalidate();
    fullScreenMode_ = false;
  }
  SetupVideoWindow();
  overlayShown_ = true;
  PaintColorKey();
  if (OnOverlayVisible) OnOverlayVisible(true);
}

void TDSVideoWindowEx2::StartFullScreen(HMONITOR monitor) {
  RECT area;
  if (fullScreenMode_ || !MonitorRect(monitor, area)) return;
  if (desktopMode_) StopDesktopPlayback();
  if (GetParent(Handle()) != host_->Handle()) savedParent_ = ParentHandle();
  SetParentWindow(host_->Handle());
  host_->SetBackdrop(false);
  host_->CoverMonitor(area);
  host_->SetTopMost(fullScreenTopMost_);
  ShowWindow(host_->Handle(), SW_SHOW);
  fullScreenMode_ = true;
  SetupVideoWindow();
}

void TDSVideoWindowEx2::SetAspectRatio(TRatioModes mode) { aspectRatio_ = mode; }

void TDSVideoWindowEx2::SetDigitalZoom(int zoom) { digitalZoom_ = zoom; }

bool TDSVideoWindowEx2::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_LBUTTONDBLCLK:
      if (OnDblClick) OnDblClick();
      result = 0;
      return true;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(Handle(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, BackgroundBrush());
      result = 1;
      return true;
    }
    case WM_SIZE:
      if (videoWindow_ && !desktopMode_ && !fullScreenMode_) {
        ui::Bounds bounds = GetBounds();
        (void)videoWindow_->SetWindowPosition(bounds.left, bounds.top, bounds.width, bounds.height);
      }
      return false;
    default:
      (void)lParam;
      return false;
  }
}

}  // namespace lumorix::engine
