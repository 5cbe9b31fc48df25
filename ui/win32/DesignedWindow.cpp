#include "ui/win32/DesignedWindow.h"

#include <algorithm>

#include <commctrl.h>
#include <imm.h>

#include "ui/win32/ControlClass.h"
#include "ui/win32/LazyLibrary.h"
#include "ui/win32/Subclass.h"

namespace ui::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"QuorvaneDesignedWindow";
constexpr UINT_PTR kTimerId = 1;

bool isButtonKind(Kind kind) {
    return kind == Kind::Button || kind == Kind::CheckBox || kind == Kind::Option;
}

// One request for the three keys: under Wine each GetKeyState is a round trip to the server.
std::int16_t shiftState() {
    BYTE keys[256] = {};
    if (!GetKeyboardState(keys)) return 0;
    std::int16_t shift = 0;
    if (keys[VK_SHIFT] & 0x80) shift |= 1;
    if (keys[VK_CONTROL] & 0x80) shift |= 2;
    if (keys[VK_MENU] & 0x80) shift |= 4;
    return shift;
}

// Resizes the control unless it has that size already: SetWindowPos is a round trip to the
// server under Wine even when nothing moves.
void resize(HWND control, int width, int height) {
    RECT now{};
    GetWindowRect(control, &now);
    if (now.right - now.left == width && now.bottom - now.top == height) return;
    SetWindowPos(control, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A multi-line box takes its whole text as a buffer of its own. Wine's edit control lays a text
// out with Uniscribe two or three times over for WM_SETTEXT and once for a new buffer: 0.3 ms
// instead of 0.85 for a lookup's answer. Like WM_SETTEXT it empties the undo buffer and clears
// the modified flag; the box owns the new buffer and gives back the old one, which is ours to free.
bool setBuffer(HWND box, const std::wstring& text) {
    LocalMemory buffer(LocalAlloc(LMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
    auto* characters = static_cast<wchar_t*>(LocalLock(buffer.get()));
    if (characters == nullptr) return false;
    std::copy(text.c_str(), text.c_str() + text.size() + 1, characters);
    LocalUnlock(buffer.get());
    const LocalMemory previous(reinterpret_cast<HLOCAL>(SendMessageW(box, EM_GETHANDLE, 0, 0)));
    SendMessageW(box, EM_SETHANDLE, reinterpret_cast<WPARAM>(buffer.release()), 0);
    return true;
}

}  // namespace

DesignedWindow::DesignedWindow(const FormDesign& design, FormEvents& events, int iconResource)
    : design_(design),
      events_(events),
      iconResource_(iconResource),
      controls_(design.controlCount, nullptr),
      foreColors_(design.controlCount, kPlatformColor),
      backBrushes_(design.controlCount) {}

DesignedWindow::~DesignedWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
}

bool DesignedWindow::create(HINSTANCE instance) {
    {
        const WindowDC screen(nullptr, GetDC(nullptr));
        dpiX_ = GetDeviceCaps(screen.get(), LOGPIXELSX);
        dpiY_ = GetDeviceCaps(screen.get(), LOGPIXELSY);
    }

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    if (iconResource_ != 0) {
        windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconResource_), IMAGE_ICON,
                                                          GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
        windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconResource_), IMAGE_ICON,
                                                            GetSystemMetrics(SM_CXSMICON),
                                                            GetSystemMetrics(SM_CYSMICON), 0));
    }
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, pixelsX(design_.clientWidth), pixelsY(design_.clientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    window_ = CreateWindowExW(0, kWindowClass, design_.title, style, left, top, width, height, nullptr, nullptr,
                              instance, this);
    if (window_ == nullptr) return false;

    for (std::size_t i = 0; i < design_.controlCount; ++i) createControl(instance, i);
    return true;
}

void DesignedWindow::createControl(HINSTANCE instance, std::size_t index) {
    const ControlDesign& design = design_.controls[index];
    const ControlClass kind = controlClass(design);
    DWORD style = WS_CHILD | kind.style;
    if (!(design.flags & kHidden)) style |= WS_VISIBLE;
    if (design.flags & kDisabled) style |= WS_DISABLED;
    // Each control starts a keyboard group of its own, except options that follow an option:
    // the arrow keys move among those.
    const bool continuesOptions =
        design.kind == Kind::Option && index > 0 && design_.controls[index - 1].kind == Kind::Option;
    if (!continuesOptions) style |= WS_GROUP;

    const TwipsRect rect = clientRect(design_, index);
    // A label sized to its caption is made at that size: each resize is a round trip or more.
    SIZE size = (design.flags & kSizeToText)
                    ? textSize(fontFor(design.font), design.caption != nullptr ? design.caption : L"")
                    : SIZE{pixelsX(rect.width), pixelsY(rect.height)};
    ControlBehaviour* behaviour = behaviourOf(index);
    if (behaviour != nullptr) size.cy = behaviour->windowHeightFor(size.cy, fontFor(design.font));
    HWND control = CreateWindowExW(kind.exStyle, kind.className, design.caption, style, pixelsX(rect.left),
                                   pixelsY(rect.top), size.cx, size.cy, window_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index)), instance,
                                   nullptr);
    controls_[index] = control;
    if (control == nullptr) return;

    if (behaviour == nullptr || behaviour->takesFont()) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(design.font)), FALSE);
    }
    foreColors_[index] = design.foreColor;
    if (design.backColor != kPlatformColor) backBrushes_[index].reset(CreateSolidBrush(design.backColor));
    // Windows reports an unchecked option that gets the focus as clicked; this asks it not to
    // (command() also turns such a report away, for systems that ignore the request).
    if (design.kind == Kind::Option) SendMessageW(control, BM_SETDONTCLICK, TRUE, 0);
    if (design.kind == Kind::TextBox) {
        if (design.maxLength > 0) SendMessageW(control, EM_SETLIMITTEXT, design.maxLength, 0);
        setWindowSubclass(control, controlProc, index, reinterpret_cast<DWORD_PTR>(this));
    }
    if (behaviour != nullptr) behaviour->created(control, pixelsY(rect.height));
}

// The common controls are loaded and the tooltip made when the mouse first comes: loading them
// was a sizeable part of the start-up, and no tooltip can show before the mouse moves.
void DesignedWindow::makeTooltips() {
    tooltipsTried_ = true;
    static LazyLibrary commonControls(L"comctl32.dll");
    using Init = decltype(&::InitCommonControlsEx);
    auto init = commonControls.function<Init>("InitCommonControlsEx");
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    if (init == nullptr || !init(&classes)) return;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance,
                               nullptr);
    if (tooltip_ == nullptr) return;
    for (std::size_t i = 0; i < design_.controlCount; ++i) {
        if (design_.controls[i].tooltip != nullptr && controls_[i] != nullptr) addTooltip(i);
    }
}

void DesignedWindow::addTooltip(std::size_t index) {
    HWND control = controls_[index];
    // The message loop relays the mouse to the tooltip: a tooltip that subclasses its control
    // puts a property lookup in front of every message the control gets, which made filling a
    // list of thousands of entries take seconds.
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = 0;
    tool.lpszText = const_cast<wchar_t*>(design_.controls[index].tooltip);
    if (design_.controls[index].flags & kDisabled) {
        // A disabled control gets no mouse messages: its window's do, over its rectangle.
        tool.hwnd = window_;
        tool.uId = index + 1;
        GetWindowRect(control, &tool.rect);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&tool.rect), 2);
    } else {
        tool.uFlags |= TTF_IDISHWND;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
    }
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

HFONT DesignedWindow::fontFor(const Font& font) {
    for (auto& [made, wanted] : fonts_) {
        if (wanted.tenthsOfPoint == font.tenthsOfPoint && wanted.weight == font.weight &&
            wanted.charset == font.charset && std::wstring(wanted.face) == font.face) {
            return made.get();
        }
    }
    const LOGFONTW logFont = logFontAt(font, dpiY_);
    fonts_.emplace_back(FontHandle(CreateFontIndirectW(&logFont)), font);
    return fonts_.back().first.get();
}

void DesignedWindow::sizeToText(std::size_t index) {
    HWND control = controls_[index];
    const SIZE size = textSize(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), text(index));
    resize(control, size.cx, size.cy);
}

// The text's width and the font's height, measured on a memory DC: the extent is the same, and
// under Wine a window's DC costs ten round trips to the server, which a lookup pays each time
// it sets the summary line.
SIZE DesignedWindow::textSize(HFONT font, const std::wstring& text) {
    if (!measuring_.valid()) measuring_.reset(CreateCompatibleDC(nullptr));
    const Selection selected(measuring_.get(), font);
    SIZE size{};
    GetTextExtentPoint32W(measuring_.get(), text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(measuring_.get(), &metrics);
    return {size.cx, metrics.tmHeight};
}

std::size_t DesignedWindow::indexOf(HWND control) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i] == control) return i;
    }
    return controls_.size();
}

std::wstring DesignedWindow::text(std::size_t index) const { return windowText(controls_[index]); }

void DesignedWindow::setText(std::size_t index, const std::wstring& text) {
    // The same text again would only repaint the control, a round trip to the server or more.
    if (this->text(index) == text) return;
    const ControlDesign& design = design_.controls[index];
    const bool multiLineBox = design.kind == Kind::TextBox && (design.flags & kMultiLine) != 0;
    if (!multiLineBox || !setBuffer(controls_[index], text)) SetWindowTextW(controls_[index], text.c_str());
    if (design.flags & kSizeToText) sizeToText(index);
}

void DesignedWindow::setForeColor(std::size_t index, Color color) {
    foreColors_[index] = color;
    InvalidateRect(controls_[index], nullptr, TRUE);
}

void DesignedWindow::setControlSize(std::size_t index, int width, int height) {
    resize(controls_[index], width, height);
}

bool DesignedWindow::isChecked(std::size_t index) const {
    return SendMessageW(controls_[index], BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DesignedWindow::setChecked(std::size_t index, bool checked) {
    if (isChecked(index) == checked) return;
    SendMessageW(controls_[index], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    events_.onClick(index);
}

void DesignedWindow::setFocus(std::size_t index) {
    SetFocus(controls_[index]);
}

void DesignedWindow::setTimer(bool enabled, unsigned intervalMs) {
    if (enabled && !timerOn_) SetTimer(window_, kTimerId, intervalMs, nullptr);
    if (!enabled && timerOn_) KillTimer(window_, kTimerId);
    timerOn_ = enabled;
}

void DesignedWindow::showMessage(const std::wstring& text, const std::wstring& title, int style) {
    MessageBoxW(window_, text.c_str(), title.c_str(), static_cast<UINT>(style));
}

int DesignedWindow::showAndRun(int showCommand) {
    // Access keys stay underlined, not only after Alt has been pressed.
    SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    if (HWND first = GetNextDlgTabItem(window_, nullptr, FALSE)) SetFocus(first);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) {
            if (!tooltipsTried_ && window_ != nullptr) makeTooltips();
            if (tooltip_ != nullptr) SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
        }
        if (window_ != nullptr && IsDialogMessageW(window_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

HBRUSH DesignedWindow::colorControl(HDC dc, HWND control) {
    std::size_t index = indexOf(control);
    if (index >= controls_.size()) return nullptr;
    if (foreColors_[index] != kPlatformColor) SetTextColor(dc, foreColors_[index]);
    if (backBrushes_[index].get() != nullptr) {
        SetBkColor(dc, design_.controls[index].backColor);
        return backBrushes_[index].get();
    }
    return nullptr;
}

LRESULT CALLBACK DesignedWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<DesignedWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<DesignedWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return self->handle(message, wParam, lParam);
    } catch (...) {
        // A handler's failure must not unwind through the platform's frames.
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void DesignedWindow::command(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDOK && lParam == 0) {
        // Enter from keyboard navigation: a focused push button is pressed, as in a dialog box;
        // anywhere else Enter does nothing.
        std::size_t focused = indexOf(GetFocus());
        if (focused < design_.controlCount && design_.controls[focused].kind == Kind::Button) events_.onClick(focused);
        return;
    }
    std::size_t index = LOWORD(wParam) - kFirstControlId;
    if (index >= design_.controlCount) return;
    if (auto behaviour = behaviours_.find(index); behaviour != behaviours_.end()) {
        behaviour->second->onCommand(HIWORD(wParam));
    } else if (HIWORD(wParam) == BN_CLICKED && isButtonKind(design_.controls[index].kind)) {
        // The platform checks an option before it reports a real click, from the mouse or the
        // keyboard: an unchecked option's report is the focus arriving, which is no click.
        if (design_.controls[index].kind == Kind::Option &&
            SendMessageW(controls_[index], BM_GETCHECK, 0, 0) != BST_CHECKED) {
            return;
        }
        events_.onClick(index);
    } else if (HIWORD(wParam) == LBN_SELCHANGE && design_.controls[index].kind == Kind::ListBox) {
        events_.onClick(index);
    }
}

bool DesignedWindow::drawItem(const DRAWITEMSTRUCT& item) {
    const std::size_t index = item.CtlID - kFirstControlId;
    auto behaviour = behaviours_.find(index);
    if (behaviour != behaviours_.end()) {
        const Selection selected(item.hDC, fontFor(design_.controls[index].font));
        behaviour->second->drawItem(item);
        return true;
    }
    if (index >= controls_.size() || design_.controls[index].kind != Kind::Image) return false;
    // An image control: the owner draws its picture over the background a label there would
    // have, as the window answers for it (a skin answers with the window's own).
    auto background = reinterpret_cast<HBRUSH>(SendMessageW(window_, WM_CTLCOLORSTATIC,
                                                            reinterpret_cast<WPARAM>(item.hDC),
                                                            reinterpret_cast<LPARAM>(item.hwndItem)));
    FillRect(item.hDC, &item.rcItem, background != nullptr ? background : GetSysColorBrush(COLOR_BTNFACE));
    events_.onDrawItem(index, item.hDC);
    return true;
}

ControlBehaviour* DesignedWindow::behaviourOf(std::size_t index) const {
    const auto behaviour = behaviours_.find(index);
    return behaviour != behaviours_.end() ? behaviour->second : nullptr;
}

int DesignedWindow::entryHeightOf(std::size_t index) {
    ControlBehaviour* behaviour = behaviourOf(index);
    if (index >= design_.controlCount || behaviour == nullptr) return 0;
    return behaviour->entryHeightFor(fontFor(design_.controls[index].font));
}

// Asked while the control is being made, before it has its font: an entry height set afterwards,
// or a field height, resizes a drop-down list.
bool DesignedWindow::measureItem(MEASUREITEMSTRUCT& item) {
    const std::size_t index = item.CtlID - kFirstControlId;
    const int entry = entryHeightOf(index);
    if (entry <= 0) return false;
    const int field = item.itemID == static_cast<UINT>(-1)
                          ? behaviourOf(index)->fieldEntryHeightFor(pixelsY(clientRect(design_, index).height))
                          : 0;
    item.itemHeight = static_cast<UINT>(field > 0 ? field : entry);
    return true;
}

LRESULT DesignedWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MEASUREITEM:
        if (measureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_COMMAND:
        command(wParam, lParam);
        return 0;
    case WM_DRAWITEM:
        if (drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
        HBRUSH defaultBrush = reinterpret_cast<HBRUSH>(DefWindowProcW(window_, message, wParam, lParam));
        HBRUSH brush = colorControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        return reinterpret_cast<LRESULT>(brush != nullptr ? brush : defaultBrush);
    }
    case WM_PAINT: {
        const PaintDC paint(window_);
        events_.onPaint(paint.get());
        return 0;
    }
    case WM_TIMER:
        if (wParam == kTimerId) events_.onTimer();
        return 0;
    case WM_ACTIVATE:
        // Like a dialog box, give the focus back to where it was when the window is activated again.
        if (LOWORD(wParam) == WA_INACTIVE) {
            lastFocus_ = GetFocus();
        } else if (lastFocus_ != nullptr && IsChild(window_, lastFocus_)) {
            SetFocus(lastFocus_);
            return 0;
        }
        break;
    case WM_DESTROY:
        if (timerOn_) KillTimer(window_, kTimerId);
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK DesignedWindow::controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR index, DWORD_PTR self) {
    try {
        return reinterpret_cast<DesignedWindow*>(self)->handleControl(index, control, message, wParam, lParam);
    } catch (...) {
        return defSubclassProc(control, message, wParam, lParam);
    }
}

LRESULT DesignedWindow::handleControl(std::size_t index, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE: {
        LRESULT code = defSubclassProc(control, message, wParam, lParam);
        auto* pending = reinterpret_cast<const MSG*>(lParam);
        if (pending != nullptr && pending->wParam == VK_RETURN && events_.wantsEnter(index)) code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        // With Alt held a key comes as a system key; the handler sees it like any other.
        auto keyCode = static_cast<std::int16_t>(wParam);
        events_.onKeyDown(index, keyCode, shiftState());
        // A system key goes on as it came, so that Alt+F4, access keys and the window menu work.
        if (message == WM_SYSKEYDOWN) return defSubclassProc(control, message, wParam, lParam);
        if (keyCode == 0) return 0;
        return defSubclassProc(control, message, static_cast<std::uint16_t>(keyCode), lParam);
    }
    case WM_CHAR:
    case WM_IME_CHAR: {
        auto code = static_cast<std::int16_t>(static_cast<std::uint16_t>(wParam));
        events_.onKeyPress(index, code);
        if (code == 0) return 0;
        return defSubclassProc(control, message, static_cast<std::uint16_t>(code), lParam);
    }
    case WM_IME_COMPOSITION:
        // The platform's default turns a finished composition into WM_IME_CHAR messages, which
        // pass the character filter above; the edit control would insert the text unfiltered.
        if (lParam & GCS_RESULTSTR) return DefWindowProcW(control, message, wParam, lParam);
        break;
    case WM_LBUTTONDBLCLK: {
        LRESULT result = defSubclassProc(control, message, wParam, lParam);
        events_.onDblClick(index);
        return result;
    }
    case WM_NCDESTROY:
        removeWindowSubclass(control, controlProc, index);
        break;
    default:
        break;
    }
    return defSubclassProc(control, message, wParam, lParam);
}

}  // namespace ui::win32
