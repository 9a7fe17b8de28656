#include "common/video_geometry.h"

#include <algorithm>

#include <cstdint>
#include <cstdlib>

#include "common/format.h"

namespace lumorix {

int MulDivRounded(int a, int b, int c) {
  if (c == 0) return 0;
  std::int64_t product = static_cast<std::int64_t>(a) * b;
  std::int64_t half = std::llabs(c) / 2;
  bool negative = (product < 0) != (c < 0);
  std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

PictureRect LetterBoxFit(int clientWidth, int clientHeight, int aspectX, int aspectY) {
  if (aspectX <= 0 || aspectY <= 0) return {0, 0, clientWidth, clientHeight};
  PictureRect fit;
  if (static_cast<double>(clientHeight) / aspectY > static_cast<double>(clientWidth) / aspectX) {
    fit.width = clientWidth;
    fit.height = MulDivRounded(aspectY, clientWidth, aspectX);
  } else {
    fit.height = clientHeight;
    fit.width = MulDivRounded(aspectX, clientHeight, aspectY);
  }
  fit.left = (clientWidth - fit.width) / 2;
  fit.top = (clientHeight - fit.height) / 2;
  return fit;
}

PictureRect FitNoLarger(int width, int height, int limitWidth, int limitHeight) {
  if (width <= limitWidth && height <= limitHeight) return {0, 0, width, height};
  PictureRect fit = LetterBoxFit(limitWidth, limitHeight, width, height);
  return {0, 0, std::max(1, fit.width), std::max(1, fit.height)};
}

PictureRect ZoomedSource(long width, long height, int zoom) {
  if (width <= 0 || height <= 0) return {0, 0, static_cast<int>(width), static_cast<int>(height)};
  double w = width - static_cast<double>(zoom) * width / 100.0;
  double h = w * height / width;
  return {static_cast<int>((width - w) / 2), static_cast<int>((height - h) / 2), static_cast<int>(w),
          static_cast<int>(h)};
}

std::optional<std::string> DigitalZoomRangeError(int zoom) {
  if (zoom >= 0 && zoom <= kMaxDigitalZoom) return std::nullopt;
  return Format("Value %d out of range. Value must bee between 0 -> 99", zoom);
}

}  // namespace lumorix
