#pragma once
// Draws a video's pictures with Direct3D 11 into every window that shows it:
// each picture is uploaded once (or a decoder's texture copied on the
// graphics card) and each window's swap chain draws from the same textures,
// letter-boxed for that window, with the colour adjustments in the shader.
// Knows nothing of DirectShow. Thread-safe: the renderer's streaming thread
// shows pictures while the window's thread adds windows and repaints.
#include <windows.h>
#include <d3d11.h>

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

class VideoPresenter {
 public:
  // Empty, with `reason` saying why, where Direct3D 11 cannot draw here.
  static std::unique_ptr<VideoPresenter> Create(std::wstring& reason);

  // What decoders decode into, shared with the source (none without Media Foundation).
  ComPtr<IMFDXGIDeviceManager> DeviceManager() const;
  // Whether decoders may decode into the device's textures (it can read them).
  bool LendsDevice() const;
  ComPtr<ID3D11Device> Device() const;

  void SetFormat(const PictureFormat& format);
  PictureFormat Format() const;
  // Takes the frame and shows it in every window; false when it could not be taken.
  bool Show(const PictureFrame& frame);
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
  bool HasPicture() const;
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
  void PresentAll();
  void Present(SwapChainOutput& output);
  // Device lost: a new device, new swap chains, the picture back with the next frame.
  void Replace();
  SwapChainOutput* Find(HWND window);

  mutable std::mutex lock_;
  std::unique_ptr<VideoDevice> device_;
  PictureShaders shaders_;
  SourcePlanes planes_;
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
