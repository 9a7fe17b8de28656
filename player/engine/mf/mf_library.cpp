#include "player/engine/mf/mf_library.h"

namespace lumorix::engine {

namespace {

// Kept loaded for the rest of the process: readers may be made at any time.
class LoadedLibrary {
 public:
  LoadedLibrary() {
    // Media Foundation is no known DLL: named alone, it would be looked for
    // beside the program first.
    HMODULE platform = LoadLibraryExW(L"mfplat.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    HMODULE readers = LoadLibraryExW(L"mfreadwrite.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!platform || !readers) return;
    bool all = Bind(platform, "MFStartup", library_.Startup) && Bind(platform, "MFShutdown", library_.Shutdown) &&
               Bind(platform, "MFCreateAttributes", library_.CreateAttributes) &&
               Bind(platform, "MFCreateMediaType", library_.CreateMediaType) &&
               Bind(platform, "MFCreateWaveFormatExFromMFMediaType", library_.CreateWaveFormatExFromMFMediaType) &&
               Bind(readers, "MFCreateSourceReaderFromURL", library_.CreateSourceReaderFromURL);
    loaded_ = all;
  }
  const MfLibrary* Get() const { return loaded_ ? &library_ : nullptr; }

 private:
  template <typename Function>
  static bool Bind(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
  }

  MfLibrary library_;
  bool loaded_ = false;
};

}  // namespace

const MfLibrary* MediaFoundation() {
  static const LoadedLibrary library;
  return library.Get();
}

}  // namespace lumorix::engine
