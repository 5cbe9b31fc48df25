// What both programs' fakes share: a skin engine that records every call with its arguments, as
// our library's trace writes them, and a message box as the window was asked to show it.
#pragma once

#include <string>
#include <vector>

#include "skinengine/SkinEngine.h"

namespace support {

struct Message {
    std::wstring text;
    std::wstring title;
    int style;
};

class RecordingSkinEngine : public skinengine::SkinEngine {
public:
    void SkinH_Attach() override { calls.push_back("SkinH_Attach()"); }
    void SkinH_AttachEx(const std::string& path, const std::string& second) override {
        calls.push_back("SkinH_AttachEx(\"" + path + "\", \"" + second + "\")");
    }
    void SkinH_Detach() override { calls.push_back("SkinH_Detach()"); }
    void SkinH_DetachEx(skinengine::WindowHandle window) override {
        calls.push_back("SkinH_DetachEx(" + skinengine::handleText(window) + ")");
    }
    void SkinH_SetAero(std::int32_t on) override { calls.push_back("SkinH_SetAero(" + std::to_string(on) + ")"); }
    void SkinH_SetWindowAlpha(skinengine::WindowHandle window, std::int32_t alpha) override {
        calls.push_back("SkinH_SetWindowAlpha(" + skinengine::handleText(window) + ", " + std::to_string(alpha) + ")");
    }

    std::vector<std::string> calls;
};

}  // namespace support
