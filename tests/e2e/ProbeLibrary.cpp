// Loaded by the soak tests into the program they drive, where they run the probes on a thread of
// its own: a probe must be taken inside the program's process to count its handles.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <vector>

#include "tests/e2e/HandleProbe.h"

extern "C" {

__declspec(dllexport) DWORD WINAPI probeInto(void* place) {
    *static_cast<e2e::HandleProbe*>(place) = e2e::probeHandles();
    return 0;
}

// WinINet numbers its handles itself, lowest free first: a handle the fetch forgot to close
// pushes the highest of these up.
__declspec(dllexport) DWORD WINAPI probeInternetInto(void* place) {
    std::vector<HINTERNET> handles;
    unsigned highest = 0;
    for (int i = 0; i < 20; ++i) {
        handles.push_back(InternetOpenW(L"probe", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
        highest = std::max(highest, static_cast<unsigned>(reinterpret_cast<UINT_PTR>(handles.back())));
    }
    for (HINTERNET handle : handles) InternetCloseHandle(handle);
    *static_cast<unsigned*>(place) = highest;
    return 0;
}

}  // extern "C"
