#pragma once
// Draws a video's pictures with Direct3D 11 into every window that shows it:
// each picture is uploaded once (or a decoder's texture copied on the
// graphics card) and each window's swap chain draws from the same textures,
// letter-boxed for that window, with the colour adjustments in the shader.
// Knows nothing of DirectShow. Thread-safe: the renderer's streaming thread
// shows pictures while the window's thread adds windows and repaints.
//
// Pictures come in lanes, one a renderer: the lane shown, and beside it the
// next clip's, holding its first picture hidden until it takes over (at
// once, or crossfading from the lane that was shown).
#include <windows.h>
#include <d3d11.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/picture_colour.h"
#include "platform/com.h"
#include "player/engine/d3d11/picture_frame.h"
#include "player/engine/d3d11/picture_shaders.h"
#include "player/engine/d3d11/source_planes.h"
#include "player/engine/d3d11/swap_chain_output.h"
#include "player/engine/d3d11/video_device.h"

namespace lumorix::engine {

// One renderer's pictures on the device. Only the presenter reads it.
class PictureLane {
  friend class VideoPresenter;
  SourcePlanes planes_;
};

class VideoPresenter {
 public:
  // Empty, with `reason` saying why, where Direct3D 11 cannot draw here.
  static std::unique_ptr<VideoPresenter> Create(std::wstring& reason);

  // What decoders decode into, shared with the source (none without Media Foundation).
  ComPtr<IMFDXGIDeviceManager> DeviceManager() const;
  // Whether decoders may decode into the device's textures (it can read them).
  bool LendsDevice() const;
  ComPtr<ID3D11Device> Device() const;

  // A lane of its own for a renderer, hidden until shown.
  std::shared_ptr<PictureLane> NewLane();
  // The windows show `lane` from now on, fading in over `fadeMs` from the one shown before.
  void ShowLane(const std::shared_ptr<PictureLane>& lane, int fadeMs);
  bool Shows(const PictureLane& lane) const;
  // Whether a crossfade is under way.
  bool Fading() const;

  void SetFormat(PictureLane& lane, const PictureFormat& format);
  // Takes the frame into its lane and, where the lane is on the screen, shows
  // it in every window; false when it could not be taken.
  bool Show(PictureLane& lane, const PictureFrame& frame);
  // The last picture again, in every window or in one.
  void Repaint();
  void Repaint(HWND window);
  // The windows that show the picture now; a swap chain for each new one, none kept for the others.
  void SetWindows(const std::vector<HWND>& windows);
  std::vector<HWND> Windows() const;
  // Whether that window got a flip-model swap chain.
  bool FlipModel(HWND window) const;

  void SetAdjustment(const PictureAdjustment& adjustment);
  void SetBackground(COLORREF color);
  void SetLetterBox(bool letterBox);
  // Per cent cut from the picture's sides, centred, shape kept (0..99).
  void SetZoom(int zoom);
  // Where the picture lies in a window of this client size.
  RECT PictureArea(SIZE client) const;
  // The last picture drawn into the window's back buffer as it would be shown,
  // read back (0x00RRGGBB, rows top-down).
  [[nodiscard]] bool Capture(HWND window, std::vector<DWORD>& pixels, SIZE& size);

  // Devices made since the first: each lost device is replaced.
  int DevicesReplaced() const;
  // The next present is taken as a removed device (tests: a device cannot be
  // removed at will, under Wine least of all).
  void LoseDeviceAtNextPresent();

 private:
  VideoPresenter() = default;
  [[nodiscard]] bool MakeDevice(std::wstring& reason, VideoDevice* previous);
  void DrawInto(SwapChainOutput& output, ID3D11RenderTargetView* target, SIZE size);
  // One lane's picture at its place; `opacity` below 1 blends it over what is drawn.
  void DrawLane(const SourcePlanes& planes, ID3D11RenderTargetView* target, SIZE size, float opacity);
  RECT AreaOf(const SourcePlanes& planes, SIZE client) const;
  // How far the crossfade is (0..1); the lane faded from goes at 1.
  float FadeProgress();
  void PresentAll();
  void Present(SwapChainOutput& output);
  // Device lost: a new device, new swap chains, the picture back with the next frame.
  void Replace();
  SwapChainOutput* Find(HWND window);

  mutable std::mutex lock_;
  std::unique_ptr<VideoDevice> device_;
  PictureShaders shaders_;
  std::shared_ptr<PictureLane> shown_;
  std::shared_ptr<PictureLane> fadingFrom_;
  std::chrono::steady_clock::time_point fadeStart_;
  int fadeMs_ = 0;
  std::vector<std::weak_ptr<PictureLane>> lanes_;  // every lane made, to forget when the device goes
  std::vector<std::unique_ptr<SwapChainOutput>> outputs_;
  PictureAdjustment adjustment_;
  COLORREF background_ = RGB(0, 0, 0);
  bool letterBox_ = true;
  int zoom_ = 0;
  int replaced_ = 0;
  bool loseAtNextPresent_ = false;
  bool lost_ = false;
};

}  // namespace lumorix::engine
