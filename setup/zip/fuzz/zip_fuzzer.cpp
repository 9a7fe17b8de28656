// Lists and extracts arbitrary bytes as an archive into a scratch folder, and
// checks what must hold for any input: nothing lands outside the target folder,
// no entry is written to a device name, and no entry reports more bytes written
// than it records.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "setup/zip/zip_reader.h"

namespace {

const std::string& Scratch() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/zipfuzz.XXXXXX";
    return std::string(mkdtemp(pattern));
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumorix::zip;
  namespace fs = std::filesystem;
  const std::string archive = Scratch() + "/input.zip";
  const std::string target = Scratch() + "/out";
  if (FILE* file = std::fopen(archive.c_str(), "wb")) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  ReportHandler ignore = [](int32_t, const TReportRec&) {};
  (void)ListMatching(archive, "*.*", ignore);
  int32_t compressed;
  (void)ArchiveTotals(archive, compressed);

  std::map<std::string, int64_t> written;
  ReportHandler check = [&](int32_t count, const TReportRec& report) {
    if (report.Status != rsFileProgress) return;
    written[report.FileName] += count;
    if (written[report.FileName] > int64_t{static_cast<uint32_t>(report.Size)}) __builtin_trap();
  };
  (void)ExtractMatching(archive, target, "*.*", check);

  // The first entry once more on its own, by its header offset.
  int32_t shift;
  TZipRec rec;
  if (IsZipArchive(archive, shift) && FindFirstEntry(archive, rec) == zrOk) {
    const int64_t offset = int64_t{static_cast<uint32_t>(rec.HeaderOffset)} + shift;
    EndEntryScan(rec);
    (void)ExtractEntry(archive, target + "/single", static_cast<int32_t>(static_cast<uint32_t>(offset)));
  }

  std::error_code error;
  for (auto entry = fs::recursive_directory_iterator(target, error); !error && entry != fs::end(entry);
       entry.increment(error))
    if (IsDeviceName(entry->path().filename().string())) __builtin_trap();
  fs::remove_all(target, error);
  // Nothing may land outside the target folder.
  for (const auto& entry : fs::directory_iterator(Scratch(), error))
    if (entry.path().filename() != "input.zip") __builtin_trap();
  return 0;
}
