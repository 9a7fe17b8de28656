#include "player/engine/video_window.h"

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
}

TDSVideoWindowEx2::~TDSVideoWindowEx2() {
  if (desktopMode_) StopDesktopPlayback();
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

void TDSVideoWindowEx2::StartDesktopPlayback() {}

void TDSVideoWindowEx2::StopDesktopPlayback() {
  SetupVideoWindow();
  overlayShown_ = true;
  PaintColorKey();
  if (OnOverlayVisible) OnOverlayVisible(true);
}

void TDSVideoWindowEx2::StartFullScreen() {}

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
