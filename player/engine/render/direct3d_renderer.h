#pragma once
// The player's own renderer as a video window sees it: the filter in the
// graph and the presenter drawing with Direct3D 11 into the control, or,
// during desktop and full-screen playback, into each host's window. The
// next clip's renderer shares the presenter with a lane of its own, hidden
// until it takes over; only the renderer shown places the windows.
#include <memory>
#include <string>

#include "player/engine/d3d11/video_presenter.h"
#include "player/engine/render/video_renderer.h"
#include "player/engine/render_filter/render_filter.h"

namespace lumorix::engine {

class Direct3DRenderer final : public IVideoRenderer {
 public:
  // Empty, with `reason` saying why, where Direct3D 11 cannot draw.
  static std::unique_ptr<Direct3DRenderer> Create(std::wstring& reason);
  // The graph may hold the filter, and so the presenter, longer: the windows are let go now.
  ~Direct3DRenderer() override;

  RendererKind Kind() const override { return RendererKind::kDirect3D; }
  IBaseFilter* Filter() const override { return filter_.Get(); }
  void Present(const VideoPlace& place) override;
  void Move(const VideoPlace& place) override;
  bool Repaint() override;
  bool DrawsIntoControl() const override { return true; }
  // The swap chain draws bars and picture alike: nothing is left to paint.
  const RECT* PictureArea() const override { return control_ ? &whole_ : nullptr; }
  void Withdraw() override;
  void FollowParent(HWND) override {}
  void HideCursor(bool) override {}
  void KeepBelow(HWND) override {}
  bool Zoom(int zoom) override;
  bool ShowInHosts(const std::vector<HWND>& hosts) override;
  void RepaintIn(HWND host) override { presenter_->Repaint(host); }
  bool Adjust(const PictureAdjustment& adjustment) override;
  bool Capture(HWND window, std::vector<DWORD>& pixels, SIZE& size) override;
  HWND PictureWindow() const override { return control_; }
  std::unique_ptr<IVideoRenderer> MakeSpare() const override;
  bool TakeOver(IVideoRenderer& playing, int fadeMs) override;

  RenderFilter& Renderer() const { return *filter_.Get(); }
  VideoPresenter& Presenter() const { return *presenter_; }

 private:
  Direct3DRenderer(std::shared_ptr<VideoPresenter> presenter, std::shared_ptr<PictureLane> lane,
                   ComPtr<RenderFilter> filter)
      : presenter_(std::move(presenter)), lane_(std::move(lane)), filter_(std::move(filter)) {}
  // A renderer drawing into `presenter`'s windows through a lane of its own.
  static std::unique_ptr<Direct3DRenderer> Beside(std::shared_ptr<VideoPresenter> presenter, std::wstring& reason);
  bool Shown() const { return presenter_->Shows(*lane_); }
  void ShowWhere();

  std::shared_ptr<VideoPresenter> presenter_;
  std::shared_ptr<PictureLane> lane_;
  ComPtr<RenderFilter> filter_;
  HWND control_ = nullptr;
  std::vector<HWND> hosts_;
  RECT whole_{};
};

}  // namespace lumorix::engine
