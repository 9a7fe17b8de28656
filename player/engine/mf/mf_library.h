#pragma once
// Media Foundation's entry points, loaded on first use: the player starts
// and plays through DirectShow also where Media Foundation is missing (the
// N editions of Windows without their media pack) or slow to load.
#include <windows.h>
#include <mfidl.h>
#include <mfreadwrite.h>

namespace lumorix::engine {

struct MfLibrary {
  HRESULT(WINAPI* Startup)(ULONG version, DWORD flags) = nullptr;
  HRESULT(WINAPI* Shutdown)() = nullptr;
  HRESULT(WINAPI* CreateAttributes)(IMFAttributes** attributes, UINT32 size) = nullptr;
  HRESULT(WINAPI* CreateMediaType)(IMFMediaType** type) = nullptr;
  HRESULT(WINAPI* CreateWaveFormatExFromMFMediaType)
  (IMFMediaType* type, WAVEFORMATEX** format, UINT32* size, UINT32 flags) = nullptr;
  HRESULT(WINAPI* CreateSourceReaderFromURL)
  (LPCWSTR url, IMFAttributes* attributes, IMFSourceReader** reader) = nullptr;
};

// The loaded library, or null when this system has no Media Foundation.
const MfLibrary* MediaFoundation();

}  // namespace lumorix::engine
