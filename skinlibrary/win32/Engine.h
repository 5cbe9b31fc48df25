// The engine's state for the process: the skin in force, the windows it paints, the hook that
// finds new windows, the shadow switch and the opacity it set.
#pragma once

#include <windows.h>

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "skinlibrary/SkinFormat.h"
#include "skinlibrary/SkinRules.h"
#include "ui/win32/Owners.h"

namespace skin::win32 {

// One window the engine paints. Freed only when no window procedure of the engine is running
// (see Engine::Busy), because a nested message may unskin the window under an outer one.
struct SkinnedWindow {
    HWND window = nullptr;
    Role role = Role::None;
    const ControlKind* kind = nullptr;  // a child control's row in the rules' table
    bool retired = false;   // no longer skinned; the subclass is gone or going
    bool hasCaption = false;
    bool active = false;
    CaptionPart hotPart = CaptionPart::None;
    CaptionPart pressedPart = CaptionPart::None;
    bool pressedInside = false;
    bool hot = false;       // a control under the pointer
    bool redraw = true;     // WM_SETREDRAW
    bool edge = false;      // a text or list box border the engine paints
    // Kept from WM_SETFOCUS and WM_KILLFOCUS: asking GetFocus while painting is a round trip to
    // the server under Wine, once for every control painted.
    bool focused = false;
    HWND shadow = nullptr;
    // Whom the control's colour messages go to when its parent does not answer them: a combo
    // box's dropped list, which the platform makes a child of the desktop, asks its combo box.
    HWND asks = nullptr;
    int draggedBar = -1;            // SB_VERT, SB_HORZ or SB_CTL while its thumb is dragged
    std::uint64_t scrollSeen = 0;   // what its own scroll bars showed when last painted
    int menuItemShown = -1;         // a popup menu's item painted highlighted (-1: none)
    // A tooltip's own colours, as its host left them before the skin gave it the skin's.
    bool hostColoursKept = false;
    COLORREF hostBackground = 0;
    COLORREF hostText = 0;
};

// The GDI objects of one skin: the brushes WM_CTLCOLOR* answers hand out and the caption font.
class SkinResources {
public:
    explicit SkinResources(const Skin& skin);
    SkinResources(const SkinResources&) = delete;
    SkinResources& operator=(const SkinResources&) = delete;

    const Skin& skin() const { return skin_; }
    HBRUSH brush(Colour colour);
    HFONT captionFont() const { return captionFont_.get(); }
    HFONT menuFont();  // the system's menu font, made on first use

private:
    Skin skin_;
    std::map<Colour, ui::win32::BrushHandle> brushes_;
    ui::win32::FontHandle captionFont_;
    ui::win32::FontHandle menuFont_;
};

// A tooltip takes the skin's colours through its own messages, its theme off (a themed one ignores
// them); the host's are kept, for when the skin lets it go.
void colourTooltip(SkinnedWindow& tip, const Skin& skin);

// Whether the calling thread owns the window: only that thread may subclass it or change what
// the engine keeps about it.
bool ownsWindow(HWND window);

// What a host had set for a window's opacity before the engine first changed it.
struct HostOpacity {
    bool layered = false;
    bool known = false;  // the platform told the attributes (not for windows drawn by UpdateLayeredWindow)
    COLORREF key = 0;
    BYTE alpha = 255;
    DWORD flags = 0;
};

class Engine {
public:
    static Engine& instance();

    // The engine serves one thread: the one whose windows it skins and whose window creation it
    // hooks. Its state is kept without locks for that thread's window procedures, and the
    // platform ties subclasses and hooks to that thread, so a call from another thread, or about
    // a window another thread owns, is turned away (and told why). The one place that decides.
    bool serves(HWND window);

    // Counts the engine's frames on the stack; what was retired is freed when the last one ends.
    class Busy {
    public:
        Busy();
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
    };

    void attach(const Skin& skin);
    // A file that cannot be read or is not a skin changes nothing; why is told (Trace.h).
    void attachFile(const char* ansiPath);
    void detach();
    void detachWindow(HWND window);
    void setShadow(bool on);
    void setOpacity(HWND window, int alpha);

    bool attached() const { return attached_; }
    bool shadowOn() const { return shadow_ && attached_; }
    SkinResources& resources() { return *resources_; }
    const Skin& skin() const { return resources_->skin(); }

    // Called by the hook for every window the thread creates while attached.
    void windowCreated(HWND window, HWND parent);
    // Called by the window procedure when its window is being destroyed.
    void windowDestroyed(SkinnedWindow& skinned);
    // The control under the pointer (nullptr: none). The one before loses its hot look at once,
    // whether or not the platform tells it that the pointer left.
    void markHot(HWND control);
    // The engine's record of a window it paints, or nullptr.
    SkinnedWindow* find(HWND window);
    // The platform's menu loop changed a menu's selection (message: WM_MENUSELECT) or has
    // handled its input (WM_ENTERIDLE) for the menus of `owner`: its own drawing of the
    // highlight is painted over.
    void followMenuLoop(UINT message, HWND owner);

private:
    Engine() = default;
    void skinAllWindows();
    void skinTree(HWND topLevel, HWND focus);
    SkinnedWindow* skinWindow(HWND window, Role role, const ControlKind* kind, HWND focus = nullptr);
    // The popup a control made (a combo box's dropped list), skinned as the control's.
    void skinPopupOf(HWND control);
    // When the platform keeps the subclass (it refuses a thread that does not own the window),
    // the record it points at stays too. A window that is ending loses both.
    void unskin(SkinnedWindow& skinned, bool windowEnding = false);
    void restoreOpacity(HWND window);
    void unskinTree(HWND topLevel);
    void repaintAll();
    void freeRetired();

    std::unique_ptr<SkinResources> resources_;
    bool attached_ = false;
    bool shadow_ = false;
    HHOOK hook_ = nullptr;
    // Watches the messages the menu loop sends to the menus' owners, while a skinned menu is open.
    HHOOK menuHook_ = nullptr;
    int openMenus_ = 0;
    std::map<HWND, std::unique_ptr<SkinnedWindow>> windows_;
    std::vector<std::unique_ptr<SkinnedWindow>> retiredWindows_;
    std::vector<std::unique_ptr<SkinResources>> retiredResources_;
    std::map<HWND, HostOpacity> hostOpacity_;
    std::atomic<DWORD> thread_{0};  // the thread served; 0 while the engine holds nothing
    HWND hot_ = nullptr;
    int busy_ = 0;
};

}  // namespace skin::win32
