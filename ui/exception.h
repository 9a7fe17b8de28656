#pragma once
// Failures raised by handlers and components; the windowing layer shows them
// in the standard error box. Messages are UTF-8.
#include <stdexcept>
#include <string>

namespace lumorix::ui {

class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The framework's failure for exhausted system resources (timers, tray icons).
class EOutOfResources : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace lumorix::ui
