#pragma once
// The windows' fixed layouts are designed in units of a 96-DPI display. These
// rules turn them into pixels of a display at another DPI: places and sizes,
// font heights, the face of the design font, which of several pictures to draw
// from, and the resampling of a picture to its drawn size.
#include <cstddef>
#include <string>
#include <vector>

#include "common/png_image.h"

namespace lumorix {

inline constexpr int kDesignDpi = 96;

// A length in design units as pixels at `dpi`, rounded to nearest with halves
// away from zero (as MulDiv). A DPI below 1 counts as the design's.
int ScaleToDpi(int designUnits, int dpi);
// Pixels at one DPI as pixels at another (a place that has no design).
int RescaleDpi(int pixels, int fromDpi, int toDpi);

// A run along one axis: where it starts and how long it is.
struct ScaledSpan {
  int start = 0;
  int length = 0;
  bool operator==(const ScaledSpan&) const = default;
};
// Both ends are scaled, so runs that meet in the design still meet at every DPI.
ScaledSpan ScaleSpan(int start, int length, int dpi);

// A font height of the design (negative: character height, positive: cell
// height, 0: the default) at `dpi`; a height that was not 0 stays at least one
// pixel high.
int ScaleFontHeight(int designHeight, int dpi);
// "MS Sans Serif" is a bitmap font drawn at its designed sizes only; away from
// 96 DPI its outline twin "Microsoft Sans Serif" (same metrics) takes its
// place. Other faces stay.
std::wstring FontFaceAtDpi(const std::wstring& face, int dpi);

// Of pictures of the given widths, the one to draw a picture `wanted` pixels
// wide from: the smallest that is at least as wide, else the widest. Empty
// list: 0.
size_t PickArt(const std::vector<int>& widths, int wanted);

// The picture resampled to width x height by area averaging: each new pixel is
// the mean of the source area it covers, weighted by coverage (premultiplied
// alpha averages correctly). Sharp at whole multiples, no ringing, no blur
// beyond one pixel's edge. An empty source or size gives an empty picture of
// that size filled with clear pixels.
PremultipliedImage ResampleArea(const PremultipliedImage& source, int width, int height);

}  // namespace lumorix
