// The body of a web address as text, read through WinINet in 256-byte pieces.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "stock/Platform.h"

namespace stock {

inline constexpr std::uint32_t kReadSize = 256;
// An answer that never ends would otherwise freeze the window for good and eat memory.
inline constexpr std::size_t kMaxBodyBytes = 1024 * 1024;

// Empty text on any failure; the text ends before the body's first NUL. A body in UTF-8 (see
// utf8TextLength) is read as UTF-8, any other as GBK.
std::wstring fetchWebText(InternetApi& internet, const TextCodePages& text, const std::wstring& url,
                          const std::string& headers);

// A GBK lead byte without a valid trail byte becomes "?" on its own, so that it cannot swallow
// the byte after it (a comma between two fields, say).
std::string withLoneLeadBytesReplaced(const std::string& bytes);

// When the bytes are strict UTF-8 (no overlong form, no surrogate, nothing above U+10FFFF, no
// character cut short) holding at least one character beyond ASCII, the length of their whole
// characters; nothing otherwise. GBK Chinese text practically never passes. cutByBound: the body
// went on beyond these bytes, so a last character the cut split still counts; the length then
// leaves it out.
std::optional<std::size_t> utf8TextLength(std::string_view bytes, bool cutByBound);

}  // namespace stock
