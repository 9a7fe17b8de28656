#include "player/engine/video/video_output.h"

#include "player/engine/filters/pin_walk.h"
#include "player/engine/graph/filter_graph.h"
#include "player/engine/mf/screen_area.h"
#include "player/engine/render/legacy_renderer.h"
#include "player/engine/render/renderer_choice.h"
#include "player/engine/render/renderer_fallback.h"
#include "player/engine/shrink/shrinker_insertion.h"

namespace lumorix::engine {

VideoOutput::VideoOutput(std::function<TFilterGraph*()> graph, std::wstring name, OverlayCallbackOwner& overlayOwner)
    : graph_(std::move(graph)),
      name_(std::move(name)),
      overlayOwner_(overlayOwner),
      colorControl_(graph_, [this] { return renderer_.get(); }) {}

VideoOutput::~VideoOutput() {
  if (exclusive_) (void)exclusive_->SetCallbackInterface(nullptr, 0);
  if (callback_) callback_->Detach();
}

void VideoOutput::Choose() {
  insertionTried_ = false;
  RendererChoice choice = ChooseVideoRenderer();
  renderer_ = std::move(choice.renderer);
  if (!choice.fallbackReason.empty()) FallbackHint(choice.fallbackReason);
}

void VideoOutput::Leave() {
  if (overlay_) {
    colorControl_.RestoreDefault();
    if (renderer_) (void)renderer_->Filter()->Stop();
    DisconnectPins(overlay_.Get());
  }
  if (renderer_) {
    (void)renderer_->Filter()->Stop();
    DisconnectPins(renderer_->Filter());
    renderer_->Withdraw();
  }
  if (exclusive_) (void)exclusive_->SetCallbackInterface(nullptr, 0);
  if (callback_) callback_->Detach();
  callback_.Reset();
}

void VideoOutput::Drop() {
  insertionTried_ = false;
  ReleaseOverlay();
  renderer_.reset();
}

void VideoOutput::ReleaseOverlay() {
  if (callback_) callback_->Detach();
  callback_.Reset();
  exclusive_.Reset();
  overlay_.Reset();
  graphRenderer_.Reset();
  overlayActive_ = false;
}

HRESULT VideoOutput::InsertOverlay() {
  insertionTried_ = true;
  ReleaseOverlay();
  lastRecords_.clear();
  TFilterGraph* owner = graph_ ? graph_() : nullptr;
  auto graph = owner ? owner->Query<IFilterGraph>() : nullptr;
  if (!graph || !renderer_) return E_FAIL;
  OverlayInsertion insertion(graph.Get(), renderer_->Filter(), &overlayOwner_);
  HRESULT result = insertion.Run();
  for (const auto& record : insertion.Records()) lastRecords_.push_back(record.kind);
  graphRenderer_ = insertion.GraphRenderer();
  if (insertion.MixingRendererWindow()) renderer_->AdoptVideoWindow(insertion.MixingRendererWindow());
  if (SUCCEEDED(result)) {
    overlay_ = insertion.Overlay();
    exclusive_ = insertion.Exclusive();
    callback_ = insertion.Callback();
  }
  return result;
}

void VideoOutput::InsertionStep() {
  if (renderer_ && renderer_->Kind() == RendererKind::kDirect3D) {
    // No overlay in front of the player's own renderer: its shader does the colours.
    insertionTried_ = true;
    ReleaseOverlay();
    FallBackToLegacy();
  }
  if (renderer_ && renderer_->Kind() == RendererKind::kDirect3D) {
    colorControl_.ReadDefaults();
    colorControl_.ApplyColors();
    return;
  }
  overlayActive_ = SUCCEEDED(InsertOverlay());
  TFilterGraph* owner = graph_ ? graph_() : nullptr;
  auto graph = owner ? owner->Query<IFilterGraph>() : nullptr;
  if (!overlayActive_ && renderer_ && graph)
    (void)InsertPictureShrinker(graph.Get(), renderer_->Filter(), ScreenAreaSize());
  if (overlayActive_) {
    colorControl_.ReadDefaults();
    colorControl_.ApplyColors();
  }
}

void VideoOutput::FallBackToLegacy() {
  TFilterGraph* owner = graph_ ? graph_() : nullptr;
  auto graph = owner ? owner->Query<IGraphBuilder>() : nullptr;
  if (!graph || renderer_->Connected()) return;
  ComPtr<IPin> picture = TakeUnrenderedPicture(graph.Get(), renderer_->Filter());
  if (!picture) return;  // a clip without a picture: nothing to draw anyway
  auto legacy = LegacyRenderer::Create();
  if (!legacy) return;
  // The window stays with the legacy renderer for the rest of this graph's life.
  renderer_->Withdraw();
  (void)graph->RemoveFilter(renderer_->Filter());
  renderer_ = std::move(legacy);
  (void)graph->AddFilter(renderer_->Filter(), name_.c_str());
  ComPtr<IPin> input;
  if (SUCCEEDED(FirstPin(renderer_->Filter(), input))) (void)graph->Connect(picture.Get(), input.Get());
  FallbackHint(L"the clip's picture comes in a form the Direct3D renderer does not take");
  if (OnRendererChanged) OnRendererChanged();  // the legacy renderer cannot draw into the hosts
}

void VideoOutput::FallbackHint(const std::wstring& reason) {
  if (fallbackHinted_) return;
  fallbackHinted_ = true;
  if (OnFallback) OnFallback(reason);
}

bool VideoOutput::ShowInHosts(const std::vector<HWND>& hosts) { return renderer_ && renderer_->ShowInHosts(hosts); }

}  // namespace lumorix::engine
