// Drives a real program from outside, as a user would: starts it, finds its windows, types and
// clicks through the platform's input queue, reads texts back and looks at the screen.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/TestFiles.h"

namespace e2e {

// How long a program may take to show its window under Wine on a busy machine.
inline constexpr DWORD kStartTimeoutMs = 20000;

// The folder of this test program, and the folders beside it in the build tree.
std::wstring testDirectory();
std::wstring binDirectory();
std::wstring screenshotDirectory();

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

    bool started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    HANDLE process() const { return process_; }
    // The program's visible top-level window of that class (nullptr: any), waiting up to timeoutMs.
    HWND waitForWindow(const wchar_t* className, DWORD timeoutMs) const;
    // Whether the program has loaded the library of that file name (case ignored).
    bool hasLoaded(const wchar_t* fileName) const { return !loadedFrom(fileName).empty(); }
    // The full path of the library of that file name that the program has loaded, or "".
    std::wstring loadedFrom(const wchar_t* fileName) const;
    // Waits for the program to end; false when it still runs after timeoutMs.
    bool waitForExit(DWORD timeoutMs, DWORD& exitCode) const;

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Starts exe with our skin engine library's trace going to the file named, emptied first.
std::unique_ptr<Program> startTraced(const std::wstring& exe, const std::wstring& workingDirectory,
                                     const std::wstring& trace);

bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Hovers over the control until the program shows that tooltip; false when it never does.
// `away` is a control without a tooltip, where the pointer goes first so that the tip shows afresh.
bool showsTooltip(const Program& program, HWND control, HWND away, const std::wstring& tip);

std::wstring windowText(HWND window);
std::wstring className(HWND window);
// Returns once the window's thread has handled every message sent before.
bool answers(HWND window);

// The screen's dots per inch, and twips at that resolution, as the programs lay out their windows.
int screenDpi();
int pixelsFromTwips(int twips);
// Whether the window is centred on the screen.
bool isCentredOnScreen(HWND window);

// The control that has the keyboard focus in the window's thread.
HWND focusedControl(HWND window);
// Brings the window to the front and puts the focus on the control.
void giveFocus(HWND window, HWND control);

// Real keystrokes: virtual keys for what the keyboard has, Unicode packets for the rest.
void typeText(const std::wstring& text);
void pressKey(WORD virtualKey, bool shift = false);
// A key pressed while a modifier (VK_MENU, VK_CONTROL) is held.
void pressWith(WORD modifier, WORD virtualKey);
// One mouse event at a screen point (flags: MOUSEEVENTF_LEFTDOWN, ..., or 0 for a move). Every
// event carries its position: under Wine a motion the X server reports late can put the pointer
// back where it was, and a button event without a position would then land there.
void mouseEvent(POINT screen, DWORD flags);
void moveMouseTo(HWND control);
// Moves the pointer to the screen's top-left corner, away from every control and its tooltip.
void parkMouse();
void click(HWND control, bool right = false);
void doubleClick(HWND control);
// Clicks, once or twice, in the middle of a list box's entry, which must be in view.
void clickListEntry(HWND list, int entry, bool twice = false);

// A list box's entries, and the selected one's position (-1 for none).
std::vector<std::wstring> listEntries(HWND list);
int listSelection(HWND list);

// The clipboard's text, and new text put there.
std::wstring clipboardText();
bool setClipboardText(const std::wstring& text);

// The screen's pixels under a rectangle, as 0x00RRGGBB values, top row first.
std::vector<DWORD> screenPixels(const RECT& rect);

struct TextColours {
    int red = 0;
    int green = 0;
    int black = 0;
};
// Counts the pixels of the control on the screen that are clearly red, green or black.
TextColours coloursOnScreen(HWND control);

// How many different colours the screen shows over the control.
std::size_t distinctColoursOnScreen(HWND control);

// Saves what the screen shows of the window (title bar and frame included) as a PNG file.
bool saveScreenshot(HWND window, const std::wstring& path);
bool saveScreenshot(const RECT& screen, const std::wstring& path);

}  // namespace e2e
