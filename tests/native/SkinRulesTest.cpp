// Which windows the engine paints, whose colours win, and where the caption's parts lie.
#include "skinlibrary/SkinRules.h"

#include <gtest/gtest.h>

#include <string>

namespace skin {
namespace {

// Platform style values the cases use.
constexpr std::uint32_t kChild = 0x40000000;
constexpr std::uint32_t kVisible = 0x10000000;
constexpr std::uint32_t kOverlappedWindow = 0x00CF0000;
constexpr std::uint32_t kPopup = 0x80000000;
constexpr std::uint32_t kBorder = 0x00800000;

struct ClassifyCase {
    const wchar_t* className;
    std::uint32_t style;
    Role role;
    std::uint32_t exStyle = 0;
};

TEST(SkinRules, WhichWindowsTheEnginePaints) {
    const ClassifyCase cases[] = {
        {L"Button", kChild | 0x0, Role::PushButton},
        {L"BUTTON", kChild | kVisible | 0x1, Role::PushButton},           // default push button, any case
        {L"Button", kChild | 0x3, Role::CheckBox},                        // auto check box
        {L"Button", kChild | 0x5, Role::CheckBox},                        // three states
        {L"Button", kChild | 0x9, Role::RadioButton},                     // auto option
        {L"Button", kChild | 0x4, Role::RadioButton},
        {L"Button", kChild | 0x7, Role::GroupBox},
        {L"Button", kChild | 0xB, Role::None},                            // owner-drawn
        {L"Button", kChild | 0x8, Role::None},                            // user button
        {L"Button", kChild | 0x0 | 0x40, Role::None},                     // shows an icon
        {L"Button", kChild | 0x3 | 0x80, Role::None},                     // shows a bitmap
        {L"Button", kChild | 0x3 | 0x1000, Role::PushButton},             // check box drawn as a button
        {L"ListBox", kChild | 0x1, Role::ListBox},
        {L"listbox", kChild | 0x10, Role::None},                          // owner-drawn entries
        {L"ListBox", kChild | 0x200, Role::None},                         // several columns
        {L"Edit", kChild, Role::None},                                    // no border to paint
        {L"Edit", kChild | kBorder, Role::Edit},
        {L"EDIT", kChild, Role::Edit, 0x200},                             // sunken edge
        {L"Static", kChild, Role::None},
        {L"#32770", kChild, Role::Container},
        {L"QuorvaneDesignedWindow", kOverlappedWindow, Role::TopLevel},
        {L"#32770", kPopup | kBorder, Role::TopLevel},                    // a dialog without caption
        {L"tooltips_class32", kPopup, Role::None},
        {L"SkinHShadow", kPopup, Role::None},
        {L"Anything", kPopup | kBorder, Role::None},                      // a border alone is no caption
        {L"Button", 0x0, Role::None},                                     // a top-level button has no caption
    };
    for (const ClassifyCase& c : cases) {
        EXPECT_EQ(classify(c.className, c.style, c.exStyle), c.role)
            << std::string(c.className, c.className + std::wcslen(c.className)) << " " << std::hex << c.style;
    }
}

struct TargetCase {
    ColourMessage message;
    const wchar_t* className;
    std::uint32_t style;
    ColourTarget target;
};

TEST(SkinRules, WhatAColourMessageAsksAbout) {
    const TargetCase cases[] = {
        {ColourMessage::Edit, L"Edit", kChild, ColourTarget::Edit},
        {ColourMessage::Static, L"Edit", kChild, ColourTarget::ReadOnlyEdit},  // read-only or disabled
        {ColourMessage::Static, L"Static", kChild, ColourTarget::Label},
        {ColourMessage::Static, L"Button", kChild | 0x3, ColourTarget::CheckBox},
        {ColourMessage::Static, L"Button", kChild | 0x9, ColourTarget::CheckBox},
        {ColourMessage::Static, L"Button", kChild | 0x7, ColourTarget::GroupBox},
        {ColourMessage::Button, L"Button", kChild | 0x0, ColourTarget::PushButton},
        {ColourMessage::Button, L"Button", kChild | 0x3, ColourTarget::CheckBox},
        {ColourMessage::ListBox, L"ListBox", kChild, ColourTarget::ListBox},
        {ColourMessage::ListBox, L"ComboLBox", 0, ColourTarget::ListBox},
        {ColourMessage::Static, L"ComboBox", kChild, ColourTarget::Edit},
        {ColourMessage::Dialog, L"#32770", 0, ColourTarget::Dialog},
        {ColourMessage::ScrollBar, L"ScrollBar", kChild, ColourTarget::Other},
    };
    for (const TargetCase& c : cases) {
        EXPECT_EQ(colourTarget(c.message, c.className, c.style), c.target)
            << std::string(c.className, c.className + std::wcslen(c.className));
    }
}

TEST(SkinRules, TheOwnersColoursWin) {
    Skin skin = defaultSkin();
    skin.windowBackground = rgb(1, 1, 1);
    skin.windowText = rgb(2, 2, 2);
    skin.editBackground = rgb(3, 3, 3);
    skin.editText = rgb(4, 4, 4);
    skin.listBackground = rgb(5, 5, 5);
    skin.listText = rgb(6, 6, 6);
    skin.buttonText = rgb(7, 7, 7);
    skin.checkText = rgb(8, 8, 8);
    skin.frameText = rgb(9, 9, 9);

    struct Case {
        ColourTarget target;
        OwnerColours owner;
        bool setText;
        Colour text;
        bool setBackground;
        Colour background;
    };
    const Case cases[] = {
        // Nothing chosen: the skin's pair for the kind of control.
        {ColourTarget::Label, {false, false}, true, rgb(2, 2, 2), true, rgb(1, 1, 1)},
        {ColourTarget::Edit, {false, false}, true, rgb(4, 4, 4), true, rgb(3, 3, 3)},
        {ColourTarget::ReadOnlyEdit, {false, false}, true, rgb(4, 4, 4), true, rgb(1, 1, 1)},
        {ColourTarget::ListBox, {false, false}, true, rgb(6, 6, 6), true, rgb(5, 5, 5)},
        {ColourTarget::PushButton, {false, false}, true, rgb(7, 7, 7), true, rgb(1, 1, 1)},
        {ColourTarget::CheckBox, {false, false}, true, rgb(8, 8, 8), true, rgb(1, 1, 1)},
        {ColourTarget::GroupBox, {false, false}, true, rgb(9, 9, 9), true, rgb(1, 1, 1)},
        {ColourTarget::Dialog, {false, false}, true, rgb(2, 2, 2), true, rgb(1, 1, 1)},
        // A text colour of the owner's (the red result label): the skin gives the background only.
        {ColourTarget::Label, {false, true}, false, 0, true, rgb(1, 1, 1)},
        {ColourTarget::Edit, {false, true}, false, 0, true, rgb(3, 3, 3)},
        // A background of the owner's (the light-yellow result box): nothing changes, text included.
        {ColourTarget::Edit, {true, false}, false, 0, false, 0},
        {ColourTarget::Label, {true, true}, false, 0, false, 0},
        // Scroll bars keep the system's look.
        {ColourTarget::Other, {false, false}, false, 0, false, 0},
    };
    for (const Case& c : cases) {
        const ColourAnswer answer = decideColours(c.target, c.owner, skin);
        const int target = static_cast<int>(c.target);
        EXPECT_EQ(answer.setText, c.setText) << target;
        if (c.setText) {
            EXPECT_EQ(answer.text, c.text) << target;
        }
        EXPECT_EQ(answer.setBackground, c.setBackground) << target;
        if (c.setBackground) {
            EXPECT_EQ(answer.background, c.background) << target;
        }
    }
}

// A 400 x 300 window with a 3-pixel frame and an 18-pixel caption.
FrameGeometry window(bool sysMenu = true, bool minimize = true, bool maximize = false, bool icon = true) {
    FrameGeometry frame;
    frame.width = 400;
    frame.height = 300;
    frame.client = {3, 21, 397, 297};
    frame.captionHeight = 18;
    frame.sysMenu = sysMenu;
    frame.minimizeBox = minimize;
    frame.maximizeBox = maximize;
    frame.icon = icon;
    return frame;
}

TEST(SkinRules, OnlyTheButtonsTheWindowHas) {
    const CaptionLayout plain = layoutCaption(window(true, false, false, false));
    EXPECT_FALSE(plain.close.empty());
    EXPECT_TRUE(plain.minimize.empty());
    EXPECT_TRUE(plain.maximize.empty());
    EXPECT_TRUE(plain.icon.empty());
    EXPECT_EQ(plain.title.left, plain.bar.left + 6);

    // Without a system menu a window has no caption buttons and no icon.
    const CaptionLayout bare = layoutCaption(window(false, true, true, true));
    EXPECT_TRUE(bare.close.empty());
    EXPECT_TRUE(bare.minimize.empty());
    EXPECT_TRUE(bare.icon.empty());
    EXPECT_FALSE(bare.title.empty());
}

// The parts of the caption under the pointer, in right-to-left order without overlap.
TEST(SkinRules, PartsUnderThePointer) {
    const CaptionLayout layout = layoutCaption(window(true, true, false, true));
    EXPECT_LE(layout.minimize.right, layout.close.left);
    EXPECT_LE(layout.title.right, layout.minimize.left);
    struct Case {
        int x, y;
        CaptionPart part;
    };
    const Case cases[] = {
        {(layout.close.left + layout.close.right) / 2, (layout.close.top + layout.close.bottom) / 2, CaptionPart::Close},
        {layout.close.left, layout.close.top, CaptionPart::Close},
        {layout.close.right, layout.close.top, CaptionPart::Bar},  // right edge is outside
        {layout.minimize.left + 1, layout.minimize.bottom - 1, CaptionPart::Minimize},
        {layout.icon.left + 2, layout.icon.top + 2, CaptionPart::Icon},
        {200, 10, CaptionPart::Bar},
        {200, 1, CaptionPart::None},    // top frame
        {200, 100, CaptionPart::None},  // client area
        {1, 10, CaptionPart::None},     // left frame
    };
    for (const Case& c : cases) {
        EXPECT_EQ(captionPartAt(layout, c.x, c.y), c.part) << c.x << "," << c.y;
    }
}

}  // namespace
}  // namespace skin
