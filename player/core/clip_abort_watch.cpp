#include "player/core/clip_abort_watch.h"

#include "common/format.h"
#include "platform/text.h"
#include "player/engine/graph/direct_show_error.h"

namespace lumorix {

ClipAbortWatch::ClipAbortWatch(engine::TFilterGraph& graph) : graph_(graph) { graph_.AddListener(this); }

ClipAbortWatch::~ClipAbortWatch() { graph_.RemoveListener(this); }

void ClipAbortWatch::NewClip() {
  draining_ = true;
  graph_.PumpEvents();
  draining_ = false;
  failed_ = false;
}

void ClipAbortWatch::GraphEvent(long code, LONG_PTR param1, LONG_PTR param2) {
  if (code != EC_ERRORABORT && code != EC_ERRORABORTEX) return;
  if (failed_ || draining_) return;
  failed_ = true;
  const auto result = static_cast<HRESULT>(param1);
  // EC_ERRORABORTEX may bring a text (a BSTR, freed with the event).
  const auto* text = code == EC_ERRORABORTEX ? reinterpret_cast<const wchar_t*>(param2) : nullptr;
  const size_t length = text ? SysStringLen(const_cast<BSTR>(text)) : 0;
  if (OnAbort) OnAbort(AbortMessage(result, text, length));
}

std::string AbortMessage(HRESULT code, const wchar_t* text, size_t length) {
  if (!text || length == 0) return engine::DirectShowErrorMessage(code);
  return Narrow(std::wstring_view(text, length)) + Format(" ($%X).", static_cast<unsigned>(code));
}

}  // namespace lumorix
