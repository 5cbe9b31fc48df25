// When the environment variable SKINH_TRACE names a file, every call of the library appends one
// line to it: the function and its arguments, texts as UTF-8 of the ANSI bytes, handles in hex.
// A line is built only while tracing: with it off, a host's texts are read no further than the
// call itself needs them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ui/win32/SystemCodePage.h"

namespace skin::win32 {

// The longest text the library reads from a host, its NUL included: the platform's longest path.
inline constexpr std::size_t kMaxHostTextBytes = 32768;

// A host's NUL-terminated text, never read past maxBytes: nullopt for a null pointer or a text
// without its NUL within the bound.
std::optional<std::string_view> boundedText(const char* text, std::size_t maxBytes = kMaxHostTextBytes);

// The host's code page, and UTF-8, in which the trace and the skin files are written.
inline const ui::win32::SystemCodePage kAnsi;
inline const ui::win32::SystemCodePage kUtf8{CP_UTF8};
// The text in double quotes as the trace shows it.
std::string quotedAnsi(const char* ansi);
std::string handleText(HWND window);

void trace(const std::function<std::string()>& line);

// Why the library turned something down, for the host's or the skin's author: to a debugger
// (OutputDebugStringW) and, while tracing, to the trace as a line indented by two blanks.
void tell(const std::wstring& why);

}  // namespace skin::win32
