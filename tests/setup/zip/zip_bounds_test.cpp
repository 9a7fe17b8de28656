// The reader's bounds taken one by one: device names, path length and depth,
// claimed archive ranges and the output limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "setup/zip/claimed_ranges.h"
#include "setup/zip/entry_names.h"
#include "setup/zip/entry_streams.h"
#include "setup/zip/target_files.h"
#include "tests/setup/zip/zip_fixture.h"

using namespace lumorix::zip;
using namespace lumorix::zip::test;
namespace fs = std::filesystem;

namespace {

std::string Backslashed(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string Nested(const ScratchFolder& folder, size_t depth) {
  std::string path = Backslashed(folder.Name());
  for (size_t i = 0; i < depth; ++i) path += "\\d";
  return path;
}

}  // namespace

TEST(ZipDeviceNames, AnyCaseWithOrWithoutAnExtension) {
  for (const char* name : {"CON", "con", "Con.txt", "PRN", "aux", "NUL", "nul.tar.gz", "COM1", "com9.log", "LPT1",
                           "lpt9", "COM0", "lpt0.txt", "NUL ", "con .txt", "COM\xC2\xB9", "lpt\xC2\xB3.txt"})
    EXPECT_TRUE(IsDeviceName(name)) << name;
  for (const char* name :
       {"CONSOLE", "com10", "LPT", "CO", "nullify", "auxiliary.txt", "", "xcon", "com1x", "LPT\xC2\xB4"})
    EXPECT_FALSE(IsDeviceName(name)) << name;
}

TEST(ZipDeviceNames, RefusedInEveryPartOfAnEntryName) {
  EXPECT_FALSE(IsSafeEntryName("CON"));
  EXPECT_FALSE(IsSafeEntryName("a\\nul\\b"));
  EXPECT_FALSE(IsSafeEntryName("a/Aux.txt"));
  EXPECT_FALSE(IsSafeEntryName("lpt1\\"));
  // A NUL ends the name for the file system, after the device check would have looked.
  EXPECT_FALSE(IsSafeEntryName(std::string("sub\\COM1\0\\x", 11)));
  EXPECT_FALSE(IsSafeEntryName(std::string("a.txt\0", 6)));
  EXPECT_TRUE(IsSafeEntryName("CONSOLE\\com10.txt"));
  EXPECT_TRUE(IsSafeEntryName("Skins\\Radorur.skn\\Skin.ini"));
}

TEST(ZipDeviceNames, ParentFolderSpellingsAreRefusedToo) {
  for (const char* name : {"..\\x", "a\\.. \\x", "a\\...\\x", ".. .\\x", "a\\..", "a/../b"})
    EXPECT_FALSE(IsSafeEntryName(name)) << name;
  for (const char* name : {".\\x", "a..b", "..a\\x", "a\\ .x", ".hidden"}) EXPECT_TRUE(IsSafeEntryName(name)) << name;
}

TEST(ZipPathLimits, LengthAndDepth) {
  EXPECT_TRUE(WithinPathLimits(std::string(kMaxPathLength, 'x')));
  EXPECT_FALSE(WithinPathLimits(std::string(kMaxPathLength + 1, 'x')));
  std::string deep = "C:";
  for (size_t i = 0; i < kMaxPathDepth; ++i) deep += "\\a";
  EXPECT_TRUE(WithinPathLimits(deep));
  EXPECT_FALSE(WithinPathLimits(deep + "\\a"));
}

TEST(ZipFolderChain, MakesEveryMissingFolder) {
  ScratchFolder folder;
  const std::string path = Nested(folder, 40);
  EXPECT_TRUE(CreateFolderChain(path + "\\"));
  fs::path expected = folder.Path();
  for (int i = 0; i < 40; ++i) expected /= "d";
  EXPECT_TRUE(fs::is_directory(expected));
  EXPECT_TRUE(CreateFolderChain(path));  // already there
}

TEST(ZipFolderChain, TooDeepFailsAndMakesNothing) {
  ScratchFolder folder;
  EXPECT_FALSE(CreateFolderChain(Nested(folder, kMaxPathDepth + 1)));
  EXPECT_FALSE(fs::exists(folder.Path() / "d"));
  EXPECT_EQ(CreateTarget(Nested(folder, kMaxPathDepth + 1) + "\\file.txt"), nullptr);
  EXPECT_FALSE(fs::exists(folder.Path() / "d"));
}

TEST(ZipFolderChain, AFileInTheWayFails) {
  ScratchFolder folder;
  WriteBytes(folder.Path() / "d", {'x'});
  EXPECT_FALSE(CreateFolderChain(Nested(folder, 3)));
  EXPECT_EQ(CreateTarget(Nested(folder, 3) + "\\file.txt"), nullptr);
}

TEST(ZipClaimedRanges, NeighboursFitOverlapsDoNot) {
  ClaimedRanges ranges;
  EXPECT_TRUE(ranges.Claim(100, 200));
  EXPECT_TRUE(ranges.Claim(200, 300));  // touching is not sharing
  EXPECT_TRUE(ranges.Claim(0, 100));
  EXPECT_FALSE(ranges.Claim(150, 160));  // inside
  EXPECT_FALSE(ranges.Claim(50, 350));   // around
  EXPECT_FALSE(ranges.Claim(299, 400));  // the last byte
  EXPECT_FALSE(ranges.Claim(0, 1));      // the same start
  EXPECT_TRUE(ranges.Claim(300, 400));   // a refused claim took nothing
  EXPECT_TRUE(ranges.Claim(1000, 1030));
  EXPECT_FALSE(ranges.Claim(990, 1001));
}

TEST(ZipInputLimit, NoBytePastTheCompressedSizeAndTwo) {
  ScratchFolder folder;
  WriteBytes(folder.Path() / "data.bin", std::vector<uint8_t>(10000, 'x'));
  auto file = OpenForReading((folder.Path() / "data.bin").string());
  ASSERT_NE(file, nullptr);
  EntryInput input(*file, 100);
  size_t handedOut = 0;
  while (input.Fill()) {
    handedOut += input.Available();
    input.Consume(input.Available());
  }
  EXPECT_EQ(handedOut, 102u);

  ASSERT_TRUE(file->Seek(0));
  EntryInput unlimited(*file, -1);
  handedOut = 0;
  while (unlimited.Fill()) {
    handedOut += unlimited.Available();
    unlimited.Consume(unlimited.Available());
  }
  EXPECT_EQ(handedOut, 10000u);
}

TEST(ZipOutputLimit, NothingPastTheLimitReachesTheSink) {
  int64_t sunk = 0;
  auto sink = [&](const uint8_t*, size_t count) {
    sunk += static_cast<int64_t>(count);
    return true;
  };
  OutputWindow exact(sink, 100);
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(exact.Put('x'));
  EXPECT_TRUE(exact.Flush());
  EXPECT_FALSE(exact.Overran());
  EXPECT_EQ(sunk, 100);

  sunk = 0;
  OutputWindow byBytes(sink, 100);
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(byBytes.Put('x'));
  EXPECT_FALSE(byBytes.Put('x'));
  EXPECT_FALSE(byBytes.CopyBack(1, 10));
  EXPECT_TRUE(byBytes.Overran());

  sunk = 0;
  OutputWindow inPlace(sink, 40000);
  EXPECT_TRUE(inPlace.Advance(kOutputWindowSize));  // one full window, flushed
  EXPECT_FALSE(inPlace.Advance(kOutputWindowSize));
  EXPECT_TRUE(inPlace.Overran());
  EXPECT_EQ(sunk, static_cast<int64_t>(kOutputWindowSize));

  OutputWindow unlimited(sink);
  EXPECT_TRUE(unlimited.Advance(kOutputWindowSize));
  EXPECT_TRUE(unlimited.Advance(kOutputWindowSize));
  EXPECT_FALSE(unlimited.Overran());
}
