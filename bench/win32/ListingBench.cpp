#include "bench/win32/ListingBench.h"

#include <windows.h>

#include "bench/win32/Clock.h"
#include "glimmora/Form1.h"
#include "glimmora/win32/GlimmoraWindow.h"
#include "glimmora/win32/Win32FileFinder.h"
#include "ui/win32/SystemCodePage.h"

namespace bench {
namespace {

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

int enumerate(const std::string& pattern) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 1;
    while (FindNextFileA(search, &data)) ++count;
    FindClose(search);
    return count;
}

}  // namespace

ListingTimes benchListing(const std::wstring& folder, int runs) {
    ListingTimes times;
    skinengine::NoSkinEngine skin;
    glimmora::win32::Win32FileFinder finder;
    ui::win32::SystemCodePage codePage;
    glimmora::win32::GlimmoraWindow window(skin, finder, codePage);
    if (!window.createAndLoad(GetModuleHandleW(nullptr))) return times;
    ShowWindow(window.window(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.window());
    // The directory list moves to the folder once; from then on the handler runs on its own,
    // as the window runs it: with the skin list's painting held until the handler ends.
    if (!window.setDirPath(folder)) return times;
    pumpMessages();
    glimmora::Form1 form(window, skin, finder, codePage);
    HWND list = window.control(glimmora::Control::List1);
    auto listing = [&] {
        const double start = nowMs();
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        form.Dir1_Change();
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
        UpdateWindow(list);
        return nowMs() - start;
    };
    const std::string pattern = codePage.toAnsi(folder + L"\\*.she");
    auto bare = [&] {
        const double start = nowMs();
        times.enumerated = enumerate(pattern);
        return nowMs() - start;
    };

    listing();
    bare();
    for (int run = 0; run < runs; ++run) {
        times.floor.push_back(bare());
        times.listing.push_back(listing());
        pumpMessages();
    }
    times.listed = window.listCount();
    return times;
}

}  // namespace bench
