// The look shared by the drive list and the directory list: each entry a small icon, indented
// by its level, and its text.
#pragma once

#include <windows.h>

#include <string>

namespace glimmora::win32 {

// Entries as tall as the font's line or the small icon, whichever is taller.
int entryHeight(HWND control);
void drawEntry(const DRAWITEMSTRUCT& item, HICON icon, int indent, const std::wstring& text);
// The shell's small icon of a folder (open or closed look) or of a drive root such as "C:\".
HICON smallFolderIcon(bool open);
HICON smallDriveIcon(const std::wstring& root);

}  // namespace glimmora::win32
