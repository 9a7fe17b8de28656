// Lists and extracts arbitrary bytes as an archive into a scratch folder.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
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
  (void)ExtractMatching(archive, target, "*.*", ignore);
  std::error_code error;
  std::filesystem::remove_all(target, error);
  // Nothing may land outside the target folder.
  for (const auto& entry : std::filesystem::directory_iterator(Scratch(), error))
    if (entry.path().filename() != "input.zip") __builtin_trap();
  return 0;
}
