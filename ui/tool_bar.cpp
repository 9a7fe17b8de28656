#include "ui/tool_bar.h"

#include <commctrl.h>

#include "ui/image_list.h"

namespace lumorix::ui {

void ToolButton::SetDown(bool down) {
  SendMessageW(bar_.Handle(), TB_CHECKBUTTON, id_, MAKELPARAM(down ? TRUE : FALSE, 0));
}

bool ToolButton::Down() const { return SendMessageW(bar_.Handle(), TB_ISBUTTONCHECKED, id_, 0) != 0; }

ToolBar::ToolBar(HWND parent, const Bounds& bounds, const ToolBarDesign& design) : design_(design) {
  DWORD style = WS_CHILD | WS_VISIBLE | CCS_NODIVIDER | CCS_NORESIZE;
  style |= design.alignBottom ? CCS_BOTTOM : CCS_NOPARENTALIGN;
  if (design.flat) style |= TBSTYLE_FLAT;
  if (design.transparent) style |= TBSTYLE_TRANSPARENT;
  CreateControl(TOOLBARCLASSNAMEW, style, 0, parent, bounds);
  SendMessageW(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(Scale(design.buttonWidth), Scale(design.buttonHeight)));
}

void ToolBar::SetImages(ImageList* images) {
  images_ = images;
  if (images) images->SetDpi(Dpi());
  SendMessageW(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
  SetSizes();
  Invalidate();
}

void ToolBar::SetSizes() {
  if (images_) SendMessageW(Handle(), TB_SETBITMAPSIZE, 0, MAKELPARAM(images_->Width(), images_->Height()));
  SendMessageW(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(Scale(design_.buttonWidth), Scale(design_.buttonHeight)));
}

void ToolBar::DpiChanged(int) {
  if (images_) {
    images_->SetDpi(Dpi());
    // Given again, the bar takes the list's new image size.
    SendMessageW(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
  }
  SetSizes();
  if (design_.autoSize) FitToButtons();
}

ToolButton& ToolBar::AddButton(int image, bool check, const std::wstring& caption) {
  UINT id = nextId_++;
  TBBUTTON button{};
  button.iBitmap = image;
  button.idCommand = static_cast<int>(id);
  button.fsState = TBSTATE_ENABLED;
  button.fsStyle = static_cast<BYTE>(BTNS_BUTTON | (check ? BTNS_CHECK : 0));
  SendMessageW(Handle(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
  buttons_.push_back(std::unique_ptr<ToolButton>(new ToolButton(*this, id)));
  buttons_.back()->caption_ = caption;
  if (design_.autoSize) FitToButtons();
  return *buttons_.back();
}

void ToolBar::AddSeparator(int width) {
  TBBUTTON separator{};
  separator.iBitmap = Scale(width);
  separator.fsStyle = BTNS_SEP;
  SendMessageW(Handle(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&separator));
}

void ToolBar::FitToButtons() {
  SIZE size{};
  SendMessageW(Handle(), TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
  SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool ToolBar::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND) {
    for (auto& button : buttons_)
      if (button->id_ == LOWORD(wParam) && button->OnClick) button->OnClick();
    result = 0;
    return true;
  }
  return Window::OnReflected(message, wParam, lParam, result);
}

}  // namespace lumorix::ui
