#include "player/engine/d3d11/video_presenter.h"

#include <algorithm>
#include <cmath>

#include "common/video_geometry.h"

namespace lumorix::engine {

namespace {

bool DeviceGone(HRESULT result) {
  return result == DXGI_ERROR_DEVICE_REMOVED || result == DXGI_ERROR_DEVICE_RESET || result == DXGI_ERROR_DEVICE_HUNG ||
         result == DXGI_ERROR_DRIVER_INTERNAL_ERROR;
}

constexpr float kPi = 3.14159265358979f;

// The shader's constants for `format` drawn into a place of `place` pixels.
PictureConstants ConstantsFor(const PictureFormat& format, ShaderLayout layout, const PictureAdjustment& adjustment,
                              SIZE place, int zoom, PixelShaderKind& kind) {
  PictureConstants c{};
  // An RGB picture goes through YCbCr with BT.601's full-range weights, as the shader's forward step.
  bool rgb = layout == ShaderLayout::kRgb;
  auto rows = YuvToRgbMatrix(rgb ? YuvMatrix::kBt601 : format.matrix, YuvRange::kFull);
  for (int r = 0; r < 3; ++r)
    for (int k = 0; k < 4; ++k) c.rgbRows[r][k] = rows[r * 4 + k];
  bool limited = !rgb && format.range == YuvRange::kLimited;
  c.rangeMap[0] = limited ? 16.0f / 255 : 0;
  c.rangeMap[1] = limited ? 255.0f / 219 : 1;
  c.rangeMap[2] = 128.0f / 255;
  c.rangeMap[3] = limited ? 255.0f / 224 : 1;
  PictureRect cut = ZoomedSource(format.width, format.height, zoom);
  c.sourceRect[0] = static_cast<float>(cut.left) / format.width;
  c.sourceRect[1] = static_cast<float>(cut.top) / format.height;
  c.sourceRect[2] = static_cast<float>(cut.width) / format.width;
  c.sourceRect[3] = static_cast<float>(cut.height) / format.height;
  c.footprint[0] = c.sourceRect[2] / static_cast<float>(std::max<LONG>(place.cx, 1));
  c.footprint[1] = c.sourceRect[3] / static_cast<float>(std::max<LONG>(place.cy, 1));
  c.texel[0] = 1.0f / format.width;
  c.texel[1] = 1.0f / format.height;
  // Source pixels a screen pixel covers, one tap per pixel, at most four each way.
  auto taps = [](double covered) { return std::clamp(static_cast<int>(std::ceil(covered - 0.01)), 1, 4); };
  kind.layout = layout;
  kind.tapsX = taps(static_cast<double>(cut.width) / std::max<LONG>(place.cx, 1));
  kind.tapsY = taps(static_cast<double>(cut.height) / std::max<LONG>(place.cy, 1));
  kind.sharpen = adjustment.sharpness != 0;
  c.brightness = adjustment.brightness;
  c.contrast = adjustment.contrast;
  c.saturation = adjustment.saturation;
  c.gammaInverse = 1.0f / adjustment.gamma;
  c.hueCos = std::cos(adjustment.hueDegrees * kPi / 180);
  c.hueSin = std::sin(adjustment.hueDegrees * kPi / 180);
  c.sharpness = adjustment.sharpness;
  return c;
}

}  // namespace

std::unique_ptr<VideoPresenter> VideoPresenter::Create(std::wstring& reason) {
  std::unique_ptr<VideoPresenter> presenter(new VideoPresenter);
  if (!presenter->MakeDevice(reason, nullptr)) return nullptr;
  return presenter;
}

bool VideoPresenter::MakeDevice(std::wstring& reason, VideoDevice* previous) {
  std::unique_ptr<VideoDevice> device = VideoDevice::Create(reason, previous);
  PictureShaders shaders;
  if (!device || !shaders.Make(device->Device(), reason)) return false;
  device_ = std::move(device);
  shaders_ = std::move(shaders);
  return true;
}

ComPtr<IMFDXGIDeviceManager> VideoPresenter::DeviceManager() const {
  std::lock_guard hold(lock_);
  return device_->Manager();
}

bool VideoPresenter::LendsDevice() const {
  std::lock_guard hold(lock_);
  return device_->Manager() && device_->CopiesNv12();
}

ComPtr<ID3D11Device> VideoPresenter::Device() const {
  std::lock_guard hold(lock_);
  return device_->Device();
}

std::shared_ptr<PictureLane> VideoPresenter::NewLane() {
  auto lane = std::make_shared<PictureLane>();
  std::lock_guard hold(lock_);
  std::erase_if(lanes_, [](const std::weak_ptr<PictureLane>& l) { return l.expired(); });
  lanes_.push_back(lane);
  return lane;
}

void VideoPresenter::ShowLane(const std::shared_ptr<PictureLane>& lane, int fadeMs) {
  std::lock_guard hold(lock_);
  if (lane == shown_) return;
  // Only a picture fades out; a fade under way ends where it is.
  const bool fade = fadeMs > 0 && shown_ && shown_->planes_.HasPicture();
  fadingFrom_ = fade ? shown_ : nullptr;
  fadeStart_ = std::chrono::steady_clock::now();
  fadeMs_ = fade ? fadeMs : 0;
  shown_ = lane;
  if (lost_) Replace();
  PresentAll();
}

bool VideoPresenter::Shows(const PictureLane& lane) const {
  std::lock_guard hold(lock_);
  return shown_.get() == &lane;
}

bool VideoPresenter::Fading() const {
  std::lock_guard hold(lock_);
  return fadingFrom_ != nullptr;
}

float VideoPresenter::FadeProgress() {
  if (!fadingFrom_) return 1;
  auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - fadeStart_);
  if (elapsed.count() < fadeMs_) return static_cast<float>(elapsed.count()) / static_cast<float>(fadeMs_);
  fadingFrom_.reset();
  return 1;
}

void VideoPresenter::SetFormat(PictureLane& lane, const PictureFormat& format) {
  std::lock_guard hold(lock_);
  lane.planes_.SetFormat(format);
}

bool VideoPresenter::Show(PictureLane& lane, const PictureFrame& frame) {
  std::lock_guard hold(lock_);
  if (lost_) Replace();
  if (frame.texture) {
    // A texture made on a device since replaced cannot be read on this one.
    ComPtr<ID3D11Device> owner;
    frame.texture->GetDevice(&owner);
    if (owner.Get() != device_->Device()) return false;
  }
  if (!lane.planes_.Take(device_->Device(), device_->Context(), frame)) {
    if (device_->Lost()) lost_ = true;
    return false;
  }
  // A hidden lane keeps its picture for when it is shown.
  if (&lane == shown_.get() || &lane == fadingFrom_.get()) PresentAll();
  return true;
}

void VideoPresenter::Repaint() {
  std::lock_guard hold(lock_);
  if (lost_) Replace();
  PresentAll();
}

void VideoPresenter::Repaint(HWND window) {
  std::lock_guard hold(lock_);
  if (lost_) Replace();
  if (SwapChainOutput* output = Find(window)) Present(*output);
}

void VideoPresenter::PresentAll() {
  for (auto& output : outputs_) {
    if (lost_) break;
    Present(*output);
  }
}

void VideoPresenter::Present(SwapChainOutput& output) {
  SIZE size{};
  ID3D11RenderTargetView* target = output.Begin(device_->Device(), device_->Context(), size);
  if (!target) return;
  DrawInto(output, target, size);
  HRESULT result = output.Present(device_->Device(), device_->Context());
  if (loseAtNextPresent_) {
    loseAtNextPresent_ = false;
    result = DXGI_ERROR_DEVICE_REMOVED;
  }
  if (DeviceGone(result)) lost_ = true;
}

void VideoPresenter::DrawInto(SwapChainOutput&, ID3D11RenderTargetView* target, SIZE size) {
  ID3D11DeviceContext* context = device_->Context();
  const float clear[4] = {GetRValue(background_) / 255.0f, GetGValue(background_) / 255.0f,
                          GetBValue(background_) / 255.0f, 1};
  context->ClearRenderTargetView(target, clear);
  const float progress = FadeProgress();
  if (fadingFrom_) DrawLane(fadingFrom_->planes_, target, size, 1);
  if (shown_) DrawLane(shown_->planes_, target, size, progress);
}

void VideoPresenter::DrawLane(const SourcePlanes& planes, ID3D11RenderTargetView* target, SIZE size, float opacity) {
  ID3D11DeviceContext* context = device_->Context();
  if (!planes.HasPicture()) return;
  RECT area = AreaOf(planes, size);
  SIZE place{area.right - area.left, area.bottom - area.top};
  if (place.cx <= 0 || place.cy <= 0) return;
  PixelShaderKind kind;
  PictureConstants constants = ConstantsFor(planes.Format(), planes.Layout(), adjustment_, place, zoom_, kind);
  ID3D11PixelShader* pixel = shaders_.Pixel(device_->Device(), kind);
  if (!pixel) return;
  context->UpdateSubresource(shaders_.Constants()[0], 0, nullptr, &constants, 0, 0);
  D3D11_VIEWPORT viewport{static_cast<float>(area.left),
                          static_cast<float>(area.top),
                          static_cast<float>(place.cx),
                          static_cast<float>(place.cy),
                          0,
                          1};
  context->OMSetRenderTargets(1, &target, nullptr);
  const float factor[4] = {opacity, opacity, opacity, 1};
  context->OMSetBlendState(opacity < 1 ? shaders_.Blend() : nullptr, factor, 0xffffffff);
  context->RSSetViewports(1, &viewport);
  context->IASetInputLayout(nullptr);
  context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
  context->VSSetShader(shaders_.Vertex(), nullptr, 0);
  context->VSSetConstantBuffers(0, 1, shaders_.Constants());
  context->PSSetShader(pixel, nullptr, 0);
  context->PSSetConstantBuffers(0, 1, shaders_.Constants());
  context->PSSetSamplers(0, 1, shaders_.Sampler());
  auto views = planes.Views();
  context->PSSetShaderResources(0, 3, views.data());
  context->Draw(3, 0);
  ID3D11ShaderResourceView* none[3] = {};
  context->PSSetShaderResources(0, 3, none);
  context->OMSetBlendState(nullptr, nullptr, 0xffffffff);
}

RECT VideoPresenter::PictureArea(SIZE client) const {
  std::lock_guard hold(lock_);
  if (!shown_) return {0, 0, client.cx, client.cy};
  return AreaOf(shown_->planes_, client);
}

RECT VideoPresenter::AreaOf(const SourcePlanes& planes, SIZE client) const {
  const PictureFormat& format = planes.Format();
  if (!letterBox_ || format.width <= 0 || format.height <= 0) return {0, 0, client.cx, client.cy};
  PictureRect fit = LetterBoxFit(client.cx, client.cy, format.width, format.height);
  return {fit.left, fit.top, fit.left + fit.width, fit.top + fit.height};
}

void VideoPresenter::SetWindows(const std::vector<HWND>& windows) {
  std::lock_guard hold(lock_);
  std::vector<std::unique_ptr<SwapChainOutput>> kept;
  for (HWND window : windows) {
    auto same = std::find_if(outputs_.begin(), outputs_.end(),
                             [&](const std::unique_ptr<SwapChainOutput>& o) { return o && o->Window() == window; });
    if (same != outputs_.end()) {
      kept.push_back(std::move(*same));
    } else if (auto made = std::make_unique<SwapChainOutput>(device_->Device(), window); made->Ready()) {
      kept.push_back(std::move(made));
    }
  }
  outputs_ = std::move(kept);
  device_->Context()->OMSetRenderTargets(0, nullptr, nullptr);
  device_->Context()->Flush();  // the swap chains let go of windows they no longer draw into
}

std::vector<HWND> VideoPresenter::Windows() const {
  std::lock_guard hold(lock_);
  std::vector<HWND> windows;
  for (const auto& output : outputs_) windows.push_back(output->Window());
  return windows;
}

bool VideoPresenter::FlipModel(HWND window) const {
  std::lock_guard hold(lock_);
  for (const auto& output : outputs_)
    if (output->Window() == window) return output->FlipModel();
  return false;
}

SwapChainOutput* VideoPresenter::Find(HWND window) {
  for (auto& output : outputs_)
    if (output->Window() == window) return output.get();
  return nullptr;
}

void VideoPresenter::SetAdjustment(const PictureAdjustment& adjustment) {
  std::lock_guard hold(lock_);
  adjustment_ = adjustment;
}

void VideoPresenter::SetBackground(COLORREF color) {
  std::lock_guard hold(lock_);
  background_ = color;
}

void VideoPresenter::SetLetterBox(bool letterBox) {
  std::lock_guard hold(lock_);
  letterBox_ = letterBox;
}

void VideoPresenter::SetZoom(int zoom) {
  std::lock_guard hold(lock_);
  zoom_ = std::clamp(zoom, 0, 99);
}

bool VideoPresenter::Capture(HWND window, std::vector<DWORD>& pixels, SIZE& size) {
  std::lock_guard hold(lock_);
  SwapChainOutput* output = Find(window);
  if (!output) return false;
  SIZE client{};
  ID3D11RenderTargetView* target = output->Begin(device_->Device(), device_->Context(), client);
  if (!target) return false;
  DrawInto(*output, target, client);
  return output->ReadBack(device_->Device(), device_->Context(), pixels, size);
}

int VideoPresenter::DevicesReplaced() const {
  std::lock_guard hold(lock_);
  return replaced_;
}

void VideoPresenter::LoseDeviceAtNextPresent() {
  std::lock_guard hold(lock_);
  loseAtNextPresent_ = true;
}

void VideoPresenter::Replace() {
  std::vector<HWND> windows;
  for (const auto& output : outputs_) windows.push_back(output->Window());
  outputs_.clear();
  for (const auto& lane : lanes_)
    if (auto held = lane.lock()) held->planes_.Release();
  std::wstring reason;
  // The old device goes only once the new one has its manager.
  std::unique_ptr<VideoDevice> old = std::move(device_);
  if (!MakeDevice(reason, old.get())) {
    device_ = std::move(old);  // tried again with the next frame
    return;
  }
  old.reset();
  lost_ = false;
  ++replaced_;
  for (HWND window : windows) {
    if (!IsWindow(window)) continue;
    if (auto made = std::make_unique<SwapChainOutput>(device_->Device(), window); made->Ready())
      outputs_.push_back(std::move(made));
  }
}

}  // namespace lumorix::engine
