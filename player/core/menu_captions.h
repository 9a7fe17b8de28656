#pragma once
// Turning the captions of the skin and language items back into file names,
// and the shortcut each item takes from its caption.
#include <string>

#include "platform/text.h"

namespace lumorix {

// The menu may have put an accelerator mark in front of the caption.
inline std::wstring WithoutLeadingAmpersand(std::wstring caption) {
  if (!caption.empty() && caption.front() == L'&') caption.erase(0, 1);
  return caption;
}

inline std::wstring CutTo255(std::wstring path) {
  if (path.size() > 255) path.resize(255);
  return path;
}

// The key whose virtual-key number is the caption's first character (its
// single-byte form), so "Radorur" gets R and "radorur" F3, as intended.
inline unsigned ShortcutKeyOf(const std::wstring& caption) {
  if (caption.empty()) return 0;
  std::string first = WideToAnsi(caption.substr(0, 1));
  return first.empty() ? 0 : static_cast<unsigned char>(first.front());
}

}  // namespace lumorix
