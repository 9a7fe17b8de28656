#pragma once
// The Direct3D, shader compiler and Media Foundation entry points the
// presenter needs, looked up in their DLLs when first asked for: the player
// starts where one is missing (a system without the shader compiler, Windows
// N without Media Foundation) and draws through the legacy renderer there.
#include <windows.h>
#include <d3d11.h>
#include <d3dcompiler.h>
#include <mfobjects.h>

namespace lumorix::engine {

using CreateDeviceEntry = decltype(&D3D11CreateDevice);
using CompileEntry = decltype(&D3DCompile);
using CreateDxgiManagerEntry = HRESULT(WINAPI*)(UINT* resetToken, IMFDXGIDeviceManager** manager);

// Null when the DLL or the entry is not there.
CreateDeviceEntry CreateDeviceFunction();
CompileEntry CompileFunction();
CreateDxgiManagerEntry CreateDxgiManagerFunction();

}  // namespace lumorix::engine
