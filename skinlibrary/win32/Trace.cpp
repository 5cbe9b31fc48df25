#include "skinlibrary/win32/Trace.h"

#include <cstring>

#include "skinengine/SkinEngine.h"
#include "ui/win32/Owners.h"

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
    const ui::win32::KernelHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                   nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return;
    std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

std::optional<std::string_view> boundedText(const char* text, std::size_t maxBytes) {
    if (text == nullptr) return std::nullopt;
    const std::size_t length = strnlen(text, maxBytes);
    if (length == maxBytes) return std::nullopt;
    return std::string_view(text, length);
}

std::string quotedAnsi(const char* ansi) {
    if (ansi == nullptr) return "\"(null)\"";
    if (std::optional<std::string_view> text = boundedText(ansi)) return "\"" + kUtf8.toAnsi(kAnsi.fromAnsi(*text)) + "\"";
    return "\"" + kUtf8.toAnsi(kAnsi.fromAnsi(std::string_view(ansi, kMaxHostTextBytes))) + "\"... (no end within " +
           std::to_string(kMaxHostTextBytes) + " bytes)";
}

std::string handleText(HWND window) { return skinengine::handleText(reinterpret_cast<std::uintptr_t>(window)); }

void trace(const std::function<std::string()>& line) {
    if (std::optional<std::wstring> path = tracePath()) append(*path, line());
}

void tell(const std::wstring& why) {
    OutputDebugStringW((why + L"\n").c_str());
    trace([&] { return "  " + kUtf8.toAnsi(why); });
}

}  // namespace skin::win32
