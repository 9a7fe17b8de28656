#pragma once
// The size a picture file claims in its header, read before anything is
// allocated for it: a damaged or hostile file may claim far more pixels than
// it holds, and the 32-bit player must not reserve a gigabyte for them.
#include <cstdint>
#include <optional>
#include <string_view>

namespace lumorix {

struct PictureSize {
  uint32_t width = 0;
  uint32_t height = 0;
};

// Nothing when the bytes do not start as such a file.
std::optional<PictureSize> PngClaimedSize(std::string_view bytes);
std::optional<PictureSize> BmpClaimedSize(std::string_view bytes);
// The largest width and the largest height among the icon's images, as its
// directory and each image's own header give them.
std::optional<PictureSize> IcoClaimedSize(std::string_view bytes);

// A skin's pictures are buttons on a window: 1024 pixels a side is plenty.
inline constexpr uint32_t kMaxSkinPictureSide = 1024;
inline bool FitsSkin(const PictureSize& size) {
  return size.width <= kMaxSkinPictureSide && size.height <= kMaxSkinPictureSide;
}

}  // namespace lumorix
