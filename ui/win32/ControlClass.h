// The platform's window class and styles that each kind of designed control is made of.
#pragma once

#include <windows.h>

#include "ui/DesignTable.h"

namespace ui::win32 {

struct ControlClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ControlClass controlClass(const ControlDesign& control);

}  // namespace ui::win32
