// The drop shadow of a skinned window with a caption (Shadow.cpp): a window of its own.
#pragma once

#include <windows.h>

namespace skin::win32 {

HWND createShadow(HWND target);
void placeShadow(HWND shadow, HWND target);
void destroyShadow(HWND& shadow);

}  // namespace skin::win32
