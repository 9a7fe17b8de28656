#include "ui/scaled_font.h"

#include "common/design_scale.h"

namespace lumorix::ui {

FontDesign DesignFont(bool bold) {
  FontDesign design;
  if (bold) design.weight = FW_BOLD;
  return design;
}

HFONT ScaledFont::At(int dpi) const {
  for (const auto& [madeFor, font] : fonts_)
    if (madeFor == dpi) return font.Get();
  const std::wstring face = FontFaceAtDpi(design_.face, dpi);
  UniqueFont font(CreateFontW(ScaleFontHeight(design_.height, dpi), 0, 0, 0, design_.weight, FALSE,
                              design_.underline ? TRUE : FALSE, FALSE, design_.charset, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
  HFONT made = font.Get();
  fonts_.emplace_back(dpi, std::move(font));
  return made;
}

}  // namespace lumorix::ui
