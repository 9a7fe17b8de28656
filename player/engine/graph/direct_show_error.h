#pragma once
#include <windows.h>

#include <string>

#include "ui/exception.h"

namespace lumorix::engine {

// A failed DirectShow call: the platform's text for the code, then " ($CODE).".
class EDirectShowException : public ui::Exception {
 public:
  explicit EDirectShowException(HRESULT code);
  HRESULT Code() const { return code_; }

 private:
  HRESULT code_;
};

std::string DirectShowErrorMessage(HRESULT code);

// Raises EDirectShowException for a failure code; returns the code otherwise.
inline HRESULT CheckDirectShow(HRESULT code) {
  if (FAILED(code)) throw EDirectShowException(code);
  return code;
}

}  // namespace lumorix::engine
