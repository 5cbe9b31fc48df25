// What the window tests do beyond driving a program: type any text, click, hover for tooltips,
// read lists and the clipboard, look at the screen's colours and save screenshots.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/TestFiles.h"
#include "tools/window-driver/Driver.h"

namespace e2e {

std::wstring screenshotDirectory();

// Starts exe with our skin engine library's trace going to the file named, emptied first.
std::unique_ptr<Program> startTraced(const std::wstring& exe, const std::wstring& workingDirectory,
                                     const std::wstring& trace);

// Hovers over the control until the program shows that tooltip; false when it never does.
// `away` is a control without a tooltip, where the pointer goes first so that the tip shows afresh.
bool showsTooltip(const Program& program, HWND control, HWND away, const std::wstring& tip);

// The screen's dots per inch, and twips at that resolution, as the programs lay out their windows.
int screenDpi();
int pixelsFromTwips(int twips);
// Whether the window is centred on the screen.
bool isCentredOnScreen(HWND window);

// Real keystrokes: virtual keys for what the keyboard has, Unicode packets for the rest.
void typeText(const std::wstring& text);
void moveMouseTo(HWND control);
void click(HWND control);
// Moves the pointer to a point of the screen and clicks there.
void clickAt(POINT screen);
void doubleClick(HWND control);
// Clicks, once or twice, in the middle of a list box's entry, which must be in view.
void clickListEntry(HWND list, int entry, bool twice = false);

// A list box's entries, and the selected one's position (-1 for none).
std::vector<std::wstring> listEntries(HWND list);
int listSelection(HWND list);

// The clipboard's text, and new text put there.
std::wstring clipboardText();
bool setClipboardText(const std::wstring& text);

// The screen's pixel at a point, as 0x00RRGGBB, and as a COLORREF (0x00BBGGRR), the form of the
// skins' and the programs' own colours.
DWORD screenPixel(POINT screen);
COLORREF screenColour(POINT screen);

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
