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
        {L"listbox", kChild | 0x10, Role::OwnerDrawnListBox},             // owner-drawn entries
        {L"ListBox", kChild | 0x20 | 0x2000, Role::None},                 // no data of its own
        {L"ListBox", kChild | 0x200, Role::None},                         // several columns
        {L"Edit", kChild, Role::None},                                    // no border to paint
        {L"Edit", kChild | kBorder, Role::Edit},
        {L"EDIT", kChild, Role::Edit, 0x200},                             // sunken edge
        {L"ComboBox", kChild | 0x3 | 0x10, Role::OwnerDrawnComboBox},      // a drop-down list drawing its entries
        {L"ComboBox", kChild | 0x3, Role::ComboBox},                     // drop-down list
        {L"ComboBox", kChild | 0x1, Role::ComboBox},                     // simple
        {L"ComboLBox", kPopup | kBorder, Role::DroppedList},             // the dropped list, a popup
        {L"ComboLBox", kPopup | kBorder | 0x10, Role::DroppedList},      // with entries drawn by the owner
        {L"ComboLBox", kChild | kBorder, Role::DroppedList},             // a simple combo box's list
        {L"ListBox", kPopup | kBorder, Role::None},                      // a list box alone is no popup
        {L"ScrollBar", kChild | 0x1, Role::ScrollBar},                    // vertical
        {L"ScrollBar", kChild | 0x10, Role::None},                        // a size grip
        {L"msctls_progress32", kChild, Role::ProgressBar},
        {L"msctls_progress32", kChild | 0x8, Role::None},                 // a marquee
        {L"msctls_trackbar32", kChild | 0x2, Role::Trackbar},              // vertical
        {L"SysTabControl32", kChild | 0x200, Role::TabControl},            // several rows
        {L"SysTabControl32", kChild | 0x2, Role::None},                   // tabs along the bottom
        {L"SysTabControl32", kChild | 0x100, Role::None},                 // buttons
        {L"SysTabControl32", kChild | 0x2000, Role::None},                // drawn by the owner
        {L"msctls_statusbar32", kChild | 0x100, Role::StatusBar},          // with a size grip
        {L"Static", kChild, Role::None},
        {L"#32770", kChild, Role::Container},
        {L"QuorvaneDesignedWindow", kOverlappedWindow, Role::TopLevel},
        {L"#32770", kPopup | kBorder, Role::TopLevel},                    // a dialog without caption
        {L"tooltips_class32", kPopup | 0x3, Role::Tooltip},               // as it is made, before its border
        {L"tooltips_class32", kPopup | kBorder, Role::Tooltip},           // as it stands made
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

// After which messages a control's own procedure may have painted it, so that the engine paints
// it again: the messages every painted control shares, and its own kind's, no other kind's.
TEST(SkinRules, WhenAControlIsPaintedAgain) {
    struct Case {
        const wchar_t* className;
        std::uint32_t style;
        std::uint32_t message;
        bool leftButtonDown;
        bool repaints;
    };
    const Case cases[] = {
        {L"Button", kChild, 0x00F3, false, true},                 // BM_SETSTATE on a push button
        {L"Button", kChild | 0x3, 0x00F1, false, true},           // BM_SETCHECK on a check box
        {L"Button", kChild, 0x0186, false, false},                // LB_SETCURSEL is no button's
        {L"ListBox", kChild | 0x1, 0x0186, false, true},          // LB_SETCURSEL
        {L"ListBox", kChild | 0x1, 0x0115, false, true},          // WM_VSCROLL
        {L"ListBox", kChild | 0x1, 0x00F1, false, false},         // BM_SETCHECK is no list's
        {L"ListBox", kChild | 0x1, 0x000C, false, true},          // WM_SETTEXT: every kind
        {L"Button", kChild | 0x7, 0x0007, false, true},           // WM_SETFOCUS on a frame
        {L"Button", kChild, 0x0200, false, false},                // a mere move over it
        {L"Button", kChild, 0x0200, true, true},                  // a move with the button held
        {L"Button", kChild, 0x000F, false, false},                // WM_PAINT is its own
        {L"Edit", kChild | kBorder, 0x000C, false, false},        // a text box paints its own inside
        {L"ComboLBox", kPopup | kBorder, 0x0200, false, true},    // the dropped list follows the pointer
        {L"ComboBox", kChild | 0x3, 0x014E, false, true},         // CB_SETCURSEL
        {L"ComboBox", kChild | 0x3, 0x0200, false, false},
        {L"msctls_progress32", kChild, 0x0402, false, true},      // PBM_SETPOS
        {L"msctls_progress32", kChild, 0x0405, false, true},      // PBM_STEPIT
        {L"msctls_trackbar32", kChild, 0x0405, false, true},      // TBM_SETPOS
        {L"msctls_trackbar32", kChild, 0x0200, true, true},       // the thumb dragged
        {L"SysTabControl32", kChild, 0x130C, false, true},        // TCM_SETCURSEL
        {L"SysTabControl32", kChild, 0x0405, false, false},       // TBM_SETPOS is no tab control's
        {L"msctls_statusbar32", kChild, 0x040B, false, true},     // SB_SETTEXTW
    };
    for (const Case& c : cases) {
        const ControlKind* kind = kindOf(c.className, c.style, 0);
        ASSERT_NE(kind, nullptr) << std::string(c.className, c.className + std::wcslen(c.className));
        EXPECT_EQ(repaintsAfter(*kind, c.message, c.leftButtonDown), c.repaints)
            << std::string(c.className, c.className + std::wcslen(c.className)) << " " << std::hex << c.message;
    }
    // What the engine leaves alone has no kind, or none it paints.
    EXPECT_EQ(kindOf(L"Static", kChild, 0), nullptr);
    EXPECT_TRUE(kindOf(L"ListBox", kChild | 0x10, 0)->recolourItems);  // owner-drawn entries
    EXPECT_FALSE(kindOf(L"ListBox", kChild, 0)->recolourItems);
    // The border is the engine's only for the boxes it draws the edge of.
    EXPECT_TRUE(kindOf(L"Edit", kChild | kBorder, 0)->ownEdge);
    EXPECT_TRUE(kindOf(L"ListBox", kChild, 0)->ownEdge);
    EXPECT_FALSE(kindOf(L"Button", kChild, 0)->ownEdge);
    // A read-only or disabled text box asks with the static message; a list box never does.
    EXPECT_EQ(colourMessageOf(*kindOf(L"Edit", kChild | kBorder, 0), true), ColourMessage::Static);
    EXPECT_EQ(colourMessageOf(*kindOf(L"Edit", kChild | kBorder, 0), false), ColourMessage::Edit);
    EXPECT_EQ(colourMessageOf(*kindOf(L"ListBox", kChild, 0), true), ColourMessage::ListBox);
}

// The colours of a control's parts in each state, for a skin of plain values.
TEST(SkinRules, StatesToColours) {
    Skin skin = defaultSkin();
    skin.windowBackground = rgb(250, 250, 250);
    skin.buttonFace = rgb(200, 100, 0);
    skin.buttonBorder = rgb(0, 0, 100);
    skin.buttonHot = rgb(1, 2, 3);
    skin.buttonPressed = rgb(4, 5, 6);
    skin.checkBackground = rgb(240, 240, 200);
    skin.checkBorder = rgb(0, 120, 0);
    skin.checkMark = rgb(120, 0, 0);
    skin.editBorder = rgb(100, 150, 200);
    skin.listBackground = rgb(255, 255, 240);
    skin.listSelection = rgb(0, 0, 200);
    skin.listSelectionText = rgb(7, 8, 9);
    skin.frameBorder = rgb(11, 12, 13);
    skin.comboButton = rgb(40, 80, 120);
    skin.comboButtonHot = rgb(100, 200, 50);
    skin.comboArrow = rgb(2, 4, 6);
    skin.scrollbarTrack = rgb(240, 240, 240);
    skin.scrollbarThumb = rgb(160, 160, 200);
    skin.scrollbarThumbHot = rgb(90, 90, 160);
    skin.scrollbarArrow = rgb(10, 10, 50);
    skin.scrollbarBorder = rgb(120, 120, 150);
    skin.menuBackground = rgb(250, 250, 250);
    skin.menuText = rgb(20, 20, 20);
    skin.menuSelection = rgb(0, 100, 0);
    skin.menuSelectionText = rgb(255, 255, 0);
    skin.menuBorder = rgb(100, 0, 0);
    skin.tooltipBackground = rgb(250, 240, 230);
    skin.tooltipText = rgb(50, 40, 30);
    skin.tooltipBorder = rgb(150, 140, 130);
    skin.progressBar = rgb(20, 40, 60);
    skin.progressBackground = rgb(255, 250, 245);
    skin.trackbarChannel = rgb(90, 80, 70);
    skin.trackbarThumb = rgb(210, 220, 230);
    skin.tabFace = rgb(180, 190, 200);
    skin.tabSelected = rgb(245, 245, 245);
    skin.tabText = rgb(30, 30, 90);
    skin.tabBorder = rgb(60, 60, 60);
    skin.statusBackground = rgb(230, 230, 230);
    skin.statusText = rgb(0, 0, 0);
    const Colour text = rgb(10, 20, 30);

    ControlState plain, hot, pressed, disabled, focused, isDefault, checked, selected, selectedDisabled;
    hot.hot = true;
    pressed.pressed = true;
    pressed.hot = true;  // held down under the pointer: pressed wins
    disabled.disabled = true;
    disabled.hot = true;  // a disabled control under the pointer stays disabled
    focused.focused = true;
    isDefault.isDefault = true;
    checked.checked = true;  // a push-like check box, checked
    selected.selected = true;
    selectedDisabled.selected = true;
    selectedDisabled.disabled = true;

    struct Case {
        const char* what;
        Part part;
        ControlState state;
        Colour face, border, mark, text;
        bool filled;
    };
    const Case cases[] = {
        {"button", Part::PushButton, plain, rgb(200, 100, 0), rgb(0, 0, 100), 0, text, true},
        {"button hot", Part::PushButton, hot, rgb(1, 2, 3), rgb(0, 0, 100), 0, text, true},
        {"button pressed", Part::PushButton, pressed, rgb(4, 5, 6), rgb(0, 0, 100), 0, text, true},
        {"button checked", Part::PushButton, checked, rgb(4, 5, 6), rgb(0, 0, 100), 0, text, true},
        {"button disabled", Part::PushButton, disabled, rgb(224, 171, 118), rgb(125, 125, 175), 0, rgb(136, 109, 82),
         true},
        {"button focused", Part::PushButton, focused, rgb(200, 100, 0), rgb(0, 0, 73), 0, text, true},
        {"button default", Part::PushButton, isDefault, rgb(200, 100, 0), rgb(0, 0, 73), 0, text, true},
        {"check", Part::CheckBox, plain, rgb(240, 240, 200), rgb(0, 120, 0), rgb(120, 0, 0), text, true},
        {"check hot", Part::CheckBox, hot, rgb(240, 240, 200), rgb(0, 92, 0), rgb(120, 0, 0), text, true},
        {"check pressed", Part::CheckBox, pressed, rgb(184, 212, 153), rgb(0, 92, 0), rgb(120, 0, 0), text, true},
        {"check disabled", Part::CheckBox, disabled, rgb(245, 245, 225), rgb(125, 171, 125), rgb(185, 125, 125),
         rgb(142, 146, 151), true},
        {"edge", Part::Edge, plain, 0, rgb(100, 150, 200), 0, text, true},
        {"edge focused", Part::Edge, focused, 0, rgb(73, 109, 145), 0, text, true},
        {"edge disabled", Part::Edge, disabled, 0, rgb(175, 200, 225), 0, text, true},
        {"entry", Part::ListEntry, plain, rgb(255, 255, 240), 0, 0, text, false},
        {"entry selected", Part::ListEntry, selected, rgb(0, 0, 200), 0, 0, rgb(7, 8, 9), true},
        {"entry selected disabled", Part::ListEntry, selectedDisabled, rgb(160, 160, 225), 0, 0, rgb(7, 8, 9), true},
        {"entry disabled", Part::ListEntry, disabled, rgb(255, 255, 240), 0, 0, rgb(145, 149, 145), false},
        {"frame", Part::GroupLabel, plain, 0, rgb(11, 12, 13), 0, text, true},
        {"frame disabled", Part::GroupLabel, disabled, 0, rgb(11, 12, 13), 0, rgb(142, 146, 151), true},
        {"combo button", Part::ComboButton, plain, rgb(40, 80, 120), rgb(100, 150, 200), rgb(2, 4, 6), text, true},
        {"combo button hot", Part::ComboButton, hot, rgb(100, 200, 50), rgb(100, 150, 200), rgb(2, 4, 6), text, true},
        {"combo button pressed", Part::ComboButton, pressed, rgb(84, 169, 42), rgb(100, 150, 200), rgb(2, 4, 6), text,
         true},
        {"combo button disabled", Part::ComboButton, disabled, rgb(145, 165, 185), rgb(175, 200, 225),
         rgb(126, 127, 128), text, true},
        {"thumb", Part::ScrollButton, plain, rgb(160, 160, 200), rgb(120, 120, 150), rgb(10, 10, 50), text, true},
        {"thumb hot", Part::ScrollButton, hot, rgb(90, 90, 160), rgb(120, 120, 150), rgb(10, 10, 50), text, true},
        {"thumb dragged", Part::ScrollButton, pressed, rgb(90, 90, 160), rgb(120, 120, 150), rgb(10, 10, 50), text, true},
        {"arrow disabled", Part::ScrollButton, disabled, rgb(200, 200, 220), rgb(120, 120, 150), rgb(125, 125, 145),
         text, true},
        {"track", Part::ScrollTrack, plain, rgb(240, 240, 240), rgb(120, 120, 150), 0, text, true},
        // Separators in the border colour faded towards the background; the mark in the text's.
        {"menu item", Part::MenuItem, plain, rgb(250, 250, 250), rgb(165, 108, 108), rgb(20, 20, 20), rgb(20, 20, 20),
         true},
        {"menu item highlighted", Part::MenuItem, selected, rgb(0, 100, 0), rgb(165, 108, 108), rgb(255, 255, 0),
         rgb(255, 255, 0), true},
        {"menu item greyed", Part::MenuItem, disabled, rgb(250, 250, 250), rgb(165, 108, 108), rgb(155, 155, 155),
         rgb(155, 155, 155), true},
        {"menu item greyed, highlighted", Part::MenuItem, selectedDisabled, rgb(0, 100, 0), rgb(165, 108, 108),
         rgb(8, 67, 8), rgb(8, 67, 8), true},
        // A tooltip's colours are its own whatever the state, its text the skin's, not the owner's.
        {"tooltip", Part::Tooltip, plain, rgb(250, 240, 230), rgb(150, 140, 130), 0, rgb(50, 40, 30), true},
        {"tooltip disabled", Part::Tooltip, disabled, rgb(250, 240, 230), rgb(150, 140, 130), 0, rgb(50, 40, 30), true},
        {"progress", Part::Progress, plain, rgb(255, 250, 245), 0, rgb(20, 40, 60), text, true},
        {"progress disabled", Part::Progress, disabled, rgb(255, 250, 245), 0, rgb(138, 145, 153), text, true},
        {"trackbar", Part::TrackbarThumb, plain, rgb(210, 220, 230), rgb(90, 80, 70), rgb(90, 80, 70), text, true},
        {"trackbar dragged", Part::TrackbarThumb, pressed, rgb(177, 185, 194), rgb(90, 80, 70), rgb(90, 80, 70), text,
         true},
        {"trackbar disabled", Part::TrackbarThumb, disabled, rgb(230, 235, 240), rgb(170, 165, 160),
         rgb(170, 165, 160), text, true},
        {"tab", Part::Tab, plain, rgb(180, 190, 200), rgb(60, 60, 60), 0, rgb(30, 30, 90), true},
        {"tab selected", Part::Tab, selected, rgb(245, 245, 245), rgb(60, 60, 60), 0, rgb(30, 30, 90), true},
        {"tab disabled", Part::Tab, disabled, rgb(180, 190, 200), rgb(60, 60, 60), 0, rgb(112, 118, 150), true},
        {"status", Part::Status, plain, rgb(230, 230, 230), rgb(149, 149, 149), 0, rgb(0, 0, 0), true},
    };
    for (const Case& c : cases) {
        const PartColours colours = partColours(c.part, c.state, skin, text);
        if (c.part != Part::Edge && c.part != Part::GroupLabel) {
            EXPECT_EQ(colours.face, c.face) << c.what;
        }
        if (c.part != Part::ListEntry) {
            EXPECT_EQ(colours.border, c.border) << c.what;
        }
        if (c.part == Part::CheckBox || c.part == Part::ComboButton || c.part == Part::ScrollButton ||
            c.part == Part::MenuItem || c.part == Part::Progress || c.part == Part::TrackbarThumb) {
            EXPECT_EQ(colours.mark, c.mark) << c.what;
        }
        EXPECT_EQ(colours.text, c.text) << c.what;
        EXPECT_EQ(colours.filled, c.filled) << c.what;
    }
}

// Where a scroll bar's thumb starts: a bar of 100 pixels, arrows of 16, a thumb of 20 leaves 48
// pixels of travel across the range less the page.
TEST(SkinRules, WhereTheThumbStands) {
    struct Case {
        ScrollRange range;
        int start;
    };
    const Case cases[] = {
        {{0, 100, 0, 0}, 16},    {{0, 100, 0, 100}, 64},  {{0, 100, 0, 50}, 40},  {{0, 100, 0, 1}, 16},
        {{0, 100, 0, 3}, 17},    {{0, 109, 10, 50}, 40},  {{0, 109, 10, 100}, 64}, {{0, 100, 0, 200}, 64},
        {{0, 100, 0, -5}, 16},   {{10, 10, 0, 10}, 16},   {{-50, 50, 0, 0}, 40},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(thumbStart(100, 16, 20, c.range), c.start) << c.range.min << ".." << c.range.max << " " << c.range.pos;
    }
    EXPECT_EQ(thumbStart(40, 16, 20, {0, 100, 0, 50}), 16) << "no room to travel";
    // A progress bar of 168 pixels from 20 to 120: rounded down, clamped, nothing for no range.
    const int filled[][2] = {{60, 67}, {20, 0}, {120, 168}, {119, 166}, {500, 168}, {-3, 0}};
    for (const auto& [pos, pixels] : filled) EXPECT_EQ(lengthAt(168, 20, 120, pos), pixels) << pos;
    EXPECT_EQ(lengthAt(168, 50, 50, 50), 0);
    EXPECT_EQ(lengthAt(100, -2147483647, 2147483647, 0), 50) << "a range wider than an int holds";
    EXPECT_TRUE(mayMoveScrollBars(0x0180));   // LB_ADDSTRING
    EXPECT_TRUE(mayMoveScrollBars(0x0115));   // WM_VSCROLL
    EXPECT_FALSE(mayMoveScrollBars(0x000F));  // WM_PAINT
    EXPECT_FALSE(mayMoveScrollBars(0x000D));  // WM_GETTEXT
}

// An owner-drawn entry: the system's list colours in it become the skin's, per the entry's state;
// the owner's own colours (a folder's yellow) stay.
TEST(SkinRules, OwnerDrawnEntriesTakeTheSkinsListColours) {
    Skin skin = defaultSkin();
    skin.listBackground = rgb(1, 1, 1);
    skin.listText = rgb(2, 2, 2);
    skin.listSelection = rgb(3, 3, 3);
    skin.listSelectionText = rgb(4, 4, 4);
    // As the platform gives them by default: white window and highlight text, blue highlight.
    const SystemColours system{rgb(255, 255, 255), rgb(0, 0, 0), rgb(0, 120, 215), rgb(255, 255, 255)};
    struct Case {
        Colour pixel;
        bool selected;
        Colour shown;
    };
    const Case cases[] = {
        {rgb(0, 120, 215), true, rgb(3, 3, 3)},     // the selection's blue
        {rgb(255, 255, 255), true, rgb(4, 4, 4)},   // white on it is the selected text
        {rgb(255, 255, 255), false, rgb(1, 1, 1)},  // white elsewhere is the list's background
        {rgb(0, 0, 0), false, rgb(2, 2, 2)},
        {rgb(0, 0, 0), true, rgb(0, 0, 0)},         // black in a selected entry is the owner's
        {rgb(0, 120, 215), false, rgb(0, 120, 215)},
        {rgb(250, 206, 90), true, rgb(250, 206, 90)},  // a folder's yellow
        {rgb(250, 206, 90), false, rgb(250, 206, 90)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(entryPixel(c.pixel, c.selected, system, skin), c.shown)
            << std::hex << c.pixel << (c.selected ? " selected" : "");
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
