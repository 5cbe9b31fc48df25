// skinhook.dll: puts a program a window test drives under a skin file, called from the program's
// own thread as the program's own call would be (the library serves that thread alone). The test
// hooks that thread's messages with this library, names the file in a global atom and posts the
// program's window the message kAttachSkinMessage; the hook hands the file to the SkinH_AttachEx
// of the library the program loaded.
#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK AttachSkinHook(int code, WPARAM removed, LPARAM lParam) {
    static const UINT attachSkin = RegisterWindowMessageW(L"Quorvane window test: attach skin");
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removed == PM_REMOVE && message->message == attachSkin) {
        char path[MAX_PATH] = "";
        using AttachEx = int(WINAPI*)(const char*, const char*);
        const auto attachEx =
            reinterpret_cast<AttachEx>(GetProcAddress(GetModuleHandleW(L"SkinH_VB6.dll"), "SkinH_AttachEx"));
        if (attachEx != nullptr && GlobalGetAtomNameA(static_cast<ATOM>(message->wParam), path, MAX_PATH) > 0) {
            attachEx(path, "");
        }
    }
    return CallNextHookEx(nullptr, code, removed, lParam);
}
