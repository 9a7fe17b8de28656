#include "player/engine/video_window.h"

#include <cstdlib>

#include "common/video_geometry.h"
#include "player/engine/pin_walk.h"
#include "ui/application.h"

namespace lumorix::engine {

bool TDSVideoWindowEx2Caps::CanOverlayGraphic() const { return window_.HoldsOverlay(); }
bool TDSVideoWindowEx2Caps::Flag(DWORD flag) const { return (window_.ColorDefaults().dwFlags & flag) != 0; }

TDSVideoWindowEx2::TDSVideoWindowEx2(HWND parent, const ui::Bounds& bounds, std::wstring name)
    : name_(std::move(name)), colorControl_([this] { return graph_; }), caps_(*this) {
  CreateOwn(L"LumorixVideoWindow", CS_DBLCLKS, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, 0, parent, bounds);
  SetColor(RGB(0, 0, 0));
  savedStyle_ = GetWindowLongW(Handle(), GWL_STYLE);
  savedExStyle_ = GetWindowLongW(Handle(), GWL_EXSTYLE);
  stage_ = std::make_unique<desktop::DesktopStage>(static_cast<desktop::HostedPicture&>(*this), Color());
  idleTimer_.OnTimer = [this] { IdleCheck(); };
  lastMouseTime_ = GetTickCount();
}

TDSVideoWindowEx2::~TDSVideoWindowEx2() {
  // Only the desktop comes back; the window is going away, so no re-parenting.
  stage_->Leave(true);
  if (exclusive_) (void)exclusive_->SetCallbackInterface(nullptr, 0);
  if (callback_) callback_->Detach();
  idleTimer_.SetEnabled(false);
  KeepAwake(false);
  SetFilterGraph(nullptr);
  ReleaseOverlay();
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

void TDSVideoWindowEx2::ReleaseOverlay() {
  if (callback_) callback_->Detach();
  callback_.Reset();
  exclusive_.Reset();
  overlay_.Reset();
  graphRenderer_.Reset();
  overlayActive_ = false;
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
      if (overlay_) {
        colorControl_.RestoreDefault();
        if (renderer_) (void)renderer_->Stop();
        DisconnectPins(overlay_.Get());
      }
      if (renderer_) {
        (void)renderer_->Stop();
        DisconnectPins(renderer_.Get());
      }
      // A renderer can outlive its stay in the graph (a wedged graph given up
      // with its filters): its window must not stay on top of the next one.
      if (videoWindow_) {
        (void)videoWindow_->put_Visible(OAFALSE);
        (void)videoWindow_->put_Owner(0);
      }
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
      stillCopied_ = false;
      if (!insertionTried_) InsertionStep();
      if (overlayActive_ && !overlayShown_ && !DesktopMode()) {
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
  // An unconnected renderer has no picture size to give (and Wine's faults when asked).
  ComPtr<IBaseFilter> renderer;
  if (FAILED(videoWindow_.As(&renderer)) || !FirstPinConnected(renderer.Get())) return place;
  ComPtr<IBasicVideo2> video;
  LONG aspectX = 0, aspectY = 0;
  if (FAILED(videoWindow_.As(&video)) || FAILED(video->GetPreferredAspectRatio(&aspectX, &aspectY)) || aspectX <= 0 ||
      aspectY <= 0) {
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
  (void)videoWindow_->put_AutoShow(DesktopMode() ? OAFALSE : OATRUE);
}

// A renderer window whose class takes no double clicks (Wine's) drains two
// plain presses: close enough in time and place, they are one double click.
bool TDSVideoWindowEx2::SecondPress(LPARAM lParam) {
  POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  DWORD now = GetTickCount();
  bool second = pressWaiting_ && now - lastPressTime_ <= GetDoubleClickTime() &&
                std::abs(at.x - lastPress_.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                std::abs(at.y - lastPress_.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  pressWaiting_ = !second;
  lastPress_ = at;
  lastPressTime_ = now;
  return second;
}

void TDSVideoWindowEx2::PlaceRenderer() {
  if (!videoWindow_) return;
  ui::Bounds place = RendererPlace();
  (void)videoWindow_->SetWindowPosition(place.left, place.top, place.width, place.height);
}

bool TDSVideoWindowEx2::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_LBUTTONDBLCLK:
      MouseActivity(false);
      pressWaiting_ = false;
      if (OnDblClick) OnDblClick();
      result = 0;
      return true;
    case WM_MOUSEMOVE:
      MouseActivity(true);
      return false;
    case WM_LBUTTONDOWN:
      MouseActivity(false);
      if (!SecondPress(lParam)) return false;
      if (OnDblClick) OnDblClick();
      result = 0;
      return true;
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
      if (!FullScreenMode() || !PopupMenu) return false;
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
      if (!DesktopMode() && !FullScreenMode()) PlaceRenderer();
      return false;
    case kOverlayColorKeyMessage:
      OverlayColorKeyChanged(static_cast<COLORREF>(wParam));
      result = 0;
      return true;
    case kOverlaySizeMessage:
      OverlaySizeChanged();
      result = 0;
      return true;
    default:
      (void)lParam;
      return false;
  }
}

}  // namespace lumorix::engine