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

 private:
  struct Pending;
  std::shared_ptr<Pending> stuck_;  // the last call that did not return
  int abandoned_ = 0;
};

}  // namespace lumorix::engine
