#include "common/matroska_length.h"

#include <bit>
#include <optional>

namespace lumorix {

namespace {

constexpr uint32_t kEbmlHeader = 0x1A45DFA3;
constexpr uint32_t kSegment = 0x18538067;
constexpr uint32_t kInfo = 0x1549A966;
constexpr uint32_t kCluster = 0x1F43B675;
constexpr uint32_t kDuration = 0x4489;

// Enough for any real file; a crafted one with more elements is given up on.
constexpr int kMaxElementsPerLevel = 4096;

struct Element {
  uint32_t id = 0;
  uint64_t begin = 0;  // of the payload
  uint64_t end = 0;    // of the payload; the parent's end when the size is unknown
  bool sizeKnown = true;
};

class ElementReader {
 public:
  explicit ElementReader(const ReadAt& read) : read_(read) {}

  // The element at `at`, which must lie within `limit`.
  std::optional<Element> At(uint64_t at, uint64_t limit) const {
    uint64_t id = 0, size = 0;
    int idLength = 0, sizeLength = 0;
    if (!VarInt(at, limit, 4, id, idLength, false)) return std::nullopt;
    if (!VarInt(at + idLength, limit, 8, size, sizeLength, true)) return std::nullopt;
    Element element;
    element.id = static_cast<uint32_t>(id);
    element.begin = at + idLength + sizeLength;
    const uint64_t unknown = (uint64_t{1} << (7 * sizeLength)) - 1;
    if (size == unknown) {
      element.sizeKnown = false;
      element.end = limit;
    } else {
      if (size > limit - element.begin) return std::nullopt;
      element.end = element.begin + size;
    }
    return element;
  }

  // The first child of `parent` with `id`; stops at a cluster (the media
  // itself) or at a child of unknown size, which cannot be stepped over.
  // `searchedAll` says whether a child that is not there is surely absent.
  std::optional<Element> Child(const Element& parent, uint32_t id, bool* searchedAll = nullptr) const {
    if (searchedAll) *searchedAll = false;
    uint64_t at = parent.begin;
    for (int count = 0; count < kMaxElementsPerLevel && at < parent.end; ++count) {
      auto element = At(at, parent.end);
      if (!element) return std::nullopt;
      if (element->id == id) return element;
      if (element->id == kCluster || !element->sizeKnown) return std::nullopt;
      at = element->end;
    }
    if (searchedAll) *searchedAll = at == parent.end;
    return std::nullopt;
  }

  bool Float(const Element& element, double& value) const {
    uint8_t bytes[8];
    const uint64_t size = element.end - element.begin;
    if ((size != 4 && size != 8) || !read_(element.begin, bytes, static_cast<size_t>(size))) return false;
    uint64_t bits = 0;
    for (uint64_t index = 0; index < size; ++index) bits = bits << 8 | bytes[index];
    value = size == 4 ? std::bit_cast<float>(static_cast<uint32_t>(bits)) : std::bit_cast<double>(bits);
    return true;
  }

 private:
  // An EBML variable-length integer of at most `maxLength` bytes: the count of
  // leading zero bits of the first byte says how many follow. IDs keep their
  // length marker; sizes drop it.
  bool VarInt(uint64_t at, uint64_t limit, int maxLength, uint64_t& value, int& length, bool dropMarker) const {
    if (at >= limit) return false;
    uint8_t first = 0;
    if (!read_(at, &first, 1) || first == 0) return false;
    length = 1;
    while (!(first & (0x80 >> (length - 1)))) ++length;
    if (length > maxLength || static_cast<uint64_t>(length) > limit - at) return false;
    uint8_t bytes[8];
    if (!read_(at, bytes, static_cast<size_t>(length))) return false;
    value = dropMarker ? (first & (0xFF >> length)) : first;
    for (int index = 1; index < length; ++index) value = value << 8 | bytes[index];
    return true;
  }

  const ReadAt& read_;
};

}  // namespace

StatedLength MatroskaStatedLength(const ReadAt& read, uint64_t fileSize) {
  ElementReader reader(read);
  auto header = reader.At(0, fileSize);
  if (!header || header->id != kEbmlHeader || !header->sizeKnown) return StatedLength::kUnknown;
  // Top level: the segment follows the header, perhaps after padding.
  Element file{0, header->end, fileSize, true};
  auto segment = reader.Child(file, kSegment);
  if (!segment) return StatedLength::kUnknown;
  auto info = reader.Child(*segment, kInfo);
  if (!info || !info->sizeKnown) return StatedLength::kUnknown;
  bool searchedAll = false;
  auto duration = reader.Child(*info, kDuration, &searchedAll);
  if (!duration) return searchedAll ? StatedLength::kNotStated : StatedLength::kUnknown;
  double value = 0;
  if (!reader.Float(*duration, value)) return StatedLength::kUnknown;
  return value > 0 ? StatedLength::kStated : StatedLength::kNotStated;
}

}  // namespace lumorix
