// probe.dll: loaded into a running program by the bench, which then runs Probe on a thread of
// its own there. Probe makes one event, one bitmap and one menu, notes their handle values,
// frees them again, and notes the program's working set and how many kernel handles and GDI
// objects it holds.
#include <windows.h>
#include <psapi.h>

#include "bench/win32/ProbeResult.h"

namespace {

// The platform answers for a handle value of the program's own table whatever its reuse count:
// a kernel handle is a multiple of 4, a GDI handle's slot its low 16 bits.
std::uint32_t openKernelHandles() {
    std::uint32_t count = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}

std::uint32_t liveGdiObjects() {
    std::uint32_t count = 0;
    for (ULONG_PTR slot = 1; slot < 0x10000; ++slot) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++count;
    }
    return count;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI Probe(void* result) {
    auto* out = static_cast<bench::ProbeResult*>(result);
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HBITMAP bitmap = CreateBitmap(1, 1, 1, 1, nullptr);
    HMENU menu = CreateMenu();
    // Handle values have 32 significant bits in 64-bit programs too (kernel handles index the
    // process's table, USER and GDI handles are shared with 32-bit programs), so the cut is safe.
    out->kernel = static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(event));
    out->gdi = static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(bitmap));
    out->user = static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(menu));
    CloseHandle(event);
    DeleteObject(bitmap);
    DestroyMenu(menu);
    out->kernelObjects = openKernelHandles();
    out->gdiObjects = liveGdiObjects();
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    out->workingSet = GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) ? counters.WorkingSetSize : 0;
    out->done = 1;
    return 0;
}
