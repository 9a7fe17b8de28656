// Finding archives, scanning the central directory, masks and totals.
#include <gtest/gtest.h>

#include "setup/zip/zip_reader.h"
#include "tests/setup/zip/zip_fixture.h"

using namespace lumorix::zip;
using namespace lumorix::zip::test;

TEST(ZipSignature, PlainArchiveStartsAtZero) {
  int32_t offset = -1;
  EXPECT_TRUE(IsZipArchive(Fixture("payload.zip"), offset));
  EXPECT_EQ(offset, 0);
}

TEST(ZipSignature, DataInFrontShiftsTheArchive) {
  int32_t offset = 0;
  EXPECT_TRUE(IsZipArchive(Fixture("prefixed.zip"), offset));
  EXPECT_EQ(offset, 12);
  EXPECT_EQ(LocateLocalSignature(Fixture("prefixed.zip")), 12);
}

TEST(ZipSignature, OtherFilesAreNoArchives) {
  int32_t offset;
  EXPECT_FALSE(IsZipArchive(Fixture("first.txt"), offset));
  EXPECT_FALSE(IsZipArchive(Fixture("no-such-file.zip"), offset));
  EXPECT_EQ(LocateLocalSignature(""), -1);
  EXPECT_EQ(ListMatching(Fixture("first.txt"), "*.*", [](int32_t, const TReportRec&) {}), zrNotZip);
}

TEST(ZipScan, WalksTheCentralDirectoryInOrder) {
  TZipRec rec;
  ASSERT_EQ(FindFirstEntry(Fixture("payload.zip"), rec), zrOk);
  std::vector<std::string> names{rec.FileName};
  EXPECT_EQ(rec.Attributes, 0x30);  // folder, written by MS-DOS
  EXPECT_EQ(rec.Method, 0);
  while (FindNextEntry(rec) == zrOk) names.push_back(rec.FileName);
  EXPECT_EQ(names, (std::vector<std::string>{"Languages\\", "Languages\\English.ini", "Languages\\German.INI",
                                             "Skins\\", "Skins\\Radorur.skn\\", "Skins\\Radorur.skn\\Skin.ini",
                                             "Lumorix.Lumorixpl", "Big\\", "Big\\text.txt", "Big\\noise.bin"}));
  EXPECT_EQ(FindNextEntry(rec), zrNoMoreEntries);  // the scan is closed now
  EndEntryScan(rec);
}

TEST(ZipScan, FileEntriesOfThePayloadAreDeflatedArchiveFiles) {
  TZipRec rec;
  ASSERT_EQ(FindFirstEntry(Fixture("payload.zip"), rec), zrOk);
  ASSERT_EQ(FindNextEntry(rec), zrOk);
  EXPECT_EQ(rec.FileName, "Languages\\English.ini");
  EXPECT_EQ(rec.Method, 8);
  EXPECT_EQ(rec.Attributes, 0x20);
  EXPECT_EQ(rec.Flags, 2);
  EndEntryScan(rec);
}

TEST(ZipScan, ArchiveCommentDoesNotHideTheEndRecord) {
  TZipRec rec;
  EXPECT_EQ(FindFirstEntry(Fixture("infozip-comment.zip"), rec), zrOk);
  EndEntryScan(rec);
}

TEST(ZipScan, EndRecordBeforeOffset46HasNoDirectory) {
  TZipRec rec;
  EXPECT_EQ(FindFirstEntry(Fixture("early-end.zip"), rec), zrNoCentralDirectory);
}

TEST(ZipScan, DirectoryOffsetPastTheEndRecordIsRefused) {
  TZipRec rec;
  EXPECT_EQ(FindFirstEntry(Fixture("bad-directory-offset.zip"), rec), zrNoCentralDirectory);
  ScratchFolder folder;
  ReportLog log;
  EXPECT_EQ(ExtractMatching(Fixture("bad-directory-offset.zip"), folder.Name(), "*.*", log.Handler()),
            zrNoCentralDirectory);
}

TEST(ZipScan, MissingOrEmptyFilesCannotBeOpened) {
  TZipRec rec;
  EXPECT_EQ(FindFirstEntry(Fixture("no-such-file.zip"), rec), zrCannotOpen);
  ScratchFolder folder;
  WriteBytes(folder.Path() / "empty.zip", {});
  EXPECT_EQ(FindFirstEntry((folder.Path() / "empty.zip").string(), rec), zrCannotOpen);
  EXPECT_EQ(FindFirstEntry(Fixture("first.txt"), rec), zrCannotOpen);
}

TEST(ZipMask, WholeRelativeNamesCaseSensitive) {
  EXPECT_TRUE(MatchMask("*.ini", "Languages\\English.ini"));
  EXPECT_FALSE(MatchMask("*.ini", "Languages\\English.INI"));
  EXPECT_TRUE(MatchMask("*.*", "anything"));
  EXPECT_TRUE(MatchMask("", "anything"));
  EXPECT_TRUE(MatchMask("Lang*\\?nglish.ini", "Languages\\English.ini"));
  EXPECT_FALSE(MatchMask("?", ""));
  EXPECT_TRUE(MatchMask("*", ""));
  EXPECT_TRUE(MatchMask("a*b*c", "aXbYbZc"));
  EXPECT_FALSE(MatchMask("a*b*c", "aXbYbZ"));
}

TEST(ZipMask, LongNamesAreComparedOnTheirFirst255Characters) {
  std::string name(300, 'x');
  EXPECT_TRUE(MatchMask(std::string(255, 'x'), name));
}

TEST(ZipListing, ReportsEveryMatchingEntryThenTheTotals) {
  ReportLog log;
  int32_t found = ListMatching(Fixture("payload.zip"), "*.ini", log.Handler());
  EXPECT_EQ(found, 2);
  ASSERT_EQ(log.reports.size(), 3u);
  EXPECT_EQ(log.reports[0].count, 0);
  EXPECT_EQ(log.reports[0].record.Status, rsFileProgress);
  EXPECT_EQ(log.reports[0].record.FileName, "Languages\\English.ini");
  EXPECT_EQ(log.reports[1].record.FileName, "Skins\\Radorur.skn\\Skin.ini");
  EXPECT_EQ(log.reports[2].record.Status, rsArchiveDone);
  EXPECT_EQ(log.reports[2].count, 2);
  EXPECT_EQ(log.reports[2].record.FileName, Fixture("payload.zip"));
  EXPECT_EQ(log.reports[2].record.DateTime, 0xFFFFFFFFu);
}

TEST(ZipListing, MissingHandlerOrNameIsAMissingArgument) {
  EXPECT_EQ(ListMatching("", "*.*", [](int32_t, const TReportRec&) {}), zrMissingArgument);
  EXPECT_EQ(ListMatching(Fixture("payload.zip"), "*.*", nullptr), zrMissingArgument);
}

TEST(ZipTotals, SumsTheEntriesOrTakesTheFileSize) {
  int32_t compressed = 0;
  int32_t total = ArchiveTotals(Fixture("python-mixed.zip"), compressed);
  auto expected = FixturePath("expected") / "python-mixed.zip";
  EXPECT_EQ(total, static_cast<int32_t>(ReadBytes(expected / "stored.txt").size() +
                                        ReadBytes(expected / "deflated.txt").size()));
  EXPECT_GT(compressed, 5000);
  EXPECT_LT(compressed, total);
  int32_t size = static_cast<int32_t>(ReadBytes(FixturePath("first.txt")).size());
  EXPECT_EQ(ArchiveTotals(Fixture("first.txt"), compressed), size);
  EXPECT_EQ(compressed, size);
  EXPECT_EQ(ArchiveTotals("", compressed), 0);
  EXPECT_EQ(compressed, 0);
}

TEST(ZipRatio, NoDivisionByZeroAndTheLargeSizeRule) {
  EXPECT_EQ(RatioOf(0, 0), 0);
  EXPECT_EQ(RatioOf(0, 500), 0);
  EXPECT_EQ(RatioOf(1000, 250), 75);
  EXPECT_EQ(RatioOf(100000000, 50000000), 50);  // past 42,949,673 both sizes are divided first
  EXPECT_EQ(RatioOf(50, 50), 0);
}
