// Drives a real program from outside, as a user would: starts it, finds its windows, types and
// clicks through the platform's input queue, reads texts back and looks at the screen.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// The folder of this test program, and the folders beside it in the build tree.
std::wstring testDirectory();
std::wstring binDirectory();
std::wstring screenshotDirectory();

class Program {
public:
    // Starts exe with the given working folder; the environment is this process's.
    Program(const std::wstring& exe, const std::wstring& workingDirectory);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    // Ends the program if it still runs.
    ~Program();

    bool started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    // The program's visible top-level window of that class (nullptr: any), waiting up to timeoutMs.
    HWND waitForWindow(const wchar_t* className, DWORD timeoutMs) const;
    // Waits for the program to end; false when it still runs after timeoutMs.
    bool waitForExit(DWORD timeoutMs, DWORD& exitCode) const;

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

std::wstring windowText(HWND window);
std::wstring className(HWND window);
// Returns once the window's thread has handled every message sent before.
bool answers(HWND window);

// The control that has the keyboard focus in the window's thread.
HWND focusedControl(HWND window);
// Brings the window to the front and puts the focus on the control.
void giveFocus(HWND window, HWND control);

// Real keystrokes: virtual keys for what the keyboard has, Unicode packets for the rest.
void typeText(const std::wstring& text);
void pressKey(WORD virtualKey, bool shift = false);
// One mouse event at a screen point (flags: MOUSEEVENTF_LEFTDOWN, ..., or 0 for a move). Every
// event carries its position: under Wine a motion the X server reports late can put the pointer
// back where it was, and a button event without a position would then land there.
void mouseEvent(POINT screen, DWORD flags);
void moveMouseTo(HWND control);
void click(HWND control, bool right = false);
void doubleClick(HWND control);

// The screen's pixels under a rectangle, as 0x00RRGGBB values, top row first.
std::vector<DWORD> screenPixels(const RECT& rect);

struct TextColours {
    int red = 0;
    int green = 0;
    int black = 0;
};
// Counts the pixels of the control on the screen that are clearly red, green or black.
TextColours coloursOnScreen(HWND control);

// Saves what the screen shows of the window (title bar and frame included) as a PNG file.
bool saveScreenshot(HWND window, const std::wstring& path);
bool saveScreenshot(const RECT& screen, const std::wstring& path);

}  // namespace e2e
