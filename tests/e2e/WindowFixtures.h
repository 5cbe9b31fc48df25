// The programs started for each test with our library's trace on, and ways to reach their
// controls: stock-local.exe (StockWindow, StockLookupWindow) and glimmora.exe in a folder of skin
// files of its own (GlimmoraWindow).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "glimmora/GlimmoraDesign.h"
#include "skinengine/SkinEngine.h"
#include "skinlibrary/SkinFormat.h"
#include "stock/StockDesign.h"
#include "tests/e2e/WindowDriver.h"
#include "ui/win32/Owners.h"
#include "ui/win32/SystemCodePage.h"

namespace e2e {

using Lines = std::vector<std::string>;
using Names = std::vector<std::wstring>;

inline std::string utf8(const std::wstring& text) { return ui::win32::SystemCodePage(CP_UTF8).toAnsi(text); }

// What the two programs' fixtures share: the start with the trace, the controls by their design
// names, the trace read back and the program's message box.
template <typename ControlName>
class ProgramWindow : public ::testing::Test {
public:
    using Control = ControlName;

protected:
    // Starts exe in the folder and waits for its window, with the focus on the first control.
    void start(const std::wstring& exe, const std::wstring& folder, Control first) {
        ASSERT_EQ(GetACP(), 936u) << "the tests need the Simplified-Chinese code page";
        trace_ = temporaryPath(L"e2e-trace");
        program_ = startTraced(exe, folder, trace_);
        ASSERT_TRUE(program_->started());
        form_ = program_->waitForWindow(L"QuorvaneDesignedWindow", kStartTimeoutMs);
        ASSERT_NE(form_, nullptr) << "the window did not appear";
        ASSERT_TRUE(waitUntil([&] { return focusedControl(form_) == box(first); }, kPatienceMs));
        ASSERT_TRUE(caughtUp(form_));  // its input watched from here on
    }
    void TearDown() override {
        if (program_ != nullptr) {
            EXPECT_FALSE(program_->crashed()) << "the program died of " << program_->howItEnded();
        }
        program_.reset();
        DeleteFileW(trace_.c_str());
    }

    HWND box(Control control) const {
        return GetDlgItem(form_, ui::kFirstControlId + static_cast<int>(indexOf(control)));
    }
    std::wstring text(Control control) const { return windowText(box(control)); }

    // The calls traced; the library's indented notes (why it refused an empty skin file, say)
    // are left out.
    Lines trace() const {
        Lines calls;
        for (std::string& line : readLines(trace_)) {
            if (line.rfind("  ", 0) != 0) calls.push_back(std::move(line));
        }
        return calls;
    }
    // The trace once it holds that many lines and the program has handled everything the test
    // did before, so that a call too many shows too (or what it holds when the time is up).
    Lines traceOf(std::size_t count) const {
        waitUntil([&] { return trace().size() >= count; }, kPatienceMs);
        caughtUp(form_);
        return trace();
    }
    std::string handle() const { return skinengine::handleText(reinterpret_cast<std::uintptr_t>(form_)); }

    // The message box the program shows, if one appears within the time.
    HWND messageBox(DWORD timeoutMs = kPatienceMs) const { return program_->waitForWindow(L"#32770", timeoutMs); }
    // Whether the program still runs, handles its messages and shows no message.
    void expectAlive() const {
        DWORD code = 0;
        EXPECT_FALSE(program_->waitForExit(0, code)) << "the program ended with code " << code;
        EXPECT_TRUE(answers(form_));
        EXPECT_EQ(messageBox(0), nullptr) << "no message";
    }

    std::wstring trace_;
    std::unique_ptr<Program> program_;
    HWND form_ = nullptr;
};

class StockWindow : public ProgramWindow<stock::Control> {
protected:
    // The local build: a lookup started here may only reach the stand-in on this machine.
    void SetUp() override { start(binDirectory() + L"\\stock-local.exe", binDirectory(), Control::Text1); }

    // Replaces a box's text by typing, and waits until the last accepted character has arrived.
    void typeInto(Control control, const std::wstring& keys, const std::wstring& expected) {
        giveFocus(form_, box(control));
        SendMessageW(box(control), EM_SETSEL, 0, -1);
        typeText(keys);
        EXPECT_TRUE(waitUntil([&] { return text(control) == expected; }, kPatienceMs))
            << "typed into " << stock::indexOf(control) << ", got \"" << utf8(text(control)) << "\"";
    }

    // A point of a window's client area as the screen shows it.
    static COLORREF pixel(HWND window, int x, int y) {
        POINT point{x, y};
        ClientToScreen(window, &point);
        return screenColour(point);
    }
    // The window under the skin that SkinH_Attach applies, the result boxes light yellow as the
    // program sets them.
    void expectDefaultSkinWithTheProgramsOwnBoxes() const {
        EXPECT_EQ(pixel(form_, 5, 5), skin::defaultSkin().windowBackground) << "the skin's background";
        RECT frame;
        GetWindowRect(box(Control::Text4), &frame);
        for (Control c : {Control::Text4, Control::Text8}) {
            EXPECT_EQ(pixel(box(c), frame.right - frame.left - 8, 4), stock::kLightYellow) << stock::indexOf(c);
        }
    }
};

// The stand-in's request log, one line per request, in this flavour's build tree.
inline std::wstring standinLog() { return testDirectory() + L"\\..\\standin.log"; }

inline std::size_t countRequests(const std::string& log, const std::string& part) {
    std::size_t found = 0;
    for (std::size_t at = log.find(part); at != std::string::npos; at = log.find(part, at + 1)) ++found;
    return found;
}

// stock-local.exe looking up against the stand-in service that ctest runs on 127.0.0.1.
class StockLookupWindow : public StockWindow {
protected:
    void SetUp() override {
        StockWindow::SetUp();
        logStart_ = readFile(standinLog()).size();
    }
    // What the stand-in logged since the test began.
    std::string requests() const { return readFile(standinLog()).substr(logStart_); }

    void lookUp(const std::wstring& code) {
        typeInto(Control::Text9, code, code);
        pressKey(VK_RETURN);
    }

    std::size_t logStart_ = 0;
};

class GlimmoraWindow : public ProgramWindow<glimmora::Control> {
protected:
    void SetUp() override {
        // A pointer resting over the window would raise a tooltip over what a test clicks next.
        parkMouse();
        makeFolderContents();
        start(binDirectory() + L"\\glimmora.exe", startFolder(), Control::Dir1);
    }

    // Three skins, two names that only look like skins and a subfolder with one skin.
    virtual void makeFolderContents() {
        for (const wchar_t* name : {L"b.she", L"A.she", L"c.she", L"blue.sheet", L"readme.txt"}) {
            makeEmptyFile(folder_ / name);
        }
        CreateDirectoryW(subfolder().c_str(), nullptr);
        makeEmptyFile(subfolder() + L"\\雪.she");
    }
    virtual std::wstring startFolder() const { return folder_.path(); }

    std::wstring subfolder() const { return folder_ / L"冬季"; }

    // The call that applies a skin of the folder, or one at that full path.
    std::string attached(const std::wstring& name) const { return attachedPath(folder_ / name); }
    static std::string attachedPath(const std::wstring& path) { return "SkinH_AttachEx(\"" + utf8(path) + "\", \"\")"; }
    std::string alpha(int value) const {
        return "SkinH_SetWindowAlpha(" + handle() + ", " + std::to_string(value) + ")";
    }

    // Opens the subfolder with a double-click in Dir1 and waits until the tool shows it.
    void openSubfolder() {
        const int winter = dirEntry(L"冬季");
        ASSERT_GE(winter, 0);
        clickListEntry(box(Control::Dir1), winter, true);
        ASSERT_TRUE(waitUntil([&] { return text(Control::txtpath) == subfolder(); }, kPatienceMs));
    }

    int dirEntry(const std::wstring& name) const {
        const Names entries = listEntries(box(Control::Dir1));
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i] == name) return static_cast<int>(i);
        }
        return -1;
    }

    TempFolder folder_{L"glimmora-e2e"};
};

// glimmora.exe started in the sample skins the build copies beside the programs.
class GlimmoraOnSampleSkins : public GlimmoraWindow {
protected:
    std::wstring startFolder() const override { return binDirectory() + L"\\skins"; }
};

// The system's colours of faces, 3-D edges, selections, windows, menus and tips set to values no
// skin and neither program uses, for one test, and given back however it ends. Set before the
// program starts: under Wine a program reads them when it starts.
class UnusualSystemColours {
public:
    static constexpr int kIndexes[] = {COLOR_BTNFACE,     COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT,
                                       COLOR_3DDKSHADOW,  COLOR_HIGHLIGHT, COLOR_WINDOW,       COLOR_MENU,
                                       COLOR_MENUHILIGHT, COLOR_MENUBAR,   COLOR_INFOBK,       COLOR_WINDOWFRAME};
    static constexpr COLORREF kColours[] = {RGB(201, 3, 77),  RGB(3, 201, 77),  RGB(77, 3, 201),  RGB(201, 77, 3),
                                            RGB(3, 77, 201),  RGB(77, 201, 3),  RGB(199, 5, 79),  RGB(5, 199, 79),
                                            RGB(79, 5, 199),  RGB(199, 79, 5),  RGB(5, 79, 199),  RGB(79, 199, 5)};
    UnusualSystemColours() {
        for (int index : kIndexes) before_.push_back(GetSysColor(index));
        SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, kColours);
    }
    ~UnusualSystemColours() { SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, before_.data()); }
    UnusualSystemColours(const UnusualSystemColours&) = delete;
    UnusualSystemColours& operator=(const UnusualSystemColours&) = delete;

    // How many of the screen's pixels in the rectangle show one of them.
    static std::size_t shownIn(const RECT& rect) {
        std::size_t shown = 0;
        for (DWORD p : screenPixels(rect)) {
            const COLORREF c = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
            shown += std::find(std::begin(kColours), std::end(kColours), c) != std::end(kColours) ? 1 : 0;
        }
        return shown;
    }

private:
    std::vector<COLORREF> before_;
};

// A program started under those colours: how many pixels of them each surface of it shows.
using Surfaces = std::vector<std::pair<std::string, std::size_t>>;

template <typename Fixture>
class WithUnusualSystemColours : public Fixture {
protected:
    void SetUp() override {
        colours_.emplace();
        Fixture::SetUp();
    }
    void TearDown() override {
        Fixture::TearDown();
        colours_.reset();
    }

    // Counts the surface (9999: it did not show) once the program has handled what came before,
    // and keeps a picture of it.
    void countSurface(Surfaces& shown, const std::string& what, HWND surface, const std::wstring& under) {
        caughtUp(this->form_);
        RECT rect{};
        if (surface != nullptr) GetWindowRect(surface, &rect);
        shown.emplace_back(what, surface != nullptr ? UnusualSystemColours::shownIn(rect) : 9999);
        if (surface == nullptr) return;
        saveScreenshot(surface, screenshotDirectory() + L"\\unusual-" + under + L"-" +
                                    std::wstring(what.begin(), what.end()) + L".png");
    }
    // A popup the test just opened: counted, then closed with Escape.
    void countPopup(Surfaces& shown, const std::string& what, const wchar_t* className, const std::wstring& under) {
        countSurface(shown, what, this->program_->waitForWindow(className, kPatienceMs), under);
        // Escape until it is gone and the program is out of the menu's loop, which outlasts the
        // window menu's popup (the caption's menu stays chosen).
        EXPECT_TRUE(waitUntil([&] {
            GUITHREADINFO thread{};
            thread.cbSize = sizeof thread;
            GetGUIThreadInfo(GetWindowThreadProcessId(this->form_, nullptr), &thread);
            if (this->program_->waitForWindow(className, 0) == nullptr && !(thread.flags & GUI_INMENUMODE)) return true;
            pressKey(VK_ESCAPE);
            return false;
        }, kPatienceMs)) << what << " closes";
    }
    // A text box's context menu and the window menu, each with its first item highlighted.
    void countMenus(Surfaces& shown, HWND textBox, const std::wstring& under) {
        RECT box;
        GetWindowRect(textBox, &box);
        const POINT at{box.left + 10, (box.top + box.bottom) / 2};
        mouseEvent(at, MOUSEEVENTF_RIGHTDOWN);
        mouseEvent(at, MOUSEEVENTF_RIGHTUP);
        if (this->program_->waitForWindow(L"#32768", kPatienceMs) != nullptr) pressKey(VK_DOWN);
        countPopup(shown, "context", L"#32768", under);
        pressWith(VK_MENU, VK_SPACE);
        if (this->program_->waitForWindow(L"#32768", kPatienceMs) != nullptr) pressKey(VK_DOWN);
        countPopup(shown, "window-menu", L"#32768", under);
    }
    void countTooltip(Surfaces& shown, HWND control, HWND away, const std::wstring& tip, const std::wstring& under) {
        parkMouse();
        EXPECT_TRUE(showsTooltip(*this->program_, control, away, tip));
        countSurface(shown, "tooltip", this->program_->waitForWindow(L"tooltips_class32", 0), under);
        parkMouse();
    }

    std::optional<UnusualSystemColours> colours_;
};

}  // namespace e2e
