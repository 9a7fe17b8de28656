#pragma once
// IMediaSeeking for a filter or pin that does not seek itself: every call
// goes to the filter upstream (the decoder), asked through the input's
// connection; without one there is nothing to seek (E_NOTIMPL).
#include <windows.h>
#include "platform/dshow.h"

#include "platform/com.h"

namespace lumorix::engine {

class UpstreamSeeking : public IMediaSeeking {
 public:
  HRESULT STDMETHODCALLTYPE GetCapabilities(DWORD* capabilities) override;
  HRESULT STDMETHODCALLTYPE CheckCapabilities(DWORD* capabilities) override;
  HRESULT STDMETHODCALLTYPE IsFormatSupported(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE QueryPreferredFormat(GUID* format) override;
  HRESULT STDMETHODCALLTYPE GetTimeFormat(GUID* format) override;
  HRESULT STDMETHODCALLTYPE IsUsingTimeFormat(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* duration) override;
  HRESULT STDMETHODCALLTYPE GetStopPosition(LONGLONG* stop) override;
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG* current) override;
  HRESULT STDMETHODCALLTYPE ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                              const GUID* sourceFormat) override;
  HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                                         DWORD stopFlags) override;
  HRESULT STDMETHODCALLTYPE GetPositions(LONGLONG* current, LONGLONG* stop) override;
  HRESULT STDMETHODCALLTYPE GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
  HRESULT STDMETHODCALLTYPE SetRate(double rate) override;
  HRESULT STDMETHODCALLTYPE GetRate(double* rate) override;
  HRESULT STDMETHODCALLTYPE GetPreroll(LONGLONG* preroll) override;

 protected:
  virtual ~UpstreamSeeking() = default;
  // The upstream filter's seeking, through the connected input; none when unconnected.
  virtual ComPtr<IMediaSeeking> SeekingUpstream() const = 0;
  // The seeking of the filter `peer` (the input's connection) belongs to.
  static ComPtr<IMediaSeeking> SeekingOf(const ComPtr<IPin>& peer);

 private:
  template <typename Call>
  HRESULT Pass(const Call& call) const {
    ComPtr<IMediaSeeking> decoder = SeekingUpstream();
    return decoder ? call(decoder.Get()) : E_NOTIMPL;
  }
};

}  // namespace lumorix::engine
