#include "bench/win32/RemoteProbe.h"

#include <tlhelp32.h>

#include "bench/win32/ProbeResult.h"

namespace bench {
namespace {

// Where a module of that name is loaded in the process, or nullptr.
BYTE* moduleBase(DWORD processId, const wchar_t* name) {
    const ui::win32::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId));
    if (!snapshot.valid()) return nullptr;
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    BYTE* base = nullptr;
    for (BOOL more = Module32FirstW(snapshot.get(), &module); more && base == nullptr;
         more = Module32NextW(snapshot.get(), &module)) {
        if (lstrcmpiW(module.szModule, name) == 0) base = module.modBaseAddr;
    }
    return base;
}

// The address that a function of this process's copy of a module has in another copy.
void* relocated(HMODULE here, FARPROC function, BYTE* there) {
    if (here == nullptr || function == nullptr || there == nullptr) return nullptr;
    return there + (reinterpret_cast<BYTE*>(function) - reinterpret_cast<BYTE*>(here));
}

}  // namespace

RemoteProbe::RemoteProbe(DWORD processId, const std::wstring& libraryPath) {
    process_.reset(OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                   PROCESS_VM_READ | PROCESS_VM_WRITE,
                               FALSE, processId));
    if (!process_.valid()) return;

    // LoadLibraryW of the program's kernel32, given the library's path in the program's memory.
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    void* loadLibrary = relocated(kernel, GetProcAddress(kernel, "LoadLibraryW"), moduleBase(processId, L"kernel32.dll"));
    const SIZE_T pathBytes = (libraryPath.size() + 1) * sizeof(wchar_t);
    void* path = VirtualAllocEx(process_.get(), nullptr, pathBytes + sizeof(ProbeResult), MEM_COMMIT, PAGE_READWRITE);
    if (loadLibrary == nullptr || path == nullptr ||
        !WriteProcessMemory(process_.get(), path, libraryPath.c_str(), pathBytes, nullptr)) {
        return;
    }
    // The thread's exit code holds only the low 32 bits of what LoadLibraryW returned: in a 64-bit
    // program the library's address is read from the program's module list instead.
    DWORD ignored = 0;
    if (!runThere(loadLibrary, path, ignored)) return;
    const std::wstring fileName = libraryPath.substr(libraryPath.find_last_of(L"\\/") + 1);
    BYTE* loaded = moduleBase(processId, fileName.c_str());
    if (loaded == nullptr) return;

    // This process's copy is loaded only to find Probe's offset in the library.
    const ui::win32::LibraryHandle local(LoadLibraryW(libraryPath.c_str()));
    probe_ = relocated(local.get(), GetProcAddress(local.get(), "Probe"), loaded);
    result_ = static_cast<BYTE*>(path) + pathBytes;
}

bool RemoteProbe::runThere(void* function, void* argument, DWORD& exitCode) const {
    const ui::win32::KernelHandle thread(CreateRemoteThread(
        process_.get(), nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(function), argument, 0, nullptr));
    if (!thread.valid()) return false;
    return WaitForSingleObject(thread.get(), 10000) == WAIT_OBJECT_0 && GetExitCodeThread(thread.get(), &exitCode);
}

bool RemoteProbe::take(HandleProbe& handles, std::uint64_t& workingSet) {
    if (!ready()) return false;
    ProbeResult result{};
    DWORD ignored = 0;
    if (!WriteProcessMemory(process_.get(), result_, &result, sizeof result, nullptr) ||
        !runThere(probe_, result_, ignored) ||
        !ReadProcessMemory(process_.get(), result_, &result, sizeof result, nullptr) || result.done != 1) {
        return false;
    }
    handles = {result.kernel, result.gdi, result.user, result.kernelObjects, result.gdiObjects};
    workingSet = result.workingSet;
    return true;
}

}  // namespace bench
