// The engine's subclass procedures (WindowProcs.cpp): one for windows that hold controls, one for
// the controls it paints or colours.
#pragma once

#include <windows.h>

namespace skin::win32 {

LRESULT CALLBACK topLevelProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
LRESULT CALLBACK controlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
inline constexpr UINT_PTR kSubclassId = 0x534B4E48;  // "SKNH"

}  // namespace skin::win32
