#include "ui/dpi.h"

#include "common/design_scale.h"
#include "platform/system_library.h"

namespace lumorix::ui {

namespace {

// Present from Windows 10 version 1607.
using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiProc = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiProc = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiProc = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

}  // namespace

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND window) {
  static const auto getDpiForWindow = platform::SystemFunction<GetDpiForWindowProc>(L"user32.dll", "GetDpiForWindow");
  if (getDpiForWindow && window)
    if (UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  return SystemDpi();
}

SIZE OuterSizeForDpi(SIZE client, DWORD style, DWORD exStyle, bool menu, int dpi) {
  static const auto adjustForDpi =
      platform::SystemFunction<AdjustWindowRectExForDpiProc>(L"user32.dll", "AdjustWindowRectExForDpi");
  RECT rect{0, 0, client.cx, client.cy};
  if (!adjustForDpi || !adjustForDpi(&rect, style, menu, exStyle, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&rect, style, menu, exStyle);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

int SystemMetricForDpi(int index, int dpi) {
  static const auto metricForDpi =
      platform::SystemFunction<GetSystemMetricsForDpiProc>(L"user32.dll", "GetSystemMetricsForDpi");
  if (metricForDpi) return metricForDpi(index, static_cast<UINT>(dpi));
  return RescaleDpi(GetSystemMetrics(index), SystemDpi(), dpi);
}

LOGFONTW StatusFontForDpi(int dpi) {
  static const auto parametersForDpi =
      platform::SystemFunction<SystemParametersInfoForDpiProc>(L"user32.dll", "SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (parametersForDpi &&
      parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)))
    return metrics.lfStatusFont;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  // The system's fonts are sized for its own DPI.
  metrics.lfStatusFont.lfHeight = RescaleDpi(metrics.lfStatusFont.lfHeight, SystemDpi(), dpi);
  return metrics.lfStatusFont;
}

}  // namespace lumorix::ui
