// The system's ANSI code page through the platform's own conversions.
#pragma once

#include "ui/CodePage.h"

namespace ui::win32 {

class SystemCodePage final : public AnsiCodePage {
public:
    std::string toAnsi(const std::wstring& text) const override;
    std::wstring fromAnsi(const std::string& bytes) const override;
};

}  // namespace ui::win32
