#pragma once
// What a video window shows its picture through: the renderer and the choice
// of it (the player's own on Direct3D 11, the legacy one for the overlay and
// as the last fallback, said once), the Overlay Mixer put in front of the
// legacy renderer, the colour control, and the picture read back from a
// window. The video window keeps its messages and paint and hands this its
// window and place.
#include <windows.h>
#include "platform/dshow.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/com.h"
#include "player/engine/overlay/overlay_callback.h"
#include "player/engine/overlay/overlay_insertion.h"
#include "player/engine/render/video_renderer.h"
#include "player/engine/video/color_control.h"

namespace lumorix::engine {

class TFilterGraph;

class VideoOutput {
 public:
  // `graph` gives the graph of the window (may be null); `name` is the
  // renderer's name in it; `overlayOwner` hears the overlay's callback.
  VideoOutput(std::function<TFilterGraph*()> graph, std::wstring name, OverlayCallbackOwner& overlayOwner);
  ~VideoOutput();
  VideoOutput(const VideoOutput&) = delete;
  VideoOutput& operator=(const VideoOutput&) = delete;

  IVideoRenderer* Renderer() const { return renderer_.get(); }
  TColorControl& ColorControl() { return colorControl_; }
  const TColorControl& ColorControl() const { return colorControl_; }

  // The renderer for a new graph, chosen now.
  void Choose();
  // The renderer leaves the graph: the overlay's colours back, its pins free.
  void Leave();
  void Drop();
  // A renderer prepared beside this one (the next clip's) takes its place;
  // `other` gets the one that played.
  void SwapRenderer(std::unique_ptr<IVideoRenderer>& other) { renderer_.swap(other); }

  // After a render: the overlay in front of the legacy renderer, or the
  // player's own renderer connected (else the legacy one takes its place),
  // and the colours applied.
  void InsertionStep();
  bool InsertionTried() const { return insertionTried_; }
  HRESULT InsertOverlay();
  void ReleaseOverlay();
  bool OverlayActive() const { return overlayActive_; }
  IBaseFilter* Overlay() const { return overlay_.Get(); }
  const ComPtr<IBaseFilter>& GraphRenderer() const { return graphRenderer_; }
  IDDrawExclModeVideo* Exclusive() const { return exclusive_.Get(); }
  const std::vector<ConnectionRecord::Kind>& LastInsertionRecords() const { return lastRecords_; }

  // The renderer draws into these hosts itself (none: the window only); false where it cannot.
  bool ShowInHosts(const std::vector<HWND>& hosts);
  bool Capture(HWND window, std::vector<DWORD>& pixels, SIZE& size) const {
    return renderer_ && renderer_->Capture(window, pixels, size);
  }

  // The player's own renderer could not be used; said once, with the reason.
  std::function<void(const std::wstring& reason)> OnFallback;
  // The renderer was replaced under a graph: whoever hosts the picture arranges again.
  std::function<void()> OnRendererChanged;

 private:
  void FallBackToLegacy();
  void FallbackHint(const std::wstring& reason);

  std::function<TFilterGraph*()> graph_;
  std::wstring name_;
  OverlayCallbackOwner& overlayOwner_;
  TColorControl colorControl_;
  std::unique_ptr<IVideoRenderer> renderer_;
  ComPtr<IBaseFilter> overlay_;
  ComPtr<IBaseFilter> graphRenderer_;
  ComPtr<IDDrawExclModeVideo> exclusive_;
  ComPtr<TOverlayCallback> callback_;
  std::vector<ConnectionRecord::Kind> lastRecords_;
  bool overlayActive_ = false;
  bool insertionTried_ = false;
  bool fallbackHinted_ = false;
};

}  // namespace lumorix::engine
