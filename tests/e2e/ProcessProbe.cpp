#include "tests/e2e/ProcessProbe.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <string>

#include "tests/e2e/WindowDriver.h"

namespace e2e {
namespace {

constexpr wchar_t kProbeLibrary[] = L"handle_probe.dll";
constexpr std::size_t kPlaceBytes = 1024;

// Where a module of that file name lies in the process; 0 when it is not loaded there.
std::uintptr_t moduleBase(HANDLE process, const wchar_t* fileName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetProcessId(process));
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    std::uintptr_t base = 0;
    for (BOOL more = Module32FirstW(snapshot, &module); more && base == 0; more = Module32NextW(snapshot, &module)) {
        if (lstrcmpiW(module.szModule, fileName) == 0) base = reinterpret_cast<std::uintptr_t>(module.modBaseAddr);
    }
    CloseHandle(snapshot);
    return base;
}

// The address of a module's function in the process, from its place in this process's copy.
std::uintptr_t remoteFunction(HANDLE process, const wchar_t* fileName, HMODULE local, const char* name) {
    const auto address = reinterpret_cast<std::uintptr_t>(GetProcAddress(local, name));
    const std::uintptr_t base = moduleBase(process, fileName);
    if (address == 0 || base == 0) return 0;
    return base + (address - reinterpret_cast<std::uintptr_t>(local));
}

}  // namespace

ProcessProbe::ProcessProbe(HANDLE process) : process_(process) {
    const std::wstring library = testDirectory() + L"\\" + kProbeLibrary;
    place_ = VirtualAllocEx(process_, nullptr, kPlaceBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (place_ == nullptr) return;
    const std::size_t bytes = (library.size() + 1) * sizeof(wchar_t);
    const std::uintptr_t loadLibrary =
        remoteFunction(process_, L"kernel32.dll", GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW");
    if (bytes > kPlaceBytes || !WriteProcessMemory(process_, place_, library.c_str(), bytes, nullptr) ||
        !runRemote(loadLibrary, place_)) {
        return;
    }
    HMODULE local = LoadLibraryW(library.c_str());
    probe_ = remoteFunction(process_, kProbeLibrary, local, "probeInto");
    internetProbe_ = remoteFunction(process_, kProbeLibrary, local, "probeInternetInto");
}

ProcessProbe::~ProcessProbe() {
    if (place_ != nullptr) VirtualFreeEx(process_, place_, 0, MEM_RELEASE);
}

bool ProcessProbe::runRemote(std::uintptr_t function, void* argument) {
    if (function == 0) return false;
    HANDLE thread = CreateRemoteThread(process_, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(function),
                                       argument, 0, nullptr);
    if (thread == nullptr) return false;
    const bool ended = WaitForSingleObject(thread, 30000) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended;
}

std::optional<HandleProbe> ProcessProbe::handles() {
    HandleProbe probe{};
    if (!ready() || !runRemote(probe_, place_) ||
        !ReadProcessMemory(process_, place_, &probe, sizeof probe, nullptr)) {
        return std::nullopt;
    }
    return probe;
}

std::optional<unsigned> ProcessProbe::internetHandles() {
    unsigned highest = 0;
    if (!ready() || !runRemote(internetProbe_, place_) ||
        !ReadProcessMemory(process_, place_, &highest, sizeof highest, nullptr)) {
        return std::nullopt;
    }
    return highest;
}

std::size_t ProcessProbe::workingSetBytes() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process_, &counters, sizeof counters)) return 0;
    return counters.WorkingSetSize;
}

}  // namespace e2e
