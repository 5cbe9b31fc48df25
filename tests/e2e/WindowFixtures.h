// The programs started for each test with our library's trace on, and ways to reach their
// controls: stock-local.exe (StockWindow, StockLookupWindow) and glimmora.exe in a folder of skin
// files of its own (GlimmoraWindow).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
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
    // Puts the program under a skin file through its own thread, as its own call would
    // (tests/e2e/SkinHook.cpp), and waits until it has made the call.
    void attachSkin(const std::wstring& path) {
        const ui::win32::LibraryHandle hook(LoadLibraryW((testDirectory() + L"\\skinhook.dll").c_str()));
        const auto procedure =
            reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hook.get(), "AttachSkinHook")));
        ASSERT_NE(procedure, nullptr) << "skinhook.dll beside the tests";
        HHOOK hooked = SetWindowsHookExW(WH_GETMESSAGE, procedure, hook.get(), GetWindowThreadProcessId(form_, nullptr));
        ASSERT_NE(hooked, nullptr);
        const ATOM named = GlobalAddAtomA(ui::win32::SystemCodePage().toAnsi(path).c_str());
        const std::size_t calls = trace().size();
        PostMessageW(form_, RegisterWindowMessageW(L"Quorvane window test: attach skin"), named, 0);
        EXPECT_TRUE(waitUntil([&] { return trace().size() > calls; }, kPatienceMs)) << "the program attached the skin";
        UnhookWindowsHookEx(hooked);
        GlobalDeleteAtom(named);
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

}  // namespace e2e
