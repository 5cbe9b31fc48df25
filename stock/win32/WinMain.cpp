#include <windows.h>
#include <commctrl.h>

#include "skinengine/win32/SkinEngineLibrary.h"
#include "stock/win32/StockWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    skinengine::SkinEngineLibrary skin;
    stock::win32::StockWindow window(skin);
    return window.run(instance, showCommand);
}
