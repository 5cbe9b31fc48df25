// The engine's decisions that need no window: which windows it paints, which colours a control
// gets when its owner has or has not chosen its own, and where the caption's parts lie.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "skinlibrary/SkinFormat.h"

namespace skin {

// The platform's style bits the decisions read (same values as the platform headers).
namespace style {
inline constexpr std::uint32_t kChild = 0x40000000;
inline constexpr std::uint32_t kCaption = 0x00C00000;
inline constexpr std::uint32_t kSysMenu = 0x00080000;
inline constexpr std::uint32_t kMinimizeBox = 0x00020000;
inline constexpr std::uint32_t kMaximizeBox = 0x00010000;
inline constexpr std::uint32_t kButtonTypeMask = 0x0000000F;
inline constexpr std::uint32_t kButtonIcon = 0x00000040;
inline constexpr std::uint32_t kButtonBitmap = 0x00000080;
inline constexpr std::uint32_t kButtonPushLike = 0x00001000;
inline constexpr std::uint32_t kListOwnerDrawFixed = 0x0010;
inline constexpr std::uint32_t kListOwnerDrawVariable = 0x0020;
inline constexpr std::uint32_t kListMultiColumn = 0x0200;
inline constexpr std::uint32_t kListNoData = 0x2000;
inline constexpr std::uint32_t kComboOwnerDrawFixed = 0x0010;
inline constexpr std::uint32_t kComboOwnerDrawVariable = 0x0020;
inline constexpr std::uint32_t kComboTypeMask = 0x0003;
inline constexpr std::uint32_t kComboSimple = 0x0001;
inline constexpr std::uint32_t kComboDropDownList = 0x0003;
inline constexpr std::uint32_t kBorder = 0x00800000;
inline constexpr std::uint32_t kExClientEdge = 0x00000200;
inline constexpr std::uint32_t kExToolWindow = 0x00000080;
inline constexpr std::uint32_t kExDialogModalFrame = 0x00000001;
inline constexpr std::uint32_t kScrollSizeBox = 0x0008;  // SBS_SIZEBOX (SBS_SIZEGRIP is 0x0010)
inline constexpr std::uint32_t kScrollSizeGrip = 0x0010;
inline constexpr std::uint32_t kProgressMarquee = 0x0008;
inline constexpr std::uint32_t kTabBottomOrRight = 0x0002, kTabVertical = 0x0080, kTabButtons = 0x0100,
                               kTabOwnerDrawFixed = 0x2000;
}  // namespace style

// What the engine does with a window.
enum class Role {
    None,         // left to the platform (its colours may still come from its parent)
    TopLevel,     // caption, border and background painted by the engine
    Container,    // a child dialog: background and its controls' colours
    PushButton,   // painted by the engine
    CheckBox,
    RadioButton,
    GroupBox,
    ListBox,      // entries and selection painted by the engine
    OwnerDrawnListBox,  // entries drawn by the owner, in the system's colours turned into the skin's
    OwnerDrawnComboBox, // the same for the field and the dropped list's entries
    ComboBox,     // frame, drop button and (a drop-down list's) field painted by the engine
    DroppedList,  // a combo box's list: entries, selection and border
    ScrollBar,    // the scroll bar control, painted whole
    Edit,         // a text box whose border the engine paints
    Menu,         // a popup menu's window: its items, margins and border
    Tooltip,      // a tooltip of a skinned window: its colours through its own messages, its border
    ProgressBar,  // the common controls below, painted whole
    Trackbar,
    TabControl,
    StatusBar,
};

// The control a WM_CTLCOLOR* message asks about, as seen from the message and the control.
enum class ColourTarget { Label, Edit, ReadOnlyEdit, ListBox, PushButton, CheckBox, GroupBox, Dialog, Other };

enum class ColourMessage { Edit, ListBox, Button, Static, Dialog, ScrollBar };

// The platform's message numbers the rules read (same values as the platform headers).
namespace msg {
inline constexpr std::uint32_t kSetText = 0x000C, kEnable = 0x000A, kSetFocus = 0x0007, kKillFocus = 0x0008;
inline constexpr std::uint32_t kLButtonDown = 0x0201, kLButtonUp = 0x0202, kLButtonDblClk = 0x0203;
inline constexpr std::uint32_t kMouseMove = 0x0200, kKeyDown = 0x0100, kKeyUp = 0x0101, kChar = 0x0102;
inline constexpr std::uint32_t kCaptureChanged = 0x0215, kUpdateUiState = 0x0128, kSetFont = 0x0030;
inline constexpr std::uint32_t kStyleChanged = 0x007D, kTimer = 0x0113, kVScroll = 0x0115, kMouseWheel = 0x020A;
inline constexpr std::uint32_t kButtonSetCheck = 0x00F1, kButtonSetState = 0x00F3, kButtonSetStyle = 0x00F4,
                               kButtonClick = 0x00F5;
inline constexpr std::uint32_t kListSetSel = 0x0185, kListSetCurSel = 0x0186, kListSetTopIndex = 0x0197,
                               kListSelItemRange = 0x019B, kListSelItemRangeEx = 0x0183,
                               kListSetCaretIndex = 0x019E;
inline constexpr std::uint32_t kComboSetCurSel = 0x014E, kComboShowDropDown = 0x014F, kCommand = 0x0111;
inline constexpr std::uint32_t kScrollSetPos = 0x00E0, kScrollSetRange = 0x00E2, kScrollSetRangeRedraw = 0x00E6,
                               kScrollEnableArrows = 0x00E4, kScrollSetInfo = 0x00E9, kMouseLeave = 0x02A3;
inline constexpr std::uint32_t kProgressSetRange = 0x0401, kProgressSetPos = 0x0402, kProgressDeltaPos = 0x0403,
                               kProgressStepIt = 0x0405, kProgressSetRange32 = 0x0406;
inline constexpr std::uint32_t kTrackSetTic = 0x0404, kTrackSetPos = 0x0405, kTrackSetRange = 0x0406,
                               kTrackSetRangeMin = 0x0407, kTrackSetRangeMax = 0x0408, kTrackClearTics = 0x0409;
inline constexpr std::uint32_t kTabSetItemA = 0x1306, kTabInsertItemA = 0x1307, kTabDeleteItem = 0x1308,
                               kTabDeleteAllItems = 0x1309, kTabSetCurSel = 0x130C, kTabSetCurFocus = 0x1330,
                               kTabSetItemW = 0x133D, kTabInsertItemW = 0x133E;
inline constexpr std::uint32_t kStatusSetTextA = 0x0401, kStatusSetParts = 0x0404, kStatusSimple = 0x0409,
                               kStatusSetTextW = 0x040B, kStatusSetIcon = 0x040F;
}  // namespace msg

// Which of the engine's subclass procedures a kind of window gets.
enum class Procedure { None, Window, Control };

// How the engine paints the inside of a control: Platform leaves it to the control's own
// procedure (the engine may still draw its edge).
// ComboBox paints over what the control's own procedure painted (Painting.cpp says which painters do).
enum class Painter {
    Platform, PushButton, CheckBox, RadioButton, GroupBox, ListBox, ComboBox, ScrollBar, Menu,
    ProgressBar, Trackbar, TabControl, StatusBar
};

// The messages after which a control's own procedure may have painted it directly, so that the
// engine paints it again: those every control shares, and its own kind's.
struct Messages {
    const std::uint32_t* begin;
    std::size_t count;
};

// One kind of child control: how it is recognised, how it is painted and when, whether the
// engine draws its edge, and what a colour message about it asks for.
struct ControlKind {
    std::wstring_view className;                           // as registered, any case
    bool (*recognises)(std::uint32_t style, std::uint32_t exStyle);  // nullptr: every style
    Role role;
    Procedure procedure;
    Painter painter;
    bool ownEdge;               // the engine draws its border when it has one (WS_BORDER, client edge)
    bool recolourItems;         // its owner draws its entries (WM_DRAWITEM); the engine turns the
                                // system's list colours in them into the skin's
    ColourMessage asks;         // what its own painting asks its parent with
    ColourTarget target;        // what a button or static colour message about it asks for
    Messages repaintAfter;      // besides the messages every control shares
    bool popup = false;         // also a top-level window, owned by a control the engine skins
};

// The kind of a child window (nullptr: none the engine knows, a label's colours at most).
const ControlKind* kindOf(std::wstring_view className, std::uint32_t style, std::uint32_t exStyle);

Role classify(std::wstring_view className, std::uint32_t style, std::uint32_t exStyle);

ColourTarget colourTarget(ColourMessage message, std::wstring_view className, std::uint32_t style);

// Whether the control's own procedure may have painted it after this message. A mouse move
// counts while the left button is down, or always for a kind that lists it (a dropped list
// follows the pointer).
bool repaintsAfter(const ControlKind& kind, std::uint32_t message, bool leftButtonDown);

// A read-only or disabled text box asks for its colours with the static message.
ColourMessage colourMessageOf(const ControlKind& kind, bool readOnlyOrDisabled);

// A control's state at the moment it is painted.
struct ControlState {
    bool hot = false;        // under the pointer
    bool pressed = false;    // held down
    bool disabled = false;
    bool focused = false;
    bool checked = false;
    bool indeterminate = false;
    bool selected = false;   // a list entry
    bool isDefault = false;  // the default push button
};

// What a part of a control is painted with in a state. text is the owner's or the skin's text
// colour as the parent answered it; the rules dim it for a disabled control.
// ScrollButton: an arrow button or the thumb of a scroll bar; ScrollTrack: the rest of it.
// MenuItem: an item of a menu bar or popup menu (selected: highlighted), its separator lines in
// the border colour. Tooltip: its background (face), text and border.
// Progress: face the empty part, mark the filled one. TrackbarThumb: border the channel and the
// thumb's outline, mark the ticks. Tab: a tab (selected or not), border the tabs' and page's
// outline. Status: a status bar, border its parts' outline.
enum class Part {
    PushButton, CheckBox, Edge, ListEntry, GroupLabel, ComboButton, ScrollButton, ScrollTrack,
    MenuItem, Tooltip, Progress, TrackbarThumb, Tab, Status
};

struct PartColours {
    Colour face = 0;     // fill (push button, check box inside, list entry background)
    Colour border = 0;   // outline
    Colour mark = 0;     // tick or dot
    Colour text = 0;
    bool filled = true;  // false: the entry shows the list's own background
};

PartColours partColours(Part part, const ControlState& state, const Skin& skin, Colour text);

// The platform's colours an owner draws a list entry with, as the platform gives them now.
struct SystemColours {
    Colour window = 0;
    Colour windowText = 0;
    Colour highlight = 0;
    Colour highlightText = 0;
};

// What a pixel of an owner-drawn entry shows under the skin: the system's background and text of
// an entry (selected or not) become the skin's list colours; any other colour is the owner's own
// (its pictures, its chosen colours) and stays.
Colour entryPixel(Colour pixel, bool selected, const SystemColours& system, const Skin& skin);

// What the owner's own handling left in the control's colours.
struct OwnerColours {
    bool choseBackground;  // its brush is not one of the system's colour brushes
    bool choseText;        // its text colour is not the system's default
};

struct ColourAnswer {
    bool setText = false;
    Colour text = 0;
    bool setBackground = false;
    Colour background = 0;
};

// A background the owner chose keeps the owner's text colour too: the pair was chosen together.
ColourAnswer decideColours(ColourTarget target, OwnerColours owner, const Skin& skin);

// Where a scroll bar's thumb starts, in pixels from the bar's start, for a position within the
// range (the position being dragged to while the thumb is dragged). length: the bar's; arrow:
// one arrow button's; thumb: the thumb's length.
struct ScrollRange {
    int min = 0;
    int max = 0;
    unsigned page = 0;
    int pos = 0;
};
int thumbStart(int length, int arrow, int thumb, const ScrollRange& range);

// How much of `length` a position within [low, high] stands for, rounded down as the platform
// does (a progress bar's filled part, a trackbar's tick's way along its thumb's travel); nothing
// for an empty range.
int lengthAt(int length, int low, int high, int pos);

// Whether a window's own scroll bars may have moved, or been drawn by the platform, while its
// procedure handled this message (a new entry, a key, a wheel turn, the pointer over them).
bool mayMoveScrollBars(std::uint32_t message);

// Caption geometry in window coordinates (0, 0 is the window's top-left corner).
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

struct FrameGeometry {
    int width = 0;
    int height = 0;
    Box client;  // the client area within the window
    int captionHeight = 0;
    bool sysMenu = false;
    bool minimizeBox = false;
    bool maximizeBox = false;
    bool icon = false;
};

struct CaptionLayout {
    Box bar;
    Box icon;
    Box title;
    Box close;
    Box maximize;
    Box minimize;
};

CaptionLayout layoutCaption(const FrameGeometry& frame);

enum class CaptionPart { None, Bar, Icon, Close, Maximize, Minimize };

CaptionPart captionPartAt(const CaptionLayout& layout, int x, int y);

}  // namespace skin
