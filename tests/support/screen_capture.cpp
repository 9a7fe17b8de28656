#include "tests/support/screen_capture.h"

#include <cstdio>
#include <cstdlib>

#include "tests/support/registry_fixture.h"
#include "ui/gdi.h"

namespace lumorix::test {

ScreenShot::ScreenShot() {
  width_ = GetSystemMetrics(SM_CXSCREEN);
  height_ = GetSystemMetrics(SM_CYSCREEN);
  pixels_.assign(static_cast<size_t>(width_) * height_, 0);
  HDC screen = GetDC(nullptr);
  ui::UniqueMemoryDc memory(CreateCompatibleDC(screen));
  ui::Dib32 dib = ui::CreateDib32(width_, height_);
  if (memory && dib.bitmap) {
    ui::SelectObjectScope select(memory.Get(), dib.bitmap.Get());
    BitBlt(memory.Get(), 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
    GdiFlush();
    CopyMemory(pixels_.data(), dib.bits, pixels_.size() * sizeof(DWORD));
  }
  ReleaseDC(nullptr, screen);
}

COLORREF ScreenShot::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  DWORD value = pixels_[static_cast<size_t>(y) * width_ + x];
  return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

void ScreenShot::Save(const std::string& name) const {
  std::wstring folder = WindowsPath(LUMORIX_BUILD_DIR "/test-screens");
  CreateDirectoryW(folder.c_str(), nullptr);
  std::wstring path = folder + L"\\" + std::wstring(name.begin(), name.end()) + L".bmp";
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width_;
  header.biHeight = -height_;
  header.biPlanes = 1;
  header.biBitCount = 32;
  DWORD imageBytes = static_cast<DWORD>(pixels_.size() * sizeof(DWORD));
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + imageBytes;
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&header, sizeof header, 1, out);
  // GDI leaves the fourth byte 0, which picture viewers take for transparent.
  std::vector<DWORD> opaque(pixels_);
  for (DWORD& pixel : opaque) pixel |= 0xFF000000u;
  std::fwrite(opaque.data(), 1, imageBytes, out);
  std::fclose(out);
}

bool Near(COLORREF actual, COLORREF expected, int tolerance) {
  if (actual == CLR_INVALID) return false;
  return std::abs(GetRValue(actual) - GetRValue(expected)) <= tolerance &&
         std::abs(GetGValue(actual) - GetGValue(expected)) <= tolerance &&
         std::abs(GetBValue(actual) - GetBValue(expected)) <= tolerance;
}

std::string Describe(COLORREF colour) {
  char text[32];
  std::snprintf(text, sizeof text, "RGB(%d, %d, %d)", GetRValue(colour), GetGValue(colour), GetBValue(colour));
  return text;
}

}  // namespace lumorix::test
