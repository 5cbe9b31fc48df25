// The engine's subclass procedures: top-level windows (caption, border, background, their
// controls' colours) and the controls it paints itself. No exception leaves them.
#include <windows.h>

#include <commctrl.h>

#include "skinlibrary/win32/WindowProcs.h"

#include "skinlibrary/win32/Engine.h"
#include "skinlibrary/win32/Painting.h"
#include "skinlibrary/win32/Shadow.h"
#include "skinlibrary/win32/ThemedFrame.h"
#include "ui/win32/Subclass.h"
#include "ui/win32/WindowBasics.h"

namespace skin::win32 {
namespace {

using ui::win32::classNameOf;
using ui::win32::defSubclassProc;

// Mouse positions arrive as two signed 16-bit values.
POINT pointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// The owner answers first; the skin fills in only what it left at the system's defaults.
LRESULT answerColours(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = defSubclassProc(window, message, wParam, lParam);
    Engine& engine = Engine::instance();
    if (!engine.attached()) return result;
    HDC dc = reinterpret_cast<HDC>(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    OwnerColours owner;
    owner.choseBackground = result != 0 && !usesSystemBrush(reinterpret_cast<HBRUSH>(result));
    owner.choseText = GetTextColor(dc) != GetSysColor(COLOR_WINDOWTEXT);
    const ColourTarget target = colourTarget(colourMessageFrom(message), classNameOf(control),
                                             static_cast<std::uint32_t>(GetWindowLongW(control, GWL_STYLE)));
    const ColourAnswer answer = decideColours(target, owner, engine.skin());
    if (answer.setText) SetTextColor(dc, answer.text);
    if (answer.setBackground) {
        SetBkColor(dc, answer.background);
        result = reinterpret_cast<LRESULT>(engine.resources().brush(answer.background));
    }
    return result;
}

// A class background of a system colour becomes the skin's; a window with its own brush, or
// none, keeps it.
bool classBackgroundIsSystem(HWND window) {
    const auto brush = static_cast<ULONG_PTR>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND));
    if (brush == 0) return false;
    if (brush <= COLOR_MENUBAR + 1) return true;
    return usesSystemBrush(reinterpret_cast<HBRUSH>(brush));
}

UINT systemCommandFor(HWND window, CaptionPart part) {
    switch (part) {
    case CaptionPart::Close:
        return SC_CLOSE;
    case CaptionPart::Minimize:
        return SC_MINIMIZE;
    case CaptionPart::Maximize:
        return IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE;
    default:
        return 0;
    }
}

struct HitPart {
    LRESULT hit;
    CaptionPart part;
};
constexpr HitPart kHitParts[] = {
    {HTCLOSE, CaptionPart::Close},   {HTMINBUTTON, CaptionPart::Minimize}, {HTMAXBUTTON, CaptionPart::Maximize},
    {HTSYSMENU, CaptionPart::Icon},  {HTCAPTION, CaptionPart::Bar},
};

// The caption button pressed, if the hit is one.
CaptionPart buttonForHit(WPARAM hit) {
    for (const HitPart& entry : kHitParts) {
        if (static_cast<WPARAM>(entry.hit) == hit && entry.part != CaptionPart::Icon && entry.part != CaptionPart::Bar) {
            return entry.part;
        }
    }
    return CaptionPart::None;
}

LRESULT hitFor(CaptionPart part, LRESULT fallback) {
    for (const HitPart& entry : kHitParts) {
        if (entry.part == part) return entry.hit;
    }
    return fallback;
}

// The pointer's position in window coordinates.
POINT windowPoint(HWND window, POINT screen) {
    RECT frame;
    GetWindowRect(window, &frame);
    return {screen.x - frame.left, screen.y - frame.top};
}

bool stillSkinned(const SkinnedWindow& skinned) { return !skinned.retired && IsWindow(skinned.window); }

// Posted to a window whose scroll bar moved: while the user holds a scroll bar's arrow or drags
// its thumb, the platform tells the owner first and draws the bar after, in a loop of its own
// that still dispatches posted messages; so the engine paints the bar again when this arrives.
UINT scrollBarsMoved() {
    static const UINT message = RegisterWindowMessageW(L"SkinH_VB6 scroll bars moved");
    return message;
}

// The owner hears of a scroll: the bar's record notes a thumb being dragged, and is told to paint.
void noteScroll(SkinnedWindow& owner, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND control = reinterpret_cast<HWND>(lParam);
    SkinnedWindow* bar = control != nullptr ? Engine::instance().find(control) : &owner;
    if (bar == nullptr) return;
    const int which = control != nullptr ? SB_CTL : message == WM_VSCROLL ? SB_VERT : SB_HORZ;
    if (LOWORD(wParam) == SB_THUMBTRACK) bar->draggedBar = which;
    if (LOWORD(wParam) == SB_THUMBPOSITION || LOWORD(wParam) == SB_ENDSCROLL) bar->draggedBar = -1;
    PostMessageW(bar->window, scrollBarsMoved(), 0, 0);
}

// After the platform's own handling: the pointer over a bar or leaving it, and its painting of
// the frame, draw the system's bars whatever they show; other messages only when what they show changed.
void followScrollBars(SkinnedWindow& skinned, UINT message, WPARAM wParam) {
    if (!stillSkinned(skinned)) return;
    const bool overBar = message == WM_NCMOUSEMOVE && (wParam == HTVSCROLL || wParam == HTHSCROLL);
    const bool always = message == WM_NCPAINT || message == WM_NCMOUSELEAVE || overBar;
    if (always || mayMoveScrollBars(message)) paintScrollBars(skinned, Engine::instance().resources(), always);
}

// The caption is drawn again only when the part under the pointer or pressed changes.
void changePart(SkinnedWindow& skinned, CaptionPart& field, CaptionPart part) {
    if (field == part) return;
    field = part;
    repaintFrame(skinned);
}

// The caption's buttons answer as the platform's own would.
LRESULT hitTest(SkinnedWindow& skinned, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = skinned.window;
    LRESULT fallback = defSubclassProc(window, message, wParam, lParam);
    if (IsIconic(window)) return fallback;
    POINT point = windowPoint(window, pointOf(lParam));
    return hitFor(captionPartAt(captionLayoutOf(window), point.x, point.y), fallback);
}

void hoverCaption(SkinnedWindow& skinned, LPARAM lParam) {
    HWND window = skinned.window;
    Engine::instance().markHot(nullptr);
    POINT point = windowPoint(window, pointOf(lParam));
    changePart(skinned, skinned.hotPart, captionPartAt(captionLayoutOf(window), point.x, point.y));
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, window, 0};
    TrackMouseEvent(&track);
}

// Messages after which the platform may have drawn its own caption over ours.
LRESULT passOnAndRepaint(SkinnedWindow& skinned, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = skinned.window;
    LRESULT result = defSubclassProc(window, message, wParam, lParam);
    if (message == WM_STYLECHANGED && stillSkinned(skinned)) {
        skinned.hasCaption = (GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    }
    repaintFrame(skinned);
    return result;
}

LRESULT pressCaption(SkinnedWindow& skinned, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = skinned.window;
    CaptionPart part = buttonForHit(wParam);
    if (part == CaptionPart::None) {
        LRESULT result = defSubclassProc(window, message, wParam, lParam);
        repaintFrame(skinned);
        return result;
    }
    // The caption buttons are ours: the platform's own tracking would draw its buttons.
    skinned.pressedPart = part;
    skinned.pressedInside = true;
    SetCapture(window);
    repaintFrame(skinned);
    return 0;
}

// The pressed button looks pressed only while the pointer is over it.
void followPressedButton(SkinnedWindow& skinned, LPARAM lParam) {
    HWND window = skinned.window;
    POINT screen = pointOf(lParam);
    ClientToScreen(window, &screen);
    POINT point = windowPoint(window, screen);
    bool inside = captionPartAt(captionLayoutOf(window), point.x, point.y) == skinned.pressedPart;
    if (inside != skinned.pressedInside) {
        skinned.pressedInside = inside;
        repaintFrame(skinned);
    }
}

// Released over the button, its command goes to the window.
void releasePressedButton(SkinnedWindow& skinned) {
    HWND window = skinned.window;
    const CaptionPart part = skinned.pressedPart;
    const bool inside = skinned.pressedInside;
    skinned.pressedPart = CaptionPart::None;
    ReleaseCapture();
    repaintFrame(skinned);
    if (inside) PostMessageW(window, WM_SYSCOMMAND, systemCommandFor(window, part), 0);
}

LRESULT handleCaption(SkinnedWindow& skinned, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    HWND window = skinned.window;
    // The system's own caption painting is kept away (ThemedFrame.h).
    LRESULT answer = 0;
    if (answerWithoutSystemCaption(skinned, message, wParam, lParam, answer)) {
        handled = true;
        return answer;
    }
    handled = true;
    switch (message) {
    case WM_NCPAINT:
        if (IsIconic(window)) break;
        if (GetMenu(window) != nullptr || (GetWindowLongW(window, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL))) {
            defSubclassProc(window, message, wParam, lParam);  // the menu bar and scroll bars stay the system's
        }
        repaintFrame(skinned);
        return 0;
    case WM_NCHITTEST:
        return hitTest(skinned, message, wParam, lParam);
    case WM_NCMOUSEMOVE:
        hoverCaption(skinned, lParam);
        break;
    case WM_NCMOUSELEAVE:
        changePart(skinned, skinned.hotPart, CaptionPart::None);
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        return pressCaption(skinned, message, wParam, lParam);
    case WM_MOUSEMOVE:
        if (skinned.pressedPart == CaptionPart::None) {
            Engine::instance().markHot(nullptr);  // the pointer is over the window itself
            break;
        }
        followPressedButton(skinned, lParam);
        return 0;
    case WM_LBUTTONUP:
        if (skinned.pressedPart == CaptionPart::None) break;
        releasePressedButton(skinned);
        return 0;
    case WM_CAPTURECHANGED:
        changePart(skinned, skinned.pressedPart, CaptionPart::None);
        break;
    case WM_SYSCOMMAND:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_STYLECHANGED:
    case WM_EXITMENULOOP:
        return passOnAndRepaint(skinned, message, wParam, lParam);
    default:
        break;
    }
    handled = false;
    return 0;
}

LRESULT handleTopLevel(SkinnedWindow& skinned, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = skinned.window;
    switch (message) {
    case WM_NCDESTROY:
        Engine::instance().windowDestroyed(skinned);
        return defSubclassProc(window, message, wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
        return answerColours(window, message, wParam, lParam);
    case WM_ERASEBKGND:
        if (classBackgroundIsSystem(window)) {
            RECT client;
            GetClientRect(window, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client,
                     Engine::instance().resources().brush(Engine::instance().skin().windowBackground));
            return 1;
        }
        break;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        SkinnedWindow* control = item != nullptr ? Engine::instance().find(item->hwndItem) : nullptr;
        if (control == nullptr || control->kind == nullptr || !control->kind->recolourItems) break;
        return drawEntryInSkin(*item, Engine::instance().resources(),
                               [&] { return defSubclassProc(window, message, wParam, lParam); });
    }
    case WM_WINDOWPOSCHANGED:
    case WM_SHOWWINDOW: {
        LRESULT result = defSubclassProc(window, message, wParam, lParam);
        if (stillSkinned(skinned) && skinned.shadow != nullptr) placeShadow(skinned.shadow, window);
        return result;
    }
    default:
        break;
    }
    if (skinned.hasCaption) {
        bool handled = false;
        LRESULT result = handleCaption(skinned, message, wParam, lParam, handled);
        if (handled) return result;
    }
    return defSubclassProc(window, message, wParam, lParam);
}

// The rules name the platform's messages by number.
static_assert(msg::kSetText == WM_SETTEXT && msg::kEnable == WM_ENABLE && msg::kSetFocus == WM_SETFOCUS &&
              msg::kKillFocus == WM_KILLFOCUS && msg::kLButtonDown == WM_LBUTTONDOWN &&
              msg::kLButtonUp == WM_LBUTTONUP && msg::kLButtonDblClk == WM_LBUTTONDBLCLK &&
              msg::kMouseMove == WM_MOUSEMOVE && msg::kKeyDown == WM_KEYDOWN && msg::kKeyUp == WM_KEYUP &&
              msg::kChar == WM_CHAR && msg::kCaptureChanged == WM_CAPTURECHANGED &&
              msg::kUpdateUiState == WM_UPDATEUISTATE && msg::kSetFont == WM_SETFONT &&
              msg::kStyleChanged == WM_STYLECHANGED && msg::kTimer == WM_TIMER && msg::kVScroll == WM_VSCROLL &&
              msg::kMouseWheel == WM_MOUSEWHEEL);
static_assert(msg::kButtonSetCheck == BM_SETCHECK && msg::kButtonSetState == BM_SETSTATE &&
              msg::kButtonSetStyle == BM_SETSTYLE && msg::kButtonClick == BM_CLICK);
static_assert(msg::kListSetSel == LB_SETSEL && msg::kListSetCurSel == LB_SETCURSEL &&
              msg::kListSetTopIndex == LB_SETTOPINDEX && msg::kListSelItemRange == LB_SELITEMRANGE &&
              msg::kListSelItemRangeEx == LB_SELITEMRANGEEX && msg::kListSetCaretIndex == LB_SETCARETINDEX);
static_assert(msg::kComboSetCurSel == CB_SETCURSEL && msg::kComboShowDropDown == CB_SHOWDROPDOWN &&
              msg::kCommand == WM_COMMAND);
static_assert(style::kComboSimple == CBS_SIMPLE && style::kComboDropDownList == CBS_DROPDOWNLIST);
static_assert(msg::kScrollSetPos == SBM_SETPOS && msg::kScrollSetRange == SBM_SETRANGE &&
              msg::kScrollSetRangeRedraw == SBM_SETRANGEREDRAW && msg::kScrollEnableArrows == SBM_ENABLE_ARROWS &&
              msg::kScrollSetInfo == SBM_SETSCROLLINFO && msg::kMouseLeave == WM_MOUSELEAVE);
static_assert(style::kScrollSizeBox == SBS_SIZEBOX && style::kScrollSizeGrip == SBS_SIZEGRIP);
static_assert(msg::kProgressSetRange == PBM_SETRANGE && msg::kProgressSetPos == PBM_SETPOS &&
              msg::kProgressDeltaPos == PBM_DELTAPOS && msg::kProgressStepIt == PBM_STEPIT &&
              msg::kProgressSetRange32 == PBM_SETRANGE32 && style::kProgressMarquee == PBS_MARQUEE);
static_assert(msg::kTrackSetTic == TBM_SETTIC && msg::kTrackSetPos == TBM_SETPOS && msg::kTrackSetRange == TBM_SETRANGE &&
              msg::kTrackSetRangeMin == TBM_SETRANGEMIN && msg::kTrackSetRangeMax == TBM_SETRANGEMAX &&
              msg::kTrackClearTics == TBM_CLEARTICS);
static_assert(msg::kTabSetItemA == TCM_SETITEMA && msg::kTabInsertItemA == TCM_INSERTITEMA &&
              msg::kTabDeleteItem == TCM_DELETEITEM && msg::kTabDeleteAllItems == TCM_DELETEALLITEMS &&
              msg::kTabSetCurSel == TCM_SETCURSEL && msg::kTabSetCurFocus == TCM_SETCURFOCUS &&
              msg::kTabSetItemW == TCM_SETITEMW && msg::kTabInsertItemW == TCM_INSERTITEMW);
static_assert(style::kTabBottomOrRight == TCS_BOTTOM && style::kTabBottomOrRight == TCS_RIGHT &&
              style::kTabVertical == TCS_VERTICAL && style::kTabButtons == TCS_BUTTONS &&
              style::kTabOwnerDrawFixed == TCS_OWNERDRAWFIXED);
static_assert(msg::kStatusSetTextA == SB_SETTEXTA && msg::kStatusSetParts == SB_SETPARTS &&
              msg::kStatusSimple == SB_SIMPLE && msg::kStatusSetTextW == SB_SETTEXTW && msg::kStatusSetIcon == SB_SETICON);

// A text box keeps its own painting inside; only its border is the engine's.
LRESULT handleEdge(SkinnedWindow& skinned, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = defSubclassProc(skinned.window, message, wParam, lParam);
    if (!stillSkinned(skinned) || !skinned.edge) return result;
    switch (message) {
    case WM_NCPAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_STYLECHANGED:
        paintEdge(skinned, Engine::instance().resources());
        break;
    default:
        break;
    }
    return result;
}

LRESULT handleControl(SkinnedWindow& skinned, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = skinned.window;
    if (message == WM_NCDESTROY) {
        Engine::instance().windowDestroyed(skinned);
        return defSubclassProc(window, message, wParam, lParam);
    }
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) skinned.focused = message == WM_SETFOCUS;
    if (skinned.kind == nullptr) return defSubclassProc(window, message, wParam, lParam);
    if (message == WM_CREATE && skinned.role == Role::Tooltip) {
        // Made while the skin is on: it takes the skin's colours once it has set up its own.
        const LRESULT result = defSubclassProc(window, message, wParam, lParam);
        if (result != -1 && stillSkinned(skinned)) colourTooltip(skinned, Engine::instance().skin());
        return result;
    }
    if (skinned.kind->painter == Painter::Platform || (message == WM_NCPAINT && skinned.edge)) {
        return handleEdge(skinned, message, wParam, lParam);
    }
    const bool over = paintsOverPlatform(skinned.kind->painter);
    switch (message) {
    case WM_PAINT: {
        if (over) {
            LRESULT result = defSubclassProc(window, message, wParam, lParam);
            if (stillSkinned(skinned)) paintControlNow(skinned, Engine::instance().resources());
            return result;
        }
        const ui::win32::PaintDC paint(window);
        paintControl(skinned, paint.get(), Engine::instance().resources());
        return 0;
    }
    case WM_PRINTCLIENT:
        if (over) defSubclassProc(window, message, wParam, lParam);
        paintControl(skinned, reinterpret_cast<HDC>(wParam), Engine::instance().resources());
        return 0;
    case WM_ERASEBKGND:
        if (over) break;
        return 1;  // the painting covers the whole control
    case WM_SETREDRAW: {
        LRESULT result = defSubclassProc(window, message, wParam, lParam);
        skinned.redraw = wParam != 0;
        return result;
    }
    case WM_MOUSEMOVE:
        if (!skinned.hot) {
            skinned.hot = true;
            Engine::instance().markHot(window);
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
            TrackMouseEvent(&track);
            LRESULT result = defSubclassProc(window, message, wParam, lParam);
            if (stillSkinned(skinned)) paintControlNow(skinned, Engine::instance().resources());
            return result;
        }
        break;
    case WM_MOUSELEAVE:
        Engine::instance().markHot(nullptr);
        if (skinned.hot) {
            skinned.hot = false;
            paintControlNow(skinned, Engine::instance().resources());
        }
        break;
    default:
        break;
    }
    LRESULT result = defSubclassProc(window, message, wParam, lParam);
    if (!stillSkinned(skinned)) return result;
    SkinResources& resources = Engine::instance().resources();
    if (repaintsAfter(*skinned.kind, message, (wParam & MK_LBUTTON) != 0)) paintControlNow(skinned, resources);
    if (skinned.edge && (message == WM_SETFOCUS || message == WM_KILLFOCUS || message == WM_ENABLE)) {
        paintEdge(skinned, resources);
    }
    return result;
}

using Handler = LRESULT (*)(SkinnedWindow&, UINT, WPARAM, LPARAM);

// Around either procedure: the scroll bars, the window's own and a scroll bar control, painted
// again after the messages that move them.
LRESULT withScrollBars(Handler handler, SkinnedWindow& skinned, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == scrollBarsMoved()) {
        if (skinned.kind != nullptr && skinned.kind->painter == Painter::ScrollBar) {
            paintControlNow(skinned, Engine::instance().resources());
        }
        paintScrollBars(skinned, Engine::instance().resources(), true);
        return 0;
    }
    if (message == WM_VSCROLL || message == WM_HSCROLL) noteScroll(skinned, message, wParam, lParam);
    const LRESULT result = handler(skinned, message, wParam, lParam);
    followScrollBars(skinned, message, wParam);
    return result;
}

LRESULT dispatch(Handler handler, HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR data) {
    Engine::Busy busy;
    auto* skinned = reinterpret_cast<SkinnedWindow*>(data);
    try {
        if (skinned == nullptr || skinned->retired) return defSubclassProc(window, message, wParam, lParam);
        return withScrollBars(handler, *skinned, message, wParam, lParam);
    } catch (...) {
        return defSubclassProc(window, message, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK topLevelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    return dispatch(handleTopLevel, window, message, wParam, lParam, data);
}

LRESULT CALLBACK controlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    return dispatch(handleControl, window, message, wParam, lParam, data);
}

}  // namespace skin::win32
