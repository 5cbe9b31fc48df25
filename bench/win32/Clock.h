// Milliseconds from the performance counter, and a wait fine enough to time by.
#pragma once

#include <windows.h>

#include <functional>

namespace bench {

inline double nowMs() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Checks the condition every millisecond until it holds or the time is up: the tests' own
// wait checks every 20 ms, too coarse for what the bench times.
inline bool pollUntil(const std::function<bool()>& condition, double timeoutMs) {
    const double start = nowMs();
    while (!condition()) {
        if (nowMs() - start > timeoutMs) return false;
        Sleep(1);
    }
    return true;
}

}  // namespace bench
