// The Windows side of scripts/bench-render's monitor rows: plays a clip on the
// desktop of two monitors (the two halves of the one screen, as the tests make
// them) for a while, showing on the primary monitor only or on every monitor,
// and prints the share of one core this process used meanwhile.
// Usage: bench_monitors CLIP primary|every SECONDS
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "player/desktop/desktop_stage.h"
#include "player/desktop/monitors.h"
#include "player/engine/graph/filter_graph.h"
#include "player/engine/video/video_window.h"
#include "ui/application.h"
#include "ui/form.h"

namespace {

ULONGLONG ProcessTime() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  auto value = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return value(kernel) + value(user);
}

void PumpFor(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  for (DWORD now = GetTickCount(); static_cast<LONG>(end - now) > 0; now = GetTickCount()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace lumorix;
  if (argc != 4) {
    std::fprintf(stderr, "usage: bench_monitors CLIP primary|every SECONDS\n");
    return 2;
  }
  const std::wstring mode = argv[2];
  const DWORD seconds = static_cast<DWORD>(_wtoi(argv[3]));
  ui::Application::Instance().Initialize();
  desktop::UseMonitorsForTesting([] {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    return std::vector<MonitorRect>{{0, 0, width / 2, height}, {width / 2, 0, width, height}};
  });
  ui::FormDesign design;
  design.caption = L"Lumorix monitor bench";
  design.clientWidth = 420;
  design.clientHeight = 320;
  ui::Form form(design);
  engine::TFilterGraph graph;
  engine::TDSVideoWindowEx2 video(form.Handle(), {0, 0, 400, 300}, L"DSVideoWindowEx2");
  video.SetPictureHost([](engine::HostedPicture& picture, COLORREF color) {
    return std::make_unique<desktop::DesktopStage>(picture, color);
  });
  video.SetFilterGraph(&graph);
  graph.SetActive(true);
  if (FAILED(graph.RenderFile(argv[1])) || !graph.Play()) {
    std::fprintf(stderr, "bench_monitors: the clip does not play\n");
    return 1;
  }
  video.SetShowOn(mode == L"every" ? ShowOn::EveryMonitor : ShowOn::PrimaryMonitor);
  video.StartDesktopPlayback();
  PumpFor(3000);  // settled
  ULONGLONG before = ProcessTime();
  DWORD start = GetTickCount();
  PumpFor(seconds * 1000);
  double used = static_cast<double>(ProcessTime() - before) / 10000.0;  // milliseconds
  std::printf("%.1f\n", 100.0 * used / static_cast<double>(GetTickCount() - start));
  video.StopDesktopPlayback();
  (void)graph.Stop();
  graph.SetActive(false);
  video.SetFilterGraph(nullptr);
  return 0;
}
