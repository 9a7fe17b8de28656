// A program that stands where the installed player stands and will not end
// when asked: a window of the player's class that refuses the end of the
// session and ignores its close. It ends on its own after two minutes, so
// that a failed test leaves nothing running.
#include <windows.h>

namespace {

LRESULT CALLBACK Refusing(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_QUERYENDSESSION:
      return FALSE;
    case WM_ENDSESSION:
    case WM_CLOSE:
      return 0;
    case WM_TIMER:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Refusing;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"TLumorixMainForm";
  if (!RegisterClassW(&windowClass)) return 1;
  HWND window = CreateWindowExW(0, L"TLumorixMainForm", L"Lumorix - Settings", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  SetTimer(window, 1, 120000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
