// glimmora.exe started for real under Wine in a folder of skin files: driven with real keys and
// clicks, read back, and its calls into our skin engine library read from the library's trace.
#include <windows.h>

#include <gtest/gtest.h>

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

TEST_F(GlimmoraWindow, TabWalksTheControlsInDesignOrder) {
    const Control order[] = {Control::Drive1, Control::List1, Control::txtpath, Control::Command1,
                             Control::Command2, Control::Check1, Control::Check2, Control::Dir1};
    for (Control next : order) {
        pressKey(VK_TAB);
        EXPECT_TRUE(waitUntil([&] { return focusedControl(form_) == box(next); }, 3000))
            << "expected the focus on " << glimmora::indexOf(next);
    }
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
    ASSERT_TRUE(answers(form_));
    Sleep(200);
    EXPECT_EQ(text(Control::txtpath), folder_.path());

    SendMessageW(box(Control::txtpath), EM_SETSEL, 0, -1);
    pressWith(VK_CONTROL, 'C');
    EXPECT_TRUE(waitUntil([&] { return clipboardText() == folder_.path(); }, 3000)) << "the path can be copied";
}

TEST_F(GlimmoraWindow, OpeningASubfolderRelistsAndEnterGoesBackUp) {
    openSubfolder();
    EXPECT_EQ(listEntries(box(Control::List1)), Names{L"雪.she"});
    EXPECT_EQ(listSelection(box(Control::Dir1)), dirEntry(L"冬季"));

    giveFocus(form_, box(Control::Dir1));
    pressKey(VK_UP);
    pressKey(VK_RETURN);
    ASSERT_TRUE(waitUntil([&] { return text(Control::txtpath) == folder_.path(); }, 5000));
    EXPECT_EQ(listEntries(box(Control::List1)), (Names{L"A.she", L"b.she", L"c.she"}));
    EXPECT_EQ(trace(), Lines{"SkinH_Attach()"}) << "listing applies no skin";
}

TEST_F(GlimmoraWindow, ChoosingAnotherDriveMovesTheDirectoryListAndBack) {
    giveFocus(form_, box(Control::Drive1));
    typeText(L"z");
    ASSERT_TRUE(waitUntil([&] { return text(Control::txtpath) == L"Z:\\"; }, 5000)) << "Z: is Wine's root folder";
    EXPECT_EQ(text(Control::Drive1).substr(0, 2), L"z:");
    EXPECT_EQ(listEntries(box(Control::Dir1)).front(), L"z:\\");
    typeText(L"c");
    ASSERT_TRUE(waitUntil([&] { return text(Control::txtpath) == folder_.path(); }, 5000))
        << "back on C:, in the drive's current directory";
    EXPECT_EQ(listEntries(box(Control::List1)), (Names{L"A.she", L"b.she", L"c.she"}));
}

struct Exit {
    const char* how;
    bool altX;
};

class GlimmoraExit : public GlimmoraWindow, public ::testing::WithParamInterface<Exit> {};

TEST_P(GlimmoraExit, EndsTheToolAtOnceWithoutDetaching) {
    if (GetParam().altX) {
        pressWith(VK_MENU, 'X');
    } else {
        giveFocus(form_, box(Control::List1));
        click(box(Control::Command1));
    }
    DWORD code = 1;
    ASSERT_TRUE(program_->waitForExit(3000, code)) << GetParam().how;
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(trace(), Lines{"SkinH_Attach()"});
}

INSTANTIATE_TEST_SUITE_P(Ways, GlimmoraExit, ::testing::Values(Exit{"a click", false}, Exit{"Alt+X", true}));

}  // namespace

namespace {

// The window's background colour on the screen, at a point of the client area no control covers.
DWORD backgroundOnScreen(HWND window) {
    POINT point{4, 4};
    ClientToScreen(window, &point);
    return screenPixels({point.x, point.y, point.x + 1, point.y + 1}).at(0);
}

// The colour of a list box's empty area on the screen, near its bottom inside the frame.
DWORD emptyListAreaOnScreen(HWND list) {
    RECT client;
    GetClientRect(list, &client);
    POINT point{client.right / 2, client.bottom - 4};
    ClientToScreen(list, &point);
    return screenPixels({point.x, point.y, point.x + 1, point.y + 1}).at(0);
}
constexpr DWORD kWhite = 0xFFFFFF;

// The sample skins tried on one after another from the list, then Disable skin.
TEST_F(GlimmoraOnSampleSkins, EachSkinShowsInTurnAndDisableBringsBackTheSystemLook) {
    HWND form = form_;
    const Names names = listEntries(box(Control::List1));
    ASSERT_GE(names.size(), 5u) << "the sample skins are listed";

    // The list keeps the white the program gives it under every skin and without one.
    EXPECT_EQ(emptyListAreaOnScreen(box(Control::List1)), kWhite) << "under the built-in skin";
    std::vector<DWORD> backgrounds{backgroundOnScreen(form)};  // the built-in skin first
    for (std::size_t i = 0; i < names.size(); ++i) {
        clickListEntry(box(Control::List1), static_cast<int>(i));
        parkMouse();  // no tooltip over the picture
        ASSERT_TRUE(answers(form));
        Sleep(500);
        backgrounds.push_back(backgroundOnScreen(form));
        const std::wstring stem = names[i].substr(0, names[i].find(L'.'));
        saveScreenshot(form, screenshotDirectory() + L"\\glimmora-" + stem + L".png");
        EXPECT_NE(backgrounds.back(), backgrounds[backgrounds.size() - 2]) << "the skin " << i << " shows";
        EXPECT_EQ(emptyListAreaOnScreen(box(Control::List1)), kWhite) << "List1 under the skin " << i;
    }

    click(box(Control::Command2));
    parkMouse();
    ASSERT_TRUE(answers(form));
    Sleep(500);
    const DWORD face = GetSysColor(COLOR_BTNFACE);
    const DWORD system = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    EXPECT_EQ(backgroundOnScreen(form), system) << "the system's own look is back";
    saveScreenshot(form, screenshotDirectory() + L"\\glimmora-unskinned.png");
    EXPECT_EQ(emptyListAreaOnScreen(box(Control::List1)), kWhite) << "without a skin";

    // Nor does the user's window colour reach it.
    const int element = COLOR_WINDOW;
    const COLORREF userWindow = GetSysColor(COLOR_WINDOW);
    const COLORREF grey = RGB(0xC0, 0xC0, 0xC0);
    ASSERT_TRUE(SetSysColors(1, &element, &grey));
    InvalidateRect(box(Control::List1), nullptr, TRUE);
    ASSERT_TRUE(answers(form));
    Sleep(500);
    const DWORD withGreyWindows = emptyListAreaOnScreen(box(Control::List1));
    SetSysColors(1, &element, &userWindow);
    EXPECT_EQ(withGreyWindows, kWhite) << "with the system's window colour grey";
}

}  // namespace
