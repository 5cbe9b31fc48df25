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

LOGFONTW logFontAt(const Font& font, int dpi) {
    LOGFONTW logFont{};
    logFont.lfHeight = -MulDiv(font.tenthsOfPoint, dpi, 720);
    logFont.lfWeight = font.weight;
    logFont.lfCharSet = static_cast<BYTE>(font.charset);
    lstrcpynW(logFont.lfFaceName, font.face, LF_FACESIZE);
    return logFont;
}

std::wstring platformFolder(UINT(WINAPI* ask)(LPWSTR, UINT)) {
    wchar_t folder[MAX_PATH];
    const UINT length = ask(folder, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(folder, length) + L"\\";
}

}  // namespace ui::win32
