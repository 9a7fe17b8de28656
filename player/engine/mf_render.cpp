#include "player/engine/mf_render.h"

#include "common/render_fallback.h"
#include "player/engine/mf_decoding_device.h"
#include "player/engine/mf_source_filter.h"

namespace lumorix::engine {

namespace {

// Every pin the graph can take; the source leaves again when it takes none.
HRESULT RenderSource(IGraphBuilder* graph, MfSourceFilter& source) {
  HRESULT added = graph->AddFilter(&source, kMfSourceName);
  if (FAILED(added)) return added;
  size_t rendered = 0;
  for (size_t index = 0; index < source.PinCount(); ++index)
    if (SUCCEEDED(graph->Render(source.Pin(index)))) ++rendered;
  if (rendered == 0) {
    (void)graph->RemoveFilter(&source);
    return VFW_E_CANNOT_RENDER;
  }
  return rendered == source.PinCount() ? S_OK : VFW_S_PARTIAL_RENDER;
}

// Readers decode on the graphics card where the renderer offers its device;
// a file whose picture the device's decoders refuse is opened again in software.
ComPtr<MfSourceFilter> OpenSource(IGraphBuilder* graph, const std::wstring& path) {
  ComPtr<IFilterGraph> filters;
  (void)graph->QueryInterface(IID_PPV_ARGS(&filters));
  if (ComPtr<IUnknown> device = DecodingDeviceOf(filters.Get())) {
    DecodingDeviceScope scope(device);
    ComPtr<MfSourceFilter> source = MfSourceFilter::Create(path, nullptr);
    if (source && source->HasVideo()) return source;
  }
  return MfSourceFilter::Create(path, nullptr);
}

}  // namespace

HRESULT RenderFallback(IGraphBuilder* graph, const std::wstring& path, HRESULT graphResult,
                       const std::function<void()>& clear) {
  FallbackNeed need = RenderFallbackFor(graphResult);
  if (need == FallbackNeed::kNone) return graphResult;
  ComPtr<MfSourceFilter> source = OpenSource(graph, path);
  if (!source || !MeetsNeed(need, source->HasVideo(), source->HasAudio())) return graphResult;
  clear();
  HRESULT result = RenderSource(graph, *source.Get());
  if (SUCCEEDED(result)) return result;
  // A part the graph could play is better than nothing.
  if (SUCCEEDED(graphResult)) {
    clear();
    return graph->RenderFile(path.c_str(), nullptr);
  }
  return graphResult;
}

}  // namespace lumorix::engine
