#include "screen_saver_setting.h"

#include <algorithm>

namespace lumorix {

namespace {

std::wstring Lower(std::wstring_view text) {
  std::wstring lower(text);
  for (wchar_t& c : lower)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
  return lower;
}

}  // namespace

bool NamesOwnScreenSaver(std::wstring_view setting) {
  size_t slash = setting.find_last_of(L"\\/");
  std::wstring name = Lower(slash == std::wstring_view::npos ? setting : setting.substr(slash + 1));
  while (!name.empty() && (name.back() == L'"' || name.back() == L' ')) name.pop_back();
  if (name == Lower(kInstalledScreenSaverName)) return true;
  // Short forms: "LUMORI~1.SCR", "LUMORI~2.SCR", ...
  constexpr std::wstring_view kShortStem = L"lumori~";
  constexpr std::wstring_view kExtension = L".scr";
  if (name.size() <= kShortStem.size() + kExtension.size() || !name.starts_with(kShortStem) ||
      !name.ends_with(kExtension))
    return false;
  std::wstring_view digits = std::wstring_view(name).substr(kShortStem.size());
  digits.remove_suffix(kExtension.size());
  return std::all_of(digits.begin(), digits.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

bool NamesOwnScreenSaverIn(std::wstring_view setting, std::wstring_view folder) {
  while (!setting.empty() && (setting.front() == L'"' || setting.front() == L' ')) setting.remove_prefix(1);
  size_t slash = setting.find_last_of(L"\\/");
  if (slash == std::wstring_view::npos || !NamesOwnScreenSaver(setting)) return false;
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.remove_suffix(1);
  return Lower(setting.substr(0, slash)) == Lower(folder);
}

std::wstring ScreenSaverSettingPath(const std::wstring& longPath, const std::wstring& shortPath) {
  if (longPath.find(L' ') == std::wstring::npos) return longPath;
  if (!shortPath.empty() && shortPath.find(L' ') == std::wstring::npos) return shortPath;
  return longPath;
}

}  // namespace lumorix
