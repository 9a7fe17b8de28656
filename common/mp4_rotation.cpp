#include "common/mp4_rotation.h"

#include <cstdlib>
#include <optional>

namespace lumorix {

namespace {

// A box's payload: where it starts and ends in the file.
struct Box {
  uint32_t type = 0;
  uint64_t begin = 0;
  uint64_t end = 0;
};

constexpr uint32_t Tag(const char (&name)[5]) {
  return uint32_t(uint8_t(name[0])) << 24 | uint32_t(uint8_t(name[1])) << 16 | uint32_t(uint8_t(name[2])) << 8 |
         uint32_t(uint8_t(name[3]));
}

// Enough for any real file; a crafted one with more boxes is given up on.
constexpr int kMaxBoxesPerLevel = 4096;

class BoxReader {
 public:
  BoxReader(const ReadAt& read) : read_(read) {}

  std::optional<uint32_t> Word(uint64_t offset) const {
    uint8_t bytes[4];
    if (!read_(offset, bytes, 4)) return std::nullopt;
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
  }

  // The first child of `parent` of type `type` found from `from`, within the parent.
  std::optional<Box> Find(const Box& parent, uint32_t type, uint64_t from) const {
    uint64_t at = from;
    for (int count = 0; count < kMaxBoxesPerLevel && parent.end - at >= 8; ++count) {
      auto size = Word(at), name = Word(at + 4);
      if (!size || !name) return std::nullopt;
      uint64_t header = 8, length = *size;
      if (length == 1) {
        auto high = Word(at + 8), low = Word(at + 12);
        if (!high || !low) return std::nullopt;
        header = 16;
        length = uint64_t(*high) << 32 | *low;
      } else if (length == 0) {
        length = parent.end - at;  // to the end of the parent
      }
      if (length < header || length > parent.end - at) return std::nullopt;
      if (*name == type) return Box{*name, at + header, at + length};
      at += length;
    }
    return std::nullopt;
  }

  std::optional<Box> Child(const Box& parent, uint32_t type) const { return Find(parent, type, parent.begin); }

 private:
  const ReadAt& read_;
};

bool IsVideoTrack(const BoxReader& reader, const Box& track) {
  auto media = reader.Child(track, Tag("mdia"));
  auto handler = media ? reader.Child(*media, Tag("hdlr")) : std::nullopt;
  if (!handler || handler->end - handler->begin < 12) return false;
  return reader.Word(handler->begin + 8) == Tag("vide");
}

std::optional<int> TrackQuarterTurns(const BoxReader& reader, const Box& track) {
  auto header = reader.Child(track, Tag("tkhd"));
  if (!header || header->end - header->begin < 4) return std::nullopt;
  auto versionAndFlags = reader.Word(header->begin);
  if (!versionAndFlags) return std::nullopt;
  uint64_t matrix = header->begin + ((*versionAndFlags >> 24) == 1 ? 52 : 40);
  if (header->end < matrix + 36) return std::nullopt;
  int32_t values[5];  // a, b, u, c, d
  for (int index = 0; index < 5; ++index) {
    auto word = reader.Word(matrix + 4 * index);
    if (!word) return std::nullopt;
    values[index] = static_cast<int32_t>(*word);
  }
  return MatrixQuarterTurns(values[0], values[1], values[3], values[4]);
}

}  // namespace

int MatrixQuarterTurns(int32_t a, int32_t b, int32_t c, int32_t d) {
  // A quarter turn has two zero entries and two of the same size; anything
  // else (a mirror, a skew, a free angle) is shown as stored.
  auto zero = [](int32_t value) { return std::abs(static_cast<int64_t>(value)) < 0x100; };
  auto positive = [&](int32_t value) { return !zero(value) && value > 0; };
  auto negative = [&](int32_t value) { return !zero(value) && value < 0; };
  if (zero(b) && zero(c) && negative(a) && negative(d)) return 2;
  if (zero(a) && zero(d) && positive(b) && negative(c)) return 1;
  if (zero(a) && zero(d) && negative(b) && positive(c)) return 3;
  return 0;
}

Mp4VideoTrack FindMp4VideoTrack(const ReadAt& read, uint64_t fileSize) {
  BoxReader reader(read);
  Box file{0, 0, fileSize};
  auto movie = reader.Child(file, Tag("moov"));
  if (!movie) return {};
  for (auto track = reader.Child(*movie, Tag("trak")); track; track = reader.Find(*movie, Tag("trak"), track->end))
    if (IsVideoTrack(reader, *track)) return {true, TrackQuarterTurns(reader, *track).value_or(0)};
  return {};
}

}  // namespace lumorix
