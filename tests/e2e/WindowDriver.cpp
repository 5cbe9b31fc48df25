#include "tests/e2e/WindowDriver.h"

#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "ui/win32/Owners.h"

namespace e2e {
namespace {

void sendUnicode(wchar_t character) {
    INPUT inputs[2]{};
    for (int i = 0; i < 2; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wScan = character;
        inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, inputs, sizeof inputs[0]);
}

POINT middleOf(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT mouseAt(HWND control) { return moveMouse(middleOf(control)); }

void clicksAt(POINT point, int times) {
    for (int i = 0; i < times; ++i) {
        mouseEvent(point, MOUSEEVENTF_LEFTDOWN);
        mouseEvent(point, MOUSEEVENTF_LEFTUP);
    }
}

}  // namespace

// build/screenshots, and build/screenshots/win64 for the 64-bit flavour's.
std::wstring screenshotDirectory() {
    std::wstring directory = testDirectory() + L"\\..\\..\\screenshots";
    CreateDirectoryW(directory.c_str(), nullptr);
    if constexpr (sizeof(void*) == 8) {
        directory += L"\\win64";
        CreateDirectoryW(directory.c_str(), nullptr);
    }
    return directory;
}

std::unique_ptr<Program> startTraced(const std::wstring& exe, const std::wstring& workingDirectory,
                                     const std::wstring& trace) {
    DeleteFileW(trace.c_str());
    SetEnvironmentVariableW(L"SKINH_TRACE", trace.c_str());
    auto program = std::make_unique<Program>(exe, workingDirectory);
    SetEnvironmentVariableW(L"SKINH_TRACE", nullptr);
    return program;
}

bool showsTooltip(const Program& program, HWND control, HWND away, const std::wstring& tip) {
    // Up to three hovers: under Wine a tip now and then misses one.
    for (int attempt = 0; attempt < 3; ++attempt) {
        moveMouseTo(away);
        Sleep(300);
        moveMouseTo(control);
        const bool seen = waitUntil(
            [&] {
                HWND shown = program.waitForWindow(L"tooltips_class32", 0);
                return shown != nullptr && windowText(shown) == tip;
            },
            4000);
        if (seen) return true;
    }
    return false;
}

int screenDpi() {
    const ui::win32::WindowDC screen(nullptr, GetDC(nullptr));
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

int pixelsFromTwips(int twips) { return MulDiv(twips, screenDpi(), 1440); }

bool isCentredOnScreen(HWND window) {
    RECT frame;
    GetWindowRect(window, &frame);
    return std::abs((frame.left + frame.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2) <= 1 &&
           std::abs((frame.top + frame.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2) <= 1;
}

void typeText(const std::wstring& text) {
    for (wchar_t character : text) {
        SHORT key = character < 0x80 ? VkKeyScanW(character) : -1;
        if (key == -1) {
            sendUnicode(character);
            continue;
        }
        pressKey(LOBYTE(key), (key & 0x100) != 0);
    }
}

void moveMouseTo(HWND control) {
    // Two moves a moment apart: a tooltip starts its delay on a move inside the control.
    const POINT point = mouseAt(control);
    Sleep(100);
    moveMouse({point.x + 1, point.y});
}

void click(HWND control) { clicksAt(mouseAt(control), 1); }

void clickAt(POINT screen) { clicksAt(moveMouse(screen), 1); }

void doubleClick(HWND control) { clicksAt(mouseAt(control), 2); }

void clickListEntry(HWND list, int entry, bool twice) {
    DWORD_PTR height = 0;
    DWORD_PTR top = 0;
    SendMessageTimeoutW(list, LB_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, 5000, &height);
    SendMessageTimeoutW(list, LB_GETTOPINDEX, 0, 0, SMTO_ABORTIFHUNG, 5000, &top);
    RECT client;
    GetClientRect(list, &client);
    POINT point{client.right / 3, static_cast<LONG>((entry - static_cast<int>(top)) * height + height / 2)};
    ClientToScreen(list, &point);
    clicksAt(moveMouse(point), twice ? 2 : 1);
}

std::vector<std::wstring> listEntries(HWND list) {
    std::vector<std::wstring> entries;
    DWORD_PTR count = 0;
    SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
    for (DWORD_PTR i = 0; i < count; ++i) {
        wchar_t entry[1024] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutW(list, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 5000, &length);
        if (length >= 1024) length = 0;  // longer than any name the tests make: leave it empty
        if (length > 0) {
            SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(entry), SMTO_ABORTIFHUNG, 5000, &length);
        }
        entries.emplace_back(entry);
    }
    return entries;
}

int listSelection(HWND list) {
    DWORD_PTR selected = 0;
    SendMessageTimeoutW(list, LB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &selected);
    return static_cast<int>(static_cast<LRESULT>(selected));
}

std::wstring clipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

bool setClipboardText(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    // The clipboard owns the memory once it has taken it.
    ui::win32::GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    void* locked = GlobalLock(memory.get());
    if (locked != nullptr) {
        memcpy(locked, text.c_str(), bytes);
        GlobalUnlock(memory.get());
    }
    const bool set = locked != nullptr && SetClipboardData(CF_UNICODETEXT, memory.get()) != nullptr;
    if (set) memory.release();
    CloseClipboard();
    return set;
}

DWORD screenPixel(POINT screen) { return screenPixels({screen.x, screen.y, screen.x + 1, screen.y + 1}).at(0); }

COLORREF screenColour(POINT screen) {
    const DWORD pixel = screenPixel(screen);
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

TextColours coloursOnScreen(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    TextColours colours;
    for (DWORD pixel : screenPixels(rect)) {
        const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
        if (r > 160 && g < 90 && b < 90) ++colours.red;
        if (g > 160 && r < 90 && b < 90) ++colours.green;
        if (r < 50 && g < 50 && b < 50) ++colours.black;
    }
    return colours;
}

std::size_t distinctColoursOnScreen(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    const std::vector<DWORD> pixels = screenPixels(rect);
    return std::set<DWORD>(pixels.begin(), pixels.end()).size();
}

bool saveScreenshot(HWND window, const std::wstring& path) {
    RECT rect;
    GetWindowRect(window, &rect);
    return saveScreenshot(rect, path);
}

// Encoded by the platform's imaging component.
bool saveScreenshot(const RECT& rect, const std::wstring& path) {
    std::vector<DWORD> pixels = screenPixels(rect);
    for (DWORD& pixel : pixels) pixel |= 0xFF000000;  // opaque
    const UINT width = static_cast<UINT>(rect.right - rect.left);
    const UINT height = static_cast<UINT>(rect.bottom - rect.top);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ui::win32::ComRef<IWICImagingFactory> factory;
    ui::win32::ComRef<IWICBitmap> bitmap;
    ui::win32::ComRef<IWICStream> stream;
    ui::win32::ComRef<IWICBitmapEncoder> encoder;
    ui::win32::ComRef<IWICBitmapFrameEncode> frame;
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(factory.out()))) &&
           SUCCEEDED(factory->CreateBitmapFromMemory(width, height, GUID_WICPixelFormat32bppBGRA, width * 4,
                                                     width * height * 4, reinterpret_cast<BYTE*>(pixels.data()),
                                                     bitmap.out())) &&
           SUCCEEDED(factory->CreateStream(stream.out())) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) &&
           SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(frame.out(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
           SUCCEEDED(frame->WriteSource(bitmap.get(), nullptr)) && SUCCEEDED(frame->Commit()) &&
           SUCCEEDED(encoder->Commit());
}

}  // namespace e2e
