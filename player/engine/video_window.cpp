#include "player/engine/video_window.h"

#include "common/video_geometry.h"
#include "player/engine/full_screen_form.h"
#include "player/engine/mixer_pin_config.h"
#include "player/engine/pin_walk.h"
#include "player/engine/shell_watcher.h"
#include "player/engine/wallpaper_layer.h"
#include "ui/application.h"
#include "ui/exception.h"

namespace lumorix::engine {

bool TDSVideoWindowEx2Caps::CanOverlayGraphic() const { return window_.HoldsOverlay(); }
bool TDSVideoWindowEx2Caps::Flag(DWORD flag) const { return (window_.ColorDefaults().dwFlags & flag) != 0; }

namespace {

// A renderer's picture calls need a connected input: an unconnected one has no
// picture size to give (and Wine's faults when asked).
bool HasPicture(IBaseFilter* renderer) {
  ComPtr<IPin> input;
  return renderer && SUCCEEDED(FirstPin(renderer, input)) && IsConnected(input.Get());
}

ComPtr<IMixerPinConfig2> FirstPinConfig(IBaseFilter* overlay) {
  ComPtr<IPin> pin;
  ComPtr<IMixerPinConfig2> config;
  if (overlay && SUCCEEDED(FirstPin(overlay, pin))) (void)pin.As(&config);
  return config;
}

HMONITOR MonitorOf(HWND window) { return MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST); }

bool MonitorRect(HMONITOR monitor, RECT& rect) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!monitor || !GetMonitorInfoW(monitor, &info)) return false;
  rect = info.rcMonitor;
  return true;
}

}  // namespace

TDSVideoWindowEx2::TDSVideoWindowEx2(HWND parent, const ui::Bounds& bounds, std::wstring name)
    : name_(std::move(name)), colorControl_([this] { return graph_; }), caps_(*this) {
  CreateOwn(L"LumorixVideoWindow", CS_DBLCLKS, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, 0, parent,
            bounds);
  SetColor(RGB(0, 0, 0));
  savedStyle_ = GetWindowLongW(Handle(), GWL_STYLE);
  savedExStyle_ = GetWindowLongW(Handle(), GWL_EXSTYLE);
  shellWatcher_ = std::make_unique<ShellRestartWatcher>();
  shellWatcher_->OnShellRestarted = [this] { HostAgainAfterShellRestart(); };
  shellWatcher_->OnDisplayChanged = [this] { FollowDisplayChange(); };
  (void)Host();
  idleTimer_.OnTimer = [this] { IdleCheck(); };
  lastMouseTime_ = GetTickCount();
}

TDSVideoWindowEx2::~TDSVideoWindowEx2() {
  if (desktopMode_) {
    // Only the desktop comes back; the window is going away, so no re-parenting.
    RestoreDesktopLook(savedLook_);
    ForgetInterruptedLook();
    desktopMode_ = false;
  }
  if (host_) {
    if (host_->Handle() && GetParent(Handle()) == host_->Handle() && savedParent_) SetParentWindow(savedParent_);
    host_->AllowClose();
  }
  if (exclusive_) (void)exclusive_->SetCallbackInterface(nullptr, 0);
  if (callback_) callback_->Detach();
  idleTimer_.SetEnabled(false);
  KeepAwake(false);
  SetFilterGraph(nullptr);
  ReleaseOverlay();
  videoWindow_.Reset();
  renderer_.Reset();
}

TFullScrinForm& TDSVideoWindowEx2::Host() {
  // Made on first use, and again when the shell took the last one with it.
  if (!host_ || !host_->Handle()) {
    host_ = std::make_unique<TFullScrinForm>(Color());
    host_->OnParentLost = [this] { RescueFromLostHost(); };
  }
  return *host_;
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

void TDSVideoWindowEx2::ReleaseOverlay() {
  if (callback_) callback_->Detach();
  callback_.Reset();
  exclusive_.Reset();
  overlay_.Reset();
  graphRenderer_.Reset();
  overlayActive_ = false;
}

namespace {
void StopAndDisconnect(IBaseFilter* filter) {
  (void)filter->Stop();
  for (auto& pin : PinsOf(filter)) (void)pin->Disconnect();
}
}  // namespace

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
      if (overlay_) {
        colorControl_.RestoreDefault();
        if (renderer_) (void)renderer_->Stop();
        for (auto& pin : PinsOf(overlay_.Get())) (void)pin->Disconnect();
      }
      if (renderer_) StopAndDisconnect(renderer_.Get());
      if (exclusive_) (void)exclusive_->SetCallbackInterface(nullptr, 0);
      if (callback_) callback_->Detach();
      callback_.Reset();
      break;
    case moRemoved:
      insertionTried_ = false;
      ReleaseOverlay();
      videoWindow_.Reset();
      renderer_.Reset();
      break;
  }
}

HRESULT TDSVideoWindowEx2::InsertOverlay() {
  insertionTried_ = true;
  ReleaseOverlay();
  lastRecords_.clear();
  auto graph = graph_ ? graph_->Query<IFilterGraph>() : nullptr;
  if (!graph) return E_FAIL;
  OverlayInsertion insertion(graph.Get(), renderer_.Get(), this);
  HRESULT result = insertion.Run();
  for (const auto& record : insertion.Records()) lastRecords_.push_back(record.kind);
  graphRenderer_ = insertion.GraphRenderer();
  if (insertion.MixingRendererWindow()) videoWindow_ = insertion.MixingRendererWindow();
  if (SUCCEEDED(result)) {
    overlay_ = insertion.Overlay();
    exclusive_ = insertion.Exclusive();
    callback_ = insertion.Callback();
  }
  return result;
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
      KeepAwake(notice == gnPlay);
      if (!insertionTried_) InsertionStep();
      if (overlayActive_ && !overlayShown_ && !desktopMode_) {
        overlayShown_ = true;
        if (OnOverlayVisible) OnOverlayVisible(true);
        PaintColorKey();
      }
      break;
    case gnStop:
      KeepAwake(false);
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
  if (code == EC_PALETTE_CHANGED) {
    SetupVideoWindow();
  } else if (code == EC_CLOCK_CHANGED) {
    if (overlayActive_) RefreshColorKey();
    SetDigitalZoom(digitalZoom_);
    SetAspectRatio(aspectRatio_);
    if (overlayActive_) PaintColorKey();
  }
}

ui::Bounds TDSVideoWindowEx2::RendererPlace() const {
  ui::Bounds place = GetBounds();
  // The overlay letter-boxes by itself; a renderer drawing its own window would stretch.
  if (overlayActive_ || aspectRatio_ != rmLetterBox || !videoWindow_) return place;
  ComPtr<IBaseFilter> renderer;
  if (FAILED(videoWindow_.As(&renderer)) || !HasPicture(renderer.Get())) return place;
  ComPtr<IBasicVideo2> video;
  LONG aspectX = 0, aspectY = 0;
  if (FAILED(videoWindow_.As(&video)) || FAILED(video->GetPreferredAspectRatio(&aspectX, &aspectY)) ||
      aspectX <= 0 || aspectY <= 0) {
    ComPtr<IBasicVideo> basic;
    if (FAILED(videoWindow_.As(&basic)) || FAILED(basic->GetVideoSize(&aspectX, &aspectY))) return place;
  }
  PictureRect fit = LetterBoxFit(place.width, place.height, aspectX, aspectY);
  return {place.left + fit.left, place.top + fit.top, fit.width, fit.height};
}

void TDSVideoWindowEx2::SetupVideoWindow() {
  if (!videoWindow_) return;
  ui::Bounds place = RendererPlace();
  (void)videoWindow_->put_Owner(reinterpret_cast<OAHWND>(ParentHandle()));
  (void)videoWindow_->put_WindowStyle(savedStyle_ | WS_CHILD | WS_CLIPSIBLINGS);
  (void)videoWindow_->put_WindowStyleEx(savedExStyle_);
  (void)videoWindow_->SetWindowPosition(place.left, place.top, place.width, place.height);
  if (!name_.empty()) {
    BSTR caption = SysAllocString(name_.c_str());
    (void)videoWindow_->put_Caption(caption);
    SysFreeString(caption);
  }
  (void)videoWindow_->put_MessageDrain(reinterpret_cast<OAHWND>(Handle()));
  ui::Application::Instance().ProcessMessages();
  (void)videoWindow_->put_AutoShow(desktopMode_ ? OAFALSE : OATRUE);
}

HRESULT TDSVideoWindowEx2::OverlayRect() {
  if (!videoWindow_ || !renderer_ || !exclusive_ || !graphRenderer_ || !overlay_) return E_FAIL;
  RECT client;
  GetClientRect(Handle(), &client);
  overlayRect_ = client;
  if (aspectRatio_ == rmLetterBox) {
    DWORD width = 0, height = 0, aspectX = 0, aspectY = 0;
    if (SUCCEEDED(exclusive_->GetNativeVideoProps(&width, &height, &aspectX, &aspectY))) {
      PictureRect fit = LetterBoxFit(client.right, client.bottom, static_cast<int>(aspectX), static_cast<int>(aspectY));
      overlayRect_ = {fit.left, fit.top, fit.left + fit.width, fit.top + fit.height};
    }
  }
  return S_OK;
}

void TDSVideoWindowEx2::PaintInto(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  ui::UniqueMemoryDc memory(CreateCompatibleDC(dc));
  ui::UniqueBitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
  if (!memory || !bitmap) return;
  {
    ui::SelectObjectScope select(memory.Get(), bitmap.Get());
    FillRect(memory.Get(), &client, BackgroundBrush());
    if (SUCCEEDED(OverlayRect()) && overlayShown_) {
      ui::UniqueBrush key(CreateSolidBrush(colorKey_));
      FillRect(memory.Get(), &overlayRect_, key.Get());
    }
    BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
  }
  if (OnPaint) OnPaint();
}

void TDSVideoWindowEx2::PaintColorKey() {
  if (!Handle() || Destroying()) return;
  HDC dc = GetDC(Handle());
  if (!dc) return;
  PaintInto(dc);
  ReleaseDC(Handle(), dc);
}

void TDSVideoWindowEx2::RefreshColorKey() {
  if (!overlayActive_) return;
  HWND renderer = FindWindowExW(ParentHandle(), nullptr, L"VideoRenderer", name_.c_str());
  if (!renderer) renderer = FindWindowExW(nullptr, nullptr, L"VideoRenderer", name_.c_str());
  if (!renderer) return;
  SetWindowPos(renderer, Handle(), 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOCOPYBITS);
  auto config = FirstPinConfig(overlay_.Get());
  if (!config) return;
  COLORKEY key{};
  key.KeyType = kColorKeyIndexAndRgb;
  key.PaletteIndex = 0;
  key.LowColorValue = RGB(15, 0, 15);
  key.HighColorValue = RGB(15, 0, 15);
  DWORD color = 0;
  (void)config->GetColorKey(&key, &color);
  colorKey_ = key.HighColorValue;
  if (OnColorKeyChanged) OnColorKeyChanged();
}

// The mixer may call from its own thread; the window's state changes on the GUI thread.
void TDSVideoWindowEx2::OverlayColorKeyChanged(COLORREF key) {
  if (GetWindowThreadProcessId(Handle(), nullptr) != GetCurrentThreadId()) {
    PostMessageW(Handle(), kOverlayColorKeyMessage, key, 0);
    return;
  }
  colorKey_ = key;
  if (OnColorKeyChanged) OnColorKeyChanged();
}

void TDSVideoWindowEx2::OverlaySizeChanged() {
  if (GetWindowThreadProcessId(Handle(), nullptr) != GetCurrentThreadId()) {
    PostMessageW(Handle(), kOverlaySizeMessage, 0, 0);
    return;
  }
  (void)OverlayRect();
  PaintColorKey();
}

void TDSVideoWindowEx2::StartDesktopPlayback() { StartDesktopPlayback(MonitorOf(Handle())); }
void TDSVideoWindowEx2::StartFullScreen() { StartFullScreen(MonitorOf(Handle())); }

void TDSVideoWindowEx2::HostOnDesktop(const RECT& monitor) {
  TFullScrinForm& host = Host();
  host.SetTopMost(false);
  auto layer = FindWallpaperLayer();
  if (!layer || !host.HostInLayer(*layer, monitor)) {
    host.CoverMonitor(monitor);
    host.SetBackdrop(true);
    ShowWindow(host.Handle(), SW_SHOWNOACTIVATE);
  }
}

void TDSVideoWindowEx2::StartDesktopPlayback(HMONITOR monitor) {
  RECT area;
  if (desktopMode_ || !MonitorRect(monitor, area)) return;  // no switch without a monitor
  savedLook_ = ReadDesktopLook();
  KeepInterruptedLook(savedLook_);
  ApplyPlaybackLook(colorKey_);
  if (fullScreenMode_) StopDesktopPlayback();  // with desktop mode still off this only leaves full screen
  TFullScrinForm& host = Host();
  if (GetParent(Handle()) != host.Handle()) savedParent_ = ParentHandle();
  SetParentWindow(host.Handle());
  desktopMode_ = true;
  desktopMonitor_ = area;
  if (overlayActive_) {
    // The overlay shows through the colour key; the host only gives the geometry.
    host.SetTopMost(false);
    host.CoverMonitor(area);
    ShowWindow(host.Handle(), SW_SHOWNOACTIVATE);
  } else {
    // Without an overlay the host itself is the picture, behind the icons.
    HostOnDesktop(area);
  }
  SetupVideoWindow();
  if (overlayActive_) {
    RefreshColorKey();
    ShowWindow(host.Handle(), SW_HIDE);
  }
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
    if (host_ && host_->Handle()) {
      host_->LeaveLayer();
      ShowWindow(host_->Handle(), SW_HIDE);
      host_->SetBackdrop(false);
    }
  }
  if (savedParent_) SetParentWindow(savedParent_);
  ShowWindow(Handle(), SW_SHOWNA);  // hidden while the shell had taken its host away
  if (fullScreenMode_) {
    ShowWindow(Host().Handle(), SW_HIDE);
    Host().Invalidate();
    fullScreenMode_ = false;
  }
  SetupVideoWindow();
  if (overlayActive_) RefreshColorKey();
  overlayShown_ = true;
  PaintColorKey();
  if (OnOverlayVisible) OnOverlayVisible(true);
}

void TDSVideoWindowEx2::StartFullScreen(HMONITOR monitor) {
  RECT area;
  if (fullScreenMode_ || !MonitorRect(monitor, area)) return;
  if (desktopMode_) StopDesktopPlayback();
  TFullScrinForm& host = Host();
  if (GetParent(Handle()) != host.Handle()) savedParent_ = ParentHandle();
  SetParentWindow(host.Handle());
  host.SetBackdrop(false);
  host.CoverMonitor(area);
  host.SetTopMost(fullScreenTopMost_);
  ShowWindow(host.Handle(), SW_SHOW);
  fullScreenMode_ = true;
  SetupVideoWindow();
  if (overlayActive_) RefreshColorKey();
}

// The shell is destroying the layer the host sat in: keep this window (and
// the renderer's, its sibling) out of the wreck until the shell is back.
void TDSVideoWindowEx2::RescueFromLostHost() {
  HWND parent = savedParent_ && IsWindow(savedParent_) ? savedParent_ : shellWatcher_->Handle();
  ShowWindow(Handle(), SW_HIDE);
  SetParentWindow(parent);
  if (videoWindow_) (void)videoWindow_->put_Owner(reinterpret_cast<OAHWND>(parent));
  // Until the shell is back (it may never be) the picture goes on as the backdrop;
  // a new host cannot be made while the old one is being destroyed.
  PostMessageW(Handle(), kHostAgainMessage, 0, 0);
}

void TDSVideoWindowEx2::HostAgainAfterShellRestart() {
  if (!desktopMode_ || overlayActive_) return;
  TFullScrinForm& host = Host();
  if (GetParent(Handle()) != host.Handle()) SetParentWindow(host.Handle());
  HostOnDesktop(desktopMonitor_);
  ShowWindow(Handle(), SW_SHOWNA);
  SetupVideoWindow();
}

// A new resolution or monitor layout: the host covers its monitor again and
// the picture fills it, whichever mode it serves.
void TDSVideoWindowEx2::FollowDisplayChange() {
  if ((!desktopMode_ && !fullScreenMode_) || !host_ || !host_->Handle()) return;
  RECT area;
  if (!MonitorRect(MonitorOf(Handle()), area)) return;
  if (desktopMode_ && !overlayActive_) {
    desktopMonitor_ = area;
    HostOnDesktop(area);
  } else {
    host_->CoverMonitor(area);
  }
  SetBounds({0, 0, area.right - area.left, area.bottom - area.top});
  SetupVideoWindow();
}

void TDSVideoWindowEx2::SetAutoHideCursor(int milliseconds) {
  autoHideCursor_ = milliseconds > 0 ? milliseconds : 0;
  if (!autoHideCursor_) ShowCursorAgain();
  idleTimer_.SetEnabled(autoHideCursor_ > 0);
}

void TDSVideoWindowEx2::IdleCheck() {
  if (autoHideCursor_ <= 0 || cursorHidden_ || !videoWindow_) return;
  if (GetTickCount() - lastMouseTime_ < static_cast<DWORD>(autoHideCursor_)) return;
  if (!overlayActive_) {
    long hidden = OAFALSE;
    if (SUCCEEDED(videoWindow_->IsCursorHidden(&hidden)) && hidden == OATRUE) return;
    (void)videoWindow_->HideCursor(OATRUE);
  }
  cursorHidden_ = true;
  POINT cursor;
  if (GetCursorPos(&cursor)) SetCursorPos(cursor.x, cursor.y);  // makes the shape change show at once
  if (OnCursorShowHide) OnCursorShowHide(false);
}

void TDSVideoWindowEx2::ShowCursorAgain() {
  if (!cursorHidden_) return;
  cursorHidden_ = false;
  if (!overlayActive_ && videoWindow_) (void)videoWindow_->HideCursor(OAFALSE);
  POINT cursor;
  if (GetCursorPos(&cursor)) SetCursorPos(cursor.x, cursor.y);
  if (OnCursorShowHide) OnCursorShowHide(true);
}

void TDSVideoWindowEx2::MouseActivity(bool moved) {
  POINT cursor{};
  GetCursorPos(&cursor);
  // The refresh of a hidden cursor's position is a move to the same point: not activity.
  if (moved && cursor.x == lastMouse_.x && cursor.y == lastMouse_.y) return;
  lastMouse_ = cursor;
  lastMouseTime_ = GetTickCount();
  ShowCursorAgain();
}

void TDSVideoWindowEx2::SetNoScreenSaver(bool keepAwake) {
  noScreenSaver_ = keepAwake;
  KeepAwake(playing_);
}

void TDSVideoWindowEx2::KeepAwake(bool playing) {
  playing_ = playing;
  SetThreadExecutionState(noScreenSaver_ && playing_ ? ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED
                                                     : ES_CONTINUOUS);
}

void TDSVideoWindowEx2::PlaceRenderer() {
  if (!videoWindow_) return;
  ui::Bounds place = RendererPlace();
  (void)videoWindow_->SetWindowPosition(place.left, place.top, place.width, place.height);
}

void TDSVideoWindowEx2::SetAspectRatio(TRatioModes mode) {
  if (!graphRenderer_ || !overlay_) {
    aspectRatio_ = mode;
    if (!overlayActive_) PlaceRenderer();
    return;
  }
  auto config = FirstPinConfig(overlay_.Get());
  if (config && SUCCEEDED(config->SetAspectRatioMode(static_cast<DWORD>(mode)))) aspectRatio_ = mode;
  if (overlayActive_ && !desktopMode_) PaintColorKey();
}

void TDSVideoWindowEx2::SetDigitalZoom(int zoom) {
  if (auto error = DigitalZoomRangeError(zoom)) throw ui::Exception(*error);
  if (!graphRenderer_) {
    digitalZoom_ = zoom;
    return;
  }
  // The source rectangle is IBasicVideo's; renderers without the second version have it too.
  ComPtr<IBasicVideo> video;
  if (HasPicture(graphRenderer_.Get()) && SUCCEEDED(graphRenderer_.As(&video))) {
    (void)video->SetDefaultSourcePosition();
    LONG width = 0, height = 0;
    (void)video->get_SourceWidth(&width);
    (void)video->get_SourceHeight(&height);
    PictureRect source = ZoomedSource(width, height, zoom);
    (void)video->put_SourceWidth(source.width);
    (void)video->put_SourceHeight(source.height);
    (void)video->put_SourceLeft(source.left);
    (void)video->put_SourceTop(source.top);
  }
  digitalZoom_ = zoom;
}

bool TDSVideoWindowEx2::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_LBUTTONDBLCLK:
      MouseActivity(false);
      if (OnDblClick) OnDblClick();
      result = 0;
      return true;
    case WM_MOUSEMOVE:
      MouseActivity(true);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      MouseActivity(false);
      return false;
    case WM_SETCURSOR:
      if (!cursorHidden_ || !overlayActive_) return false;
      SetCursor(nullptr);  // over the colour key the cursor is this window's to hide
      result = TRUE;
      return true;
    case WM_CONTEXTMENU:
      if (!fullScreenMode_ || !PopupMenu) return false;
      {
        POINT cursor;
        GetCursorPos(&cursor);
        PopupMenu->Popup(cursor.x, cursor.y, Handle());
      }
      result = 0;
      return true;
    case WM_ERASEBKGND:
      if (overlayActive_) {
        result = -1;  // the colour key must not flicker
        return true;
      }
      {
        RECT client;
        GetClientRect(Handle(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, BackgroundBrush());
      }
      result = 1;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(Handle(), &paint);
      if (!Destroying()) PaintInto(dc);
      EndPaint(Handle(), &paint);
      result = 0;
      return true;
    }
    case WM_SIZE:
      if (!desktopMode_ && !fullScreenMode_) PlaceRenderer();
      return false;
    case kOverlayColorKeyMessage:
      OverlayColorKeyChanged(static_cast<COLORREF>(wParam));
      result = 0;
      return true;
    case kOverlaySizeMessage:
      OverlaySizeChanged();
      result = 0;
      return true;
    case kHostAgainMessage:
      HostAgainAfterShellRestart();
      result = 0;
      return true;
    default:
      (void)lParam;
      return false;
  }
}

}  // namespace lumorix::engine
