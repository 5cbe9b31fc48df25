// What the engine draws (Painting.cpp): the caption bar and border of a skinned window, the
// controls it paints itself, and the borders of text and list boxes.
#pragma once

#include <windows.h>

#include <functional>

#include "skinlibrary/SkinRules.h"

namespace skin::win32 {

struct SkinnedWindow;
class SkinResources;

void paintFrame(SkinnedWindow& skinned, SkinResources& resources);
void paintControl(SkinnedWindow& skinned, HDC dc, SkinResources& resources);
void paintControlNow(SkinnedWindow& skinned, SkinResources& resources);
// Whether the painter draws over the control's own painting rather than in its place.
bool paintsOverPlatform(Painter painter);
void paintEdge(SkinnedWindow& skinned, SkinResources& resources);
// A window's own scroll bars, after the platform drew them: always, or only when what they show
// (ranges, positions, the part under the pointer) changed since the engine last painted them.
void paintScrollBars(SkinnedWindow& skinned, SkinResources& resources, bool always);
// Lets the owner draw a list entry (ownerDraws: its handling of WM_DRAWITEM) into a bitmap of the
// entry's size, then shows it with the system's list colours in it turned into the skin's.
LRESULT drawEntryInSkin(DRAWITEMSTRUCT& item, SkinResources& resources, const std::function<LRESULT()>& ownerDraws);
// The rules' name for a WM_CTLCOLOR* message.
ColourMessage colourMessageFrom(UINT message);
CaptionLayout captionLayoutOf(HWND window);
// The item of a popup menu's window the platform shows highlighted (-1: none).
int highlightedItem(HWND popup);
// A skinned window's menu bar, over the platform's drawing of it.
void paintMenuBar(SkinnedWindow& skinned, SkinResources& resources);
bool usesSystemBrush(HBRUSH brush);

}  // namespace skin::win32
