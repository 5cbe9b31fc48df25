#include "ui/win32/SystemCodePage.h"

#include <windows.h>

namespace ui::win32 {

// Lengths are given, not found by NUL: texts may hold NULs, and they pass through.
std::string SystemCodePage::toAnsi(const std::wstring& text) const {
    if (text.empty()) return {};
    const int length = WideCharToMultiByte(codePage_, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(codePage_, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                        nullptr);
    return bytes;
}

std::wstring SystemCodePage::fromAnsi(std::string_view bytes) const {
    if (bytes.empty()) return {};
    const int length =
        MultiByteToWideChar(codePage_, decodeFlags_, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    MultiByteToWideChar(codePage_, decodeFlags_, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

}  // namespace ui::win32
