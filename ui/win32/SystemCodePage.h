// A code page through the platform's own conversions: the system's ANSI code page unless another
// is named (the quote service answers in code page 936 whatever the system's is).
#pragma once

#include "ui/CodePage.h"

namespace ui::win32 {

class SystemCodePage final : public AnsiCodePage {
public:
    explicit SystemCodePage(unsigned codePage = 0 /* CP_ACP */) : codePage_(codePage) {}

    std::string toAnsi(const std::wstring& text) const override;
    std::wstring fromAnsi(const std::string& bytes) const override;

private:
    unsigned codePage_;
};

}  // namespace ui::win32
