#pragma once
// Skin and language files as the player reads them: at most
// `IniFile::kSizeLimit` bytes, keeping only the keys it asks for, so that a
// file of any size costs the 32-bit player no more than a small one.
#include <optional>
#include <span>
#include <string>

#include "common/ini_file.h"
#include "platform/files.h"
#include "platform/text.h"

namespace lumorix {

// Nothing when the file cannot be opened or is larger than the limit.
inline std::optional<IniFile> ReadProfileFile(const std::wstring& path, std::span<const IniKey> wanted) {
  std::optional<std::string> contents = ReadWholeFile(path, IniFile::kSizeLimit);
  if (!contents) return std::nullopt;
  return IniFile::Parse(*contents, wanted);
}

// A text of such a file, in the encoding the file was written in.
inline std::wstring ProfileText(const IniFile& file, const std::string& text) {
  return file.Encoding() == IniEncoding::Utf8 ? Widen(text) : AnsiToWide(text);
}

}  // namespace lumorix
