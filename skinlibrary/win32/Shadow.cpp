// The drop shadow: a layered, click-through window of its own class just below the skinned
// window, shaped to the band a few pixels right of and below it. Being a window of its own it
// shows on every system, also where the class style for shadows has no effect.
#include <windows.h>

#include "skinlibrary/win32/Shadow.h"

#include "skinlibrary/SkinFormat.h"
#include "ui/win32/Owners.h"

namespace skin::win32 {
namespace {

constexpr wchar_t kShadowClass[] = L"SkinHShadow";
constexpr int kDepth = 6;          // pixels the shadow reaches past the window
constexpr BYTE kOpacity = 110;     // of the darkest band
constexpr Colour kNear = rgb(40, 40, 40);
constexpr Colour kFar = rgb(150, 150, 150);

HINSTANCE libraryInstance() {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&libraryInstance), &self);
    return self;
}

HWND targetOf(HWND shadow) { return reinterpret_cast<HWND>(GetWindowLongPtrW(shadow, GWLP_USERDATA)); }

LRESULT CALLBACK shadowProc(HWND shadow, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_CLOSE:
        // Someone closing the process's windows one by one means the window it belongs to.
        if (HWND target = targetOf(shadow); IsWindow(target)) PostMessageW(target, WM_CLOSE, 0, 0);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        const ui::win32::PaintDC paint(shadow);
        HDC dc = paint.get();
        RECT rect;
        GetClientRect(shadow, &rect);
        // Bands from dark beside the window to light at the outer edge, on both arms of the L.
        for (int band = 0; band < kDepth; ++band) {
            SetDCBrushColor(dc, blend(kNear, kFar, band * 255 / (kDepth - 1)));
            const RECT right = {rect.right - kDepth + band, rect.top + band, rect.right - kDepth + band + 1,
                                rect.bottom - kDepth + band + 1};
            const RECT bottom = {rect.left + band, rect.bottom - kDepth + band, rect.right - kDepth + band + 1,
                                 rect.bottom - kDepth + band + 1};
            FillRect(dc, &right, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            FillRect(dc, &bottom, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        }
        return 0;
    }
    default:
        return DefWindowProcW(shadow, message, wParam, lParam);
    }
}

bool registerShadowClass() {
    static bool registered = false;
    if (registered) return true;
    WNDCLASSEXW shadowClass{};
    shadowClass.cbSize = sizeof shadowClass;
    shadowClass.lpfnWndProc = shadowProc;
    shadowClass.hInstance = libraryInstance();
    shadowClass.lpszClassName = kShadowClass;
    registered = RegisterClassExW(&shadowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return registered;
}

}  // namespace

HWND createShadow(HWND target) {
    if (!registerShadowClass()) return nullptr;
    // Not owned by the target: an owned window always stays above its owner.
    HWND shadow = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                  kShadowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, libraryInstance(),
                                  nullptr);
    if (shadow == nullptr) return nullptr;
    SetWindowLongPtrW(shadow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(target));
    SetLayeredWindowAttributes(shadow, 0, kOpacity, LWA_ALPHA);
    placeShadow(shadow, target);
    return shadow;
}

void placeShadow(HWND shadow, HWND target) {
    if (!IsWindowVisible(target) || IsIconic(target)) {
        ShowWindow(shadow, SW_HIDE);
        return;
    }
    RECT frame;
    GetWindowRect(target, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // The band right of and below the window: the shadow's own rectangle less the window's.
    HRGN band = CreateRectRgn(0, 0, width, height);
    const ui::win32::Owned<HRGN> covered(CreateRectRgn(-kDepth, -kDepth, width - kDepth, height - kDepth));
    CombineRgn(band, band, covered.get(), RGN_DIFF);
    SetWindowRgn(shadow, band, FALSE);  // the window owns the region from here on
    SetWindowPos(shadow, target, frame.left + kDepth, frame.top + kDepth, width, height,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
    InvalidateRect(shadow, nullptr, FALSE);
}

void destroyShadow(HWND& shadow) {
    if (shadow != nullptr && IsWindow(shadow)) DestroyWindow(shadow);
    shadow = nullptr;
}

}  // namespace skin::win32
