// glimmora.exe started for real under Wine in a folder of skin files: driven with real keys and
// clicks, read back, and its calls into our skin engine library read from the library's trace.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/WindowFixtures.h"

namespace {

using glimmora::Control;
using namespace e2e;

TEST_F(GlimmoraWindow, OpensCentredWithTheFoldersSkinsSortedNoneChosen) {
    EXPECT_EQ(windowText(form_), glimmora::kTitle);
    EXPECT_EQ(GetClassLongPtrW(form_, GCLP_HICON), 0) << "no icon of its own";

    EXPECT_TRUE(isCentredOnScreen(form_));

    EXPECT_EQ(text(Control::txtpath), folder_.path());
    EXPECT_EQ(listEntries(box(Control::List1)), (Names{L"A.she", L"b.she", L"c.she"}));
    EXPECT_EQ(listSelection(box(Control::List1)), -1);
    EXPECT_EQ(text(Control::Drive1).substr(0, 2), L"c:");
    const Names folders = listEntries(box(Control::Dir1));
    ASSERT_FALSE(folders.empty());
    EXPECT_EQ(folders.front(), L"c:\\");
    EXPECT_EQ(folders.back(), L"冬季") << "the subfolder below the path";
    EXPECT_EQ(folders[static_cast<std::size_t>(listSelection(box(Control::Dir1)))],
              folder_.path().substr(folder_.path().find_last_of(L'\\') + 1));
    // The drawn lists' rows as tall as the text in them: a measuring fault made them a pixel high.
    for (Control list : {Control::Dir1, Control::Drive1}) {
        const UINT message = list == Control::Dir1 ? LB_GETITEMHEIGHT : CB_GETITEMHEIGHT;
        EXPECT_GE(SendMessageW(box(list), message, 0, 0), 13) << glimmora::indexOf(list);
    }

    const std::pair<Control, const wchar_t*> captions[] = {
        {Control::Check1, L"透明值=200"}, {Control::Check2, L"阴影"},
        {Control::Command2, L"禁用皮肤"},  {Control::Command1, L"退出(&X)"}};
    for (const auto& [control, caption] : captions) EXPECT_EQ(text(control), caption);
    for (Control c : {Control::Check1, Control::Check2}) {
        EXPECT_EQ(SendMessageW(box(c), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    }
    EXPECT_EQ(trace(), Lines{"SkinH_Attach()"});
    saveScreenshot(form_, screenshotDirectory() + L"\\glimmora-start.png");
}

TEST_F(GlimmoraWindow, ShowsItsTooltips) {
    EXPECT_TRUE(showsTooltip(*program_, box(Control::txtpath), box(Control::Check2), L"目录文件夹所在路径"));
    EXPECT_TRUE(showsTooltip(*program_, box(Control::List1), box(Control::Check2), L"双击从列表中移除该文件"));
}

TEST_F(GlimmoraWindow, TheBoxesAndDisableCallTheEngineInTheirOrder) {
    click(box(Control::Check1));
    click(box(Control::Check2));
    clickListEntry(box(Control::List1), 1);
    EXPECT_EQ(traceOf(6), (Lines{"SkinH_Attach()", alpha(200), "SkinH_SetAero(1)", alpha(250), "SkinH_SetAero(1)",
                                 attached(L"b.she")}));
    Sleep(300);  // let the repaint reach the screen
    saveScreenshot(form_, screenshotDirectory() + L"\\glimmora-skinned.png");

    click(box(Control::Check1));
    Sleep(GetDoubleClickTime() + 100);  // two clicks, not a double-click
    click(box(Control::Check1));
    click(box(Control::Command2));
    const Lines lines = traceOf(13);
    EXPECT_EQ(Lines(lines.begin() + 6, lines.end()),
              (Lines{alpha(255), alpha(200), alpha(255), "SkinH_SetAero(0)", "SkinH_SetAero(0)", "SkinH_Detach()",
                     "SkinH_DetachEx(" + handle() + ")"}));
    for (Control c : {Control::Check1, Control::Check2}) {
        EXPECT_EQ(SendMessageW(box(c), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    }

    // With both boxes clear only the engine's own three calls remain.
    click(box(Control::Command2));
    const Lines again = traceOf(16);
    EXPECT_EQ(Lines(again.begin() + 13, again.end()),
              (Lines{"SkinH_SetAero(0)", "SkinH_Detach()", "SkinH_DetachEx(" + handle() + ")"}));
}

TEST_F(GlimmoraWindow, ADoubleClickAppliesTheSkinAndLeavesTheEntry) {
    clickListEntry(box(Control::List1), 2, true);
    EXPECT_EQ(traceOf(2), (Lines{"SkinH_Attach()", attached(L"c.she")}));
    EXPECT_EQ(listEntries(box(Control::List1)), (Names{L"A.she", L"b.she", L"c.she"}));
}

TEST_F(GlimmoraWindow, ThePathBoxCanBeCopiedButNotChanged) {
    ASSERT_TRUE(setClipboardText(L"pasted"));
    giveFocus(form_, box(Control::txtpath));
    SendMessageW(box(Control::txtpath), EM_SETSEL, 0, -1);
    typeText(L"abc中");
    pressKey(VK_BACK);
    pressKey(VK_DELETE);
    pressWith(VK_CONTROL, 'V');
    pressWith(VK_SHIFT, VK_INSERT);
    ASSERT_TRUE(caughtUp(form_));
    EXPECT_EQ(text(Control::txtpath), folder_.path());

    // The box copies only if it can open the clipboard, which whoever has it open at that moment
    // (this test reading it, Wine's bridge to the X selection) keeps from it: so Ctrl+C is pressed
    // when nobody has it open, and again should another have opened it meanwhile. Whether the copy
    // came shows in the clipboard's sequence number once the program has handled the keys.
    SendMessageW(box(Control::txtpath), EM_SETSEL, 0, -1);
    bool copied = false;
    for (int attempt = 0; attempt < 3 && !copied; ++attempt) {
        ASSERT_TRUE(waitUntil([] { return GetOpenClipboardWindow() == nullptr; }, kPatienceMs));
        const DWORD before = GetClipboardSequenceNumber();
        pressWith(VK_CONTROL, 'C');
        ASSERT_TRUE(caughtUp(form_));
        copied = GetClipboardSequenceNumber() != before;
    }
    EXPECT_TRUE(copied) << "the path can be copied";
    EXPECT_EQ(clipboardText(), folder_.path());
}

TEST_F(GlimmoraWindow, OpeningASubfolderRelistsAndEnterGoesBackUp) {
    openSubfolder();
    EXPECT_EQ(listEntries(box(Control::List1)), Names{L"雪.she"});
    EXPECT_EQ(listSelection(box(Control::Dir1)), dirEntry(L"冬季"));

    giveFocus(form_, box(Control::Dir1));
    pressKey(VK_UP);
    pressKey(VK_RETURN);
    ASSERT_TRUE(waitUntil([&] { return text(Control::txtpath) == folder_.path(); }, kPatienceMs));
    EXPECT_EQ(listEntries(box(Control::List1)), (Names{L"A.she", L"b.she", L"c.she"}));
    EXPECT_EQ(trace(), Lines{"SkinH_Attach()"}) << "listing applies no skin";
}

TEST_F(GlimmoraWindow, ChoosingAnotherDriveMovesTheDirectoryListAndBack) {
    giveFocus(form_, box(Control::Drive1));
    typeText(L"z");
    ASSERT_TRUE(waitUntil([&] { return text(Control::txtpath) == L"Z:\\"; }, kPatienceMs)) << "Z: is Wine's root folder";
    EXPECT_EQ(text(Control::Drive1).substr(0, 2), L"z:");
    EXPECT_EQ(listEntries(box(Control::Dir1)).front(), L"z:\\");
    typeText(L"c");
    ASSERT_TRUE(waitUntil([&] { return text(Control::txtpath) == folder_.path(); }, kPatienceMs))
        << "back on C:, in the drive's current directory";
    EXPECT_EQ(listEntries(box(Control::List1)), (Names{L"A.she", L"b.she", L"c.she"}));
}

// The point of the skinned caption where the window answers the given hit code, found by asking it.
POINT captionButton(HWND window, LRESULT wanted) {
    RECT frame;
    GetWindowRect(window, &frame);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    for (int y = frame.top + 2; y < client.y; ++y) {
        for (int x = frame.right - 2; x > frame.left; --x) {
            auto hit = [&](POINT p) {
                DWORD_PTR code = 0;
                SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y), SMTO_ABORTIFHUNG, 5000, &code);
                return static_cast<LRESULT>(code) == wanted;
            };
            if (hit({x, y}) && hit({x - 4, y + 4})) return {x - 4, y + 4};  // a little inside the button
        }
    }
    return {-1, -1};
}

TEST_F(GlimmoraWindow, TheSkinnedCaptionsMinimiseButtonMinimises) {
    const POINT minimise = captionButton(form_, HTMINBUTTON);
    ASSERT_GE(minimise.x, 0) << "no minimise button on the caption";
    EXPECT_LT(minimise.x, captionButton(form_, HTCLOSE).x);
    clickAt(minimise);
    EXPECT_TRUE(waitUntil([&] { return IsIconic(form_) != FALSE; }, kPatienceMs));
    ShowWindowAsync(form_, SW_RESTORE);
    EXPECT_TRUE(waitUntil([&] { return IsIconic(form_) == FALSE; }, kPatienceMs));
}

enum class Exit { Click, AltX, CaptionClose };

class GlimmoraExit : public GlimmoraWindow, public ::testing::WithParamInterface<Exit> {};

TEST_P(GlimmoraExit, EndsTheToolAtOnceWithoutDetaching) {
    switch (GetParam()) {
    case Exit::Click:
        giveFocus(form_, box(Control::List1));
        click(box(Control::Command1));
        break;
    case Exit::AltX: pressWith(VK_MENU, 'X'); break;
    case Exit::CaptionClose: clickAt(captionButton(form_, HTCLOSE)); break;
    }
    DWORD code = 1;
    ASSERT_TRUE(program_->waitForExit(kPatienceMs, code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(trace(), Lines{"SkinH_Attach()"});
}

INSTANTIATE_TEST_SUITE_P(Ways, GlimmoraExit, ::testing::Values(Exit::Click, Exit::AltX, Exit::CaptionClose));

}  // namespace

namespace {

// The window's background colour on the screen, at a point of the client area no control covers.
DWORD backgroundOnScreen(HWND window) {
    POINT point{4, 4};
    ClientToScreen(window, &point);
    return screenPixel(point);
}

// The colour of a list box's empty area on the screen, near its bottom inside the frame.
DWORD emptyListAreaOnScreen(HWND list) {
    RECT client;
    GetClientRect(list, &client);
    POINT point{client.right / 2, client.bottom - 4};
    ClientToScreen(list, &point);
    return screenPixel(point);
}
constexpr DWORD kWhite = 0xFFFFFF;

// The shadow box under a sample skin: a shadow beside and below the window, just under it and
// letting clicks through, that follows the window, hides while it is minimised and goes with the box.
TEST_F(GlimmoraOnSampleSkins, TheShadowFollowsTheWindowAndGoesWithItsBox) {
    clickListEntry(box(Control::List1), 0);
    ASSERT_TRUE(waitUntil([&] { return listSelection(box(Control::List1)) == 0; }, kPatienceMs));
    RECT frame;
    GetWindowRect(form_, &frame);
    const POINT beside{frame.right + 2, (frame.top + frame.bottom) / 2};
    const POINT below{(frame.left + frame.right) / 2, frame.bottom + 2};
    auto luminance = [](DWORD c) { return ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF); };
    const DWORD desktopBeside = screenPixel(beside), desktopBelow = screenPixel(below);

    click(box(Control::Check2));
    HWND shadow = program_->waitForWindow(L"SkinHShadow", kPatienceMs);
    ASSERT_NE(shadow, nullptr);
    RECT cast;
    GetWindowRect(shadow, &cast);
    EXPECT_GT(cast.right, frame.right);
    EXPECT_GT(cast.bottom, frame.bottom);
    EXPECT_EQ(GetWindow(form_, GW_HWNDNEXT), shadow) << "just below its window";
    EXPECT_TRUE(GetWindowLongW(shadow, GWL_EXSTYLE) & WS_EX_TRANSPARENT) << "clicks pass through";
    parkMouse();
    EXPECT_TRUE(waitUntil([&] { return luminance(screenPixel(beside)) < luminance(desktopBeside) - 30 &&
                                       luminance(screenPixel(below)) < luminance(desktopBelow) - 30; }, kPatienceMs))
        << "darker beside and below the window than the desktop was";
    const RECT around = {frame.left - 12, frame.top - 12, cast.right + 12, cast.bottom + 12};
    saveScreenshot(around, screenshotDirectory() + L"\\glimmora-shadow.png");

    SetWindowPos(form_, nullptr, frame.left - 50, frame.top - 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_ASYNCWINDOWPOS);
    EXPECT_TRUE(waitUntil([&] {
        RECT moved;
        GetWindowRect(shadow, &moved);
        return moved.left == cast.left - 50 && moved.top == cast.top - 40;
    }, kPatienceMs)) << "the shadow moves with the window";
    ShowWindowAsync(form_, SW_MINIMIZE);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(shadow); }, kPatienceMs));
    ShowWindowAsync(form_, SW_RESTORE);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(shadow) != FALSE; }, kPatienceMs));
    click(box(Control::Check2));
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(shadow); }, kPatienceMs)) << "the box cleared takes the shadow away";
}

class GlimmoraUnderUnusualSystemColours : public WithUnusualSystemColours<GlimmoraOnSampleSkins> {
protected:
    // The window, the path box's tooltip, Drive1's dropped list, the path box's context menu and
    // the window menu.
    Surfaces systemColoursShown(const std::wstring& under) {
        Surfaces shown;
        RECT drive;
        GetWindowRect(box(Control::Drive1), &drive);
        countSurface(shown, "window", form_, under);
        countTooltip(shown, box(Control::txtpath), box(Control::Check2), L"目录文件夹所在路径", under);
        clickAt({drive.right - 5, (drive.top + drive.bottom) / 2});
        countPopup(shown, "list", L"ComboLBox", under);
        countMenus(shown, box(Control::txtpath), under);
        return shown;
    }
};

// The sample skins tried on one after another from the list, then Disable skin. Under each skin no
// surface of the window or of a popup it opens shows the system's own colours, and List1 keeps the
// white the program gives it; without a skin, each surface shows the system's colours again.
TEST_F(GlimmoraUnderUnusualSystemColours, EachSkinShowsWholeInTurnAndDisableBringsBackTheSystemLook) {
    const Names names = listEntries(box(Control::List1));
    ASSERT_GE(names.size(), 5u) << "the sample skins are listed";
    EXPECT_EQ(emptyListAreaOnScreen(box(Control::List1)), kWhite) << "under the built-in skin";
    // A skin repaints the whole window at once (RDW_UPDATENOW): once the background has changed,
    // the list shows what the skin made of it.
    DWORD background = backgroundOnScreen(form_);
    for (std::size_t i = 0; i < names.size(); ++i) {
        clickListEntry(box(Control::List1), static_cast<int>(i));
        parkMouse();  // no tooltip over the picture
        const DWORD before = background;
        ASSERT_TRUE(waitUntil([&] { return (background = backgroundOnScreen(form_)) != before; }, kPatienceMs))
            << utf8(names[i]);
        const std::wstring stem = names[i].substr(0, names[i].find(L'.'));
        saveScreenshot(form_, screenshotDirectory() + L"\\glimmora-" + stem + L".png");
        EXPECT_EQ(emptyListAreaOnScreen(box(Control::List1)), kWhite) << "List1 under " << utf8(names[i]);
        for (const auto& [surface, pixels] : systemColoursShown(stem)) {
            EXPECT_EQ(pixels, 0u) << surface << " under " << utf8(names[i]);
        }
    }
    click(box(Control::Command2));
    parkMouse();
    const COLORREF face = UnusualSystemColours::kColours[0];
    EXPECT_TRUE(waitUntil([&] {
        return backgroundOnScreen(form_) == ((GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face));
    }, kPatienceMs)) << "the system's own look is back";
    saveScreenshot(form_, screenshotDirectory() + L"\\glimmora-unskinned.png");
    EXPECT_EQ(emptyListAreaOnScreen(box(Control::List1)), kWhite) << "without a skin";
    for (const auto& [surface, pixels] : systemColoursShown(L"none")) {
        EXPECT_GT(pixels, 0u) << surface << " without a skin";
        EXPECT_NE(pixels, 9999u) << surface << " did not show";
    }
}

}  // namespace
