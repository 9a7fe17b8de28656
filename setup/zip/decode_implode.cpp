// Method 6, imploding: a sliding dictionary of 4 or 8 KB with Shannon-Fano
// coded lengths, distances and (with three trees) literals.
#include <algorithm>
#include <array>
#include <vector>

#include "setup/zip/decoders.h"
#include "setup/zip/zip_types.h"

namespace lumorix::zip {

namespace {

// A Shannon-Fano code as a binary tree walked bit by bit (least significant bit first).
class ShannonFanoTree {
 public:
  // Reads the compressed bit-length table of `symbols` codes and builds the tree.
  int32_t Read(BitInput& bits, int symbols) {
    uint32_t bytes;
    if (!bits.Bits(8, bytes)) return zrReadFailed;
    std::vector<int> lengths;
    for (uint32_t i = 0; i <= bytes; ++i) {
      uint32_t packed;
      if (!bits.Bits(8, packed)) return zrReadFailed;
      int length = static_cast<int>(packed & 0x0F) + 1;
      int count = static_cast<int>(packed >> 4) + 1;
      for (int j = 0; j < count; ++j) lengths.push_back(length);
    }
    if (static_cast<int>(lengths.size()) != symbols) return zrBadData;
    return Build(lengths);
  }

  // The next symbol, or -1 when the input ran out or the bits name no code.
  int Decode(BitInput& bits) const {
    int node = 0;
    for (;;) {
      uint32_t bit;
      if (!bits.Bit(bit)) return -1;
      int next = nodes_[static_cast<size_t>(node)].child[bit];
      if (next < 0) return -1;
      if (nodes_[static_cast<size_t>(next)].symbol >= 0) return nodes_[static_cast<size_t>(next)].symbol;
      node = next;
    }
  }

 private:
  struct Node {
    int child[2] = {-1, -1};
    int symbol = -1;
  };

  int32_t Build(const std::vector<int>& lengths) {
    // Codes go to the symbols sorted by length, then value, counting down from the longest.
    std::vector<int> order(lengths.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return lengths[a] < lengths[b]; });
    std::vector<uint32_t> codes(lengths.size());
    uint32_t code = 0, increment = 0;
    int lastLength = 0;
    for (int i = static_cast<int>(order.size()) - 1; i >= 0; --i) {
      code += increment;
      int length = lengths[static_cast<size_t>(order[static_cast<size_t>(i)])];
      if (length != lastLength) {
        lastLength = length;
        increment = 1u << (16 - length);
      }
      codes[static_cast<size_t>(order[static_cast<size_t>(i)])] = code;
    }
    nodes_.assign(1, Node{});
    for (size_t symbol = 0; symbol < lengths.size(); ++symbol) {
      int node = 0;
      int length = lengths[symbol];
      for (int bit = 0; bit < length; ++bit) {
        // The code's most significant bit comes first in the stream.
        int branch = (codes[symbol] >> (15 - bit)) & 1;
        int next = nodes_[static_cast<size_t>(node)].child[branch];
        if (next < 0) {
          next = static_cast<int>(nodes_.size());
          nodes_[static_cast<size_t>(node)].child[branch] = next;
          nodes_.push_back(Node{});
        } else if (nodes_[static_cast<size_t>(next)].symbol >= 0) {
          return zrBadData;  // a code that is the prefix of another
        }
        node = next;
      }
      if (nodes_[static_cast<size_t>(node)].child[0] >= 0 || nodes_[static_cast<size_t>(node)].child[1] >= 0)
        return zrBadData;
      nodes_[static_cast<size_t>(node)].symbol = static_cast<int>(symbol);
    }
    return zrOk;
  }

  std::vector<Node> nodes_;
};

}  // namespace

int32_t DecodeImploded(EntryInput& input, OutputWindow& output, uint16_t flags, int64_t size) {
  const bool bigDictionary = (flags & 0x02) != 0;
  const bool literalTree = (flags & 0x04) != 0;
  const int lowDistanceBits = bigDictionary ? 7 : 6;
  const uint32_t minimumMatch = literalTree ? 3 : 2;
  BitInput bits(input);
  ShannonFanoTree literals, lengths, distances;
  int32_t result;
  if (literalTree && (result = literals.Read(bits, 256)) != zrOk) return result;
  if ((result = lengths.Read(bits, 64)) != zrOk) return result;
  if ((result = distances.Read(bits, 64)) != zrOk) return result;

  while (size < 0 || output.Total() < size) {
    uint32_t isLiteral;
    if (!bits.Bit(isLiteral)) return size < 0 ? zrOk : zrReadFailed;
    if (isLiteral) {
      uint32_t byte;
      if (literalTree) {
        int symbol = literals.Decode(bits);
        if (symbol < 0) return zrBadData;
        byte = static_cast<uint32_t>(symbol);
      } else if (!bits.Bits(8, byte)) {
        return zrReadFailed;
      }
      if (!output.Put(static_cast<uint8_t>(byte))) return zrWriteFailed;
      continue;
    }
    uint32_t low;
    if (!bits.Bits(lowDistanceBits, low)) return zrReadFailed;
    int high = distances.Decode(bits);
    if (high < 0) return zrBadData;
    uint32_t distance = ((static_cast<uint32_t>(high) << lowDistanceBits) | low) + 1;
    int lengthSymbol = lengths.Decode(bits);
    if (lengthSymbol < 0) return zrBadData;
    uint32_t length = static_cast<uint32_t>(lengthSymbol);
    if (length == 63) {
      uint32_t extra;
      if (!bits.Bits(8, extra)) return zrReadFailed;
      length += extra;
    }
    length += minimumMatch;
    if (size >= 0 && length > size - output.Total()) length = static_cast<uint32_t>(size - output.Total());
    if (!output.CopyBack(distance, length)) return zrWriteFailed;
  }
  return zrOk;
}

}  // namespace lumorix::zip
