// glimmora.exe started for each test in a folder of skin files of its own, with our library's
// trace, and ways to reach its controls and read what it passed to the library.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "glimmora/GlimmoraDesign.h"
#include "tests/e2e/WindowDriver.h"

namespace e2e {

using Lines = std::vector<std::string>;
using Names = std::vector<std::wstring>;

inline std::string utf8(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), length, nullptr, nullptr);
    result.pop_back();
    return result;
}

class GlimmoraWindow : public ::testing::Test {
public:
    using Control = glimmora::Control;

protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 936u) << "the tests need the Simplified-Chinese code page";
        // A pointer resting over the window would raise a tooltip over what a test clicks next.
        parkMouse();
        folder_ = temporaryPath(L"glimmora-e2e");
        CreateDirectoryW(folder_.c_str(), nullptr);
        makeFolderContents();

        trace_ = temporaryPath(L"glimmora-e2e-trace");
        program_ = startTraced(binDirectory() + L"\\glimmora.exe", startFolder(), trace_);
        ASSERT_TRUE(program_->started());
        form_ = program_->waitForWindow(L"QuorvaneDesignedWindow", kStartTimeoutMs);
        ASSERT_NE(form_, nullptr) << "the window did not appear";
        ASSERT_TRUE(waitUntil([&] { return focusedControl(form_) == box(Control::Dir1); }, 5000));
    }

    void TearDown() override {
        program_.reset();
        DeleteFileW(trace_.c_str());
        removeTree(folder_);
    }

    // Three skins, two names that only look like skins and a subfolder with one skin.
    virtual void makeFolderContents() {
        for (const wchar_t* name : {L"b.she", L"A.she", L"c.she", L"blue.sheet", L"readme.txt"}) {
            makeEmptyFile(folder_ + L"\\" + name);
        }
        CreateDirectoryW(subfolder().c_str(), nullptr);
        makeEmptyFile(subfolder() + L"\\雪.she");
    }
    virtual std::wstring startFolder() const { return folder_; }

    std::wstring subfolder() const { return folder_ + L"\\冬季"; }

    HWND box(Control control) const {
        return GetDlgItem(form_, ui::kFirstControlId + static_cast<int>(glimmora::indexOf(control)));
    }
    std::wstring text(Control control) const { return windowText(box(control)); }

    // The calls traced; the library's indented notes (why it refused the empty skin files) are left out.
    Lines trace() const {
        std::ifstream in(trace_.c_str(), std::ios::binary);
        Lines lines;
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("  ", 0) != 0) lines.push_back(line);
        }
        return lines;
    }
    // The trace once it holds that many lines (or what it holds when the time is up).
    Lines traceOf(std::size_t count) const {
        waitUntil([&] { return trace().size() >= count; }, 5000);
        Sleep(100);  // a call too many would show now
        return trace();
    }

    std::string handle() const {
        char text[16];
        std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(form_)));
        return text;
    }
    std::string attached(const std::wstring& name) const {
        return "SkinH_AttachEx(\"" + utf8(folder_ + L"\\" + name) + "\", \"\")";
    }
    std::string alpha(int value) const {
        return "SkinH_SetWindowAlpha(" + handle() + ", " + std::to_string(value) + ")";
    }

    // Opens the subfolder with a double-click in Dir1 and waits until the tool shows it.
    void openSubfolder() {
        const int winter = dirEntry(L"冬季");
        ASSERT_GE(winter, 0);
        clickListEntry(box(Control::Dir1), winter, true);
        ASSERT_TRUE(waitUntil([&] { return text(Control::txtpath) == subfolder(); }, 5000));
    }

    int dirEntry(const std::wstring& name) const {
        const Names entries = listEntries(box(Control::Dir1));
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i] == name) return static_cast<int>(i);
        }
        return -1;
    }

    std::wstring folder_;
    std::wstring trace_;
    std::unique_ptr<Program> program_;
    HWND form_ = nullptr;
};

}  // namespace e2e
