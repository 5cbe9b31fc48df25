#include "glimmora/win32/Win32FileFinder.h"

#include <cstring>

namespace glimmora::win32 {
namespace {

template <typename Function>
Function bound(Function& slot, const char* name) {
    if (slot == nullptr) {
        FARPROC address = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
        slot = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
    }
    return slot;
}

void copyName(const WIN32_FIND_DATAA& data, FindRecord& record) {
    static_assert(sizeof record.cFileName == sizeof data.cFileName, "the record holds the platform's name field");
    std::memcpy(record.cFileName, data.cFileName, sizeof record.cFileName);
}

HANDLE handleOf(SearchHandle search) { return reinterpret_cast<HANDLE>(search); }

}  // namespace

SearchHandle Win32FileFinder::FindFirstFileA(const std::string& pattern, FindRecord& record) {
    First first = bound(first_, "FindFirstFileA");
    if (first == nullptr) return kInvalidSearchHandle;
    WIN32_FIND_DATAA data{};
    HANDLE search = first(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return kInvalidSearchHandle;
    copyName(data, record);
    return reinterpret_cast<SearchHandle>(search);
}

bool Win32FileFinder::FindNextFileA(SearchHandle search, FindRecord& record) {
    Next next = bound(next_, "FindNextFileA");
    WIN32_FIND_DATAA data{};
    if (next == nullptr || !next(handleOf(search), &data)) return false;
    copyName(data, record);
    return true;
}

void Win32FileFinder::FindClose(SearchHandle search) {
    if (Close close = bound(close_, "FindClose")) close(handleOf(search));
}

}  // namespace glimmora::win32
