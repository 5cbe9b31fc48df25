// Our subclassing under Wine: layers called newest first down to the window's own procedure,
// removed in any order (from inside a nested call too, or under a subclass of someone else's),
// gone with the window, and without window properties.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "ui/win32/Subclass.h"

namespace {

using ui::win32::defSubclassProc;
using ui::win32::getWindowSubclass;
using ui::win32::removeWindowSubclass;
using ui::win32::setWindowSubclass;

constexpr UINT kProbe = WM_APP + 1;   // each procedure writes its name into the log
constexpr UINT kNested = WM_APP + 2;  // layer 'A' sends kProbe from inside, removing itself there

std::string calls;
WNDPROC editProc = nullptr;
WNDPROC hostPrevious = nullptr;

LRESULT CALLBACK layer(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    const char name = static_cast<char>(data);
    if (message == kProbe) calls += name;
    if (message == kNested && name == 'A') {
        calls += '[';
        SendMessageW(window, kProbe, 1, 0);
        calls += ']';
    }
    if (message == kProbe && wParam == 1 && name == 'A') removeWindowSubclass(window, layer, id);
    if (message == WM_NCDESTROY) {
        calls += name;
        if (name == 'B') removeWindowSubclass(window, layer, id);  // as a layer may on its way out
    }
    return defSubclassProc(window, message, wParam, lParam);
}

// The window's own procedure at the bottom of every chain: the platform's edit control.
LRESULT CALLBACK bottom(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe) calls += '.';
    return CallWindowProcW(editProc, window, message, wParam, lParam);
}

// Someone else's subclass over ours, made the plain way.
LRESULT CALLBACK host(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe) calls += 'H';
    return CallWindowProcW(hostPrevious, window, message, wParam, lParam);
}

BOOL CALLBACK countProperty(HWND, LPWSTR, HANDLE, ULONG_PTR count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

class Subclass : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(bottom)));
    }
    void TearDown() override {
        if (IsWindow(window_)) DestroyWindow(window_);
    }
    void add(const std::string& names) {
        for (char name : names) ASSERT_TRUE(setWindowSubclass(window_, layer, name, static_cast<DWORD_PTR>(name)));
    }
    std::string probe(UINT message = kProbe) {
        calls.clear();
        SendMessageW(window_, message, 0, 0);
        return calls;
    }
    LONG_PTR procedure() const { return GetWindowLongPtrW(window_, GWLP_WNDPROC); }

    HWND window_ = nullptr;
};

TEST_F(Subclass, LayersRunNewestFirstAndGoInAnyOrder) {
    std::string order = "ABC";
    do {
        add("ABC");
        EXPECT_EQ(probe(), "CBA.");
        std::string left = "CBA";
        for (char gone : order) {
            EXPECT_TRUE(removeWindowSubclass(window_, layer, gone));
            EXPECT_FALSE(removeWindowSubclass(window_, layer, gone)) << "removed twice";
            left.erase(left.find(gone), 1);
            EXPECT_EQ(probe(), left + ".") << "after removing " << gone << " of order " << order;
        }
        EXPECT_EQ(procedure(), reinterpret_cast<LONG_PTR>(bottom)) << "the window has its own procedure back";
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(Subclass, SettingAgainChangesTheDataNotTheLayers) {
    add("AB");
    DWORD_PTR data = 0;
    ASSERT_TRUE(setWindowSubclass(window_, layer, 'A', 'Z'));
    EXPECT_TRUE(getWindowSubclass(window_, layer, 'A', &data));
    EXPECT_EQ(data, static_cast<DWORD_PTR>('Z'));
    EXPECT_EQ(probe(), "BZ.");
    EXPECT_FALSE(getWindowSubclass(window_, layer, 'C', &data));
    EXPECT_FALSE(setWindowSubclass(nullptr, layer, 'A', 0));
}

TEST_F(Subclass, ALayerRemovedInsideANestedCallStillPassesTheOuterMessageOn) {
    add("BA");  // A on top
    calls.clear();
    SendMessageW(window_, kNested, 0, 0);
    EXPECT_EQ(calls, "[AB.]");
    EXPECT_EQ(probe(), "B.");
    EXPECT_FALSE(getWindowSubclass(window_, layer, 'A', nullptr));
}

TEST_F(Subclass, ASubclassOverOursKeepsWorkingWhateverGoesFirst) {
    for (bool hostLeavesFirst : {false, true}) {
        add("AB");
        hostPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(host)));
        EXPECT_EQ(probe(), "HBA.");
        if (hostLeavesFirst) {
            SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hostPrevious));
            EXPECT_EQ(probe(), "BA.");
        }
        removeWindowSubclass(window_, layer, 'A');
        removeWindowSubclass(window_, layer, 'B');
        EXPECT_EQ(probe(), hostLeavesFirst ? "." : "H.");
        if (!hostLeavesFirst) {
            // Stops here otherwise: the host's procedure would call ours, gone, and the run would end
            // in a stack overflow, which Wine reports with exit code 0.
            ASSERT_EQ(procedure(), reinterpret_cast<LONG_PTR>(host)) << "ours stays under the host's, passing on";
            SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hostPrevious));
            EXPECT_EQ(probe(), ".");
            add("C");
            EXPECT_EQ(probe(), "C.");
            removeWindowSubclass(window_, layer, 'C');
            probe();
        }
        EXPECT_EQ(procedure(), reinterpret_cast<LONG_PTR>(bottom));
    }
}

TEST_F(Subclass, DestroyingTheWindowEndsEveryLayer) {
    add("AB");
    calls.clear();
    DestroyWindow(window_);
    EXPECT_EQ(calls, "BA");
    EXPECT_FALSE(getWindowSubclass(window_, layer, 'A', nullptr));
    EXPECT_FALSE(setWindowSubclass(window_, layer, 'A', 'A'));
}

TEST_F(Subclass, KeepsNoWindowPropertyAndTextStaysUnicode) {
    auto properties = [&] {
        int count = 0;
        EnumPropsExW(window_, countProperty, reinterpret_cast<LPARAM>(&count));
        return count;
    };
    const int platformsOwn = properties();  // Wine's edit control keeps one of its own
    add("AB");
    EXPECT_EQ(properties(), platformsOwn);
    SendMessageW(window_, WM_CHAR, L'中', 1);
    SendMessageW(window_, WM_CHAR, L'文', 1);
    wchar_t text[8] = {};
    GetWindowTextW(window_, text, 8);
    EXPECT_STREQ(text, L"中文");
}

TEST_F(Subclass, OnlyTheThreadOwningTheWindowMaySubclassIt) {
    add("A");
    bool set = true, removed = true;
    std::thread([&] {
        set = setWindowSubclass(window_, layer, 'B', 'B');
        removed = removeWindowSubclass(window_, layer, 'A');
    }).join();
    EXPECT_FALSE(set);
    EXPECT_FALSE(removed);
    EXPECT_EQ(probe(), "A.");
}

}  // namespace
