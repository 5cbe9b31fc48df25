#include "skinlibrary/win32/ThemedFrame.h"

#include <dwmapi.h>
#include <uxtheme.h>

#include <string>

#include "skinlibrary/win32/Engine.h"
#include "skinlibrary/win32/Painting.h"
#include "ui/win32/LazyLibrary.h"
#include "ui/win32/Subclass.h"
#include "ui/win32/WindowBasics.h"

namespace skin::win32 {
namespace {

using ui::win32::defSubclassProc;
using ui::win32::LazyLibrary;

// Sent by the themed default handling to draw the caption and the frame; not in the headers.
constexpr UINT kThemedDrawCaption = 0xAE;
constexpr UINT kThemedDrawFrame = 0xAF;

// The system's own copy, whatever folders the host's library search holds.
std::wstring systemLibrary(const wchar_t* fileName) {
    const std::wstring folder = ui::win32::platformFolder(GetSystemDirectoryW);
    return folder.empty() ? fileName : folder + fileName;
}

// Both libraries are missing before Vista; the calls then have nothing to turn off.
LazyLibrary& compositor() {
    static const std::wstring path = systemLibrary(L"dwmapi.dll");
    static LazyLibrary library(path.c_str());
    return library;
}

LazyLibrary& themes() {
    static const std::wstring path = systemLibrary(L"uxtheme.dll");
    static LazyLibrary library(path.c_str());
    return library;
}

void setFramePolicy(HWND window, DWMNCRENDERINGPOLICY policy) {
    auto setAttribute = compositor().function<decltype(&DwmSetWindowAttribute)>("DwmSetWindowAttribute");
    if (setAttribute != nullptr) setAttribute(window, DWMWA_NCRENDERING_POLICY, &policy, sizeof policy);
}

void setTheme(HWND window, const wchar_t* application, const wchar_t* classes) {
    auto setWindowTheme = themes().function<decltype(&SetWindowTheme)>("SetWindowTheme");
    if (setWindowTheme != nullptr) setWindowTheme(window, application, classes);
}

// The default handling stores a new title or icon and then draws the caption, but draws nothing
// on a window without WS_VISIBLE: the bit is taken away for the call (the window stays on the
// screen) and ours is drawn after.
LRESULT storeWithoutDrawing(SkinnedWindow& skinned, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = skinned.window;
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    if (!(style & WS_VISIBLE)) return defSubclassProc(window, message, wParam, lParam);
    SetWindowLongW(window, GWL_STYLE, style & ~WS_VISIBLE);
    const LRESULT result = defSubclassProc(window, message, wParam, lParam);
    if (IsWindow(window)) SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | WS_VISIBLE);
    repaintFrame(skinned);
    return result;
}

}  // namespace

void repaintFrame(SkinnedWindow& skinned) {
    HWND window = skinned.window;
    if (skinned.retired || !IsWindow(window) || !IsWindowVisible(window) || IsIconic(window)) return;
    paintFrame(skinned, Engine::instance().resources());
}

void takeFrameFromSystem(HWND window) {
    setFramePolicy(window, DWMNCRP_DISABLED);
    setTheme(window, L"", L"");
}

void giveFrameToSystem(HWND window) {
    if (!IsWindow(window)) return;
    setFramePolicy(window, DWMNCRP_USEWINDOWSTYLE);
    setTheme(window, nullptr, nullptr);
}

bool answerWithoutSystemCaption(SkinnedWindow& skinned, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT& result) {
    switch (message) {
    case WM_CREATE:
        // A window skinned as it is being made: the frame is the window's own from here on.
        result = defSubclassProc(skinned.window, message, wParam, lParam);
        if (result != -1) takeFrameFromSystem(skinned.window);
        return true;
    case WM_NCACTIVATE:
        skinned.active = wParam != 0;
        // The platform keeps the new state; -1 asks it not to draw its caption, which it honours
        // for a frame without visual styles (ours has none). TRUE lets the activation proceed.
        defSubclassProc(skinned.window, message, wParam, -1);
        repaintFrame(skinned);
        result = TRUE;
        return true;
    case WM_SETTEXT:
    case WM_SETICON:
        result = storeWithoutDrawing(skinned, message, wParam, lParam);
        return true;
    case kThemedDrawCaption:
    case kThemedDrawFrame:
        result = 0;
        return true;
    default:
        return false;
    }
}

}  // namespace skin::win32
