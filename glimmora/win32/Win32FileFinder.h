// The listing's file enumeration: kernel32's FindFirstFileA, FindNextFileA and FindClose, each
// bound by name on its first call.
#pragma once

#include <windows.h>

#include "glimmora/FileFinder.h"

namespace glimmora::win32 {

class Win32FileFinder final : public FileFinder {
public:
    SearchHandle FindFirstFileA(const std::string& pattern, FindRecord& record) override;
    bool FindNextFileA(SearchHandle search, FindRecord& record) override;
    void FindClose(SearchHandle search) override;

private:
    using First = decltype(&::FindFirstFileA);
    using Next = decltype(&::FindNextFileA);
    using Close = decltype(&::FindClose);

    First first_ = nullptr;
    Next next_ = nullptr;
    Close close_ = nullptr;
};

}  // namespace glimmora::win32
