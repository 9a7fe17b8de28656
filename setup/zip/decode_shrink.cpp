// Method 1, shrinking: LZW with codes of 9 to 13 bits. Code 256 announces a
// control code: 1 widens the codes by one bit, 2 frees every string that is
// no prefix of another (a partial clear). New strings take the lowest free code.
#include <vector>

#include "setup/zip/decoders.h"
#include "setup/zip/zip_types.h"

namespace lumorix::zip {

namespace {

constexpr int kFirstCodeSize = 9;
constexpr int kLastCodeSize = 13;
constexpr uint32_t kCodeCount = 1u << kLastCodeSize;
constexpr uint32_t kControlCode = 256;
constexpr uint32_t kFirstFreeCode = 257;
constexpr uint32_t kUnused = 0xFFFFFFFF;

class StringTable {
 public:
  StringTable() : parent_(kCodeCount, kUnused), last_(kCodeCount, 0) {
    for (uint32_t code = 0; code < 256; ++code) {
      parent_[code] = kCodeCount;  // a root: one byte
      last_[code] = static_cast<uint8_t>(code);
    }
  }
  bool Defined(uint32_t code) const { return parent_[code] != kUnused; }

  // The string of `code`, written backwards into `scratch`; returns its first byte.
  bool Expand(uint32_t code, std::vector<uint8_t>& scratch) const {
    scratch.clear();
    while (code != kCodeCount) {
      if (code >= kCodeCount || parent_[code] == kUnused || scratch.size() >= kCodeCount) return false;
      scratch.push_back(last_[code]);
      code = parent_[code];
    }
    return true;
  }

  void Add(uint32_t prefix, uint8_t byte) {
    while (next_ < kCodeCount && parent_[next_] != kUnused) ++next_;
    if (next_ >= kCodeCount) return;  // the table is full
    parent_[next_] = prefix;
    last_[next_] = byte;
  }
  uint32_t NextFree() {
    while (next_ < kCodeCount && parent_[next_] != kUnused) ++next_;
    return next_;
  }

  void PartialClear() {
    std::vector<bool> isPrefix(kCodeCount, false);
    for (uint32_t code = kFirstFreeCode; code < kCodeCount; ++code)
      if (parent_[code] != kUnused && parent_[code] < kCodeCount) isPrefix[parent_[code]] = true;
    for (uint32_t code = kFirstFreeCode; code < kCodeCount; ++code)
      if (!isPrefix[code]) parent_[code] = kUnused;
    next_ = kFirstFreeCode;
  }

 private:
  std::vector<uint32_t> parent_;
  std::vector<uint8_t> last_;
  uint32_t next_ = kFirstFreeCode;
};

}  // namespace

int32_t DecodeShrunk(EntryInput& input, OutputWindow& output, int64_t size) {
  BitInput bits(input);
  StringTable table;
  std::vector<uint8_t> text;
  int codeSize = kFirstCodeSize;
  uint32_t previous = kUnused;
  while (size < 0 || output.Total() < size) {
    uint32_t code;
    if (!bits.Bits(codeSize, code)) return size < 0 ? zrOk : zrReadFailed;
    if (code == kControlCode) {
      uint32_t control;
      if (!bits.Bits(codeSize, control)) return zrReadFailed;
      if (control == 1) {
        if (codeSize == kLastCodeSize) return zrBadData;
        ++codeSize;
      } else if (control == 2) {
        table.PartialClear();
      } else {
        return zrBadData;
      }
      continue;
    }
    if (previous == kUnused) {  // the first code is a byte of its own
      if (code > 255) return zrBadData;
      if (!output.Put(static_cast<uint8_t>(code))) return zrWriteFailed;
      previous = code;
      continue;
    }
    uint8_t first;
    if (table.Defined(code)) {
      if (!table.Expand(code, text)) return zrBadData;
      first = text.back();
      table.Add(previous, first);
    } else {
      // A code not yet defined is the one being made: previous string plus its own first byte.
      if (code != table.NextFree() || !table.Expand(previous, text)) return zrBadData;
      first = text.back();
      table.Add(previous, first);
      if (!table.Expand(code, text)) return zrBadData;
    }
    for (auto byte = text.rbegin(); byte != text.rend(); ++byte)
      if (!output.Put(*byte)) return zrWriteFailed;
    previous = code;
  }
  return zrOk;
}

}  // namespace lumorix::zip
