// The system's ANSI code page (936 on the systems the programs serve): the narrow platform
// interfaces and the skin engine take their texts in it, the windows work in wide text.
#pragma once

#include <string>

namespace ui {

class AnsiCodePage {
public:
    virtual ~AnsiCodePage() = default;
    // Characters the code page cannot hold come out as its substitute character.
    virtual std::string toAnsi(const std::wstring& text) const = 0;
    virtual std::wstring fromAnsi(const std::string& bytes) const = 0;
};

}  // namespace ui
