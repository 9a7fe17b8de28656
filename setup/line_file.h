#pragma once
// A text file written line by line in the system's ANSI code page, each line
// ended by CR LF: the uninstall log and the batch files.
#include <string>
#include <vector>

#include "platform/handle.h"
#include "platform/text.h"

namespace lumorix::setup {

class LineFile {
 public:
  LineFile() = default;
  // Creates the file, deleting one that exists first. Raises when it cannot.
  explicit LineFile(const std::wstring& path);

  bool IsOpen() const { return static_cast<bool>(file_); }
  // Raises when the line cannot be written.
  void WriteLine(const std::wstring& line);
  void Close() { file_.Reset(); }

 private:
  std::wstring path_;
  UniqueHandle file_;
};

// Writes the whole file at once; raises on failure.
void WriteLines(const std::wstring& path, const std::vector<std::wstring>& lines);

}  // namespace lumorix::setup
