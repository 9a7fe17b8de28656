#include "tests/support/media.h"

#include "tests/support/registry_fixture.h"

namespace lumorix::test {

std::wstring Clip(const std::string& name) {
  return WindowsPath(std::string(LUMORIX_BUILD_DIR) + "/test-media/" + name);
}

}  // namespace lumorix::test
