#include "tools/window-driver/Driver.h"

#include "ui/win32/WindowBasics.h"

#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace e2e {
namespace {

std::wstring parentOf(const std::wstring& path) {
    std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(0, slash);
}

DWORD threadOf(HWND window) { return GetWindowThreadProcessId(window, nullptr); }

// The programs started here that have not been ended by their owner, and whether their end has
// been told yet.
struct Watched {
    const Program* program;
    bool told;
};
std::vector<Watched> watched;

bool exceptionCode(DWORD code) { return (code & 0xC0000000u) == 0xC0000000u || code == 0x80000003u; }

bool hasEnded(const Program& program) { return WaitForSingleObject(program.process(), 0) == WAIT_OBJECT_0; }

void sendKey(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, 0));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

// Passes a key that types nothing (F24) through the input queue of the thread whose input is
// shared with the thread that reads `isDown`, and returns once that thread has read the key: the
// shared key state changes when the key is read, not when it is sent. A key whose reading was not
// seen within a few seconds is sent again until the patience is out: once in a few dozen runs
// under load the reading of one went unseen, while the program had just answered the test's
// messages. Any of them seen read shows that everything sent before the first has been handled.
bool passKeyThatTypesNothing(const std::function<bool()>& isDown) {
    constexpr DWORD kAgainAfterMs = 5000;
    const DWORD start = GetTickCount();
    do {
        sendKey(VK_F24, false);
        const DWORD sent = GetTickCount();
        const bool down = waitUntil(isDown, kAgainAfterMs);
        sendKey(VK_F24, true);
        if (down) return waitUntil([&] { return !isDown(); }, kPatienceMs);
        if (GetTickCount() - sent < kAgainAfterMs) return false;  // the program has ended
    } while (GetTickCount() - start < kPatienceMs);
    return false;
}

// A thread of this process that shares the input of the thread under test and reads the key
// state they share. Attaching clears that key state: done while keys are still on their way, it
// would drop a modifier the program has read and not yet released (Ctrl+C would arrive as C).
// So it attaches once, when the watch of that thread begins, and stays.
struct InputWatch {
    DWORD thread = 0;
    DWORD target = 0;
    std::atomic<bool> f24Down{false};
};
InputWatch inputWatch;

DWORD WINAPI readKeyState(void* ready) {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the message queue that attaching needs
    SetEvent(ready);
    for (;;) {
        inputWatch.f24Down = GetKeyState(VK_F24) < 0;
        Sleep(5);
    }
}

void watchInputOf(DWORD target) {
    if (inputWatch.thread == 0) {
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        CloseHandle(CreateThread(nullptr, 0, readKeyState, ready, 0, &inputWatch.thread));
        WaitForSingleObject(ready, kPatienceMs);
        CloseHandle(ready);
    }
    if (inputWatch.target == target) return;
    if (inputWatch.target != 0) AttachThreadInput(inputWatch.thread, inputWatch.target, FALSE);
    inputWatch.target = AttachThreadInput(inputWatch.thread, target, TRUE) ? target : 0;
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
    const ui::win32::WindowDC screen(nullptr, GetDC(nullptr));
    const ui::win32::MemoryDC memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const ui::win32::BitmapHandle bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const ui::win32::Selection selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD* source = static_cast<const DWORD*>(bits);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = source[i] & 0x00FFFFFF;
    return pixels;
}

std::wstring testDirectory() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return parentOf(path);
}

std::wstring binDirectory() { return parentOf(testDirectory()) + L"\\bin"; }

// Moves the pointer to a point of the screen through the input queue, as a mouse does, and
// waits until the pointer is there.
POINT moveMouse(POINT point) {
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

void parkMouse() { moveMouse({0, 0}); }

Program::Program(const std::wstring& exe, const std::wstring& workingDirectory, void* environment,
                 const std::wstring& arguments) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    const DWORD flags = environment != nullptr ? CREATE_UNICODE_ENVIRONMENT : 0;
    if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, environment,
                       workingDirectory.c_str(), &startup, &info)) {
        process_.reset(info.hProcess);
        id_ = info.dwProcessId;
        const ui::win32::KernelHandle thread(info.hThread);
        watched.push_back({this, false});
        WaitForInputIdle(process_.get(), 10000);
    }
}

Program::~Program() {
    if (!process_.valid()) return;
    std::erase_if(watched, [this](const Watched& entry) { return entry.program == this; });
    DWORD code = 0;
    if (!waitForExit(0, code)) {
        if (HWND window = waitForWindow(nullptr, 0)) PostMessageW(window, WM_CLOSE, 0, 0);
        if (!waitForExit(5000, code)) TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
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
    if (search->wantedClass != nullptr && ui::win32::classNameOf(window) != search->wantedClass) return TRUE;
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
    const ui::win32::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, id_));
    if (!snapshot.valid()) return L"";
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    std::wstring path;
    for (BOOL more = Module32FirstW(snapshot.get(), &module); more && path.empty();
         more = Module32NextW(snapshot.get(), &module)) {
        if (lstrcmpiW(module.szModule, fileName) == 0) path = module.szExePath;
    }
    return path;
}

bool Program::waitForExit(DWORD timeoutMs, DWORD& exitCode) const {
    if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(process_.get(), &exitCode);
    return true;
}

std::wstring Program::howItEnded() const {
    DWORD code = 0;
    if (!process_.valid() || !waitForExit(0, code)) return L"";
    wchar_t text[40];
    if (exceptionCode(code)) {
        swprintf(text, 40, L"exception 0x%08lX", static_cast<unsigned long>(code));
    } else {
        swprintf(text, 40, L"exit code %lu", static_cast<unsigned long>(code));
    }
    return text;
}

bool Program::crashed() const {
    DWORD code = 0;
    return process_.valid() && waitForExit(0, code) && exceptionCode(code);
}

bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    // A program that has crashed ends every wait, whenever it died; one that merely exited ends
    // only the waits it ran into, so that a test may close a program and then wait for another.
    std::vector<const Program*> running;
    for (const Watched& entry : watched) {
        if (!hasEnded(*entry.program)) running.push_back(entry.program);
    }
    const auto ends = [&](Watched& entry) {
        return entry.program->crashed() ||
               (hasEnded(*entry.program) &&
                std::find(running.begin(), running.end(), entry.program) != running.end());
    };
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        for (Watched& entry : watched) {
            if (!ends(entry)) continue;
            if (!entry.told) {
                entry.told = true;
                std::fwprintf(stderr, L"window-driver: the program under test (process %lu) ended with %ls\n",
                              static_cast<unsigned long>(entry.program->id()), entry.program->howItEnded().c_str());
            }
            return condition();
        }
        Sleep(20);
    }
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

bool answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

// A sent message overtakes posted and input messages, so a round trip of one alone shows nothing
// of those; and Wine 8 sets a program's input-idle event the first time it waits for messages and
// never resets it, so WaitForInputIdle shows nothing after the start. So a key that types nothing
// goes last into the input queue of the window's thread: once that thread has read it, it has
// read every input before it, and handled every message posted before (a thread reads posted
// messages before input). A sent message then returns once the key's own handling is over.
bool caughtUp(HWND window) {
    const DWORD target = threadOf(window);
    // Keys go to the foreground window's thread.
    if (threadOf(GetForegroundWindow()) != target) SetForegroundWindow(window);
    watchInputOf(target);
    const bool read = inputWatch.target == target && passKeyThatTypesNothing([] { return inputWatch.f24Down.load(); });
    DWORD_PTR result = 0;
    return read && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kPatienceMs, &result) != 0;
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
    // next control: the window's thread reads them all before the focus moves.
    passKeyThatTypesNothing([] { return GetKeyState(VK_F24) < 0; });
    SetFocus(control);
    AttachThreadInput(self, target, FALSE);
    waitUntil([&] { return focusedControl(window) == control; }, kPatienceMs);
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

}  // namespace e2e
