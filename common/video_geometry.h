#pragma once
// Where the picture goes: the letter-box fit of the overlay and the source
// rectangle of a digital zoom. Plain arithmetic, shared by the video window.
#include <optional>
#include <string>

namespace lumorix {

struct PictureRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PictureRect&) const = default;
};

// a * b / c rounded half away from zero, as Windows' MulDiv; 0 when c is 0.
int MulDivRounded(int a, int b, int c);

// The picture of aspect ax:ay fitted whole into a client of cw x ch and
// centred. A picture without an aspect (a zero or negative side) fills the client.
PictureRect LetterBoxFit(int clientWidth, int clientHeight, int aspectX, int aspectY);

// A width x height picture no larger than limitWidth x limitHeight: as it is
// when it fits, else fitted with its shape kept (at least a pixel each way).
PictureRect FitNoLarger(int width, int height, int limitWidth, int limitHeight);

// The source rectangle left after cutting `zoom` per cent of a width x height picture,
// centred, with the picture's aspect kept.
PictureRect ZoomedSource(long width, long height, int zoom);

inline constexpr int kMaxDigitalZoom = 99;

// The error text for a zoom outside 0..99, none for a valid one.
std::optional<std::string> DigitalZoomRangeError(int zoom);

}  // namespace lumorix
