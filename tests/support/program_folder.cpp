#include "tests/support/program_folder.h"

#include <png.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/files.h"

namespace lumorix::test {

namespace {

void Put16(std::string& out, uint16_t value) { out.append(reinterpret_cast<const char*>(&value), 2); }
void Put32(std::string& out, uint32_t value) { out.append(reinterpret_cast<const char*>(&value), 4); }

}  // namespace

ProgramFolderFiles::ProgramFolderFiles(std::vector<std::wstring> roots) : roots_(std::move(roots)) { RemoveRoots(); }

ProgramFolderFiles::~ProgramFolderFiles() { RemoveRoots(); }

void ProgramFolderFiles::RemoveRoots() const {
  for (const std::wstring& root : roots_) Remove(root);
}

std::wstring ProgramFolderFiles::Path(const std::wstring& relative) const { return ProgramFolder() + relative; }

void ProgramFolderFiles::Write(const std::wstring& relative, const std::string& contents) const {
  std::filesystem::path path(Path(relative));
  std::filesystem::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
}

void ProgramFolderFiles::MakeFolder(const std::wstring& relative) const {
  std::filesystem::create_directories(std::filesystem::path(Path(relative)));
}

void ProgramFolderFiles::Remove(const std::wstring& relative) const {
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(Path(relative)), ignored);
}

std::string MakePng(int width, int height, const PixelSource& rgba) {
  std::vector<uint8_t> pixels;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint32_t p = rgba(x, y);
      pixels.insert(pixels.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p),
                                   static_cast<uint8_t>(p >> 24)});
    }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<uint32_t>(width);
  image.height = static_cast<uint32_t>(height);
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
  std::string file(size, '\0');
  png_image_write_to_memory(&image, file.data(), &size, 0, pixels.data(), 0, nullptr);
  file.resize(size);
  return file;
}

std::string MakeBmp(int width, int height, const PixelSource& rgb) {
  int stride = (width * 3 + 3) & ~3;
  std::string out = "BM";
  Put32(out, static_cast<uint32_t>(54 + stride * height));
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, 24);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int y = height - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      uint32_t p = rgb(x, y);
      row += {static_cast<char>(p), static_cast<char>(p >> 8), static_cast<char>(p >> 16)};
    }
    row.resize(static_cast<size_t>(stride), '\0');
    out += row;
  }
  return out;
}

std::string MakeIco(int width, int height, const PixelSource& rgba) {
  int maskStride = ((width + 31) / 32) * 4;
  uint32_t imageSize = static_cast<uint32_t>(40 + width * height * 4 + maskStride * height);
  std::string out;
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, 1);  // one image
  out += {static_cast<char>(width), static_cast<char>(height), 0, 0};
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, imageSize);
  Put32(out, 22);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height * 2));  // colour and mask
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int y = height - 1; y >= 0; --y)
    for (int x = 0; x < width; ++x) Put32(out, rgba(x, y));
  for (int y = height - 1; y >= 0; --y) {
    std::string row(static_cast<size_t>(maskStride), '\0');
    for (int x = 0; x < width; ++x)
      if ((rgba(x, y) >> 24) == 0) row[static_cast<size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
    out += row;
  }
  return out;
}

}  // namespace lumorix::test
