#pragma once
// The window control that shows the video. It is a member of the graph (it
// brings its own renderer filter, which its video output chooses) and a
// listener (it sets up the renderer after every render). It plays windowed
// inside its parent, as the desktop background, or full screen; its
// messages and paint are its own, the rest goes to the video output.
#include <windows.h>
#include "platform/dshow.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/monitor_layout.h"
#include "platform/com.h"
#include "player/engine/graph/filter_graph.h"
#include "player/engine/overlay/overlay_callback.h"
#include "player/engine/overlay/overlay_insertion.h"
#include "player/engine/render/video_renderer.h"
#include "player/engine/video/color_control.h"
#include "player/engine/video/picture_host.h"
#include "player/engine/video/video_fade.h"
#include "player/engine/video/video_output.h"
#include "ui/menu.h"
#include "ui/timer.h"
#include "ui/window.h"

namespace lumorix::engine {

enum TRatioModes { rmStretched = 0, rmLetterBox = 1, rmCrop = 2 };

class TDSVideoWindowEx2;

class TDSVideoWindowEx2Caps {
 public:
  explicit TDSVideoWindowEx2Caps(const TDSVideoWindowEx2& window) : window_(window) {}
  bool CanOverlayGraphic() const;
  bool CanControlBrigtness() const { return Flag(kColorBrightness); }
  bool CanControlContrast() const { return Flag(kColorContrast); }
  bool CanControlHue() const { return Flag(kColorHue); }
  bool CanControlSaturation() const { return Flag(kColorSaturation); }
  bool CanControlSharpness() const { return Flag(kColorSharpness); }
  bool CanControlGamma() const { return Flag(kColorGamma); }
  bool CanControlColorEnabled() const { return Flag(kColorEnable); }

 private:
  bool Flag(DWORD flag) const;
  const TDSVideoWindowEx2& window_;
};

class TDSVideoWindowEx2 : public ui::Window,
                          public IFilterGraphMember,
                          public IFilterGraphListener,
                          private OverlayCallbackOwner,
                          private HostedPicture {
 public:
  TDSVideoWindowEx2(HWND parent, const ui::Bounds& bounds, std::wstring name);
  ~TDSVideoWindowEx2() override;

  void SetFilterGraph(TFilterGraph* graph);
  TFilterGraph* FilterGraph() const { return graph_; }
  void GraphDestroyed() { graph_ = nullptr; }

  TRatioModes AspectRatio() const { return aspectRatio_; }
  void SetAspectRatio(TRatioModes mode);
  int DigitalZoom() const { return digitalZoom_; }
  void SetDigitalZoom(int zoom);
  // Milliseconds without mouse activity before the cursor hides over the video; 0 never.
  int AutoHideCursor() const { return autoHideCursor_; }
  void SetAutoHideCursor(int milliseconds);
  bool CursorHidden() const { return cursorHidden_; }
  // Keeps the display and the screen saver off while the clip plays.
  bool NoScreenSaver() const { return noScreenSaver_; }
  void SetNoScreenSaver(bool keepAwake);
  // Shown on a context-menu request in full-screen mode.
  ui::PopupMenu* PopupMenu = nullptr;
  bool FullScreenTopMost() const { return fullScreenTopMost_; }
  void SetFullScreenTopMost(bool topMost) { fullScreenTopMost_ = topMost; }
  TColorControl& ColorControl() { return output_.ColorControl(); }
  const TDSVideoWindowEx2Caps& Capabilities() const { return caps_; }

  bool OverlayActive() const { return output_.OverlayActive(); }
  bool OverlayShown() const { return overlayShown_; }
  bool DesktopMode() const { return host_ && host_->DesktopMode(); }
  bool FullScreenMode() const { return host_ && host_->FullScreenMode(); }
  COLORREF ColorKey() const { return colorKey_; }
  bool HoldsOverlay() const { return output_.Overlay() != nullptr; }
  const DDCOLORCONTROL& ColorDefaults() const { return output_.ColorControl().Defaults(); }

  // Desktop playback on the monitor of this window, or on the given one.
  void StartDesktopPlayback();
  void StartDesktopPlayback(HMONITOR monitor);
  // Back to windowed playback in the saved parent, from either mode.
  void StopDesktopPlayback();
  void StartFullScreen();
  void StartFullScreen(HMONITOR monitor);
  // Who shows the picture on the desktop and full screen, made for this window
  // and owned by it; without one the window plays only where it is.
  using PictureHostFactory = std::function<std::unique_ptr<PictureHost>(HostedPicture& picture, COLORREF color)>;
  void SetPictureHost(const PictureHostFactory& make);
  PictureHost* Host() const { return host_.get(); }
  // Which monitors desktop and full-screen playback show on; at once when playing there.
  ShowOn GetShowOn() const { return host_ ? host_->GetShowOn() : ShowOn::PrimaryMonitor; }
  void SetShowOn(ShowOn mode) {
    if (host_) host_->SetShowOn(mode);
  }
  // The monitors the picture is seen on now, in physical pixels (none while windowed).
  std::vector<RECT> ShownMonitorRects() const { return host_ ? host_->ShownMonitorRects() : std::vector<RECT>{}; }
  // Messages the overlay's callback posts when it calls from its own thread.
  static constexpr UINT kOverlayColorKeyMessage = WM_APP + 20;
  static constexpr UINT kOverlaySizeMessage = WM_APP + 21;
  // The crossfade has ended: its window goes (posted, not from inside its own timer).
  static constexpr UINT kFadeDoneMessage = WM_APP + 22;

  std::function<void()> OnDblClick;
  std::function<void(bool visible)> OnOverlayVisible;
  std::function<void()> OnColorKeyChanged;
  std::function<void(bool shown)> OnCursorShowHide;
  std::function<void()> OnPaint;
  // After each render: the colour controls the renderer offers may have changed.
  std::function<void()> OnCapabilitiesChanged;
  // The player's own renderer could not be used; said once per window, with the reason.
  std::function<void(const std::wstring& reason)> OnRendererFallback;

  // Graph contracts.
  ComPtr<IBaseFilter> GetFilter() override { return Renderer() ? Renderer()->Filter() : nullptr; }
  std::wstring GetName() override { return name_; }
  void NotifyFilter(TMemberOperation operation, int param) override;
  void GraphEvent(long code, LONG_PTR param1, LONG_PTR param2) override;
  void ControlEvent(TGraphNotice notice, int param) override;

  // Puts the renderer's window into this control at the control's place.
  void SetupVideoWindow();
  // Paints the background and, while the overlay shows, its colour key.
  void PaintColorKey();
  // Where the colour key goes, in client coordinates; E_FAIL without an overlay.
  HRESULT OverlayRect();
  const RECT& OverlayRectangle() const { return overlayRect_; }
  void RefreshColorKey();
  HRESULT InsertOverlay() { return output_.InsertOverlay(); }
  // What the last insertion made and broke, in order.
  const std::vector<ConnectionRecord::Kind>& LastInsertionRecords() const { return output_.LastInsertionRecords(); }
  // Interfaces this window does not have itself come from its own renderer.
  template <typename Interface>
  ComPtr<Interface> Query() const {
    ComPtr<Interface> result;
    if (Renderer()) (void)Renderer()->Filter()->QueryInterface(IID_PPV_ARGS(&result));
    return result;
  }
  // The renderer the picture goes through; none outside a graph.
  IVideoRenderer* Renderer() const { return output_.Renderer(); }
  // The picture as `window` (this one, or a host) shows it, from its swap
  // chain's buffer; false where the renderer cannot say.
  bool CapturePicture(HWND window, std::vector<DWORD>& pixels, SIZE& size) const {
    return output_.Capture(window, pixels, size);
  }

  // The next clip is built beside the playing one, in a graph of its own,
  // with this window's second renderer: hidden at the window's place until
  // it takes over. Only where the picture needs neither the overlay nor a
  // renderer drawing into this window (both would show the spare at once).
  bool CanPrepareSpare() const;
  // The member that puts the second renderer into the spare graph.
  IFilterGraphMember& SpareOutput();
  // The spare graph holds the next clip: the second renderer gets its place
  // (hidden) and, where needed, the picture shrinker in front of it.
  void SpareRendered(TFilterGraph& spare);
  // The moment of the takeover, in two steps around the graphs' swap. First
  // the second renderer's window shows over the first, the first's last
  // picture still on the screen until the second draws (with `fadeMs` > 0
  // under a crossfade from that picture, which starts as that picture alone).
  void RaiseSpare(int fadeMs);
  // Then, the graphs swapped, the second renderer is this window's and the
  // first, hidden, becomes the second.
  void SwapToSpare();
  // A crossfade is under way.
  const VideoFade* Fade() const { return fade_.get(); }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void InsertionStep();
  // Where the renderer puts the picture: over the control, letter-boxed unless the overlay does it.
  VideoPlace RendererPlace() const;
  void PlaceRenderer();
  void PaintInto(HDC dc);
  // Desktop hosting's view of this window.
  HWND PictureWindow() const override { return Handle(); }
  bool PictureThroughOverlay() const override { return output_.OverlayActive(); }
  COLORREF PictureColorKey() const override { return colorKey_; }
  void PictureMoveTo(HWND parent, const RECT& bounds) override;
  void PicturePlaced() override;
  void PictureRescued(HWND parent) override;
  bool PictureShowIn(const std::vector<HWND>& hosts) override;
  void PictureRepaint(HWND host) override {
    if (Renderer()) Renderer()->RepaintIn(host);
  }
  // Puts the second renderer into the spare graph and takes it out again.
  class SpareMember : public IFilterGraphMember {
   public:
    explicit SpareMember(TDSVideoWindowEx2& window) : window_(window) {}
    ComPtr<IBaseFilter> GetFilter() override;
    std::wstring GetName() override;
    void NotifyFilter(TMemberOperation operation, int param) override;

   private:
    TDSVideoWindowEx2& window_;
  };
  VideoPlace SparePlace() const;
  void EndFade();
  void IdleCheck();
  void MouseActivity(bool moved);
  bool SecondPress(LPARAM lParam);
  void ShowCursorAgain();
  void KeepAwake(bool playing);
  void OverlayColorKeyChanged(COLORREF key) override;
  void OverlaySizeChanged() override;

  std::wstring name_;
  TFilterGraph* graph_ = nullptr;
  TRatioModes aspectRatio_ = rmLetterBox;
  int digitalZoom_ = 0;
  bool fullScreenTopMost_ = false;
  VideoOutput output_;
  TDSVideoWindowEx2Caps caps_;
  COLORREF colorKey_ = RGB(16, 0, 16);
  bool overlayShown_ = false;
  RECT overlayRect_{};
  int autoHideCursor_ = 0;
  bool cursorHidden_ = false;
  bool noScreenSaver_ = false;
  bool playing_ = false;
  bool keptAwake_ = false;
  POINT lastMouse_{-1, -1};
  DWORD lastMouseTime_ = 0;
  bool pressWaiting_ = false;
  POINT lastPress_{};
  DWORD lastPressTime_ = 0;
  // Polls for a quiet mouse only while auto-hide is on.
  ui::Timer idleTimer_{100};
  LONG savedStyle_ = 0;
  LONG savedExStyle_ = 0;
  std::unique_ptr<PictureHost> host_;
  std::unique_ptr<IVideoRenderer> spare_;
  std::unique_ptr<SpareMember> spareMember_;
  std::unique_ptr<VideoFade> fade_;
};

}  // namespace lumorix::engine
