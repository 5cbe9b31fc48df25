#include <windows.h>

#include "skinengine/win32/SkinEngineLibrary.h"
#include "stock/win32/PlatformServices.h"
#include "stock/win32/ServiceAddresses.h"
#include "stock/win32/StockWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    skinengine::keepCurrentDirectoryOutOfLibrarySearch();
    skinengine::SkinEngineLibrary skin;
    stock::win32::WinInetApi internet;
    stock::win32::CodePageText text;
    stock::win32::OlePictureService pictures;
    stock::StockPlatform platform{internet, text, pictures, stock::win32::kServiceAddresses};
    stock::win32::StockWindow window(skin, platform);
    return window.run(instance, showCommand);
}
