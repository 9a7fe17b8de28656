// The picture: where the overlay's colour key goes and how it is painted,
// the colour key itself, the aspect mode and the digital zoom.
#include "player/engine/video/video_window.h"

#include "common/video_geometry.h"
#include "player/engine/overlay/mixer_pin_config.h"
#include "player/engine/filters/pin_walk.h"
#include "player/engine/overlay/overlay_pins.h"
#include "ui/exception.h"
#include "ui/gdi.h"

namespace lumorix::engine {

HRESULT TDSVideoWindowEx2::OverlayRect() {
  if (!Renderer() || !Renderer()->VideoWindow() || !output_.Exclusive() || !output_.GraphRenderer() ||
      !output_.Overlay())
    return E_FAIL;
  RECT client;
  GetClientRect(Handle(), &client);
  overlayRect_ = client;
  if (aspectRatio_ == rmLetterBox) {
    DWORD width = 0, height = 0, aspectX = 0, aspectY = 0;
    if (SUCCEEDED(output_.Exclusive()->GetNativeVideoProps(&width, &height, &aspectX, &aspectY))) {
      PictureRect fit = LetterBoxFit(client.right, client.bottom, static_cast<int>(aspectX), static_cast<int>(aspectY));
      overlayRect_ = {fit.left, fit.top, fit.left + fit.width, fit.top + fit.height};
    }
  }
  return S_OK;
}

void TDSVideoWindowEx2::PaintInto(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  ui::UniqueMemoryDc memory(CreateCompatibleDC(dc));
  ui::UniqueBitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
  if (!memory || !bitmap) return;
  {
    ui::SelectObjectScope select(memory.Get(), bitmap.Get());
    FillRect(memory.Get(), &client, BackgroundBrush());
    if (SUCCEEDED(OverlayRect()) && overlayShown_) {
      ui::UniqueBrush key(CreateSolidBrush(colorKey_));
      FillRect(memory.Get(), &overlayRect_, key.Get());
    }
    // A renderer drawing into this window keeps its picture; only the bars are painted.
    const RECT* picture = Renderer() ? Renderer()->PictureArea() : nullptr;
    int saved = SaveDC(dc);
    if (picture) ExcludeClipRect(dc, picture->left, picture->top, picture->right, picture->bottom);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
  }
  if (Renderer() && Renderer()->DrawsIntoControl()) (void)Renderer()->Repaint();
  if (OnPaint) OnPaint();
}

void TDSVideoWindowEx2::PaintColorKey() {
  if (!Handle() || Destroying()) return;
  HDC dc = GetDC(Handle());
  if (!dc) return;
  PaintInto(dc);
  ReleaseDC(Handle(), dc);
}

void TDSVideoWindowEx2::RefreshColorKey() {
  if (!OverlayActive()) return;
  if (Renderer()) Renderer()->KeepBelow(Handle());
  auto config = InputPinConfig(output_.Overlay());
  if (!config) return;
  COLORKEY key{};
  key.KeyType = kColorKeyIndexAndRgb;
  key.PaletteIndex = 0;
  key.LowColorValue = RGB(15, 0, 15);
  key.HighColorValue = RGB(15, 0, 15);
  DWORD color = 0;
  (void)config->GetColorKey(&key, &color);
  colorKey_ = key.HighColorValue;
  if (OnColorKeyChanged) OnColorKeyChanged();
}

// The mixer may call from its own thread; the window's state changes on the GUI thread.
void TDSVideoWindowEx2::OverlayColorKeyChanged(COLORREF key) {
  if (GetWindowThreadProcessId(Handle(), nullptr) != GetCurrentThreadId()) {
    PostMessageW(Handle(), kOverlayColorKeyMessage, key, 0);
    return;
  }
  colorKey_ = key;
  if (OnColorKeyChanged) OnColorKeyChanged();
}

void TDSVideoWindowEx2::OverlaySizeChanged() {
  if (GetWindowThreadProcessId(Handle(), nullptr) != GetCurrentThreadId()) {
    PostMessageW(Handle(), kOverlaySizeMessage, 0, 0);
    return;
  }
  (void)OverlayRect();
  PaintColorKey();
}

void TDSVideoWindowEx2::SetAspectRatio(TRatioModes mode) {
  if (!output_.GraphRenderer() || !output_.Overlay()) {
    aspectRatio_ = mode;
    if (!OverlayActive()) PlaceRenderer();
    return;
  }
  auto config = InputPinConfig(output_.Overlay());
  if (config && SUCCEEDED(config->SetAspectRatioMode(static_cast<DWORD>(mode)))) aspectRatio_ = mode;
  if (OverlayActive() && !DesktopMode()) PaintColorKey();
}

void TDSVideoWindowEx2::SetDigitalZoom(int zoom) {
  if (auto error = DigitalZoomRangeError(zoom)) throw ui::Exception(*error);
  if (!output_.GraphRenderer()) {
    // The enhanced renderer cuts the picture itself; without a graph renderer the rest only store it.
    if (Renderer()) (void)Renderer()->Zoom(zoom);
    digitalZoom_ = zoom;
    return;
  }
  // The source rectangle is IBasicVideo's (renderers without the second version have it too),
  // and only a connected renderer has a source picture to cut.
  ComPtr<IBasicVideo> video;
  if (FirstPinConnected(output_.GraphRenderer().Get()) && SUCCEEDED(output_.GraphRenderer().As(&video))) {
    (void)video->SetDefaultSourcePosition();
    LONG width = 0, height = 0;
    (void)video->get_SourceWidth(&width);
    (void)video->get_SourceHeight(&height);
    PictureRect source = ZoomedSource(width, height, zoom);
    (void)video->put_SourceWidth(source.width);
    (void)video->put_SourceHeight(source.height);
    (void)video->put_SourceLeft(source.left);
    (void)video->put_SourceTop(source.top);
  }
  digitalZoom_ = zoom;
}

}  // namespace lumorix::engine
