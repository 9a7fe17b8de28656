#include "player/engine/graph/graph_watchdog.h"

#include <objbase.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

#include "platform/handle.h"

namespace lumorix::engine {

namespace {

std::atomic<int> abandonedInProcess{0};

// Waits for `event`, handling the messages other threads send to this
// thread's windows meanwhile: a renderer changing state from the call's
// thread sends to its window, which lives on the caller's thread. Posted
// messages wait for the message loop.
bool WaitAnsweringSentMessages(HANDLE event, std::chrono::milliseconds limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    DWORD wait = left.count() > 0 ? static_cast<DWORD>(left.count()) : 0;
    DWORD woken = MsgWaitForMultipleObjectsEx(1, &event, wait, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0) return true;
    if (woken != WAIT_OBJECT_0 + 1) return false;
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace

struct GraphWatchdog::Pending {
  std::function<HRESULT()> call;
  HRESULT result = E_PENDING;
  UniqueHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::mutex mutex;
  std::vector<ComPtr<IUnknown>> buried;
};

std::optional<HRESULT> GraphWatchdog::Call(std::function<HRESULT()> call, std::chrono::milliseconds limit) {
  auto pending = std::make_shared<Pending>();
  pending->call = std::move(call);
  if (!pending->done) return pending->call();  // no event to wait on: call in place
  std::thread([pending] {
    HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    pending->result = pending->call();
    SetEvent(pending->done.Get());
    // Whatever was buried here goes after the call, on this thread.
    std::vector<ComPtr<IUnknown>> buried;
    {
      std::lock_guard lock(pending->mutex);
      buried.swap(pending->buried);
    }
    pending->call = nullptr;
    buried.clear();
    if (SUCCEEDED(com)) CoUninitialize();
  }).detach();
  if (WaitAnsweringSentMessages(pending->done.Get(), limit)) return pending->result;
  stuck_ = pending;
  ++abandoned_;
  ++abandonedInProcess;
  return std::nullopt;
}

int GraphWatchdog::AbandonedInProcess() { return abandonedInProcess; }

void EndProcessKeepingStuckGraphs(UINT exitCode) {
  if (abandonedInProcess == 0) return;
  std::fflush(nullptr);
  TerminateProcess(GetCurrentProcess(), exitCode);
}

void GraphWatchdog::Bury(std::vector<ComPtr<IUnknown>> objects) {
  if (!stuck_) return;  // nothing stuck: the caller releases them itself
  std::lock_guard lock(stuck_->mutex);
  if (WaitForSingleObject(stuck_->done.Get(), 0) == WAIT_OBJECT_0) return;  // came back meanwhile
  for (auto& object : objects) stuck_->buried.push_back(std::move(object));
}

}  // namespace lumorix::engine
