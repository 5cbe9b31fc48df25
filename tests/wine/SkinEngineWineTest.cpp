// Our SkinH_VB6.dll under Wine, called through the programs' own binding on windows of this
// process: what the screen shows, the window's opacity, what it says of a file that is no skin,
// bad calls and calls from another thread. The shadow and the caption buttons are glimmora's to show.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "skinlibrary/SkinFormat.h"
#include "skinengine/win32/SkinEngineLibrary.h"
#include "tests/e2e/WindowDriver.h"
#include "ui/win32/Owners.h"
#include "ui/win32/SystemCodePage.h"
#include "ui/win32/WindowBasics.h"

namespace {

using skin::Colour;

skinengine::SkinEngineLibrary& engine() {
    static skinengine::SkinEngineLibrary library;
    return library;
}

skinengine::WindowHandle handleValue(HWND window) { return reinterpret_cast<skinengine::WindowHandle>(window); }

std::string ansi(const std::wstring& text) { return ui::win32::SystemCodePage().toAnsi(text); }
std::string utf8(const std::wstring& text) { return ui::win32::SystemCodePage(CP_UTF8).toAnsi(text); }

// Handles every message that is waiting, for about the given time.
void pump(DWORD milliseconds = 150) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    } while (GetTickCount() - start < milliseconds);
}

bool pumpUntil(const std::function<bool()>& condition, DWORD milliseconds = 3000) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds) return false;
        pump(20);
    }
    return true;
}

int distance(Colour a, Colour b) {
    return std::abs(skin::redOf(a) - skin::redOf(b)) + std::abs(skin::greenOf(a) - skin::greenOf(b)) +
           std::abs(skin::blueOf(a) - skin::blueOf(b));
}

std::string hex(Colour c) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", skin::redOf(c), skin::greenOf(c), skin::blueOf(c));
    return text;
}

// The screen is read again, messages handled in between, until it shows the colour or time runs
// out: a press or a skin takes a moment to be handled and painted on a busy machine.
#define EXPECT_SHOWS(actual, expected, tolerance)                                                  \
    EXPECT_TRUE(pumpUntil([&] { return distance((actual), (expected)) <= (tolerance); }))          \
        << #actual << " " << hex(actual) << " wanted " << hex(expected)
// For what must stay as it is: the screen read once, after the messages were handled.
#define EXPECT_COLOUR_NEAR(actual, expected, tolerance) \
    EXPECT_LE(distance((actual), (expected)), (tolerance)) << hex(actual) << " wanted " << hex(expected)

std::wstring tempDirectory() {
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, path);
    return path;
}

void writeFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary);
    out << bytes;
}

bool layered(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

// The engine's drop shadows on the screen: this process's windows of the class SkinHShadow that show.
int shadowsShown() {
    int shown = 0;
    for (HWND w = FindWindowExW(nullptr, nullptr, L"SkinHShadow", nullptr); w != nullptr;
         w = FindWindowExW(nullptr, w, L"SkinHShadow", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        shown += owner == GetCurrentProcessId() && IsWindowVisible(w) ? 1 : 0;
    }
    return shown;
}

// Read before any skin is on: while one is, this program's own calls answer the skin's.
const Colour kSystemFace = GetSysColor(COLOR_BTNFACE);
const Colour kSystemHighlight = GetSysColor(COLOR_HIGHLIGHT);
const HBRUSH kSystemHighlightBrush = GetSysColorBrush(COLOR_HIGHLIGHT);
const Colour kSystemInfoBackground = GetSysColor(COLOR_INFOBK);
const Colour kSystemInfoText = GetSysColor(COLOR_INFOTEXT);
const Colour kSystemFrame = GetSysColor(COLOR_WINDOWFRAME);  // a thin border's, a tooltip's
constexpr wchar_t kTestClass[] = L"SkinEngineTestWindow";

enum ControlId {
    kButton = 10, kCheck, kEdit, kList, kOwnerList, kOwnerCombo, kCombo, kDropDown, kSimple, kScroll,
    kProgress, kTrackbar, kTabs, kStatus
};
int trackbarNotices = 0;  // WM_HSCROLL from the trackbar to its parent

// The system's colour as a host asks for it through GetProcAddress, as a VB6 program's Declare
// does: the library's answer to the host's own imports does not reach such a call.
COLORREF boundSysColor(int index) {
    using Function = DWORD(WINAPI*)(int);
    static const auto function =
        reinterpret_cast<Function>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSysColor"));
    return function(index);
}

// An owner-drawn list's entries drawn as such a host draws them: in the system's list colours. The
// scroll bar's position follows its arrows and pages, and the thumb where it is let go.
LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HSCROLL && lParam != 0) ++trackbarNotices;
    if (message == WM_VSCROLL && lParam != 0) {
        SCROLLINFO info{sizeof info, SIF_ALL};
        GetScrollInfo(reinterpret_cast<HWND>(lParam), SB_CTL, &info);
        const int moves[] = {-1, 1, -static_cast<int>(info.nPage), static_cast<int>(info.nPage)};  // SB_LINEUP...
        const int code = LOWORD(wParam);
        const int pos = code == SB_THUMBPOSITION ? info.nTrackPos : code <= SB_PAGEDOWN ? info.nPos + moves[code] : info.nPos;
        SetScrollPos(reinterpret_cast<HWND>(lParam), SB_CTL, pos, TRUE);
        return 0;
    }
    if (message == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 18;
        return TRUE;
    }
    if (message == WM_DRAWITEM) {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const bool selected = (item.itemState & ODS_SELECTED) != 0;
        const ui::win32::BrushHandle fill(CreateSolidBrush(boundSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW)));
        FillRect(item.hDC, &item.rcItem, fill.get());
        if (item.itemID == static_cast<UINT>(-1) || item.CtlType != ODT_LISTBOX) return TRUE;
        wchar_t text[64] = L"";
        if (SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0) < 63) {
            SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
        }
        RECT box = item.rcItem;
        box.left += 20;
        SetBkMode(item.hDC, TRANSPARENT);
        SetTextColor(item.hDC, boundSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        DrawTextW(item.hDC, text, -1, &box, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A window like the programs': system background, a caption with minimise and close, and the
// controls whose looks the skin sets.
class TestWindow {
public:
    explicit TestWindow(int left = 60, int top = 60, const wchar_t* title = L"皮肤测试窗口") {
        registerClass();
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        RECT frame = {0, 0, 380, 460};
        AdjustWindowRectEx(&frame, style, FALSE, 0);
        window_ = CreateWindowExW(0, kTestClass, title, style, left, top, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        add(L"BUTTON", L"按钮", BS_PUSHBUTTON | WS_TABSTOP, 10, 10, 100, 30, kButton);
        add(L"BUTTON", L"选项一", BS_AUTOCHECKBOX | WS_TABSTOP, 10, 50, 100, 22, kCheck);
        add(L"EDIT", L"编辑框", ES_AUTOHSCROLL, 10, 110, 150, 24, kEdit);
        add(L"LISTBOX", L"", WS_VSCROLL, 200, 110, 170, 90, kList);
        add(L"LISTBOX", L"", WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 200, 10, 170, 90, kOwnerList);
        add(L"COMBOBOX", L"", WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 10, 170, 150, 120,
            kOwnerCombo);
        // A combo box of each style; the drop-down list's list drops over the empty corner below it.
        add(L"COMBOBOX", L"", WS_VSCROLL | CBS_DROPDOWNLIST | WS_TABSTOP, 10, 205, 150, 100, kCombo);
        add(L"COMBOBOX", L"", WS_VSCROLL | CBS_DROPDOWN, 200, 210, 170, 100, kDropDown);
        add(L"COMBOBOX", L"", WS_VSCROLL | CBS_SIMPLE, 200, 240, 170, 75, kSimple);
        add(L"SCROLLBAR", L"", SBS_VERT, 172, 10, 17, 150, kScroll);
        // The common controls below the rest, the status bar along the bottom.
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
        InitCommonControlsEx(&classes);
        add(PROGRESS_CLASSW, L"", 0, 10, 325, 170, 18, kProgress);
        add(TRACKBAR_CLASSW, L"", TBS_AUTOTICKS | WS_TABSTOP, 200, 320, 170, 32, kTrackbar);
        add(WC_TABCONTROLW, L"", WS_TABSTOP, 10, 356, 360, 70, kTabs);
        add(STATUSCLASSNAMEW, L"", 0, 0, 0, 0, 0, kStatus);
        SendMessageW(control(kProgress), PBM_SETRANGE32, 20, 120);
        SendMessageW(control(kProgress), PBM_SETPOS, 60, 0);  // 40 of its 100 steps
        SendMessageW(control(kTrackbar), TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
        SendMessageW(control(kTrackbar), TBM_SETPOS, TRUE, 3);
        for (const wchar_t* tab : {L"行情", L"持仓", L"设置"}) {
            TCITEMW item{TCIF_TEXT};
            item.pszText = const_cast<wchar_t*>(tab);
            SendMessageW(control(kTabs), TCM_INSERTITEMW, 9, reinterpret_cast<LPARAM>(&item));
        }
        SendMessageW(control(kTabs), TCM_SETCURSEL, 1, 0);
        const int parts[] = {200, -1};
        SendMessageW(control(kStatus), SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
        SendMessageW(control(kStatus), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"就绪"));
        SendMessageW(control(kStatus), SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"\t第 2 页"));
        SCROLLINFO range{sizeof range, SIF_RANGE | SIF_PAGE, 0, 100, 20};
        SetScrollInfo(control(kScroll), SB_CTL, &range, TRUE);
        SendMessageW(control(kOwnerCombo), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"C:"));
        SendMessageW(control(kOwnerCombo), CB_SETCURSEL, 0, 0);
        for (int id : {kCombo, kDropDown, kSimple}) {
            for (const wchar_t* entry : {L"一月", L"二月", L"三月", L"四月"}) {
                SendMessageW(control(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
            }
            SendMessageW(control(id), CB_SETCURSEL, 0, 0);
        }
        for (int id : {kList, kOwnerList}) {
            for (const wchar_t* entry : {L"蓝色.she", L"绿色.she", L"紫色.she"}) {
                SendMessageW(control(id), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
            }
        }
        for (int more = 0; more < 20; ++more) {  // more than fit
            SendMessageW(control(kList), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"灰色.she"));
        }
        SendMessageW(control(kCheck), BM_SETCHECK, BST_CHECKED, 0);
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
        pump();
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow() {
        if (IsWindow(window_)) DestroyWindow(window_);
        pump(30);
    }

    HWND window() const { return window_; }
    HWND control(int id) const { return GetDlgItem(window_, id); }

    POINT clientPoint(int x, int y) const {
        POINT point{x, y};
        ClientToScreen(window_, &point);
        return point;
    }
    POINT screenPoint(int id, int x, int y) const {
        POINT point{x, y};
        ClientToScreen(control(id), &point);
        return point;
    }
    // An empty stretch of the client area.
    Colour background() const { return e2e::screenColour(clientPoint(120, 60)); }
    // The caption bar right of the title, just above the client area.
    Colour caption() const {
        POINT client = clientPoint(250, 0);
        return e2e::screenColour({client.x, client.y - 3});
    }
    Colour at(int id, int x, int y) const { return e2e::screenColour(screenPoint(id, x, y)); }
    Colour buttonFace() const { return at(kButton, 6, 24); }
    COMBOBOXINFO combo(int id) const {
        COMBOBOXINFO info{sizeof info};
        GetComboBoxInfo(control(id), &info);
        return info;
    }
    // The drop button's top right corner, away from its arrow; a point of the dropped list.
    Colour comboButton(int id) const { return at(id, combo(id).rcButton.right - 3, combo(id).rcButton.top + 2); }
    Colour droppedList(int id, int x, int y) const {
        RECT list;
        GetWindowRect(combo(id).hwndList, &list);
        return e2e::screenColour({list.left + x, list.top + y});
    }
    // A scroll bar's parts as the platform lays them out, and a point of it (x across, y along).
    SCROLLBARINFO bar(int id, LONG object = OBJID_CLIENT) const {
        SCROLLBARINFO info{sizeof info};
        GetScrollBarInfo(control(id), object, &info);
        return info;
    }
    Colour barAt(int id, LONG object, int x, int y) const {
        const RECT r = bar(id, object).rcScrollBar;
        return e2e::screenColour({r.left + x, r.top + y});
    }
    // The rectangle a control answers for one of its parts (a tab, a status bar's part, the trackbar's thumb).
    RECT part(int id, UINT message, WPARAM which = 0) const {
        RECT r{};
        SendMessageW(control(id), message, which, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    Colour middleOf(int id, RECT r) const { return at(id, (r.left + r.right) / 2, (r.top + r.bottom) / 2); }
    bool dropped(int id) const { return SendMessageW(control(id), CB_GETDROPPEDSTATE, 0, 0) != 0; }
    // A tooltip for the push button, owned by the window as the programs' are; it stays up while
    // the pointer rests on the button.
    HWND addTooltip() const {
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
        InitCommonControlsEx(&classes);
        HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(control(kButton));
        tool.lpszText = const_cast<wchar_t*>(L"按下按钮开始查询");
        SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 30000);
        return tip;
    }
    // The pointer comes to the button from the window's empty stretch until the tooltip shows;
    // under Wine a tip now and then misses a hover.
    bool hoverForTooltip(HWND tip) const {
        for (int attempt = 0; attempt < 3; ++attempt) {
            e2e::moveMouse(clientPoint(150, 60));
            pumpUntil([&] { return !IsWindowVisible(tip); });
            e2e::moveMouse(screenPoint(kButton, 50, 15));
            if (pumpUntil([&] { return IsWindowVisible(tip) != FALSE; }, 4000)) return true;
        }
        return false;
    }
    Colour editBackground() const { return at(kEdit, 140, 12); }

private:
    void add(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int width, int height, int id) {
        // Text and list boxes with the sunken edge the programs give them.
        const bool box = std::wstring(className) == L"EDIT" || std::wstring(className) == L"LISTBOX";
        CreateWindowExW(box ? WS_EX_CLIENTEDGE : 0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    }

    static void registerClass() {
        static const ATOM registered = [] {
            WNDCLASSEXW windowClass{};
            windowClass.cbSize = sizeof windowClass;
            windowClass.lpfnWndProc = testWindowProc;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
            windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            windowClass.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
            windowClass.lpszClassName = kTestClass;
            return RegisterClassExW(&windowClass);
        }();
        (void)registered;
    }

    HWND window_ = nullptr;
};

// A skin file of distinct colours, none of them the system's or the default skin's.
const char kTestSkin[] =
    "[skin]\nname = 测试\n"
    "[window]\nbackground = #D8ECD0\ntext = #102010\n"
    "[caption]\nactive = #802828\ninactive = #A08080\nclose_hot = #2040C0\n"
    "[button]\nface = #C8D0FF\nhot = #E0E0A0\npressed = #7080E0\n"
    "[edit]\nbackground = #FFF0E0\n"
    "[list]\nselection = #208040\n"
    "[check]\nbackground = #F0FFE0\n";
const skin::Skin kTest = *skin::parseSkin(kTestSkin).skin;

class SkinEngine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 936u) << "the tests need the Simplified-Chinese code page";
        skinFile_ = tempDirectory() + L"skin-engine-test.she";
        writeFile(skinFile_, kTestSkin);
    }
    void TearDown() override {
        engine().SkinH_SetAero(0);
        engine().SkinH_Detach();
        DeleteFileW(skinFile_.c_str());
        pump(30);
    }
    std::string skinPath() const { return ansi(skinFile_); }
    void attachTestSkin() {
        engine().SkinH_AttachEx(skinPath(), "");
        pump();
    }

    std::wstring skinFile_;
};

TEST_F(SkinEngine, AttachExAppliesTheFileOverTheSkinInForceAndAfterDetach) {
    TestWindow window;
    engine().SkinH_Attach();
    attachTestSkin();
    EXPECT_SHOWS(window.background(), kTest.windowBackground, 0);
    EXPECT_SHOWS(window.caption(), kTest.captionActive, 24);
    EXPECT_SHOWS(window.buttonFace(), kTest.buttonFace, 40);
    EXPECT_SHOWS(window.editBackground(), kTest.editBackground, 0);

    // After Detach, a file skins the windows again; the second text means nothing.
    engine().SkinH_Detach();
    EXPECT_SHOWS(window.background(), kSystemFace, 0);
    engine().SkinH_AttachEx(skinPath(), "任意文字");
    EXPECT_SHOWS(window.background(), kTest.windowBackground, 0);

    // A skin at a path with Chinese names, passed in the ANSI code page, saved by Notepad as
    // "Unicode": UTF-16 little-endian behind the mark FF FE.
    const std::wstring folder = tempDirectory() + L"皮肤 文件夹";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring chinesePath = folder + L"\\湖蓝.she";
    const std::string jade = e2e::readFile(e2e::binDirectory() + L"\\skins\\jade.she");
    std::wstring unicode(jade.size(), L'\0');
    unicode.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, jade.data(), static_cast<int>(jade.size()), unicode.data(), static_cast<int>(jade.size()))));
    writeFile(chinesePath, "\xFF\xFE" + std::string(reinterpret_cast<const char*>(unicode.data()), unicode.size() * 2));
    engine().SkinH_AttachEx(ansi(chinesePath), "");
    EXPECT_SHOWS(window.background(), skin::parseSkin(jade).skin->windowBackground, 0);
    DeleteFileW(chinesePath.c_str());
    RemoveDirectoryW(folder.c_str());
}

// What the library says through OutputDebugStringW, as a debugger sees it: the platform raises it
// as an exception (ANSI text), which a vectored handler meets first.
std::string debugged;
LONG CALLBACK seeDebugText(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD& record = *info->ExceptionRecord;
    if (record.ExceptionCode == DBG_PRINTEXCEPTION_C && record.NumberParameters >= 2) {
        debugged += reinterpret_cast<const char*>(record.ExceptionInformation[1]);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// Each way a file can fail to be a skin once: the parser's own reasons are its unit test's.
TEST_F(SkinEngine, AFileThatIsNoSkinChangesNothingAndSaysWhy) {
    TestWindow window;
    attachTestSkin();
    EXPECT_SHOWS(window.background(), kTest.windowBackground, 0);

    debugged.clear();
    PVOID debugger = AddVectoredExceptionHandler(1, seeDebugText);
    const std::wstring tracePath = tempDirectory() + L"skin-engine-refusals.txt";
    DeleteFileW(tracePath.c_str());
    SetEnvironmentVariableW(L"SKINH_TRACE", tracePath.c_str());
    const std::wstring bad = tempDirectory() + L"skin-engine-bad.she";
    const std::wstring missing = tempDirectory() + L"no-such-skin.she";
    // A skin followed by a comment line that brings the file to the given size.
    auto ofSize = [](std::string text, std::size_t bytes) {
        text.resize(bytes, ';');
        return text;
    };
    struct Case {
        std::wstring path;
        std::string bytes;  // written to path unless it is a folder or missing
        std::wstring why;   // as the author's debugger shows it
    };
    const Case cases[] = {
        {bad, std::string(kTestSkin, 60), L"(5): SkinH_VB6 refused this skin: bad value for window.text"},
        {bad, ofSize(kTestSkin, 262145), L": SkinH_VB6 refused this skin: larger than 256 KiB"},
        {missing, "", L": SkinH_VB6 refused this skin: cannot open the file (error 2)"},
        {tempDirectory(), "", L": SkinH_VB6 refused this skin: cannot open the file (error 5)"},
        {L"", "", L"(no path): SkinH_VB6 refused this skin: the path is empty"},
    };
    for (const Case& c : cases) {
        if (c.path == bad) writeFile(bad, c.bytes);
        engine().SkinH_AttachEx(ansi(c.path), "");
        pump(60);
        EXPECT_COLOUR_NEAR(window.background(), kTest.windowBackground, 0) << utf8(c.why);
        const std::wstring said = c.path + c.why;
        EXPECT_NE(debugged.find(ansi(said) + "\n"), std::string::npos) << utf8(said);
        EXPECT_NE(e2e::readFile(tracePath).find("\n  " + utf8(said) + "\n"), std::string::npos) << utf8(said);
    }
    RemoveVectoredExceptionHandler(debugger);
    SetEnvironmentVariableW(L"SKINH_TRACE", nullptr);
    DeleteFileW(tracePath.c_str());
    DeleteFileW(bad.c_str());

    // 256 KiB to the byte is a skin still.
    writeFile(skinFile_, ofSize("[skin]\n[window]\nbackground = #E0C8F0\n", 262144));
    attachTestSkin();
    EXPECT_SHOWS(window.background(), skin::rgb(0xE0, 0xC8, 0xF0), 0);

    // Without a skin in force, a bad file leaves the window as the system draws it.
    engine().SkinH_Detach();
    engine().SkinH_AttachEx(ansi(missing), "");
    pump();
    EXPECT_COLOUR_NEAR(window.background(), kSystemFace, 0);
}

TEST_F(SkinEngine, BadCallsDoNoHarm) {
    using AttachEx = int(WINAPI*)(const char*, const char*);
    // A host passes machine words, whatever they hold.
    using OneArg = int(WINAPI*)(std::uintptr_t);
    using TwoArgs = int(WINAPI*)(std::uintptr_t, std::uintptr_t);
    HMODULE library = LoadLibraryW(L"SkinH_VB6.dll");
    ASSERT_NE(library, nullptr);
    auto function = [library](const char* name) { return reinterpret_cast<void (*)()>(GetProcAddress(library, name)); };
    auto attachEx = reinterpret_cast<AttachEx>(function("SkinH_AttachEx"));
    auto detachEx = reinterpret_cast<OneArg>(function("SkinH_DetachEx"));
    auto alpha = reinterpret_cast<TwoArgs>(function("SkinH_SetWindowAlpha"));

    // A text that ends where readable memory ends: its bytes, then a page that may not be read.
    const std::size_t bound = 32768;
    auto* pages = static_cast<char*>(VirtualAlloc(nullptr, bound + 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    std::fill(pages, pages + bound, 'a');
    DWORD was = 0;
    ASSERT_TRUE(VirtualProtect(pages + bound, 4096, PAGE_NOACCESS, &was));
    const char* nowhere = pages + bound;

    TestWindow window;
    engine().SkinH_Attach();
    engine().SkinH_Attach();
    engine().SkinH_Attach();
    attachEx(nullptr, nullptr);
    // Untraced, the second text is never read and the path no further than its bound.
    SetEnvironmentVariableW(L"SKINH_TRACE", nullptr);
    attachEx(skinPath().c_str(), nowhere);
    attachEx(pages, "");
    // Traced, neither is read past the bound; the path is refused.
    const std::wstring tracePath = tempDirectory() + L"skin-engine-bad-calls.txt";
    DeleteFileW(tracePath.c_str());
    SetEnvironmentVariableW(L"SKINH_TRACE", tracePath.c_str());
    attachEx(pages, pages);
    SetEnvironmentVariableW(L"SKINH_TRACE", nullptr);
    const std::string traced = e2e::readFile(tracePath);
    DeleteFileW(tracePath.c_str());
    EXPECT_EQ(traced.rfind("SkinH_AttachEx(\"" + std::string(bound, 'a') + "\"... (no end within 32768 bytes), \"", 0), 0u)
        << traced.substr(0, 80);
    EXPECT_NE(traced.find("\n  (no path): SkinH_VB6 refused this skin: the path has no end within 32768 bytes\n"),
              std::string::npos);
    VirtualFree(pages, 0, MEM_RELEASE);
    for (std::uintptr_t handle : {std::uintptr_t{0}, std::uintptr_t{0x12345678}, ~std::uintptr_t{0} / 3}) {
        detachEx(handle);
        alpha(handle, 100);
    }
    // Any value but 0 switches the shadow on, as a host's "true" does (VB's True is -1), and a
    // second switch adds no second shadow.
    ASSERT_EQ(shadowsShown(), 0);
    engine().SkinH_SetAero(7);
    EXPECT_EQ(shadowsShown(), 1) << "SkinH_SetAero(7)";
    engine().SkinH_SetAero(-1);
    EXPECT_EQ(shadowsShown(), 1) << "SkinH_SetAero(-1)";
    EXPECT_SHOWS(window.background(), kTest.windowBackground, 0);
    engine().SkinH_SetAero(0);
    EXPECT_EQ(shadowsShown(), 0) << "SkinH_SetAero(0)";
    // Three attaches, one detach: the window is the system's again.
    engine().SkinH_Detach();
    engine().SkinH_Detach();
    EXPECT_SHOWS(window.background(), kSystemFace, 0);
    FreeLibrary(library);
}

// The engine's opacity: clamped, 255 and above opaque again; a window the host made layered
// itself (half transparent, with a colour key) gets its own back by each way of detaching.
TEST_F(SkinEngine, WindowAlphaSetsTheOpacityAndDetachGivesTheHostsBack) {
    TestWindow window;
    const std::pair<int, int> cases[] = {{200, 200}, {0, 0}, {-5, 0}, {255, -1}, {300, -1}};  // -1: not layered
    for (const auto& [asked, shown] : cases) {
        engine().SkinH_SetWindowAlpha(handleValue(window.window()), asked);
        EXPECT_EQ(layered(window.window()), shown >= 0) << asked;
        if (shown < 0) continue;
        BYTE alpha = 0;
        DWORD flags = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(window.window(), nullptr, &alpha, &flags)) << asked;
        EXPECT_EQ(alpha, shown) << asked;
        EXPECT_TRUE(flags & LWA_ALPHA) << asked;
    }

    TestWindow own(500, 400, L"自己的透明");
    const COLORREF key = RGB(1, 2, 3);
    SetWindowLongW(own.window(), GWL_EXSTYLE, GetWindowLongW(own.window(), GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(own.window(), key, 128, LWA_ALPHA | LWA_COLORKEY);
    const std::pair<std::function<void()>, BYTE> steps[] = {
        {[&] { engine().SkinH_SetWindowAlpha(handleValue(own.window()), 200); }, 200},
        {[&] { engine().SkinH_SetWindowAlpha(handleValue(own.window()), 255); }, 255},
        {[&] { engine().SkinH_Detach(); }, 128},
        {[&] { engine().SkinH_SetWindowAlpha(handleValue(own.window()), 200); }, 200},
        {[&] { engine().SkinH_DetachEx(handleValue(own.window())); }, 128},
    };
    for (const auto& [call, shown] : steps) {
        engine().SkinH_SetWindowAlpha(handleValue(window.window()), 100);
        call();
        BYTE alpha = 0;
        COLORREF shownKey = 0;
        DWORD flags = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(own.window(), &shownKey, &alpha, &flags)) << int{shown};
        EXPECT_EQ(alpha, shown);
        EXPECT_EQ(shownKey, key) << int{shown};
        EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA | LWA_COLORKEY)) << int{shown};
    }
    engine().SkinH_Detach();
    EXPECT_FALSE(layered(window.window())) << "a window the host never made layered";
}

TEST_F(SkinEngine, ControlsShowTheSkinsStates) {
    TestWindow window;
    engine().SkinH_AttachEx(skinPath(), "");
    SendMessageW(window.control(kList), LB_SETCURSEL, 1, 0);
    RECT item;
    SendMessageW(window.control(kList), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_SHOWS(window.at(kList, item.right - 3, (item.top + item.bottom) / 2), kTest.listSelection, 0);
    // Inside the check box, away from its mark.
    HDC screen = GetDC(nullptr);
    const int box = MulDiv(13, GetDeviceCaps(screen, LOGPIXELSY), 96);
    ReleaseDC(nullptr, screen);
    EXPECT_SHOWS(window.at(kCheck, box - 3, (22 - box) / 2 + 2), kTest.checkBackground, 0);

    // A button held down shows the pressed face; let go, the pointer still over it, the hot
    // face; moved away (Wine tells the leaving after its hover time), the plain face.
    const POINT button = window.screenPoint(kButton, 50, 20);
    e2e::mouseEvent(button, 0);
    e2e::mouseEvent(button, MOUSEEVENTF_LEFTDOWN);
    EXPECT_SHOWS(window.buttonFace(), kTest.buttonPressed, 8);
    e2e::mouseEvent(button, MOUSEEVENTF_LEFTUP);
    EXPECT_SHOWS(window.buttonFace(), kTest.buttonHot, 40);
    e2e::mouseEvent(window.clientPoint(150, 60), 0);
    EXPECT_SHOWS(window.buttonFace(), kTest.buttonFace, 40);
}

// The engine serves the thread that owns the windows: calls from another thread are turned away,
// and the window goes on, skinned, through the messages that follow.
TEST_F(SkinEngine, CallsFromAnotherThreadLeaveTheWindowSkinnedAndWorking) {
    TestWindow window;
    attachTestSkin();
    const skinengine::WindowHandle handle = handleValue(window.window());
    // The window's thread goes on handling its messages meanwhile, as a host's would.
    std::atomic<bool> done{false};
    std::thread other([handle, &done] {
        engine().SkinH_DetachEx(handle);
        engine().SkinH_Detach();
        engine().SkinH_SetWindowAlpha(handle, 100);
        engine().SkinH_SetAero(1);
        engine().SkinH_Attach();
        done = true;
    });
    EXPECT_TRUE(pumpUntil([&] { return done.load(); }, 30000));
    other.join();

    // A click still reaches the check box, which clears it.
    e2e::clickAt(window.screenPoint(kCheck, 30, 11));
    RedrawWindow(window.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    EXPECT_TRUE(pumpUntil([&] { return SendMessageW(window.control(kCheck), BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
    pump();
    EXPECT_COLOUR_NEAR(window.background(), kTest.windowBackground, 0);
    EXPECT_COLOUR_NEAR(window.caption(), kTest.captionActive, 24);
    EXPECT_FALSE(layered(window.window()));
    EXPECT_EQ(FindWindowW(L"SkinHShadow", nullptr), nullptr) << "no shadow";

    // Its own thread still detaches it.
    engine().SkinH_Detach();
    EXPECT_SHOWS(window.background(), kSystemFace, 0);
}

// Under each sample skin, the controls it paints show its colours; an owner-drawn list's
// selection included, which its owner draws in the system's highlight.
TEST_F(SkinEngine, EverySampleSkinOnTheControls) {
    TestWindow window;
    e2e::parkMouse();  // no part of a scroll bar under the pointer
    SendMessageW(window.control(kList), LB_SETCURSEL, 1, 0);
    SendMessageW(window.control(kOwnerList), LB_SETCURSEL, 1, 0);
    RECT item;
    SendMessageW(window.control(kOwnerList), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    const int middle = (item.top + item.bottom) / 2;
    // A drop-down list with the focus draws its field selected.
    SetFocus(window.control(kOwnerCombo));
    RECT progress;
    GetClientRect(window.control(kProgress), &progress);
    const int progressWidth = progress.right;
    for (const wchar_t* name : {L"graphite", L"jade", L"ocean", L"sakura", L"sunset", L"violet"}) {
        const std::wstring path = e2e::binDirectory() + L"\\skins\\" + name + L".she";
        const std::optional<skin::Skin> sample = skin::parseSkin(e2e::readFile(path)).skin;
        ASSERT_TRUE(sample.has_value()) << utf8(name);
        engine().SkinH_AttachEx(ansi(path), "");
        EXPECT_SHOWS(window.background(), sample->windowBackground, 0) << utf8(name);
        // Right of the entry's text, and in its first column, left of it.
        EXPECT_SHOWS(window.at(kOwnerList, item.right - 3, middle), sample->listSelection, 0) << utf8(name);
        EXPECT_SHOWS(window.at(kOwnerList, item.left + 3, middle), sample->listSelection, 0) << utf8(name);
        EXPECT_SHOWS(window.at(kOwnerList, item.right - 3, middle + 18), sample->listBackground, 0) << utf8(name);
        EXPECT_SHOWS(window.at(kOwnerCombo, 20, 10), sample->listSelection, 0) << utf8(name);
        // Each combo box's frame; the drop buttons, an owner-drawn one's too.
        for (int id : {kCombo, kDropDown, kSimple}) EXPECT_SHOWS(window.at(id, 0, 10), sample->editBorder, 0) << id;
        for (int id : {kOwnerCombo, kCombo, kDropDown}) EXPECT_SHOWS(window.comboButton(id), sample->comboButton, 0) << id;
        // Dropped: the list's border, its chosen entry and another one.
        SendMessageW(window.control(kCombo), CB_SHOWDROPDOWN, TRUE, 0);
        EXPECT_TRUE(pumpUntil([&] { return window.dropped(kCombo); })) << utf8(name);
        EXPECT_SHOWS(window.droppedList(kCombo, 0, 8), sample->editBorder, 0) << utf8(name);
        EXPECT_SHOWS(window.droppedList(kCombo, 140, 8), sample->listSelection, 0) << utf8(name);
        EXPECT_SHOWS(window.droppedList(kCombo, 140, 40), sample->listBackground, 0) << utf8(name);
        pump();
        e2e::saveScreenshot(window.window(), e2e::screenshotDirectory() + L"\\skin-" + name + L"-controls.png");
        SendMessageW(window.control(kCombo), CB_SHOWDROPDOWN, FALSE, 0);
        SetFocus(window.control(kOwnerCombo));
        // The scroll bar control and the list's own: an arrow button, the thumb below it, the track.
        for (const auto& [id, object] : {std::pair{kScroll, OBJID_CLIENT}, std::pair{kList, OBJID_VSCROLL}}) {
            const SCROLLBARINFO info = window.bar(id, object);
            const int length = info.rcScrollBar.bottom - info.rcScrollBar.top, arrow = GetSystemMetrics(SM_CYVSCROLL);
            EXPECT_SHOWS(window.barAt(id, object, 3, 3), sample->scrollbarThumb, 0) << utf8(name) << id;
            EXPECT_SHOWS(window.barAt(id, object, 3, info.xyThumbTop + 3), sample->scrollbarThumb, 0) << utf8(name) << id;
            EXPECT_SHOWS(window.barAt(id, object, 3, length - arrow - 3), sample->scrollbarTrack, 0) << utf8(name) << id;
        }
        // The progress bar 35 and 47 steps of 100 in (40 filled), the trackbar's channel right of
        // its thumb and the thumb, the selected tab, one left of it and the page, the status bar
        // right of its first part's text.
        const RECT channel = window.part(kTrackbar, TBM_GETCHANNELRECT), chosen = window.part(kTabs, TCM_GETITEMRECT, 1);
        const RECT other = window.part(kTabs, TCM_GETITEMRECT, 0), status = window.part(kStatus, SB_GETRECT, 0);
        const RECT thumb = window.part(kTrackbar, TBM_GETTHUMBRECT);
        const std::tuple<int, int, int, Colour> common[] = {
            {kProgress, progressWidth * 35 / 100, 8, sample->progressBar},
            {kProgress, progressWidth * 47 / 100, 8, sample->progressBackground},
            {kTrackbar, channel.right - 4, (channel.top + channel.bottom) / 2, sample->trackbarChannel},
            {kTrackbar, (thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2, sample->trackbarThumb},
            {kTabs, chosen.left + 2, (chosen.top + chosen.bottom) / 2, sample->tabSelected},
            {kTabs, other.left + 2, (other.top + other.bottom) / 2, sample->tabFace},
            {kTabs, 200, 50, sample->tabSelected},
            {kStatus, status.right - 6, (status.top + status.bottom) / 2, sample->statusBackground},
        };
        for (const auto& [id, x, y, expected] : common) EXPECT_SHOWS(window.at(id, x, y), expected, 0) << utf8(name) << id;
    }
    // Detached, the owner's own drawing shows again: the system's highlight; the common controls
    // are the system's too.
    engine().SkinH_Detach();
    EXPECT_SHOWS(window.at(kOwnerList, item.right - 3, middle), GetSysColor(COLOR_HIGHLIGHT), 0);
    EXPECT_SHOWS(window.at(kProgress, progressWidth * 35 / 100, 8), GetSysColor(COLOR_HIGHLIGHT), 0);
    EXPECT_SHOWS(window.at(kStatus, 150, 10), kSystemFace, 0);
}

// A tooltip of a skinned window shows the skin's background, text and border and none of the
// system's tooltip colours: one the host made before the skin, and one made while the skin is on.
// Detached, by either way, it shows the system's again.
TEST_F(SkinEngine, TooltipsFollowTheSkinAndTheSystemAfterDetach) {
    struct Case {
        const wchar_t* skin;
        bool madeBeforeTheSkin;
        bool detachTheWindow;  // SkinH_DetachEx, else SkinH_Detach
    };
    for (const Case& c : {Case{L"ocean", true, false}, Case{L"sakura", false, true}}) {
        TestWindow window;
        HWND tip = c.madeBeforeTheSkin ? window.addTooltip() : nullptr;
        const std::wstring path = e2e::binDirectory() + L"\\skins\\" + c.skin + L".she";
        const std::optional<skin::Skin> sample = skin::parseSkin(e2e::readFile(path)).skin;
        ASSERT_TRUE(sample.has_value()) << utf8(c.skin);
        engine().SkinH_AttachEx(ansi(path), "");
        if (tip == nullptr) tip = window.addTooltip();
        ASSERT_TRUE(window.hoverForTooltip(tip)) << utf8(c.skin);
        RECT shown;
        GetWindowRect(tip, &shown);
        auto tipAt = [&](int x, int y) { return e2e::screenColour({shown.left + x, shown.top + y}); };
        const int right = shown.right - shown.left - 1, bottom = shown.bottom - shown.top - 1;
        EXPECT_SHOWS(tipAt(1, 1), sample->tooltipBackground, 0) << utf8(c.skin);
        for (const POINT corner : {POINT{0, 0}, POINT{right, bottom}, POINT{0, bottom / 2}, POINT{right / 2, 0}}) {
            EXPECT_SHOWS(tipAt(corner.x, corner.y), sample->tooltipBorder, 0) << utf8(c.skin) << corner.x << "," << corner.y;
        }
        int text = 0, system = 0;
        for (DWORD pixel : e2e::screenPixels(shown)) {
            const Colour colour = RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
            text += colour == sample->tooltipText ? 1 : 0;
            system += colour == kSystemInfoBackground || colour == kSystemInfoText ? 1 : 0;
        }
        EXPECT_GT(text, 10) << utf8(c.skin) << ": the tip's text in the skin's colour";
        EXPECT_EQ(system, 0) << utf8(c.skin);
        e2e::saveScreenshot(shown, e2e::screenshotDirectory() + L"\\skin-" + c.skin + L"-tooltip.png");

        if (c.detachTheWindow) {
            engine().SkinH_DetachEx(handleValue(window.window()));
        } else {
            engine().SkinH_Detach();
        }
        EXPECT_TRUE(IsWindowVisible(tip)) << utf8(c.skin);
        EXPECT_SHOWS(tipAt(1, 1), kSystemInfoBackground, 0) << utf8(c.skin);
        EXPECT_SHOWS(tipAt(0, 0), kSystemFrame, 0) << utf8(c.skin);
        EXPECT_SHOWS(tipAt(right, bottom / 2), kSystemFrame, 0) << utf8(c.skin);
        engine().SkinH_Detach();
    }
}

// A skinned combo box still drops and chooses as the platform's own: by its button and a click
// on an entry, by F4 and by Alt+Down, arrows and Enter.
TEST_F(SkinEngine, TheComboBoxDropsAndChoosesByMouseAndKeyboard) {
    TestWindow window;
    attachTestSkin();
    HWND combo = window.control(kCombo);
    auto chosen = [&](LRESULT entry) {
        return pumpUntil([&] { return !window.dropped(kCombo) && SendMessageW(combo, CB_GETCURSEL, 0, 0) == entry; });
    };
    const RECT button = window.combo(kCombo).rcButton;
    e2e::clickAt(window.screenPoint(kCombo, (button.left + button.right) / 2, (button.top + button.bottom) / 2));
    ASSERT_TRUE(pumpUntil([&] { return window.dropped(kCombo); }));
    e2e::clickListEntry(window.combo(kCombo).hwndList, 2);
    EXPECT_TRUE(chosen(2));

    e2e::parkMouse();  // away from where the list drops: the list follows the pointer
    SetFocus(combo);
    e2e::pressKey(VK_F4);
    ASSERT_TRUE(pumpUntil([&] { return window.dropped(kCombo); }));
    for (const WORD key : {VK_DOWN, VK_RETURN}) e2e::pressKey(key);
    EXPECT_TRUE(chosen(3));
    e2e::pressWith(VK_MENU, VK_DOWN);
    ASSERT_TRUE(pumpUntil([&] { return window.dropped(kCombo); }));
    for (const WORD key : {VK_UP, VK_UP, VK_RETURN}) e2e::pressKey(key);
    EXPECT_TRUE(chosen(1));
}

// A skinned scroll bar still scrolls by its arrow, by a page and by its thumb dragged with the real
// mouse; the thumb shows where it is dragged to while it is held. A list's own bar scrolls the list.
TEST_F(SkinEngine, TheScrollBarsScrollByArrowPageAndThumb) {
    TestWindow window;
    attachTestSkin();
    HWND scroll = window.control(kScroll);
    auto position = [&](int expected) { return pumpUntil([&] { return GetScrollPos(scroll, SB_CTL) == expected; }); };
    const SCROLLBARINFO info = window.bar(kScroll);
    const int length = info.rcScrollBar.bottom - info.rcScrollBar.top, arrow = GetSystemMetrics(SM_CYVSCROLL);
    const POINT top{info.rcScrollBar.left + 8, info.rcScrollBar.top};
    e2e::clickAt({top.x, top.y + length - arrow / 2});
    EXPECT_TRUE(position(1)) << GetScrollPos(scroll, SB_CTL);
    e2e::clickAt({top.x, top.y + length - arrow - 4});
    EXPECT_TRUE(position(21)) << GetScrollPos(scroll, SB_CTL);

    // Held on the thumb and moved 40 pixels down, from another thread: the window's thread is in
    // the platform's tracking loop meanwhile.
    const SCROLLBARINFO before = window.bar(kScroll);
    const POINT grip{top.x, top.y + (before.xyThumbTop + before.xyThumbBottom) / 2};
    std::atomic<bool> done{false};
    Colour left = 0, reached = 0;
    std::thread mouse([&] {
        e2e::moveMouse(grip);
        e2e::mouseEvent(grip, MOUSEEVENTF_LEFTDOWN);
        for (int step = 1; step <= 4; ++step) {
            Sleep(60);
            e2e::mouseEvent({grip.x, grip.y + 10 * step}, 0);
        }
        Sleep(400);
        left = e2e::screenColour({grip.x, grip.y});
        reached = e2e::screenColour({grip.x, grip.y + 40});
        e2e::mouseEvent({grip.x, grip.y + 40}, MOUSEEVENTF_LEFTUP);
        done = true;
    });
    EXPECT_TRUE(pumpUntil([&] { return done.load(); }, 30000));
    mouse.join();
    EXPECT_COLOUR_NEAR(left, kTest.scrollbarTrack, 0) << "where the thumb was";
    EXPECT_COLOUR_NEAR(reached, kTest.scrollbarThumbHot, 0) << "where it is dragged to";
    EXPECT_TRUE(pumpUntil([&] { return GetScrollPos(scroll, SB_CTL) > 40; })) << GetScrollPos(scroll, SB_CTL);
    const SCROLLBARINFO after = window.bar(kScroll);
    EXPECT_SHOWS(window.barAt(kScroll, OBJID_CLIENT, 3, after.xyThumbTop + 2), kTest.scrollbarThumbHot, 0);

    // The list's own bar: its lower arrow scrolls the list by an entry, and the thumb follows.
    const SCROLLBARINFO list = window.bar(kList, OBJID_VSCROLL);
    e2e::clickAt({list.rcScrollBar.left + 8, list.rcScrollBar.bottom - GetSystemMetrics(SM_CYVSCROLL) / 2});
    EXPECT_TRUE(pumpUntil([&] { return SendMessageW(window.control(kList), LB_GETTOPINDEX, 0, 0) == 1; }));
    e2e::parkMouse();
    EXPECT_SHOWS(window.barAt(kList, OBJID_VSCROLL, 3, window.bar(kList, OBJID_VSCROLL).xyThumbTop + 2),
                 kTest.scrollbarThumb, 0);
}

// A skinned trackbar still follows its thumb dragged with the real mouse and the arrow keys and
// tells its parent, its thumb drawn where the control says it is.
TEST_F(SkinEngine, TheTrackbarFollowsMouseAndKeys) {
    TestWindow window;
    attachTestSkin();
    HWND trackbar = window.control(kTrackbar);
    auto position = [&] { return SendMessageW(trackbar, TBM_GETPOS, 0, 0); };
    const RECT before = window.part(kTrackbar, TBM_GETTHUMBRECT), channel = window.part(kTrackbar, TBM_GETCHANNELRECT);
    const POINT grip = window.screenPoint(kTrackbar, (before.left + before.right) / 2, (before.top + before.bottom) / 2);
    trackbarNotices = 0;
    e2e::moveMouse(grip);
    e2e::mouseEvent(grip, MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(pumpUntil([&] { return GetCapture() == trackbar; }));
    e2e::mouseEvent({grip.x + (channel.right - channel.left) / 2, grip.y}, 0);
    EXPECT_TRUE(pumpUntil([&] { return position() > 5; })) << position();
    e2e::mouseEvent({grip.x + (channel.right - channel.left) / 2, grip.y}, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(pumpUntil([&] { return GetCapture() == nullptr; }));
    EXPECT_GT(trackbarNotices, 0);
    EXPECT_SHOWS(window.middleOf(kTrackbar, window.part(kTrackbar, TBM_GETTHUMBRECT)), kTest.trackbarThumb, 0);
    EXPECT_SHOWS(window.at(kTrackbar, grip.x - window.screenPoint(kTrackbar, 0, 0).x, (channel.top + channel.bottom) / 2),
                 kTest.trackbarChannel, 0) << "where the thumb was";
    const LRESULT dragged = position();
    SetFocus(trackbar);
    e2e::pressKey(VK_LEFT);
    EXPECT_TRUE(pumpUntil([&] { return position() == dragged - 1; })) << position();
    EXPECT_SHOWS(window.middleOf(kTrackbar, window.part(kTrackbar, TBM_GETTHUMBRECT)), kTest.trackbarThumb, 0);

}

// The rightmost column of the caption bar, left of its buttons, where the title's text shows: a
// pixel far from the bar's own colour in its row (the bar is shaded from top to bottom only).
int titleEnd(HWND window) {
    RECT frame;
    GetWindowRect(window, &frame);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    const RECT bar{frame.left + 4, frame.top + 4, frame.right - 80, client.y - 4};
    const int width = bar.right - bar.left;
    const std::vector<DWORD> pixels = e2e::screenPixels(bar);
    int rightmost = -1;
    for (int y = 0; y < bar.bottom - bar.top; ++y) {
        const DWORD* row = &pixels[static_cast<std::size_t>(y) * width];
        for (int x = 0; x < width; ++x) {
            // 0x00RRGGBB on both sides: the distance does not mind the order.
            if (distance(row[x], row[width - 1]) > 90) rightmost = std::max(rightmost, x);
        }
    }
    return rightmost;
}

// The caption is ours alone: a drag on it moves the window, a new title shows in it at once, and
// Detach gives the window the system's caption back.
TEST_F(SkinEngine, TheCaptionMovesTheWindowShowsANewTitleAndGoesBackOnDetach) {
    TestWindow window;
    attachTestSkin();
    EXPECT_SHOWS(window.caption(), kTest.captionActive, 24);

    // Pressed on the bar, moved and let go by the real mouse, from another thread: the window's
    // thread is inside the platform's move loop meanwhile.
    RECT before;
    GetWindowRect(window.window(), &before);
    const POINT start{before.left + 250, (before.top + window.clientPoint(0, 0).y) / 2};
    ASSERT_EQ(SendMessageW(window.window(), WM_NCHITTEST, 0, MAKELPARAM(start.x, start.y)), HTCAPTION);
    std::atomic<bool> done{false};
    std::thread mouse([start, &done] {
        e2e::moveMouse(start);
        e2e::mouseEvent(start, MOUSEEVENTF_LEFTDOWN);
        Sleep(200);
        for (int step = 1; step <= 6; ++step) {
            e2e::mouseEvent({start.x + 10 * step, start.y + 5 * step}, 0);
            Sleep(60);
        }
        Sleep(200);
        e2e::mouseEvent({start.x + 60, start.y + 30}, MOUSEEVENTF_LEFTUP);
        done = true;
    });
    EXPECT_TRUE(pumpUntil([&] { return done.load(); }, 30000));
    mouse.join();
    RECT after{};
    EXPECT_TRUE(pumpUntil([&] {
        GetWindowRect(window.window(), &after);
        return after.left == before.left + 60 && after.top == before.top + 30;
    })) << "moved by " << after.left - before.left << ", " << after.top - before.top;
    EXPECT_EQ(after.right - after.left, before.right - before.left);

    // The same sign repeated: each one more moves the title's end by one advance.
    SetWindowTextW(window.window(), L"国国国国国国国国");
    pump();
    const int eight = titleEnd(window.window());
    SetWindowTextW(window.window(), L"国");
    pump();
    const int one = titleEnd(window.window());
    SetWindowTextW(window.window(), L"国国");
    pump();
    const int two = titleEnd(window.window());
    EXPECT_GE(two - one, 6) << "one sign more, the title ends further right";
    EXPECT_NEAR(eight - one, 7 * (two - one), 3) << "ends " << one << ", " << two << ", " << eight;
    EXPECT_EQ(e2e::windowText(window.window()), L"国国");
    EXPECT_COLOUR_NEAR(window.caption(), kTest.captionActive, 24);
    e2e::saveScreenshot(window.window(), e2e::screenshotDirectory() + L"\\skin-caption-title.png");

    // Detached, the caption is the system's, shaded between its two active caption colours.
    engine().SkinH_Detach();
    const Colour left = GetSysColor(COLOR_ACTIVECAPTION), right = GetSysColor(COLOR_GRADIENTACTIVECAPTION);
    auto systemCaption = [&](Colour c) {
        for (int weight = 0; weight <= 255; ++weight) {
            if (distance(c, skin::blend(left, right, weight)) <= 24) return true;
        }
        return false;
    };
    EXPECT_TRUE(pumpUntil([&] { return systemCaption(window.caption()); })) << hex(window.caption());
    EXPECT_EQ(e2e::windowText(window.window()), L"国国");
    e2e::saveScreenshot(window.window(), e2e::screenshotDirectory() + L"\\skin-caption-detached.png");
}

// A host's own drawing in the system's colours: the highlight's brush on the left half, a brush
// of the face colour on the right, each asked for at every paint.
LRESULT CALLBACK systemColouredPanel(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT whole;
    GetClientRect(window, &whole);
    RECT left = whole, right = whole;
    left.right = right.left = whole.right / 2;
    FillRect(dc, &left, GetSysColorBrush(COLOR_HIGHLIGHT));
    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    FillRect(dc, &right, face);
    DeleteObject(face);
    EndPaint(window, &paint);
    return 0;
}

// A call through this program's import as a paint handler makes it. Not inlined: a function that
// called GetSysColor once may keep the import's address for its later calls, which then never see
// the address the library put there.
__attribute__((noinline)) DWORD askSysColor(int index) { return GetSysColor(index); }
__attribute__((noinline)) HBRUSH askSysColorBrush(int index) { return GetSysColorBrush(index); }

TEST_F(SkinEngine, AHostsOwnCallsForTheSystemsColoursAnswerTheSkinsWhileItIsOn) {
    TestWindow window;
    WNDCLASSW panelClass{};
    panelClass.lpfnWndProc = systemColouredPanel;
    panelClass.hInstance = GetModuleHandleW(nullptr);
    panelClass.lpszClassName = L"SkinEngineTestPanel";
    RegisterClassW(&panelClass);
    HWND panel = CreateWindowExW(0, L"SkinEngineTestPanel", L"", WS_CHILD | WS_VISIBLE, 200, 10, 160, 80,
                                 window.window(), nullptr, GetModuleHandleW(nullptr), nullptr);
    auto shown = [&](int x) {
        POINT point{x, 40};
        ClientToScreen(panel, &point);
        return e2e::screenColour(point);
    };

    const DWORD scrollBar = askSysColor(COLOR_SCROLLBAR);
    // sakura.she: [list] selection = #B03A6A, [window] background = #FCF1F5.
    engine().SkinH_AttachEx(ansi(e2e::binDirectory() + L"\\skins\\sakura.she"), "");
    EXPECT_EQ(askSysColor(COLOR_BTNFACE), skin::rgb(0xFC, 0xF1, 0xF5));
    EXPECT_EQ(askSysColor(COLOR_HIGHLIGHT), skin::rgb(0xB0, 0x3A, 0x6A));
    EXPECT_SHOWS(shown(40), skin::rgb(0xB0, 0x3A, 0x6A), 0);
    EXPECT_SHOWS(shown(120), skin::rgb(0xFC, 0xF1, 0xF5), 0);
    // What the skin leaves alone stays the system's.
    EXPECT_EQ(askSysColor(COLOR_SCROLLBAR), scrollBar);
    e2e::saveScreenshot(window.window(), e2e::screenshotDirectory() + L"\\skin-system-colours.png");

    // Another skin takes over the answers (the test skin: selection #208040, background #D8ECD0).
    attachTestSkin();
    EXPECT_SHOWS(shown(40), skin::rgb(0x20, 0x80, 0x40), 0);
    EXPECT_SHOWS(shown(120), skin::rgb(0xD8, 0xEC, 0xD0), 0);

    engine().SkinH_Detach();
    EXPECT_EQ(askSysColor(COLOR_BTNFACE), kSystemFace);
    EXPECT_EQ(askSysColorBrush(COLOR_HIGHLIGHT), kSystemHighlightBrush);
    EXPECT_SHOWS(shown(40), kSystemHighlight, 0);
    EXPECT_SHOWS(shown(120), kSystemFace, 0);
}

}  // namespace

// The popup menu of this process on the screen (the innermost one), or nullptr.
HWND openMenu() {
    HWND found = nullptr;
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w != nullptr;
         w = FindWindowExW(nullptr, w, L"#32768", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == GetCurrentProcessId() && IsWindowVisible(w)) found = w;
    }
    return found;
}

// A menu's own loop runs on the thread that opened it, so what it shows is read, and keys are
// typed, from another thread, which then closes it with Escape until that loop has ended.
// `open` starts the loop, or the input that starts it once this thread handles it.
void whileMenuOpen(const std::function<void()>& open, const std::function<void(HWND)>& whileOpen) {
    const DWORD thread = GetCurrentThreadId();
    std::atomic<bool> done{false};
    std::thread reader([&] {
        HWND menu = nullptr;
        const bool shown = pumpUntil([&] { return (menu = openMenu()) != nullptr; }, 30000);
        EXPECT_TRUE(shown) << "no menu opened";
        if (shown) whileOpen(menu);
        EXPECT_TRUE(pumpUntil([&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            if (GetGUIThreadInfo(thread, &info) && !(info.flags & GUI_INMENUMODE) && openMenu() == nullptr) return true;
            e2e::pressKey(VK_ESCAPE);
            return false;
        }, 30000)) << "the menu loop did not end";
        done = true;
    });
    open();
    pumpUntil([&] { return done.load(); }, 60000);
    reader.join();
}

// The item a popup menu shows highlighted, as the platform keeps it (-1: none).
int highlighted(HWND popup) {
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; menu != nullptr && i < GetMenuItemCount(menu); ++i) {
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
    }
    return -1;
}

// The item highlighted once the menu's loop has set the menu up and waits for input: it handles
// a message sent from another thread only then (the window menu comes with its first item chosen).
int settledHighlight(HWND popup) {
    SendMessageW(popup, WM_NULL, 0, 0);
    return highlighted(popup);
}

// A point near the right end of a popup menu's item, clear of its text.
POINT menuItemPoint(HWND popup, int item) {
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    RECT rect{};
    GetMenuItemRect(nullptr, menu, static_cast<UINT>(item), &rect);
    return {rect.right - 6, (rect.top + rect.bottom) / 2};
}

// Under each sample skin, the text box's context menu, the window menu and a menu bar's menu show
// the skin's colours, and the highlight where the keys put it.
TEST_F(SkinEngine, EverySampleSkinOnTheMenus) {
    TestWindow window;
    e2e::parkMouse();
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 101, L"打开(&O)\tCtrl+O");
    AppendMenuW(file, MF_STRING | MF_CHECKED, 102, L"自动刷新(&A)");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING | MF_GRAYED, 103, L"退出(&X)");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"文件(&F)");
    AppendMenuW(bar, MF_STRING, 104, L"帮助(&H)");
    SetMenu(window.window(), bar);
    pump();
    RECT fileItem{};
    ASSERT_TRUE(GetMenuItemRect(window.window(), bar, 0, &fileItem));
    const POINT edit = window.screenPoint(kEdit, 20, 12);
    const std::pair<const char*, std::function<void()>> menus[] = {
        {"context menu", [&] { SendMessageW(window.control(kEdit), WM_CONTEXTMENU,
                                            reinterpret_cast<WPARAM>(window.control(kEdit)), MAKELPARAM(edit.x, edit.y)); }},
        {"window menu", [&] { SendMessageW(window.window(), WM_SYSCOMMAND, SC_KEYMENU, L' '); }},
        {"menu bar", [&] { e2e::clickAt({(fileItem.left + fileItem.right) / 2, (fileItem.top + fileItem.bottom) / 2}); }},
    };
    for (const wchar_t* name : {L"graphite", L"jade", L"ocean", L"sakura", L"sunset", L"violet"}) {
        const std::wstring path = e2e::binDirectory() + L"\\skins\\" + name + L".she";
        const std::optional<skin::Skin> sample = skin::parseSkin(e2e::readFile(path)).skin;
        ASSERT_TRUE(sample.has_value()) << utf8(name);
        engine().SkinH_AttachEx(ansi(path), "");
        pump();
        for (const auto& [what, open] : menus) {
            whileMenuOpen(open, [&, what = what](HWND popup) {
                RECT shown;
                GetWindowRect(popup, &shown);
                EXPECT_SHOWS(e2e::screenColour({shown.left, (shown.top + shown.bottom) / 2}), sample->menuBorder, 0)
                    << what << " " << utf8(name);
                // Down moves the highlight from item to item; the one left shows the background again.
                int previous = settledHighlight(popup);
                for (int step = 0; step < 2; ++step) {
                    e2e::pressKey(VK_DOWN);
                    int now = -1;
                    EXPECT_TRUE(pumpUntil([&] { return (now = highlighted(popup)) >= 0 && now != previous; }, 30000));
                    EXPECT_SHOWS(e2e::screenColour(menuItemPoint(popup, now)), sample->menuSelection, 0)
                        << what << " " << utf8(name) << " item " << now;
                    if (previous >= 0) {
                        EXPECT_SHOWS(e2e::screenColour(menuItemPoint(popup, previous)), sample->menuBackground, 0)
                            << what << " " << utf8(name) << " item " << previous;
                    }
                    previous = now;
                }
                if (std::string(what) == "menu bar") {
                    EXPECT_SHOWS(e2e::screenColour({fileItem.right - 3, fileItem.top + 3}), sample->menuSelection, 0)
                        << utf8(name);
                }
                {
                    RECT whole = shown;
                    GetWindowRect(window.window(), &whole);
                    UnionRect(&whole, &whole, &shown);
                    e2e::saveScreenshot(whole, e2e::screenshotDirectory() + L"\\skin-" + name + (std::string(what) == "menu bar" ? L"-bar" : std::string(what) == "context menu" ? L"-context" : L"") + L"-menu.png");
                }
            });
        }
    }
    // Detached, the menus are the system's again.
    engine().SkinH_Detach();
    whileMenuOpen(menus[1].second, [&](HWND popup) {
        const int previous = settledHighlight(popup);
        e2e::pressKey(VK_DOWN);
        int now = -1;
        EXPECT_TRUE(pumpUntil([&] { return (now = highlighted(popup)) >= 0 && now != previous; }, 30000));
        EXPECT_SHOWS(e2e::screenColour(menuItemPoint(popup, now)), kSystemHighlight, 0);
    });
}

LRESULT CALLBACK countPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_PAINT) ++(*reinterpret_cast<std::map<HWND, int>*>(data))[window];
    return DefSubclassProc(window, message, wParam, lParam);
}

BOOL CALLBACK collectShown(HWND window, LPARAM list) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// A skin switch paints every open window once, and each of their controls once: not once for
// each control on the window.
TEST_F(SkinEngine, ASkinSwitchPaintsEachWindowAndControlOnce) {
    TestWindow first, second(480, 90, L"第二个窗口");
    attachTestSkin();
    std::vector<HWND> shown{first.window(), second.window()};
    for (HWND top : {first.window(), second.window()}) EnumChildWindows(top, collectShown, reinterpret_cast<LPARAM>(&shown));
    std::map<HWND, int> paints;
    for (HWND w : shown) SetWindowSubclass(w, countPaints, 7, reinterpret_cast<DWORD_PTR>(&paints));
    // Everything waiting handled first, so that only the switch's painting is counted.
    EXPECT_TRUE(pumpUntil([] { return GetQueueStatus(QS_ALLINPUT) == 0; }, 30000));
    paints.clear();
    engine().SkinH_AttachEx(ansi(e2e::binDirectory() + L"\\skins\\ocean.she"), "");
    EXPECT_TRUE(pumpUntil([] { return GetQueueStatus(QS_ALLINPUT) == 0; }, 30000));
    for (HWND w : shown) {
        EXPECT_EQ(paints[w], 1) << utf8(ui::win32::classNameOf(w)) << " " << GetDlgCtrlID(w);
        RemoveWindowSubclass(w, countPaints, 7);
    }
}
