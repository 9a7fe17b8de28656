#pragma once
// Helpers for tests that drive real windows under Wine.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace lumorix::test {

// What the standard error box would have shown.
struct ErrorBox {
  std::wstring text;
  std::wstring title;
};

// Collects error boxes instead of showing them, for the life of the object.
class ErrorRecorder {
 public:
  ErrorRecorder();
  ~ErrorRecorder();
  const std::vector<ErrorBox>& Boxes() const { return boxes_; }

 private:
  std::vector<ErrorBox> boxes_;
};

// The first recorded box's text, for a failure message.
std::wstring ErrorText(const ErrorRecorder& errors);

// Dispatches messages for `duration`.
void PumpFor(std::chrono::milliseconds duration);
// Dispatches messages until `done` holds or `timeout` passes; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
// The same for a state that may flicker before it settles (a window raised
// late, then put back): `done` must hold throughout the last `steady`.
bool PumpUntilSteady(const std::function<bool()>& done, std::chrono::milliseconds timeout,
                     std::chrono::milliseconds steady = std::chrono::milliseconds(500));

std::wstring WindowText(HWND window);
// The file-name box of an open dialog, in either of its layouts.
HWND OpenDialogFileNameBox(HWND dialog);

// `clicks` presses of the left button at `point` (screen coordinates), as the
// mouse would make them. Every event carries the position: Wine may take the
// pointer back to where the X server last had it between separate events.
void ClickAt(POINT point, int clicks = 1);

}  // namespace lumorix::test
