#include "ui/win32/WindowBasics.h"

namespace ui::win32 {

std::wstring windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

// The platform's own class names are short; none the engine or the windows look for is longer.
std::wstring classNameOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

LOGFONTW logFontOf(const wchar_t* face, int tenthsOfPoint, int weight, int charset, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(tenthsOfPoint, dpi, 720);
    font.lfWeight = weight;
    font.lfCharSet = static_cast<BYTE>(charset);
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return font;
}

}  // namespace ui::win32
