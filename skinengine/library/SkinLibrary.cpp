// Our own build of the skin engine library: the six functions the programs call, exported by
// their plain names with the stdcall convention. This first cut accepts every call safely and
// applies window opacity; the skins themselves come later.
//
// When the environment variable SKINH_TRACE names a file, every call appends one line to it:
// the function and its arguments, texts as UTF-8 of the ANSI bytes, handles in hex.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8FromAnsi(const char* ansi) {
    if (ansi == nullptr) return "(null)";
    int wideLength = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
    if (wideLength <= 0) return "";
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide.data(), wideLength);
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return "";
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(), length, nullptr, nullptr);
    utf8.pop_back();  // the terminating NUL
    return utf8;
}

std::string handleText(HWND window) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08lX",
                  static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
    return buffer;
}

void trace(const std::string& line) {
    wchar_t path[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"SKINH_TRACE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void setOpacity(HWND window, int alpha) {
    if (!IsWindow(window)) return;
    if (alpha < 0) alpha = 0;
    if (alpha > 255) alpha = 255;
    LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (alpha == 255) {
        if (style & WS_EX_LAYERED) SetWindowLongPtrW(window, GWL_EXSTYLE, style & ~WS_EX_LAYERED);
        return;
    }
    if (!(style & WS_EX_LAYERED)) SetWindowLongPtrW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

}  // namespace

extern "C" {

int WINAPI SkinH_Attach() {
    trace("SkinH_Attach()");
    return 0;
}

int WINAPI SkinH_AttachEx(const char* skinPath, const char* secondText) {
    trace("SkinH_AttachEx(\"" + utf8FromAnsi(skinPath) + "\", \"" + utf8FromAnsi(secondText) + "\")");
    return 0;
}

int WINAPI SkinH_Detach() {
    trace("SkinH_Detach()");
    return 0;
}

int WINAPI SkinH_DetachEx(HWND window) {
    trace("SkinH_DetachEx(" + handleText(window) + ")");
    setOpacity(window, 255);
    return 0;
}

int WINAPI SkinH_SetAero(int on) {
    trace("SkinH_SetAero(" + std::to_string(on) + ")");
    return 0;
}

int WINAPI SkinH_SetWindowAlpha(HWND window, int alpha) {
    trace("SkinH_SetWindowAlpha(" + handleText(window) + ", " + std::to_string(alpha) + ")");
    setOpacity(window, alpha);
    return 0;
}

}  // extern "C"
