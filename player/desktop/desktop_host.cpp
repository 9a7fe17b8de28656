#include "player/desktop/desktop_host.h"

#include "player/desktop/monitors.h"

namespace lumorix::desktop {

DesktopHost::DesktopHost(COLORREF color) : color_(color) {}

DesktopHost::~DesktopHost() {
  if (form_) form_->AllowClose();
}

TFullScrinForm& DesktopHost::Form() {
  if (!form_ || !form_->Handle()) {
    form_ = std::make_unique<TFullScrinForm>(color_);
    form_->OnParentLost = [this] {
      place_ = Place::Hidden;
      if (OnParentLost) OnParentLost();
    };
    form_->OnScaleChanged = [this] {
      if (OnScaleChanged) OnScaleChanged();
    };
    ShowPicture(drawn_, picture_);
  }
  return *form_;
}

void DesktopHost::ShowOnDesktop(const RECT& area, const std::optional<WallpaperLayer>& layer, bool backdrop) {
  TFullScrinForm& form = Form();
  area_ = area;
  form.SetTopMost(false);
  if (layer && form.HostInLayer(*layer, area)) {
    place_ = Place::Layer;
    return;
  }
  form.LeaveLayer();
  form.CoverMonitor(area);
  form.SetBackdrop(backdrop);
  ShowWindow(form.Handle(), backdrop ? SW_SHOWNOACTIVATE : SW_HIDE);
  place_ = backdrop ? Place::Backdrop : Place::Hidden;
}

void DesktopHost::ShowFullScreen(const RECT& area, bool topMost) {
  ShowOver(area, topMost, SW_SHOW);
  place_ = Place::FullScreen;
}

void DesktopHost::Cover(const RECT& area) {
  ShowOver(area, false, SW_SHOWNOACTIVATE);
  place_ = Place::Hidden;  // shown only while the window inside is set up
}

void DesktopHost::ShowOver(const RECT& area, bool topMost, int show) {
  TFullScrinForm& form = Form();
  area_ = area;
  form.LeaveLayer();
  form.SetBackdrop(false);
  form.CoverMonitor(area);
  form.SetTopMost(topMost);
  ShowWindow(form.Handle(), show);
}

void DesktopHost::Hide() {
  place_ = Place::Hidden;
  if (!form_ || !form_->Handle()) return;
  form_->LeaveLayer();
  ShowWindow(form_->Handle(), SW_HIDE);
  form_->SetBackdrop(false);
  form_->Invalidate();
}

void DesktopHost::ShowPicture(bool drawn, HWND picture) {
  drawn_ = drawn;
  picture_ = picture;
  if (!form_) return;
  // The form's own paint would cover the swap chain's picture: the renderer draws it again.
  form_->OnPaintPicture = drawn ? std::function<void(HDC, const RECT&)>([this](HDC, const RECT&) {
    if (OnRepaint) OnRepaint(form_->Handle());
  })
                                : std::function<void(HDC, const RECT&)>{};
  form_->ClicksTo = drawn ? picture : nullptr;
}

}  // namespace lumorix::desktop
