// Our own build of the skin engine library: the six functions the programs call, exported by
// their plain names (SkinH_VB6.def) with the stdcall convention, every argument one 32-bit value.
// Each call is traced first (Trace.h); nothing thrown inside ever crosses back to the caller.
#include <windows.h>

#include <string>

#include "skinengine/library/Engine.h"
#include "skinengine/library/Trace.h"

namespace {

using skin::win32::Engine;
using skin::win32::handleText;
using skin::win32::trace;
using skin::win32::utf8FromAnsi;

template <typename Work>
int guarded(Work work) {
    Engine::Busy busy;
    try {
        work(Engine::instance());
    } catch (...) {
        // The host goes on with the skin as it was.
    }
    return 0;
}

}  // namespace

extern "C" {

int WINAPI SkinH_Attach() {
    return guarded([&](Engine& engine) {
        trace("SkinH_Attach()");
        engine.attach(skin::defaultSkin());
    });
}

// The second text is accepted and not used.
int WINAPI SkinH_AttachEx(const char* skinPath, const char* secondText) {
    return guarded([&](Engine& engine) {
        trace("SkinH_AttachEx(\"" + utf8FromAnsi(skinPath) + "\", \"" + utf8FromAnsi(secondText) + "\")");
        engine.attachFile(skinPath);
    });
}

int WINAPI SkinH_Detach() {
    return guarded([&](Engine& engine) {
        trace("SkinH_Detach()");
        engine.detach();
    });
}

int WINAPI SkinH_DetachEx(HWND window) {
    return guarded([&](Engine& engine) {
        trace("SkinH_DetachEx(" + handleText(window) + ")");
        engine.detachWindow(window);
    });
}

int WINAPI SkinH_SetAero(int on) {
    return guarded([&](Engine& engine) {
        trace("SkinH_SetAero(" + std::to_string(on) + ")");
        engine.setShadow(on != 0);
    });
}

int WINAPI SkinH_SetWindowAlpha(HWND window, int alpha) {
    return guarded([&](Engine& engine) {
        trace("SkinH_SetWindowAlpha(" + handleText(window) + ", " + std::to_string(alpha) + ")");
        engine.setOpacity(window, alpha);
    });
}

}  // extern "C"
