// A window laid out as data: one constant table per window, from which the Win32 adapter builds
// the real controls and which tests check without a window.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ui {

// 0x00BBGGRR, as the platform holds colours.
using Color = std::uint32_t;
inline constexpr Color kPlatformColor = 0xFFFFFFFFu;  // leave the platform's default

enum class Kind { Label, TextBox, Button, CheckBox, Option, Frame, Image, ListBox, DriveList, DirectoryList };

struct Font {
    const wchar_t* face;
    int tenthsOfPoint;
    int weight;  // 400 normal, 700 bold
    int charset;
};

// 宋体 9 pt: characters 180 twips high, Chinese 180 and ASCII 90 twips wide.
inline constexpr Font kDefaultFont{L"宋体", 90, 400, 134};

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

enum Flags : unsigned {
    kNoFlags = 0,
    kDisabled = 1u << 0,
    kHidden = 1u << 1,
    kMultiLine = 1u << 2,
    kLocked = 1u << 3,      // text can be selected and copied, never changed by the user
    kSorted = 1u << 4,
    kSizeToText = 1u << 5,  // a label exactly as wide as its caption, one line high
};

inline constexpr int kNoTabIndex = -1;
inline constexpr int kOnForm = -1;

// Control identifiers are this plus the row of the design table; below it lie IDOK and IDCANCEL,
// which keyboard navigation sends to the window.
inline constexpr int kFirstControlId = 100;

// A table names a row's fields (designated initialisers); what it leaves out is the default here.
struct ControlDesign {
    const wchar_t* name;
    Kind kind;
    const wchar_t* caption;
    TwipsRect rect;              // from the top-left corner of the client area, or of the container
    int container = kOnForm;     // index of the frame holding it, or kOnForm
    int tabIndex;                // kNoTabIndex for controls outside the tab order
    Font font = kDefaultFont;
    Color foreColor = kPlatformColor;
    Color backColor = kPlatformColor;
    const wchar_t* tooltip = nullptr;
    unsigned flags = kNoFlags;
    int maxLength = 0;           // 0: no limit
};

struct FormDesign {
    const wchar_t* title;
    int clientWidth;   // twips
    int clientHeight;  // twips
    const ControlDesign* controls;
    std::size_t controlCount;
};

// The control's rectangle in client-area twips, whatever holds it.
constexpr TwipsRect clientRect(const FormDesign& form, std::size_t index) {
    TwipsRect rect = form.controls[index].rect;
    for (int c = form.controls[index].container; c != kOnForm; c = form.controls[c].container) {
        rect.left += form.controls[c].rect.left;
        rect.top += form.controls[c].rect.top;
    }
    return rect;
}

// Checks for the static_asserts beside each table.
constexpr bool sameText(const wchar_t* a, const wchar_t* b) {
    while (*a != 0 && *a == *b) ++a, ++b;
    return *a == *b;
}

template <typename Holds>
constexpr bool everyRow(const FormDesign& form, Holds holds) {
    for (std::size_t i = 0; i < form.controlCount; ++i) {
        if (!holds(i, form.controls[i])) return false;
    }
    return true;
}

// What every table must hold, whatever its window: unique names, rows in tab order (the window is
// built row by row), each control inside the client area and inside its frame.
constexpr bool isSoundDesign(const FormDesign& form) {
    int nextTab = 0;
    return everyRow(form, [&](std::size_t i, const ControlDesign& c) {
        for (std::size_t j = 0; j < i; ++j) {
            if (sameText(c.name, form.controls[j].name)) return false;
        }
        if (c.tabIndex != kNoTabIndex && c.tabIndex != nextTab++) return false;
        const TwipsRect r = clientRect(form, i);
        if (r.left < 0 || r.top < 0 || r.left + r.width > form.clientWidth || r.top + r.height > form.clientHeight)
            return false;
        if (c.container == kOnForm) return true;
        const TwipsRect& frame = form.controls[c.container].rect;
        return c.rect.left + c.rect.width <= frame.width && c.rect.top + c.rect.height <= frame.height;
    });
}

}  // namespace ui
