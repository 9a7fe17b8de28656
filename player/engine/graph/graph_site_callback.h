#pragma once
// The graph's site: accepts every filter the graph builder picks and asks
// for no retry when a pin cannot be rendered.
#include <windows.h>
#include "platform/dshow.h"

#include "platform/com.h"

namespace lumorix::engine {

// IAMFilterGraphCallback as the platform calls it. The MinGW-w64 header
// declares its method without the COM calling convention, so it is declared
// here from its documented layout.
struct AMFilterGraphCallback : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE UnableToRender(IPin* pin) = 0;
};

}  // namespace lumorix::engine

__CRT_UUID_DECL(lumorix::engine::AMFilterGraphCallback, 0x56a868fd, 0x0ad4, 0x11ce, 0xb0, 0xa3, 0x00, 0x20, 0xaf, 0x0b,
                0xa7, 0x70)

namespace lumorix::engine {

class GraphSiteCallback : public ComObject<IAMGraphBuilderCallback, AMFilterGraphCallback> {
 public:
  HRESULT STDMETHODCALLTYPE SelectedFilter(IMoniker*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE CreatedFilter(IBaseFilter*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE UnableToRender(IPin*) override { return S_FALSE; }
};

}  // namespace lumorix::engine
