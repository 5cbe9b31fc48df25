// floor-lookup.exe RESULTS RUNS QUOTE CHART [QUOTE CHART ...]: the lookup floor. The same two
// requests a lookup makes, the quote text through WinINet in 256-byte reads and the chart through
// OLE's picture loader, made plainly, RUNS times round the given pairs after one unmeasured
// round. Writes one time in milliseconds a line to RESULTS.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>

#include "bench/win32/Clock.h"

namespace {

using bench::nowMs;

std::size_t fetchText(const char* address) {
    std::size_t received = 0;
    HINTERNET internet = InternetOpenA("floor", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (internet == nullptr) return 0;
    if (HINTERNET file = InternetOpenUrlA(internet, address, nullptr, 0, INTERNET_FLAG_NO_CACHE_WRITE, 0)) {
        char buffer[256];
        DWORD count = 0;
        while (InternetReadFile(file, buffer, sizeof buffer, &count) && count > 0) received += count;
        InternetCloseHandle(file);
    }
    InternetCloseHandle(internet);
    return received;
}

bool loadPicture(const char* address) {
    wchar_t wide[1024];
    MultiByteToWideChar(CP_ACP, 0, address, -1, wide, 1024);
    IPicture* picture = nullptr;
    OleLoadPicturePath(wide, nullptr, 0, 0, IID_IPicture, reinterpret_cast<void**>(&picture));
    if (picture == nullptr) return false;
    picture->Release();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: floor-lookup RESULTS RUNS QUOTE CHART [QUOTE CHART ...]\n");
        return 2;
    }
    const int runs = std::atoi(argv[2]);
    const int pairs = (argc - 3) / 2;
    OleInitialize(nullptr);
    std::FILE* results = std::fopen(argv[1], "w");
    if (results == nullptr) return 1;
    int failures = 0;
    for (int run = -pairs; run < runs; ++run) {
        const int pair = (run + pairs) % pairs;
        const double start = nowMs();
        const bool fetched = fetchText(argv[3 + 2 * pair]) > 0 && loadPicture(argv[4 + 2 * pair]);
        const double elapsed = nowMs() - start;
        if (!fetched) ++failures;
        if (run >= 0) std::fprintf(results, "%.3f\n", elapsed);
    }
    std::fclose(results);
    OleUninitialize();
    return failures == 0 ? 0 : 1;
}
