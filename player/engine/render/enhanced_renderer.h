#pragma once
// The Enhanced Video Renderer, windowless: it draws through Direct3D into
// the control it is given, at the place set with IMFVideoDisplayControl, so
// scaling and colour conversion run on the graphics card. Its mixer carries
// the picture controls (ProcAmp) that the overlay's colour controls had.
#include <d3d9.h>
#include <evr.h>

#include "player/engine/render/video_renderer.h"

namespace lumorix::engine {

// {FA10746C-9B63-4B6C-BC49-FC300EA5F256}
inline constexpr CLSID kEnhancedVideoRendererClass = {
    0xFA10746C, 0x9B63, 0x4B6C, {0xBC, 0x49, 0xFC, 0x30, 0x0E, 0xA5, 0xF2, 0x56}};

class EnhancedRenderer final : public IVideoRenderer {
 public:
  // Empty when the filter has no display control (an EVR that cannot draw windowless).
  static std::unique_ptr<EnhancedRenderer> Create(ComPtr<IBaseFilter> filter);

  RendererKind Kind() const override { return RendererKind::kEnhanced; }
  IBaseFilter* Filter() const override { return filter_.Get(); }
  void Present(const VideoPlace& place) override;
  void Move(const VideoPlace& place) override;
  bool Repaint() override;
  bool DrawsIntoControl() const override { return true; }
  const RECT* PictureArea() const override { return Connected() ? &target_ : nullptr; }
  void Withdraw() override;
  void FollowParent(HWND) override {}  // the picture is in the control, which moves itself
  void HideCursor(bool) override {}    // the cursor is over the control
  void KeepBelow(HWND) override {}
  bool Zoom(int zoom) override;
  bool CurrentImage(std::vector<BYTE>& dib) override;
  HWND PictureWindow() const override { return window_; }
  ComPtr<IMFVideoProcessor> Processor() const override;

 private:
  EnhancedRenderer(ComPtr<IBaseFilter> filter, ComPtr<IMFVideoDisplayControl> display);

  ComPtr<IBaseFilter> filter_;
  ComPtr<IMFVideoDisplayControl> display_;
  HWND window_ = nullptr;
  RECT target_{};
};

}  // namespace lumorix::engine
