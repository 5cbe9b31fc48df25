// The look shared by the drive list and the directory list: each entry a small picture,
// indented by its level, and its text.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace glimmora::win32 {

// Paints the entry's picture into the square it is given.
using PicturePainter = std::function<void(HDC dc, const RECT& square)>;

// Entries as tall as the font's line or the small icon, whichever is taller.
int entryHeight(HFONT font);
void drawEntry(const DRAWITEMSTRUCT& item, int indent, const std::wstring& text, const PicturePainter& picture);

// A folder drawn by us: the platform's open-folder icon is not the same everywhere.
void paintFolder(HDC dc, const RECT& square, bool open);
// A drive of that type (GetDriveType's) drawn by us: the shell's drive icons come from its
// icon cache, whose set-up made the tool's start take a third longer.
void paintDrive(HDC dc, const RECT& square, UINT driveType);

}  // namespace glimmora::win32
