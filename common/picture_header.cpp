#include "common/picture_header.h"

#include <algorithm>
#include <cstdlib>

namespace lumorix {

namespace {

uint32_t Little(std::string_view bytes, size_t at, size_t count) {
  uint32_t value = 0;
  for (size_t i = count; i-- > 0;) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

uint32_t Big32(std::string_view bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

// A signed 32-bit header field (a bottom-up bitmap has a negative height) as its magnitude.
uint32_t Magnitude(uint32_t field) {
  int64_t value = static_cast<int32_t>(field);
  return static_cast<uint32_t>(std::llabs(value));
}

// A device-independent bitmap's header: the core form with 16-bit sizes, or any later one with 32-bit sizes.
std::optional<PictureSize> DibHeaderSize(std::string_view bytes, size_t at) {
  if (bytes.size() < at + 12) return std::nullopt;
  const uint32_t headerSize = Little(bytes, at, 4);
  if (headerSize == 12) return PictureSize{Little(bytes, at + 4, 2), Little(bytes, at + 6, 2)};
  if (headerSize < 16) return std::nullopt;
  return PictureSize{Magnitude(Little(bytes, at + 4, 4)), Magnitude(Little(bytes, at + 8, 4))};
}

}  // namespace

std::optional<PictureSize> PngClaimedSize(std::string_view bytes) {
  // The signature, then the first chunk, which must be the 13-byte header.
  if (bytes.size() < 24 || bytes.substr(0, 8) != "\x89PNG\r\n\x1A\n" || bytes.substr(12, 4) != "IHDR")
    return std::nullopt;
  return PictureSize{Big32(bytes, 16), Big32(bytes, 20)};
}

std::optional<PictureSize> BmpClaimedSize(std::string_view bytes) {
  if (bytes.size() < 14 || bytes.substr(0, 2) != "BM") return std::nullopt;
  return DibHeaderSize(bytes, 14);
}

std::optional<PictureSize> IcoClaimedSize(std::string_view bytes) {
  if (bytes.size() < 6 || Little(bytes, 0, 2) != 0 || Little(bytes, 2, 2) != 1) return std::nullopt;
  const size_t count = Little(bytes, 4, 2);
  if (count == 0 || bytes.size() < 6 + 16 * count) return std::nullopt;
  PictureSize largest;
  for (size_t i = 0; i < count; ++i) {
    const size_t entry = 6 + 16 * i;
    // A directory size of 0 stands for 256.
    largest.width = std::max(largest.width, Little(bytes, entry, 1) ? Little(bytes, entry, 1) : 256u);
    largest.height = std::max(largest.height, Little(bytes, entry + 1, 1) ? Little(bytes, entry + 1, 1) : 256u);
    const size_t offset = Little(bytes, entry + 12, 4);
    if (offset >= bytes.size()) continue;  // nothing there to load
    std::string_view image = bytes.substr(offset);
    std::optional<PictureSize> own = PngClaimedSize(image);
    if (!own) {
      own = DibHeaderSize(image, 0);
      if (own) own->height /= 2;  // the colour image and its mask, one above the other
    }
    if (!own) continue;
    largest.width = std::max(largest.width, own->width);
    largest.height = std::max(largest.height, own->height);
  }
  return largest;
}

}  // namespace lumorix
