#include "player/engine/video/video_window.h"

#include <cstdlib>

#include "common/video_geometry.h"
#include "player/engine/filters/pin_walk.h"
#include "player/engine/mf/screen_area.h"
#include "player/engine/shrink/shrinker_insertion.h"
#include "player/engine/render/legacy_renderer.h"
#include "player/engine/render/renderer_choice.h"
#include "player/engine/render/renderer_fallback.h"
#include "ui/application.h"

namespace lumorix::engine {

bool TDSVideoWindowEx2Caps::CanOverlayGraphic() const { return window_.HoldsOverlay(); }
bool TDSVideoWindowEx2Caps::Flag(DWORD flag) const { return (window_.ColorDefaults().dwFlags & flag) != 0; }

TDSVideoWindowEx2::TDSVideoWindowEx2(HWND parent, const ui::Bounds& bounds, std::wstring name)
    : name_(std::move(name)), colorControl_([this] { return graph_; }, [this] { return Mixer(); }), caps_(*this) {
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
  if (exclusive_) (void)exclusive_->SetCallbackInterface(nullptr, 0);
  if (callback_) callback_->Detach();
  idleTimer_.SetEnabled(false);
  KeepAwake(false);
  SetFilterGraph(nullptr);
  ReleaseOverlay();
  fade_.reset();
  renderer_.reset();
  spare_.reset();
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
      renderer_ = ChooseVideoRenderer();
      break;
    case moAdded:
      // The enhanced renderer needs its window before it connects.
      if (renderer_ && renderer_->DrawsIntoControl()) renderer_->Present(RendererPlace());
      break;
    case moRemoving:
      if (overlay_) {
        colorControl_.RestoreDefault();
        if (renderer_) (void)renderer_->Filter()->Stop();
        DisconnectPins(overlay_.Get());
      }
      if (renderer_) {
        (void)renderer_->Filter()->Stop();
        DisconnectPins(renderer_->Filter());
        renderer_->Withdraw();
      }
      if (exclusive_) (void)exclusive_->SetCallbackInterface(nullptr, 0);
      if (callback_) callback_->Detach();
      callback_.Reset();
      break;
    case moRemoved:
      insertionTried_ = false;
      ReleaseOverlay();
      renderer_.reset();
      break;
  }
}

HRESULT TDSVideoWindowEx2::InsertOverlay() {
  insertionTried_ = true;
  ReleaseOverlay();
  lastRecords_.clear();
  auto graph = graph_ ? graph_->Query<IFilterGraph>() : nullptr;
  if (!graph || !renderer_) return E_FAIL;
  OverlayInsertion insertion(graph.Get(), renderer_->Filter(), this);
  HRESULT result = insertion.Run();
  for (const auto& record : insertion.Records()) lastRecords_.push_back(record.kind);
  graphRenderer_ = insertion.GraphRenderer();
  if (insertion.MixingRendererWindow()) renderer_->AdoptVideoWindow(insertion.MixingRendererWindow());
  if (SUCCEEDED(result)) {
    overlay_ = insertion.Overlay();
    exclusive_ = insertion.Exclusive();
    callback_ = insertion.Callback();
  }
  return result;
}

void TDSVideoWindowEx2::InsertionStep() {
  if (renderer_ && renderer_->Kind() == RendererKind::kEnhanced) {
    // No overlay behind the enhanced renderer: its mixer does the colours.
    insertionTried_ = true;
    ReleaseOverlay();
    FallBackToLegacy();
  }
  if (renderer_ && renderer_->Kind() == RendererKind::kEnhanced) {
    // The mixer knows its ranges once it has a picture; until then nothing is known.
    if (renderer_->Connected()) colorControl_.ReadDefaults();
    colorControl_.ApplyColors();
  } else {
    overlayActive_ = SUCCEEDED(InsertOverlay());
    auto graph = graph_ ? graph_->Query<IFilterGraph>() : nullptr;
    if (!overlayActive_ && renderer_ && graph)
      (void)InsertPictureShrinker(graph.Get(), renderer_->Filter(), ScreenAreaSize());
  }
  if (overlayActive_) {
    colorControl_.ReadDefaults();
    colorControl_.ApplyColors();
  }
  SetupVideoWindow();
  if (OnCapabilitiesChanged) OnCapabilitiesChanged();
}

void TDSVideoWindowEx2::FallBackToLegacy() {
  auto graph = graph_ ? graph_->Query<IGraphBuilder>() : nullptr;
  if (!graph || renderer_->Connected()) return;
  ComPtr<IPin> picture = TakeUnrenderedPicture(graph.Get(), renderer_->Filter());
  if (!picture) return;  // a clip without a picture: nothing to draw anyway
  auto legacy = LegacyRenderer::Create();
  if (!legacy) return;
  // The window stays with the legacy renderer for the rest of this graph's life.
  renderer_->Withdraw();
  (void)graph->RemoveFilter(renderer_->Filter());
  renderer_ = std::move(legacy);
  (void)graph->AddFilter(renderer_->Filter(), name_.c_str());
  ComPtr<IPin> input;
  if (SUCCEEDED(FirstPin(renderer_->Filter(), input))) (void)graph->Connect(picture.Get(), input.Get());
}

ColorMixer TDSVideoWindowEx2::Mixer() const {
  if (!renderer_ || renderer_->Kind() != RendererKind::kEnhanced) return {};
  return {true, renderer_->Processor()};
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

VideoPlace TDSVideoWindowEx2::RendererPlace() const {
  VideoPlace place;
  place.control = Handle();
  place.bounds = GetBounds();
  // The overlay letter-boxes by itself; a renderer drawing its own window would stretch.
  place.letterBox = !overlayActive_ && aspectRatio_ == rmLetterBox;
  place.show = !DesktopMode();
  place.caption = name_;
  place.style = savedStyle_;
  place.exStyle = savedExStyle_;
  return place;
}

void TDSVideoWindowEx2::SetupVideoWindow() {
  if (renderer_) renderer_->Present(RendererPlace());
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
  if (renderer_) renderer_->Move(RendererPlace());
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
      if (!cursorHidden_ || !(overlayActive_ || (renderer_ && renderer_->DrawsIntoControl()))) return false;
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
      if (overlayActive_ || (renderer_ && renderer_->PictureArea())) {
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
      if ((!DesktopMode() && !FullScreenMode()) || (renderer_ && renderer_->DrawsIntoControl())) PlaceRenderer();
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