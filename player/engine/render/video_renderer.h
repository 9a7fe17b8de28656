#pragma once
// The filter that draws the video, and how its picture gets into a window.
// Two kinds: the player's own renderer, drawing with Direct3D 11 into the
// control and into every host of desktop and full-screen playback (one
// decode and one upload whatever the number of windows), and the legacy
// Video Renderer with a window of its own that is made a sibling of the
// control (the overlay path, and the last fallback).
#include <windows.h>
#include "platform/dshow.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/com.h"
#include "ui/window.h"

namespace lumorix {
struct PictureAdjustment;
}

namespace lumorix::engine {

enum class RendererKind { kLegacy, kDirect3D };

// Where the picture of one output goes.
struct VideoPlace {
  HWND control = nullptr;  // the window the picture belongs to (gets the mouse, the paint requests)
  ui::Bounds bounds;       // the control's place in its parent
  bool letterBox = true;   // keep the picture's shape, bars around it
  bool show = true;        // the legacy renderer's window shows itself when playing
  std::wstring caption;
  LONG style = 0;  // the control's own styles, for a renderer window laid over it
  LONG exStyle = 0;
};

class IVideoRenderer {
 public:
  virtual ~IVideoRenderer() = default;
  virtual RendererKind Kind() const = 0;
  virtual IBaseFilter* Filter() const = 0;
  // Whether the renderer's input is connected to a picture.
  bool Connected() const;
  // Takes the output window and the picture's place; later calls move it.
  virtual void Present(const VideoPlace& place) = 0;
  // Only the picture's place, after the control was moved or resized.
  virtual void Move(const VideoPlace& place) = 0;
  // The control is being painted. True when the renderer drew the picture
  // into it (the control then paints nothing over it).
  virtual bool Repaint() = 0;
  // Whether the picture is drawn into the control itself (mouse cursor and
  // background are the control's) rather than into a window of the renderer.
  virtual bool DrawsIntoControl() const = 0;
  // The part of the control the picture covers, when it draws into the control;
  // the control paints only around it.
  virtual const RECT* PictureArea() const { return nullptr; }
  // The renderer leaves the graph: its picture must not stay on the screen.
  virtual void Withdraw() = 0;
  // The control moved to another parent in a hurry (the shell took its host).
  virtual void FollowParent(HWND parent) = 0;
  // A window of the renderer's own takes a new caption (its windows are told
  // apart by it) and from now on shows itself when the graph runs, or not;
  // the window stays where it is, as it is.
  virtual void Retitle(const std::wstring&, bool /*autoShow*/) {}
  // Hides or shows the cursor over a window of the renderer's own.
  virtual void HideCursor(bool hidden) = 0;
  // Keeps the renderer's own window just below `above` and shown (overlay colour key).
  virtual void KeepBelow(HWND above) = 0;
  // Shows the middle of the picture enlarged (0..99 per cent cut off); false
  // where the renderer leaves that to the graph's IBasicVideo.
  virtual bool Zoom(int) { return false; }

  // Draws the picture into each of `hosts` itself (none: back into the
  // control only); false where the renderer cannot (it shows in the control).
  virtual bool ShowInHosts(const std::vector<HWND>&) { return false; }
  // The last picture again in one of those hosts.
  virtual void RepaintIn(HWND) {}
  // The colour window's adjustments, where the renderer applies them itself.
  virtual bool Adjust(const lumorix::PictureAdjustment&) { return false; }
  // The picture as `window` shows it, read from its swap chain's buffer
  // (0x00RRGGBB, rows top-down); false where the renderer cannot say.
  virtual bool Capture(HWND, std::vector<DWORD>&, SIZE&) { return false; }
  // The window the picture is drawn into: the renderer's own or the control.
  virtual HWND PictureWindow() const = 0;

  // A second renderer for the next clip that draws where this one does, its
  // picture hidden until it takes over; none where the renderer cannot share
  // its windows (a legacy one is made for the next clip instead).
  virtual std::unique_ptr<IVideoRenderer> MakeSpare() const { return nullptr; }
  // Made by `playing`'s MakeSpare: shows its picture in `playing`'s place from
  // now on, crossfading over `fadeMs`. False where it was not made so.
  virtual bool TakeOver(IVideoRenderer& /*playing*/, int /*fadeMs*/) { return false; }

  // The legacy renderer's window interface (also the one of a Video Mixing
  // Renderer the overlay insertion fell back to); none for the player's own.
  virtual ComPtr<IVideoWindow> VideoWindow() const { return nullptr; }
  virtual void AdoptVideoWindow(ComPtr<IVideoWindow>) {}
};

}  // namespace lumorix::engine
