#pragma once
// Puts the Overlay Mixer between the decoder and the Video Renderer that
// rendering connected, or in place of a Video Mixing Renderer. Every
// connection it makes or breaks is recorded, so that a failure leaves the
// graph wired as it found it.
#include <windows.h>
#include "platform/dshow.h"

#include <vector>

#include "platform/com.h"
#include "player/engine/overlay/overlay_callback.h"

namespace lumorix::engine {

struct ConnectionRecord {
  enum Kind { kMade, kBroken };
  ComPtr<IPin> a;
  ComPtr<IPin> b;
  Kind kind;
};

class OverlayInsertion {
 public:
  OverlayInsertion(IFilterGraph* graph, IBaseFilter* ownRenderer, OverlayCallbackOwner* owner)
      : graph_(graph), ownRenderer_(ownRenderer), owner_(owner) {}

  HRESULT Run();

  // What the run found or made; the overlay's pieces only after a success.
  const ComPtr<IBaseFilter>& Overlay() const { return overlay_; }
  const ComPtr<IBaseFilter>& GraphRenderer() const { return graphRenderer_; }
  const ComPtr<IDDrawExclModeVideo>& Exclusive() const { return exclusive_; }
  const ComPtr<TOverlayCallback>& Callback() const { return callback_; }
  // After a failure with a Video Mixing Renderer: its window, now the one to use.
  const ComPtr<IVideoWindow>& MixingRendererWindow() const { return mixingWindow_; }
  const std::vector<ConnectionRecord>& Records() const { return records_; }

 private:
  void Classify();
  bool OverlayInPlace();
  HRESULT MoveDecoderToOverlay(IPin* rendererInput);
  HRESULT MoveMixingRendererInputs();
  HRESULT FeedOverlay(IPin* upstream);
  HRESULT SwapLine21Decoder(IPin* decoderOutput, IPin* overlayInput);
  HRESULT Register();
  HRESULT Undo(HRESULT failure);
  HRESULT Break(IPin* a, IPin* b);
  HRESULT Make(IPin* output, IPin* input);

  IFilterGraph* graph_;
  IBaseFilter* ownRenderer_;
  OverlayCallbackOwner* owner_;
  ComPtr<IGraphBuilder> builder_;
  ComPtr<IBaseFilter> overlay_;
  ComPtr<IBaseFilter> graphRenderer_;
  ComPtr<IBaseFilter> mixingRenderer_;
  ComPtr<IBaseFilter> replacedLine21_;
  ComPtr<IBaseFilter> addedLine21_;
  ComPtr<IDDrawExclModeVideo> exclusive_;
  ComPtr<TOverlayCallback> callback_;
  ComPtr<IVideoWindow> mixingWindow_;
  std::vector<ConnectionRecord> records_;
  bool addedOverlay_ = false;
};

}  // namespace lumorix::engine
