// The engine's decisions that need no window: which windows it paints, which colours a control
// gets when its owner has or has not chosen its own, and where the caption's parts lie.
#pragma once

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
inline constexpr std::uint32_t kBorder = 0x00800000;
inline constexpr std::uint32_t kExClientEdge = 0x00000200;
inline constexpr std::uint32_t kExToolWindow = 0x00000080;
inline constexpr std::uint32_t kExDialogModalFrame = 0x00000001;
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
    Edit,         // a text box whose border the engine paints
};

Role classify(std::wstring_view className, std::uint32_t style, std::uint32_t exStyle);

// The control a WM_CTLCOLOR* message asks about, as seen from the message and the control.
enum class ColourTarget { Label, Edit, ReadOnlyEdit, ListBox, PushButton, CheckBox, GroupBox, Dialog, Other };

enum class ColourMessage { Edit, ListBox, Button, Static, Dialog, ScrollBar };

ColourTarget colourTarget(ColourMessage message, std::wstring_view className, std::uint32_t style);

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
