// What the programs' windows and the skin library alike read from a window or build for one.
#pragma once

#include <windows.h>

#include <string>

#include "ui/DesignTable.h"

namespace ui::win32 {

std::wstring windowText(HWND window);
std::wstring classNameOf(HWND window);

// A folder the platform names (GetSystemDirectoryW, GetWindowsDirectoryW) with its closing
// backslash, or empty when it cannot be read.
std::wstring platformFolder(UINT(WINAPI* ask)(LPWSTR, UINT));

// The font at a resolution of dpi dots per inch.
LOGFONTW logFontAt(const Font& font, int dpi);

}  // namespace ui::win32
