#include "skinlibrary/SkinRules.h"

#include <algorithm>

namespace skin {
namespace {

// Class names arrive as the creator spelled them ("BUTTON", "Button").
bool sameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
        if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
        if (x != y) return false;
    }
    return true;
}

enum ButtonType : std::uint32_t {
    kPush = 0, kDefPush = 1, kCheck = 2, kAutoCheck = 3, kRadio = 4, kThreeState = 5, kAutoThreeState = 6,
    kGroup = 7, kAutoRadio = 9
};

// Buttons that show an icon or a bitmap keep their own painting, as do owner-drawn ones and the
// rarer kinds.
std::uint32_t buttonType(std::uint32_t buttonStyle) {
    if (buttonStyle & (style::kButtonIcon | style::kButtonBitmap)) return 0xFF;
    return buttonStyle & style::kButtonTypeMask;
}

bool pushLike(std::uint32_t s) { return (s & style::kButtonPushLike) != 0; }
bool checkType(std::uint32_t type) {
    return type == kCheck || type == kAutoCheck || type == kThreeState || type == kAutoThreeState;
}
bool radioType(std::uint32_t type) { return type == kRadio || type == kAutoRadio; }

bool isPushButton(std::uint32_t s, std::uint32_t) {
    const std::uint32_t type = buttonType(s);
    return type == kPush || type == kDefPush || ((checkType(type) || radioType(type)) && pushLike(s));
}
bool isCheckBox(std::uint32_t s, std::uint32_t) { return checkType(buttonType(s)) && !pushLike(s); }
bool isRadioButton(std::uint32_t s, std::uint32_t) { return radioType(buttonType(s)) && !pushLike(s); }
bool isGroupBox(std::uint32_t s, std::uint32_t) { return buttonType(s) == kGroup; }

// A list box that draws its own entries, or lays them out in columns, keeps its own painting.
bool isPlainListBox(std::uint32_t s, std::uint32_t) {
    return !(s & (style::kListOwnerDrawFixed | style::kListOwnerDrawVariable | style::kListMultiColumn |
                  style::kListNoData));
}

bool isOwnerDrawnListBox(std::uint32_t s, std::uint32_t) {
    return (s & (style::kListOwnerDrawFixed | style::kListOwnerDrawVariable)) != 0 && !(s & style::kListNoData);
}

bool isOwnerDrawnComboBox(std::uint32_t s, std::uint32_t) {
    return (s & (style::kComboOwnerDrawFixed | style::kComboOwnerDrawVariable)) != 0;
}

// A combo box's list, as the combo box creates it: its entries drawn by the owner or not.
bool isPlainDroppedList(std::uint32_t s, std::uint32_t) { return !isOwnerDrawnListBox(s, 0); }

bool isScrollBar(std::uint32_t s, std::uint32_t) { return !(s & (style::kScrollSizeBox | style::kScrollSizeGrip)); }

// A marquee only shows that work goes on, moving as the control's own timer says: left to the platform.
bool isSteadyProgress(std::uint32_t s, std::uint32_t) { return !(s & style::kProgressMarquee); }

// Tabs along the top, drawn as tabs by the control itself; buttons, tabs on another side or drawn
// by their owner keep their own painting.
bool isTopTabs(std::uint32_t s, std::uint32_t) {
    return !(s & (style::kTabBottomOrRight | style::kTabVertical | style::kTabButtons | style::kTabOwnerDrawFixed));
}

bool bordered(std::uint32_t s, std::uint32_t exStyle) {
    return (s & style::kBorder) || (exStyle & style::kExClientEdge);
}

constexpr std::uint32_t kSharedRepaint[] = {
    msg::kSetText,  msg::kEnable,          msg::kSetFocus,       msg::kKillFocus, msg::kLButtonDown,
    msg::kLButtonUp, msg::kLButtonDblClk,   msg::kKeyDown,        msg::kKeyUp,     msg::kChar,
    msg::kCaptureChanged, msg::kUpdateUiState, msg::kSetFont,    msg::kStyleChanged,
};
constexpr std::uint32_t kButtonRepaint[] = {msg::kButtonSetState, msg::kButtonSetCheck, msg::kButtonSetStyle,
                                            msg::kButtonClick};
constexpr std::uint32_t kListRepaint[] = {
    msg::kListSetCurSel,     msg::kListSetSel, msg::kListSetCaretIndex, msg::kListSelItemRange,
    msg::kListSelItemRangeEx, msg::kListSetTopIndex, msg::kTimer,     msg::kVScroll, msg::kMouseWheel,
};

constexpr std::uint32_t kComboRepaint[] = {msg::kComboSetCurSel, msg::kComboShowDropDown, msg::kCommand};
constexpr std::uint32_t kDroppedListRepaint[] = {
    msg::kListSetCurSel, msg::kListSetCaretIndex, msg::kListSetTopIndex, msg::kTimer,
    msg::kVScroll,       msg::kMouseWheel,        msg::kMouseMove,
};

constexpr std::uint32_t kScrollRepaint[] = {
    msg::kScrollSetPos,  msg::kScrollSetRange, msg::kScrollSetRangeRedraw, msg::kScrollEnableArrows,
    msg::kScrollSetInfo, msg::kMouseMove,      msg::kMouseLeave,
};

constexpr std::uint32_t kProgressRepaint[] = {msg::kProgressSetRange, msg::kProgressSetPos, msg::kProgressDeltaPos,
                                              msg::kProgressStepIt, msg::kProgressSetRange32};
constexpr std::uint32_t kTrackbarRepaint[] = {msg::kTrackSetTic,      msg::kTrackSetPos,      msg::kTrackSetRange,
                                              msg::kTrackSetRangeMin, msg::kTrackSetRangeMax, msg::kTrackClearTics,
                                              msg::kTimer};
constexpr std::uint32_t kTabRepaint[] = {msg::kTabSetItemA,  msg::kTabInsertItemA, msg::kTabDeleteItem,
                                         msg::kTabDeleteAllItems, msg::kTabSetCurSel, msg::kTabSetCurFocus,
                                         msg::kTabSetItemW,  msg::kTabInsertItemW};
constexpr std::uint32_t kStatusRepaint[] = {msg::kStatusSetTextA, msg::kStatusSetParts, msg::kStatusSimple,
                                            msg::kStatusSetTextW, msg::kStatusSetIcon};

template <std::size_t N>
constexpr Messages messages(const std::uint32_t (&list)[N]) {
    return {list, N};
}
constexpr Messages kNoMessages{nullptr, 0};

// Every kind of child control the engine knows, first match wins. A kind with Role::None is left
// to the platform; its row says only what a colour message about it asks for.
constexpr ControlKind kKinds[] = {
    // class, recognises, role, procedure, painter, own edge, recolours items, asks, target, repaints after
    {L"Button", isPushButton, Role::PushButton, Procedure::Control, Painter::PushButton, false, false,
     ColourMessage::Button, ColourTarget::PushButton, messages(kButtonRepaint)},
    {L"Button", isCheckBox, Role::CheckBox, Procedure::Control, Painter::CheckBox, false, false, ColourMessage::Static,
     ColourTarget::CheckBox, messages(kButtonRepaint)},
    {L"Button", isRadioButton, Role::RadioButton, Procedure::Control, Painter::RadioButton, false, false,
     ColourMessage::Static, ColourTarget::CheckBox, messages(kButtonRepaint)},
    {L"Button", isGroupBox, Role::GroupBox, Procedure::Control, Painter::GroupBox, false, false, ColourMessage::Static,
     ColourTarget::GroupBox, messages(kButtonRepaint)},
    {L"Button", nullptr, Role::None, Procedure::None, Painter::Platform, false, false, ColourMessage::Button,
     ColourTarget::PushButton, kNoMessages},
    {L"ListBox", isPlainListBox, Role::ListBox, Procedure::Control, Painter::ListBox, true, false,
     ColourMessage::ListBox, ColourTarget::Label, messages(kListRepaint)},
    {L"ListBox", isOwnerDrawnListBox, Role::OwnerDrawnListBox, Procedure::Control, Painter::Platform, true, true,
     ColourMessage::ListBox, ColourTarget::Label, kNoMessages},
    {L"Edit", bordered, Role::Edit, Procedure::Control, Painter::Platform, true, false, ColourMessage::Edit,
     ColourTarget::ReadOnlyEdit, kNoMessages},
    {L"Edit", nullptr, Role::None, Procedure::None, Painter::Platform, false, false, ColourMessage::Edit,
     ColourTarget::ReadOnlyEdit, kNoMessages},
    {L"ComboBox", isOwnerDrawnComboBox, Role::OwnerDrawnComboBox, Procedure::Control, Painter::ComboBox, false, true,
     ColourMessage::Edit, ColourTarget::Edit, messages(kComboRepaint)},
    {L"ComboBox", nullptr, Role::ComboBox, Procedure::Control, Painter::ComboBox, false, false, ColourMessage::Edit,
     ColourTarget::Edit, messages(kComboRepaint)},
    // The dropped list: a popup of its combo box (a child of a simple one). An owner-drawn one's
    // entries are recoloured as the combo box's.
    {L"ComboLBox", isPlainDroppedList, Role::DroppedList, Procedure::Control, Painter::ListBox, true, false,
     ColourMessage::ListBox, ColourTarget::ListBox, messages(kDroppedListRepaint), true},
    {L"ComboLBox", nullptr, Role::DroppedList, Procedure::Control, Painter::Platform, true, false,
     ColourMessage::ListBox, ColourTarget::ListBox, kNoMessages, true},
    // A tooltip, made by the platform's common controls and owned by a skinned window.
    {L"tooltips_class32", nullptr, Role::Tooltip, Procedure::Control, Painter::Platform, true, false,
     ColourMessage::Static, ColourTarget::Other, kNoMessages, true},
    {L"ScrollBar", isScrollBar, Role::ScrollBar, Procedure::Control, Painter::ScrollBar, false, false,
     ColourMessage::ScrollBar, ColourTarget::Other, messages(kScrollRepaint)},
    // A popup menu: a context menu, the window menu, a menu bar's menus. Owned by the window or
    // control that opened it.
    {L"#32768", nullptr, Role::Menu, Procedure::Control, Painter::Menu, false, false, ColourMessage::Dialog,
     ColourTarget::Other, kNoMessages, true},
    // The common controls, painted whole: their background, where they show one, is the parent's.
    {L"msctls_progress32", isSteadyProgress, Role::ProgressBar, Procedure::Control, Painter::ProgressBar, true, false,
     ColourMessage::Static, ColourTarget::Label, messages(kProgressRepaint)},
    {L"msctls_trackbar32", nullptr, Role::Trackbar, Procedure::Control, Painter::Trackbar, true, false,
     ColourMessage::Static, ColourTarget::Label, messages(kTrackbarRepaint)},
    {L"SysTabControl32", isTopTabs, Role::TabControl, Procedure::Control, Painter::TabControl, true, false,
     ColourMessage::Static, ColourTarget::Label, messages(kTabRepaint)},
    {L"msctls_statusbar32", nullptr, Role::StatusBar, Procedure::Control, Painter::StatusBar, true, false,
     ColourMessage::Static, ColourTarget::Label, messages(kStatusRepaint)},
    {L"#32770", nullptr, Role::Container, Procedure::Window, Painter::Platform, false, false, ColourMessage::Dialog,
     ColourTarget::Label, kNoMessages},
};

}  // namespace

const ControlKind* kindOf(std::wstring_view className, std::uint32_t windowStyle, std::uint32_t exStyle) {
    for (const ControlKind& kind : kKinds) {
        if (sameName(className, kind.className) &&
            (kind.recognises == nullptr || kind.recognises(windowStyle, exStyle))) {
            return &kind;
        }
    }
    return nullptr;
}

Role classify(std::wstring_view className, std::uint32_t windowStyle, std::uint32_t exStyle) {
    const bool child = (windowStyle & style::kChild) != 0;
    const ControlKind* kind = kindOf(className, windowStyle, exStyle);
    if (!child) {
        if (kind != nullptr && kind->popup) return kind->role;
        if (sameName(className, L"#32770")) return Role::TopLevel;
        return (windowStyle & style::kCaption) == style::kCaption ? Role::TopLevel : Role::None;
    }
    return kind != nullptr ? kind->role : Role::None;
}

ColourTarget colourTarget(ColourMessage message, std::wstring_view className, std::uint32_t windowStyle) {
    switch (message) {
    case ColourMessage::Edit:
        return ColourTarget::Edit;
    case ColourMessage::ListBox:
        return ColourTarget::ListBox;
    case ColourMessage::Dialog:
        return ColourTarget::Dialog;
    case ColourMessage::ScrollBar:
        return ColourTarget::Other;
    case ColourMessage::Button:
    case ColourMessage::Static:
        break;
    }
    // An edit asks with the static message when it is read-only or disabled.
    const ControlKind* kind = kindOf(className, windowStyle, 0);
    return kind != nullptr ? kind->target : ColourTarget::Label;
}

bool repaintsAfter(const ControlKind& kind, std::uint32_t message, bool leftButtonDown) {
    if (kind.painter == Painter::Platform) return false;
    for (std::size_t i = 0; i < kind.repaintAfter.count; ++i) {
        if (kind.repaintAfter.begin[i] == message) return true;
    }
    if (message == msg::kMouseMove) return leftButtonDown;
    for (std::uint32_t shared : kSharedRepaint) {
        if (shared == message) return true;
    }
    return false;
}

ColourMessage colourMessageOf(const ControlKind& kind, bool readOnlyOrDisabled) {
    return kind.asks == ColourMessage::Edit && readOnlyOrDisabled ? ColourMessage::Static : kind.asks;
}

PartColours partColours(Part part, const ControlState& state, const Skin& skin, Colour text) {
    PartColours c;
    c.text = text;
    const Colour ground = skin.windowBackground;
    switch (part) {
    case Part::PushButton: {
        const bool down = state.pressed || state.checked;  // a push-like check box stays down while checked
        c.face = state.disabled ? blend(skin.buttonFace, ground, 120)
                 : down         ? skin.buttonPressed
                 : state.hot    ? skin.buttonHot
                                : skin.buttonFace;
        c.border = state.disabled                      ? blend(skin.buttonBorder, ground, 128)
                   : (state.isDefault || state.focused) ? darken(skin.buttonBorder, 70)
                                                        : skin.buttonBorder;
        if (state.disabled) c.text = blend(text, c.face, 150);
        break;
    }
    case Part::CheckBox:
        c.border = state.hot ? darken(skin.checkBorder, 60) : skin.checkBorder;
        c.face = state.pressed ? blend(skin.checkBackground, skin.checkBorder, 60) : skin.checkBackground;
        c.mark = skin.checkMark;
        if (state.disabled) {
            c.border = blend(c.border, ground, 128);
            c.face = blend(c.face, ground, 128);
            c.mark = blend(c.mark, ground, 128);
            c.text = blend(text, ground, 140);
        }
        break;
    case Part::Edge:
        c.border = state.disabled  ? blend(skin.editBorder, ground, 128)
                   : state.focused ? darken(skin.editBorder, 70)
                                   : skin.editBorder;
        break;
    case Part::ListEntry:
        c.filled = state.selected;
        if (state.selected) {
            c.face = state.disabled ? blend(skin.listSelection, skin.listBackground, 160) : skin.listSelection;
            c.text = skin.listSelectionText;
        } else {
            c.face = skin.listBackground;
            if (state.disabled) c.text = blend(text, skin.listBackground, 140);
        }
        break;
    case Part::GroupLabel:
        c.border = skin.frameBorder;
        if (state.disabled) c.text = blend(text, ground, 140);
        break;
    case Part::ScrollButton:  // pressed: held down or dragged
        c.face = state.disabled                  ? blend(skin.scrollbarThumb, skin.scrollbarTrack, 128)
                 : (state.hot || state.pressed) ? skin.scrollbarThumbHot
                                                : skin.scrollbarThumb;
        c.border = skin.scrollbarBorder;
        c.mark = state.disabled ? blend(skin.scrollbarArrow, skin.scrollbarTrack, 128) : skin.scrollbarArrow;
        break;
    case Part::ScrollTrack:
        c.face = skin.scrollbarTrack;
        c.border = skin.scrollbarBorder;
        break;
    case Part::MenuItem:
        c.face = state.selected ? skin.menuSelection : skin.menuBackground;
        c.text = state.selected ? skin.menuSelectionText : skin.menuText;
        if (state.disabled) c.text = blend(skin.menuText, c.face, 150);
        c.mark = c.text;
        c.border = blend(skin.menuBorder, skin.menuBackground, 110);
        break;
    case Part::Tooltip:
        c.face = skin.tooltipBackground;
        c.text = skin.tooltipText;
        c.border = skin.tooltipBorder;
        break;
    case Part::Progress:
        c.face = skin.progressBackground;
        c.mark = state.disabled ? blend(skin.progressBar, skin.progressBackground, 128) : skin.progressBar;
        break;
    case Part::TrackbarThumb:  // pressed: dragged
        c.face = state.disabled  ? blend(skin.trackbarThumb, ground, 128)
                 : state.pressed ? darken(skin.trackbarThumb, 40)
                                 : skin.trackbarThumb;
        c.border = c.mark = state.disabled ? blend(skin.trackbarChannel, ground, 128) : skin.trackbarChannel;
        break;
    case Part::Tab:
        c.face = state.selected ? skin.tabSelected : skin.tabFace;
        c.border = skin.tabBorder;
        c.text = state.disabled ? blend(skin.tabText, c.face, 140) : skin.tabText;
        break;
    case Part::Status:
        c.face = skin.statusBackground;
        c.border = blend(skin.statusBackground, skin.statusText, 90);
        c.text = skin.statusText;
        break;
    case Part::ComboButton:  // pressed: held down, or its list dropped
        c.face = state.disabled ? blend(skin.comboButton, ground, 128)
                 : state.pressed ? darken(skin.comboButtonHot, 40)
                 : state.hot     ? skin.comboButtonHot
                                 : skin.comboButton;
        c.border = state.disabled ? blend(skin.editBorder, ground, 128) : skin.editBorder;
        c.mark = state.disabled ? blend(skin.comboArrow, ground, 128) : skin.comboArrow;
        break;
    }
    return c;
}

ColourAnswer decideColours(ColourTarget target, OwnerColours owner, const Skin& skin) {
    struct Pair {
        ColourTarget target;
        Colour Skin::*background;
        Colour Skin::*text;
    };
    // Read-only edits, buttons, check boxes and frames stand on the window's own background.
    static constexpr Pair kPairs[] = {
        {ColourTarget::Label, &Skin::windowBackground, &Skin::windowText},
        {ColourTarget::Dialog, &Skin::windowBackground, &Skin::windowText},
        {ColourTarget::Edit, &Skin::editBackground, &Skin::editText},
        {ColourTarget::ReadOnlyEdit, &Skin::windowBackground, &Skin::editText},
        {ColourTarget::ListBox, &Skin::listBackground, &Skin::listText},
        {ColourTarget::PushButton, &Skin::windowBackground, &Skin::buttonText},
        {ColourTarget::CheckBox, &Skin::windowBackground, &Skin::checkText},
        {ColourTarget::GroupBox, &Skin::windowBackground, &Skin::frameText},
    };
    ColourAnswer answer;
    if (owner.choseBackground) return answer;
    for (const Pair& pair : kPairs) {
        if (pair.target != target) continue;
        answer.setBackground = true;
        answer.background = skin.*pair.background;
        answer.setText = !owner.choseText;
        answer.text = skin.*pair.text;
    }
    return answer;
}

bool mayMoveScrollBars(std::uint32_t message) {
    static constexpr std::uint32_t kMoving[] = {
        0x0005, 0x000B, 0x000C, 0x0047, 0x007D,          // size, redraw, text, position, style
        0x0100, 0x0102, 0x0113, 0x0114, 0x0115, 0x020A,  // keys, timer, scrolling, wheel
        0x0200, 0x0201, 0x0202, 0x00A0, 0x00A1, 0x02A2, 0x02A3,  // the pointer, in and out of them
        0x0180, 0x0181, 0x0182, 0x0184, 0x0186, 0x018D, 0x0197, 0x01A0, 0x01A7,  // list entries and top
        0x00B1, 0x00B5, 0x00B6, 0x00B7, 0x00C2,          // a text box's selection and scrolling
    };
    return std::find(std::begin(kMoving), std::end(kMoving), message) != std::end(kMoving);
}

int thumbStart(int length, int arrow, int thumb, const ScrollRange& range) {
    const int free = length - 2 * arrow - thumb;
    const long long last = static_cast<long long>(range.max) - (range.page > 0 ? range.page - 1 : 0);
    if (free <= 0 || last <= range.min) return arrow;
    const long long pos = std::clamp<long long>(range.pos, range.min, last);
    const long long span = last - range.min;
    return arrow + static_cast<int>((free * (pos - range.min) + span / 2) / span);  // rounded, as the platform does
}

int lengthAt(int length, int low, int high, int pos) {
    if (high <= low || length <= 0) return 0;
    const long long at = std::clamp(pos, low, high) - static_cast<long long>(low);
    return static_cast<int>(length * at / (static_cast<long long>(high) - low));
}

CaptionLayout layoutCaption(const FrameGeometry& frame) {
    CaptionLayout layout;
    const int sideFrame = std::max(0, frame.client.left);
    const int rightFrame = std::max(0, frame.width - frame.client.right);
    const int topFrame = std::max(0, frame.height - frame.client.bottom);  // frames are as thick at the top
    layout.bar = {sideFrame, topFrame, frame.width - rightFrame,
                  std::min(topFrame + frame.captionHeight, frame.client.top)};
    if (layout.bar.empty()) return layout;

    const int barHeight = layout.bar.bottom - layout.bar.top;
    const int buttonHeight = std::max(0, barHeight - 4);
    const int buttonWidth = buttonHeight + 4;
    const int buttonTop = layout.bar.top + 2;
    int right = layout.bar.right - 2;
    auto place = [&](Box& button, int gapAfter) {
        button = {right - buttonWidth, buttonTop, right, buttonTop + buttonHeight};
        right = button.left - gapAfter;
    };
    if (frame.sysMenu && buttonHeight > 0) {
        place(layout.close, 2);
        if (frame.maximizeBox) place(layout.maximize, 0);
        if (frame.minimizeBox) place(layout.minimize, 0);
    }
    int titleLeft = layout.bar.left + 6;
    if (frame.icon && frame.sysMenu) {
        const int size = std::min(16, barHeight - 2);
        if (size > 0) {
            const int top = layout.bar.top + (barHeight - size) / 2;
            layout.icon = {layout.bar.left + 3, top, layout.bar.left + 3 + size, top + size};
            titleLeft = layout.icon.right + 4;
        }
    }
    layout.title = {titleLeft, layout.bar.top, std::max(titleLeft, right - 4), layout.bar.bottom};
    return layout;
}

CaptionPart captionPartAt(const CaptionLayout& layout, int x, int y) {
    if (layout.close.contains(x, y)) return CaptionPart::Close;
    if (layout.maximize.contains(x, y)) return CaptionPart::Maximize;
    if (layout.minimize.contains(x, y)) return CaptionPart::Minimize;
    if (layout.icon.contains(x, y)) return CaptionPart::Icon;
    if (layout.bar.contains(x, y)) return CaptionPart::Bar;
    return CaptionPart::None;
}

Colour entryPixel(Colour pixel, bool selected, const SystemColours& system, const Skin& skin) {
    if (selected) {
        if (pixel == system.highlight) return skin.listSelection;
        if (pixel == system.highlightText) return skin.listSelectionText;
    } else {
        if (pixel == system.window) return skin.listBackground;
        if (pixel == system.windowText) return skin.listText;
    }
    return pixel;
}

}  // namespace skin
