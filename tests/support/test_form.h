#pragma once
// A plain form for tests that need a parent window.
#include <string>

#include "ui/form.h"

namespace lumorix::test {

inline ui::FormDesign TestFormDesign(const std::wstring& caption, int width, int height,
                                     ui::BorderStyle border = ui::BorderStyle::Sizeable) {
  ui::FormDesign design;
  design.caption = caption;
  design.clientWidth = width;
  design.clientHeight = height;
  design.border = border;
  return design;
}

class TestForm : public ui::Form {
 public:
  explicit TestForm(const std::wstring& caption = L"Test", int width = 300, int height = 200,
                    ui::BorderStyle border = ui::BorderStyle::Sizeable)
      : ui::Form(TestFormDesign(caption, width, height, border)) {}
};

}  // namespace lumorix::test
