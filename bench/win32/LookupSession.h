// A program that looks shares up, running for the bench and looked up through its window as a
// user does: a code in its code box, Enter, and the wait until its summary line and its chart are
// on the screen. stock-local.exe, or the lookup floor.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tools/window-driver/Driver.h"

namespace bench {

// Where the program shows what: its window's class and the identifiers of the three controls.
struct LookupWindow {
    const wchar_t* windowClass;
    int codeBox;
    int summary;
    int chart;
};

class LookupSession {
public:
    LookupSession(const std::wstring& exe, const std::wstring& folder, const LookupWindow& window);

    bool ready() const { return form_ != nullptr; }
    DWORD processId() const { return program_->id(); }

    // Looks the code up; returns the milliseconds from Enter until its summary line and chart are
    // shown, or a negative value when they were not within 15 s. The first lookup of a code
    // learns what its summary and chart look like; look up two codes in turn, so that each
    // lookup changes what the window shows.
    double lookUp(const std::wstring& code);

private:
    struct Shown {
        std::wstring summary;
        std::uint64_t chart = 0;  // a digest of the chart's top rows on the screen
    };

    HWND control(int id) const { return GetDlgItem(form_, id); }
    std::wstring summary() const;
    std::vector<DWORD> chartPixels() const;
    std::uint64_t chart() const;
    bool learn(Shown& shown) const;

    LookupWindow window_;
    std::unique_ptr<e2e::Program> program_;
    HWND form_ = nullptr;
    std::map<std::wstring, Shown> known_;
    Shown last_;
};

}  // namespace bench
