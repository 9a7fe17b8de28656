#pragma once
// Picture files chosen by their extension (PNG, BMP, ICO, WMF, EMF), loaded
// into 32-bit top-down bitmaps with premultiplied alpha, the form `Picture`
// blends over its background whenever it paints.
#include <windows.h>

#include <optional>
#include <string>

#include "common/png_image.h"
#include "ui/gdi.h"

namespace lumorix::ui {

UniqueBitmap BitmapFromImage(const PremultipliedImage& image);
// The pixels of any bitmap as premultiplied 0xAARRGGBB. A bitmap without an
// alpha channel (fewer than 32 bits, or a fourth byte that is 0 everywhere)
// is opaque, but for pixels of the `transparent` colour, which are clear.
PremultipliedImage ImageFromBitmap(HBITMAP bitmap, std::optional<COLORREF> transparent = std::nullopt);

// Raises `Exception` with "Unknown picture file extension (.ext)" before
// anything is opened, "Cannot open file <path>" when the file cannot be read,
// or "<Kind> image is not valid" when its contents are not such a picture.
UniqueBitmap LoadPictureFile(const std::wstring& path);

// A PNG kept as a raw-data resource of `module`; empty when there is none or it is damaged.
UniqueBitmap LoadPngResource(HMODULE module, const wchar_t* name);

}  // namespace lumorix::ui
