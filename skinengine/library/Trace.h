// When the environment variable SKINH_TRACE names a file, every call of the library appends one
// line to it: the function and its arguments, texts as UTF-8 of the ANSI bytes, handles in hex.
#pragma once

#include <windows.h>

#include <string>

namespace skin::win32 {

std::string utf8FromAnsi(const char* ansi);
std::string handleText(HWND window);
void trace(const std::string& line);

}  // namespace skin::win32
