// A code page of the narrow interfaces: the system's ANSI code page (936 on the systems the
// programs serve), in which the narrow platform interfaces and the skin engine take their texts,
// or one a peer answers in (the quote service: GBK or UTF-8). The windows work in wide text.
#pragma once

#include <string>
#include <string_view>

namespace ui {

class AnsiCodePage {
public:
    virtual ~AnsiCodePage() = default;
    // Characters the code page cannot hold come out as its substitute character.
    virtual std::string toAnsi(const std::wstring& text) const = 0;
    virtual std::wstring fromAnsi(std::string_view bytes) const = 0;
};

}  // namespace ui
