#include "skinengine/library/Engine.h"

#include <cstring>
#include <string>

#include "ui/win32/Subclass.h"

namespace skin::win32 {
namespace {

// A skin file is a page of text; anything far larger is not one.
constexpr DWORD kMaxSkinFileBytes = 256 * 1024;

std::wstring wideFrom(const std::string& bytes, UINT codePage) {
    if (bytes.empty()) return {};
    int length = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
    return wide;
}

std::optional<std::string> readSkinFile(const char* ansiPath) {
    if (ansiPath == nullptr || *ansiPath == '\0') return std::nullopt;
    std::wstring path = wideFrom(std::string(ansiPath, strnlen(ansiPath, 32768)), CP_ACP);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<std::string> text;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart <= kMaxSkinFileBytes) {
        std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        if (bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                              read == bytes.size())) {
            text = std::move(bytes);
        }
    }
    CloseHandle(file);
    return text;
}

std::wstring classNameOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::uint32_t styleOf(HWND window) { return static_cast<std::uint32_t>(GetWindowLongW(window, GWL_STYLE)); }

Role roleOf(HWND window) {
    return classify(classNameOf(window), styleOf(window),
                    static_cast<std::uint32_t>(GetWindowLongW(window, GWL_EXSTYLE)));
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

}  // namespace

SkinResources::SkinResources(const Skin& skin) : skin_(skin) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LOGFONTW font{};
    font.lfHeight = -MulDiv(skin.font.tenthsOfPoint, dpi, 720);
    font.lfWeight = skin.font.bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    std::wstring face = wideFrom(skin.font.face, isUtf8(skin.font.face) ? CP_UTF8 : CP_ACP);
    lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
    captionFont_.reset(CreateFontIndirectW(&font));
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

void Engine::attach(const Skin& skin) {
    stayLoaded();
    if (resources_) retiredResources_.push_back(std::move(resources_));
    resources_ = std::make_unique<SkinResources>(skin);
    attached_ = true;
    if (hook_ == nullptr) hook_ = SetWindowsHookExW(WH_CBT, creationHook, nullptr, GetCurrentThreadId());
    skinAllWindows();
    repaintAll();
}

void Engine::attachFile(const char* ansiPath) {
    std::optional<std::string> text = readSkinFile(ansiPath);
    if (!text) return;
    ParseResult parsed = parseSkin(*text);
    if (!parsed.skin) return;
    attach(*parsed.skin);
}

void Engine::detach() {
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
    }
    attached_ = false;
    std::vector<HWND> topLevels;
    for (auto& [window, skinned] : windows_) {
        if (skinned->role == Role::TopLevel) topLevels.push_back(window);
    }
    for (HWND window : topLevels) detachWindow(window);
    // Controls whose top-level window was never skinned.
    while (!windows_.empty()) unskin(*windows_.begin()->second);
}

void Engine::detachWindow(HWND window) {
    if (!IsWindow(window)) return;
    HWND topLevel = GetAncestor(window, GA_ROOT);
    if (topLevel == nullptr) topLevel = window;
    unskinTree(topLevel);
    setOpacity(topLevel, 255);
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
    for (auto it = layeredByEngine_.begin(); it != layeredByEngine_.end();) {
        it = IsWindow(*it) ? std::next(it) : layeredByEngine_.erase(it);
    }
    if (!IsWindow(window)) return;
    if (alpha < 0) alpha = 0;
    if (alpha > 255) alpha = 255;
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    if (alpha == 255 && layeredByEngine_.count(window) != 0) {
        // Fully opaque: the window is drawn as it was before the engine made it layered.
        SetWindowLongW(window, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
        layeredByEngine_.erase(window);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        return;
    }
    if (alpha == 255 && !(exStyle & WS_EX_LAYERED)) return;
    if (!(exStyle & WS_EX_LAYERED)) {
        SetWindowLongW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        layeredByEngine_.insert(window);
    }
    SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

void Engine::windowCreated(HWND window, HWND parent) {
    if (!attached_) return;
    const Role role = roleOf(window);
    if (role == Role::None) return;
    if (role != Role::TopLevel && find(parent) == nullptr) return;  // only inside a skinned window
    skinWindow(window, role);
}

void Engine::windowDestroyed(SkinnedWindow& skinned) { unskin(skinned); }

void Engine::markHot(HWND control) {
    if (hot_ == control) return;
    HWND previous = hot_;
    hot_ = control;
    SkinnedWindow* old = find(previous);
    if (old != nullptr && old->hot) {
        old->hot = false;
        paintControlNow(*old);
    }
}

void Engine::skinAllWindows() {
    for (HWND window : threadTopLevelWindows()) {
        if (roleOf(window) == Role::TopLevel) skinTree(window);
    }
}

void Engine::skinTree(HWND topLevel) {
    skinWindow(topLevel, Role::TopLevel);
    for (HWND child : descendants(topLevel)) {
        const Role role = roleOf(child);
        if (role != Role::None && find(GetParent(child)) != nullptr) skinWindow(child, role);
    }
}

SkinnedWindow* Engine::skinWindow(HWND window, Role role) {
    if (SkinnedWindow* known = find(window)) return known;
    auto skinned = std::make_unique<SkinnedWindow>();
    skinned->window = window;
    skinned->role = role;
    skinned->hasCaption = role == Role::TopLevel && (styleOf(window) & WS_CAPTION) == WS_CAPTION;
    skinned->active = GetActiveWindow() == window;
    skinned->edge = (role == Role::Edit || role == Role::ListBox) &&
                    ((styleOf(window) & WS_BORDER) || (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
    const bool isWindowProc = role == Role::TopLevel || role == Role::Container;
    if (!ui::win32::setWindowSubclass(window, isWindowProc ? topLevelProc : controlProc, kSubclassId,
                           reinterpret_cast<DWORD_PTR>(skinned.get()))) {
        return nullptr;
    }
    if (shadowOn() && skinned->hasCaption) skinned->shadow = createShadow(window);
    return windows_.emplace(window, std::move(skinned)).first->second.get();
}

void Engine::unskin(SkinnedWindow& skinned) {
    auto found = windows_.find(skinned.window);
    if (found == windows_.end() || found->second.get() != &skinned) return;
    const bool isWindowProc = skinned.role == Role::TopLevel || skinned.role == Role::Container;
    ui::win32::removeWindowSubclass(skinned.window, isWindowProc ? topLevelProc : controlProc, kSubclassId);
    if (GetCapture() == skinned.window && skinned.pressedPart != CaptionPart::None) ReleaseCapture();
    destroyShadow(skinned.shadow);
    skinned.retired = true;
    if (hot_ == skinned.window) hot_ = nullptr;
    retiredWindows_.push_back(std::move(found->second));
    windows_.erase(found);
    if (busy_ == 0) freeRetired();
}

void Engine::unskinTree(HWND topLevel) {
    for (HWND child : descendants(topLevel)) {
        if (SkinnedWindow* skinned = find(child)) unskin(*skinned);
    }
    if (SkinnedWindow* skinned = find(topLevel)) unskin(*skinned);
}

SkinnedWindow* Engine::find(HWND window) {
    auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second.get();
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
