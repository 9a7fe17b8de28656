#include "tests/support/media.h"

#include <windows.h>

#include <cstdio>

#include "tests/support/registry_fixture.h"

namespace lumorix::test {

std::wstring Clip(const std::string& name) {
  return WindowsPath(std::string(LUMORIX_BUILD_DIR) + "/test-media/" + name);
}

std::wstring NotAClip(const std::wstring& name, const std::string& contents) {
  wchar_t folder[MAX_PATH] = {};
  if (!GetTempPathW(MAX_PATH, folder)) return L"";
  std::wstring path = std::wstring(folder) + name;
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) return L"";
  const bool written = std::fputs(contents.c_str(), file) >= 0;
  return std::fclose(file) == 0 && written ? path : L"";
}

}  // namespace lumorix::test
