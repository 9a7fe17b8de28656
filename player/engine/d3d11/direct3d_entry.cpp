#include "player/engine/d3d11/direct3d_entry.h"

namespace lumorix::engine {

namespace {

// Loaded once and kept for the process's life: the device's code lives there.
void* Entry(const wchar_t* library, const char* name) {
  HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module) module = LoadLibraryW(library);  // systems without the safe search flag
  return module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}

}  // namespace

CreateDeviceEntry CreateDeviceFunction() {
  static auto entry = reinterpret_cast<CreateDeviceEntry>(Entry(L"d3d11.dll", "D3D11CreateDevice"));
  return entry;
}

CompileEntry CompileFunction() {
  static auto entry = reinterpret_cast<CompileEntry>(Entry(L"d3dcompiler_47.dll", "D3DCompile"));
  return entry;
}

CreateDxgiManagerEntry CreateDxgiManagerFunction() {
  static auto entry = reinterpret_cast<CreateDxgiManagerEntry>(Entry(L"mfplat.dll", "MFCreateDXGIDeviceManager"));
  return entry;
}

}  // namespace lumorix::engine
