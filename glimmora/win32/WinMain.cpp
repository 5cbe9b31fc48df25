#include <windows.h>

#include "glimmora/win32/GlimmoraWindow.h"
#include "glimmora/win32/Win32FileFinder.h"
#include "skinengine/win32/SkinEngineLibrary.h"
#include "ui/win32/SystemCodePage.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    skinengine::keepCurrentDirectoryOutOfLibrarySearch();
    // A drive without a medium answers with a failure, not with the system's "insert a disk" box.
    SetErrorMode(SEM_FAILCRITICALERRORS);
    skinengine::SkinEngineLibrary skin;
    glimmora::win32::Win32FileFinder finder;
    ui::win32::SystemCodePage codePage;
    glimmora::win32::GlimmoraWindow window(skin, finder, codePage);
    if (!window.createAndLoad(instance)) return 1;
    return window.run(showCommand);
}
