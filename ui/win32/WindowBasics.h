// What the programs' windows and the skin library alike read from a window or build for one.
#pragma once

#include <windows.h>

#include <string>

namespace ui::win32 {

std::wstring windowText(HWND window);
std::wstring classNameOf(HWND window);

// The font of that face, size and weight at a resolution of dpi dots per inch.
LOGFONTW logFontOf(const wchar_t* face, int tenthsOfPoint, int weight, int charset, int dpi);

}  // namespace ui::win32
