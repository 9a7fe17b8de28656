#pragma once
// The streams an entry is decoded through: compressed input read in 4,096-byte
// blocks, never more than 2 bytes past the compressed size, and one
// 32,768-byte output window, flushed to the target whenever it is full and
// once at the end.
#include <cstdint>
#include <functional>

#include "setup/zip/file_system.h"

namespace lumorix::zip {

inline constexpr size_t kInputBlockSize = 4096;
inline constexpr size_t kOutputWindowSize = 32768;

class EntryInput {
 public:
  // `compressedSize` < 0: no limit.
  EntryInput(ReadOnlyFile& file, int64_t compressedSize) : file_(file), limit_(compressedSize) {}

  // The bytes not yet consumed; refills once when empty. Empty when input ran out.
  bool Fill();
  const uint8_t* Data() const { return block_ + position_; }
  size_t Available() const { return end_ - position_; }
  void Consume(size_t count) { position_ += count; }
  bool NextByte(uint8_t& byte);
  int64_t BytesRead() const { return bytesRead_; }

 private:
  ReadOnlyFile& file_;
  int64_t limit_;
  int64_t bytesRead_ = 0;
  uint8_t block_[kInputBlockSize];
  size_t position_ = 0;
  size_t end_ = 0;
};

// Bits taken least significant first, as every ZIP method but deflate stores them.
class BitInput {
 public:
  explicit BitInput(EntryInput& input) : input_(input) {}
  // false when the input ran out.
  bool Bits(int count, uint32_t& value);
  bool Bit(uint32_t& value) { return Bits(1, value); }

 private:
  EntryInput& input_;
  uint32_t buffer_ = 0;
  int held_ = 0;
};

class OutputWindow {
 public:
  // Takes each flushed run of bytes; false means the write failed.
  using Sink = std::function<bool(const uint8_t* bytes, size_t count)>;
  // `limit` < 0: no limit. Output past the limit is refused, and none of it reaches the sink.
  explicit OutputWindow(Sink sink, int64_t limit = -1) : sink_(std::move(sink)), limit_(limit) {}

  [[nodiscard]] bool Put(uint8_t byte) {
    if (limit_ >= 0 && total_ >= limit_) return Overrun();
    window_[position_++] = byte;
    ++total_;
    return position_ < kOutputWindowSize || Flush();
  }
  // Repeats `length` bytes from `distance` back; bytes before the start read as zeros.
  [[nodiscard]] bool CopyBack(uint32_t distance, uint32_t length);
  // Room in the window for a decoder that writes in place.
  uint8_t* Free() { return window_ + position_; }
  size_t Room() const { return kOutputWindowSize - position_; }
  [[nodiscard]] bool Advance(size_t count);
  [[nodiscard]] bool Flush();
  int64_t Total() const { return total_; }
  // Whether the decoder produced more than the limit.
  bool Overran() const { return overran_; }

 private:
  bool Overrun() {
    overran_ = true;
    return false;
  }

  Sink sink_;
  int64_t limit_;
  bool overran_ = false;
  uint8_t window_[kOutputWindowSize] = {};
  size_t position_ = 0;
  size_t flushed_ = 0;
  int64_t total_ = 0;
};

}  // namespace lumorix::zip
