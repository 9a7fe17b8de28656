#include "player/engine/render/legacy_renderer.h"

#include "common/video_geometry.h"
#include "player/engine/filters/pin_walk.h"
#include "player/engine/render/renderer_stretch_mode.h"
#include "ui/application.h"

namespace lumorix::engine {

bool IVideoRenderer::Connected() const { return Filter() && FirstPinConnected(Filter()); }

std::unique_ptr<LegacyRenderer> LegacyRenderer::Create() {
  ComPtr<IBaseFilter> filter;
  if (FAILED(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter))))
    return nullptr;
  return std::unique_ptr<LegacyRenderer>(new LegacyRenderer(std::move(filter)));
}

LegacyRenderer::LegacyRenderer(ComPtr<IBaseFilter> filter) : filter_(std::move(filter)) { (void)filter_.As(&window_); }

ui::Bounds LegacyRenderer::Place(const VideoPlace& place) const {
  if (!place.letterBox || !window_) return place.bounds;
  // An unconnected renderer has no picture size to give (and Wine's faults when asked).
  ComPtr<IBaseFilter> renderer;
  if (FAILED(window_.As(&renderer)) || !FirstPinConnected(renderer.Get())) return place.bounds;
  ComPtr<IBasicVideo2> video;
  LONG aspectX = 0, aspectY = 0;
  if (FAILED(window_.As(&video)) || FAILED(video->GetPreferredAspectRatio(&aspectX, &aspectY)) || aspectX <= 0 ||
      aspectY <= 0) {
    ComPtr<IBasicVideo> basic;
    if (FAILED(window_.As(&basic)) || FAILED(basic->GetVideoSize(&aspectX, &aspectY))) return place.bounds;
  }
  const ui::Bounds& b = place.bounds;
  PictureRect fit = LetterBoxFit(b.width, b.height, aspectX, aspectY);
  return {b.left + fit.left, b.top + fit.top, fit.width, fit.height};
}

void LegacyRenderer::Present(const VideoPlace& place) {
  if (!window_) return;
  owner_ = GetParent(place.control);
  caption_ = place.caption;
  ui::Bounds at = Place(place);
  (void)window_->put_Owner(reinterpret_cast<OAHWND>(owner_));
  (void)window_->put_WindowStyle(place.style | WS_CHILD | WS_CLIPSIBLINGS);
  (void)window_->put_WindowStyleEx(place.exStyle);
  (void)window_->SetWindowPosition(at.left, at.top, at.width, at.height);
  if (!caption_.empty()) {
    BSTR text = SysAllocString(caption_.c_str());
    (void)window_->put_Caption(text);
    SysFreeString(text);
  }
  (void)window_->put_MessageDrain(reinterpret_cast<OAHWND>(place.control));
  ui::Application::Instance().ProcessMessages();
  (void)KeepColorOnColorStretch(PictureWindow());
  (void)window_->put_AutoShow(place.show ? OATRUE : OAFALSE);
}

void LegacyRenderer::Move(const VideoPlace& place) {
  if (!window_) return;
  ui::Bounds at = Place(place);
  (void)window_->SetWindowPosition(at.left, at.top, at.width, at.height);
}

void LegacyRenderer::Withdraw() {
  // A renderer can outlive its stay in the graph (a wedged graph given up
  // with its filters): its window must not stay on top of the next one.
  if (!window_) return;
  (void)window_->put_Visible(OAFALSE);
  (void)window_->put_Owner(0);
}

void LegacyRenderer::FollowParent(HWND parent) {
  owner_ = parent;
  if (window_) (void)window_->put_Owner(reinterpret_cast<OAHWND>(parent));
}

void LegacyRenderer::Retitle(const std::wstring& caption, bool autoShow) {
  if (!window_) return;
  caption_ = caption;
  BSTR text = SysAllocString(caption_.c_str());
  (void)window_->put_Caption(text);
  SysFreeString(text);
  (void)window_->put_AutoShow(autoShow ? OATRUE : OAFALSE);
}

void LegacyRenderer::HideCursor(bool hidden) {
  if (!window_) return;
  long now = OAFALSE;
  if (hidden && SUCCEEDED(window_->IsCursorHidden(&now)) && now == OATRUE) return;
  (void)window_->HideCursor(hidden ? OATRUE : OAFALSE);
}

HWND LegacyRenderer::OwnWindow(HWND except) const {
  if (!window_ || !owner_ || caption_.empty()) return nullptr;
  // The window is the owner's child with the caption given to it (any class:
  // the renderer's is its own business).
  HWND own = FindWindowExW(owner_, nullptr, nullptr, caption_.c_str());
  while (own && own == except) own = FindWindowExW(owner_, own, nullptr, caption_.c_str());
  if (!own) own = FindWindowExW(nullptr, nullptr, nullptr, caption_.c_str());  // not yet made a child
  return own;
}

void LegacyRenderer::KeepBelow(HWND above) {
  HWND own = OwnWindow(above);
  if (!own) return;
  SetWindowPos(own, above, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOCOPYBITS);
}

HWND LegacyRenderer::PictureWindow() const { return OwnWindow(nullptr); }

}  // namespace lumorix::engine
