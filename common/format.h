#pragma once
// printf-style formatting into std::string, for the program's own message texts.
#include <cstdio>
#include <string>

namespace lumorix {

template <typename... Args>
std::string Format(const char* pattern, Args... args) {
  int size = std::snprintf(nullptr, 0, pattern, args...);
  if (size <= 0) return {};
  std::string text(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), pattern, args...);
  text.resize(static_cast<size_t>(size));
  return text;
}

// The standard error box shows a failure's message with a final full stop.
inline std::string WithFullStop(std::string message) {
  if (message.empty() || message.back() != '.') message += '.';
  return message;
}

}  // namespace lumorix
