#pragma once
// Small walks over a DirectShow graph: its filters, a filter's pins, what a
// pin is connected to and whose it is.
#include <windows.h>
#include "platform/dshow.h"

#include <vector>

#include "platform/com.h"

namespace lumorix::engine {

std::vector<ComPtr<IBaseFilter>> FiltersOf(IFilterGraph* graph);
std::vector<ComPtr<IPin>> PinsOf(IBaseFilter* filter);
// The filter's first pin, with the failure of the enumeration when there is none.
HRESULT FirstPin(IBaseFilter* filter, ComPtr<IPin>& pin);
// The first input pin that is not connected; none when all are.
ComPtr<IPin> FirstFreeInput(IBaseFilter* filter);
ComPtr<IPin> PeerOf(IPin* pin);
bool IsConnected(IPin* pin);
// Whether the filter's first pin (a renderer's input) is connected.
bool FirstPinConnected(IBaseFilter* filter);
bool IsInput(IPin* pin);
// A filter with inputs only: the end of a stream.
bool IsRenderer(IBaseFilter* filter);
// Whether the pin's connection carries pictures.
bool CarriesVideo(IPin* pin);
ComPtr<IBaseFilter> OwnerOf(IPin* pin);
bool IsClass(IBaseFilter* filter, const GUID& classId);
bool SameObject(IUnknown* a, IUnknown* b);
void DisconnectPins(IBaseFilter* filter);

}  // namespace lumorix::engine
