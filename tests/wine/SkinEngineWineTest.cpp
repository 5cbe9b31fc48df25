// Our SkinH_VB6.dll under Wine, called through the programs' own binding on windows of this
// process: what the screen shows, the window's opacity, the shadow, message boxes, the caption
// buttons, bad calls and leaks.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "skinengine/library/SkinFormat.h"
#include "skinengine/win32/SkinEngineLibrary.h"
#include "tests/e2e/HandleProbe.h"
#include "tests/e2e/WindowDriver.h"

namespace {

using skin::Colour;

skinengine::SkinEngineLibrary& engine() {
    static skinengine::SkinEngineLibrary library;
    return library;
}

std::uint32_t handleValue(HWND window) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)); }

std::string narrow(const std::wstring& text, UINT codePage) {
    int length = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.c_str(), -1, result.data(), length, nullptr, nullptr);
    result.pop_back();
    return result;
}
std::string ansi(const std::wstring& text) { return narrow(text, CP_ACP); }
std::string utf8(const std::wstring& text) { return narrow(text, CP_UTF8); }

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

bool pumpUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds) return false;
        pump(20);
    }
    return true;
}

// Screen pixels come as 0x00RRGGBB; skin colours as 0x00BBGGRR.
Colour colourAt(POINT screen) {
    RECT one = {screen.x, screen.y, screen.x + 1, screen.y + 1};
    const DWORD pixel = e2e::screenPixels(one).at(0);
    return skin::rgb((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
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

std::string readFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

constexpr Colour kOwnerYellow = skin::rgb(255, 255, 192);  // the programs' light-yellow result box
constexpr wchar_t kTestClass[] = L"SkinEngineTestWindow";

enum ControlId {
    kButton = 10, kCheck, kOption, kGroup, kEdit, kReadOnly, kLabel, kRedLabel, kYellowEdit, kList
};

// A window like the programs': system background, a caption with minimise and close, and one of
// each control, two of them with colours of their own.
class TestWindow {
public:
    explicit TestWindow(int left = 60, int top = 60, const wchar_t* title = L"皮肤测试窗口") {
        registerClass();
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        RECT frame = {0, 0, 380, 250};
        AdjustWindowRectEx(&frame, style, FALSE, 0);
        window_ = CreateWindowExW(0, kTestClass, title, style, left, top, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
        add(L"BUTTON", L"按钮", BS_PUSHBUTTON | WS_TABSTOP, 10, 10, 100, 30, kButton);
        add(L"BUTTON", L"选项一", BS_AUTOCHECKBOX | WS_TABSTOP, 10, 50, 100, 22, kCheck);
        add(L"BUTTON", L"单选", BS_AUTORADIOBUTTON, 10, 76, 100, 22, kOption);
        add(L"BUTTON", L"分组", BS_GROUPBOX, 200, 4, 170, 96, kGroup);
        add(L"EDIT", L"编辑框", ES_AUTOHSCROLL, 10, 110, 150, 24, kEdit);
        add(L"EDIT", L"只读", ES_READONLY, 10, 140, 150, 24, kReadOnly);
        add(L"STATIC", L"标签", 0, 10, 172, 80, 18, kLabel);
        add(L"STATIC", L"红色盈亏", 0, 100, 172, 80, 18, kRedLabel);
        add(L"EDIT", L"0.00", 0, 10, 196, 150, 24, kYellowEdit);
        add(L"LISTBOX", L"", WS_VSCROLL | LBS_NOTIFY, 200, 110, 170, 90, kList);
        for (const wchar_t* entry : {L"蓝色.she", L"绿色.she", L"紫色.she"}) {
            SendMessageW(control(kList), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
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
    bool destroyed() const { return destroyed_; }

    // Handlers of the button's click and the list's selection, as the programs have them.
    std::function<void()> onButton;
    std::function<void(int)> onSelect;

    POINT clientPoint(int x, int y) const {
        POINT point{x, y};
        ClientToScreen(window_, &point);
        return point;
    }
    // An empty stretch of the client area.
    Colour background() const { return colourAt(clientPoint(120, 60)); }
    // The caption bar right of the title, just above the client area.
    Colour caption() const {
        POINT client = clientPoint(250, 0);
        return colourAt({client.x, client.y - 3});
    }
    Colour at(int id, int x, int y) const {
        POINT point{x, y};
        ClientToScreen(control(id), &point);
        return colourAt(point);
    }
    Colour buttonFace() const { return at(kButton, 6, 24); }
    // The outermost line of the text box's border.
    Colour editBorder() const {
        RECT frame;
        GetWindowRect(control(kEdit), &frame);
        return colourAt({frame.left + 20, frame.top});
    }
    Colour editBackground() const { return at(kEdit, 140, 12); }
    Colour yellowEditBackground() const { return at(kYellowEdit, 140, 12); }

    int redPixelsOfTheRedLabel() const {
        return e2e::coloursOnScreen(control(kRedLabel)).red;
    }

private:
    void add(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int width, int height, int id) {
        // Text and list boxes with the sunken edge the programs give them.
        const bool box = std::wstring(className) == L"EDIT" || std::wstring(className) == L"LISTBOX";
        CreateWindowExW(box ? WS_EX_CLIENTEDGE : 0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    }

    static void registerClass() {
        static bool done = false;
        if (done) return;
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
        windowClass.lpszClassName = kTestClass;
        RegisterClassExW(&windowClass);
        done = true;
    }

    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        }
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        // The owner's colours, answered as the programs answer them: the default first.
        if (message == WM_CTLCOLORSTATIC && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kRedLabel) {
            LRESULT brush = DefWindowProcW(window, message, wParam, lParam);
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(255, 0, 0));
            return brush;
        }
        if (message == WM_CTLCOLOREDIT && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kYellowEdit) {
            static HBRUSH yellow = CreateSolidBrush(kOwnerYellow);
            DefWindowProcW(window, message, wParam, lParam);
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
            SetBkColor(reinterpret_cast<HDC>(wParam), kOwnerYellow);
            return reinterpret_cast<LRESULT>(yellow);
        }
        if (message == WM_COMMAND && self != nullptr) {
            if (LOWORD(wParam) == kButton && HIWORD(wParam) == BN_CLICKED && self->onButton) self->onButton();
            if (LOWORD(wParam) == kList && HIWORD(wParam) == LBN_SELCHANGE && self->onSelect) {
                self->onSelect(static_cast<int>(SendMessageW(self->control(kList), LB_GETCURSEL, 0, 0)));
            }
        }
        if (message == WM_DESTROY && self != nullptr) self->destroyed_ = true;
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    bool destroyed_ = false;
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

Colour testSkinColour(Colour skin::Skin::*member) { return (*skin::parseSkin(kTestSkin).skin).*member; }

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

    std::wstring skinFile_;
};

TEST_F(SkinEngine, AttachPaintsTheDefaultSkinAndDetachGivesTheSystemLookBack) {
    TestWindow window;
    const Colour systemBackground = window.background();
    const Colour systemCaption = window.caption();
    const Colour systemButton = window.buttonFace();
    const Colour systemBorder = window.editBorder();
    EXPECT_COLOUR_NEAR(systemBackground, GetSysColor(COLOR_BTNFACE), 0);

    engine().SkinH_Attach();
    pump();
    const skin::Skin& skin = skin::defaultSkin();
    EXPECT_COLOUR_NEAR(window.background(), skin.windowBackground, 0);
    EXPECT_COLOUR_NEAR(window.caption(), skin.captionActive, 24);
    EXPECT_COLOUR_NEAR(window.buttonFace(), skin.buttonFace, 40);
    EXPECT_COLOUR_NEAR(window.editBorder(), skin.editBorder, 0);
    // The owner's colours stay: red text on the skin's ground, and the yellow box.
    EXPECT_GT(window.redPixelsOfTheRedLabel(), 10);
    EXPECT_COLOUR_NEAR(window.at(kRedLabel, 70, 2), skin.windowBackground, 0);
    EXPECT_COLOUR_NEAR(window.yellowEditBackground(), kOwnerYellow, 0);
    e2e::saveScreenshot(window.window(), e2e::screenshotDirectory() + L"\\skin-default.png");

    engine().SkinH_Detach();
    pump();
    EXPECT_COLOUR_NEAR(window.background(), systemBackground, 0);
    EXPECT_COLOUR_NEAR(window.caption(), systemCaption, 0);
    EXPECT_COLOUR_NEAR(window.buttonFace(), systemButton, 0);
    EXPECT_COLOUR_NEAR(window.editBorder(), systemBorder, 0);
    EXPECT_COLOUR_NEAR(window.yellowEditBackground(), kOwnerYellow, 0);
}

TEST_F(SkinEngine, AttachFromAFileReplacesTheSkinInForce) {
    TestWindow window;
    engine().SkinH_Attach();
    pump();
    engine().SkinH_AttachEx(skinPath(), "");
    pump();
    EXPECT_COLOUR_NEAR(window.background(), testSkinColour(&skin::Skin::windowBackground), 0);
    EXPECT_COLOUR_NEAR(window.caption(), testSkinColour(&skin::Skin::captionActive), 24);
    EXPECT_COLOUR_NEAR(window.buttonFace(), testSkinColour(&skin::Skin::buttonFace), 40);
    EXPECT_COLOUR_NEAR(window.editBackground(), testSkinColour(&skin::Skin::editBackground), 0);
    EXPECT_COLOUR_NEAR(window.yellowEditBackground(), kOwnerYellow, 0);

    // After Detach, a file skins the windows again; the second text means nothing.
    engine().SkinH_Detach();
    pump();
    EXPECT_COLOUR_NEAR(window.background(), GetSysColor(COLOR_BTNFACE), 0);
    engine().SkinH_AttachEx(skinPath(), "任意文字");
    pump();
    EXPECT_COLOUR_NEAR(window.background(), testSkinColour(&skin::Skin::windowBackground), 0);

    // A skin at a path with Chinese names, passed in the ANSI code page, saved by Notepad as
    // "Unicode": UTF-16 little-endian behind the mark FF FE.
    const std::wstring folder = tempDirectory() + L"皮肤 文件夹";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring chinesePath = folder + L"\\湖蓝.she";
    const std::string jade = readFile(e2e::binDirectory() + L"\\skins\\jade.she");
    std::wstring unicode(jade.size(), L'\0');
    unicode.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, jade.data(), static_cast<int>(jade.size()), unicode.data(), static_cast<int>(jade.size()))));
    writeFile(chinesePath, "\xFF\xFE" + std::string(reinterpret_cast<const char*>(unicode.data()), unicode.size() * 2));
    engine().SkinH_AttachEx(ansi(chinesePath), "");
    pump();
    EXPECT_COLOUR_NEAR(window.background(), skin::parseSkin(jade).skin->windowBackground, 0);
    DeleteFileW(chinesePath.c_str());
    RemoveDirectoryW(folder.c_str());
}

// What the library says through OutputDebugStringW, as a debugger sees it: the platform raises
// it as an exception (ANSI text), which a vectored handler meets first.
class DebugOutput {
public:
    DebugOutput() : handler_(AddVectoredExceptionHandler(1, capture)) { seen().clear(); }
    DebugOutput(const DebugOutput&) = delete;
    DebugOutput& operator=(const DebugOutput&) = delete;
    ~DebugOutput() { RemoveVectoredExceptionHandler(handler_); }
    const std::string& text() const { return seen(); }

private:
    static constexpr DWORD kDebugPrint = 0x40010006;  // DBG_PRINTEXCEPTION_C
    static std::string& seen() {
        static std::string text;
        return text;
    }
    static LONG CALLBACK capture(EXCEPTION_POINTERS* info) {
        const EXCEPTION_RECORD& record = *info->ExceptionRecord;
        if (record.ExceptionCode == kDebugPrint && record.NumberParameters >= 2) {
            seen() += reinterpret_cast<const char*>(record.ExceptionInformation[1]);
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }
    PVOID handler_;
};

TEST_F(SkinEngine, AFileThatIsNoSkinChangesNothingAndSaysWhy) {
    TestWindow window;
    engine().SkinH_AttachEx(skinPath(), "");
    pump();
    const Colour skinned = window.background();
    EXPECT_COLOUR_NEAR(skinned, testSkinColour(&skin::Skin::windowBackground), 0);

    const DebugOutput debugger;
    const std::wstring tracePath = tempDirectory() + L"skin-engine-refusals.txt";
    DeleteFileW(tracePath.c_str());
    SetEnvironmentVariableW(L"SKINH_TRACE", tracePath.c_str());
    const std::wstring bad = tempDirectory() + L"skin-engine-bad.she";
    const std::wstring missing = tempDirectory() + L"no-such-skin.she";
    struct Case {
        std::wstring path;
        std::string bytes;  // written to path unless it is a folder or missing
        std::wstring why;   // as the author's debugger shows it
    };
    const Case cases[] = {
        {bad, "", L": SkinH_VB6 refused this skin: no [skin] section"},
        {bad, "hello\n", L"(1): SkinH_VB6 refused this skin: expected key = value"},
        {bad, "[skin]\n[window]\nbackground = #12345G\n", L"(3): SkinH_VB6 refused this skin: bad value for window.background"},
        {bad, std::string(kTestSkin, 60), L"(5): SkinH_VB6 refused this skin: bad value for window.text"},
        {bad, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), L": SkinH_VB6 refused this skin: binary data (NUL byte)"},
        {bad, std::string(kTestSkin) + std::string(300 * 1024, ';'), L": SkinH_VB6 refused this skin: larger than 256 KiB"},
        {missing, "", L": SkinH_VB6 refused this skin: cannot open the file (error 2)"},
        {tempDirectory(), "", L": SkinH_VB6 refused this skin: cannot open the file (error 5)"},
        {L"", "", L"(no path): SkinH_VB6 refused this skin: the path is empty"},
    };
    for (const Case& c : cases) {
        if (c.path == bad) writeFile(bad, c.bytes);
        engine().SkinH_AttachEx(ansi(c.path), "");
        pump(60);
        EXPECT_COLOUR_NEAR(window.background(), skinned, 0) << utf8(c.why);
        const std::wstring said = c.path + c.why;
        EXPECT_NE(debugger.text().find(ansi(said) + "\n"), std::string::npos) << utf8(said);
        EXPECT_NE(readFile(tracePath).find("\n  " + utf8(said) + "\n"), std::string::npos) << utf8(said);
    }
    SetEnvironmentVariableW(L"SKINH_TRACE", nullptr);
    DeleteFileW(tracePath.c_str());
    DeleteFileW(bad.c_str());

    // Without a skin in force, a bad file leaves the window as the system draws it.
    engine().SkinH_Detach();
    engine().SkinH_AttachEx(ansi(missing), "");
    pump();
    EXPECT_COLOUR_NEAR(window.background(), GetSysColor(COLOR_BTNFACE), 0);
}

TEST_F(SkinEngine, BadCallsDoNoHarm) {
    using AttachEx = int(WINAPI*)(const char*, const char*);
    using OneArg = int(WINAPI*)(std::uint32_t);
    using TwoArgs = int(WINAPI*)(std::uint32_t, std::uint32_t);
    HMODULE library = LoadLibraryW(L"SkinH_VB6.dll");
    ASSERT_NE(library, nullptr);
    auto attachEx = reinterpret_cast<AttachEx>(reinterpret_cast<void (*)()>(GetProcAddress(library, "SkinH_AttachEx")));
    auto detachEx = reinterpret_cast<OneArg>(reinterpret_cast<void (*)()>(GetProcAddress(library, "SkinH_DetachEx")));
    auto alpha = reinterpret_cast<TwoArgs>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "SkinH_SetWindowAlpha")));

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
    const std::string traced = readFile(tracePath);
    DeleteFileW(tracePath.c_str());
    EXPECT_EQ(traced.rfind("SkinH_AttachEx(\"" + std::string(bound, 'a') + "\"... (no end within 32768 bytes), \"", 0), 0u)
        << traced.substr(0, 80);
    EXPECT_NE(traced.find("\n  (no path): SkinH_VB6 refused this skin: the path has no end within 32768 bytes\n"),
              std::string::npos);
    VirtualFree(pages, 0, MEM_RELEASE);
    detachEx(0);
    detachEx(0x12345678u);
    alpha(0, 100);
    alpha(0x12345678u, 100);
    engine().SkinH_SetAero(7);
    engine().SkinH_SetAero(-1);
    pump();
    EXPECT_COLOUR_NEAR(window.background(), testSkinColour(&skin::Skin::windowBackground), 0);
    // Three attaches, one detach: the window is the system's again.
    engine().SkinH_SetAero(0);
    engine().SkinH_Detach();
    engine().SkinH_Detach();
    pump();
    EXPECT_COLOUR_NEAR(window.background(), GetSysColor(COLOR_BTNFACE), 0);
    FreeLibrary(library);
}

TEST_F(SkinEngine, DetachOfOneWindowLeavesTheOthersSkinned) {
    TestWindow first(40, 40, L"第一");
    TestWindow second(470, 300, L"第二");
    engine().SkinH_AttachEx(skinPath(), "");
    engine().SkinH_SetWindowAlpha(handleValue(first.window()), 200);
    pump();
    const Colour skinBackground = testSkinColour(&skin::Skin::windowBackground);
    EXPECT_COLOUR_NEAR(second.background(), skinBackground, 0);

    engine().SkinH_DetachEx(handleValue(first.window()));
    pump();
    EXPECT_COLOUR_NEAR(first.background(), GetSysColor(COLOR_BTNFACE), 0);
    EXPECT_EQ(GetWindowLongW(first.window(), GWL_EXSTYLE) & WS_EX_LAYERED, 0) << "its own opacity back too";
    EXPECT_COLOUR_NEAR(second.background(), skinBackground, 0);
    // Controls created later in the detached window stay the system's; the other window's take the skin.
    HWND lateButton = CreateWindowExW(0, L"BUTTON", L"后来", WS_CHILD | WS_VISIBLE, 120, 10, 70, 30, second.window(),
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
    pump();
    POINT inside{6, 24};
    ClientToScreen(lateButton, &inside);
    EXPECT_COLOUR_NEAR(colourAt(inside), testSkinColour(&skin::Skin::buttonFace), 40);

    // A later AttachEx takes the detached window back in.
    engine().SkinH_AttachEx(skinPath(), "");
    pump();
    EXPECT_COLOUR_NEAR(first.background(), skinBackground, 0);
}

TEST_F(SkinEngine, WindowAlphaMakesTheWindowLayeredWithThatOpacity) {
    TestWindow window;
    struct Case {
        int alpha;
        bool layered;
        BYTE shown;
    };
    const Case cases[] = {{200, true, 200}, {250, true, 250}, {0, true, 0},   {255, false, 0},
                          {-5, true, 0},    {128, true, 128}, {300, false, 0}, {255, false, 0}};
    for (const Case& c : cases) {
        engine().SkinH_SetWindowAlpha(handleValue(window.window()), c.alpha);
        const bool layered = (GetWindowLongW(window.window(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
        EXPECT_EQ(layered, c.layered) << c.alpha;
        if (!layered) continue;
        BYTE alpha = 0;
        DWORD flags = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(window.window(), nullptr, &alpha, &flags)) << c.alpha;
        EXPECT_EQ(alpha, c.shown) << c.alpha;
        EXPECT_TRUE(flags & LWA_ALPHA) << c.alpha;
    }

    // A window the program made layered itself, half transparent with a colour key: the engine's
    // opacity counts while in force (the key stays), and each way of detaching gives back the
    // program's own; a window the program never made layered is not layered afterwards.
    TestWindow own(500, 400, L"自己的透明");
    const COLORREF key = RGB(1, 2, 3);
    SetWindowLongW(own.window(), GWL_EXSTYLE, GetWindowLongW(own.window(), GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(own.window(), key, 128, LWA_ALPHA | LWA_COLORKEY);
    struct Step {
        std::function<void()> call;
        BYTE shown;
    };
    const Step steps[] = {
        {[&] { engine().SkinH_SetWindowAlpha(handleValue(own.window()), 200); }, 200},
        {[&] { engine().SkinH_SetWindowAlpha(handleValue(own.window()), 255); }, 255},
        {[&] { engine().SkinH_Detach(); }, 128},
        {[&] { engine().SkinH_SetWindowAlpha(handleValue(own.window()), 200); }, 200},
        {[&] { engine().SkinH_DetachEx(handleValue(own.window())); }, 128},
    };
    for (const Step& step : steps) {
        engine().SkinH_SetWindowAlpha(handleValue(window.window()), 100);
        step.call();
        BYTE alpha = 0;
        COLORREF shownKey = 0;
        DWORD flags = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(own.window(), &shownKey, &alpha, &flags)) << int{step.shown};
        EXPECT_EQ(alpha, step.shown);
        EXPECT_EQ(shownKey, key) << int{step.shown};
        EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA | LWA_COLORKEY)) << int{step.shown};
    }
    engine().SkinH_Detach();
    EXPECT_EQ(GetWindowLongW(window.window(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

BOOL CALLBACK matchThreadWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<std::pair<std::function<bool(HWND)>, HWND>*>(data);
    if (!search->first(window)) return TRUE;
    search->second = window;
    return FALSE;
}

// The first visible top-level window of this thread that matches.
HWND findThreadWindow(const std::function<bool(HWND)>& matches) {
    std::pair<std::function<bool(HWND)>, HWND> search{matches, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), matchThreadWindow, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

HWND shadowOf(HWND target) {
    return findThreadWindow([target](HWND window) {
        return e2e::className(window) == L"SkinHShadow" && IsWindowVisible(window) &&
               reinterpret_cast<HWND>(GetWindowLongPtrW(window, GWLP_USERDATA)) == target;
    });
}

TEST_F(SkinEngine, ShadowWindowFollowsTheSwitchAndTheWindow) {
    TestWindow window;
    engine().SkinH_Attach();
    pump();
    RECT frame;
    GetWindowRect(window.window(), &frame);
    const POINT besideRight = {frame.right + 2, (frame.top + frame.bottom) / 2};
    const POINT belowBottom = {(frame.left + frame.right) / 2, frame.bottom + 2};
    const Colour plainRight = colourAt(besideRight);
    const Colour plainBelow = colourAt(belowBottom);
    EXPECT_EQ(shadowOf(window.window()), nullptr);

    engine().SkinH_SetAero(1);
    pump();
    HWND shadow = shadowOf(window.window());
    ASSERT_NE(shadow, nullptr) << "a shadow window of class SkinHShadow";
    RECT shadowFrame;
    GetWindowRect(shadow, &shadowFrame);
    EXPECT_GT(shadowFrame.right, frame.right);
    EXPECT_GT(shadowFrame.bottom, frame.bottom);
    EXPECT_EQ(GetWindow(window.window(), GW_HWNDNEXT), shadow) << "just below its window";
    EXPECT_TRUE(GetWindowLongW(shadow, GWL_EXSTYLE) & WS_EX_TRANSPARENT) << "clicks pass through";
    // Darker beside and below the window than the desktop was.
    auto luminance = [](Colour c) { return skin::redOf(c) + skin::greenOf(c) + skin::blueOf(c); };
    EXPECT_LT(luminance(colourAt(besideRight)), luminance(plainRight) - 30);
    EXPECT_LT(luminance(colourAt(belowBottom)), luminance(plainBelow) - 30);
    // The window with its shadow and a margin of the desktop around.
    const RECT around = {frame.left - 12, frame.top - 12, shadowFrame.right + 12, shadowFrame.bottom + 12};
    e2e::saveScreenshot(around, e2e::screenshotDirectory() + L"\\skin-shadow.png");

    // It moves with the window and hides while the window is minimised.
    SetWindowPos(window.window(), nullptr, frame.left + 50, frame.top + 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    pump();
    RECT moved;
    GetWindowRect(shadow, &moved);
    EXPECT_EQ(moved.left - shadowFrame.left, 50);
    EXPECT_EQ(moved.top - shadowFrame.top, 40);
    ShowWindow(window.window(), SW_MINIMIZE);
    pump();
    EXPECT_FALSE(IsWindowVisible(shadow));
    ShowWindow(window.window(), SW_RESTORE);
    pump();
    EXPECT_TRUE(IsWindowVisible(shadow));

    engine().SkinH_SetAero(0);
    pump();
    EXPECT_FALSE(IsWindow(shadow));
    EXPECT_EQ(shadowOf(window.window()), nullptr);

    // Switched on again it returns; Detach and the window's end take it away.
    engine().SkinH_SetAero(1);
    pump();
    ASSERT_NE(shadowOf(window.window()), nullptr);
    engine().SkinH_Detach();
    pump();
    EXPECT_EQ(shadowOf(window.window()), nullptr);
    engine().SkinH_Attach();
    pump();
    shadow = shadowOf(window.window());
    ASSERT_NE(shadow, nullptr);
    DestroyWindow(window.window());
    pump();
    EXPECT_FALSE(IsWindow(shadow));
}

struct MessageBoxSeen {
    int ticks = 0;
    bool found = false;
    Colour background = 0;
    Colour caption = 0;
    Colour button = 0;
};
MessageBoxSeen messageBoxSeen;

HWND threadDialog() {
    return findThreadWindow(
        [](HWND window) { return e2e::className(window) == L"#32770" && IsWindowVisible(window); });
}

// Runs inside the message box's own loop: looks at it once it has been painted, then closes it.
void CALLBACK lookAtMessageBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = threadDialog();
    if (box == nullptr || ++messageBoxSeen.ticks < 3) return;
    POINT corner{4, 4};
    ClientToScreen(box, &corner);
    messageBoxSeen.background = colourAt(corner);
    POINT top{0, 0};
    ClientToScreen(box, &top);
    RECT frame;
    GetWindowRect(box, &frame);
    messageBoxSeen.caption = colourAt({(frame.left + frame.right) / 2 + 40, top.y - 3});
    if (HWND ok = GetDlgItem(box, IDOK)) {
        POINT face{5, 14};
        ClientToScreen(ok, &face);
        messageBoxSeen.button = colourAt(face);
    }
    messageBoxSeen.found = true;
    e2e::saveScreenshot(box, e2e::screenshotDirectory() + L"\\skin-messagebox.png");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(SkinEngine, AMessageBoxCreatedAfterAttachingIsSkinned) {
    TestWindow window;
    engine().SkinH_AttachEx(skinPath(), "");
    pump();
    messageBoxSeen = {};
    UINT_PTR timer = SetTimer(nullptr, 0, 150, lookAtMessageBox);
    MessageBoxW(window.window(), L"皮肤引擎测试的消息。", L"消息", MB_OK | MB_ICONINFORMATION);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(messageBoxSeen.found) << "the message box was not seen";
    EXPECT_COLOUR_NEAR(messageBoxSeen.background, testSkinColour(&skin::Skin::windowBackground), 0);
    EXPECT_COLOUR_NEAR(messageBoxSeen.caption, testSkinColour(&skin::Skin::captionActive), 24);
    EXPECT_COLOUR_NEAR(messageBoxSeen.button, testSkinColour(&skin::Skin::buttonFace), 40);
}

// The point of the caption where the window answers the given hit code, found by asking it.
bool findHit(HWND window, LRESULT wanted, POINT& found) {
    RECT frame;
    GetWindowRect(window, &frame);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    for (int y = frame.top + 2; y < client.y; ++y) {
        for (int x = frame.right - 2; x > frame.left; --x) {
            if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == wanted) {
                found = {x - 4, y + 4};  // a little inside the button
                if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(found.x, found.y)) == wanted) return true;
            }
        }
    }
    return false;
}

TEST_F(SkinEngine, CaptionButtonsMinimiseAndClose) {
    TestWindow window;
    engine().SkinH_AttachEx(skinPath(), "");
    pump();
    POINT minimise{}, close{};
    ASSERT_TRUE(findHit(window.window(), HTMINBUTTON, minimise));
    ASSERT_TRUE(findHit(window.window(), HTCLOSE, close));
    EXPECT_LT(minimise.x, close.x);

    e2e::mouseEvent(minimise, 0);
    e2e::mouseEvent(minimise, MOUSEEVENTF_LEFTDOWN);
    e2e::mouseEvent(minimise, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(pumpUntil([&] { return IsIconic(window.window()) != FALSE; }, 5000)) << "minimised";
    ShowWindow(window.window(), SW_RESTORE);
    SetForegroundWindow(window.window());
    pump();
    EXPECT_FALSE(IsIconic(window.window()));
    EXPECT_COLOUR_NEAR(window.caption(), testSkinColour(&skin::Skin::captionActive), 24);

    // Held down, the close button shows pressed; let go outside, nothing happens.
    e2e::mouseEvent(close, 0);
    e2e::mouseEvent(close, MOUSEEVENTF_LEFTDOWN);
    pump();
    POINT rim = {close.x, close.y};
    Colour pressed = colourAt({rim.x - 3, rim.y});
    EXPECT_COLOUR_NEAR(pressed, skin::darken(testSkinColour(&skin::Skin::captionCloseHot), 60), 40);
    POINT away = window.clientPoint(150, 60);
    e2e::mouseEvent(away, 0);
    e2e::mouseEvent(away, MOUSEEVENTF_LEFTUP);
    pump();
    EXPECT_FALSE(window.destroyed());

    e2e::mouseEvent(close, 0);
    e2e::mouseEvent(close, MOUSEEVENTF_LEFTDOWN);
    e2e::mouseEvent(close, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(pumpUntil([&] { return window.destroyed(); }, 5000)) << "closed";
}

TEST_F(SkinEngine, ControlsShowTheSkinsStates) {
    TestWindow window;
    engine().SkinH_AttachEx(skinPath(), "");
    SendMessageW(window.control(kList), LB_SETCURSEL, 1, 0);
    pump();
    RECT item;
    SendMessageW(window.control(kList), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_COLOUR_NEAR(window.at(kList, item.right - 3, (item.top + item.bottom) / 2),
                       testSkinColour(&skin::Skin::listSelection), 0);
    // Inside the check box, away from its mark.
    HDC screen = GetDC(nullptr);
    const int box = MulDiv(13, GetDeviceCaps(screen, LOGPIXELSY), 96);
    ReleaseDC(nullptr, screen);
    EXPECT_COLOUR_NEAR(window.at(kCheck, box - 3, (22 - box) / 2 + 2), testSkinColour(&skin::Skin::checkBackground), 0);

    // A button held down shows the pressed face.
    POINT button{50, 20};
    ClientToScreen(window.control(kButton), &button);
    e2e::mouseEvent(button, 0);
    e2e::mouseEvent(button, MOUSEEVENTF_LEFTDOWN);
    pump();
    EXPECT_COLOUR_NEAR(window.buttonFace(), testSkinColour(&skin::Skin::buttonPressed), 8);
    // Let go, the pointer still over it: the hot face; moved away: the plain face.
    e2e::mouseEvent(button, MOUSEEVENTF_LEFTUP);
    pump();
    EXPECT_COLOUR_NEAR(window.buttonFace(), testSkinColour(&skin::Skin::buttonHot), 40);
    // Wine tells the pointer's leaving a moment later (its hover time).
    e2e::mouseEvent(window.clientPoint(150, 60), 0);
    EXPECT_TRUE(pumpUntil(
        [&] { return distance(window.buttonFace(), testSkinColour(&skin::Skin::buttonFace)) <= 40; }, 2000))
        << hex(window.buttonFace());
}

void pressKey(WORD key) {
    INPUT inputs[2]{};
    for (int i = 0; i < 2; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = key;
        inputs[i].ki.dwFlags = i == 1 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(2, inputs, sizeof inputs[0]);
}

// The try-on tool's calls come from inside the handlers of the very controls the library paints:
// a skin chosen from the list as the selection moves, and every skin removed from a button's click.
TEST_F(SkinEngine, CallsFromInsideTheSkinnedControlsOwnHandlers) {
    TestWindow window;
    const std::wstring skins = e2e::binDirectory() + L"\\skins\\";
    const std::wstring chosen[] = {skins + L"jade.she", skins + L"sunset.she", skins + L"violet.she"};
    window.onSelect = [&](int index) {
        if (index >= 0 && index < 3) engine().SkinH_AttachEx(ansi(chosen[index]), "");
    };
    window.onButton = [&] {
        engine().SkinH_SetWindowAlpha(handleValue(window.window()), 255);
        engine().SkinH_SetAero(0);
        engine().SkinH_Detach();
        engine().SkinH_DetachEx(handleValue(window.window()));
    };
    engine().SkinH_AttachEx(skinPath(), "");
    engine().SkinH_SetAero(1);
    engine().SkinH_SetWindowAlpha(handleValue(window.window()), 200);
    SetFocus(window.control(kList));
    pump();

    for (int index = 0; index < 3; ++index) {
        pressKey(index == 0 ? VK_HOME : VK_DOWN);
        const Colour expected = skin::parseSkin(readFile(chosen[index])).skin->windowBackground;
        EXPECT_TRUE(pumpUntil([&] { return window.background() == expected; }, 3000)) << index;
    }

    POINT button{50, 15};
    ClientToScreen(window.control(kButton), &button);
    e2e::mouseEvent(button, 0);
    e2e::mouseEvent(button, MOUSEEVENTF_LEFTDOWN);
    e2e::mouseEvent(button, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(pumpUntil([&] { return window.background() == GetSysColor(COLOR_BTNFACE); }, 3000));
    EXPECT_EQ(GetWindowLongW(window.window(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(shadowOf(window.window()), nullptr);
    // The button went on working after the library let go of it.
    bool clicked = false;
    window.onButton = [&] { clicked = true; };
    e2e::mouseEvent(button, MOUSEEVENTF_LEFTDOWN);
    e2e::mouseEvent(button, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(pumpUntil([&] { return clicked; }, 3000));
}

// The engine serves the thread that owns the windows: calls from another thread are turned away,
// and the window goes on, skinned, through the messages that follow.
TEST_F(SkinEngine, CallsFromAnotherThreadLeaveTheWindowSkinnedAndWorking) {
    TestWindow window;
    engine().SkinH_AttachEx(skinPath(), "");
    pump();
    const std::uint32_t handle = handleValue(window.window());
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
    EXPECT_TRUE(pumpUntil([&] { return done.load(); }, 10000));
    other.join();

    bool clicked = false;
    window.onButton = [&] { clicked = true; };
    POINT button{50, 15};
    ClientToScreen(window.control(kButton), &button);
    e2e::mouseEvent(button, 0);
    e2e::mouseEvent(button, MOUSEEVENTF_LEFTDOWN);
    e2e::mouseEvent(button, MOUSEEVENTF_LEFTUP);
    RedrawWindow(window.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    EXPECT_TRUE(pumpUntil([&] { return clicked; }, 3000));
    pump();
    EXPECT_COLOUR_NEAR(window.background(), testSkinColour(&skin::Skin::windowBackground), 0);
    EXPECT_COLOUR_NEAR(window.caption(), testSkinColour(&skin::Skin::captionActive), 24);
    EXPECT_EQ(GetWindowLongW(window.window(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(shadowOf(window.window()), nullptr);

    // Its own thread still detaches it.
    engine().SkinH_Detach();
    pump();
    EXPECT_COLOUR_NEAR(window.background(), GetSysColor(COLOR_BTNFACE), 0);
}

TEST_F(SkinEngine, EverySampleSkinKeepsTheOwnersColoursAndIsPhotographed) {
    TestWindow window;
    SendMessageW(window.control(kList), LB_SETCURSEL, 0, 0);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((e2e::binDirectory() + L"\\skins\\*.she").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    int skins = 0;
    do {
        const std::wstring path = e2e::binDirectory() + L"\\skins\\" + found.cFileName;
        const auto parsed = skin::parseSkin(readFile(path));
        ASSERT_TRUE(parsed.skin.has_value());
        engine().SkinH_AttachEx(ansi(path), "");
        pump();
        EXPECT_COLOUR_NEAR(window.background(), parsed.skin->windowBackground, 0) << found.cFileName;
        EXPECT_GT(window.redPixelsOfTheRedLabel(), 10) << found.cFileName;
        EXPECT_COLOUR_NEAR(window.yellowEditBackground(), kOwnerYellow, 0) << found.cFileName;
        std::wstring name = found.cFileName;
        name.resize(name.size() - 4);
        e2e::saveScreenshot(window.window(), e2e::screenshotDirectory() + L"\\skin-" + name + L".png");
        ++skins;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_GE(skins, 5);
}

using e2e::HandleProbe;

void expectNoClimb(const HandleProbe& before, const HandleProbe& after) {
    EXPECT_LE(after.events, before.events + 8) << "kernel handles";
    EXPECT_LE(after.bitmaps, before.bitmaps + 4) << "GDI objects";
    EXPECT_LE(after.menus, before.menus + 4) << "USER objects";
}

TEST_F(SkinEngine, TwoHundredAttachesAndDetachesLeakNothing) {
    TestWindow window;
    auto cycle = [&] {
        engine().SkinH_AttachEx(skinPath(), "");
        engine().SkinH_SetAero(1);
        engine().SkinH_SetWindowAlpha(handleValue(window.window()), 200);
        pump(0);
        engine().SkinH_SetWindowAlpha(handleValue(window.window()), 255);
        engine().SkinH_SetAero(0);
        engine().SkinH_Detach();
        pump(0);
    };
    for (int i = 0; i < 10; ++i) cycle();
    const HandleProbe before = e2e::probeHandles();
    for (int i = 0; i < 200; ++i) cycle();
    const HandleProbe after = e2e::probeHandles();
    expectNoClimb(before, after);
}

TEST_F(SkinEngine, WindowsDestroyedWhileSkinnedLeakNothing) {
    engine().SkinH_AttachEx(skinPath(), "");
    engine().SkinH_SetAero(1);
    for (int i = 0; i < 5; ++i) TestWindow window;
    const HandleProbe before = e2e::probeHandles();
    for (int i = 0; i < 100; ++i) TestWindow window;
    const HandleProbe after = e2e::probeHandles();
    expectNoClimb(before, after);
}

}  // namespace
