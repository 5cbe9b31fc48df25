#include "tests/e2e/WindowDriver.h"

#include <tlhelp32.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <set>
#include <vector>

namespace e2e {
namespace {

std::wstring parentOf(const std::wstring& path) {
    std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(0, slash);
}

DWORD threadOf(HWND window) { return GetWindowThreadProcessId(window, nullptr); }

void sendKey(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, 0));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

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

// Moves the pointer to a point of the screen through the input queue, as a mouse does, and
// waits until the pointer is there.
POINT mouseAtPoint(POINT point) {
    waitUntil(
        [&] {
            mouseEvent(point, 0);
            Sleep(20);
            POINT cursor{};
            GetCursorPos(&cursor);
            return std::abs(cursor.x - point.x) <= 1 && std::abs(cursor.y - point.y) <= 1;
        },
        1000);
    return point;
}

POINT mouseAt(HWND control) { return mouseAtPoint(middleOf(control)); }

void clicksAt(POINT point, bool right, int times) {
    for (int i = 0; i < times; ++i) {
        mouseEvent(point, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
        mouseEvent(point, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    }
}

}  // namespace

void mouseEvent(POINT point, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    // The middle of the point's pixel in the 0..65535 scale, so that it maps back to that pixel.
    input.mi.dx = MulDiv(point.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    input.mi.dy = MulDiv(point.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    SendInput(1, &input, sizeof input);
}

std::vector<DWORD> screenPixels(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::vector<DWORD> pixels(static_cast<std::size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD* source = static_cast<const DWORD*>(bits);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = source[i] & 0x00FFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::wstring testDirectory() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return parentOf(path);
}

std::wstring binDirectory() { return parentOf(testDirectory()) + L"\\bin"; }

std::wstring screenshotDirectory() {
    std::wstring directory = parentOf(parentOf(testDirectory())) + L"\\screenshots";
    CreateDirectoryW(directory.c_str(), nullptr);
    return directory;
}

Program::Program(const std::wstring& exe, const std::wstring& workingDirectory, void* environment,
                 const std::wstring& arguments) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    const DWORD flags = environment != nullptr ? CREATE_UNICODE_ENVIRONMENT : 0;
    if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, environment,
                       workingDirectory.c_str(), &startup, &info)) {
        process_ = info.hProcess;
        id_ = info.dwProcessId;
        CloseHandle(info.hThread);
        WaitForInputIdle(process_, 10000);
    }
}

Program::~Program() {
    if (process_ == nullptr) return;
    DWORD code = 0;
    if (!waitForExit(0, code)) {
        if (HWND window = waitForWindow(nullptr, 0)) PostMessageW(window, WM_CLOSE, 0, 0);
        if (!waitForExit(5000, code)) TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* wantedClass;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    if (search->wantedClass != nullptr && className(window) != search->wantedClass) return TRUE;
    search->found = window;
    return FALSE;
}

HWND Program::waitForWindow(const wchar_t* wantedClass, DWORD timeoutMs) const {
    WindowSearch search{id_, wantedClass, nullptr};
    waitUntil(
        [&] {
            EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

std::wstring Program::loadedFrom(const wchar_t* fileName) const {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, id_);
    if (snapshot == INVALID_HANDLE_VALUE) return L"";
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    std::wstring path;
    for (BOOL more = Module32FirstW(snapshot, &module); more && path.empty(); more = Module32NextW(snapshot, &module)) {
        if (lstrcmpiW(module.szModule, fileName) == 0) path = module.szExePath;
    }
    CloseHandle(snapshot);
    return path;
}

bool Program::waitForExit(DWORD timeoutMs, DWORD& exitCode) const {
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(process_, &exitCode);
    return true;
}

std::unique_ptr<Program> startTraced(const std::wstring& exe, const std::wstring& workingDirectory,
                                     const std::wstring& trace) {
    DeleteFileW(trace.c_str());
    SetEnvironmentVariableW(L"SKINH_TRACE", trace.c_str());
    auto program = std::make_unique<Program>(exe, workingDirectory);
    SetEnvironmentVariableW(L"SKINH_TRACE", nullptr);
    return program;
}

bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
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

std::wstring windowText(HWND window) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    // The text may grow between the two messages (a caption the timer rewrites): a read that fills
    // the buffer may have been cut, so read again with room to spare.
    for (std::size_t room = length + 2;; room *= 2) {
        std::wstring text(room, L'\0');
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                                 SMTO_ABORTIFHUNG, 5000, &copied)) {
            return {};
        }
        if (copied + 1 < room || room > (1u << 24)) {
            text.resize(std::min<std::size_t>(copied, room - 1));
            return text;
        }
    }
}

std::wstring className(HWND window) {
    wchar_t buffer[256] = {};
    GetClassNameW(window, buffer, 256);
    return buffer;
}

bool answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int pixelsFromTwips(int twips) { return MulDiv(twips, screenDpi(), 1440); }

bool isCentredOnScreen(HWND window) {
    RECT frame;
    GetWindowRect(window, &frame);
    return std::abs((frame.left + frame.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2) <= 1 &&
           std::abs((frame.top + frame.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2) <= 1;
}

HWND focusedControl(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(threadOf(window), &info);
    return info.hwndFocus;
}

void giveFocus(HWND window, HWND control) {
    SetForegroundWindow(window);
    DWORD self = GetCurrentThreadId();
    DWORD target = threadOf(window);
    AttachThreadInput(self, target, TRUE);
    // Keys typed before, that the box refused and so cannot be seen arriving, must not reach the
    // next control: a key that types nothing goes last, and the shared key state shows when the
    // window's thread has read it, and so everything before it.
    sendKey(VK_F24, false);
    waitUntil([] { return GetKeyState(VK_F24) < 0; }, 2000);
    sendKey(VK_F24, true);
    waitUntil([] { return GetKeyState(VK_F24) >= 0; }, 2000);
    SetFocus(control);
    AttachThreadInput(self, target, FALSE);
    waitUntil([&] { return focusedControl(window) == control; }, 2000);
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

void pressWith(WORD modifier, WORD virtualKey) {
    sendKey(modifier, false);
    sendKey(virtualKey, false);
    sendKey(virtualKey, true);
    sendKey(modifier, true);
}

void pressKey(WORD virtualKey, bool shift) {
    if (shift) return pressWith(VK_SHIFT, virtualKey);
    sendKey(virtualKey, false);
    sendKey(virtualKey, true);
}

void moveMouseTo(HWND control) {
    // Two moves a moment apart: a tooltip starts its delay on a move inside the control.
    const POINT point = mouseAt(control);
    Sleep(100);
    mouseAtPoint({point.x + 1, point.y});
}

void parkMouse() { mouseAtPoint({0, 0}); }

void click(HWND control, bool right) { clicksAt(mouseAt(control), right, 1); }

void doubleClick(HWND control) { clicksAt(mouseAt(control), false, 2); }

void clickListEntry(HWND list, int entry, bool twice) {
    DWORD_PTR height = 0;
    DWORD_PTR top = 0;
    SendMessageTimeoutW(list, LB_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, 5000, &height);
    SendMessageTimeoutW(list, LB_GETTOPINDEX, 0, 0, SMTO_ABORTIFHUNG, 5000, &top);
    RECT client;
    GetClientRect(list, &client);
    POINT point{client.right / 3, static_cast<LONG>((entry - static_cast<int>(top)) * height + height / 2)};
    ClientToScreen(list, &point);
    clicksAt(mouseAtPoint(point), false, twice ? 2 : 1);
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
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    const bool set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return set;
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
    IWICImagingFactory* factory = nullptr;
    IWICBitmap* bitmap = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    const bool saved =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   reinterpret_cast<void**>(&factory))) &&
        SUCCEEDED(factory->CreateBitmapFromMemory(width, height, GUID_WICPixelFormat32bppBGRA, width * 4,
                                                  width * height * 4, reinterpret_cast<BYTE*>(pixels.data()),
                                                  &bitmap)) &&
        SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
        SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->WriteSource(bitmap, nullptr)) && SUCCEEDED(frame->Commit()) &&
        SUCCEEDED(encoder->Commit());
    for (IUnknown* made : std::initializer_list<IUnknown*>{frame, encoder, stream, bitmap, factory}) {
        if (made != nullptr) made->Release();
    }
    return saved;
}

}  // namespace e2e
