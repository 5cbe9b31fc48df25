// A library bound by its file name and its functions by their export names, each on first use,
// so that nothing is loaded before it is needed. The library stays loaded for the life of the
// process: what it hands out (windows it subclasses, COM objects) may outlive any one caller.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace ui::win32 {

class LazyLibrary {
public:
    explicit LazyLibrary(const wchar_t* fileName) : fileName_(fileName) {}
    LazyLibrary(const LazyLibrary&) = delete;
    LazyLibrary& operator=(const LazyLibrary&) = delete;

    // Loads the library if it is not loaded yet; false when it cannot be.
    bool load() {
        if (module_ == nullptr) module_ = LoadLibraryW(fileName_);
        return module_ != nullptr;
    }

    // The function's address as the given type, or nullptr when the library or the export is missing.
    template <typename Function>
    Function function(const char* name) {
        auto known = functions_.find(name);
        if (known != functions_.end()) return cast<Function>(known->second);
        if (!load()) return nullptr;
        FARPROC address = GetProcAddress(module_, name);
        if (address != nullptr) functions_.emplace(name, address);
        return cast<Function>(address);
    }

private:
    template <typename Function>
    static Function cast(FARPROC address) {
        return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
    }

    const wchar_t* fileName_;
    HMODULE module_ = nullptr;
    std::map<std::string, FARPROC> functions_;
};

}  // namespace ui::win32
