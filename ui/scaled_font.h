#pragma once
// A font designed for 96 DPI, made at the DPI of each window that draws with it.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "ui/gdi.h"

namespace lumorix::ui {

struct FontDesign {
  int height = -11;  // at 96 DPI; negative: character height
  int weight = FW_NORMAL;
  bool underline = false;
  BYTE charset = DEFAULT_CHARSET;
  std::wstring face = L"MS Sans Serif";
};

// The designed font of every window: "MS Sans Serif", height -11.
FontDesign DesignFont(bool bold = false);

class ScaledFont {
 public:
  explicit ScaledFont(FontDesign design = DesignFont()) : design_(std::move(design)) {}
  ScaledFont(const ScaledFont&) = delete;
  ScaledFont& operator=(const ScaledFont&) = delete;

  // The font at `dpi`, made on first use. Every font made stays until this
  // object goes, so a window still drawing with an earlier one is safe.
  HFONT At(int dpi) const;
  const FontDesign& Design() const { return design_; }

 private:
  FontDesign design_;
  mutable std::vector<std::pair<int, UniqueFont>> fonts_;
};

}  // namespace lumorix::ui
