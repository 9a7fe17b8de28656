#pragma once
// The parts of an archive that the entries of one run have used, each from its
// local header to the end of its compressed data. Entries that share bytes are
// how an archive of a few kilobytes expands to gigabytes, so a later entry may
// not reuse what an earlier one claimed.
#include <cstdint>
#include <map>

namespace lumorix::zip {

class ClaimedRanges {
 public:
  // Claims [start, end); false, claiming nothing, when it overlaps a claimed range.
  [[nodiscard]] bool Claim(int64_t start, int64_t end);

 private:
  std::map<int64_t, int64_t> ranges_;  // start to end; never overlapping
};

}  // namespace lumorix::zip
