#include "setup/zip/entry_streams.h"

#include <algorithm>

namespace lumorix::zip {

bool EntryInput::Fill() {
  if (position_ < end_) return true;
  // Nothing past the compressed size and 2 bytes: what lies beyond belongs to
  // the next entry, and a decoder reading on would reuse its bytes.
  int64_t want = kInputBlockSize;
  if (limit_ >= 0) want = std::min(want, limit_ + 2 - bytesRead_);
  if (want <= 0) return false;
  int64_t read = file_.Read(block_, want);
  if (read <= 0) return false;
  bytesRead_ += read;
  position_ = 0;
  end_ = static_cast<size_t>(read);
  return true;
}

bool EntryInput::NextByte(uint8_t& byte) {
  if (!Fill()) return false;
  byte = block_[position_++];
  return true;
}

bool BitInput::Bits(int count, uint32_t& value) {
  while (held_ < count) {
    uint8_t byte;
    if (!input_.NextByte(byte)) return false;
    buffer_ |= uint32_t{byte} << held_;
    held_ += 8;
  }
  value = count == 32 ? buffer_ : buffer_ & ((1u << count) - 1);
  buffer_ = count == 32 ? 0 : buffer_ >> count;
  held_ -= count;
  return true;
}

bool OutputWindow::CopyBack(uint32_t distance, uint32_t length) {
  if (distance == 0 || distance > kOutputWindowSize) return false;
  size_t from = (position_ + kOutputWindowSize - distance) % kOutputWindowSize;
  while (length-- > 0) {
    if (!Put(window_[from])) return false;
    from = (from + 1) % kOutputWindowSize;
  }
  return true;
}

bool OutputWindow::Advance(size_t count) {
  if (limit_ >= 0 && total_ + static_cast<int64_t>(count) > limit_) return Overrun();
  position_ += count;
  total_ += static_cast<int64_t>(count);
  return position_ < kOutputWindowSize || Flush();
}

bool OutputWindow::Flush() {
  bool written = sink_(window_ + flushed_, position_ - flushed_);
  if (position_ == kOutputWindowSize) position_ = 0;
  flushed_ = position_;
  return written;
}

}  // namespace lumorix::zip
