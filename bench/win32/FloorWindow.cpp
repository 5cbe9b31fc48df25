// floor-window.exe stock|glimmora: the start-up floor. The least a program can do to show a
// window with the same controls as that program's: the window and each control made from the
// platform's own classes at their design places, then the message loop. No fonts, colours,
// tooltips, skin library or common controls.
#include <windows.h>

#include <cstring>

#include "glimmora/GlimmoraDesign.h"
#include "stock/StockDesign.h"
#include "ui/win32/ControlClass.h"

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    const ui::FormDesign& design = std::strstr(commandLine, "glimmora") != nullptr ? glimmora::kForm : stock::kForm;
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    auto pixels = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"QuorvaneFloorWindow";
    RegisterClassW(&windowClass);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, pixels(design.clientWidth), pixels(design.clientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, design.title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    for (std::size_t i = 0; i < design.controlCount; ++i) {
        const ui::win32::ControlClass kind = ui::win32::controlClass(design.controls[i]);
        const ui::TwipsRect rect = ui::clientRect(design, i);
        CreateWindowExW(kind.exStyle, kind.className, design.controls[i].caption, WS_CHILD | WS_VISIBLE | kind.style,
                        pixels(rect.left), pixels(rect.top), pixels(rect.width), pixels(rect.height), window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ui::kFirstControlId + i)), instance, nullptr);
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
