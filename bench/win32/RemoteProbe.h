// Loads probe.dll into a running program and runs its probe there on request.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "bench/BenchTable.h"
#include "ui/win32/Owners.h"

namespace bench {

class RemoteProbe {
public:
    RemoteProbe(DWORD processId, const std::wstring& libraryPath);
    RemoteProbe(const RemoteProbe&) = delete;
    RemoteProbe& operator=(const RemoteProbe&) = delete;

    bool ready() const { return probe_ != nullptr; }
    // Runs the probe in the program; false when it could not.
    bool take(HandleProbe& handles, std::uint64_t& workingSet);

private:
    // Runs the function at that address of the program on a new thread of the program's and
    // returns the thread's exit code.
    bool runThere(void* function, void* argument, DWORD& exitCode) const;

    ui::win32::KernelHandle process_;
    void* probe_ = nullptr;    // Probe, at its address in the program
    void* result_ = nullptr;   // a ProbeResult in the program's memory
};

}  // namespace bench
