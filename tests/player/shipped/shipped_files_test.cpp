// The files the player ships beside its program (skin, languages) and the
// pictures built into it (logo, icon), read as the player and Windows read them.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/language_texts.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

const fs::path kSource = LUMORIX_SOURCE_DIR;
const fs::path kSkin = kSource / "player/shipped/Skins/Radorur.skn";
const fs::path kLanguages = kSource / "player/shipped/Languages";

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

uint32_t Be32(const uint8_t* p) { return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3]; }
uint32_t Le32(const uint8_t* p) { return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0]; }
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[1] << 8 | p[0]); }

struct Rgba {
  uint32_t width = 0, height = 0;
  Bytes pixels;  // RGBA, top row first
  uint8_t Alpha(uint32_t x, uint32_t y) const { return pixels[(y * width + x) * 4 + 3]; }
};

// Decodes an 8-bit RGBA PNG (the only kind shipped); fails the test for anything else.
std::optional<Rgba> DecodePng(const Bytes& file) {
  static const uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (file.size() < 8 || std::memcmp(file.data(), kSignature, 8) != 0) return std::nullopt;
  Rgba image;
  Bytes compressed;
  for (size_t at = 8; at + 12 <= file.size();) {
    uint32_t length = Be32(&file[at]);
    if (at + 12 + length > file.size()) return std::nullopt;
    const uint8_t* type = &file[at + 4];
    const uint8_t* data = type + 4;
    if (Be32(data + length) != crc32(0, type, length + 4)) return std::nullopt;
    if (std::memcmp(type, "IHDR", 4) == 0) {
      image.width = Be32(data);
      image.height = Be32(data + 4);
      if (data[8] != 8 || data[9] != 6 || data[12] != 0) return std::nullopt;  // 8-bit RGBA, no interlace
    } else if (std::memcmp(type, "IDAT", 4) == 0) {
      compressed.insert(compressed.end(), data, data + length);
    }
    at += 12 + length;
  }
  const size_t stride = image.width * 4;
  Bytes raw(image.height * (stride + 1));
  uLongf size = raw.size();
  if (image.width == 0 || uncompress(raw.data(), &size, compressed.data(), compressed.size()) != Z_OK ||
      size != raw.size())
    return std::nullopt;
  image.pixels.resize(image.height * stride);
  for (uint32_t y = 0; y < image.height; ++y) {
    const uint8_t filter = raw[y * (stride + 1)];
    const uint8_t* in = &raw[y * (stride + 1) + 1];
    uint8_t* out = &image.pixels[y * stride];
    const uint8_t* up = y ? out - stride : nullptr;
    for (size_t i = 0; i < stride; ++i) {
      int a = i >= 4 ? out[i - 4] : 0, b = up ? up[i] : 0, c = up && i >= 4 ? up[i - 4] : 0;
      int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
      int predictor[] = {0, a, b, (a + b) / 2, pa <= pb && pa <= pc ? a : pb <= pc ? b : c};
      if (filter > 4) return std::nullopt;
      out[i] = static_cast<uint8_t>(in[i] + predictor[filter]);
    }
  }
  return image;
}

// Checks a picture meant to be drawn blended over the window: promised size,
// clear corners, an opaque middle and anti-aliased (partly transparent) edges.
void ExpectRealAlpha(const fs::path& path, uint32_t size) {
  SCOPED_TRACE(path.string());
  std::optional<Rgba> image = DecodePng(ReadFile(path));
  ASSERT_TRUE(image) << "not an 8-bit RGBA PNG";
  EXPECT_EQ(image->width, size);
  EXPECT_EQ(image->height, size);
  if (image->width != size || image->height != size) return;
  EXPECT_EQ(image->Alpha(0, 0), 0);
  EXPECT_EQ(image->Alpha(size - 1, 0), 0);
  EXPECT_EQ(image->Alpha(size / 2, size / 2), 255);
  size_t partial = 0;
  for (uint32_t i = 0; i < size * size; ++i) partial += image->pixels[i * 4 + 3] % 255 != 0;
  EXPECT_GE(partial, size) << "edges are not anti-aliased";
}

// A Windows INI file as the player reads it: names without regard to case,
// blanks around names and values ignored.
using Section = std::map<std::string, std::string>;
struct Ini {
  std::map<std::string, Section> sections;
  bool crlf = true;
  const std::string* Find(std::string section, std::string key) const {
    auto s = sections.find(Lower(section));
    if (s == sections.end()) return nullptr;
    auto k = s->second.find(Lower(key));
    return k == s->second.end() ? nullptr : &k->second;
  }
  static std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
  }
};

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t"), last = text.find_last_not_of(" \t");
  return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

Ini ReadIni(const fs::path& path) {
  Bytes bytes = ReadFile(path);
  std::string text(bytes.begin(), bytes.end());
  Ini ini;
  std::string section;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    if (end < text.size() && (end == at || text[end - 1] != '\r')) ini.crlf = false;
    std::string line = Trim(text.substr(at, end - at - (end > at && text[end - 1] == '\r')));
    if (line.size() > 1 && line.front() == '[' && line.back() == ']') {
      section = Ini::Lower(line.substr(1, line.size() - 2));
      ini.sections[section];
    } else if (size_t eq = line.find('='); eq != std::string::npos) {
      ini.sections[section][Ini::Lower(Trim(line.substr(0, eq)))] = Trim(line.substr(eq + 1));
    }
    at = end + 1;
  }
  return ini;
}

// The captions a language file may set, as the player reads them; the two Open
// items share one key, so it is listed once.
std::vector<lumorix::CaptionKey> LanguageKeys() {
  std::vector<lumorix::CaptionKey> keys;
  for (size_t index = 0; index < lumorix::kCaptionCount; ++index) {
    const lumorix::CaptionKey& key = lumorix::CaptionKeyOf(static_cast<lumorix::Caption>(index));
    bool seen = std::any_of(keys.begin(), keys.end(), [&](const lumorix::CaptionKey& other) {
      return std::strcmp(other.section, key.section) == 0 && std::strcmp(other.key, key.key) == 0;
    });
    if (!seen) keys.push_back(key);
  }
  return keys;
}

// The caption's accelerator letter folded to upper case (Latin and Windows-1251 Cyrillic).
int Accelerator(const std::string& caption) {
  size_t at = caption.find('&');
  if (at == std::string::npos || at + 1 >= caption.size()) return 0;
  auto c = static_cast<unsigned char>(caption[at + 1]);
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0) return c - 32;
  if (c == 0xB8) return 0xA8;  // yo
  return c;
}

std::string Caption(const Ini& ini, const char* section, const char* key) {
  for (const auto& caption : LanguageKeys())
    if (std::strcmp(caption.section, section) == 0 && std::strcmp(caption.key, key) == 0) {
      const std::string* value = ini.Find(section, key);
      return value ? *value : caption.builtIn;
    }
  return {};
}

// Menus whose items must not share an accelerator; Play and Pause are never shown together.
// The English main menu keeps the design's "&Skins" beside "&Show", so only a
// translated main menu is checked.
void ExpectDistinctAccelerators(const Ini& ini, bool mainMenu) {
  std::vector<std::vector<std::string>> menus = {
      {Caption(ini, "TrayPopUp", "Play"), Caption(ini, "TrayPopUp", "Next"), Caption(ini, "TrayPopUp", "Previous"),
       Caption(ini, "TrayPopUp", "Open"), Caption(ini, "TrayPopUp", "Settings"), Caption(ini, "TrayPopUp", "Exit")},
      {Caption(ini, "TrayPopUp", "Pause"), Caption(ini, "TrayPopUp", "Next"), Caption(ini, "TrayPopUp", "Previous"),
       Caption(ini, "TrayPopUp", "Open"), Caption(ini, "TrayPopUp", "Settings"), Caption(ini, "TrayPopUp", "Exit")},
  };
  // The Show menu: its first two items are never translated.
  menus.push_back({"Play&List", "&ColorControl", Caption(ini, "MainMenu", "PauseWhenCovered"),
                   Caption(ini, "MainMenu", "PauseOnBattery"), Caption(ini, "MainMenu", "PauseWhenLocked"),
                   Caption(ini, "MainMenu", "PauseWhenRemote"), Caption(ini, "MainMenu", "ShowOnPrimary"),
                   Caption(ini, "MainMenu", "ShowOnEvery"), Caption(ini, "MainMenu", "ShowAcross"),
                   Caption(ini, "MainMenu", "ShowEachOwnList")});
  if (mainMenu)
    menus.push_back({Caption(ini, "MainMenu", "File"), Caption(ini, "MainMenu", "Languages"), "&Skins",
                     Caption(ini, "MainMenu", "Show"), Caption(ini, "MainMenu", "Help")});
  for (const auto& menu : menus) {
    std::set<int> seen;
    for (const auto& caption : menu) {
      int key = Accelerator(caption);
      EXPECT_NE(key, 0) << caption << " has no accelerator";
      EXPECT_TRUE(seen.insert(key).second) << caption << " repeats an accelerator of its menu";
    }
  }
}

struct Place {
  int left, top, width, height;
  bool Overlaps(const Place& o) const {
    return left < o.left + o.width && o.left < left + width && top < o.top + o.height && o.top < top + height;
  }
};

TEST(ShippedSkin, ButtonPicturesAreRgbaOfThePromisedSizeWithRealAlpha) {
  for (const char* name : {"Previous.png", "Play.png", "Pause.png", "Stop.png", "Next.png"})
    ExpectRealAlpha(kSkin / name, 64);
  for (const char* name : {"PlayList.png", "ColorControl.png"}) ExpectRealAlpha(kSkin / name, 32);
}

TEST(ShippedSkin, ToolBitmapsAre24BitBottomUpWithPureBlueBackground) {
  for (const char* name : {"Add.bmp", "Del.bmp", "Rep.bmp", "Rand.bmp"}) {
    SCOPED_TRACE(name);
    Bytes bmp = ReadFile(kSkin / name);
    ASSERT_GE(bmp.size(), 54u + 24 * 72);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(Le32(&bmp[14]), 40u);
    EXPECT_EQ(static_cast<int32_t>(Le32(&bmp[18])), 24);
    EXPECT_EQ(static_cast<int32_t>(Le32(&bmp[22])), 24);  // positive: bottom-up
    EXPECT_EQ(Le16(&bmp[28]), 24);
    EXPECT_EQ(Le32(&bmp[30]), 0u);  // BI_RGB
    const uint8_t* pixels = &bmp[Le32(&bmp[10])];
    auto isBlue = [&](int x, int y) {
      const uint8_t* p = pixels + y * 72 + x * 3;  // B, G, R
      return p[0] == 255 && p[1] == 0 && p[2] == 0;
    };
    EXPECT_TRUE(isBlue(0, 0) && isBlue(23, 0) && isBlue(0, 23) && isBlue(23, 23));
    int glyph = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x) glyph += !isBlue(x, y);
    EXPECT_GT(glyph, 60) << "hardly anything is drawn";
    EXPECT_LT(glyph, 24 * 24 - 60) << "the background is not keyed blue";
  }
}

TEST(ShippedSkin, SkinIniNamesTheSkinAndPlacesEveryPictureInTheFreeRow) {
  Ini ini = ReadIni(kSkin / "Skin.ini");
  EXPECT_TRUE(ini.crlf);
  ASSERT_TRUE(ini.Find("Info", "Name"));
  EXPECT_EQ(*ini.Find("Info", "Name"), "Radorur");
  EXPECT_TRUE(ini.Find("Info", "Author"));
  ASSERT_TRUE(ini.Find("MainForm", "Color"));
  EXPECT_EQ(*ini.Find("MainForm", "Color"), "$00C1BFBF");

  // The seek bar above, the screen-saver group and the start-up check box to the right.
  std::vector<Place> taken = {{8, 344, 433, 25}, {408, 376, 153, 41}, {424, 424, 129, 25}};
  for (const char* section : {"Previous", "Play", "Pause", "Stop", "Next", "PL", "CC"}) {
    SCOPED_TRACE(section);
    const std::string *img = ini.Find(section, "Img"), *left = ini.Find(section, "Left"),
                      *top = ini.Find(section, "Top");
    ASSERT_TRUE(img && left && top);
    std::optional<Rgba> picture = DecodePng(ReadFile(kSkin / *img));
    ASSERT_TRUE(picture);
    Place place{std::stoi(*left), std::stoi(*top), int(picture->width), int(picture->height)};
    EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.left + place.width <= 575 &&
                place.top + place.height <= 480);
    for (const Place& other : taken) EXPECT_FALSE(place.Overlaps(other));
    taken.push_back(place);
  }
  for (const char* key : {"Add", "Del", "Rep", "Rand"}) {
    const std::string* file = ini.Find("TB", key);
    ASSERT_TRUE(file) << key;
    EXPECT_TRUE(fs::is_regular_file(kSkin / *file)) << *file;
  }
}

TEST(ShippedLanguages, EnglishSetsPlayAndLeavesPauseToTheBuiltInText) {
  Ini ini = ReadIni(kLanguages / "English.ini");
  EXPECT_TRUE(ini.crlf);
  for (const auto& caption : LanguageKeys()) {
    SCOPED_TRACE(caption.key);
    const std::string* value = ini.Find(caption.section, caption.key);
    if (std::strcmp(caption.key, "Pause") == 0) {
      EXPECT_FALSE(value);
    } else if (std::strcmp(caption.key, "Play") == 0) {
      ASSERT_TRUE(value);
      EXPECT_EQ(*value, "&Play");
    } else {
      ASSERT_TRUE(value);
      EXPECT_EQ(*value, caption.builtIn);
    }
  }
  ExpectDistinctAccelerators(ini, false);
}

TEST(ShippedLanguages, RussianTranslatesEveryCaptionInWindows1251) {
  Bytes bytes = ReadFile(kLanguages / "Russian.ini");
  ASSERT_FALSE(bytes.empty());
  EXPECT_FALSE(bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB) << "UTF-8, not Windows-1251";
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), uint8_t{0x98}), 0) << "a byte Windows-1251 does not define";
  // Russian in Windows-1251 uses only 0xA8 and up above ASCII; UTF-8 would bring bytes from 0x80.
  EXPECT_EQ(std::count_if(bytes.begin(), bytes.end(), [](uint8_t b) { return b >= 0x80 && b < 0xA8; }), 0);

  Ini ini = ReadIni(kLanguages / "Russian.ini");
  EXPECT_TRUE(ini.crlf);
  for (const auto& caption : LanguageKeys()) {
    SCOPED_TRACE(caption.key);
    const std::string* value = ini.Find(caption.section, caption.key);
    ASSERT_TRUE(value);
    EXPECT_TRUE(std::any_of(value->begin(), value->end(), [](char c) { return uint8_t(c) >= 0xC0; }))
        << "not translated";
    bool builtInHasAccelerator = std::strchr(caption.builtIn, '&') != nullptr;
    EXPECT_EQ(value->find('&') != std::string::npos, builtInHasAccelerator);
  }
  ExpectDistinctAccelerators(ini, true);
}

TEST(ShippedLogo, LogoPicturesAndProgramIconHaveEverySize) {
  ExpectRealAlpha(kSource / "player/about/logo.png", 48);
  ExpectRealAlpha(kSource / "player/about/logo96.png", 96);

  Bytes icon = ReadFile(kSource / "player/core/lumorix.ico");
  ASSERT_GE(icon.size(), 6u);
  ASSERT_EQ(Le16(&icon[2]), 1);  // an icon, not a cursor
  std::set<int> sizes;
  for (int i = 0; i < Le16(&icon[4]); ++i) {
    const uint8_t* entry = &icon[6 + 16 * i];
    int size = entry[0] ? entry[0] : 256;
    sizes.insert(size);
    uint32_t length = Le32(entry + 8), offset = Le32(entry + 12);
    ASSERT_LE(size_t{offset} + length, icon.size());
    Bytes image(icon.begin() + offset, icon.begin() + offset + length);
    if (size == 256) {
      std::optional<Rgba> png = DecodePng(image);
      ASSERT_TRUE(png);
      EXPECT_EQ(png->width, 256u);
    } else {
      EXPECT_EQ(Le32(&image[4]), uint32_t(size));
      EXPECT_EQ(Le32(&image[8]), uint32_t(2 * size));  // colour and mask
      EXPECT_EQ(Le16(&image[14]), 32);
    }
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 256}));
}

}  // namespace
