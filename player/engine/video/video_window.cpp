#include "player/engine/video/video_window.h"

#include <cstdlib>

#include "common/video_geometry.h"
#include "player/engine/filters/pin_walk.h"
#include "ui/application.h"

namespace lumorix::engine {

bool TDSVideoWindowEx2Caps::CanOverlayGraphic() const { return window_.HoldsOverlay(); }
bool TDSVideoWindowEx2Caps::Flag(DWORD flag) const { return (window_.ColorDefaults().dwFlags & flag) != 0; }

TDSVideoWindowEx2::TDSVideoWindowEx2(HWND parent, const ui::Bounds& bounds, std::wstring name)
    : name_(std::move(name)), output_([this] { return graph_; }, name_, *this), caps_(*this) {
  output_.OnFallback = [this](const std::wstring& reason) {
    if (OnRendererFallback) OnRendererFallback(reason);
  };
  output_.OnRendererChanged = [this] {
    if (host_) host_->Refresh();
  };
  CreateOwn(L"LumorixVideoWindow", CS_DBLCLKS, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, 0, parent, bounds);
  SetColor(RGB(0, 0, 0));
  savedStyle_ = GetWindowLongW(Handle(), GWL_STYLE);
  savedExStyle_ = GetWindowLongW(Handle(), GWL_EXSTYLE);
  idleTimer_.OnTimer = [this] { IdleCheck(); };
  lastMouseTime_ = GetTickCount();
}

TDSVideoWindowEx2::~TDSVideoWindowEx2() {
  // Only the desktop comes back; the window is going away, so no re-parenting.
  if (host_) host_->Leave(true);
  idleTimer_.SetEnabled(false);
  KeepAwake(false);
  SetFilterGraph(nullptr);
  fade_.reset();
  spare_.reset();
  output_.Drop();
  host_.reset();
}

void TDSVideoWindowEx2::SetPictureHost(const PictureHostFactory& make) {
  if (host_) host_->Leave(Destroying());
  host_.reset();
  if (make) host_ = make(*this, Color());
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
      output_.Choose();
      break;
    case moAdded:
      // The player's own renderer draws into the window from its first picture on.
      if (Renderer() && Renderer()->DrawsIntoControl()) Renderer()->Present(RendererPlace());
      break;
    case moRemoving:
      output_.Leave();
      break;
    case moRemoved:
      output_.Drop();
      break;
  }
}

void TDSVideoWindowEx2::InsertionStep() {
  output_.InsertionStep();
  SetupVideoWindow();
  if (OnCapabilitiesChanged) OnCapabilitiesChanged();
}

void TDSVideoWindowEx2::ControlEvent(TGraphNotice notice, int) {
  switch (notice) {
    case gnPlay:
    case gnPause:
      KeepAwake(notice == gnPlay);
      if (!output_.InsertionTried()) InsertionStep();
      if (OverlayActive() && !overlayShown_ && !DesktopMode()) {
        overlayShown_ = true;
        if (OnOverlayVisible) OnOverlayVisible(true);
        PaintColorKey();
      }
      break;
    case gnStop:
      KeepAwake(false);
      if (!output_.InsertionTried()) InsertionStep();
      if (OverlayActive() && overlayShown_) {
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
    if (OverlayActive()) RefreshColorKey();
    SetDigitalZoom(digitalZoom_);
    SetAspectRatio(aspectRatio_);
    if (OverlayActive()) PaintColorKey();
  }
}

VideoPlace TDSVideoWindowEx2::RendererPlace() const {
  VideoPlace place;
  place.control = Handle();
  place.bounds = GetBounds();
  // The overlay letter-boxes by itself; a renderer drawing its own window would stretch.
  place.letterBox = !OverlayActive() && aspectRatio_ == rmLetterBox;
  place.show = !DesktopMode();
  place.caption = name_;
  place.style = savedStyle_;
  place.exStyle = savedExStyle_;
  return place;
}

void TDSVideoWindowEx2::SetupVideoWindow() {
  if (Renderer()) Renderer()->Present(RendererPlace());
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
  if (Renderer()) Renderer()->Move(RendererPlace());
  if (spare_) spare_->Move(SparePlace());
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
      if (!cursorHidden_ || !(OverlayActive() || (Renderer() && Renderer()->DrawsIntoControl()))) return false;
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
      if (OverlayActive() || (Renderer() && Renderer()->PictureArea())) {
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
      // A picture drawn into this window follows it in every mode; a renderer window only when windowed.
      if ((!DesktopMode() && !FullScreenMode()) || (Renderer() && Renderer()->DrawsIntoControl())) PlaceRenderer();
      return false;
    case kOverlayColorKeyMessage:
      OverlayColorKeyChanged(static_cast<COLORREF>(wParam));
      result = 0;
      return true;
    case kOverlaySizeMessage:
      OverlaySizeChanged();
      result = 0;
      return true;
    case kFadeDoneMessage:
      EndFade();
      result = 0;
      return true;
    default:
      (void)lParam;
      return false;
  }
}

}  // namespace lumorix::engine