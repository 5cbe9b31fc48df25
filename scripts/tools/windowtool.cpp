// A helper for scripts/run under Wine: waits for a program's window and prints where it lies, or
// asks it to close.
//   windowtool wait CLASS TIMEOUT_MS   prints "WIDTHxHEIGHT+LEFT+TOP" of the first visible window
//   windowtool close CLASS             posts WM_CLOSE to every window of that class
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: windowtool wait CLASS TIMEOUT_MS | close CLASS\n");
        return 2;
    }
    const char* className = argv[2];
    if (std::strcmp(argv[1], "close") == 0) {
        while (HWND window = FindWindowA(className, nullptr)) {
            PostMessageA(window, WM_CLOSE, 0, 0);
            Sleep(200);
            if (FindWindowA(className, nullptr) == window) break;
        }
        return 0;
    }
    const DWORD timeout = argc > 3 ? static_cast<DWORD>(std::atol(argv[3])) : 30000;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeout) {
        HWND window = FindWindowA(className, nullptr);
        if (window != nullptr && IsWindowVisible(window)) {
            SetCursorPos(0, 0);  // off the window: no tooltip in the picture
            Sleep(1000);         // let the first paint reach the screen
            RECT rect;
            GetWindowRect(window, &rect);
            std::printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left, rect.top);
            return 0;
        }
        Sleep(100);
    }
    std::fprintf(stderr, "windowtool: no window of class %s\n", className);
    return 1;
}
