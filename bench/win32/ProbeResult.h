// What the probe library writes for the bench from inside a program.
#pragma once

#include <cstdint>

namespace bench {

struct ProbeResult {
    std::uint32_t kernel;  // an event's handle value
    std::uint32_t gdi;     // a bitmap's
    std::uint32_t user;    // a menu's
    std::uint32_t kernelObjects;  // handles open in the program
    std::uint32_t gdiObjects;     // GDI objects alive in the program
    std::uint32_t done;           // 1 once the probe has run
    std::uint64_t workingSet;
};

}  // namespace bench
