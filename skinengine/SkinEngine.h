// What the programs ask of the outside skin engine library. The names are the library's own
// export names; every argument is one machine word (32 bits in a 32-bit program, where the
// library's hosts rely on it, 64 in a 64-bit one) and no result is read.
#pragma once

#include <cstdint>
#include <string>

namespace skinengine {

// A native window handle as the library takes it: pointer-sized, like HWND. Windows gives window
// handles only 32 significant bits in 64-bit programs too, but nothing here relies on that: the
// value travels whole.
using WindowHandle = std::uintptr_t;

// A handle as our library's trace writes it: "0x" and at least eight upper-case hex digits, the
// whole value, so that a 64-bit host's pointer-sized values are never cut to their low 32 bits.
inline std::string handleText(std::uintptr_t value) {
    // At least eight upper-case hex digits. Written out here: snprintf would bring the C library's
    // whole number formatter into the skin library, some twenty kilobytes.
    const auto number = static_cast<unsigned long long>(value);
    int digits = 8;
    while (digits < 16 && (number >> (digits * 4)) != 0) ++digits;
    std::string text = "0x";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) text += "0123456789ABCDEF"[(number >> shift) & 0xF];
    return text;
}

class SkinEngine {
public:
    virtual ~SkinEngine() = default;

    virtual void SkinH_Attach() = 0;
    // Both texts are in the system's ANSI code page.
    virtual void SkinH_AttachEx(const std::string& skinPath, const std::string& secondText) = 0;
    virtual void SkinH_Detach() = 0;
    virtual void SkinH_DetachEx(WindowHandle window) = 0;
    virtual void SkinH_SetAero(std::int32_t on) = 0;
    virtual void SkinH_SetWindowAlpha(WindowHandle window, std::int32_t alpha) = 0;
};

// An engine that does nothing: for harnesses and measurements of a window's logic without skins.
class NoSkinEngine final : public SkinEngine {
public:
    void SkinH_Attach() override {}
    void SkinH_AttachEx(const std::string&, const std::string&) override {}
    void SkinH_Detach() override {}
    void SkinH_DetachEx(WindowHandle) override {}
    void SkinH_SetAero(std::int32_t) override {}
    void SkinH_SetWindowAlpha(WindowHandle, std::int32_t) override {}
};

}  // namespace skinengine
