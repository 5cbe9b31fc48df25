// The skin engine bound at run time: "SkinH_VB6.dll" through the ordinary library search, each
// function by its export name on its first call.
#pragma once

#include <windows.h>

#include "skinengine/SkinEngine.h"
#include "ui/win32/LazyLibrary.h"

namespace skinengine {

inline constexpr wchar_t kLibraryFileName[] = L"SkinH_VB6.dll";
// Exit codes when the library or one of its functions cannot be bound (the platform's own error
// numbers for those two faults).
inline constexpr UINT kExitLibraryMissing = ERROR_MOD_NOT_FOUND;    // 126
inline constexpr UINT kExitFunctionMissing = ERROR_PROC_NOT_FOUND;  // 127

class SkinEngineLibrary final : public SkinEngine {
public:
    SkinEngineLibrary() = default;
    SkinEngineLibrary(const SkinEngineLibrary&) = delete;
    SkinEngineLibrary& operator=(const SkinEngineLibrary&) = delete;
    // The library stays loaded for the life of the process: it subclasses our windows, and
    // unloading it under them would crash the next message.
    ~SkinEngineLibrary() override = default;

    void SkinH_Attach() override;
    void SkinH_AttachEx(const std::string& skinPath, const std::string& secondText) override;
    void SkinH_Detach() override;
    void SkinH_DetachEx(WindowHandle window) override;
    void SkinH_SetAero(std::int32_t on) override;
    void SkinH_SetWindowAlpha(WindowHandle window, std::int32_t alpha) override;

private:
    // The function's address; when the library or the function is missing, tells the user and
    // ends the process.
    template <typename Function>
    Function bind(const char* name);

    ui::win32::LazyLibrary library_{kLibraryFileName};
};

// Takes the current directory out of the process's library search, keeping the program's own
// folder and the system folders: a skin pack unpacked from the internet may hold a hostile
// SkinH_VB6.dll, and a program started from inside it must not load that one. Call it first
// thing, before anything can load a library by name.
void keepCurrentDirectoryOutOfLibrarySearch();

// Shows which piece of the skin engine is missing and ends the process with the given code.
[[noreturn]] void stopForMissingSkinEngine(const wchar_t* functionName, UINT exitCode);

}  // namespace skinengine
