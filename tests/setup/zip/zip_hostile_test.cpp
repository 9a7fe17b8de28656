// Archives built to attack the extractor: each is refused entry by entry, and
// nothing of it is written where it must not be.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "setup/zip/zip_reader.h"
#include "tests/setup/zip/zip_fixture.h"

using namespace lumorix::zip;
using namespace lumorix::zip::test;
namespace fs = std::filesystem;

namespace {

int32_t Extract(const std::string& archive, const ScratchFolder& folder, ReportLog& log,
                const std::string& mask = "*.*") {
  return ExtractMatching(Fixture(archive), folder.Name(), mask, log.Handler());
}

std::string LeafOf(const std::string& target) {
  std::string name = target;
  while (!name.empty() && (name.back() == '\\' || name.back() == '/')) name.pop_back();
  return name.substr(name.find_last_of("\\/") + 1);
}

// Leaf names and counts of the failed-entry reports, in report order.
std::vector<std::pair<std::string, int32_t>> Failures(const ReportLog& log) {
  std::vector<std::pair<std::string, int32_t>> failures;
  for (const Report& report : log.WithStatus(rsFileFailed))
    failures.emplace_back(LeafOf(report.record.FileName), report.count);
  return failures;
}

int64_t HeaderOffsetOf(const std::string& archive, const std::string& name) {
  TZipRec rec;
  for (int32_t found = FindFirstEntry(Fixture(archive), rec); found == zrOk; found = FindNextEntry(rec)) {
    if (rec.FileName == name) {
      EndEntryScan(rec);
      return static_cast<uint32_t>(rec.HeaderOffset);
    }
  }
  return -1;
}

}  // namespace

TEST(ZipHostileArchive, DeepNamesFailAsEntriesAndTheRunGoesOn) {
  ScratchFolder folder;
  ReportLog log;
  // 30,000 folders deep, for a file and for a folder entry.
  EXPECT_EQ(Extract("deep-names.zip", folder, log), 1);
  EXPECT_EQ(Failures(log),
            (std::vector<std::pair<std::string, int32_t>>{{"deep.txt", zrWriteFailed}, {"b", zrWriteFailed}}));
  EXPECT_EQ(ReadBytes(folder.Path() / "after.txt"), (std::vector<uint8_t>{'a', 'f', 't', 'e', 'r'}));
  EXPECT_FALSE(fs::exists(folder.Path() / "a"));
  EXPECT_FALSE(fs::exists(folder.Path() / "b"));
  EXPECT_EQ(log.reports.back().record.Status, rsArchiveDone);
}

TEST(ZipHostileArchive, DeviceNamesAreRefusedLikeOtherUnsafeNames) {
  ScratchFolder folder;
  ReportLog log;
  EXPECT_EQ(Extract("device-names.zip", folder, log), 5);
  EXPECT_EQ(Failures(log), (std::vector<std::pair<std::string, int32_t>>{{"CON", zrUnsafeName},
                                                                         {"con.txt", zrUnsafeName},
                                                                         {"Aux", zrUnsafeName},
                                                                         {"b.txt", zrUnsafeName},
                                                                         {"LPT1.log", zrUnsafeName},
                                                                         {"com9", zrUnsafeName},
                                                                         {"prn .txt", zrUnsafeName},
                                                                         {"AUX", zrUnsafeName},
                                                                         {"x.txt", zrUnsafeName}}));
  // Names that only look like devices are ordinary files.
  for (const char* name : {"first.txt", "CONSOLE.txt", "com10.txt", "nullify.txt", "last.txt"})
    EXPECT_TRUE(fs::is_regular_file(folder.Path() / name)) << name;
  EXPECT_FALSE(fs::exists(folder.Path() / "a"));
  EXPECT_FALSE(fs::exists(folder.Path() / "x"));
  EXPECT_FALSE(fs::exists(folder.Path() / "cut"));
}

TEST(ZipHostileArchive, OutputBeyondTheRecordedSizeStopsTheEntry) {
  ScratchFolder folder;
  ReportLog log;
  // Both bombs inflate to 16 MiB but record 1,000 bytes: in both headers, and in the central directory only.
  EXPECT_EQ(Extract("deflate-bomb.zip", folder, log), 1);
  EXPECT_EQ(Failures(log), (std::vector<std::pair<std::string, int32_t>>{{"bomb.bin", zrSizeExceeded},
                                                                         {"bomb-central.bin", zrSizeExceeded}}));
  EXPECT_FALSE(fs::exists(folder.Path() / "bomb.bin"));
  EXPECT_FALSE(fs::exists(folder.Path() / "bomb-central.bin"));
  EXPECT_TRUE(fs::is_regular_file(folder.Path() / "after.txt"));
  // A progress display never sees more written than the entry said it holds.
  std::map<std::string, int64_t> written;
  for (const Report& report : log.WithStatus(rsFileProgress)) {
    written[report.record.FileName] += report.count;
    EXPECT_LE(written[report.record.FileName], report.record.Size) << report.record.FileName;
  }
}

TEST(ZipHostileArchive, ExtractEntryHoldsTheCentralDirectorysSizeToo) {
  ScratchFolder folder;
  const std::string target = (folder.Path() / "bomb.bin").string();
  const int64_t lyingEverywhere = HeaderOffsetOf("deflate-bomb.zip", "bomb.bin");
  const int64_t lyingCentrally = HeaderOffsetOf("deflate-bomb.zip", "bomb-central.bin");
  ASSERT_GE(lyingEverywhere, 0);
  ASSERT_GT(lyingCentrally, 0);
  EXPECT_EQ(ExtractEntry(Fixture("deflate-bomb.zip"), target, static_cast<int32_t>(lyingEverywhere)), zrSizeExceeded);
  EXPECT_EQ(ExtractEntry(Fixture("deflate-bomb.zip"), target, static_cast<int32_t>(lyingCentrally)), zrSizeExceeded);
  EXPECT_FALSE(fs::exists(target));
}

TEST(ZipHostileArchive, EntriesSharingBytesWithAnEarlierOneAreRefused) {
  ScratchFolder folder;
  ReportLog log;
  // inner.txt's header lies inside outer.bin's data; copy.bin is outer.bin's header again.
  EXPECT_EQ(Extract("overlapping-entries.zip", folder, log), 2);
  EXPECT_EQ(Failures(log), (std::vector<std::pair<std::string, int32_t>>{{"inner.txt", zrOverlappingEntry},
                                                                         {"copy.bin", zrOverlappingEntry}}));
  EXPECT_TRUE(fs::is_regular_file(folder.Path() / "outer.bin"));
  EXPECT_TRUE(fs::is_regular_file(folder.Path() / "last.txt"));
  EXPECT_FALSE(fs::exists(folder.Path() / "inner.txt"));
  EXPECT_FALSE(fs::exists(folder.Path() / "copy.bin"));
}

TEST(ZipHostileArchive, OverlapIsJudgedAmongTheEntriesOfOneRun) {
  ScratchFolder first, second, third;
  ReportLog log;
  EXPECT_EQ(Extract("overlapping-entries.zip", first, log), 2);
  EXPECT_EQ(Extract("overlapping-entries.zip", second, log), 2);  // a new run claims anew
  // Alone, the inner entry shares its bytes with no other that was extracted.
  EXPECT_EQ(Extract("overlapping-entries.zip", third, log, "inner.txt"), 1);
  EXPECT_TRUE(fs::is_regular_file(third.Path() / "inner.txt"));
}

TEST(ZipHostileArchive, DecodingStopsAtTheRecordedCompressedSize) {
  ScratchFolder folder;
  ReportLog log;
  // Bytes past an entry's recorded data may be another entry's: its input has run out there.
  EXPECT_EQ(Extract("understated-size.zip", folder, log), zrReadFailed);
  ASSERT_FALSE(log.reports.empty());
  EXPECT_EQ(log.reports.back().count, kRunAbortedCount);
  EXPECT_EQ(LeafOf(log.reports.back().record.FileName), "longer.txt");
  EXPECT_FALSE(fs::exists(folder.Path() / "longer.txt"));
}

TEST(ZipHostileArchive, HeaderOffsetPastTheFileEndFailsWithoutOverflow) {
  ScratchFolder folder;
  ReportLog log;
  // 0x7FFFFFFA plus the 12 bytes in front of the archive.
  EXPECT_EQ(Extract("offset-overflow.zip", folder, log), zrReadFailed);
  EXPECT_TRUE(fs::is_regular_file(folder.Path() / "first.txt"));
  ASSERT_FALSE(log.reports.empty());
  EXPECT_EQ(log.reports.back().count, kRunAbortedCount);
  EXPECT_EQ(log.reports.back().record.Status, zrReadFailed);
  EXPECT_EQ(LeafOf(log.reports.back().record.FileName), "far.txt");
  EXPECT_FALSE(fs::exists(folder.Path() / "far.txt"));

  const std::string target = (folder.Path() / "x.txt").string();
  EXPECT_EQ(ExtractEntry(Fixture("offset-overflow.zip"), target, -1), zrReadFailed);  // 0xFFFFFFFF
  EXPECT_EQ(ExtractEntry(Fixture("offset-overflow.zip"), target, INT32_MAX), zrReadFailed);
  EXPECT_FALSE(fs::exists(target));
}
