// Picture files loaded by their extension into blended 32-bit pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text.h"
#include "tests/support/program_folder.h"
#include "ui/exception.h"
#include "ui/picture_file.h"

using namespace lumorix;
using namespace lumorix::test;

namespace {

struct Pixels {
  int width = 0, height = 0, bitsPerPixel = 0;
  std::vector<uint32_t> data;  // 0xAARRGGBB, premultiplied, top row first
  uint32_t At(int x, int y) const { return data[static_cast<size_t>(y * width + x)]; }
};

Pixels Read(const ui::UniqueBitmap& bitmap) {
  BITMAP info{};
  GetObjectW(bitmap.Get(), sizeof info, &info);
  Pixels pixels{info.bmWidth, info.bmHeight, info.bmBitsPixel, {}};
  pixels.data.resize(static_cast<size_t>(info.bmWidth * info.bmHeight));
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), info.bmWidth, -info.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  GetDIBits(dc, bitmap.Get(), 0, static_cast<UINT>(info.bmHeight), pixels.data.data(), &format, DIB_RGB_COLORS);
  DeleteDC(dc);
  return pixels;
}

std::string Failure(const std::wstring& path) {
  try {
    (void)ui::LoadPictureFile(path);
  } catch (const ui::Exception& failure) {
    return failure.what();
  }
  return "(loaded)";
}

// Left half clear, right half opaque red, one half-transparent white pixel.
uint32_t HalfClear(int x, int y) {
  if (x == 0 && y == 0) return 0x80FFFFFFu;
  return x < 4 ? 0x00000000u : 0xFFFF0000u;
}

class PictureFile : public ::testing::Test {
 protected:
  ProgramFolderFiles files{{L"PictureFiles"}};
};

}  // namespace

TEST_F(PictureFile, PngKeepsItsAlphaPremultiplied) {
  files.Write(L"PictureFiles\\a.png", MakePng(8, 2, HalfClear));
  Pixels pixels = Read(ui::LoadPictureFile(files.Path(L"PictureFiles\\a.png")));
  EXPECT_EQ(pixels.width, 8);
  EXPECT_EQ(pixels.height, 2);
  EXPECT_EQ(pixels.bitsPerPixel, 32);
  EXPECT_EQ(pixels.At(0, 0), 0x80808080u);
  EXPECT_EQ(pixels.At(1, 1), 0x00000000u);
  EXPECT_EQ(pixels.At(6, 1), 0xFFFF0000u);
}

TEST_F(PictureFile, ExtensionsMatchWithoutCase) {
  files.Write(L"PictureFiles\\B.PNG", MakePng(3, 3, HalfClear));
  EXPECT_EQ(Read(ui::LoadPictureFile(files.Path(L"PictureFiles\\B.PNG"))).width, 3);
}

TEST_F(PictureFile, BitmapIsOpaque) {
  files.Write(L"PictureFiles\\c.bmp", MakeBmp(5, 3, [](int x, int) { return x == 0 ? 0x0000FFu : 0x00FF00u; }));
  Pixels pixels = Read(ui::LoadPictureFile(files.Path(L"PictureFiles\\c.bmp")));
  EXPECT_EQ(pixels.width, 5);
  EXPECT_EQ(pixels.height, 3);
  EXPECT_EQ(pixels.At(0, 2), 0xFF0000FFu);
  EXPECT_EQ(pixels.At(4, 0), 0xFF00FF00u);
}

TEST_F(PictureFile, IconKeepsItsTransparency) {
  files.Write(L"PictureFiles\\d.ico", MakeIco(16, 16, [](int x, int) { return x < 8 ? 0u : 0xFF00FF00u; }));
  Pixels pixels = Read(ui::LoadPictureFile(files.Path(L"PictureFiles\\d.ico")));
  EXPECT_EQ(pixels.width, 16);
  EXPECT_EQ(pixels.height, 16);
  EXPECT_EQ(pixels.At(2, 8) >> 24, 0u);
  EXPECT_EQ(pixels.At(12, 8), 0xFF00FF00u);
}

TEST_F(PictureFile, EnhancedMetafileShowsOnlyWhatItDraws) {
  // 20 x 10 mm: at 96 pixels per inch about 76 x 38 pixels; its left half filled red.
  std::wstring path = files.Path(L"PictureFiles\\e.emf");
  files.MakeFolder(L"PictureFiles");
  RECT frame{0, 0, 2000, 1000};
  HDC recorder = CreateEnhMetaFileW(nullptr, path.c_str(), &frame, nullptr);
  ASSERT_NE(recorder, nullptr);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HDC screen = GetDC(nullptr);
  int perMillimetreX = GetDeviceCaps(screen, HORZRES) / GetDeviceCaps(screen, HORZSIZE);
  ReleaseDC(nullptr, screen);
  RECT half{0, 0, 10 * perMillimetreX, 10 * perMillimetreX};
  FillRect(recorder, &half, red);
  DeleteObject(red);
  DeleteEnhMetaFile(CloseEnhMetaFile(recorder));

  Pixels pixels = Read(ui::LoadPictureFile(path));
  EXPECT_NEAR(pixels.width, 76, 2);
  EXPECT_NEAR(pixels.height, 38, 2);
  EXPECT_EQ(pixels.At(pixels.width / 4, pixels.height / 2), 0xFFFF0000u);
  EXPECT_EQ(pixels.At(pixels.width * 3 / 4, pixels.height / 2) >> 24, 0u);
}

TEST_F(PictureFile, PlaceableWindowsMetafileTakesItsHeadersSize) {
  HDC recorder = CreateMetaFileW(nullptr);
  SetMapMode(recorder, MM_ANISOTROPIC);
  SetWindowOrgEx(recorder, 0, 0, nullptr);
  SetWindowExtEx(recorder, 100, 50, nullptr);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  RECT left{0, 0, 50, 50};
  FillRect(recorder, &left, blue);
  DeleteObject(blue);
  HMETAFILE metafile = CloseMetaFile(recorder);
  UINT size = GetMetaFileBitsEx(metafile, 0, nullptr);
  std::string body(size, '\0');
  GetMetaFileBitsEx(metafile, size, body.data());
  DeleteMetaFile(metafile);
  // The placeable header: key, handle, box 0,0,100,50, 96 units per inch, reserved, checksum.
  std::vector<uint16_t> header = {0xCDD7, 0x9AC6, 0, 0, 0, 100, 50, 96, 0, 0, 0};
  for (size_t i = 0; i < 10; ++i) header[10] ^= header[i];
  std::string file(reinterpret_cast<const char*>(header.data()), 22);
  files.Write(L"PictureFiles\\f.wmf", file + body);

  Pixels pixels = Read(ui::LoadPictureFile(files.Path(L"PictureFiles\\f.wmf")));
  EXPECT_EQ(pixels.width, 100);
  EXPECT_EQ(pixels.height, 50);
  EXPECT_EQ(pixels.At(20, 25), 0xFF0000FFu);
  EXPECT_EQ(pixels.At(80, 25) >> 24, 0u);
}

TEST_F(PictureFile, FailuresInTheFrameworksWords) {
  std::wstring missing = files.Path(L"PictureFiles\\missing.png");
  EXPECT_EQ(Failure(missing), "Cannot open file " + Narrow(missing));
  // The extension is judged before the file is opened.
  EXPECT_EQ(Failure(files.Path(L"PictureFiles\\missing.gif")), "Unknown picture file extension (.gif)");
  EXPECT_EQ(Failure(files.Path(L"PictureFiles.d\\noextension")), "Unknown picture file extension (.)");
  files.Write(L"PictureFiles\\broken.png", MakePng(4, 4, HalfClear).substr(0, 40));
  EXPECT_EQ(Failure(files.Path(L"PictureFiles\\broken.png")), "PNG image is not valid");
  files.Write(L"PictureFiles\\broken.bmp", "BM not a bitmap");
  EXPECT_EQ(Failure(files.Path(L"PictureFiles\\broken.bmp")), "Bitmap image is not valid");
  files.Write(L"PictureFiles\\broken.emf", "no metafile");
  EXPECT_EQ(Failure(files.Path(L"PictureFiles\\broken.emf")), "Metafile is not valid");
}
