#pragma once
// The records, report statuses and results of the payload archive reader.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setup/zip/file_system.h"

namespace lumorix::zip {

// One central-directory cursor per scan.
struct TZipRec {
  std::vector<uint8_t> Buffer;  // the central directory plus the end record's first 4 bytes
  int32_t BufferSize = 0;
  int32_t Cursor = 0;
  uint32_t DateTime = 0;  // DOS time (low 16 bits) and date (high 16 bits)
  int32_t Size = 0;
  int32_t CompressedSize = 0;
  int32_t HeaderOffset = 0;
  std::string FileName;  // "/" turned into "\"
  uint16_t Method = 0;
  uint8_t Attributes = 0;
  std::unique_ptr<ReadOnlyFile> ArchiveFile;  // open while a scan is open
  uint16_t Flags = 0;                         // general-purpose flags of the entry
};

struct TReportRec {
  std::string FileName;
  uint32_t DateTime = 0;
  int32_t Size = 0;
  int32_t CompressedSize = 0;
  uint32_t Attributes = 0;
  uint16_t Method = 0;
  uint8_t Ratio = 0;
  int32_t Status = 0;
  bool IsDirectory = false;
};

using ReportHandler = std::function<void(int32_t count, const TReportRec& report)>;

enum ReportStatus : int32_t {
  rsFileStarting = -1000,
  rsFileProgress = -1001,
  rsFileDone = -1002,
  rsFileFailed = -1003,
  rsArchiveStarting = -1004,
  rsArchiveDone = -1005,
};

enum ZipResult : int32_t {
  zrOk = 0,
  zrCrcMismatch = -1,
  zrWriteFailed = -2,
  zrReadFailed = -3,
  zrBadData = -4,
  // The entry's name would put it outside the target folder (a ".." part, a
  // leading separator, a drive or stream colon) or names a device (CON, NUL,
  // COM1, ... in any part). Reported and skipped.
  zrUnsafeName = -5,
  zrUnsupportedMethod = -6,
  zrEncrypted = -7,
  zrBusy = -8,
  zrNoCentralDirectory = -9,
  zrNoMoreEntries = -10,
  zrCannotOpen = -11,
  zrNotZip = -12,
  // The entry decodes to more than its recorded uncompressed size; the writing
  // stopped there. Reported and skipped.
  zrSizeExceeded = -13,
  zrArchiveOpenFailed = -14,
  // The entry's local header or data shares bytes with an earlier entry's.
  // Reported and skipped.
  zrOverlappingEntry = -15,
  zrMissingArgument = -500,
};

// The count reported when a run ends early.
inline constexpr int32_t kRunAbortedCount = -100;

}  // namespace lumorix::zip
