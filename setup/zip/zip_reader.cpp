#include "setup/zip/zip_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "setup/zip/claimed_ranges.h"
#include "setup/zip/decoders.h"
#include "setup/zip/entry_streams.h"
#include "setup/zip/file_system.h"
#include "setup/zip/target_files.h"

namespace lumorix::zip {

namespace {

constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kEndSignature = 0x06054B50;
constexpr uint32_t kDescriptorSignature = 0x08074B50;
constexpr int64_t kEndRecordSize = 22;
constexpr int64_t kCentralHeaderSize = 46;
constexpr int64_t kLocalHeaderSize = 30;
constexpr int64_t kSearchWindow = 4096;
constexpr int64_t kDirectoryCap = 0x3FFF0;  // 262,128 bytes
constexpr uint32_t kBusyTimeout = 30000;

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

bool ReadExactly(ReadOnlyFile& file, int64_t offset, uint8_t* buffer, int64_t count) {
  if (!file.Seek(offset)) return false;
  int64_t done = 0;
  while (done < count) {
    int64_t read = file.Read(buffer + done, count - done);
    if (read <= 0) return false;
    done += read;
  }
  return true;
}

std::string Slashes(std::string path, char from, char to) {
  std::replace(path.begin(), path.end(), from, to);
  return path;
}

// The reader's state: one per process.
struct ReaderState {
  bool busy = false;
  uint32_t busySince = 0;
  std::shared_ptr<const ReportHandler> handler;
  TReportRec report;
};

ReaderState& State() {
  static ReaderState state;
  return state;
}

void Report(int32_t count) {
  // Held for the call: a handler may start a run of its own, which swaps the current handler.
  std::shared_ptr<const ReportHandler> handler = State().handler;
  if (handler && *handler) (*handler)(count, State().report);
}

// A run's handler and report record; a run started from inside a handler
// gets its own, and the outer run's come back when it ends.
class RunScope {
 public:
  RunScope() : savedHandler_(State().handler), savedReport_(State().report) {}
  ~RunScope() {
    State().handler = savedHandler_;
    State().report = savedReport_;
  }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;
  void SetHandler(const ReportHandler& handler) { State().handler = std::make_shared<const ReportHandler>(handler); }

 private:
  std::shared_ptr<const ReportHandler> savedHandler_;
  TReportRec savedReport_;
};

// Sizes the central directory gives for the entry being extracted.
struct CentralSizes {
  int64_t compressed;
  int64_t uncompressed;
};

class BusyMark {
 public:
  BusyMark() {
    State().busy = true;
    State().busySince = TickCount();
  }
  ~BusyMark() { State().busy = false; }
  BusyMark(const BusyMark&) = delete;
  BusyMark& operator=(const BusyMark&) = delete;
};

// The CRC a data descriptor after the compressed data carries, signature optional.
bool ReadDescriptorCrc(EntryInput& input, uint32_t& crc) {
  uint8_t bytes[4];
  auto next32 = [&](uint32_t& value) {
    for (uint8_t& byte : bytes)
      if (!input.NextByte(byte)) return false;
    value = Get32(bytes);
    return true;
  };
  if (!next32(crc)) return false;
  return crc != kDescriptorSignature || next32(crc);
}

// Room for a data descriptor (signature, CRC and two 8-byte sizes) after the data.
constexpr int64_t kDescriptorRoom = 24;

int32_t Decode(EntryInput& input, OutputWindow& output, uint16_t method, uint16_t flags, int64_t compressed,
               int64_t uncompressed) {
  switch (method) {
    case 0:
      return DecodeStored(input, output, compressed);
    case 1:
      return DecodeShrunk(input, output, uncompressed);
    case 2:
    case 3:
    case 4:
    case 5:
      return DecodeReduced(input, output, method - 1, uncompressed);
    case 6:
      return DecodeImploded(input, output, flags, uncompressed);
    case 8:
      return DecodeDeflated(input, output);
    default:
      return zrUnsupportedMethod;
  }
}

// The smaller of two sizes, where < 0 stands for an unknown one.
int64_t SmallerKnown(int64_t a, int64_t b) {
  if (a < 0) return b;
  if (b < 0) return a;
  return std::min(a, b);
}

// Extracts the entry whose local header is at `headerOffset`. `central`, when
// given, holds the central directory's sizes; `claimed`, when given, holds the
// ranges earlier entries of the run have used.
int32_t ExtractWithSizes(const std::string& archive, const std::string& targetName, int64_t headerOffset,
                         const CentralSizes* central, ClaimedRanges* claimed) {
  if (State().busy && TickCount() - State().busySince <= kBusyTimeout) return zrBusy;
  BusyMark busy;

  auto file = OpenForReading(archive);
  if (!file) return zrArchiveOpenFailed;
  // A seek past the end would succeed; the header is not there all the same.
  const int64_t archiveSize = file->Size();
  if (headerOffset < 0 || headerOffset >= archiveSize || !file->Seek(headerOffset)) return zrReadFailed;
  uint8_t header[kLocalHeaderSize];
  if (!ReadExactly(*file, headerOffset, header, kLocalHeaderSize) || Get32(header) != kLocalSignature) return zrBadData;

  const uint16_t flags = Get16(header + 6);
  const uint16_t method = Get16(header + 8);
  const bool described = (flags & 0x08) != 0;
  int64_t compressed = described ? -1 : Get32(header + 18);
  int64_t uncompressed = described ? -1 : Get32(header + 22);
  uint32_t expectedCrc = Get32(header + 14);
  // The most the entry may write: no more than any of its records says.
  int64_t recordedSize = uncompressed;
  if (central) {
    recordedSize = SmallerKnown(recordedSize, central->uncompressed);
    if (described) {
      // The central directory's sizes stand in for the ones the local header could not know.
      compressed = central->compressed;
      uncompressed = central->uncompressed;
    }
  }
  if (method == 7 || method > 8) return zrUnsupportedMethod;
  if (flags & 0x01) return zrEncrypted;
  if (method == 1 && described) return zrUnsupportedMethod;
  const int64_t dataStart = headerOffset + kLocalHeaderSize + Get16(header + 26) + Get16(header + 28);
  // The data descriptor is left out: writers put the next header right after it.
  if (claimed && !claimed->Claim(headerOffset, dataStart + std::max<int64_t>(compressed, 0))) return zrOverlappingEntry;

  const std::string target = Slashes(targetName, '/', '\\');
  if (!target.empty() && target.back() == '\\') return CreateFolderChain(target) ? zrOk : zrWriteFailed;
  auto output = CreateTarget(target);
  if (!output) return zrWriteFailed;

  State().busySince = TickCount();
  ProcessPendingMessages();
  uint32_t crc = crc32(0, nullptr, 0);
  OutputWindow window(
      [&](const uint8_t* bytes, size_t count) {
        if (count > 0 && !output->Write(bytes, static_cast<int64_t>(count))) return false;
        crc = crc32(crc, bytes, static_cast<uInt>(count));
        TReportRec& report = State().report;
        report.Status = rsFileProgress;
        Report(static_cast<int32_t>(count));
        return true;
      },
      recordedSize);

  int32_t result = zrReadFailed;
  if (file->Seek(dataStart)) {
    int64_t readLimit = described ? (compressed < 0 ? -1 : compressed + kDescriptorRoom) : compressed;
    EntryInput input(*file, readLimit);
    result = Decode(input, window, method, flags, compressed, uncompressed);
    if (result == zrOk && !window.Flush()) result = zrWriteFailed;
    if (result == zrOk && described && !ReadDescriptorCrc(input, expectedCrc)) result = zrReadFailed;
    if (window.Overran()) result = zrSizeExceeded;
  }
  output.reset();
  if (result != zrOk) {
    (void)RemoveFile(target);
    return result;
  }
  if (crc != expectedCrc) {
    (void)RemoveFile(target);
    return zrCrcMismatch;
  }
  return zrOk;
}

void FillReport(const TZipRec& rec, const std::string& fileName) {
  TReportRec& report = State().report;
  report.FileName = fileName;
  report.DateTime = rec.DateTime;
  report.Size = rec.Size;
  report.CompressedSize = rec.CompressedSize;
  report.Attributes = rec.Attributes;
  report.Method = rec.Method;
  report.Ratio = RatioOf(rec.Size, rec.CompressedSize);
  report.IsDirectory = !fileName.empty() && (fileName.back() == '\\' || fileName.back() == '/');
}

void FillFinalReport(const std::string& archive, int64_t size, int64_t compressed, int32_t status) {
  TReportRec& report = State().report;
  report.DateTime = static_cast<uint32_t>(-1);
  report.Attributes = static_cast<uint32_t>(-1);
  report.Method = 0;
  report.Size = static_cast<int32_t>(size);
  report.CompressedSize = static_cast<int32_t>(compressed);
  report.FileName = archive;
  report.Ratio = RatioOf(report.Size, report.CompressedSize);
  report.IsDirectory = false;
  report.Status = status;
}

// Opens a listing or extraction run's scan: zrNotZip or zrNoCentralDirectory when there is none.
int32_t StartRun(const std::string& archive, TZipRec& rec, int32_t& archiveOffset);
// The central directory's sizes of the entry whose local header is at `headerOffset`.
bool FindCentralSizes(const std::string& archive, int64_t headerOffset, CentralSizes& sizes);

}  // namespace

uint8_t RatioOf(int32_t size, int32_t compressedSize) {
  auto whole = static_cast<uint32_t>(size);
  auto packed = static_cast<uint32_t>(compressedSize);
  if (packed >= 42949673u) {
    whole /= 100;
    packed /= 100;
  }
  if (whole == 0) return 0;
  return static_cast<uint8_t>(100u - packed * 100u / whole);
}

int32_t LocateLocalSignature(const std::string& fileName) {
  if (fileName.empty()) return -1;
  auto file = OpenForReading(fileName);
  if (!file) return -1;
  int64_t size = file->Size();
  if (size <= 4) return -1;
  int64_t m = std::min<int64_t>(size, 63);
  int64_t n = m - m / 4;
  uint8_t bytes[64];
  if (!ReadExactly(*file, 0, bytes, n)) return -1;
  for (int64_t offset = 0; offset <= n - 5; ++offset)
    if (Get32(bytes + offset) == kLocalSignature) return static_cast<int32_t>(offset);
  return -1;
}

bool IsZipArchive(const std::string& fileName, int32_t& offset) {
  offset = 0;
  auto file = OpenForReading(fileName);
  uint8_t signature[4];
  if (!file || !ReadExactly(*file, 0, signature, 4)) return false;
  if (Get32(signature) == kLocalSignature) return true;
  file.reset();
  int32_t found = LocateLocalSignature(fileName);
  if (found <= 0) return false;
  offset = found;
  return true;
}

int32_t FindFirstEntry(const std::string& fileName, TZipRec& rec) {
  EndEntryScan(rec);
  auto file = OpenForReading(fileName);
  if (!file) return zrCannotOpen;
  const int64_t size = file->Size();
  if (size <= 0) return zrCannotOpen;

  // The end record, searched backwards in windows that overlap by its own size.
  int64_t windowSize = std::min(kSearchWindow, size);
  int64_t windowStart = size - windowSize;
  int64_t endRecord = -1;
  std::vector<uint8_t> window(static_cast<size_t>(windowSize));
  for (;;) {
    if (!ReadExactly(*file, windowStart, window.data(), windowSize)) return zrCannotOpen;
    for (int64_t at = windowSize - kEndRecordSize; at >= 0; --at) {
      if (Get32(window.data() + at) == kEndSignature) {
        endRecord = windowStart + at;
        break;
      }
    }
    if (endRecord >= 0) break;
    if (windowStart == 0) return zrCannotOpen;
    windowStart = std::max<int64_t>(0, windowStart - (windowSize - kEndRecordSize));
  }

  uint8_t end[kEndRecordSize];
  if (!ReadExactly(*file, endRecord, end, kEndRecordSize)) return zrCannotOpen;
  if (endRecord < kCentralHeaderSize) return zrNoCentralDirectory;
  int64_t directorySize = Get32(end + 12);
  int64_t directoryStart = Get32(end + 16);
  if (directoryStart >= endRecord || directoryStart + directorySize > endRecord) return zrNoCentralDirectory;
  // Data put in front of an archive moves its directory without changing the
  // recorded offset; the directory then ends where the end record begins.
  uint8_t signature[4];
  if (ReadExactly(*file, directoryStart, signature, 4) && Get32(signature) != kCentralSignature &&
      ReadExactly(*file, endRecord - directorySize, signature, 4) && Get32(signature) == kCentralSignature)
    directoryStart = endRecord - directorySize;

  int64_t load = std::min(endRecord + 4 - directoryStart, kDirectoryCap);
  rec.Buffer.assign(static_cast<size_t>(load), 0);
  if (!ReadExactly(*file, directoryStart, rec.Buffer.data(), load)) {
    rec.Buffer.clear();
    return zrCannotOpen;
  }
  rec.BufferSize = static_cast<int32_t>(load);
  rec.Cursor = 0;
  rec.ArchiveFile = std::move(file);
  int32_t result = FindNextEntry(rec);
  if (result != zrOk) EndEntryScan(rec);
  return result;
}

int32_t FindNextEntry(TZipRec& rec) {
  if (!rec.ArchiveFile) return zrNoMoreEntries;
  const int64_t left = rec.BufferSize - rec.Cursor;
  const uint8_t* at = rec.Buffer.data() + rec.Cursor;
  int32_t result = zrNoMoreEntries;
  if (left >= kCentralHeaderSize && Get32(at) == kCentralSignature) {
    const int64_t nameLength = Get16(at + 28);
    const int64_t entryLength = kCentralHeaderSize + nameLength + Get16(at + 30) + Get16(at + 32);
    if (left >= entryLength) {
      rec.Size = static_cast<int32_t>(Get32(at + 24));
      rec.CompressedSize = static_cast<int32_t>(Get32(at + 20));
      rec.Attributes = at[5] == 0 ? at[38] : 0;
      rec.DateTime = Get32(at + 12);
      rec.HeaderOffset = static_cast<int32_t>(Get32(at + 42));
      rec.Method = Get16(at + 10);
      rec.Flags = Get16(at + 8);
      rec.FileName =
          Slashes(std::string(reinterpret_cast<const char*>(at + kCentralHeaderSize), static_cast<size_t>(nameLength)),
                  '/', '\\');
      rec.Cursor += static_cast<int32_t>(entryLength);
      result = zrOk;
    }
  }
  if (result != zrOk) EndEntryScan(rec);
  return result;
}

void EndEntryScan(TZipRec& rec) {
  rec.ArchiveFile.reset();
  rec.Buffer.clear();
  rec.Buffer.shrink_to_fit();
  rec.BufferSize = 0;
  rec.Cursor = 0;
}

bool MatchMask(const std::string& mask, const std::string& name) {
  if (mask.empty() || mask == "*.*") return true;
  const std::string pattern = mask.substr(0, 255);
  const std::string text = name.substr(0, 255);
  // Greedy matching with a return to the last "*": the same answers as trying
  // the rest of the mask first, in linear time.
  size_t p = 0, t = 0, star = std::string::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (star != std::string::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

int32_t ArchiveTotals(const std::string& fileName, int32_t& compressed) {
  compressed = 0;
  if (fileName.empty()) return 0;
  auto file = OpenForReading(fileName);
  if (!file) return 0;
  const auto size = static_cast<int32_t>(file->Size());
  file.reset();
  int32_t offset;
  if (!IsZipArchive(fileName, offset)) {
    compressed = size;
    return size;
  }
  TZipRec rec;
  if (FindFirstEntry(fileName, rec) != zrOk) return size;
  int64_t total = 0, packed = 0;
  do {
    total += static_cast<uint32_t>(rec.Size);
    packed += static_cast<uint32_t>(rec.CompressedSize);
  } while (FindNextEntry(rec) == zrOk);
  compressed = static_cast<int32_t>(packed);
  return static_cast<int32_t>(total);
}

int32_t ExtractEntry(const std::string& archive, const std::string& target, int32_t headerOffset) {
  // Offsets are unsigned in the archive; the signed type is the interface's.
  const int64_t offset = static_cast<uint32_t>(headerOffset);
  CentralSizes sizes{};
  const bool listed = FindCentralSizes(archive, offset, sizes);
  return ExtractWithSizes(archive, target, offset, listed ? &sizes : nullptr, nullptr);
}

int32_t ExtractMatching(const std::string& archive, const std::string& folderName, const std::string& mask,
                        const ReportHandler& handler) {
  if (archive.empty() || folderName.empty()) return zrMissingArgument;
  std::string folder = Slashes(folderName, '/', '\\');
  if (folder.back() != '\\') folder += '\\';
  RunScope run;
  TZipRec rec;
  int32_t archiveOffset;
  if (int32_t opened = StartRun(archive, rec, archiveOffset); opened != zrOk) return opened;

  int32_t packedTotal;
  int32_t total = ArchiveTotals(archive, packedTotal);
  FillFinalReport(archive, total, packedTotal, rsArchiveStarting);
  run.SetHandler(handler);
  Report(rsArchiveStarting);

  int32_t extracted = 0;
  int64_t runSize = 0, runPacked = 0;
  ClaimedRanges claimed;
  do {
    if (!MatchMask(mask, rec.FileName)) continue;
    runSize += static_cast<uint32_t>(rec.Size);
    runPacked += static_cast<uint32_t>(rec.CompressedSize);
    const std::string target = folder + rec.FileName;
    const bool isFolder = !target.empty() && (target.back() == '/' || target.back() == '\\');
    FillReport(rec, target);
    TReportRec& report = State().report;
    if (!isFolder) {
      report.Status = rsFileStarting;
      Report(rsFileStarting);
    }
    int32_t result = zrUnsafeName;
    if (IsSafeEntryName(rec.FileName)) {
      if (!isFolder && IsFile(target)) (void)SetAttributes(target, 0);
      CentralSizes sizes{static_cast<uint32_t>(rec.CompressedSize), static_cast<uint32_t>(rec.Size)};
      const int64_t headerOffset = int64_t{static_cast<uint32_t>(rec.HeaderOffset)} + archiveOffset;
      result = ExtractWithSizes(archive, target, headerOffset, &sizes, &claimed);
      if (result == zrOk) (void)SetAttributes(target, rec.Attributes);
    }
    if (result == zrOk) {
      ++extracted;
      report.Status = rsFileDone;
      if (!isFolder) Report(rsFileDone);
      continue;
    }
    report.Status = rsFileFailed;
    switch (result) {
      case zrNoMoreEntries:
      case zrNotZip:
        break;
      case zrCrcMismatch:
      case zrWriteFailed:
      case zrUnsupportedMethod:
      case zrEncrypted:
      case zrUnsafeName:
      case zrSizeExceeded:
      case zrOverlappingEntry:
        Report(result);
        break;
      default:
        if (result < zrArchiveOpenFailed) break;  // other results below -14: skipped without a report
        report.Status = result;
        Report(kRunAbortedCount);
        EndEntryScan(rec);
        return result;
    }
  } while (FindNextEntry(rec) == zrOk);

  EndEntryScan(rec);
  FillFinalReport(archive, runSize, runPacked, rsArchiveDone);
  Report(rsArchiveDone);
  return extracted;
}

int32_t ListMatching(const std::string& archive, const std::string& mask, const ReportHandler& handler) {
  if (archive.empty() || !handler) return zrMissingArgument;
  RunScope run;
  TZipRec rec;
  int32_t archiveOffset;
  if (int32_t opened = StartRun(archive, rec, archiveOffset); opened != zrOk) return opened;
  int32_t matching = 0;
  int64_t runSize = 0, runPacked = 0;
  do {
    if (!MatchMask(mask, rec.FileName)) continue;
    ++matching;
    runSize += static_cast<uint32_t>(rec.Size);
    runPacked += static_cast<uint32_t>(rec.CompressedSize);
    FillReport(rec, rec.FileName);
    State().report.Status = rsFileProgress;
    handler(0, State().report);
  } while (FindNextEntry(rec) == zrOk);
  EndEntryScan(rec);
  FillFinalReport(archive, runSize, runPacked, rsArchiveDone);
  handler(matching, State().report);
  return matching;
}

namespace {

int32_t StartRun(const std::string& archive, TZipRec& rec, int32_t& archiveOffset) {
  if (!IsZipArchive(archive, archiveOffset)) return zrNotZip;
  State().report = TReportRec{};
  return FindFirstEntry(archive, rec) == zrOk ? zrOk : zrNoCentralDirectory;
}

bool FindCentralSizes(const std::string& archive, int64_t headerOffset, CentralSizes& sizes) {
  int32_t archiveOffset;
  TZipRec rec;
  if (!IsZipArchive(archive, archiveOffset) || FindFirstEntry(archive, rec) != zrOk) return false;
  do {
    if (int64_t{static_cast<uint32_t>(rec.HeaderOffset)} + archiveOffset == headerOffset) {
      sizes = {static_cast<uint32_t>(rec.CompressedSize), static_cast<uint32_t>(rec.Size)};
      EndEntryScan(rec);
      return true;
    }
  } while (FindNextEntry(rec) == zrOk);
  return false;
}

}  // namespace

}  // namespace lumorix::zip
