#include "common/playlist_entry.h"

#include <gtest/gtest.h>

using namespace lumorix;

TEST(PlayListEntry, SplitsAfterTheLastBackslashOrColon) {
  TPlayListEntry entry = EntryFromFileName("C:\\Clips\\sea.avi");
  EXPECT_EQ(entry.EntryName, "sea.avi");
  EXPECT_EQ(entry.EntryFolder, "C:\\Clips\\");
  TPlayListEntry drive = EntryFromFileName("D:clip.wmv");
  EXPECT_EQ(drive.EntryName, "clip.wmv");
  EXPECT_EQ(drive.EntryFolder, "D:");
}

TEST(PlayListEntry, PathAddsTheMissingBackslash) {
  EXPECT_EQ(EntryPath({"a.avi", "C:\\Clips"}), "C:\\Clips\\a.avi");
  EXPECT_EQ(EntryPath({"a.avi", "C:\\Clips\\"}), "C:\\Clips\\a.avi");
}

TEST(PlayListEntry, LongPartsAreCutTo255) {
  std::string longName(300, 'n');
  TPlayListEntry entry = EntryFromFileName("C:\\" + longName);
  EXPECT_EQ(entry.EntryName.size(), 255u);
}

TEST(PlayListEntry, RecordLayout) {
  auto record = EncodeEntry({"sea.avi", "C:\\"});
  EXPECT_EQ(record.size(), 512u);
  EXPECT_EQ(record[0], 7);
  EXPECT_EQ(std::string(record.begin() + 1, record.begin() + 8), "sea.avi");
  EXPECT_EQ(record[256], 3);
  EXPECT_EQ(std::string(record.begin() + 257, record.begin() + 260), "C:\\");
  TPlayListEntry back = DecodeEntry(record.data());
  EXPECT_EQ(back.EntryName, "sea.avi");
  EXPECT_EQ(back.EntryFolder, "C:\\");
}

TEST(PlayListEntry, BytesAfterAStringAreIgnored) {
  auto record = EncodeEntry({"a", "b"});
  record[2] = 'x';
  record[258] = 'y';
  EXPECT_EQ(DecodeEntry(record.data()).EntryName, "a");
  EXPECT_EQ(DecodeEntry(record.data()).EntryFolder, "b");
}

TEST(PlayListEntry, TrailingPartialRecordIsIgnored) {
  std::vector<uint8_t> file = EncodePlayList({{"a.avi", "C:\\"}});
  file.resize(1000, 0xEE);
  auto entries = DecodePlayList(file);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].EntryName, "a.avi");
  EXPECT_TRUE(DecodePlayList({}).empty());
}
