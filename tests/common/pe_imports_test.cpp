// Reading a program's imported DLLs, on a small image made here.
#include "common/pe_imports.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace lumorix;

namespace {

void Put32(std::vector<uint8_t>& image, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) image[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// One section at 0x1000 (file offset 0x200): an import record naming
// "QUARTZ.dll" and a delay-import record naming "dwmapi.dll". An x64 image
// (PE32+) has its data directories 16 bytes further on.
std::vector<uint8_t> Image(bool x64 = false) {
  const size_t directories = 0x58 + (x64 ? 112 : 96);
  std::vector<uint8_t> image(0x400, 0);
  image[0] = 'M', image[1] = 'Z';
  Put32(image, 0x3c, 0x40);
  std::memcpy(&image[0x40], "PE\0\0", 4);
  image[0x46] = 1;  // one section
  const size_t optionalSize = x64 ? 240 : 224;
  image[0x54] = static_cast<uint8_t>(optionalSize);
  image[0x58] = 0x0b, image[0x59] = x64 ? 2 : 1;
  Put32(image, directories - 4, 16);
  Put32(image, directories + 8, 0x1000);       // imports
  Put32(image, directories + 8 * 13, 0x1040);  // delay imports
  const size_t section = 0x58 + optionalSize;
  Put32(image, section + 8, 0x200), Put32(image, section + 12, 0x1000);
  Put32(image, section + 16, 0x200), Put32(image, section + 20, 0x200);
  Put32(image, 0x200 + 12, 0x1100);
  Put32(image, 0x240 + 4, 0x1120);
  std::memcpy(&image[0x300], "QUARTZ.dll", 10);
  std::memcpy(&image[0x320], "dwmapi.dll", 10);
  return image;
}

}  // namespace

TEST(PeImports, ReadsBothDirectoriesAndRefusesDamagedImages) {
  for (bool x64 : {false, true})
    EXPECT_EQ(ImportedDlls(Image(x64)), (std::vector<std::string>{"QUARTZ.dll", "dwmapi.dll"})) << x64;
  std::vector<uint8_t> truncated = Image();
  truncated.resize(0x305);  // the first name runs off the end
  EXPECT_EQ(ImportedDlls(truncated), std::nullopt);
  std::vector<uint8_t> stray = Image();
  Put32(stray, 0x200 + 12, 0x9000);  // a name outside every section
  EXPECT_EQ(ImportedDlls(stray), std::nullopt);
  EXPECT_EQ(ImportedDlls(std::vector<uint8_t>(64, 0)), std::nullopt);
}

TEST(PeImports, OnlyDllsTheLoaderTakesFromTheSystemFolderPass) {
  for (const char* dll : {"KERNEL32.dll", "user32.dll", "GDI32.dll", "ADVAPI32.dll", "SHELL32.dll", "ole32.dll",
                          "OLEAUT32.dll", "msvcrt.dll", "comdlg32.dll"})
    EXPECT_TRUE(FromSystemFolderFor(dll, false)) << dll;
  // Known only from Windows 8 or 10 on: Windows 7 would look for them beside the program.
  for (const char* dll : {"msimg32.dll", "quartz.dll", "ddraw.dll", "mfplat.dll", "uxtheme.dll", "version.dll",
                          "shcore.dll", "combase.dll", "gdiplus.dll", "coml2.dll", "wininet.dll"})
    EXPECT_FALSE(FromSystemFolderFor(dll, true)) << dll;
  EXPECT_TRUE(FromSystemFolderFor("COMCTL32.dll", true));
  EXPECT_FALSE(FromSystemFolderFor("COMCTL32.dll", false));
}
