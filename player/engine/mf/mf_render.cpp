#include "player/engine/mf/mf_render.h"

#include "common/render_fallback.h"
#include "player/engine/mf/mf_decoding_device.h"
#include "player/engine/mf/mf_source_filter.h"
#include "player/engine/filters/pin_walk.h"

namespace lumorix::engine {

namespace {

// What the Media Foundation source's render connected.
struct RenderedStreams {
  bool video = false;
  bool audio = false;
};

// Every pin the graph can take; the source leaves again when it takes none.
RenderedStreams RenderSource(IGraphBuilder* graph, MfSourceFilter& source) {
  RenderedStreams rendered;
  if (FAILED(graph->AddFilter(&source, kMfSourceName))) return rendered;
  for (size_t index = 0; index < source.PinCount(); ++index) {
    if (FAILED(graph->Render(source.Pin(index)))) continue;
    (source.PinKind(index) == MfStreamReader::Kind::kVideo ? rendered.video : rendered.audio) = true;
  }
  if (!rendered.video && !rendered.audio) (void)graph->RemoveFilter(&source);
  return rendered;
}

// Whether a renderer takes a picture.
bool GraphShowsPicture(IFilterGraph* graph) {
  for (const auto& filter : FiltersOf(graph)) {
    if (!IsRenderer(filter.Get())) continue;
    for (const auto& pin : PinsOf(filter.Get()))
      if (CarriesVideo(pin.Get())) return true;
  }
  return false;
}

// Readers decode on the graphics card where the renderer offers its device;
// a file whose picture the device's decoders refuse is opened again in software.
ComPtr<MfSourceFilter> OpenSource(IGraphBuilder* graph, const std::wstring& path) {
  ComPtr<IFilterGraph> filters;
  (void)graph->QueryInterface(IID_PPV_ARGS(&filters));
  if (ComPtr<IUnknown> device = DecodingDeviceOf(filters.Get())) {
    DecodingDeviceScope scope(device);
    ComPtr<MfSourceFilter> source = MfSourceFilter::Create(path, nullptr);
    // Only a picture the device could not decode is worth a second opening.
    if (!source || source->HasVideo() || !source->PicturePresent()) return source;
  }
  return MfSourceFilter::Create(path, nullptr);
}

}  // namespace

HRESULT RenderFallback(IGraphBuilder* graph, const std::wstring& path, HRESULT graphResult,
                       const std::function<void()>& clear) {
  FallbackNeed need = RenderFallbackFor(graphResult);
  if (need == FallbackNeed::kNone) return graphResult;
  ComPtr<MfSourceFilter> source = OpenSource(graph, path);
  bool picturePresent = graphResult == VFW_S_VIDEO_NOT_RENDERED || (source && source->PicturePresent());
  HRESULT result = graphResult;
  if (source && MeetsNeed(need, source->HasVideo(), source->HasAudio())) {
    clear();
    RenderedStreams rendered = RenderSource(graph, *source.Get());
    if (MeetsNeed(need, rendered.video, rendered.audio)) {
      result =
          rendered.video == source->HasVideo() && rendered.audio == source->HasAudio() ? S_OK : VFW_S_PARTIAL_RENDER;
    } else {
      // Media Foundation did no better (no sound card, say): what the graph could play stands.
      clear();
      if (SUCCEEDED(graphResult)) result = graph->RenderFile(path.c_str(), nullptr);
    }
  }
  if (FAILED(result) && !picturePresent) return result;
  HRESULT refused = RefusedWithoutPicture(result, picturePresent, SUCCEEDED(result) && GraphShowsPicture(graph));
  if (refused != result) clear();
  return refused;
}

}  // namespace lumorix::engine
