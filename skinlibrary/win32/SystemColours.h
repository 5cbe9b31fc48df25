// The system's colours as a host's own code asks for them. While a skin is on, a host's calls of
// GetSysColor and GetSysColorBrush answer the skin's colours for the indexes the skin covers
// (docs/skin-format.md gives the table), so that what the host draws itself, an owner-drawn list
// or a panel, follows the skin; after the skin goes they answer the system's again.
//
// The session's colours (SetSysColors) stay untouched: every other program keeps them. Instead the
// host's modules have their imports of the two functions pointed at the library's; the system's
// own modules and this library keep theirs, so what user32 draws itself is not reached.
#pragma once

#include <windows.h>

#include "skinlibrary/SkinFormat.h"

namespace skin::win32 {

// Takes the skin's colours for the host's calls, from modules loaded since the last call too. The
// brushes handed out for the skin before are deleted once the new ones answer.
void followSkinInSystemColours(const Skin& skin);
// Gives the host's modules their imports back and deletes the brushes handed out.
void giveSystemColoursBack();

// Whether the brush is one GetSysColorBrush hands a host for the skin in force.
bool isSkinSystemBrush(HBRUSH brush);

}  // namespace skin::win32
