#include "player/engine/render/direct3d_renderer.h"

namespace lumorix::engine {

std::unique_ptr<Direct3DRenderer> Direct3DRenderer::Create(std::wstring& reason) {
  std::shared_ptr<VideoPresenter> presenter = VideoPresenter::Create(reason);
  if (!presenter) return nullptr;
  auto renderer = Beside(std::move(presenter), reason);
  if (renderer) renderer->presenter_->ShowLane(renderer->lane_, 0);
  return renderer;
}

std::unique_ptr<Direct3DRenderer> Direct3DRenderer::Beside(std::shared_ptr<VideoPresenter> presenter,
                                                           std::wstring& reason) {
  std::shared_ptr<PictureLane> lane = presenter->NewLane();
  ComPtr<RenderFilter> filter;
  try {
    filter = MakeCom<RenderFilter>(presenter, lane);
  } catch (...) {
    reason = L"out of memory";
    return nullptr;
  }
  return std::unique_ptr<Direct3DRenderer>(
      new Direct3DRenderer(std::move(presenter), std::move(lane), std::move(filter)));
}

Direct3DRenderer::~Direct3DRenderer() {
  if (Shown()) presenter_->SetWindows({});
}

std::unique_ptr<IVideoRenderer> Direct3DRenderer::MakeSpare() const {
  std::wstring reason;
  return Beside(presenter_, reason);
}

bool Direct3DRenderer::TakeOver(IVideoRenderer& playing, int fadeMs) {
  auto* own = dynamic_cast<Direct3DRenderer*>(&playing);
  if (!own || own->presenter_ != presenter_) return false;
  control_ = own->control_;
  hosts_ = own->hosts_;
  whole_ = own->whole_;
  presenter_->ShowLane(lane_, fadeMs);
  return true;
}

void Direct3DRenderer::ShowWhere() {
  if (!hosts_.empty()) {
    presenter_->SetWindows(hosts_);
  } else if (control_) {
    presenter_->SetWindows({control_});
  } else {
    presenter_->SetWindows({});
  }
}

void Direct3DRenderer::Present(const VideoPlace& place) {
  control_ = place.control;
  whole_ = {0, 0, place.bounds.width, place.bounds.height};
  if (!Shown()) return;  // the next clip's: the one playing places the windows
  presenter_->SetLetterBox(place.letterBox);
  ShowWhere();
  presenter_->Repaint();
}

void Direct3DRenderer::Move(const VideoPlace& place) {
  whole_ = {0, 0, place.bounds.width, place.bounds.height};
  if (!Shown()) return;
  presenter_->SetLetterBox(place.letterBox);
  presenter_->Repaint();  // the buffers follow the window's size as they are drawn
}

bool Direct3DRenderer::Repaint() {
  if (!control_ || !Shown()) return false;
  presenter_->Repaint(control_);
  return true;
}

void Direct3DRenderer::Withdraw() {
  hosts_.clear();
  control_ = nullptr;
  // A renderer no longer shown leaves the windows to the one that took over.
  if (Shown()) ShowWhere();
}

bool Direct3DRenderer::Zoom(int zoom) {
  presenter_->SetZoom(zoom);
  presenter_->Repaint();
  return true;
}

bool Direct3DRenderer::ShowInHosts(const std::vector<HWND>& hosts) {
  hosts_ = hosts;
  if (!Shown()) return true;
  ShowWhere();
  presenter_->Repaint();
  return true;
}

bool Direct3DRenderer::Adjust(const PictureAdjustment& adjustment) {
  presenter_->SetAdjustment(adjustment);
  presenter_->Repaint();
  return true;
}

bool Direct3DRenderer::Capture(HWND window, std::vector<DWORD>& pixels, SIZE& size) {
  return presenter_->Capture(window, pixels, size);
}

}  // namespace lumorix::engine
