#include "player/engine/render/direct3d_renderer.h"

namespace lumorix::engine {

std::unique_ptr<Direct3DRenderer> Direct3DRenderer::Create(std::wstring& reason) {
  std::shared_ptr<VideoPresenter> presenter = VideoPresenter::Create(reason);
  if (!presenter) return nullptr;
  ComPtr<RenderFilter> filter;
  try {
    filter = MakeCom<RenderFilter>(presenter);
  } catch (...) {
    reason = L"out of memory";
    return nullptr;
  }
  return std::unique_ptr<Direct3DRenderer>(new Direct3DRenderer(std::move(presenter), std::move(filter)));
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
  presenter_->SetLetterBox(place.letterBox);
  ShowWhere();
  presenter_->Repaint();
}

void Direct3DRenderer::Move(const VideoPlace& place) {
  whole_ = {0, 0, place.bounds.width, place.bounds.height};
  presenter_->SetLetterBox(place.letterBox);
  presenter_->Repaint();  // the buffers follow the window's size as they are drawn
}

bool Direct3DRenderer::Repaint() {
  if (!control_) return false;
  presenter_->Repaint(control_);
  return true;
}

void Direct3DRenderer::Withdraw() {
  hosts_.clear();
  control_ = nullptr;
  ShowWhere();
}

bool Direct3DRenderer::Zoom(int zoom) {
  presenter_->SetZoom(zoom);
  presenter_->Repaint();
  return true;
}

bool Direct3DRenderer::ShowInHosts(const std::vector<HWND>& hosts) {
  hosts_ = hosts;
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
