#include "skinengine/win32/SkinEngineLibrary.h"

#include <cstring>
#include <string>

namespace skinengine {
namespace {

// The library's functions with the argument types it exports them with. Each argument is one
// machine word: a 32-bit library's stdcall frame holds exactly these 32-bit values, and a 64-bit
// one gets pointers and handles whole. The functions return a value the programs never read;
// declaring it keeps the frame exactly as the library builds it.
using NoArgs = int(WINAPI*)();
using TwoTexts = int(WINAPI*)(const char*, const char*);
using OneWindow = int(WINAPI*)(HWND);
using OneNumber = int(WINAPI*)(int);
using WindowAndNumber = int(WINAPI*)(HWND, int);

HWND windowOf(WindowHandle window) { return reinterpret_cast<HWND>(window); }

}  // namespace

void keepCurrentDirectoryOutOfLibrarySearch() {
    SetDllDirectoryW(L"");
    // Wine keeps searching the current directory despite the empty DLL directory. The default
    // directories (the program's folder, then System32) leave it out there too; systems older
    // than Windows 8 may lack the call, and the empty DLL directory does the work there.
    using SetDefaultDllDirectoriesFunction = decltype(&::SetDefaultDllDirectories);
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault != nullptr) setDefault(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

void stopForMissingSkinEngine(const wchar_t* functionName, UINT exitCode) {
    std::wstring message;
    if (functionName == nullptr) {
        message = std::wstring(L"找不到皮肤引擎库 ") + kLibraryFileName +
                  L"。\n请把它放在程序所在的文件夹中，然后重新启动程序。";
    } else {
        message = std::wstring(L"皮肤引擎库 ") + kLibraryFileName + L" 中没有函数 " + functionName +
                  L"。\n请换用完整的皮肤引擎库，然后重新启动程序。";
    }
    MessageBoxW(nullptr, message.c_str(), L"程序无法继续运行", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(exitCode);
}

template <typename Function>
Function SkinEngineLibrary::bind(const char* name) {
    if (!library_.load()) stopForMissingSkinEngine(nullptr, kExitLibraryMissing);
    auto function = library_.function<Function>(name);
    if (function == nullptr) {
        const std::wstring wideName(name, name + std::strlen(name));  // export names are ASCII
        stopForMissingSkinEngine(wideName.c_str(), kExitFunctionMissing);
    }
    return function;
}

void SkinEngineLibrary::SkinH_Attach() {
    bind<NoArgs>("SkinH_Attach")();
}

void SkinEngineLibrary::SkinH_AttachEx(const std::string& skinPath, const std::string& secondText) {
    bind<TwoTexts>("SkinH_AttachEx")(skinPath.c_str(), secondText.c_str());
}

void SkinEngineLibrary::SkinH_Detach() {
    bind<NoArgs>("SkinH_Detach")();
}

void SkinEngineLibrary::SkinH_DetachEx(WindowHandle window) {
    bind<OneWindow>("SkinH_DetachEx")(windowOf(window));
}

void SkinEngineLibrary::SkinH_SetAero(std::int32_t on) {
    bind<OneNumber>("SkinH_SetAero")(on);
}

void SkinEngineLibrary::SkinH_SetWindowAlpha(WindowHandle window, std::int32_t alpha) {
    bind<WindowAndNumber>("SkinH_SetWindowAlpha")(windowOf(window), alpha);
}

}  // namespace skinengine
