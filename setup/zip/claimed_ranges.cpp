#include "setup/zip/claimed_ranges.h"

#include <iterator>

namespace lumorix::zip {

bool ClaimedRanges::Claim(int64_t start, int64_t end) {
  auto next = ranges_.lower_bound(start);
  if (next != ranges_.end() && next->first < end) return false;
  if (next != ranges_.begin() && std::prev(next)->second > start) return false;
  ranges_.emplace_hint(next, start, end);
  return true;
}

}  // namespace lumorix::zip
