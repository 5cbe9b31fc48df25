// A code page through the platform's own conversions: the system's ANSI code page unless another
// is named (the quote service answers in code page 936 or in UTF-8 whatever the system's is).
#pragma once

#include "ui/CodePage.h"

namespace ui::win32 {

class SystemCodePage final : public AnsiCodePage {
public:
    // decodeFlags go to every decoding, e.g. MB_ERR_INVALID_CHARS: then bytes that are no text
    // decode to empty text.
    explicit SystemCodePage(unsigned codePage = 0 /* CP_ACP */, unsigned long decodeFlags = 0)
        : codePage_(codePage), decodeFlags_(decodeFlags) {}

    std::string toAnsi(const std::wstring& text) const override;
    std::wstring fromAnsi(std::string_view bytes) const override;

private:
    unsigned codePage_;
    unsigned long decodeFlags_;
};

}  // namespace ui::win32
