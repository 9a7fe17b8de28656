// Extraction: real archives against Info-ZIP unzip's own results, reports, and failures.
#include <gtest/gtest.h>

#include <filesystem>

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

}  // namespace

class AgainstUnzip : public ::testing::TestWithParam<std::string> {};

TEST_P(AgainstUnzip, ExtractsEveryFileByteForByte) {
  ScratchFolder folder;
  ReportLog log;
  int32_t extracted = Extract(GetParam(), folder, log);
  EXPECT_GT(extracted, 0);
  EXPECT_TRUE(log.WithStatus(rsFileFailed).empty());
  EXPECT_EQ(DifferingFiles(folder.Path(), FixturePath("expected") / GetParam()), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(RealArchives, AgainstUnzip,
                         ::testing::Values("infozip-deflated.zip", "infozip-stored.zip", "infozip-comment.zip",
                                           "payload.zip", "python-streamed.zip", "python-mixed.zip", "prefixed.zip"),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

class LegacyMethods : public ::testing::TestWithParam<std::string> {};

TEST_P(LegacyMethods, DecodeToTheKnownText) {
  ScratchFolder folder;
  ReportLog log;
  ASSERT_EQ(Extract(GetParam(), folder, log), 1);
  fs::path only = fs::directory_iterator(folder.Path())->path();
  EXPECT_EQ(ReadBytes(only), ReadBytes(FixturePath("first.txt")));
}

INSTANTIATE_TEST_SUITE_P(ShrunkReducedImploded, LegacyMethods,
                         ::testing::Values("shrink.zip", "reduce.zip", "implode.zip"),
                         [](const auto& info) { return info.param.substr(0, info.param.find('.')); });

TEST(ZipExtract, ReportsInOrderWithTotals) {
  ScratchFolder folder;
  ReportLog log;
  ASSERT_EQ(Extract("payload.zip", folder, log), 10);  // folder entries count as extracted
  ASSERT_FALSE(log.reports.empty());
  EXPECT_EQ(log.reports.front().record.Status, rsArchiveStarting);
  EXPECT_EQ(log.reports.front().count, rsArchiveStarting);
  EXPECT_EQ(log.reports.back().record.Status, rsArchiveDone);
  EXPECT_EQ(log.reports.back().count, rsArchiveDone);
  // Folders make neither a start nor a done report.
  EXPECT_EQ(log.WithStatus(rsFileStarting).size(), 6u);
  EXPECT_EQ(log.WithStatus(rsFileDone).size(), 6u);
  int32_t compressed;
  EXPECT_EQ(log.reports.back().record.Size, ArchiveTotals(Fixture("payload.zip"), compressed));
}

TEST(ZipExtract, ProgressComesInWholeOutputWindows) {
  ScratchFolder folder;
  ReportLog log;
  ASSERT_EQ(Extract("payload.zip", folder, log, "Big\\noise.bin"), 1);
  std::vector<int32_t> counts;
  for (const Report& report : log.WithStatus(rsFileProgress)) counts.push_back(report.count);
  ASSERT_EQ(counts.size(), 7u);  // 200,000 bytes: six full windows and the rest
  for (size_t i = 0; i + 1 < counts.size(); ++i) EXPECT_EQ(counts[i], 32768);
  EXPECT_EQ(counts.back(), 200000 - 6 * 32768);
}

TEST(ZipExtract, EmptyEntryWritesNoPositiveProgress) {
  ScratchFolder folder;
  ReportLog log;
  ASSERT_EQ(Extract("python-mixed.zip", folder, log, "empty.txt"), 1);
  for (const Report& report : log.WithStatus(rsFileProgress)) EXPECT_LE(report.count, 0);
  EXPECT_TRUE(fs::exists(folder.Path() / "empty.txt"));
  EXPECT_EQ(fs::file_size(folder.Path() / "empty.txt"), 0u);
}

TEST(ZipExtract, FolderEntryCreatesItsParents) {
  ScratchFolder folder;
  ReportLog log;
  ASSERT_EQ(Extract("payload.zip", folder, log, "Skins\\Radorur.skn\\"), 1);
  EXPECT_TRUE(fs::is_directory(folder.Path() / "Skins" / "Radorur.skn"));
  EXPECT_TRUE(log.WithStatus(rsFileStarting).empty());
}

TEST(ZipExtract, FileEntryCreatesMissingFolders) {
  ScratchFolder folder;
  ReportLog log;
  ASSERT_EQ(Extract("payload.zip", folder, log, "Skins\\Radorur.skn\\Skin.ini"), 1);
  EXPECT_TRUE(fs::is_regular_file(folder.Path() / "Skins" / "Radorur.skn" / "Skin.ini"));
}

TEST(ZipExtract, ReadOnlyFileInTheWayIsReplaced) {
  ScratchFolder folder;
  ReportLog log;
  fs::create_directories(folder.Path() / "Languages");
  fs::path target = folder.Path() / "Languages" / "English.ini";
  WriteBytes(target, {'o', 'l', 'd'});
  fs::permissions(target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  ASSERT_EQ(Extract("payload.zip", folder, log, "Languages\\English.ini"), 1);
  EXPECT_EQ(ReadBytes(target), ReadBytes(FixturePath("source") / "Languages" / "English.ini"));
}

TEST(ZipExtract, CrcMismatchIsReportedSkippedAndTheNextEntryStillExtracted) {
  ScratchFolder folder;
  ReportLog log;
  EXPECT_EQ(Extract("badcrc.zip", folder, log), 1);
  auto failed = log.WithStatus(rsFileFailed);
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0].count, zrCrcMismatch);
  EXPECT_FALSE(fs::exists(folder.Path() / "a-broken.txt"));  // the partly written target is gone
  EXPECT_EQ(ReadBytes(folder.Path() / "b-fine.txt"),
            (std::vector<uint8_t>{'f', 'i', 'n', 'e', ' ', 'c', 'o', 'n', 't', 'e', 'n', 't', 's'}));
}

TEST(ZipExtract, NamesLeavingTheTargetFolderAreRefusedAndSkipped) {
  ScratchFolder outer;
  fs::path inside = outer.Path() / "inside";
  fs::create_directories(inside);
  ReportLog log;
  EXPECT_EQ(ExtractMatching(Fixture("traversal.zip"), inside.string(), "*.*", log.Handler()), 2);
  auto refused = log.WithStatus(rsFileFailed);
  ASSERT_EQ(refused.size(), 4u);
  for (const Report& report : refused) EXPECT_EQ(report.count, zrUnsafeName) << report.record.FileName;
  EXPECT_TRUE(fs::exists(inside / "first.txt"));
  EXPECT_TRUE(fs::exists(inside / "last.txt"));
  EXPECT_FALSE(fs::exists(outer.Path() / "escaped.txt"));
  EXPECT_FALSE(fs::exists(outer.Path() / "up.txt"));
}

TEST(ZipExtract, SafeNames) {
  EXPECT_TRUE(IsSafeEntryName("Languages\\English.ini"));
  EXPECT_TRUE(IsSafeEntryName("a..b\\c"));
  EXPECT_FALSE(IsSafeEntryName("..\\x"));
  EXPECT_FALSE(IsSafeEntryName("a\\..\\..\\x"));
  EXPECT_FALSE(IsSafeEntryName("\\x"));
  EXPECT_FALSE(IsSafeEntryName("/x"));
  EXPECT_FALSE(IsSafeEntryName("C:x"));
  EXPECT_FALSE(IsSafeEntryName("file.txt:stream"));
}

TEST(ZipExtract, MissingArgumentsAndNonArchives) {
  ReportLog log;
  EXPECT_EQ(ExtractMatching("", "x", "*.*", log.Handler()), zrMissingArgument);
  EXPECT_EQ(ExtractMatching(Fixture("payload.zip"), "", "*.*", log.Handler()), zrMissingArgument);
  ScratchFolder folder;
  EXPECT_EQ(ExtractMatching(Fixture("first.txt"), folder.Name(), "*.*", log.Handler()), zrNotZip);
  EXPECT_TRUE(log.reports.empty());
}

TEST(ZipExtract, SecondRunFromInsideAHandlerIsRefusedAsBusy) {
  ScratchFolder folder, second;
  ReportLog inner;
  int32_t innerResult = 1;
  bool started = false;
  ReportHandler handler = [&](int32_t, const TReportRec& report) {
    if (report.Status == rsFileProgress && !started) {
      started = true;
      innerResult = ExtractMatching(Fixture("python-mixed.zip"), second.Name(), "*.*", inner.Handler());
    }
  };
  EXPECT_GT(ExtractMatching(Fixture("payload.zip"), folder.Name(), "*.*", handler), 0);
  EXPECT_EQ(innerResult, zrBusy);
  ASSERT_FALSE(inner.reports.empty());
  EXPECT_EQ(inner.reports.back().count, kRunAbortedCount);
  EXPECT_EQ(inner.reports.back().record.Status, zrBusy);
}

TEST(ZipExtract, ExtractEntryTakesAHeaderOffset) {
  TZipRec rec;
  ASSERT_EQ(FindFirstEntry(Fixture("python-mixed.zip"), rec), zrOk);
  ScratchFolder folder;
  std::string target = (folder.Path() / "copy.txt").string();
  EXPECT_EQ(ExtractEntry(Fixture("python-mixed.zip"), target, rec.HeaderOffset), zrOk);
  EXPECT_EQ(ReadBytes(target), ReadBytes(FixturePath("expected") / "python-mixed.zip" / "stored.txt"));
  EXPECT_EQ(ExtractEntry(Fixture("python-mixed.zip"), target, rec.HeaderOffset + 1), zrBadData);
  EXPECT_EQ(ExtractEntry(Fixture("no-such.zip"), target, 0), zrArchiveOpenFailed);
  EndEntryScan(rec);
}
