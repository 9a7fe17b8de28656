#pragma once
// Writes archives in the form of the installer's payload: entries in the order
// given, folders stored (attributes 0x30), files deflated (attributes 0x20),
// general-purpose flags 2, host system MS-DOS, DOS date and time.
#include <cstdint>
#include <string>
#include <vector>

namespace lumorix::zip {

struct PayloadEntry {
  std::string name;  // "/" separated; folders end in "/"
  std::vector<uint8_t> data;
  uint32_t dosDateTime = 0;
};

std::vector<uint8_t> WritePayloadArchive(const std::vector<PayloadEntry>& entries);
// DOS times have no zone: the machine's local time by convention, or UTC for
// an archive that must come out the same on every machine.
enum class TimeZone { Local, Utc };
uint32_t DosDateTime(int64_t unixTime, TimeZone zone = TimeZone::Local);

}  // namespace lumorix::zip
