#pragma once
// The way to Media Foundation for files the filter graph cannot render.
#include <windows.h>
#include "platform/dshow.h"

#include <functional>
#include <string>

namespace lumorix::engine {

// Called after the graph's own render of `path` ended in `graphResult`. When that
// result means no filter could read or decode the file (or some of its streams)
// and Media Foundation can, the file is rendered from the Media Foundation source
// filter instead, after `clear` has taken out what the graph's attempt left.
// Returns the result that stands: the new render's, or `graphResult` unchanged.
[[nodiscard]] HRESULT RenderFallback(IGraphBuilder* graph, const std::wstring& path, HRESULT graphResult,
                                     const std::function<void()>& clear);

// The name the source filter has in the graph.
inline constexpr wchar_t kMfSourceName[] = L"Media Foundation Source";

}  // namespace lumorix::engine
