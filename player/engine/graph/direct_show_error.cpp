#include "player/engine/graph/direct_show_error.h"

#include <errors.h>

#include "common/format.h"
#include "platform/system_library.h"
#include "platform/text.h"

namespace lumorix::engine {

std::string DirectShowErrorMessage(HRESULT code) {
  wchar_t text[256] = {};
  static const auto getText = platform::SystemFunction<decltype(&AMGetErrorTextW)>(L"quartz.dll", "AMGetErrorTextW");
  if (getText) getText(code, text, 255);
  return Narrow(text) + Format(" ($%X).", static_cast<unsigned>(code));
}

EDirectShowException::EDirectShowException(HRESULT code) : ui::Exception(DirectShowErrorMessage(code)), code_(code) {}

}  // namespace lumorix::engine
