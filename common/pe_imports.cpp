#include "pe_imports.h"

#include <algorithm>
#include <array>

namespace lumorix {

namespace {

class Reader {
 public:
  explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  std::optional<uint32_t> U32(uint64_t at) const { return Little(at, 4); }
  std::optional<uint32_t> U16(uint64_t at) const { return Little(at, 2); }
  std::optional<std::string> Text(uint64_t at) const {
    std::string text;
    for (uint64_t i = at; i < bytes_.size() && text.size() < 256; ++i) {
      if (bytes_[i] == 0) return text;
      text.push_back(static_cast<char>(bytes_[i]));
    }
    return std::nullopt;
  }

 private:
  std::optional<uint32_t> Little(uint64_t at, int size) const {
    if (at + size > bytes_.size()) return std::nullopt;
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes_[at + i];
    return value;
  }
  const std::vector<uint8_t>& bytes_;
};

struct Section {
  uint32_t address, size, fileOffset;
};

std::optional<uint64_t> FileOffset(const std::vector<Section>& sections, uint32_t rva) {
  for (const Section& section : sections)
    if (rva >= section.address && rva - section.address < section.size)
      return uint64_t{section.fileOffset} + (rva - section.address);
  return std::nullopt;
}

constexpr uint32_t kPe32Magic = 0x10b;
constexpr uint32_t kPe32PlusMagic = 0x20b;  // x64: wider fields move the data directories by 16 bytes
constexpr int kImportDirectory = 1;
constexpr int kDelayImportDirectory = 13;

// Each directory is an array of fixed-size records ending in a zero record;
// the DLL's name is an address at `nameField` within the record.
bool ReadNames(const Reader& read, const std::vector<Section>& sections, uint32_t directory, uint32_t recordSize,
               uint32_t nameField, std::vector<std::string>& names) {
  if (directory == 0) return true;
  std::optional<uint64_t> at = FileOffset(sections, directory);
  if (!at) return false;
  for (int count = 0; count < 1024; ++count, *at += recordSize) {
    std::optional<uint32_t> name = read.U32(*at + nameField);
    if (!name) return false;
    if (*name == 0) return true;
    std::optional<uint64_t> nameAt = FileOffset(sections, *name);
    std::optional<std::string> text = nameAt ? read.Text(*nameAt) : std::nullopt;
    if (!text) return false;
    names.push_back(*text);
  }
  return false;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return lower;
}

}  // namespace

std::optional<std::vector<std::string>> ImportedDlls(const std::vector<uint8_t>& image) {
  Reader read(image);
  if (read.U16(0) != 0x5a4d) return std::nullopt;  // "MZ"
  std::optional<uint32_t> pe = read.U32(0x3c);
  if (!pe || read.U32(*pe) != 0x00004550) return std::nullopt;  // "PE\0\0"
  const uint64_t fileHeader = *pe + 4;
  std::optional<uint32_t> sectionCount = read.U16(fileHeader + 2);
  std::optional<uint32_t> optionalSize = read.U16(fileHeader + 16);
  const uint64_t optional = fileHeader + 20;
  std::optional<uint32_t> magic = read.U16(optional);
  if (!sectionCount || !optionalSize || !magic || (*magic != kPe32Magic && *magic != kPe32PlusMagic))
    return std::nullopt;
  const uint64_t directories = optional + (*magic == kPe32PlusMagic ? 112 : 96);
  std::optional<uint32_t> directoryCount = read.U32(directories - 4);
  if (!directoryCount) return std::nullopt;
  auto directory = [&](int index) -> std::optional<uint32_t> {
    if (static_cast<uint32_t>(index) >= *directoryCount) return 0;
    return read.U32(directories + 8 * index);
  };

  std::vector<Section> sections;
  const uint64_t table = optional + *optionalSize;
  for (uint32_t i = 0; i < *sectionCount; ++i) {
    uint64_t at = table + 40 * i;
    std::optional<uint32_t> virtualSize = read.U32(at + 8), address = read.U32(at + 12), rawSize = read.U32(at + 16),
                            raw = read.U32(at + 20);
    if (!virtualSize || !address || !rawSize || !raw) return std::nullopt;
    sections.push_back({*address, std::max(*virtualSize, *rawSize), *raw});
  }

  std::optional<uint32_t> imports = directory(kImportDirectory), delayed = directory(kDelayImportDirectory);
  std::vector<std::string> names;
  if (!imports || !delayed || !ReadNames(read, sections, *imports, 20, 12, names) ||
      !ReadNames(read, sections, *delayed, 32, 4, names))
    return std::nullopt;
  return names;
}

bool AlwaysFromSystemFolder(std::string_view dll) {
  // The known DLLs (the Session Manager's KnownDLLs list, mapped from the
  // system folder at start-up) of every Windows the manifests claim, which
  // is Windows 7's list without the five later versions dropped (iertutil,
  // lpk, urlmon, usp10, wininet); what only later versions added (combase,
  // coml2, gdiplus, shcore) is looked for beside the program on Windows 7.
  // And ntdll and kernelbase, which are in every process before the
  // program's imports are resolved.
  static constexpr std::array<std::string_view, 25> kAllowed = {
      "advapi32.dll", "clbcatq.dll", "comdlg32.dll", "difxapi.dll",   "gdi32.dll",   "imagehlp.dll", "imm32.dll",
      "kernel32.dll", "msctf.dll",   "msvcrt.dll",   "normaliz.dll",  "nsi.dll",     "ole32.dll",    "oleaut32.dll",
      "psapi.dll",    "rpcrt4.dll",  "sechost.dll",  "setupapi.dll",  "shell32.dll", "shlwapi.dll",  "user32.dll",
      "wldap32.dll",  "ws2_32.dll",  "ntdll.dll",    "kernelbase.dll"};
  return std::find(kAllowed.begin(), kAllowed.end(), Lower(dll)) != kAllowed.end();
}

bool FromSystemFolderFor(std::string_view dll, bool commonControls6) {
  // Common controls 6 is a side-by-side assembly: named by the manifest's
  // dependency, the loader takes it from the system's assembly store. Without
  // that dependency the search for comctl32 starts beside the program.
  return AlwaysFromSystemFolder(dll) || (commonControls6 && Lower(dll) == "comctl32.dll");
}

}  // namespace lumorix
