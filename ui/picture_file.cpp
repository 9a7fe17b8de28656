#include "ui/picture_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>

#include "common/design_scale.h"
#include "common/picture_header.h"
#include "common/skin_description.h"
#include "platform/files.h"
#include "platform/text.h"
#include "ui/exception.h"

namespace lumorix::ui {

namespace {

Dib32 CreateDib(int width, int height) {
  Dib32 dib = CreateDib32(width, height);
  if (!dib.bitmap) throw Exception("Out of system resources");
  return dib;
}

std::wstring ExtensionOf(const std::wstring& path) {
  size_t at = path.find_last_of(L".\\:/");
  if (at == std::wstring::npos || path[at] != L'.') return {};
  return path.substr(at + 1);
}

// Refuses a picture larger than a skin's button before anything is allocated for it.
void CheckSize(const std::wstring& path, uint32_t width, uint32_t height) {
  if (!FitsSkin({width, height})) throw Exception(PictureTooLargeMessage(Narrow(path), width, height));
}

bool SameExtension(const std::wstring& extension, const wchar_t* known) {
  return CompareStringOrdinal(extension.c_str(), -1, known, -1, TRUE) == CSTR_EQUAL;
}

// Draws a picture that has no alpha channel of its own (icons drawn by the
// system, metafiles) twice, over black and over white: where the two agree
// the picture is opaque, where they differ by everything it is clear.
UniqueBitmap RenderWithAlpha(int width, int height, const std::function<void(HDC)>& draw) {
  Dib32 overBlack = CreateDib(width, height);
  Dib32 overWhite = CreateDib(width, height);
  size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::fill_n(overBlack.bits, count, 0x00000000u);
  std::fill_n(overWhite.bits, count, 0x00FFFFFFu);
  for (const Dib32* target : {&overBlack, &overWhite}) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectObjectScope select(dc.Get(), target->bitmap.Get());
    draw(dc.Get());
    GdiFlush();
  }
  for (size_t i = 0; i < count; ++i) {
    uint32_t black = overBlack.bits[i], white = overWhite.bits[i];
    int spread = 0;
    for (int shift = 0; shift < 24; shift += 8)
      spread = std::max(spread, static_cast<int>((white >> shift) & 0xFF) - static_cast<int>((black >> shift) & 0xFF));
    uint32_t alpha = static_cast<uint32_t>(255 - std::clamp(spread, 0, 255));
    uint32_t pixel = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) pixel |= std::min((black >> shift) & 0xFF, alpha) << shift;
    overBlack.bits[i] = pixel;
  }
  return std::move(overBlack.bitmap);
}

UniqueBitmap LoadPng(const std::string& bytes) {
  std::optional<PremultipliedImage> image = DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  if (!image) throw Exception("PNG image is not valid");
  return BitmapFromImage(*image);
}

UniqueBitmap LoadBmp(const std::wstring& path) {
  UniqueBitmap loaded(static_cast<HBITMAP>(
      LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  BITMAP info{};
  if (!loaded || !GetObjectW(loaded.Get(), sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
    throw Exception("Bitmap image is not valid");
  int height = std::abs(info.bmHeight);
  Dib32 dib = CreateDib(info.bmWidth, height);
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = info.bmWidth;
  format.bmiHeader.biHeight = -height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!GetDIBits(dc.Get(), loaded.Get(), 0, static_cast<UINT>(height), dib.bits, &format, DIB_RGB_COLORS))
    throw Exception("Bitmap image is not valid");
  // A bitmap is opaque: whatever its fourth byte holds is not an alpha channel.
  for (size_t i = 0, n = static_cast<size_t>(info.bmWidth) * height; i < n; ++i) dib.bits[i] |= 0xFF000000u;
  return std::move(dib.bitmap);
}

UniqueBitmap LoadIco(const std::wstring& path) {
  UniqueIcon icon(static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
  ICONINFO parts{};
  if (!icon || !GetIconInfo(icon.Get(), &parts)) throw Exception("Icon image is not valid");
  UniqueBitmap mask(parts.hbmMask), colour(parts.hbmColor);
  BITMAP info{};
  GetObjectW(colour ? colour.Get() : mask.Get(), sizeof info, &info);
  int width = info.bmWidth;
  int height = colour ? info.bmHeight : info.bmHeight / 2;  // a monochrome icon stacks mask and image
  if (width <= 0 || height <= 0) throw Exception("Icon image is not valid");
  return RenderWithAlpha(width, height,
                         [&](HDC dc) { DrawIconEx(dc, 0, 0, icon.Get(), width, height, 0, nullptr, DI_NORMAL); });
}

struct EnhMetaFileDeleter {
  void operator()(HENHMETAFILE metafile) const { DeleteEnhMetaFile(metafile); }
};
using UniqueEnhMetaFile = UniqueGdi<HENHMETAFILE, EnhMetaFileDeleter>;

// A picture's size is in design units, which the picture scales to its DPI.
int ScreenPixelsPerInch() { return kDesignDpi; }

UniqueBitmap DrawMetafile(const UniqueEnhMetaFile& metafile, int width, int height, const std::wstring& path) {
  if (width <= 0 || height <= 0) throw Exception("Metafile is not valid");
  CheckSize(path, static_cast<uint32_t>(width), static_cast<uint32_t>(height));
  return RenderWithAlpha(width, height, [&](HDC dc) {
    RECT area{0, 0, width, height};
    PlayEnhMetaFile(dc, metafile.Get(), &area);
  });
}

// The size a metafile shows at on the screen: its frame (hundredths of a millimetre) at the screen's resolution.
void FrameSize(HENHMETAFILE metafile, int& width, int& height) {
  ENHMETAHEADER header{};
  GetEnhMetaFileHeader(metafile, sizeof header, &header);
  int perInch = ScreenPixelsPerInch();
  width = MulDiv(header.rclFrame.right - header.rclFrame.left, perInch, 2540);
  height = MulDiv(header.rclFrame.bottom - header.rclFrame.top, perInch, 2540);
}

UniqueBitmap LoadEmf(const std::string& bytes, const std::wstring& path) {
  UniqueEnhMetaFile metafile(
      SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), reinterpret_cast<const BYTE*>(bytes.data())));
  if (!metafile) throw Exception("Metafile is not valid");
  int width = 0, height = 0;
  FrameSize(metafile.Get(), width, height);
  return DrawMetafile(metafile, width, height, path);
}

UniqueBitmap LoadWmf(const std::string& bytes, const std::wstring& path) {
  // A placeable metafile starts with a 22-byte header giving its size in units per inch.
  constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;
  uint32_t key = 0;
  if (bytes.size() >= 4) std::memcpy(&key, bytes.data(), 4);
  if (key == kPlaceableKey && bytes.size() > 22) {
    int16_t box[4];
    uint16_t unitsPerInch = 0;
    std::memcpy(box, bytes.data() + 6, sizeof box);
    std::memcpy(&unitsPerInch, bytes.data() + 14, 2);
    if (unitsPerInch == 0) throw Exception("Metafile is not valid");
    int perInch = ScreenPixelsPerInch();
    int width = MulDiv(box[2] - box[0], perInch, unitsPerInch);
    int height = MulDiv(box[3] - box[1], perInch, unitsPerInch);
    METAFILEPICT picture{MM_ANISOTROPIC, MulDiv(box[2] - box[0], 2540, unitsPerInch),
                         MulDiv(box[3] - box[1], 2540, unitsPerInch), nullptr};
    UniqueEnhMetaFile metafile(SetWinMetaFileBits(static_cast<UINT>(bytes.size() - 22),
                                                  reinterpret_cast<const BYTE*>(bytes.data()) + 22, nullptr, &picture));
    if (!metafile) throw Exception("Metafile is not valid");
    return DrawMetafile(metafile, width, height, path);
  }
  UniqueEnhMetaFile metafile(SetWinMetaFileBits(static_cast<UINT>(bytes.size()),
                                                reinterpret_cast<const BYTE*>(bytes.data()), nullptr, nullptr));
  if (!metafile) throw Exception("Metafile is not valid");
  int width = 0, height = 0;
  FrameSize(metafile.Get(), width, height);
  return DrawMetafile(metafile, width, height, path);
}

}  // namespace

UniqueBitmap BitmapFromImage(const PremultipliedImage& image) {
  Dib32 dib = CreateDib(static_cast<int>(image.width), static_cast<int>(image.height));
  std::copy(image.pixels.begin(), image.pixels.end(), dib.bits);
  return std::move(dib.bitmap);
}

PremultipliedImage ImageFromBitmap(HBITMAP bitmap, std::optional<COLORREF> transparent) {
  PremultipliedImage image;
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight == 0) return image;
  image.width = static_cast<uint32_t>(info.bmWidth);
  image.height = static_cast<uint32_t>(std::abs(info.bmHeight));
  image.pixels.assign(static_cast<size_t>(image.width) * image.height, 0u);
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = info.bmWidth;
  format.bmiHeader.biHeight = -static_cast<LONG>(image.height);
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!GetDIBits(dc.Get(), bitmap, 0, image.height, image.pixels.data(), &format, DIB_RGB_COLORS)) {
    image.pixels.assign(image.pixels.size(), 0u);
    return image;
  }
  const bool hasAlpha = info.bmBitsPixel == 32 && std::any_of(image.pixels.begin(), image.pixels.end(),
                                                              [](uint32_t pixel) { return (pixel >> 24) != 0; });
  const uint32_t key = transparent
                           ? (GetRValue(*transparent) << 16 | GetGValue(*transparent) << 8 | GetBValue(*transparent))
                           : 0xFFFFFFFFu;
  if (!hasAlpha)
    for (uint32_t& pixel : image.pixels) pixel = (pixel & 0x00FFFFFFu) == key ? 0u : pixel | 0xFF000000u;
  return image;
}

UniqueBitmap LoadPictureFile(const std::wstring& path) {
  std::wstring extension = ExtensionOf(path);
  enum class Kind { Png, Bmp, Ico, Wmf, Emf } kind;
  if (SameExtension(extension, L"png"))
    kind = Kind::Png;
  else if (SameExtension(extension, L"bmp"))
    kind = Kind::Bmp;
  else if (SameExtension(extension, L"ico"))
    kind = Kind::Ico;
  else if (SameExtension(extension, L"wmf"))
    kind = Kind::Wmf;
  else if (SameExtension(extension, L"emf"))
    kind = Kind::Emf;
  else
    throw Exception(UnknownPictureExtensionMessage(Narrow(extension)));

  std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) throw Exception(CannotOpenFileMessage(Narrow(path)));
  std::optional<PictureSize> claimed = kind == Kind::Png   ? PngClaimedSize(*bytes)
                                       : kind == Kind::Bmp ? BmpClaimedSize(*bytes)
                                       : kind == Kind::Ico ? IcoClaimedSize(*bytes)
                                                           : std::nullopt;
  if (claimed) CheckSize(path, claimed->width, claimed->height);
  switch (kind) {
    case Kind::Png:
      return LoadPng(*bytes);
    case Kind::Bmp:
      return LoadBmp(path);
    case Kind::Ico:
      return LoadIco(path);
    case Kind::Wmf:
      return LoadWmf(*bytes, path);
    case Kind::Emf:
      return LoadEmf(*bytes, path);
  }
  return {};
}

UniqueBitmap LoadPngResource(HMODULE module, const wchar_t* name) {
  HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  std::optional<PremultipliedImage> image = DecodePng(static_cast<const uint8_t*>(data), SizeofResource(module, found));
  return image ? BitmapFromImage(*image) : UniqueBitmap();
}

}  // namespace lumorix::ui
