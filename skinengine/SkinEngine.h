// What the programs ask of the outside skin engine library. The names are the library's own
// export names; every argument is one 32-bit value and no result is read.
#pragma once

#include <cstdint>
#include <string>

namespace skinengine {

// A native window handle as the library takes it: one 32-bit value.
using WindowHandle = std::uint32_t;

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
