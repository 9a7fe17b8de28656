#include "common/settings_value.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace lumorix;

namespace {

RawValue Dword(uint32_t number) { return EncodeInteger(static_cast<int32_t>(number)); }

std::string FailureOf(const std::function<void()>& read) {
  try {
    read();
  } catch (const SettingsError& error) {
    return error.what();
  }
  return "no failure";
}

}  // namespace

TEST(SettingsValue, IntegersTravelAsLittleEndianDwords) {
  RawValue raw = EncodeInteger(-10000);
  EXPECT_EQ(raw.type, kRegDword);
  EXPECT_EQ(raw.data, (std::vector<uint8_t>{0xF0, 0xD8, 0xFF, 0xFF}));
  EXPECT_EQ(DecodeInteger("Volume", raw), -10000);
}

TEST(SettingsValue, BoolsAreWrittenAsZeroOrOneAndAnyNonZeroReadsTrue) {
  EXPECT_EQ(EncodeBool(true).data, (std::vector<uint8_t>{1, 0, 0, 0}));
  EXPECT_EQ(EncodeBool(false).data, (std::vector<uint8_t>{0, 0, 0, 0}));
  EXPECT_TRUE(DecodeBool("Random", Dword(7)));
  EXPECT_FALSE(DecodeBool("Random", Dword(0)));
}

TEST(SettingsValue, SwitchesReadLenientlyWithTheirDefault) {
  EXPECT_TRUE(DecodeSwitch(std::nullopt, true));
  EXPECT_FALSE(DecodeSwitch(std::nullopt, false));
  EXPECT_FALSE(DecodeSwitch(Dword(0), true));
  EXPECT_TRUE(DecodeSwitch(Dword(5), false));
  EXPECT_TRUE(DecodeSwitch(EncodeString("0"), true)) << "a mistyped value is no failure";
  EXPECT_TRUE(DecodeSwitch(RawValue{kRegBinary, std::vector<uint8_t>(8, 0)}, true));
  EXPECT_TRUE(DecodeSwitch(RawValue{kRegDword, {}}, true));
}

TEST(SettingsValue, IntegerReadingRules) {
  EXPECT_EQ(FailureOf([] { DecodeInteger("Balance", std::nullopt); }), "Failed to get data for 'Balance'");
  RawValue wide{kRegBinary, std::vector<uint8_t>(8, 0)};
  EXPECT_EQ(FailureOf([&] { DecodeInteger("Balance", wide); }), "Failed to get data for 'Balance'");
  RawValue text = EncodeString("12");  // 3 bytes: fits, but is no DWORD
  EXPECT_EQ(FailureOf([&] { DecodeInteger("Balance", text); }), "Invalid data type for 'Balance'");
}

TEST(SettingsValue, FloatsAreEightByteLittleEndianDoubles) {
  RawValue raw = EncodeFloat(1.4);
  EXPECT_EQ(raw.type, kRegBinary);
  ASSERT_EQ(raw.data.size(), 8u);
  EXPECT_EQ(raw.data[7], 0x3F);  // sign and high exponent byte come last
  EXPECT_EQ(DecodeFloat("Rate", raw), 1.4);
}

TEST(SettingsValue, FloatReadingRules) {
  EXPECT_EQ(FailureOf([] { DecodeFloat("Rate", std::nullopt); }), "Failed to get data for 'Rate'");
  RawValue longer{kRegBinary, std::vector<uint8_t>(9, 0)};
  EXPECT_EQ(FailureOf([&] { DecodeFloat("Rate", longer); }), "Failed to get data for 'Rate'");
  EXPECT_EQ(FailureOf([] { DecodeFloat("Rate", Dword(2)); }), "Invalid data type for 'Rate'");
  RawValue shorter{kRegBinary, std::vector<uint8_t>(7, 0)};
  EXPECT_EQ(FailureOf([&] { DecodeFloat("Rate", shorter); }), "Invalid data type for 'Rate'");
}

TEST(SettingsValue, InstallersRateBytesReadAsATinyNumber) {
  RawValue zeros{kRegBinary, std::vector<uint8_t>(8, 0x30)};
  double rate = DecodeFloat("Rate", zeros);
  EXPECT_GT(rate, 0.0);
  EXPECT_LT(rate, 1e-70);
}

TEST(SettingsValue, StringReadingRules) {
  EXPECT_EQ(DecodeString("Skin", std::nullopt), "");
  EXPECT_EQ(DecodeString("Skin", RawValue{kRegSz, {}}), "");
  EXPECT_EQ(DecodeString("Skin", EncodeString("C:\\a.ini")), "C:\\a.ini");
  RawValue expandable = EncodeString("%TEMP%");
  expandable.type = kRegExpandSz;
  EXPECT_EQ(DecodeString("Skin", expandable), "%TEMP%");
  EXPECT_EQ(FailureOf([] { DecodeString("Skin", Dword(1)); }), "Invalid data type for 'Skin'");
}

TEST(SettingsValue, StringsAreWrittenWithTheirTerminator) {
  RawValue raw = EncodeString("ab");
  EXPECT_EQ(raw.type, kRegSz);
  EXPECT_EQ(raw.data, (std::vector<uint8_t>{'a', 'b', 0}));
}

TEST(SettingsValue, WriteFailureNamesTheValue) {
  EXPECT_EQ(FailedToSetData("Volume"), "Failed to set data for 'Volume'");
}
