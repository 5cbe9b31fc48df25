#include <windows.h>

#include "skinengine/win32/SkinEngineLibrary.h"
#include "stock/win32/PlatformServices.h"
#include "stock/win32/ServiceAddresses.h"
#include "stock/win32/StockWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    skinengine::keepCurrentDirectoryOutOfLibrarySearch();
    skinengine::SkinEngineLibrary skin;
    stock::win32::WinInetApi internet;
    stock::win32::SystemCodePages text;
    ui::win32::LazyLibrary oleaut32{L"oleaut32.dll"};
    stock::win32::OlePictureService pictures{oleaut32};
    stock::win32::OleNumberConversions numbers{oleaut32};
    stock::StockPlatform platform{internet, text, pictures, numbers, stock::win32::kServiceAddresses};
    stock::win32::StockWindow window(skin, platform);
    return window.run(instance, showCommand);
}
