#include "setup/line_file.h"

#include <windows.h>

#include <stdexcept>

#include "platform/text.h"

namespace lumorix::setup {

namespace {

[[noreturn]] void RaiseFor(const std::wstring& path, const char* what) {
  throw std::runtime_error(std::string(what) + " " + Narrow(path) + ": " + Narrow(SystemMessage(GetLastError())));
}

}  // namespace

LineFile::LineFile(const std::wstring& path) : path_(path) {
  // Deleted and made anew, never written through: the name may be a second
  // one of a file elsewhere.
  if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) RaiseFor(path, "Cannot replace");
  file_ = UniqueHandle(
      CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file_) RaiseFor(path, "Cannot create");
}

void LineFile::WriteLine(const std::wstring& line) {
  std::string bytes = WideToAnsi(line) + "\r\n";
  DWORD written = 0;
  if (!file_ || !WriteFile(file_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    RaiseFor(path_, "Cannot write");
}

void WriteLines(const std::wstring& path, const std::vector<std::wstring>& lines) {
  LineFile file(path);
  for (const std::wstring& line : lines) file.WriteLine(line);
}

}  // namespace lumorix::setup
