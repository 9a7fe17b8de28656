#include "player/engine/render/enhanced_renderer.h"

#include <evr9.h>

#include <cstring>

#include "common/video_geometry.h"

namespace lumorix::engine {

namespace {

template <typename Interface>
ComPtr<Interface> ServiceOf(IBaseFilter* filter, REFGUID service) {
  ComPtr<IMFGetService> services;
  ComPtr<Interface> result;
  if (filter && SUCCEEDED(filter->QueryInterface(IID_PPV_ARGS(&services))))
    (void)services->GetService(service, IID_PPV_ARGS(&result));
  return result;
}

}  // namespace

std::unique_ptr<EnhancedRenderer> EnhancedRenderer::Create(ComPtr<IBaseFilter> filter) {
  auto display = ServiceOf<IMFVideoDisplayControl>(filter.Get(), MR_VIDEO_RENDER_SERVICE);
  if (!display) return nullptr;
  return std::unique_ptr<EnhancedRenderer>(new EnhancedRenderer(std::move(filter), std::move(display)));
}

EnhancedRenderer::EnhancedRenderer(ComPtr<IBaseFilter> filter, ComPtr<IMFVideoDisplayControl> display)
    : filter_(std::move(filter)), display_(std::move(display)) {}

void EnhancedRenderer::Present(const VideoPlace& place) {
  if (place.control != window_) {
    window_ = place.control;
    (void)display_->SetVideoWindow(window_);
  }
  (void)display_->SetBorderColor(RGB(0, 0, 0));
  Move(place);
}

void EnhancedRenderer::Move(const VideoPlace& place) {
  if (!window_) return;
  RECT target{0, 0, place.bounds.width, place.bounds.height};
  SIZE size{}, aspect{};
  // Letter-boxed by the same fit as everywhere else; the mixer only scales into it.
  if (place.letterBox && SUCCEEDED(display_->GetNativeVideoSize(&size, &aspect))) {
    PictureRect fit = LetterBoxFit(place.bounds.width, place.bounds.height, aspect.cx, aspect.cy);
    target = {fit.left, fit.top, fit.left + fit.width, fit.top + fit.height};
  }
  (void)display_->SetAspectRatioMode(place.letterBox ? MFVideoARMode_PreservePicture : MFVideoARMode_None);
  (void)display_->SetVideoPosition(nullptr, &target);
  target_ = target;
  InvalidateRect(window_, nullptr, TRUE);  // the bars around the new place
}

bool EnhancedRenderer::Repaint() {
  if (!window_ || !Connected()) return false;
  return SUCCEEDED(display_->RepaintVideo());
}

void EnhancedRenderer::Withdraw() {
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

bool EnhancedRenderer::Zoom(int zoom) {
  SIZE size{}, aspect{};
  if (FAILED(display_->GetNativeVideoSize(&size, &aspect)) || size.cx <= 0 || size.cy <= 0) return true;
  PictureRect cut = ZoomedSource(size.cx, size.cy, zoom);
  float width = static_cast<float>(size.cx), height = static_cast<float>(size.cy);
  MFVideoNormalizedRect source{cut.left / width, cut.top / height, (cut.left + cut.width) / width,
                               (cut.top + cut.height) / height};
  (void)display_->SetVideoPosition(&source, nullptr);
  return true;
}

bool EnhancedRenderer::CurrentImage(std::vector<BYTE>& dib) {
  if (!Connected()) return false;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  BYTE* bits = nullptr;
  DWORD size = 0;
  LONGLONG time = 0;
  if (FAILED(display_->GetCurrentImage(&header, &bits, &size, &time)) || !bits) return false;
  dib.resize(sizeof header + size);
  std::memcpy(dib.data(), &header, sizeof header);
  std::memcpy(dib.data() + sizeof header, bits, size);
  CoTaskMemFree(bits);
  return size > 0;
}

ComPtr<IMFVideoProcessor> EnhancedRenderer::Processor() const {
  return ServiceOf<IMFVideoProcessor>(filter_.Get(), MR_VIDEO_MIXER_SERVICE);
}

}  // namespace lumorix::engine
