#pragma once
// A DirectShow source filter that reads a file with Media Foundation: the
// file's first video stream comes out as NV12, YUY2 or RGB32 (what the
// renderer takes) on the "Video" pin, its first audio stream as PCM on the
// "Audio" pin. The graph renders the pins with its
// usual renderers, so the rest of the player sees an ordinary graph.
#include <windows.h>
#include "platform/dshow.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/com.h"
#include "player/engine/mf_output_pin.h"

namespace lumorix::engine {

class MfSourceFilter : public ComObject<IBaseFilter> {
 public:
  // The filter for a file; `error` gets Media Foundation's reason when it can read none of its streams.
  static ComPtr<MfSourceFilter> Create(const std::wstring& path, HRESULT* error);

  bool HasVideo() const;
  // Whether the file has a video stream, decodable here or not.
  bool PicturePresent() const { return picturePresent_; }
  bool HasAudio() const;
  size_t PinCount() const { return pins_.size(); }
  IPin* Pin(size_t index) const { return pins_[index].get(); }
  MfStreamReader::Kind PinKind(size_t index) const { return pins_[index]->Kind(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;

  // IPersist
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override;
  // IMediaFilter
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Pause() override;
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) override;
  HRESULT STDMETHODCALLTYPE GetState(DWORD timeout, FILTER_STATE* state) override;
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock* clock) override;
  HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override;
  // IBaseFilter
  HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) override;
  HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** pin) override;
  HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override;
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
  HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR* info) override;

  FILTER_STATE State() const { return state_; }

 protected:
  ~MfSourceFilter() override;

 private:
  std::vector<std::unique_ptr<MfOutputPin>> pins_;
  std::recursive_mutex lock_;
  FILTER_STATE state_ = State_Stopped;
  ComPtr<IReferenceClock> clock_;
  IFilterGraph* graph_ = nullptr;  // not counted: the graph owns the filter
  std::wstring name_;
  bool picturePresent_ = false;
};

}  // namespace lumorix::engine
