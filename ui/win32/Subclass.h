// Window subclassing with the shape of the common controls' four calls, kept in a table of our
// own. Theirs finds a window's chain through a window property, and under Wine every property
// lookup is a round trip to the server, once per layer and message: a repaint of a skinned
// window cost hundreds. Here the chain is found in this module's memory.
//
// As with theirs: layers are called newest first, each passes on with defSubclassProc; a layer
// may be removed at any time, from inside its own procedure too; a window's layers go with its
// WM_NCDESTROY; calls work only from the thread that owns the window. A later subclass over ours
// (another module's table, or a plain SetWindowLongPtr) keeps working whatever is removed first.
#pragma once

#include <windows.h>

namespace ui::win32 {

using SubclassProcedure = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM, UINT_PTR id, DWORD_PTR data);

// Adds the layer (procedure, id) on top, or gives an existing one the new data.
bool setWindowSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id, DWORD_PTR data);
// Removes the layer; false when the window has no such layer.
bool removeWindowSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id);
// From inside a layer's procedure: the next layer down, or the window's own procedure.
LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The data of the layer; false when the window has no such layer.
bool getWindowSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id, DWORD_PTR* data);

}  // namespace ui::win32
