#include "skinlibrary/win32/Engine.h"

#include <commctrl.h>

#include <cstring>
#include <string>
#include <utility>

#include "skinlibrary/win32/Painting.h"
#include "skinlibrary/win32/Shadow.h"
#include "skinlibrary/win32/SystemColours.h"
#include "skinlibrary/win32/ThemedFrame.h"
#include "skinlibrary/win32/Trace.h"
#include "skinlibrary/win32/WindowProcs.h"
#include "ui/win32/Subclass.h"
#include "ui/win32/WindowBasics.h"

namespace skin::win32 {
namespace {

// A skin file is a page of text; anything far larger is not one.
constexpr DWORD kMaxSkinFileBytes = 256 * 1024;

// A number in decimal digits. Not std::to_wstring: it goes through the wide printf, which made the
// library some ten kilobytes larger.
std::wstring decimal(unsigned long long value) {
    const std::string digits = std::to_string(value);
    return std::wstring(digits.begin(), digits.end());
}

std::wstring errorText(DWORD error) { return L" (error " + decimal(error) + L")"; }

// The file's bytes, or why there are none.
struct SkinFileText {
    std::optional<std::string> bytes;
    std::wstring why;
};

SkinFileText readSkinFile(const std::wstring& path) {
    const ui::win32::KernelHandle owner(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    HANDLE file = owner.get();
    if (!owner.valid()) return {std::nullopt, L"cannot open the file" + errorText(GetLastError())};
    SkinFileText text;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        text.why = L"cannot read the file" + errorText(GetLastError());
    } else if (size.QuadPart > kMaxSkinFileBytes) {
        text.why = L"larger than " + decimal(kMaxSkinFileBytes / 1024) + L" KiB";
    } else {
        std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        if (bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                              read == bytes.size())) {
            text.bytes = std::move(bytes);
        } else {
            text.why = L"cannot read the file" + errorText(GetLastError());
        }
    }
    return text;
}

// "file(line): why", the form a debugger's output window lets the author jump from.
void tellRefusal(const std::wstring& file, int line, const std::wstring& why) {
    tell(file + (line > 0 ? L"(" + decimal(line) + L")" : L"") + L": SkinH_VB6 refused this skin: " + why);
}

std::uint32_t styleOf(HWND window) { return static_cast<std::uint32_t>(GetWindowLongW(window, GWL_STYLE)); }

std::uint32_t exStyleOf(HWND window) { return static_cast<std::uint32_t>(GetWindowLongW(window, GWL_EXSTYLE)); }

// What the engine does with a window, and for a child control the row of its kind.
struct Recognised {
    Role role = Role::None;
    const ControlKind* kind = nullptr;
};

Recognised recognise(HWND window) {
    const std::wstring className = ui::win32::classNameOf(window);
    const std::uint32_t style = styleOf(window);
    const std::uint32_t exStyle = exStyleOf(window);
    Recognised found;
    found.role = classify(className, style, exStyle);
    if (found.role != Role::None && found.role != Role::TopLevel) found.kind = kindOf(className, style, exStyle);
    return found;
}

ui::win32::SubclassProcedure procedureFor(const SkinnedWindow& skinned) {
    const bool windowProc = skinned.kind == nullptr || skinned.kind->procedure == Procedure::Window;
    return windowProc ? topLevelProc : controlProc;
}

LRESULT CALLBACK creationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        Engine::Busy busy;
        try {
            const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
            Engine::instance().windowCreated(reinterpret_cast<HWND>(wParam), create->lpcs->hwndParent);
        } catch (...) {
            // The window is simply left unskinned.
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK menuLoopHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && (sent->message == WM_MENUSELECT ||
                              (sent->message == WM_ENTERIDLE && sent->wParam == MSGF_MENU))) {
        Engine::Busy busy;
        try {
            Engine::instance().followMenuLoop(sent->message, sent->hwnd);
        } catch (...) {
            // The menu keeps the platform's drawing until its next paint.
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> threadTopLevelWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), collectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> descendants(HWND window) {
    std::vector<HWND> windows;
    EnumChildWindows(window, collectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The library subclasses windows and hooks the thread: unloading it under them would crash the
// next message, so it stays for the life of the process once it has done either.
void stayLoaded() {
    static bool pinned = false;
    if (pinned) return;
    HMODULE self = nullptr;
    pinned = GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                                reinterpret_cast<LPCWSTR>(&stayLoaded), &self) != 0;
}

void redrawWhole(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void setTooltipColours(HWND tip, COLORREF background, COLORREF text) {
    SendMessageW(tip, TTM_SETTIPBKCOLOR, background, 0);
    SendMessageW(tip, TTM_SETTIPTEXTCOLOR, text, 0);
    RedrawWindow(tip, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

}  // namespace

SkinResources::SkinResources(const Skin& skin) : skin_(skin) {
    const int dpi = GetDeviceCaps(ui::win32::WindowDC(nullptr, GetDC(nullptr)).get(), LOGPIXELSY);
    // A face written in UTF-8, or else in the system's code page.
    std::wstring face = ui::win32::SystemCodePage(CP_UTF8, MB_ERR_INVALID_CHARS).fromAnsi(skin.font.face);
    if (face.empty()) face = kAnsi.fromAnsi(skin.font.face);
    const ui::Font design{face.c_str(), skin.font.tenthsOfPoint, skin.font.bold ? FW_BOLD : FW_NORMAL, DEFAULT_CHARSET};
    const LOGFONTW font = ui::win32::logFontAt(design, dpi);
    captionFont_.reset(CreateFontIndirectW(&font));
}

HFONT SkinResources::menuFont() {
    if (menuFont_.get() == nullptr) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
            menuFont_.reset(CreateFontIndirectW(&metrics.lfMenuFont));
        }
    }
    return menuFont_.get() != nullptr ? menuFont_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HBRUSH SkinResources::brush(Colour colour) {
    auto found = brushes_.find(colour);
    if (found != brushes_.end()) return found->second.get();
    return brushes_.emplace(colour, ui::win32::BrushHandle(CreateSolidBrush(colour))).first->second.get();
}

// Never destroyed: at process exit the platform may still send the last messages of windows
// that outlive the library's own clean-up to its window procedures.
Engine& Engine::instance() {
    static Engine* engine = new Engine;
    return *engine;
}

Engine::Busy::Busy() { ++Engine::instance().busy_; }

Engine::Busy::~Busy() {
    Engine& engine = Engine::instance();
    if (--engine.busy_ == 0) engine.freeRetired();
}

void Engine::freeRetired() {
    retiredWindows_.clear();
    retiredResources_.clear();
}

void colourTooltip(SkinnedWindow& tip, const Skin& skin) {
    HWND window = tip.window;
    if (!tip.hostColoursKept) {
        tip.hostBackground = static_cast<COLORREF>(SendMessageW(window, TTM_GETTIPBKCOLOR, 0, 0));
        tip.hostText = static_cast<COLORREF>(SendMessageW(window, TTM_GETTIPTEXTCOLOR, 0, 0));
        tip.hostColoursKept = true;
        takeFrameFromSystem(window);  // ThemedFrame.h
    }
    const PartColours colours = partColours(Part::Tooltip, {}, skin, 0);
    setTooltipColours(window, colours.face, colours.text);
}

bool ownsWindow(HWND window) { return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId(); }

bool Engine::serves(HWND window) {
    const DWORD served = thread_.load();
    if (served != 0 && served != GetCurrentThreadId()) {
        tell(L"SkinH_VB6 ignored a call from thread " + decimal(GetCurrentThreadId()) +
             L": it serves thread " + decimal(served) + L", which attached it");
        return false;
    }
    if (window != nullptr && IsWindow(window) && !ownsWindow(window)) {
        tell(L"SkinH_VB6 ignored a call about a window of another thread");
        return false;
    }
    return true;
}

void Engine::attach(const Skin& skin) {
    stayLoaded();
    thread_ = GetCurrentThreadId();
    if (resources_) retiredResources_.push_back(std::move(resources_));
    resources_ = std::make_unique<SkinResources>(skin);
    attached_ = true;
    followSkinInSystemColours(resources_->skin());  // SystemColours.h
    if (hook_ == nullptr) hook_ = SetWindowsHookExW(WH_CBT, creationHook, nullptr, GetCurrentThreadId());
    skinAllWindows();
    for (auto& [window, skinned] : windows_) {
        if (skinned->role == Role::Tooltip) colourTooltip(*skinned, skin);
    }
    repaintAll();
}

void Engine::attachFile(const char* ansiPath) {
    const std::optional<std::string_view> path = boundedText(ansiPath);
    if (!path || path->empty()) {
        const bool unbounded = ansiPath != nullptr && !path;
        tellRefusal(L"(no path)", 0, unbounded ? L"the path has no end within " + decimal(kMaxHostTextBytes) +
                                                     L" bytes"
                                               : L"the path is empty");
        return;
    }
    const std::wstring file = kAnsi.fromAnsi(*path);
    const SkinFileText text = readSkinFile(file);
    if (!text.bytes) return tellRefusal(file, 0, text.why);
    const ParseResult parsed = parseSkin(*text.bytes);
    if (!parsed.skin) return tellRefusal(file, parsed.line, kUtf8.fromAnsi(parsed.error));
    attach(*parsed.skin);
}

void Engine::detach() {
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
    }
    attached_ = false;
    giveSystemColoursBack();  // SystemColours.h
    std::vector<HWND> topLevels;
    for (auto& [window, skinned] : windows_) {
        if (skinned->role == Role::TopLevel) topLevels.push_back(window);
    }
    for (HWND window : topLevels) detachWindow(window);
    // Controls whose top-level window was never skinned.
    std::vector<HWND> rest;
    for (auto& [window, skinned] : windows_) rest.push_back(window);
    for (HWND window : rest) {
        if (SkinnedWindow* skinned = find(window)) unskin(*skinned);
    }
    // Windows whose opacity was set but which were never skinned.
    while (!hostOpacity_.empty()) restoreOpacity(hostOpacity_.begin()->first);
    if (windows_.empty()) thread_ = 0;
}

void Engine::detachWindow(HWND window) {
    if (!IsWindow(window)) return;
    HWND topLevel = GetAncestor(window, GA_ROOT);
    if (topLevel == nullptr) topLevel = window;
    unskinTree(topLevel);
    restoreOpacity(topLevel);
    SetWindowPos(topLevel, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    redrawWhole(topLevel);
}

void Engine::setShadow(bool on) {
    shadow_ = on;
    for (auto& [window, skinned] : windows_) {
        if (skinned->role != Role::TopLevel || !skinned->hasCaption) continue;
        if (shadowOn() && skinned->shadow == nullptr) {
            skinned->shadow = createShadow(window);
        } else if (!shadowOn()) {
            destroyShadow(skinned->shadow);
        }
    }
}

void Engine::setOpacity(HWND window, int alpha) {
    for (auto it = hostOpacity_.begin(); it != hostOpacity_.end();) {
        it = IsWindow(it->first) ? std::next(it) : hostOpacity_.erase(it);
    }
    if (!IsWindow(window)) return;
    if (alpha < 0) alpha = 0;
    if (alpha > 255) alpha = 255;
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    auto host = hostOpacity_.find(window);
    if (alpha == 255 && host != hostOpacity_.end() && !host->second.layered) {
        // Fully opaque: the window is drawn as it was before the engine made it layered.
        restoreOpacity(window);
        return;
    }
    if (alpha == 255 && !(exStyle & WS_EX_LAYERED)) return;
    if (host == hostOpacity_.end()) {
        HostOpacity before;
        before.layered = (exStyle & WS_EX_LAYERED) != 0;
        before.known = before.layered && GetLayeredWindowAttributes(window, &before.key, &before.alpha, &before.flags);
        host = hostOpacity_.emplace(window, before).first;
        thread_ = GetCurrentThreadId();
    }
    if (!(exStyle & WS_EX_LAYERED)) SetWindowLongW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    // The host's colour key stays in force under the engine's opacity.
    const DWORD keyFlag = host->second.known ? host->second.flags & LWA_COLORKEY : 0;
    SetLayeredWindowAttributes(window, host->second.key, static_cast<BYTE>(alpha), LWA_ALPHA | keyFlag);
}

void Engine::restoreOpacity(HWND window) {
    auto found = hostOpacity_.find(window);
    if (found == hostOpacity_.end()) return;
    const HostOpacity host = found->second;
    hostOpacity_.erase(found);
    if (!IsWindow(window)) return;
    if (!host.layered) {
        SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) & ~WS_EX_LAYERED);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    } else if (host.known) {
        SetLayeredWindowAttributes(window, host.key, host.alpha, host.flags);
    } else {
        // Drawn by the host through UpdateLayeredWindow: resetting the style would leave it
        // blank until the host draws it again, so the window is only made opaque.
        SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);
    }
}

void Engine::windowCreated(HWND window, HWND parent) {
    if (!attached_) return;
    const Recognised found = recognise(window);
    if (found.role == Role::None) return;
    // Only inside a skinned window; a popup, whatever control of it opened it.
    const bool popup = found.kind != nullptr && found.kind->popup && parent != nullptr;
    if (found.role != Role::TopLevel && find(popup ? GetAncestor(parent, GA_ROOT) : parent) == nullptr) return;
    SkinnedWindow* skinned = skinWindow(window, found.role, found.kind);
    if (skinned != nullptr && found.kind != nullptr && found.kind->popup) skinned->asks = parent;
}

void Engine::windowDestroyed(SkinnedWindow& skinned) { unskin(skinned, true); }

void Engine::markHot(HWND control) {
    if (hot_ == control) return;
    HWND previous = hot_;
    hot_ = control;
    SkinnedWindow* old = find(previous);
    if (old != nullptr && old->hot) {
        old->hot = false;
        paintControlNow(*old, resources());
    }
}

void Engine::skinAllWindows() {
    const HWND focus = GetFocus();
    std::vector<std::pair<HWND, Recognised>> popups;
    for (HWND window : threadTopLevelWindows()) {
        const Recognised found = recognise(window);
        if (found.role == Role::TopLevel) skinTree(window, focus);
        if (found.kind != nullptr && found.kind->popup) popups.emplace_back(window, found);
    }
    // Popups made before the skin (a tooltip) whose owner is skinned now.
    for (const auto& [window, found] : popups) {
        HWND owner = GetWindow(window, GW_OWNER);
        if (find(window) != nullptr || find(owner) == nullptr) continue;
        if (SkinnedWindow* popup = skinWindow(window, found.role, found.kind)) popup->asks = owner;
    }
}

void Engine::skinTree(HWND topLevel, HWND focus) {
    const bool known = find(topLevel) != nullptr;
    const SkinnedWindow* skinned = skinWindow(topLevel, Role::TopLevel, nullptr, focus);
    if (!known && skinned != nullptr && skinned->hasCaption) takeFrameFromSystem(topLevel);  // ThemedFrame.h
    for (HWND child : descendants(topLevel)) {
        const Recognised found = recognise(child);
        if (found.role != Role::None && find(GetParent(child)) != nullptr) {
            skinWindow(child, found.role, found.kind, focus);
            skinPopupOf(child);
        }
    }
}

void Engine::skinPopupOf(HWND control) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(control, &info) || info.hwndList == nullptr || find(info.hwndList) != nullptr) return;
    const Recognised found = recognise(info.hwndList);
    if (found.kind == nullptr || !found.kind->popup) return;
    if (SkinnedWindow* list = skinWindow(info.hwndList, found.role, found.kind)) list->asks = control;
}

// The focus is passed in by those that skin windows which may have it: a window being created
// does not.
SkinnedWindow* Engine::skinWindow(HWND window, Role role, const ControlKind* kind, HWND focus) {
    if (SkinnedWindow* known = find(window)) return known;
    auto skinned = std::make_unique<SkinnedWindow>();
    skinned->window = window;
    skinned->role = role;
    skinned->kind = kind;
    skinned->focused = window == focus;
    skinned->hasCaption = role == Role::TopLevel && (styleOf(window) & WS_CAPTION) == WS_CAPTION;
    // Only a caption shows it; asking costs a round trip to the server under Wine.
    skinned->active = skinned->hasCaption && GetActiveWindow() == window;
    // Whatever border it has then or gets as it is made (a progress bar takes a static edge, a
    // tooltip its frame): paintEdge draws none where there is none.
    skinned->edge = kind != nullptr && kind->ownEdge;
    if (!ui::win32::setWindowSubclass(window, procedureFor(*skinned), kSubclassId,
                                      reinterpret_cast<DWORD_PTR>(skinned.get()))) {
        return nullptr;
    }
    if (shadowOn() && skinned->hasCaption) skinned->shadow = createShadow(window);
    if (kind != nullptr && kind->painter == Painter::Menu && openMenus_++ == 0) {
        menuHook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, menuLoopHook, nullptr, GetCurrentThreadId());
    }
    return windows_.emplace(window, std::move(skinned)).first->second.get();
}

void Engine::unskin(SkinnedWindow& skinned, bool windowEnding) {
    auto found = windows_.find(skinned.window);
    if (found == windows_.end() || found->second.get() != &skinned) return;
    if (!ui::win32::removeWindowSubclass(skinned.window, procedureFor(skinned), kSubclassId) &&
        !windowEnding && IsWindow(skinned.window)) {
        return;
    }
    if (GetCapture() == skinned.window && skinned.pressedPart != CaptionPart::None) ReleaseCapture();
    if (skinned.role == Role::TopLevel && skinned.hasCaption && !windowEnding) giveFrameToSystem(skinned.window);
    if (skinned.hostColoursKept && !windowEnding && IsWindow(skinned.window)) {
        giveFrameToSystem(skinned.window);
        setTooltipColours(skinned.window, skinned.hostBackground, skinned.hostText);
    }
    destroyShadow(skinned.shadow);
    if (skinned.kind != nullptr && skinned.kind->painter == Painter::Menu && --openMenus_ == 0 && menuHook_ != nullptr) {
        UnhookWindowsHookEx(menuHook_);
        menuHook_ = nullptr;
    }
    skinned.retired = true;
    if (hot_ == skinned.window) hot_ = nullptr;
    retiredWindows_.push_back(std::move(found->second));
    windows_.erase(found);
    if (busy_ == 0) freeRetired();
}

void Engine::unskinTree(HWND topLevel) {
    std::vector<HWND> windows = descendants(topLevel);
    // Its popups: a combo box's dropped list, its tooltips.
    for (auto& [window, skinned] : windows_) {
        const HWND asked = skinned->asks;
        if (skinned->kind != nullptr && skinned->kind->popup && (asked == topLevel || IsChild(topLevel, asked))) {
            windows.push_back(window);
        }
    }
    for (HWND child : windows) {
        if (SkinnedWindow* skinned = find(child)) unskin(*skinned);
    }
    if (SkinnedWindow* skinned = find(topLevel)) unskin(*skinned);
}

SkinnedWindow* Engine::find(HWND window) {
    auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second.get();
}

void Engine::followMenuLoop(UINT message, HWND owner) {
    for (auto& [window, skinned] : windows_) {
        if (skinned->kind == nullptr || skinned->kind->painter != Painter::Menu) continue;
        const int highlighted = highlightedItem(window);
        if (highlighted == skinned->menuItemShown) continue;
        skinned->menuItemShown = highlighted;
        paintControlNow(*skinned, resources());
    }
    HWND topLevel = owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr;
    SkinnedWindow* frame = find(topLevel);
    if (message == WM_MENUSELECT && frame != nullptr && frame->hasCaption) paintMenuBar(*frame, resources());
}

void Engine::repaintAll() {
    std::vector<HWND> topLevels;
    for (auto& [window, skinned] : windows_) {
        if (skinned->role == Role::TopLevel) topLevels.push_back(window);
    }
    for (HWND window : topLevels) {
        if (IsWindowVisible(window)) redrawWhole(window);
    }
}

}  // namespace skin::win32
