#pragma once
// Hears a clip fail half-way: a decoder that gives up, a device that goes
// away (EC_ERRORABORT, EC_ERRORABORTEX). Each clip's failure is reported
// once, however many of its streams report it.
#include <functional>
#include <string>

#include "player/engine/graph/filter_graph.h"

namespace lumorix {

class ClipAbortWatch : private engine::IFilterGraphListener {
 public:
  explicit ClipAbortWatch(engine::TFilterGraph& graph);
  ~ClipAbortWatch();
  ClipAbortWatch(const ClipAbortWatch&) = delete;
  ClipAbortWatch& operator=(const ClipAbortWatch&) = delete;

  // A new clip is about to be rendered, the last one's graph stopped: what
  // its streams reported before they stopped is no news of the next one.
  void NewClip();

  // The failure's message, as the error box shows it; runs inside the graph's
  // event pump, so it must not wait for anything.
  std::function<void(const std::string& message)> OnAbort;

 private:
  void GraphEvent(long code, LONG_PTR param1, LONG_PTR param2) override;
  void ControlEvent(engine::TGraphNotice, int) override {}

  engine::TFilterGraph& graph_;
  bool failed_ = false;
  bool draining_ = false;
};

// "<the system's or the event's text> ($CODE)."; the event's own text, when
// it brings one (EC_ERRORABORTEX), before the system's.
std::string AbortMessage(HRESULT code, const wchar_t* text, size_t length);

}  // namespace lumorix
