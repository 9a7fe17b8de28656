#include "player/engine/filters/upstream_seeking.h"

namespace lumorix::engine {

ComPtr<IMediaSeeking> UpstreamSeeking::SeekingOf(const ComPtr<IPin>& peer) {
  ComPtr<IMediaSeeking> seeking;
  if (peer) (void)peer.As(&seeking);
  return seeking;
}

HRESULT UpstreamSeeking::GetCapabilities(DWORD* capabilities) {
  return Pass([&](IMediaSeeking* up) { return up->GetCapabilities(capabilities); });
}
HRESULT UpstreamSeeking::CheckCapabilities(DWORD* capabilities) {
  return Pass([&](IMediaSeeking* up) { return up->CheckCapabilities(capabilities); });
}
HRESULT UpstreamSeeking::IsFormatSupported(const GUID* format) {
  return Pass([&](IMediaSeeking* up) { return up->IsFormatSupported(format); });
}
HRESULT UpstreamSeeking::QueryPreferredFormat(GUID* format) {
  return Pass([&](IMediaSeeking* up) { return up->QueryPreferredFormat(format); });
}
HRESULT UpstreamSeeking::GetTimeFormat(GUID* format) {
  return Pass([&](IMediaSeeking* up) { return up->GetTimeFormat(format); });
}
HRESULT UpstreamSeeking::IsUsingTimeFormat(const GUID* format) {
  return Pass([&](IMediaSeeking* up) { return up->IsUsingTimeFormat(format); });
}
HRESULT UpstreamSeeking::SetTimeFormat(const GUID* format) {
  return Pass([&](IMediaSeeking* up) { return up->SetTimeFormat(format); });
}
HRESULT UpstreamSeeking::GetDuration(LONGLONG* duration) {
  return Pass([&](IMediaSeeking* up) { return up->GetDuration(duration); });
}
HRESULT UpstreamSeeking::GetStopPosition(LONGLONG* stop) {
  return Pass([&](IMediaSeeking* up) { return up->GetStopPosition(stop); });
}
HRESULT UpstreamSeeking::GetCurrentPosition(LONGLONG* current) {
  return Pass([&](IMediaSeeking* up) { return up->GetCurrentPosition(current); });
}
HRESULT UpstreamSeeking::ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                        const GUID* sourceFormat) {
  return Pass([&](IMediaSeeking* up) { return up->ConvertTimeFormat(target, targetFormat, source, sourceFormat); });
}
HRESULT UpstreamSeeking::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) {
  return Pass([&](IMediaSeeking* up) { return up->SetPositions(current, currentFlags, stop, stopFlags); });
}
HRESULT UpstreamSeeking::GetPositions(LONGLONG* current, LONGLONG* stop) {
  return Pass([&](IMediaSeeking* up) { return up->GetPositions(current, stop); });
}
HRESULT UpstreamSeeking::GetAvailable(LONGLONG* earliest, LONGLONG* latest) {
  return Pass([&](IMediaSeeking* up) { return up->GetAvailable(earliest, latest); });
}
HRESULT UpstreamSeeking::SetRate(double rate) {
  return Pass([&](IMediaSeeking* up) { return up->SetRate(rate); });
}
HRESULT UpstreamSeeking::GetRate(double* rate) {
  return Pass([&](IMediaSeeking* up) { return up->GetRate(rate); });
}
HRESULT UpstreamSeeking::GetPreroll(LONGLONG* preroll) {
  return Pass([&](IMediaSeeking* up) { return up->GetPreroll(preroll); });
}

}  // namespace lumorix::engine
