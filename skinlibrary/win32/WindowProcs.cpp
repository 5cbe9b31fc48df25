// The engine's subclass procedures: top-level windows (caption, border, background, their
// controls' colours) and the controls it paints itself. No exception leaves them.
#include <windows.h>

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

ColourMessage colourMessageOf(UINT message) {
    switch (message) {
    case WM_CTLCOLOREDIT:
        return ColourMessage::Edit;
    case WM_CTLCOLORLISTBOX:
        return ColourMessage::ListBox;
    case WM_CTLCOLORBTN:
        return ColourMessage::Button;
    case WM_CTLCOLORDLG:
        return ColourMessage::Dialog;
    case WM_CTLCOLORSCROLLBAR:
        return ColourMessage::ScrollBar;
    default:
        return ColourMessage::Static;
    }
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
    const ColourTarget target = colourTarget(colourMessageOf(message), classNameOf(control),
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

// Messages after which the platform's control proc may have painted itself directly.
bool mayPaintDirectly(Role role, UINT message, WPARAM wParam) {
    switch (message) {
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE:
    case WM_SETFONT:
    case WM_STYLECHANGED:
        return true;
    case WM_MOUSEMOVE:
        return (wParam & MK_LBUTTON) != 0;
    default:
        break;
    }
    if (role == Role::ListBox) {
        switch (message) {
        case LB_SETCURSEL:
        case LB_SETSEL:
        case LB_SETCARETINDEX:
        case LB_SELITEMRANGE:
        case LB_SELITEMRANGEEX:
        case LB_SETTOPINDEX:
        case WM_TIMER:
        case WM_VSCROLL:
        case WM_MOUSEWHEEL:
            return true;
        default:
            return false;
        }
    }
    return message == BM_SETSTATE || message == BM_SETCHECK || message == BM_SETSTYLE || message == BM_CLICK;
}

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
        paintEdge(skinned);
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
    if (skinned.role == Role::Edit || (message == WM_NCPAINT && skinned.edge)) {
        return handleEdge(skinned, message, wParam, lParam);
    }
    switch (message) {
    case WM_PAINT: {
        const ui::win32::PaintDC paint(window);
        paintControl(skinned, paint.get());
        return 0;
    }
    case WM_PRINTCLIENT:
        paintControl(skinned, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
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
            if (stillSkinned(skinned)) paintControlNow(skinned);
            return result;
        }
        break;
    case WM_MOUSELEAVE:
        Engine::instance().markHot(nullptr);
        if (skinned.hot) {
            skinned.hot = false;
            paintControlNow(skinned);
        }
        break;
    default:
        break;
    }
    LRESULT result = defSubclassProc(window, message, wParam, lParam);
    if (!stillSkinned(skinned)) return result;
    if (mayPaintDirectly(skinned.role, message, wParam)) paintControlNow(skinned);
    if (skinned.edge && (message == WM_SETFOCUS || message == WM_KILLFOCUS || message == WM_ENABLE)) {
        paintEdge(skinned);
    }
    return result;
}

using Handler = LRESULT (*)(SkinnedWindow&, UINT, WPARAM, LPARAM);

LRESULT dispatch(Handler handler, HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR data) {
    Engine::Busy busy;
    auto* skinned = reinterpret_cast<SkinnedWindow*>(data);
    try {
        if (skinned == nullptr || skinned->retired) return defSubclassProc(window, message, wParam, lParam);
        return handler(*skinned, message, wParam, lParam);
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
