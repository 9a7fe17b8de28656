#pragma once
// A top-level window with the life-cycle events of a form: create, show,
// close query, close and destroy.
#include <windows.h>

#include <string>

#include "ui/gdi.h"
#include "ui/scaled_font.h"
#include "ui/window.h"

namespace lumorix::ui {

class MainMenu;

enum class BorderStyle {
  None,         // no caption, no frame
  Single,       // fixed frame, caption with the system menu's close box only
  Sizeable,     // resizable frame with caption
  Dialog,       // fixed dialog frame
  ToolWindow,   // fixed, small caption, close box only
  SizeToolWin,  // resizable, small caption, close box only
};

enum class FormPosition { Designed, DesktopCenter };

// Places and sizes in units of a 96-DPI display (see Window::Dpi).
struct FormDesign {
  std::wstring caption;
  int left = 0;
  int top = 0;
  int clientWidth = 0;
  int clientHeight = 0;
  // When set, left/top/width/height give the outer window size instead of the client size.
  bool outerSize = false;
  BorderStyle border = BorderStyle::Sizeable;
  FormPosition position = FormPosition::Designed;
  COLORREF color = 0x80000000u | COLOR_BTNFACE;
  HWND owner = nullptr;
  // Extended styles on top of the border's (WS_EX_TOOLWINDOW: no taskbar button).
  DWORD extraExStyle = 0;
  // The window class; other programs may look the window up by it.
  std::wstring className = L"LumorixForm";
  // False for a surface its owner places in pixels (a host of the desktop
  // picture): its size is not scaled and a change of DPI is left to it.
  bool scaleLayout = true;
};

class Form : public Window {
 public:
  explicit Form(const FormDesign& design);
  ~Form() override;

  void SetVisible(bool visible) override;
  // Asks the close query; when it agrees, runs the close step, then hides the
  // form (or, for the main form, ends the application). A failure in the close
  // step leaves the form as it is.
  void Close();
  bool CloseQuery();

  void SetMenu(MainMenu* menu);
  MainMenu* Menu() const { return menu_; }
  HFONT Font() const { return font_.At(Dpi()); }
  void SetTopMost(bool topMost);
  // In design units.
  void SetClientSize(int width, int height);
  // The form, its font and every window inside it at `dpi`; the form takes
  // `suggested` (screen pixels) as its new place, or keeps its place and takes
  // its designed size. Runs on WM_DPICHANGED.
  void ChangeDpi(int dpi, const RECT* suggested = nullptr);

  // Keyboard shortcuts of the form's menu; used by the message loop.
  bool TranslateShortcut(MSG& message);

 protected:
  // Runs the create step; a failure in it is shown by the standard error box.
  void FinishCreate();

  virtual void FormCreate() {}
  virtual void FormShow() {}
  virtual void FormCloseQuery(bool& /*canClose*/) {}
  virtual void FormClose() {}

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  ScaledFont font_;
  MainMenu* menu_ = nullptr;
  bool scaleLayout_;
  BorderStyle border_;
  int clientWidth_;
  int clientHeight_;
  bool outerSize_;
};

}  // namespace lumorix::ui
