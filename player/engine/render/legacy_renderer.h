#pragma once
// The Video Renderer filter: DirectShow's GDI renderer with a window of its
// own, made a child of the control's parent and laid over the control. The
// Overlay Mixer draws through it, so the overlay path always uses it.
#include "player/engine/render/video_renderer.h"

namespace lumorix::engine {

class LegacyRenderer final : public IVideoRenderer {
 public:
  // Empty when the filter cannot be created.
  static std::unique_ptr<LegacyRenderer> Create();

  RendererKind Kind() const override { return RendererKind::kLegacy; }
  IBaseFilter* Filter() const override { return filter_.Get(); }
  void Present(const VideoPlace& place) override;
  void Move(const VideoPlace& place) override;
  bool Repaint() override { return false; }
  bool DrawsIntoControl() const override { return false; }
  void Withdraw() override;
  void FollowParent(HWND parent) override;
  void Retitle(const std::wstring& caption, bool autoShow) override;
  void HideCursor(bool hidden) override;
  void KeepBelow(HWND above) override;
  HWND PictureWindow() const override;
  ComPtr<IVideoWindow> VideoWindow() const override { return window_; }
  void AdoptVideoWindow(ComPtr<IVideoWindow> window) override { window_ = std::move(window); }

 private:
  explicit LegacyRenderer(ComPtr<IBaseFilter> filter);
  // The renderer's window over the control, letter-boxed when asked.
  ui::Bounds Place(const VideoPlace& place) const;
  // The renderer's own window, passing over `except`.
  HWND OwnWindow(HWND except) const;

  ComPtr<IBaseFilter> filter_;
  ComPtr<IVideoWindow> window_;
  HWND owner_ = nullptr;
  std::wstring caption_;
};

}  // namespace lumorix::engine
