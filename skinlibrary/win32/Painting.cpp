// What the engine draws: the caption bar and border, push buttons, check and option boxes,
// group boxes, list boxes, combo boxes, scroll bars and the common controls it skins. Fills and lines use the DC brush and pen, so a paint creates no
// GDI object but its off-screen bitmap.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "skinlibrary/win32/Painting.h"

#include "skinlibrary/win32/Engine.h"
#include "skinlibrary/win32/SystemColours.h"
#include "ui/win32/WindowBasics.h"

namespace skin::win32 {
namespace {

using ui::win32::Selection;
using ui::win32::windowText;
using ui::win32::WindowDC;

constexpr UINT kHotState = 0x0200;  // BST_HOT: the platform's own hot tracking of buttons

RECT toRect(const Box& box) { return {box.left, box.top, box.right, box.bottom}; }

void fill(HDC dc, const RECT& rect, Colour colour) {
    SetDCBrushColor(dc, colour);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void outline(HDC dc, const RECT& rect, Colour colour) {
    SetDCBrushColor(dc, colour);
    FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void line(HDC dc, int x1, int y1, int x2, int y2, Colour colour) {
    const Selection pen(dc, GetStockObject(DC_PEN));
    SetDCPenColor(dc, colour);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

// kind: 0 rectangle with rounded corners, 1 ellipse.
void shape(HDC dc, const RECT& rect, Colour face, Colour border, int kind, int radius) {
    const Selection pen(dc, GetStockObject(DC_PEN));
    const Selection brush(dc, GetStockObject(DC_BRUSH));
    SetDCPenColor(dc, border);
    SetDCBrushColor(dc, face);
    if (kind == 1) {
        Ellipse(dc, rect.left, rect.top, rect.right, rect.bottom);
    } else {
        RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, radius, radius);
    }
}

// Top to bottom from `from` to `to`, inside [left, right).
void verticalGradient(HDC dc, int left, int right, int top, int bottom, Colour from, Colour to) {
    const int rows = bottom - top;
    for (int y = top; y < bottom; ++y) {
        const int weight = rows > 1 ? (y - top) * 255 / (rows - 1) : 255;
        fill(dc, {left, y, right, y + 1}, blend(from, to, weight));
    }
}

HICON smallIconOf(HWND window) {
    auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
    return icon;
}

FrameGeometry geometryOf(HWND window) {
    RECT frame;
    GetWindowRect(window, &frame);
    RECT client;
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const LONG windowStyle = GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    FrameGeometry geometry;
    geometry.width = frame.right - frame.left;
    geometry.height = frame.bottom - frame.top;
    geometry.client.left = origin.x - frame.left;
    geometry.client.top = origin.y - frame.top;
    geometry.client.right = geometry.client.left + client.right;
    geometry.client.bottom = geometry.client.top + client.bottom;
    geometry.captionHeight = GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    geometry.sysMenu = (windowStyle & WS_SYSMENU) != 0;
    geometry.minimizeBox = (windowStyle & WS_MINIMIZEBOX) != 0;
    geometry.maximizeBox = (windowStyle & WS_MAXIMIZEBOX) != 0;
    geometry.icon = !(exStyle & (WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME)) && smallIconOf(window) != nullptr;
    return geometry;
}

// An off-screen bitmap the size of the target; copied in one go so that nothing flickers.
class Canvas {
public:
    Canvas(HDC target, int width, int height)
        : target_(target), width_(width), height_(height), dc_(CreateCompatibleDC(target)),
          bitmap_(CreateCompatibleBitmap(target, width > 0 ? width : 1, height > 0 ? height : 1)),
          selected_(dc_.get(), bitmap_.get()) {}
    HDC dc() const { return dc_.get(); }
    void show() const { BitBlt(target_, 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY); }

private:
    HDC target_;
    int width_;
    int height_;
    ui::win32::MemoryDC dc_;
    ui::win32::BitmapHandle bitmap_;
    Selection selected_;  // declared last: the bitmap leaves the DC before either is freed
};

void drawCaptionButton(HDC dc, const Box& box, CaptionPart part, const SkinnedWindow& skinned, const Skin& skin,
                       Colour bar, Colour glyph) {
    if (box.empty()) return;
    const bool pressed = skinned.pressedPart == part && skinned.pressedInside;
    const bool hot = skinned.hotPart == part || skinned.pressedPart == part;
    if (hot || pressed) {
        Colour face = part == CaptionPart::Close ? skin.captionCloseHot : skin.captionButtonHot;
        if (pressed) face = darken(face, 60);
        shape(dc, toRect(box), face, face, 0, 4);
    }
    const int cx = (box.left + box.right) / 2;
    const int cy = (box.top + box.bottom) / 2;
    const int half = (box.bottom - box.top) / 4 > 2 ? (box.bottom - box.top) / 4 : 2;
    switch (part) {
    case CaptionPart::Close:
        for (int dx = 0; dx < 2; ++dx) {  // two pixels wide
            line(dc, cx - half + dx, cy - half, cx + half + 1 + dx, cy + half + 1, glyph);
            line(dc, cx - half + dx, cy + half, cx + half + 1 + dx, cy - half - 1, glyph);
        }
        break;
    case CaptionPart::Minimize:
        fill(dc, {cx - half, cy + half - 1, cx + half + 1, cy + half + 1}, glyph);
        break;
    case CaptionPart::Maximize:
        if (IsZoomed(skinned.window)) {
            outline(dc, {cx - half + 2, cy - half, cx + half + 1, cy + half - 1}, glyph);
            fill(dc, {cx - half, cy - half + 2, cx + half - 1, cy + half + 1}, bar);
            outline(dc, {cx - half, cy - half + 2, cx + half - 1, cy + half + 1}, glyph);
        } else {
            outline(dc, {cx - half, cy - half, cx + half + 1, cy + half + 1}, glyph);
            fill(dc, {cx - half, cy - half, cx + half + 1, cy - half + 2}, glyph);
        }
        break;
    default:
        break;
    }
}

// The colour messages, one row each: what the rules call them and the platform's number.
struct ColourMessageRow {
    ColourMessage message;
    UINT number;
};
constexpr ColourMessageRow kColourMessages[] = {
    {ColourMessage::Edit, WM_CTLCOLOREDIT},   {ColourMessage::ListBox, WM_CTLCOLORLISTBOX},
    {ColourMessage::Button, WM_CTLCOLORBTN},  {ColourMessage::Dialog, WM_CTLCOLORDLG},
    {ColourMessage::Static, WM_CTLCOLORSTATIC}, {ColourMessage::ScrollBar, WM_CTLCOLORSCROLLBAR},
};

UINT numberOf(ColourMessage message) {
    for (const ColourMessageRow& row : kColourMessages) {
        if (row.message == message) return row.number;
    }
    return WM_CTLCOLORSTATIC;
}

// The colours the control's parent answers for it (the owner's where it chose, else the skin's).
HBRUSH askParent(const SkinnedWindow& skinned, HDC dc, ColourMessage message, SkinResources& resources) {
    HWND control = skinned.window;
    HWND parent = skinned.asks != nullptr ? skinned.asks : GetParent(control);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(parent, numberOf(message),
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(control)));
    if (brush == nullptr) brush = resources.brush(resources.skin().windowBackground);
    return brush;
}

// The dotted focus rectangle is drawn by inverting: plain black on white gives the usual look.
void drawFocus(HDC dc, const RECT& rect) {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &rect);
}

bool showsFocus(const SkinnedWindow& skinned) {
    if (!skinned.focused) return false;
    return !(SendMessageW(skinned.window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

// The control's font, or the platform's for controls that were given none.
HGDIOBJ fontOf(HWND control) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    return font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT);
}

void drawLabel(HDC dc, const std::wstring& text, RECT rect, UINT format, bool multiLine) {
    if (multiLine) {
        RECT measured = rect;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_WORDBREAK | DT_CALCRECT);
        const int height = measured.bottom - measured.top;
        rect.top += ((rect.bottom - rect.top) - height) / 2;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_WORDBREAK);
    } else {
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_SINGLELINE | DT_VCENTER);
    }
}

// Everything a painter reads of the control, gathered once per paint.
struct Paint {
    const SkinnedWindow& skinned;
    HWND control;
    LONG style;
    ControlState state;
    SkinResources& resources;
    const Skin& skin;
    HDC dc;
    RECT rect;
};

ControlState stateOf(const SkinnedWindow& skinned, LONG windowStyle) {
    ControlState state;
    state.hot = skinned.hot;
    state.focused = skinned.focused;
    state.disabled = !IsWindowEnabled(skinned.window);
    const ColourTarget target = skinned.kind->target;
    if (target == ColourTarget::PushButton || target == ColourTarget::CheckBox || target == ColourTarget::GroupBox) {
        const auto buttonState = static_cast<UINT>(SendMessageW(skinned.window, BM_GETSTATE, 0, 0));
        state.hot = state.hot || (buttonState & kHotState);
        state.pressed = (buttonState & BST_PUSHED) != 0;
        state.checked = (buttonState & BST_CHECKED) != 0;
        state.indeterminate = (buttonState & BST_INDETERMINATE) != 0;
        state.isDefault = (windowStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    }
    return state;
}

void paintPushButton(const Paint& p) {
    HDC dc = p.dc;
    const RECT& rect = p.rect;
    FillRect(dc, &rect, askParent(p.skinned, dc, p.skinned.kind->asks, p.resources));
    const PartColours colours = partColours(Part::PushButton, p.state, p.skin, GetTextColor(dc));
    const bool down = p.state.pressed || p.state.checked;
    shape(dc, rect, colours.face, colours.border, 0, 5);
    if (!down && rect.bottom - rect.top > 6) {
        verticalGradient(dc, rect.left + 2, rect.right - 2, rect.top + 2, rect.bottom - 2, lighten(colours.face, 100),
                         colours.face);
    }

    const Selection font(dc, fontOf(p.control));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colours.text);
    RECT textRect = {rect.left + 4, rect.top + 2, rect.right - 4, rect.bottom - 2};
    if (down) OffsetRect(&textRect, 1, 1);
    drawLabel(dc, windowText(p.control), textRect, DT_CENTER, (p.style & BS_MULTILINE) != 0);
    if (showsFocus(p.skinned)) {
        RECT focus = {rect.left + 3, rect.top + 3, rect.right - 3, rect.bottom - 3};
        drawFocus(dc, focus);
    }
}

void paintCheckOrOption(const Paint& p, bool radio) {
    HDC dc = p.dc;
    const RECT& rect = p.rect;
    FillRect(dc, &rect, askParent(p.skinned, dc, p.skinned.kind->asks, p.resources));
    const PartColours colours = partColours(Part::CheckBox, p.state, p.skin, GetTextColor(dc));
    const bool boxOnRight = (p.style & BS_LEFTTEXT) != 0;

    const int size = MulDiv(13, GetDeviceCaps(dc, LOGPIXELSY), 96);
    const int top = rect.top + ((rect.bottom - rect.top) - size) / 2;
    const int left = boxOnRight ? rect.right - size : rect.left;
    const RECT box = {left, top, left + size, top + size};
    const Colour mark = colours.mark;
    shape(dc, box, colours.face, colours.border, radio ? 1 : 0, radio ? 0 : 3);
    if (radio && p.state.checked) {
        const int inset = size / 4 + 1;
        shape(dc, {box.left + inset, box.top + inset, box.right - inset, box.bottom - inset}, mark, mark, 1, 0);
    } else if (!radio && p.state.checked) {
        for (int dy = 0; dy < 2; ++dy) {  // a tick two pixels thick
            line(dc, box.left + 3, box.top + size / 2 + dy - 1, box.left + size / 2 - 1, box.bottom - 4 + dy, mark);
            line(dc, box.left + size / 2 - 1, box.bottom - 4 + dy, box.right - 3, box.top + 3 + dy, mark);
        }
    } else if (!radio && p.state.indeterminate) {
        fill(dc, {box.left + 3, box.top + 3, box.right - 3, box.bottom - 3}, blend(mark, colours.face, 100));
    }

    const Selection font(dc, fontOf(p.control));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colours.text);
    RECT textRect = boxOnRight ? RECT{rect.left, rect.top, box.left - 4, rect.bottom}
                               : RECT{box.right + 4, rect.top, rect.right, rect.bottom};
    const std::wstring caption = windowText(p.control);
    drawLabel(dc, caption, textRect, DT_LEFT, (p.style & BS_MULTILINE) != 0);
    if (showsFocus(p.skinned) && !caption.empty()) {
        RECT measured = textRect;
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, DT_SINGLELINE | DT_CALCRECT);
        const int height = measured.bottom - measured.top;
        RECT focus = {textRect.left - 1, textRect.top + ((textRect.bottom - textRect.top) - height) / 2 - 1,
                      measured.right + 1, 0};
        focus.bottom = focus.top + height + 2;
        drawFocus(dc, focus);
    }
}

void paintCheckBox(const Paint& p) { paintCheckOrOption(p, false); }
void paintRadioButton(const Paint& p) { paintCheckOrOption(p, true); }

// Only the frame and its caption: the group box's inside belongs to the controls within it.
void paintGroupBox(const Paint& p) {
    HDC dc = p.dc;
    const RECT& rect = p.rect;
    HBRUSH background = askParent(p.skinned, dc, p.skinned.kind->asks, p.resources);
    const PartColours colours = partColours(Part::GroupLabel, p.state, p.skin, GetTextColor(dc));
    const Selection font(dc, fontOf(p.control));
    const std::wstring caption = windowText(p.control);
    SIZE extent{0, 0};
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    if (!caption.empty()) GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    const int top = rect.top + metrics.tmHeight / 2;
    {
        const Selection brush(dc, GetStockObject(NULL_BRUSH));
        const Selection pen(dc, GetStockObject(DC_PEN));
        SetDCPenColor(dc, colours.border);
        RoundRect(dc, rect.left, top, rect.right, rect.bottom, 6, 6);
    }
    if (!caption.empty()) {
        RECT label = {rect.left + 8, rect.top, rect.left + 12 + extent.cx, rect.top + metrics.tmHeight};
        FillRect(dc, &label, background);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colours.text);
        label.left += 2;
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &label, DT_LEFT | DT_SINGLELINE | DT_TOP);
    }
}

void paintListBox(const Paint& p) {
    HDC dc = p.dc;
    HWND control = p.control;
    FillRect(dc, &p.rect, askParent(p.skinned, dc, p.skinned.kind->asks, p.resources));
    const Colour ownerText = GetTextColor(dc);
    const bool multiple = (p.style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
    const auto count = static_cast<int>(SendMessageW(control, LB_GETCOUNT, 0, 0));
    const auto current = static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0));
    const auto caret = static_cast<int>(SendMessageW(control, LB_GETCARETINDEX, 0, 0));
    const bool focused = showsFocus(p.skinned);
    const Selection font(dc, fontOf(control));
    SetBkMode(dc, TRANSPARENT);
    std::wstring entry;
    ControlState state = p.state;
    for (auto i = static_cast<int>(SendMessageW(control, LB_GETTOPINDEX, 0, 0)); i >= 0 && i < count; ++i) {
        RECT item;
        if (SendMessageW(control, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)) == LB_ERR) break;
        if (item.top >= p.rect.bottom) break;
        state.selected = multiple ? SendMessageW(control, LB_GETSEL, i, 0) > 0 : i == current;
        const PartColours colours = partColours(Part::ListEntry, state, p.skin, ownerText);
        if (colours.filled) fill(dc, item, colours.face);
        SetTextColor(dc, colours.text);
        const auto length = static_cast<int>(SendMessageW(control, LB_GETTEXTLEN, i, 0));
        if (length > 0 && length < 32768) {
            entry.assign(static_cast<std::size_t>(length) + 1, L'\0');
            const auto copied = static_cast<int>(SendMessageW(control, LB_GETTEXT, i, reinterpret_cast<LPARAM>(entry.data())));
            RECT textRect = {item.left + 2, item.top, item.right - 2, item.bottom};
            if (copied > 0) {
                DrawTextW(dc, entry.c_str(), copied, &textRect,
                          DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
            }
        }
        if (focused && i == caret) {
            drawFocus(dc, item);
        }
    }
}

enum class Pointing { Up, Down, Left, Right };

// A small triangle centred in the box, its point towards `pointing`.
void arrowSign(HDC dc, const RECT& box, Pointing pointing, Colour colour) {
    const int cx = (box.left + box.right) / 2;
    const int cy = (box.top + box.bottom) / 2;
    for (int i = 0; i < 4; ++i) {  // from the base to the point
        switch (pointing) {
        case Pointing::Down: fill(dc, {cx - 3 + i, cy - 2 + i, cx + 4 - i, cy - 1 + i}, colour); break;
        case Pointing::Up: fill(dc, {cx - 3 + i, cy + 1 - i, cx + 4 - i, cy + 2 - i}, colour); break;
        case Pointing::Right: fill(dc, {cx - 2 + i, cy - 3 + i, cx - 1 + i, cy + 4 - i}, colour); break;
        case Pointing::Left: fill(dc, {cx + 1 - i, cy - 3 + i, cx + 2 - i, cy + 4 - i}, colour); break;
        }
    }
}

// Over what the combo box drew: its frame in the skin's edge, its drop button, and a drop-down
// list's field, which the platform fills with the system's highlight while it has the focus.
void paintComboBox(const Paint& p) {
    HDC dc = p.dc;
    HWND control = p.control;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(control, &info)) return;
    const std::uint32_t type = static_cast<std::uint32_t>(p.style) & style::kComboTypeMask;
    const bool dropped = SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0) != 0;
    HBRUSH field = askParent(p.skinned, dc, colourMessageOf(*p.skinned.kind, p.state.disabled), p.resources);
    const Colour fieldText = GetTextColor(dc);
    RECT frame = p.rect;
    if (type == style::kComboSimple) {
        frame = info.rcItem;
        InflateRect(&frame, 3, 3);  // the text's padding and the sunken edge around it
    }
    outline(dc, frame, partColours(Part::Edge, p.state, p.skin, 0).border);
    InflateRect(&frame, -1, -1);
    FrameRect(dc, &frame, field);
    if (type == style::kComboDropDownList && !(p.style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE))) {
        ControlState entry = p.state;
        entry.selected = p.state.focused && !dropped;
        const PartColours colours = partColours(Part::ListEntry, entry, p.skin, fieldText);
        FillRect(dc, &info.rcItem, field);
        if (colours.filled) fill(dc, info.rcItem, colours.face);
        const auto current = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
        const auto length = static_cast<int>(SendMessageW(control, CB_GETLBTEXTLEN, current, 0));
        if (current >= 0 && length > 0 && length < 32768) {
            std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
            SendMessageW(control, CB_GETLBTEXT, current, reinterpret_cast<LPARAM>(text.data()));
            const Selection font(dc, fontOf(control));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, entry.selected ? colours.text : fieldText);
            RECT textRect = {info.rcItem.left + 2, info.rcItem.top, info.rcItem.right - 1, info.rcItem.bottom};
            DrawTextW(dc, text.c_str(), length, &textRect, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
        if (entry.selected && showsFocus(p.skinned)) drawFocus(dc, info.rcItem);
    }
    if (type != style::kComboSimple && !IsRectEmpty(&info.rcButton)) {
        ControlState button = p.state;
        button.pressed = button.pressed || dropped;
        const PartColours colours = partColours(Part::ComboButton, button, p.skin, 0);
        fill(dc, info.rcButton, colours.face);
        line(dc, info.rcButton.left, info.rcButton.top, info.rcButton.left, info.rcButton.bottom, colours.border);
        arrowSign(dc, info.rcButton, Pointing::Down, colours.mark);
    }
}

// One scroll bar as the platform lays it out, in the coordinates of the DC it is drawn into.
struct BarLayout {
    RECT rect{};
    bool vertical = false;
    int arrow = 0;    // each arrow button's length
    int thumb = 0;    // the thumb's length; 0: none
    int thumbAt = 0;  // where it starts, from the bar's start
    bool disabled = false;
};

// objectId: OBJID_CLIENT for the scroll bar control, OBJID_VSCROLL or OBJID_HSCROLL for a window's
// own; origin: where the DC's (0, 0) lies on the screen. While the thumb is dragged the platform
// keeps the position it is dragged to apart (the track position), and the thumb shows that.
bool layoutBar(HWND window, LONG objectId, int bar, POINT origin, bool dragged, BarLayout& layout) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if (!GetScrollBarInfo(window, objectId, &info)) return false;
    if (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) return false;
    layout.rect = info.rcScrollBar;
    OffsetRect(&layout.rect, -origin.x, -origin.y);
    layout.vertical = objectId == OBJID_VSCROLL || (objectId == OBJID_CLIENT && (GetWindowLongW(window, GWL_STYLE) & SBS_VERT));
    layout.thumb = info.xyThumbBottom - info.xyThumbTop;
    layout.disabled = (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0;
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_ALL;
    if (!GetScrollInfo(window, bar, &scroll)) return false;
    const ScrollRange range{scroll.nMin, scroll.nMax, scroll.nPage, dragged ? scroll.nTrackPos : scroll.nPos};
    const int length = layout.vertical ? layout.rect.bottom - layout.rect.top : layout.rect.right - layout.rect.left;
    // The arrow buttons are as long as the system's scroll bars are wide, halved on a short bar
    // (Wine's dxyLineButton gives the thumb's length).
    layout.arrow = std::min(GetSystemMetrics(layout.vertical ? SM_CYVSCROLL : SM_CXHSCROLL), length / 2);
    layout.thumbAt = layout.thumb > 0 ? thumbStart(length, layout.arrow, layout.thumb, range) : 0;
    return !IsRectEmpty(&layout.rect);
}

// The track, the two arrow buttons with their signs and the thumb. pointer: in the DC's
// coordinates; a part under it is hot, and pressed while the left button is down.
void drawBar(HDC dc, const BarLayout& bar, const Skin& skin, POINT pointer, bool dragged) {
    const RECT& r = bar.rect;
    const int length = bar.vertical ? r.bottom - r.top : r.right - r.left;
    auto along = [&](int from, int to) {
        return bar.vertical ? RECT{r.left, r.top + from, r.right, r.top + to} : RECT{r.left + from, r.top, r.left + to, r.bottom};
    };
    ControlState plain;
    plain.disabled = bar.disabled;
    fill(dc, r, partColours(Part::ScrollTrack, plain, skin, 0).face);
    const bool held = GetKeyState(VK_LBUTTON) < 0;
    auto button = [&](const RECT& part, bool thumb) {
        ControlState state = plain;
        state.hot = PtInRect(&part, pointer) != 0;
        state.pressed = (state.hot && held) || (thumb && dragged);
        const PartColours colours = partColours(Part::ScrollButton, state, skin, 0);
        fill(dc, part, colours.face);
        outline(dc, part, colours.border);
        return colours.mark;
    };
    const RECT first = along(0, bar.arrow);
    const RECT last = along(length - bar.arrow, length);
    arrowSign(dc, first, bar.vertical ? Pointing::Up : Pointing::Left, button(first, false));
    arrowSign(dc, last, bar.vertical ? Pointing::Down : Pointing::Right, button(last, false));
    if (bar.thumb > 0) button(along(bar.thumbAt, bar.thumbAt + bar.thumb), true);
}

POINT pointerIn(POINT origin) {
    POINT pointer{-1, -1};
    if (GetCursorPos(&pointer)) {
        pointer.x -= origin.x;
        pointer.y -= origin.y;
    }
    return pointer;
}

// The scroll bar control, painted whole.
void paintScrollBar(const Paint& p) {
    POINT origin{0, 0};
    ClientToScreen(p.control, &origin);
    const bool dragged = p.skinned.draggedBar == SB_CTL;
    BarLayout bar;
    if (layoutBar(p.control, OBJID_CLIENT, SB_CTL, origin, dragged, bar)) {
        drawBar(p.dc, bar, p.skin, pointerIn(origin), dragged);
    } else {
        fill(p.dc, p.rect, p.skin.scrollbarTrack);
    }
}

// A menu item as the platform lays it out, with what it shows. Items drawn by their owner or
// showing a picture of the host's keep the platform's painting.
struct MenuItem {
    UINT type = 0;
    UINT state = 0;
    bool submenu = false;
    std::wstring text;
    RECT rect{};  // in the coordinates of the DC painted on
    bool ours = false;
};

bool readMenuItem(HMENU menu, int index, HWND barWindow, POINT origin, MenuItem& item) {
    wchar_t text[256] = L"";
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING | MIIM_BITMAP;
    info.dwTypeData = text;
    info.cch = 255;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &info)) return false;
    if (!GetMenuItemRect(barWindow, menu, static_cast<UINT>(index), &item.rect)) return false;
    OffsetRect(&item.rect, -origin.x, -origin.y);
    item.type = info.fType;
    item.state = info.fState;
    item.submenu = info.hSubMenu != nullptr;
    item.text = text;
    // The platform's own symbols (HBMMENU_*) are small handle values; a real picture is the host's.
    const auto picture = reinterpret_cast<INT_PTR>(info.hbmpItem);
    item.ours = !(info.fType & (MFT_OWNERDRAW | MFT_BITMAP)) && (picture == 0 || (picture >= -1 && picture < 12));
    return true;
}

void drawMenuItem(HDC dc, const MenuItem& item, const Skin& skin, bool bar) {
    ControlState state;
    state.selected = (item.state & MFS_HILITE) != 0;
    state.disabled = (item.state & MFS_GRAYED) != 0;
    const PartColours c = partColours(Part::MenuItem, state, skin, skin.menuText);
    const RECT& r = item.rect;
    if (item.type & MFT_SEPARATOR) {
        fill(dc, r, skin.menuBackground);
        const int middle = (r.top + r.bottom) / 2;
        line(dc, r.left + 2, middle, r.right - 2, middle, c.border);
        return;
    }
    fill(dc, r, c.face);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, c.text);
    const std::size_t tab = item.text.find(L'\t');
    const std::wstring label = item.text.substr(0, tab);
    if (bar) {
        drawLabel(dc, label, r, DT_CENTER, false);
        return;
    }
    // The check column, the text, the shortcut and the submenu's arrow, as the platform places
    // them: a column as wide as a check mark on either side.
    const int column = GetSystemMetrics(SM_CXMENUCHECK);
    const RECT check = {r.left, r.top, r.left + column, r.bottom};
    if ((item.state & MFS_CHECKED) && (item.type & MFT_RADIOCHECK)) {
        const int cx = (check.left + check.right) / 2, cy = (check.top + check.bottom) / 2;
        shape(dc, {cx - 3, cy - 3, cx + 4, cy + 4}, c.mark, c.mark, 1, 0);
    } else if (item.state & MFS_CHECKED) {
        const int cx = (check.left + check.right) / 2, cy = (check.top + check.bottom) / 2;
        for (int thick = 0; thick < 2; ++thick) {
            line(dc, cx - 4, cy + thick - 1, cx - 1, cy + thick + 2, c.mark);
            line(dc, cx - 1, cy + thick + 2, cx + 5, cy + thick - 4, c.mark);
        }
    }
    RECT text = {r.left + column, r.top, r.right, r.bottom};
    drawLabel(dc, label, text, DT_LEFT, false);
    text.right -= column;
    if (tab != std::wstring::npos) drawLabel(dc, item.text.substr(tab + 1), text, DT_RIGHT, false);
    if (item.submenu) arrowSign(dc, {r.right - column, r.top, r.right, r.bottom}, Pointing::Right, c.text);
}

// A menu's items over the platform's painting, on a ground in the menu's background (and, for a
// popup, its outline): the items the platform draws itself are drawn again, the others (drawn by
// their program, or a picture of its own) are left as they are. origin: where the DC's (0, 0)
// stands on the screen; barWindow: the window of a menu bar, nullptr for a popup menu.
void paintMenuItems(HDC dc, HMENU menu, HWND barWindow, POINT origin, const RECT& ground, SkinResources& resources) {
    const Skin& skin = resources.skin();
    std::vector<MenuItem> items(static_cast<std::size_t>(std::max(GetMenuItemCount(menu), 0)));
    const int saved = SaveDC(dc);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (readMenuItem(menu, static_cast<int>(i), barWindow, origin, items[i]) && !items[i].ours) {
            ExcludeClipRect(dc, items[i].rect.left, items[i].rect.top, items[i].rect.right, items[i].rect.bottom);
        }
    }
    fill(dc, ground, skin.menuBackground);
    if (barWindow == nullptr) outline(dc, ground, skin.menuBorder);
    const Selection font(dc, resources.menuFont());
    for (const MenuItem& item : items) {
        if (item.ours) drawMenuItem(dc, item, skin, barWindow != nullptr);
    }
    RestoreDC(dc, saved);
}

// A popup menu: margins, border and items.
void paintMenu(const Paint& p) {
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(p.control, MN_GETHMENU, 0, 0));
    if (menu == nullptr) return;
    POINT origin{0, 0};
    ClientToScreen(p.control, &origin);
    paintMenuItems(p.dc, menu, nullptr, origin, p.rect, p.resources);
}

// The progress bar: the filled part from its start (the bottom of a vertical one), the rest empty,
// inside the line of a text box's edge where it has no edge of its own.
void paintProgressBar(const Paint& p) {
    const PartColours colours = partColours(Part::Progress, p.state, p.skin, 0);
    RECT frame, bar = p.rect;
    GetWindowRect(p.control, &frame);
    if (frame.right - frame.left == p.rect.right) {
        outline(p.dc, p.rect, partColours(Part::Edge, p.state, p.skin, 0).border);
        InflateRect(&bar, -1, -1);
    }
    fill(p.dc, bar, colours.face);
    PBRANGE range{};
    SendMessageW(p.control, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    const auto pos = static_cast<int>(SendMessageW(p.control, PBM_GETPOS, 0, 0));
    if (p.style & PBS_VERTICAL) {
        bar.top = bar.bottom - lengthAt(bar.bottom - bar.top, range.iLow, range.iHigh, pos);
    } else {
        bar.right = bar.left + lengthAt(bar.right - bar.left, range.iLow, range.iHigh, pos);
    }
    fill(p.dc, bar, colours.mark);
}

// The trackbar where the control lays it out: the channel, the thumb, and the ticks beside the
// thumb (on the side its style names, or both), each where the thumb's middle stands at its value.
void paintTrackbar(const Paint& p) {
    HDC dc = p.dc;
    HWND control = p.control;
    FillRect(dc, &p.rect, askParent(p.skinned, dc, p.skinned.kind->asks, p.resources));
    ControlState state = p.state;
    state.pressed = GetCapture() == control;  // the thumb is being dragged
    const PartColours colours = partColours(Part::TrackbarThumb, state, p.skin, 0);
    const bool vertical = (p.style & TBS_VERT) != 0;
    RECT channel{}, thumb{};
    SendMessageW(control, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    SendMessageW(control, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    if (vertical && channel.right - channel.left > channel.bottom - channel.top) {
        channel = {channel.top, channel.left, channel.bottom, channel.right};  // Windows gives it lying down
    }
    fill(dc, channel, colours.border);
    const auto count = static_cast<int>(SendMessageW(control, TBM_GETNUMTICS, 0, 0));
    const auto low = static_cast<int>(SendMessageW(control, TBM_GETRANGEMIN, 0, 0));
    const auto high = static_cast<int>(SendMessageW(control, TBM_GETRANGEMAX, 0, 0));
    const int along = vertical ? thumb.bottom - thumb.top : thumb.right - thumb.left;
    const int start = (vertical ? channel.top : channel.left) + along / 2;
    const int travel = (vertical ? channel.bottom - channel.top : channel.right - channel.left) - along;
    const bool both = (p.style & TBS_BOTH) != 0, before = both || (p.style & TBS_TOP), after = both || !before;
    for (int i = 0; i < count && !(p.style & TBS_NOTICKS); ++i) {
        const int value = i == 0 ? low : i == count - 1 ? high : static_cast<int>(SendMessageW(control, TBM_GETTIC, i - 1, 0));
        const int at = start + lengthAt(travel, low, high, value);
        for (const bool side : {false, true}) {
            if (!(side ? after : before)) continue;
            const int from = side ? (vertical ? thumb.right : thumb.bottom) + 1 : (vertical ? thumb.left : thumb.top) - 4;
            fill(dc, vertical ? RECT{from, at, from + 3, at + 1} : RECT{at, from, at + 1, from + 3}, colours.mark);
        }
    }
    if (!(p.style & TBS_NOTHUMB)) shape(dc, thumb, colours.face, colours.border, 0, 3);
    if (showsFocus(p.skinned)) drawFocus(dc, p.rect);
}

// The tabs along the top and the page under them; the selected tab, a little larger, in the
// page's colour and open onto it.
void paintTabControl(const Paint& p) {
    HDC dc = p.dc;
    HWND control = p.control;
    FillRect(dc, &p.rect, askParent(p.skinned, dc, p.skinned.kind->asks, p.resources));
    const auto count = static_cast<int>(SendMessageW(control, TCM_GETITEMCOUNT, 0, 0));
    const auto current = static_cast<int>(SendMessageW(control, TCM_GETCURSEL, 0, 0));
    const auto focus = static_cast<int>(SendMessageW(control, TCM_GETCURFOCUS, 0, 0));
    RECT page = p.rect;
    RECT box{};
    for (int i = 0; i < count; ++i) {
        if (SendMessageW(control, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&box))) page.top = std::max(page.top, box.bottom);
    }
    ControlState state = p.state;
    state.selected = true;
    fill(dc, page, partColours(Part::Tab, state, p.skin, 0).face);
    outline(dc, page, p.skin.tabBorder);
    const Selection font(dc, fontOf(control));
    SetBkMode(dc, TRANSPARENT);
    // A tab's picture, from the image list the control holds, through the library that made it.
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(control, TCM_GETIMAGELIST, 0, 0));
    const auto made = reinterpret_cast<HMODULE>(GetClassLongPtrW(control, GCLP_HMODULE));
    const auto drawImage = reinterpret_cast<BOOL(WINAPI*)(HIMAGELIST, int, HDC, int, int, UINT)>(
        reinterpret_cast<void*>(GetProcAddress(made, "ImageList_Draw")));
    const auto imageSize = reinterpret_cast<BOOL(WINAPI*)(HIMAGELIST, int*, int*)>(
        reinterpret_cast<void*>(GetProcAddress(made, "ImageList_GetIconSize")));
    for (int pass = 0; pass < 2; ++pass) {  // the selected tab last, over its neighbours
        for (int i = 0; i < count; ++i) {
            state.selected = i == current;
            if (state.selected != (pass == 1) || !SendMessageW(control, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&box))) continue;
            const PartColours colours = partColours(Part::Tab, state, p.skin, 0);
            if (state.selected) box = {box.left - 2, box.top - 2, box.right + 2, box.bottom};
            box.bottom += 1;  // over the page's top line
            fill(dc, box, colours.face);
            outline(dc, box, colours.border);
            if (state.selected) fill(dc, {box.left + 1, box.bottom - 1, box.right - 1, box.bottom}, colours.face);
            wchar_t text[128] = L"";
            TCITEMW item{};
            item.mask = TCIF_TEXT | TCIF_IMAGE;
            item.pszText = text;
            item.cchTextMax = 128;
            SendMessageW(control, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            RECT inside = {box.left + 4, box.top, box.right - 4, box.bottom};
            int width = 0, height = 0;
            if (images != nullptr && item.iImage >= 0 && drawImage != nullptr && imageSize != nullptr &&
                imageSize(images, &width, &height)) {
                drawImage(images, item.iImage, dc, inside.left, (inside.top + inside.bottom - height) / 2, ILD_TRANSPARENT);
                inside.left += width + 3;
            }
            SetTextColor(dc, colours.text);
            DrawTextW(dc, text, -1, &inside, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
            if (i == focus && showsFocus(p.skinned)) drawFocus(dc, {box.left + 3, box.top + 3, box.right - 3, box.bottom - 3});
        }
    }
}

// The status bar: each part's outline, icon and text (left, centred and right of the tabs in it),
// a part its owner draws drawn by the owner, and the size grip.
void paintStatusBar(const Paint& p) {
    HDC dc = p.dc;
    HWND control = p.control;
    const PartColours colours = partColours(Part::Status, p.state, p.skin, 0);
    fill(dc, p.rect, colours.face);
    const bool simple = SendMessageW(control, SB_ISSIMPLE, 0, 0) != 0;
    const int count = simple ? 1 : std::clamp(static_cast<int>(SendMessageW(control, SB_GETPARTS, 0, 0)), 0, 256);
    const Selection font(dc, fontOf(control));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colours.text);
    std::wstring text;
    for (int i = 0; i < count; ++i) {
        const auto index = static_cast<WPARAM>(i);  // in simple mode any part answers the simple text
        RECT part = p.rect;
        if (!simple) SendMessageW(control, SB_GETRECT, index, reinterpret_cast<LPARAM>(&part));
        const auto info = static_cast<DWORD>(SendMessageW(control, SB_GETTEXTLENGTHW, index, 0));
        const UINT type = HIWORD(info);
        if (!(type & SBT_NOBORDERS)) outline(dc, part, colours.border);
        text.assign(LOWORD(info) + 1u, L'\0');
        const LRESULT data = SendMessageW(control, SB_GETTEXTW, index, reinterpret_cast<LPARAM>(text.data()));
        if (type & SBT_OWNERDRAW) {
            DRAWITEMSTRUCT item{};
            item.CtlID = static_cast<UINT>(GetDlgCtrlID(control));
            item.itemID = static_cast<UINT>(i);
            item.hwndItem = control;
            item.hDC = dc;
            item.rcItem = part;
            item.itemData = static_cast<ULONG_PTR>(data);  // the owner's value, not a text
            SendMessageW(GetParent(control), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
            continue;
        }
        RECT inside = {part.left + 3, part.top, part.right - 3, part.bottom};
        if (const auto icon = reinterpret_cast<HICON>(SendMessageW(control, SB_GETICON, index, 0))) {
            const int size = GetSystemMetrics(SM_CXSMICON);
            DrawIconEx(dc, inside.left, (inside.top + inside.bottom - size) / 2, icon, size, size, 0, nullptr, DI_NORMAL);
            inside.left += size + 3;
        }
        text.resize(std::wcslen(text.c_str()));
        const wchar_t tab = (type & SBT_NOTABPARSING) ? L'\0' : L'\t';
        std::size_t from = 0;
        for (const UINT align : {DT_LEFT, DT_CENTER, DT_RIGHT}) {
            const std::size_t end = align == DT_RIGHT ? std::wstring::npos : text.find(tab, from);
            const std::size_t to = std::min(end, text.size());
            DrawTextW(dc, text.c_str() + from, static_cast<int>(to - from), &inside, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            if (end == std::wstring::npos) break;
            from = to + 1;
        }
    }
    for (int i = 1; (p.style & SBARS_SIZEGRIP) && i <= 3; ++i) {
        line(dc, p.rect.right - 4 * i, p.rect.bottom - 1, p.rect.right - 1, p.rect.bottom - 4 * i, colours.border);
    }
}

// The painter of each kind the rules name; buffered ones draw off-screen and are copied in one
// go, those over the platform after the control's own painting.
struct PainterRow {
    Painter painter;
    void (*paint)(const Paint&);
    bool buffered;
    bool overPlatform = false;
};
constexpr PainterRow kPainters[] = {
    {Painter::PushButton, paintPushButton, true},   {Painter::CheckBox, paintCheckBox, true},
    {Painter::RadioButton, paintRadioButton, true}, {Painter::GroupBox, paintGroupBox, false},
    {Painter::ListBox, paintListBox, true},         {Painter::ComboBox, paintComboBox, false, true},
    {Painter::ScrollBar, paintScrollBar, true},     {Painter::Menu, paintMenu, false, true},
    {Painter::ProgressBar, paintProgressBar, true}, {Painter::Trackbar, paintTrackbar, true},
    {Painter::TabControl, paintTabControl, true},   {Painter::StatusBar, paintStatusBar, true},
};

// The frame's colour with the bar's gradient, the line around the client area and the border.
void drawFrameBackground(HDC paint, const FrameGeometry& geometry, const CaptionLayout& layout, Colour base,
                         const Skin& skin) {
    fill(paint, {0, 0, geometry.width, geometry.height}, base);
    if (!layout.bar.empty()) verticalGradient(paint, 0, geometry.width, 0, layout.bar.bottom, lighten(base, 70), base);
    const Box& client = geometry.client;
    if (client.left >= 2) {
        outline(paint, {client.left - 1, client.top - 1, client.right + 1, client.bottom + 1}, darken(base, 40));
    }
    outline(paint, {0, 0, geometry.width, geometry.height}, skin.windowBorder);
}

// The icon, the title and the three buttons on the bar.
void drawCaptionContents(HDC paint, const CaptionLayout& layout, const SkinnedWindow& skinned,
                         SkinResources& resources, Colour base, Colour titleColour) {
    HWND window = skinned.window;
    const Skin& skin = resources.skin();
    if (!layout.icon.empty()) {
        DrawIconEx(paint, layout.icon.left, layout.icon.top, smallIconOf(window), layout.icon.right - layout.icon.left,
                   layout.icon.bottom - layout.icon.top, 0, nullptr, DI_NORMAL);
    }
    if (!layout.title.empty()) {
        const std::wstring title = windowText(window);
        const Selection font(paint, resources.captionFont());
        SetBkMode(paint, TRANSPARENT);
        SetTextColor(paint, titleColour);
        RECT titleRect = toRect(layout.title);
        DrawTextW(paint, title.c_str(), static_cast<int>(title.size()), &titleRect,
                  DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    drawCaptionButton(paint, layout.minimize, CaptionPart::Minimize, skinned, skin, base, titleColour);
    drawCaptionButton(paint, layout.maximize, CaptionPart::Maximize, skinned, skin, base, titleColour);
    drawCaptionButton(paint, layout.close, CaptionPart::Close, skinned, skin, base, titleColour);
}

// What the frame's copy leaves alone: the client area, and the menu bar and scroll bars.
void excludeClientArea(HDC dc, HWND window, const FrameGeometry& geometry, const CaptionLayout& layout) {
    const Box& client = geometry.client;
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    if (GetMenu(window) != nullptr || (GetWindowLongW(window, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL))) {
        // Menu bar and scroll bars lie between the caption and the client area.
        const int bottomFrame = geometry.height - client.bottom;
        ExcludeClipRect(dc, client.left, layout.bar.bottom, client.right, geometry.height - bottomFrame);
    }
}

}  // namespace

bool usesSystemBrush(HBRUSH brush) {
    if (isSkinSystemBrush(brush)) return true;  // a host's GetSysColorBrush under the skin (SystemColours.h)
    for (int index = 0; index <= COLOR_MENUBAR; ++index) {
        if (GetSysColorBrush(index) == brush) return true;
    }
    return false;
}

CaptionLayout captionLayoutOf(HWND window) { return layoutCaption(geometryOf(window)); }

int highlightedItem(HWND popup) {
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
    }
    return -1;
}

void paintMenuBar(SkinnedWindow& skinned, SkinResources& resources) {
    HWND window = skinned.window;
    HMENU menu = GetMenu(window);
    MENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    if (menu == nullptr || IsIconic(window) || !GetMenuBarInfo(window, OBJID_MENU, 0, &bar)) return;
    RECT frame;
    GetWindowRect(window, &frame);
    const POINT origin{frame.left, frame.top};
    const FrameGeometry geometry = geometryOf(window);
    const WindowDC windowDC(window, GetWindowDC(window));
    HDC dc = windowDC.get();
    if (dc == nullptr) return;
    // The bar and the line the platform draws below it, down to the client area.
    const RECT whole = {geometry.client.left, bar.rcBar.top - origin.y, geometry.client.right, geometry.client.top};
    paintMenuItems(dc, menu, window, origin, whole, resources);
}

bool paintsOverPlatform(Painter painter) {
    for (const PainterRow& row : kPainters) {
        if (row.painter == painter) return row.overPlatform;
    }
    return false;
}

void paintFrame(SkinnedWindow& skinned, SkinResources& resources) {
    HWND window = skinned.window;
    const Skin& skin = resources.skin();
    const FrameGeometry geometry = geometryOf(window);
    const CaptionLayout layout = layoutCaption(geometry);
    const WindowDC windowDC(window, GetWindowDC(window));
    HDC dc = windowDC.get();
    if (dc == nullptr) return;
    Canvas canvas(dc, geometry.width, geometry.height);
    const Colour base = skinned.active ? skin.captionActive : skin.captionInactive;
    const Colour titleColour = skinned.active ? skin.captionActiveText : skin.captionInactiveText;
    drawFrameBackground(canvas.dc(), geometry, layout, base, skin);
    drawCaptionContents(canvas.dc(), layout, skinned, resources, base, titleColour);
    excludeClientArea(dc, window, geometry, layout);
    canvas.show();
    paintMenuBar(skinned, resources);
}

ColourMessage colourMessageFrom(UINT message) {
    for (const ColourMessageRow& row : kColourMessages) {
        if (row.number == message) return row.message;
    }
    return ColourMessage::Static;
}

LRESULT drawEntryInSkin(DRAWITEMSTRUCT& item, SkinResources& resources, const std::function<LRESULT()>& ownerDraws) {
    const RECT box = item.rcItem;
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    HDC target = item.hDC;
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192 || target == nullptr) return ownerDraws();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const ui::win32::BitmapHandle bitmap(CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const ui::win32::MemoryDC memory(CreateCompatibleDC(target));
    if (bitmap.get() == nullptr || memory.get() == nullptr || bits == nullptr) return ownerDraws();
    HDC dc = memory.get();
    const Selection selected(dc, bitmap.get());
    // What the list box set up in its DC for the owner; the entry keeps its own coordinates.
    const Selection font(dc, GetCurrentObject(target, OBJ_FONT));
    SetTextColor(dc, GetTextColor(target));
    SetBkColor(dc, GetBkColor(target));
    SetBkMode(dc, GetBkMode(target));
    SetViewportOrgEx(dc, -box.left, -box.top, nullptr);
    BitBlt(dc, box.left, box.top, width, height, target, box.left, box.top, SRCCOPY);
    item.hDC = dc;
    const LRESULT result = ownerDraws();
    item.hDC = target;
    GdiFlush();

    const SystemColours system{GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_HIGHLIGHT),
                               GetSysColor(COLOR_HIGHLIGHTTEXT)};
    const bool entrySelected = (item.itemState & ODS_SELECTED) != 0;
    auto* pixel = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i) {
        const std::uint32_t p = pixel[i];  // 0x00RRGGBB
        const Colour shown = entryPixel(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF), entrySelected, system,
                                        resources.skin());
        pixel[i] = (static_cast<std::uint32_t>(redOf(shown)) << 16) |
                   (static_cast<std::uint32_t>(greenOf(shown)) << 8) | static_cast<std::uint32_t>(blueOf(shown));
    }
    BitBlt(target, box.left, box.top, width, height, dc, box.left, box.top, SRCCOPY);
    return result;
}

void paintControl(SkinnedWindow& skinned, HDC dc, SkinResources& resources) {
    if (skinned.kind == nullptr) return;
    for (const PainterRow& row : kPainters) {
        if (row.painter != skinned.kind->painter) continue;
        RECT rect;
        GetClientRect(skinned.window, &rect);
        const LONG windowStyle = GetWindowLongW(skinned.window, GWL_STYLE);
        const ControlState state = stateOf(skinned, windowStyle);
        if (!row.buffered) {
            row.paint({skinned, skinned.window, windowStyle, state, resources, resources.skin(), dc, rect});
            return;
        }
        Canvas canvas(dc, rect.right, rect.bottom);
        row.paint({skinned, skinned.window, windowStyle, state, resources, resources.skin(), canvas.dc(), rect});
        canvas.show();
        return;
    }
}

void paintEdge(SkinnedWindow& skinned, SkinResources& resources) {
    HWND control = skinned.window;
    if (!IsWindowVisible(control) || skinned.kind == nullptr) return;
    RECT frame;
    GetWindowRect(control, &frame);
    POINT origin{0, 0};
    ClientToScreen(control, &origin);
    const int thickness = origin.x - frame.left;  // the left border: edges and frame lines, no scroll bar
    if (thickness <= 0) return;
    const WindowDC windowDC(control, GetWindowDC(control));
    HDC dc = windowDC.get();
    if (dc == nullptr) return;
    const RECT outer = {0, 0, frame.right - frame.left, frame.bottom - frame.top};
    ControlState state;
    state.disabled = IsWindowEnabled(control) == FALSE;
    state.focused = skinned.focused;
    const Part part = skinned.role == Role::Tooltip ? Part::Tooltip : Part::Edge;
    outline(dc, outer, partColours(part, state, resources.skin(), 0).border);
    if (thickness > 1) {
        // Inside the line, the box's own background, as its owner or the skin answers it.
        const bool readOnly = state.disabled || (GetWindowLongW(control, GWL_STYLE) & ES_READONLY);
        HBRUSH inside = askParent(skinned, dc, colourMessageOf(*skinned.kind, readOnly), resources);
        for (int ring = 1; ring < thickness && ring < 3; ++ring) {
            const RECT band = {outer.left + ring, outer.top + ring, outer.right - ring, outer.bottom - ring};
            FrameRect(dc, &band, inside);
        }
    }
}

void paintScrollBars(SkinnedWindow& skinned, SkinResources& resources, bool always) {
    HWND window = skinned.window;
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    if (!(style & (WS_VSCROLL | WS_HSCROLL)) || !skinned.redraw || !IsWindowVisible(window)) return;
    RECT frame;
    GetWindowRect(window, &frame);
    const POINT origin{frame.left, frame.top};
    BarLayout vertical, horizontal;
    const bool hasVertical = (style & WS_VSCROLL) &&
                             layoutBar(window, OBJID_VSCROLL, SB_VERT, origin, skinned.draggedBar == SB_VERT, vertical);
    const bool hasHorizontal = (style & WS_HSCROLL) && layoutBar(window, OBJID_HSCROLL, SB_HORZ, origin,
                                                                 skinned.draggedBar == SB_HORZ, horizontal);
    const POINT pointer = pointerIn(origin);
    // What they show, the part under the pointer included: painted again only when that changed,
    // unless told to.
    std::uint64_t seen = GetKeyState(VK_LBUTTON) < 0 ? 2 : 1;
    for (const BarLayout* bar : {&vertical, &horizontal}) {
        const int along = bar->vertical ? pointer.y - bar->rect.top : pointer.x - bar->rect.left;
        const long part = !PtInRect(&bar->rect, pointer) ? 0 : along < bar->thumbAt ? 1 : along < bar->thumbAt + bar->thumb ? 2 : 3;
        for (long value : {bar->rect.left, bar->rect.top, bar->rect.right, bar->rect.bottom, long{bar->thumbAt},
                           long{bar->thumb}, long{bar->disabled}, part}) {
            seen = (seen ^ static_cast<std::uint64_t>(value)) * 1099511628211ull;  // FNV-1a's step
        }
    }
    if (!always && seen == skinned.scrollSeen) return;
    skinned.scrollSeen = seen;
    const WindowDC windowDC(window, GetWindowDC(window));
    HDC dc = windowDC.get();
    if (dc == nullptr) return;
    const Skin& skin = resources.skin();
    if (hasVertical) drawBar(dc, vertical, skin, pointer, skinned.draggedBar == SB_VERT);
    if (hasHorizontal) drawBar(dc, horizontal, skin, pointer, skinned.draggedBar == SB_HORZ);
    if (hasVertical && hasHorizontal) {
        fill(dc, {vertical.rect.left, horizontal.rect.top, vertical.rect.right, horizontal.rect.bottom},
             skin.scrollbarTrack);
    }
}

void paintControlNow(SkinnedWindow& skinned, SkinResources& resources) {
    if (!skinned.redraw || !IsWindowVisible(skinned.window)) return;
    const WindowDC dc(skinned.window, GetDC(skinned.window));
    if (dc.get() != nullptr) paintControl(skinned, dc.get(), resources);
}

}  // namespace skin::win32
