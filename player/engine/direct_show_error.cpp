#include "player/engine/direct_show_error.h"

#include <errors.h>

#include "common/format.h"
#include "platform/text.h"

namespace lumorix::engine {

std::string DirectShowErrorMessage(HRESULT code) {
  wchar_t text[256] = {};
  AMGetErrorTextW(code, text, 255);
  return Narrow(text) + Format(" ($%X).", static_cast<unsigned>(code));
}

EDirectShowException::EDirectShowException(HRESULT code) : ui::Exception(DirectShowErrorMessage(code)), code_(code) {}

}  // namespace lumorix::engine
