// The handle probe and the working set of a program under test, read from outside. The probe
// runs inside the program: the probe library is loaded there, and its probe started there on a
// thread of its own. Nothing of this is in the programs themselves.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

#include "tests/e2e/HandleProbe.h"

namespace e2e {

class ProcessProbe {
public:
    // Loads the probe library (handle_probe.dll beside this test program) into the process.
    explicit ProcessProbe(HANDLE process);
    ~ProcessProbe();
    ProcessProbe(const ProcessProbe&) = delete;
    ProcessProbe& operator=(const ProcessProbe&) = delete;

    bool ready() const { return probe_ != 0 && place_ != nullptr; }
    // Nothing when the probe could not run.
    std::optional<HandleProbe> handles();
    // The highest of a few fresh WinINet handles in the program; nothing when it could not run.
    std::optional<unsigned> internetHandles();
    std::size_t workingSetBytes() const;

private:
    // Runs the function at that address in the process with the argument; false on failure.
    bool runRemote(std::uintptr_t function, void* argument);

    HANDLE process_;
    std::uintptr_t probe_ = 0;
    std::uintptr_t internetProbe_ = 0;
    void* place_ = nullptr;  // the process's memory, for the library's name and then the probe
};

}  // namespace e2e
