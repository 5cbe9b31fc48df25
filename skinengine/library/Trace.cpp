#include "skinengine/library/Trace.h"

#include <cstdio>
#include <cstring>

namespace skin::win32 {
namespace {

// The trace file's name, or nothing when calls are not traced.
std::optional<std::wstring> tracePath() {
    wchar_t path[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"SKINH_TRACE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    return std::wstring(path, length);
}

void append(const std::wstring& path, const std::string& line) {
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

std::optional<std::string_view> boundedText(const char* text, std::size_t maxBytes) {
    if (text == nullptr) return std::nullopt;
    const std::size_t length = strnlen(text, maxBytes);
    if (length == maxBytes) return std::nullopt;
    return std::string_view(text, length);
}

std::wstring wideFrom(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    int length = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
    return wide;
}

std::string utf8FromWide(const std::wstring& wide) {
    if (wide.empty()) return {};
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                     nullptr);
    if (length <= 0) return {};
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr,
                        nullptr);
    return utf8;
}

std::string quotedAnsi(const char* ansi) {
    if (ansi == nullptr) return "\"(null)\"";
    if (std::optional<std::string_view> text = boundedText(ansi)) return "\"" + utf8FromWide(wideFrom(*text, CP_ACP)) + "\"";
    return "\"" + utf8FromWide(wideFrom(std::string_view(ansi, kMaxHostTextBytes), CP_ACP)) + "\"... (no end within " +
           std::to_string(kMaxHostTextBytes) + " bytes)";
}

std::string handleText(HWND window) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08lX",
                  static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
    return buffer;
}

void trace(const std::function<std::string()>& line) {
    if (std::optional<std::wstring> path = tracePath()) append(*path, line());
}

void tell(const std::wstring& why) {
    OutputDebugStringW((why + L"\n").c_str());
    trace([&] { return "  " + utf8FromWide(why); });
}

}  // namespace skin::win32
