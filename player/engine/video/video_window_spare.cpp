// The second renderer: the next clip, paused on its first picture at this
// window's place, hidden until it takes over from the playing one. The
// player's own renderer makes it beside itself, sharing its swap chains; a
// legacy one gets a second legacy renderer with a hidden window.
#include "player/engine/video/video_window.h"

#include "player/engine/mf/screen_area.h"
#include "player/engine/render/legacy_renderer.h"
#include "player/engine/shrink/shrinker_insertion.h"

namespace lumorix::engine {

ComPtr<IBaseFilter> TDSVideoWindowEx2::SpareMember::GetFilter() {
  return window_.spare_ ? window_.spare_->Filter() : nullptr;
}

std::wstring TDSVideoWindowEx2::SpareMember::GetName() { return window_.name_ + L" next"; }

void TDSVideoWindowEx2::SpareMember::NotifyFilter(TMemberOperation operation, int) {
  if (operation == moAdding && !window_.spare_) {
    if (IVideoRenderer* playing = window_.Renderer()) window_.spare_ = playing->MakeSpare();
    if (!window_.spare_) window_.spare_ = LegacyRenderer::Create();
  }
  if (operation == moRemoving && window_.spare_) {
    (void)window_.spare_->Filter()->Stop();
    window_.spare_->Withdraw();
  }
  if (operation == moRemoved) window_.spare_.reset();
}

bool TDSVideoWindowEx2::CanPrepareSpare() const {
  // The overlay has one surface, which a second renderer cannot share: there
  // the next clip is built at the move.
  return !output_.OverlayActive() && !output_.Overlay();
}

IFilterGraphMember& TDSVideoWindowEx2::SpareOutput() {
  if (!spareMember_) spareMember_ = std::make_unique<SpareMember>(*this);
  return *spareMember_;
}

VideoPlace TDSVideoWindowEx2::SparePlace() const {
  VideoPlace place = RendererPlace();
  // Its own caption: the renderers' windows are told apart by it.
  place.caption = name_ + L" next";
  place.show = false;
  return place;
}

void TDSVideoWindowEx2::SpareRendered(TFilterGraph& spare) {
  if (!spare_) return;
  if (auto graph = spare.Query<IFilterGraph>(); graph && spare_->Kind() == RendererKind::kLegacy)
    (void)InsertPictureShrinker(graph.Get(), spare_->Filter(), ScreenAreaSize());
  spare_->Present(SparePlace());
  if (auto window = spare_->VideoWindow()) (void)window->put_Visible(OAFALSE);
}

void TDSVideoWindowEx2::RaiseSpare(int fadeMs) {
  if (!spare_) return;
  EndFade();
  if (Renderer() && spare_->TakeOver(*Renderer(), fadeMs)) return;  // drawn by the shared presenter
  HWND own = spare_->PictureWindow();
  if (!own) return;
  std::vector<BYTE> lastPicture;
  IVideoRenderer* playing = Renderer();
  const bool fading = fadeMs > 0 && playing && playing->Connected() &&
                      CaptureWindowPicture(playing->PictureWindow(), lastPicture);
  RECT bounds{};
  GetWindowRect(own, &bounds);
  MapWindowPoints(nullptr, GetParent(own), reinterpret_cast<POINT*>(&bounds), 2);
  HWND above = HWND_TOP;
  if (fading) {
    fade_ = std::make_unique<VideoFade>(GetParent(own), bounds, std::move(lastPicture), fadeMs);
    fade_->OnDone = [this] { PostMessageW(Handle(), kFadeDoneMessage, 0, 0); };
    if (fade_->Done())
      fade_.reset();
    else
      above = fade_->Handle();
  }
  // Shown without erasing: until the renderer draws its first picture, what
  // was on the screen stays there (Wine's renderer paints no paused picture
  // when its window is shown, only its black background).
  SetClassLongPtrW(own, GCLP_HBRBACKGROUND, 0);
  SetWindowPos(own, above, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOCOPYBITS | SWP_DEFERERASE);
}

void TDSVideoWindowEx2::SwapToSpare() {
  if (!spare_) return;
  output_.SwapRenderer(spare_);
  // The new one is in place and drawing already: placed again, its window
  // would be shown anew, black until its next picture. It only takes the
  // caption of the one leaving, which goes first.
  if (spare_) spare_->Withdraw();
  Renderer()->Retitle(name_, RendererPlace().show);
  // Placing the renderer put its window on top: the fade stays over it.
  if (fade_) SetWindowPos(fade_->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (OnCapabilitiesChanged) OnCapabilitiesChanged();
}

void TDSVideoWindowEx2::EndFade() { fade_.reset(); }

}  // namespace lumorix::engine
