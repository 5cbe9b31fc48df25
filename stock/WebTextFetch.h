// The body of a web address as text, read through WinINet in 256-byte pieces.
#pragma once

#include <cstddef>
#include <string>

#include "stock/Platform.h"

namespace stock {

inline constexpr std::uint32_t kReadSize = 256;
// An answer that never ends would otherwise freeze the window for good and eat memory.
inline constexpr std::size_t kMaxBodyBytes = 1024 * 1024;

// Empty text on any failure; the text ends before the body's first NUL.
std::wstring fetchWebText(InternetApi& internet, TextCodec& text, const std::wstring& url, const std::string& headers);

// A GBK lead byte without a valid trail byte becomes "?" on its own, so that it cannot swallow
// the byte after it (a comma between two fields, say).
std::string withLoneLeadBytesReplaced(const std::string& bytes);

}  // namespace stock
