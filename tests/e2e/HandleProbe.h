// Wine reports no object counts (GetGuiResources gives 0), so the handle values tell: Wine hands
// out the slot freed last first, so one handle made and freed may land on any free slot; made
// by the hundred, they fill every free slot and the highest slot index then counts the live
// objects. It climbs when kernel, GDI or USER objects leak. USER objects are counted over the
// whole desktop, GDI objects and kernel handles in the calling process.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace e2e {

struct HandleProbe {
    unsigned events, bitmaps, menus;
};

inline HandleProbe probeHandles() {
    constexpr int kCount = 400;
    std::vector<HANDLE> events;
    std::vector<HBITMAP> bitmaps;
    std::vector<HMENU> menus;
    HandleProbe highest{0, 0, 0};
    auto value = [](const void* handle) { return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(handle)); };
    for (int i = 0; i < kCount; ++i) {
        events.push_back(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        bitmaps.push_back(CreateBitmap(1, 1, 1, 1, nullptr));
        menus.push_back(CreateMenu());
        // GDI and USER handles carry a reuse count in their upper half: the slot is the lower.
        highest.events = std::max(highest.events, value(events.back()));
        highest.bitmaps = std::max(highest.bitmaps, value(bitmaps.back()) & 0xFFFF);
        highest.menus = std::max(highest.menus, value(menus.back()) & 0xFFFF);
    }
    for (HANDLE event : events) CloseHandle(event);
    for (HBITMAP bitmap : bitmaps) DeleteObject(bitmap);
    for (HMENU menu : menus) DestroyMenu(menu);
    return highest;
}

}  // namespace e2e
