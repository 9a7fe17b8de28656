#pragma once
// One window that shows the picture, with a swap chain of its own: flip
// model (FLIP_DISCARD, or FLIP_SEQUENTIAL before Windows 10), the blt model
// only where the system refuses flip. The buffers follow the window's size;
// an occluded window is drawn into again only once it can be seen.
//
// Wine shows no Direct3D of a child window: it covers the window with a
// drawable of its own that stays black on the screen. There a child window
// gets a buffer of its own instead of a swap chain, copied into the window
// through GDI at each present.
#include <windows.h>
#include <d3d11.h>
#include <dxgi1_2.h>

#include <string>
#include <vector>

#include "platform/com.h"

namespace lumorix::engine {

class SwapChainOutput {
 public:
  // Empty `Ready()` when the window refused a swap chain.
  SwapChainOutput(ID3D11Device* device, HWND window);

  bool Ready() const { return static_cast<bool>(chain_) || throughGdi_; }
  HWND Window() const { return window_; }
  bool FlipModel() const { return flip_; }
  // The back buffer at the window's client size, ready to draw into; null
  // when the window has no area or is occluded (nothing is drawn then).
  ID3D11RenderTargetView* Begin(ID3D11Device* device, ID3D11DeviceContext* context, SIZE& size);
  // Shows what was drawn; the swap chain's answer (a lost device among them).
  HRESULT Present(ID3D11Device* device, ID3D11DeviceContext* context);
  bool Occluded() const { return occluded_; }
  // The back buffer as drawn, before it is shown, as 0x00RRGGBB rows top-down.
  [[nodiscard]] bool ReadBack(ID3D11Device* device, ID3D11DeviceContext* context, std::vector<DWORD>& pixels,
                              SIZE& size);

 private:
  void CopyThroughGdi(ID3D11Device* device, ID3D11DeviceContext* context);

  HWND window_;
  bool throughGdi_ = false;
  ComPtr<ID3D11Texture2D> own_;  // the buffer of a window shown through GDI
  ComPtr<ID3D11Texture2D> staging_;
  std::vector<DWORD> copy_;
  ComPtr<IDXGISwapChain1> chain_;
  ComPtr<ID3D11RenderTargetView> target_;
  SIZE size_{};
  bool flip_ = false;
  bool occluded_ = false;
};

}  // namespace lumorix::engine
