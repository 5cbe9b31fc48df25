// Our own build of the skin engine library: the six functions the programs call, exported by
// their plain names (SkinH_VB6.def) with the stdcall convention, every argument one machine word
// (one 32-bit value in the 32-bit build, as the hosts of the 32-bit library rely on).
// Each call is traced first (Trace.h); a call from a thread the engine does not serve is turned
// away; nothing thrown inside ever crosses back to the caller.
#include <windows.h>

#include <string>

#include "skinlibrary/win32/Engine.h"
#include "skinlibrary/win32/Trace.h"

namespace {

using skin::win32::Engine;
using skin::win32::handleText;
using skin::win32::quotedAnsi;

// window: the window the call is about, if any.
template <typename Line, typename Work>
int serve(HWND window, Line line, Work work) {
    try {
        skin::win32::trace(line);
        Engine& engine = Engine::instance();
        if (!engine.serves(window)) return 0;
        Engine::Busy busy;
        work(engine);
    } catch (...) {
        // The host goes on with the skin as it was.
    }
    return 0;
}

}  // namespace

extern "C" {

int WINAPI SkinH_Attach() {
    return serve(
        nullptr, [] { return std::string("SkinH_Attach()"); },
        [](Engine& engine) { engine.attach(skin::defaultSkin()); });
}

// The second text is accepted and never read (but by the trace).
int WINAPI SkinH_AttachEx(const char* skinPath, const char* secondText) {
    return serve(
        nullptr, [&] { return "SkinH_AttachEx(" + quotedAnsi(skinPath) + ", " + quotedAnsi(secondText) + ")"; },
        [&](Engine& engine) { engine.attachFile(skinPath); });
}

int WINAPI SkinH_Detach() {
    return serve(
        nullptr, [] { return std::string("SkinH_Detach()"); }, [](Engine& engine) { engine.detach(); });
}

int WINAPI SkinH_DetachEx(HWND window) {
    return serve(
        window, [&] { return "SkinH_DetachEx(" + handleText(window) + ")"; },
        [&](Engine& engine) { engine.detachWindow(window); });
}

int WINAPI SkinH_SetAero(int on) {
    return serve(
        nullptr, [&] { return "SkinH_SetAero(" + std::to_string(on) + ")"; },
        [&](Engine& engine) { engine.setShadow(on != 0); });
}

int WINAPI SkinH_SetWindowAlpha(HWND window, int alpha) {
    return serve(
        window, [&] { return "SkinH_SetWindowAlpha(" + handleText(window) + ", " + std::to_string(alpha) + ")"; },
        [&](Engine& engine) { engine.setOpacity(window, alpha); });
}

}  // extern "C"
