#include "skinengine/win32/SkinEngineLibrary.h"

#include <string>

// The library is 32-bit and takes every argument, pointers included, as one 32-bit value.
static_assert(sizeof(void*) == 4, "the skin engine library exists only as a 32-bit library");

namespace skinengine {
namespace {

struct Export {
    const char* name;
    const wchar_t* wideName;
};

constexpr Export kExports[] = {
    {"SkinH_Attach", L"SkinH_Attach"},
    {"SkinH_AttachEx", L"SkinH_AttachEx"},
    {"SkinH_Detach", L"SkinH_Detach"},
    {"SkinH_DetachEx", L"SkinH_DetachEx"},
    {"SkinH_SetAero", L"SkinH_SetAero"},
    {"SkinH_SetWindowAlpha", L"SkinH_SetWindowAlpha"},
};

// The library's functions return a value the programs never read; declaring it keeps the
// stdcall frame exactly as the library builds it.
using NoArgs = int(WINAPI*)();
using OneArg = int(WINAPI*)(std::uint32_t);
using TwoArgs = int(WINAPI*)(std::uint32_t, std::uint32_t);

// GetProcAddress hands back a generic function pointer; the library's own type is given here.
template <typename Function>
Function as(FARPROC address) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

std::uint32_t pointerArgument(const char* text) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(text));
}

}  // namespace

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

FARPROC SkinEngineLibrary::bind(Function function) {
    if (functions_[function] != nullptr) return functions_[function];
    if (module_ == nullptr) {
        module_ = LoadLibraryW(kLibraryFileName);
        if (module_ == nullptr) stopForMissingSkinEngine(nullptr, kExitLibraryMissing);
    }
    functions_[function] = GetProcAddress(module_, kExports[function].name);
    if (functions_[function] == nullptr) {
        stopForMissingSkinEngine(kExports[function].wideName, kExitFunctionMissing);
    }
    return functions_[function];
}

void SkinEngineLibrary::SkinH_Attach() {
    as<NoArgs>(bind(kAttach))();
}

void SkinEngineLibrary::SkinH_AttachEx(const std::string& skinPath, const std::string& secondText) {
    as<TwoArgs>(bind(kAttachEx))(pointerArgument(skinPath.c_str()),
                                               pointerArgument(secondText.c_str()));
}

void SkinEngineLibrary::SkinH_Detach() {
    as<NoArgs>(bind(kDetach))();
}

void SkinEngineLibrary::SkinH_DetachEx(WindowHandle window) {
    as<OneArg>(bind(kDetachEx))(window);
}

void SkinEngineLibrary::SkinH_SetAero(std::int32_t on) {
    as<OneArg>(bind(kSetAero))(static_cast<std::uint32_t>(on));
}

void SkinEngineLibrary::SkinH_SetWindowAlpha(WindowHandle window, std::int32_t alpha) {
    as<TwoArgs>(bind(kSetWindowAlpha))(window, static_cast<std::uint32_t>(alpha));
}

}  // namespace skinengine
