#include "ui/group_box.h"

namespace lumorix::ui {

GroupBox::GroupBox(HWND parent, const Bounds& bounds, const std::wstring& caption) {
  CreateControl(L"BUTTON", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, WS_EX_CONTROLPARENT, parent,
                bounds, caption);
}

}  // namespace lumorix::ui
