// stock-local.exe started for each test, with our library's trace, and ways to reach its controls.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "skinengine/library/SkinFormat.h"
#include "stock/StockDesign.h"
#include "tests/e2e/WindowDriver.h"

namespace e2e {

inline std::string readFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class StockWindow : public ::testing::Test {
public:
    using Control = stock::Control;

protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 936u) << "the tests need the Simplified-Chinese code page";
        trace_ = temporaryPath(L"stock-e2e-trace");
        // The local build: a lookup started here may only reach the stand-in on this machine.
        program_ = startTraced(binDirectory() + L"\\stock-local.exe", binDirectory(), trace_);
        ASSERT_TRUE(program_->started());
        form_ = program_->waitForWindow(L"QuorvaneDesignedWindow", kStartTimeoutMs);
        ASSERT_NE(form_, nullptr) << "the window did not appear";
        ASSERT_TRUE(waitUntil([&] { return focusedControl(form_) == box(Control::Text1); }, 5000));
    }

    void TearDown() override {
        program_.reset();
        DeleteFileW(trace_.c_str());
    }

    HWND box(Control control) const {
        return GetDlgItem(form_, ui::kFirstControlId + static_cast<int>(stock::indexOf(control)));
    }
    std::wstring text(Control control) const { return windowText(box(control)); }

    // Replaces a box's text by typing, and waits until the last accepted character has arrived.
    void typeInto(Control control, const std::wstring& keys, const std::wstring& expected) {
        giveFocus(form_, box(control));
        SendMessageW(box(control), EM_SETSEL, 0, -1);
        typeText(keys);
        EXPECT_TRUE(waitUntil([&] { return text(control) == expected; }, 5000))
            << "typed into " << stock::indexOf(control) << ", got \"" << std::string(text(control).begin(), text(control).end())
            << "\"";
    }

    // The window under the skin that SkinH_Attach applies, the result boxes light yellow as the
    // program sets them.
    void expectDefaultSkinWithTheProgramsOwnBoxes() const {
        const skin::Skin& skin = skin::defaultSkin();
        auto pixel = [](HWND window, int x, int y) {
            POINT point{x, y};
            ClientToScreen(window, &point);
            RECT one = {point.x, point.y, point.x + 1, point.y + 1};
            const DWORD rgb = screenPixels(one).at(0);
            return skin::rgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
        };
        EXPECT_EQ(pixel(form_, 5, 5), skin.windowBackground) << "the skin's background";
        RECT frame;
        GetWindowRect(box(Control::Text4), &frame);
        for (Control c : {Control::Text4, Control::Text8}) {
            EXPECT_EQ(pixel(box(c), frame.right - frame.left - 8, 4), stock::kLightYellow) << stock::indexOf(c);
        }
    }

    // The message box the program shows, if one appears within the time.
    HWND messageBox(DWORD timeoutMs = 5000) const { return program_->waitForWindow(L"#32770", timeoutMs); }

    std::wstring trace_;
    std::unique_ptr<Program> program_;
    HWND form_ = nullptr;
};

// The stand-in's request log, one line per request, in the build folder.
inline std::wstring standinLog() { return testDirectory() + L"\\..\\..\\standin.log"; }

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

}  // namespace e2e
