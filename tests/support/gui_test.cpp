#include "tests/support/gui_test.h"

#include <vector>

#include <gtest/gtest.h>

#include "ui/application.h"

namespace lumorix::test {

namespace {

// Brings the windowing layer up once for the whole test program.
class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ui::Application::Instance().Initialize();
    ui::Application::Instance().SetTitle(L"Lumorix - settings");
  }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace

ErrorRecorder::ErrorRecorder() {
  ui::Application::Instance().SetErrorSink([this](const std::wstring& text, const std::wstring& title) {
    boxes_.push_back({text, title});
  });
}

ErrorRecorder::~ErrorRecorder() { ui::Application::Instance().SetErrorSink(nullptr); }

std::wstring ErrorText(const ErrorRecorder& errors) {
  return errors.Boxes().empty() ? L"" : errors.Boxes().front().text;
}

static void DispatchWaiting() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;  // a test's Terminate; the test reads the flag
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void PumpFor(std::chrono::milliseconds duration) {
  auto end = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < end) {
    DispatchWaiting();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  DispatchWaiting();
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  auto end = std::chrono::steady_clock::now() + timeout;
  while (!done() && std::chrono::steady_clock::now() < end) {
    DispatchWaiting();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return done();
}

bool PumpUntilSteady(const std::function<bool()>& done, std::chrono::milliseconds timeout,
                     std::chrono::milliseconds steady) {
  auto end = std::chrono::steady_clock::now() + timeout + steady;
  auto heldSince = std::chrono::steady_clock::time_point::max();
  while (std::chrono::steady_clock::now() < end) {
    auto now = std::chrono::steady_clock::now();
    if (!done())
      heldSince = std::chrono::steady_clock::time_point::max();
    else if (heldSince == std::chrono::steady_clock::time_point::max())
      heldSince = now;
    else if (now - heldSince >= steady)
      return true;
    DispatchWaiting();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return false;
}

void ClickAt(POINT point, int clicks) {
  SetCursorPos(point.x, point.y);
  // Absolute positions run from 0 to 65535 over the primary monitor.
  const LONG x = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  const LONG y = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  std::vector<INPUT> events;
  for (int click = 0; click < clicks; ++click)
    for (DWORD button : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
      INPUT event{};
      event.type = INPUT_MOUSE;
      event.mi.dx = x;
      event.mi.dy = y;
      event.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
      events.push_back(event);
    }
  SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

HWND OpenDialogFileNameBox(HWND dialog) {
  HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
  if (!edit)
    if (HWND combo = FindWindowExW(dialog, nullptr, L"ComboBoxEx32", nullptr))
      edit = FindWindowExW(FindWindowExW(combo, nullptr, L"ComboBox", nullptr), nullptr, L"Edit", nullptr);
  if (!edit)
    if (HWND combo = FindWindowExW(dialog, nullptr, L"ComboBox", nullptr))
      edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
  return edit;
}

}  // namespace lumorix::test
