#include "player/desktop/desktop_host.h"

#include "common/monitor_layout.h"
#include "player/desktop/monitors.h"
#include "ui/gdi.h"

namespace lumorix::desktop {

namespace {

// Where the pixels of a packed DIB start: after the header, the colour table and the masks.
size_t PixelOffset(const BITMAPINFOHEADER& header) {
  size_t colours = header.biClrUsed ? header.biClrUsed : (header.biBitCount <= 8 ? size_t{1} << header.biBitCount : 0);
  size_t masks = header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER) ? 12 : 0;
  return header.biSize + colours * sizeof(RGBQUAD) + masks;
}

}  // namespace

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
    if (copy_) form_->OnPaintPicture = [this](HDC dc, const RECT& client) { PaintCopy(dc, client); };
    form_->ClicksTo = picture_;
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

void DesktopHost::ShowCopy(std::shared_ptr<const std::vector<BYTE>> dib, HWND picture) {
  copy_ = std::move(dib);
  picture_ = picture;
  TFullScrinForm& form = Form();
  form.ClicksTo = picture;
  if (!form.OnPaintPicture) form.OnPaintPicture = [this](HDC dc, const RECT& client) { PaintCopy(dc, client); };
  InvalidateRect(form.Handle(), nullptr, FALSE);
}

void DesktopHost::PaintCopy(HDC dc, const RECT& client) {
  HBRUSH background = form_->BackgroundBrush();  // the form's own, in the host colour
  const auto* header = copy_ && copy_->size() >= sizeof(BITMAPINFOHEADER)
                           ? reinterpret_cast<const BITMAPINFOHEADER*>(copy_->data())
                           : nullptr;
  LONG height = header ? (header->biHeight < 0 ? -header->biHeight : header->biHeight) : 0;
  // Only a picture whose pixels are all there is drawn: the copy comes from a renderer.
  size_t offset = header ? PixelOffset(*header) : 0;
  size_t stride = header ? ((static_cast<size_t>(header->biWidth) * header->biBitCount + 31) / 32) * 4 : 0;
  if (!header || header->biWidth <= 0 || height <= 0 || header->biSize < sizeof(BITMAPINFOHEADER) ||
      offset + stride * static_cast<size_t>(height) > copy_->size()) {
    FillRect(dc, &client, background);
    return;
  }
  MonitorRect picture = LetterBoxIn(FromRect(client), header->biWidth, height);
  // The bars around the picture, then the picture scaled into its place.
  RECT bars[] = {{client.left, client.top, client.right, picture.top},
                 {client.left, picture.bottom, client.right, client.bottom},
                 {client.left, picture.top, picture.left, picture.bottom},
                 {picture.right, picture.top, client.right, picture.bottom}};
  for (const RECT& bar : bars)
    if (bar.right > bar.left && bar.bottom > bar.top) FillRect(dc, &bar, background);
  SetStretchBltMode(dc, HALFTONE);
  StretchDIBits(dc, picture.left, picture.top, picture.Width(), picture.Height(), 0, 0, header->biWidth, height,
                copy_->data() + offset, reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace lumorix::desktop
