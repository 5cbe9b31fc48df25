// The platform's file enumeration as the listing uses it: the three ANSI functions, each bound by
// name on its first call by the Windows adapter, faked in tests.
#pragma once

#include <cstdint>
#include <string>

namespace glimmora {

using SearchHandle = std::uintptr_t;
// The platform's invalid-handle value: nothing matched, or the folder cannot be read.
inline constexpr SearchHandle kInvalidSearchHandle = ~SearchHandle{0};

// The part of the platform's ANSI find-data record that the listing reads: the long name, 260
// characters in the ANSI code page, padded with NULs (and not terminated when the name fills it).
struct FindRecord {
    char cFileName[260];
};

class FileFinder {
public:
    virtual ~FileFinder() = default;
    // pattern: the folder, a backslash and the search pattern, in the ANSI code page.
    virtual SearchHandle FindFirstFileA(const std::string& pattern, FindRecord& record) = 0;
    virtual bool FindNextFileA(SearchHandle search, FindRecord& record) = 0;
    virtual void FindClose(SearchHandle search) = 0;
};

}  // namespace glimmora
