#pragma once
// Bounded waits for graph calls that can block. A splitter can lose a stream
// thread's wake-up (Wine's GStreamer parser does after a seek in a clip with
// a picture and a sound track): its Stop then waits for that thread forever,
// and a player calling it on its GUI thread would never answer again. Each
// call runs on a thread of its own; the caller waits a bounded time and, when
// the call does not come back, gives the graph up instead of its thread.
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/com.h"

namespace lumorix::engine {

class GraphWatchdog {
 public:
  GraphWatchdog() = default;
  GraphWatchdog(const GraphWatchdog&) = delete;
  GraphWatchdog& operator=(const GraphWatchdog&) = delete;

  // The call's result, or nothing when it did not return within `limit`.
  // A call that did not return keeps running on its own thread.
  std::optional<HRESULT> Call(std::function<HRESULT()> call, std::chrono::milliseconds limit);

  // Hands objects of a graph whose call did not return to that call's thread:
  // their release may wait for the same stuck thread, so it happens there,
  // after the call (if it ever returns), never on the caller's thread.
  void Bury(std::vector<ComPtr<IUnknown>> objects);

  // How many calls did not return in time, for the record.
  int Abandoned() const { return abandoned_; }

  // How many calls of every watchdog of the process did not return. A stuck
  // call's thread still runs inside the media components, so a process with
  // one must not unload them at its end: see EndProcessKeepingStuckGraphs.
  static int AbandonedInProcess();

 private:
  struct Pending;
  std::shared_ptr<Pending> stuck_;  // the last call that did not return
  int abandoned_ = 0;
};

// Ends the process with `exitCode` at once, without unloading its DLLs, when
// a graph call was given up; returns otherwise. Unloading under a call still
// running inside them can crash or hang the exit (Wine's GStreamer threads
// outlive the DLLs that own them). Everything to keep must be saved before.
void EndProcessKeepingStuckGraphs(UINT exitCode);

}  // namespace lumorix::engine
