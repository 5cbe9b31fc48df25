#include "skinengine/library/Trace.h"

#include <cstdio>

namespace skin::win32 {

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

}  // namespace skin::win32
