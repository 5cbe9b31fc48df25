// Drives a real program from outside, as a user would: starts it, finds its windows, types through
// the platform's input queue, reads texts and the screen back. The bench and the window tests both
// drive the programs with it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/win32/Owners.h"

namespace e2e {

// How long a program may take to show its window under Wine on a busy machine.
inline constexpr DWORD kStartTimeoutMs = 20000;
// How long a test waits for what it expects before it fails: long enough for a machine busy with
// builds. The waits end as soon as the condition holds, or the program under test has died.
inline constexpr DWORD kPatienceMs = 30000;

// The folder of this program, and the folder of the programs beside it in the build tree.
std::wstring testDirectory();
std::wstring binDirectory();

class Program {
public:
    // Starts exe with the given working folder and arguments, and with this process's
    // environment or the given block (CreateEnvironmentBlock's form).
    Program(const std::wstring& exe, const std::wstring& workingDirectory, void* environment = nullptr,
            const std::wstring& arguments = L"");
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    // Ends the program if it still runs.
    ~Program();

    bool started() const { return process_.valid(); }
    DWORD id() const { return id_; }
    HANDLE process() const { return process_.get(); }
    // The program's visible top-level window of that class (nullptr: any), waiting up to timeoutMs.
    HWND waitForWindow(const wchar_t* className, DWORD timeoutMs) const;
    // Whether the program has loaded the library of that file name (case ignored).
    bool hasLoaded(const wchar_t* fileName) const { return !loadedFrom(fileName).empty(); }
    // The full path of the library of that file name that the program has loaded, or "".
    std::wstring loadedFrom(const wchar_t* fileName) const;
    // Waits for the program to end; false when it still runs after timeoutMs.
    bool waitForExit(DWORD timeoutMs, DWORD& exitCode) const;
    // How the program ended: "" while it runs, else "exit code N", or "exception 0xC0000005" when
    // it died of one (an access violation, a stack overflow, ...).
    std::wstring howItEnded() const;
    bool crashed() const;

private:
    ui::win32::KernelHandle process_;
    DWORD id_ = 0;
};

// Waits until the condition holds, up to timeoutMs. A program started here that has died of an
// exception, or that ends during the wait, ends it too, after one last look at the condition: a
// test of a dead program fails at once instead of at its deadline. That end is told on the
// standard error stream, once.
bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

std::wstring windowText(HWND window);
// Returns once the window's thread has handled every message sent before.
bool answers(HWND window);
// Returns once the window's thread has handled every input and posted message that came before
// the call: the sign that nothing more will come of what a test did. False when it did not
// within kPatienceMs, or its program ended. The first call for a thread begins to watch its input,
// and must come while no keys are on their way to it (a program just started).
bool caughtUp(HWND window);

// The control that has the keyboard focus in the window's thread.
HWND focusedControl(HWND window);
// Brings the window to the front and puts the focus on the control.
void giveFocus(HWND window, HWND control);

void pressKey(WORD virtualKey, bool shift = false);
// A key pressed while a modifier (VK_MENU, VK_CONTROL) is held.
void pressWith(WORD modifier, WORD virtualKey);

// One mouse event at a screen point (flags: MOUSEEVENTF_LEFTDOWN, ..., or 0 for a move). Every
// event carries its position: under Wine a motion the X server reports late can put the pointer
// back where it was, and a button event without a position would then land there.
void mouseEvent(POINT screen, DWORD flags);
// Moves the pointer there through the input queue and waits until it is there.
POINT moveMouse(POINT screen);
// Moves the pointer to the screen's top-left corner, away from every control and its tooltip.
void parkMouse();

// The screen's pixels under a rectangle, as 0x00RRGGBB values, top row first.
std::vector<DWORD> screenPixels(const RECT& rect);

}  // namespace e2e
