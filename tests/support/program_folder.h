#pragma once
// Files a test puts beside the running program, where the player looks for
// its skins and languages, removed again when the test ends (and before it
// starts, should an earlier run have died with them in place).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lumorix::test {

class ProgramFolderFiles {
 public:
  // `roots` are the top-level names under the program folder the test owns ("Skins", "Languages").
  explicit ProgramFolderFiles(std::vector<std::wstring> roots);
  ~ProgramFolderFiles();
  ProgramFolderFiles(const ProgramFolderFiles&) = delete;
  ProgramFolderFiles& operator=(const ProgramFolderFiles&) = delete;

  // Writes a file at a path relative to the program folder, making its folders.
  void Write(const std::wstring& relative, const std::string& contents) const;
  void MakeFolder(const std::wstring& relative) const;
  void Remove(const std::wstring& relative) const;
  // The full path of a relative one.
  std::wstring Path(const std::wstring& relative) const;

 private:
  void RemoveRoots() const;
  std::vector<std::wstring> roots_;
};

// Picture files made in memory. `rgba` gives 0xAARRGGBB for each pixel.
using PixelSource = std::function<uint32_t(int x, int y)>;
std::string MakePng(int width, int height, const PixelSource& rgba);
// 24 bits per pixel; alpha is ignored.
std::string MakeBmp(int width, int height, const PixelSource& rgb);
// A 32-bit icon with its alpha channel and a matching mask.
std::string MakeIco(int width, int height, const PixelSource& rgba);

}  // namespace lumorix::test
