#include "player/engine/overlay/overlay_insertion.h"

#include "player/engine/overlay/overlay_hardware.h"
#include "player/engine/filters/pin_walk.h"

namespace lumorix::engine {

namespace {
constexpr DWORD kInProcess = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
}

void OverlayInsertion::Classify() {
  for (auto& filter : FiltersOf(graph_)) {
    if (IsClass(filter.Get(), kOverlayMixerClass))
      overlay_ = filter;
    else if (IsClass(filter.Get(), kVideoMixingRendererClass))
      mixingRenderer_ = filter;
    else if (IsClass(filter.Get(), kVideoRendererClass))
      graphRenderer_ = filter;
  }
}

HRESULT OverlayInsertion::Run() {
  records_.clear();
  Classify();
  HRESULT result = graph_->QueryInterface(IID_PPV_ARGS(&builder_));
  if (FAILED(result)) return result;

  if (overlay_) {
    if (!OverlayInPlace()) {
      overlay_.Reset();
      return E_FAIL;
    }
    return Register();
  }

  // Without overlay hardware the mixer could at best connect and then show nothing;
  // a mixing renderer the render chose becomes the window's renderer as after a failure.
  if (!DisplayHasOverlays()) return Undo(DDERR_NOOVERLAYHW);

  ComPtr<IBaseFilter> created;
  result = CoCreateInstance(CLSID_OverlayMixer, nullptr, kInProcess, IID_PPV_ARGS(&created));
  if (FAILED(result)) return result;
  result = graph_->AddFilter(created.Get(), L"Overlay Mixer");
  if (FAILED(result)) return result;
  overlay_ = created;
  addedOverlay_ = true;
  // From here on a failure takes the new mixer out again: left in the graph it
  // would be picked up by the next render.
  if (!graphRenderer_) return Undo(E_FAIL);
  ComPtr<IPin> rendererInput;
  result = FirstPin(graphRenderer_.Get(), rendererInput);
  if (FAILED(result)) return Undo(result);
  PIN_DIRECTION direction;
  result = rendererInput->QueryDirection(&direction);
  if (FAILED(result)) return Undo(result);

  result = mixingRenderer_ ? MoveMixingRendererInputs() : MoveDecoderToOverlay(rendererInput.Get());
  if (FAILED(result)) return Undo(result);

  ComPtr<IPin> output;
  result = overlay_->FindPin(L"Output", &output);
  if (FAILED(result)) return Undo(result);
  result = Make(output.Get(), rendererInput.Get());
  if (FAILED(result)) return Undo(result);
  return Register();
}

bool OverlayInsertion::OverlayInPlace() {
  bool feedsRenderer = false, fed = false;
  for (auto& pin : PinsOf(overlay_.Get())) {
    auto peer = PeerOf(pin.Get());
    if (!peer) continue;
    if (IsInput(pin.Get()))
      fed = true;
    else if (SameObject(OwnerOf(peer.Get()).Get(), graphRenderer_.Get()))
      feedsRenderer = true;
  }
  return feedsRenderer && fed;
}

HRESULT OverlayInsertion::MoveDecoderToOverlay(IPin* rendererInput) {
  ComPtr<IPin> upstream;
  HRESULT result = rendererInput->ConnectedTo(&upstream);
  if (FAILED(result)) return result;
  result = Break(rendererInput, upstream.Get());
  if (FAILED(result)) return result;
  auto input = FirstFreeInput(overlay_.Get());
  if (!input) return E_FAIL;
  return Make(upstream.Get(), input.Get());
}

HRESULT OverlayInsertion::MoveMixingRendererInputs() {
  std::vector<ComPtr<IPin>> upstreams;
  // The mixing renderer may drop or add pins as they are disconnected: its list is read afresh each time.
  for (size_t index = 0;; ++index) {
    auto pins = PinsOf(mixingRenderer_.Get());
    if (index >= pins.size()) break;
    auto upstream = PeerOf(pins[index].Get());
    if (!upstream) break;
    HRESULT result = Break(pins[index].Get(), upstream.Get());
    if (FAILED(result)) return result;
    upstreams.push_back(upstream);
  }
  for (auto& upstream : upstreams) {
    HRESULT result = FeedOverlay(upstream.Get());
    if (FAILED(result)) return result;
  }
  return S_OK;
}

HRESULT OverlayInsertion::FeedOverlay(IPin* upstream) {
  auto input = FirstFreeInput(overlay_.Get());
  if (!input) return E_FAIL;
  if (IsClass(OwnerOf(upstream).Get(), kLine21Decoder2Class)) return SwapLine21Decoder(upstream, input.Get());
  return Make(upstream, input.Get());
}

// The Overlay Mixer takes closed captions only from the older Line 21 Decoder.
HRESULT OverlayInsertion::SwapLine21Decoder(IPin* decoderOutput, IPin* overlayInput) {
  auto decoder = OwnerOf(decoderOutput);
  ComPtr<IPin> decoderInput;
  HRESULT result = FirstPin(decoder.Get(), decoderInput);
  if (FAILED(result)) return result;
  ComPtr<IPin> source;
  result = decoderInput->ConnectedTo(&source);
  if (FAILED(result)) return result;
  result = Break(source.Get(), decoderInput.Get());
  if (FAILED(result)) return result;
  replacedLine21_ = decoder;

  ComPtr<IBaseFilter> replacement;
  result = CoCreateInstance(CLSID_Line21Decoder, nullptr, kInProcess, IID_PPV_ARGS(&replacement));
  if (FAILED(result)) return result;
  result = graph_->AddFilter(replacement.Get(), L"Line21 Decoder");
  if (FAILED(result)) return result;
  addedLine21_ = replacement;
  auto pins = PinsOf(replacement.Get());
  if (pins.size() < 2) return VFW_E_NOT_FOUND;
  result = Make(source.Get(), pins[0].Get());
  if (FAILED(result)) return result;
  return Make(pins[1].Get(), overlayInput);
}

HRESULT OverlayInsertion::Register() {
  HRESULT result = overlay_.As(&exclusive_);
  if (FAILED(result)) return Undo(result);
  callback_ = MakeCom<TOverlayCallback>(owner_);
  result = exclusive_->SetCallbackInterface(callback_.Get(), 0);
  if (FAILED(result)) return Undo(result);
  if (replacedLine21_) (void)graph_->RemoveFilter(replacedLine21_.Get());
  if (mixingRenderer_) (void)graph_->RemoveFilter(mixingRenderer_.Get());
  return S_OK;
}

HRESULT OverlayInsertion::Undo(HRESULT failure) {
  for (auto record = records_.rbegin(); record != records_.rend(); ++record) {
    if (record->kind == ConnectionRecord::kMade) {
      (void)record->a->Disconnect();
      (void)record->b->Disconnect();
    } else {
      IPin* output = IsInput(record->a.Get()) ? record->b.Get() : record->a.Get();
      IPin* input = output == record->a.Get() ? record->b.Get() : record->a.Get();
      (void)builder_->Connect(output, input);
    }
  }
  if (callback_) callback_->Detach();
  callback_.Reset();
  exclusive_.Reset();
  if (addedLine21_) (void)graph_->RemoveFilter(addedLine21_.Get());
  HRESULT result = failure;
  // A mixer that was already in the graph is not ours to take out.
  if (addedOverlay_) {
    HRESULT removal = graph_->RemoveFilter(overlay_.Get());
    if (FAILED(removal)) result = removal;
  }
  overlay_.Reset();
  if (mixingRenderer_) {
    if (ownRenderer_) (void)graph_->RemoveFilter(ownRenderer_);
    graphRenderer_ = mixingRenderer_;
    (void)mixingRenderer_.As(&mixingWindow_);
  }
  return result;
}

HRESULT OverlayInsertion::Break(IPin* a, IPin* b) {
  HRESULT first = a->Disconnect();
  HRESULT second = b->Disconnect();
  // Half a connection broken is still one to restore.
  if (SUCCEEDED(first) || SUCCEEDED(second)) records_.push_back({a, b, ConnectionRecord::kBroken});
  return FAILED(first) ? first : second;
}

HRESULT OverlayInsertion::Make(IPin* output, IPin* input) {
  HRESULT result = builder_->Connect(output, input);
  if (FAILED(result)) return result;
  records_.push_back({output, input, ConnectionRecord::kMade});
  return S_OK;
}

}  // namespace lumorix::engine
