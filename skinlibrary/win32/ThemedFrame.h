// A skinned caption on a system with visual styles. There the desktop compositor and the theme
// draw their own title bar over ours: at every activation, on a click or hover on the bar and in
// the default handling of a new title or icon. A skinned top-level window is taken from both, and
// the messages after which they would draw are answered here without their painting; the window
// gets both back when the skin lets it go.
#pragma once

#include <windows.h>

namespace skin::win32 {

struct SkinnedWindow;

// Turns the compositor's frame rendering and the frame's theme off for the window, and back on.
// Either does nothing on a system that lacks the calls (they are bound on first use).
void takeFrameFromSystem(HWND window);
void giveFrameToSystem(HWND window);

// Draws our caption and border now, if the window is still skinned and shows them.
void repaintFrame(SkinnedWindow& skinned);

// Answers the message if it is one whose default handling would paint the system's caption over
// ours; false leaves it to the window procedure.
bool answerWithoutSystemCaption(SkinnedWindow& skinned, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT& result);

}  // namespace skin::win32
