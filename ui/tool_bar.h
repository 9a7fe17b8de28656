#pragma once
// A tool bar with image buttons; check-style buttons stay down when pressed.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/window.h"

namespace lumorix::ui {

class ImageList;
class ToolBar;

class ToolButton {
 public:
  std::function<void()> OnClick;
  void SetDown(bool down);
  bool Down() const;
  UINT CommandId() const { return id_; }
  // The caption is kept but not drawn: the bar shows images only.
  void SetCaption(const std::wstring& caption) { caption_ = caption; }
  const std::wstring& Caption() const { return caption_; }

 private:
  friend class ToolBar;
  ToolButton(ToolBar& bar, UINT id) : bar_(bar), id_(id) {}
  ToolBar& bar_;
  UINT id_;
  std::wstring caption_;
};

// Sizes in design units.
struct ToolBarDesign {
  int buttonWidth = 23;
  int buttonHeight = 22;
  bool flat = true;
  bool transparent = true;
  bool alignBottom = false;  // docked along the parent's bottom edge
  bool autoSize = false;     // sized to its buttons
};

class ToolBar : public Window {
 public:
  ToolBar(HWND parent, const Bounds& bounds, const ToolBarDesign& design);

  // The bar shows the list's images at the bar's DPI.
  void SetImages(ImageList* images);
  // Adds a button showing `image`; `check` buttons toggle their down state.
  ToolButton& AddButton(int image, bool check = false, const std::wstring& caption = {});
  ToolButton& Button(size_t index) const { return *buttons_[index]; }
  void AddSeparator(int width);
  void FitToButtons();

 protected:
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DpiChanged(int oldDpi) override;

 private:
  void SetSizes();
  ToolBarDesign design_;
  ImageList* images_ = nullptr;
  std::vector<std::unique_ptr<ToolButton>> buttons_;
  UINT nextId_ = 100;
};

}  // namespace lumorix::ui
