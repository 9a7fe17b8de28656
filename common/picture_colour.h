#pragma once
// How a picture's samples become the colours on the screen: the YUV matrix
// and range a clip is in, the conversion to RGB, and the colour window's six
// values as the adjustments the pixel shader applies. Plain arithmetic.
#include <array>
#include <optional>

namespace lumorix {

enum class YuvMatrix { kBt601, kBt709 };
enum class YuvRange { kLimited, kFull };

// What the clip says, else by size: high definition (from 1280 wide or 720
// high) is BT.709, anything smaller BT.601, as players and decoders assume.
YuvMatrix MatrixFor(int width, int height, std::optional<YuvMatrix> stated);

// The 3 x 4 matrix, row by row, that turns (Y, Cb, Cr, 1) with each sample
// in 0..1 (8-bit value / 255) into (R, G, B), each 0..1 for the picture's
// black to white.
std::array<float, 12> YuvToRgbMatrix(YuvMatrix matrix, YuvRange range);

// The colour window's values (the overlay's scale, Part of the colour
// control) as the shader's adjustments. The normal value of each leaves the
// picture unchanged.
struct PictureAdjustment {
  float brightness = 0;  // added to the luma, -0.5..0.5
  float contrast = 1;    // luma scaled around mid grey, 0..2
  float saturation = 1;  // chroma scaled, 0..2
  float hueDegrees = 0;  // chroma turned, -180..180
  float gamma = 1;       // RGB raised to 1 / gamma, 1..6
  float sharpness = 0;   // unsharp mask on the luma: -1 (soft) .. 2 (sharp)
  bool operator==(const PictureAdjustment&) const = default;
};

PictureAdjustment AdjustmentFor(int brightness, int contrast, int hue, int saturation, int sharpness, int gamma);

}  // namespace lumorix
