// Times the playlist window with a large playlist: loading the file into the
// list, saving it back, and paging through the list on screen.
// Usage: bench_playlist [ENTRIES]   (default 100000; the file is made beside this program)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/playlist_entry.h"
#include "platform/handle.h"
#include "player/playlist/playlist_file.h"
#include "player/playlist/playlist_form.h"
#include "ui/application.h"

namespace {

using namespace lumorix;
using Clock = std::chrono::steady_clock;

// The playlist window's owner, doing nothing: only the list is measured.
class QuietOwner : public IPlayListOwner {
 public:
  int32_t CurrentIndex() const override { return 0; }
  void PlayEntry(int32_t) override {}
  void StopPlayback() override {}
  void SetRepeatMode(bool) override {}
  void SetRandomMode(bool) override {}
  bool RepeatMode() const override { return false; }
  bool RandomMode() const override { return false; }
  void PlayListWindowClosed() override {}
};

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The processor time this thread has used so far, in milliseconds: what the
// player itself spends, whatever else the machine is doing.
double ThreadCpuMilliseconds() {
  FILETIME created, ended, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user)) return 0;
  auto ticks = [](FILETIME time) { return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime; };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

bool WritePlayList(const std::wstring& path, int entries) {
  std::vector<TPlayListEntry> list;
  list.reserve(static_cast<size_t>(entries));
  for (int i = 0; i < entries; ++i)
    list.push_back(EntryFromFileName("C:\\Videos\\Wallpapers\\clip-" + std::to_string(i) + ".avi"));
  std::vector<uint8_t> bytes = EncodePlayList(list);
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int entries = argc > 1 ? _wtoi(argv[1]) : 100000;
  ui::Application::Instance().Initialize();
  if (!WritePlayList(TLumorixPlayListForm::PlayListFileName(), entries)) {
    std::fprintf(stderr, "bench_playlist: cannot write the playlist file\n");
    return 1;
  }
  QuietOwner owner;
  TLumorixPlayListForm form(owner);

  auto start = Clock::now();
  double cpu = ThreadCpuMilliseconds();
  form.Initialize();  // the create step: loads the file into the list
  double load = MillisecondsSince(start);
  double loadCpu = ThreadCpuMilliseconds() - cpu;
  if (form.Count() != entries) {
    std::fprintf(stderr, "bench_playlist: loaded %d of %d entries\n", form.Count(), entries);
    return 1;
  }
  start = Clock::now();
  cpu = ThreadCpuMilliseconds();
  form.LoadSavePlayList(false);
  double save = MillisecondsSince(start);
  double saveCpu = ThreadCpuMilliseconds() - cpu;
  // The file alone, without the list.
  std::vector<TPlayListEntry> records;
  start = Clock::now();
  LoadPlayListFile(TLumorixPlayListForm::PlayListFileName(), records);
  double read = MillisecondsSince(start);

  // A user paging through the list: each page drawn before the next.
  form.Show();
  UpdateWindow(form.Handle());
  constexpr int kPages = 200;
  double slowest = 0;
  start = Clock::now();
  for (int page = 0; page < kPages; ++page) {
    auto pageStart = Clock::now();
    SendMessageW(form.LBPlayList.Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    UpdateWindow(form.LBPlayList.Handle());
    slowest = std::max(slowest, MillisecondsSince(pageStart));
  }
  double paging = MillisecondsSince(start) / kPages;
  DeleteFileW(TLumorixPlayListForm::PlayListFileName().c_str());

  std::printf("entries            %d\n", entries);
  std::printf("                   elapsed    processor\n");
  std::printf("load into the list %7.1f ms %7.1f ms\n", load, loadCpu);
  std::printf("  of it the file   %7.1f ms\n", read);
  std::printf("save               %7.1f ms %7.1f ms  (written through to the disk)\n", save, saveCpu);
  std::printf("load + save        %7.1f ms %7.1f ms\n", load + save, loadCpu + saveCpu);
  std::printf("page down, drawn   %.2f ms on average, %.2f ms at most (%d pages)\n", paging, slowest, kPages);
  return 0;
}
