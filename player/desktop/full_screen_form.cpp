#include "player/desktop/full_screen_form.h"

namespace lumorix::desktop {

namespace {
constexpr UINT_PTR kBottomAgainTimer = 1;
constexpr UINT kBottomAgainDelay = 500;
// WM_DPICHANGED_AFTERPARENT: a child's monitor changed its scale (Windows 10 1703 on).
constexpr UINT kDpiChangedAfterParent = 0x02E3;

ui::FormDesign HostDesign(COLORREF color) {
  ui::FormDesign design;
  design.caption = L"FullScrinForm";
  design.clientWidth = 696;
  design.clientHeight = 480;
  design.outerSize = true;
  design.border = ui::BorderStyle::None;
  design.color = color;
  design.className = L"LumorixHostForm";
  // No taskbar button, whichever mode it serves; and inside Explorer's layer
  // its creation and end are not reported to Explorer's window, which would
  // wait on Explorer's thread.
  design.extraExStyle = WS_EX_TOOLWINDOW | WS_EX_NOPARENTNOTIFY;
  design.scaleLayout = false;  // placed over monitors in their pixels
  return design;
}
}  // namespace

TFullScrinForm::TFullScrinForm(COLORREF color) : ui::Form(HostDesign(color)) {
  topLevelStyle_ = GetWindowLongW(Handle(), GWL_STYLE);
}

void TFullScrinForm::SetBackdrop(bool backdrop) {
  backdrop_ = backdrop;
  LONG exStyle = GetWindowLongW(Handle(), GWL_EXSTYLE);
  exStyle = backdrop ? (exStyle | WS_EX_NOACTIVATE) : (exStyle & ~WS_EX_NOACTIVATE);
  SetWindowLongW(Handle(), GWL_EXSTYLE, exStyle);
  // Nothing on the picture is there to be clicked: disabled, a click can neither
  // activate it nor raise it (Wine activates it despite MA_NOACTIVATE).
  EnableWindow(Handle(), !backdrop);
  if (!backdrop) {
    KillTimer(Handle(), kBottomAgainTimer);
    return;
  }
  SendToBottom();
  // An activation still under way (the click that ended full screen) can raise
  // the form after this; once it has settled the form goes back under everything.
  SetTimer(Handle(), kBottomAgainTimer, kBottomAgainDelay, nullptr);
}

void TFullScrinForm::SendToBottom() {
  SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool TFullScrinForm::HostInLayer(const WallpaperLayer& layer, const RECT& monitor) {
  SetBackdrop(false);
  // Already there (the display changed, Explorer said it restarted but kept
  // its windows): only the place changes, and the picture never drops out.
  if (!inLayer_ || GetParent(Handle()) != layer.parent) {
    if (!inLayer_) topLevelStyle_ = GetWindowLongW(Handle(), GWL_STYLE);
    // Progman does not compose a window that was layered already when it
    // became its child: the layered style comes only after the move.
    SetLayered(false);
    // A window becoming another's child takes the child style first.
    SetWindowLongW(Handle(), GWL_STYLE, (topLevelStyle_ & ~WS_POPUP) | WS_CHILD);
    if (!SetParent(Handle(), layer.parent)) {
      // Refused (the shell's window is gone, or will not take a child of this
      // process): top level again, out of any layer it was in before.
      if (GetParent(Handle())) SetParent(Handle(), nullptr);
      SetWindowLongW(Handle(), GWL_STYLE, topLevelStyle_);
      inLayer_ = false;
      return false;
    }
  }
  inLayer_ = true;
  layer_ = layer;
  if (layer.layout == ShellLayout::kComposed) SetLayered(true);
  POINT origin{monitor.left, monitor.top};
  MapWindowPoints(nullptr, layer.parent, &origin, 1);
  SetWindowPos(Handle(), InsertAfterIn(layer), origin.x, origin.y, monitor.right - monitor.left,
               monitor.bottom - monitor.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return true;
}

void TFullScrinForm::MendInLayer(const WallpaperLayer& layer, const LayerRepair& repair) {
  if (!inLayer_) return;
  if (repair.restyle) SetLayered(true);  // a child already: the order of steps holds
  if (repair.reorder)
    SetWindowPos(Handle(), InsertAfterIn(layer), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TFullScrinForm::SetLayered(bool layered) {
  LONG exStyle = GetWindowLongW(Handle(), GWL_EXSTYLE);
  if (!layered) {
    if (exStyle & WS_EX_LAYERED) SetWindowLongW(Handle(), GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    return;
  }
  if (!(exStyle & WS_EX_LAYERED)) SetWindowLongW(Handle(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  // Opaque: the window manager takes the form's own surface as it is drawn.
  (void)SetLayeredWindowAttributes(Handle(), 0, 255, LWA_ALPHA);
}

void TFullScrinForm::LeaveLayer() {
  if (!inLayer_) return;
  ShowWindow(Handle(), SW_HIDE);
  SetParent(Handle(), nullptr);
  SetWindowLongW(Handle(), GWL_STYLE, topLevelStyle_ & ~WS_VISIBLE);
  SetLayered(false);
  inLayer_ = false;
}

void TFullScrinForm::CoverMonitor(const RECT& monitor) {
  SetWindowPos(Handle(), nullptr, monitor.left, monitor.top, monitor.right - monitor.left, monitor.bottom - monitor.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TFullScrinForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_WINDOWPOSCHANGING:
      if (backdrop_) {
        auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
        position->hwndInsertAfter = HWND_BOTTOM;
        position->flags &= ~SWP_NOZORDER;
      }
      return false;
    case WM_TIMER:
      if (wParam != kBottomAgainTimer) return ui::Form::OnMessage(message, wParam, lParam, result);
      KillTimer(Handle(), kBottomAgainTimer);
      if (backdrop_ && GetWindow(Handle(), GW_HWNDNEXT)) SendToBottom();
      result = 0;
      return true;
    case WM_MOUSEACTIVATE:
      if (!backdrop_ && !inLayer_) return false;
      result = MA_NOACTIVATE;
      return true;
    case WM_PAINT:
      if (!OnPaintPicture) return ui::Form::OnMessage(message, wParam, lParam, result);
      {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        RECT client;
        GetClientRect(Handle(), &client);
        OnPaintPicture(dc, client);
        EndPaint(Handle(), &paint);
      }
      result = 0;
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!ClicksTo) return ui::Form::OnMessage(message, wParam, lParam, result);
      SendMessageW(ClicksTo, message, wParam, lParam);
      result = 0;
      return true;
    case WM_DPICHANGED:
    case kDpiChangedAfterParent:
      if (OnScaleChanged) OnScaleChanged();
      result = 0;
      return true;
    case WM_QUERYENDSESSION:
      result = 1;  // the form never stands in the way of a log-off
      return true;
    case WM_DESTROY:
      // Children are destroyed after this message: moving them out here saves them.
      if (inLayer_ && !closing_ && OnParentLost) OnParentLost();
      inLayer_ = false;
      return ui::Form::OnMessage(message, wParam, lParam, result);
    default:
      return ui::Form::OnMessage(message, wParam, lParam, result);
  }
}

}  // namespace lumorix::desktop
