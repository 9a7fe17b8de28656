#pragma once
// Base of every window of the windowing layer. A window object owns its HWND;
// messages reach the object through one static procedure (own window classes)
// or a subclass procedure (system control classes), and the object's
// `OnMessage` handles them. Failures escaping a handler go to the standard
// error box and the message counts as handled.
#include <windows.h>

#include <optional>
#include <string>

#include "ui/gdi.h"

namespace lumorix::ui {

class ScaledFont;

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Bounds&) const = default;
};

class Window {
 public:
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }
  static Window* FromHandle(HWND hwnd);

  // Placement in pixels, in the parent's client coordinates (screen coordinates
  // for top-level windows).
  void SetBounds(const Bounds& bounds);
  Bounds GetBounds() const;
  void SetLeft(int left);
  void SetTop(int top);
  int Left() const { return GetBounds().left; }
  int Top() const { return GetBounds().top; }
  int Width() const { return GetBounds().width; }
  int Height() const { return GetBounds().height; }

  // Layouts are designed in units of a 96-DPI display. A child window is created
  // and placed in those units at the DPI of its form, and placed again when
  // that DPI changes; a place given in pixels (SetBounds) is scaled by the change.
  int Dpi() const { return dpi_; }
  int Scale(int designUnits) const;
  Bounds Scale(const Bounds& design) const;
  void SetDesignBounds(const Bounds& design);
  // The window's new DPI: its font (its own, or `inheritedFont` when it took its
  // parent's), its place and whatever it sized to its content.
  void ApplyDpi(int dpi, HFONT inheritedFont);
  // Only the DPI its next design place is scaled for (a window away from its
  // form, or a top-level window on a new monitor).
  void SetDpi(int dpi) { dpi_ = dpi; }

  virtual void SetVisible(bool visible);
  bool Visible() const;
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  void SetEnabled(bool enabled);
  bool Enabled() const;

  void SetText(const std::wstring& text);
  std::wstring Text() const;

  // Background colour: the window's own, or its parent's when it has none.
  void SetColor(COLORREF color);
  COLORREF Color() const;
  HBRUSH BackgroundBrush() const;

  // Moves the window under another parent window (null: top level).
  void SetParentWindow(HWND parent);
  HWND ParentHandle() const;

  void Invalidate() const;
  void Repaint() const;
  void DestroyHandle();

 protected:
  Window() = default;

  // Creates the window from one of the layer's own classes.
  void CreateOwn(const wchar_t* className, UINT classStyle, DWORD style, DWORD exStyle, HWND parent,
                 const Bounds& bounds, const std::wstring& text = {});
  // Creates a system control and subclasses it.
  void CreateControl(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, const Bounds& bounds,
                     const std::wstring& text = {});

  // The window draws with `font` at its DPI (null: with its parent's again).
  void SetScaledFont(const ScaledFont* font);
  // After a change of DPI: re-fit what the window sized to its content.
  virtual void DpiChanged(int /*oldDpi*/) {}
  // Returns true when it handled the message and set `result`.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Notifications the parent received from this control (WM_COMMAND, WM_NOTIFY,
  // WM_HSCROLL, WM_VSCROLL, WM_DRAWITEM, WM_CTLCOLOR...).
  virtual bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
  bool Destroying() const { return destroying_; }

 private:
  static LRESULT CALLBACK OwnClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  static bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void Attach(HWND hwnd);
  void Detach();

  HWND hwnd_ = nullptr;
  bool subclassed_ = false;
  bool destroying_ = false;
  int dpi_ = 96;
  std::optional<Bounds> design_;  // the place in design units, while it has one
  bool inheritsFont_ = false;
  const ScaledFont* font_ = nullptr;
  std::optional<COLORREF> color_;
  mutable UniqueBrush brush_;
  mutable COLORREF brushColor_ = 0;
};

// Registers one of the layer's window classes once per process.
void RegisterOwnClass(const wchar_t* className, UINT classStyle, WNDPROC procedure);

}  // namespace lumorix::ui
