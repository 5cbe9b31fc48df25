// glimmora.exe on what a disk can hand it: folders removed under it, names the code page cannot
// hold, a file named ".she" and a folder named x.she, 10,000 skin files, a drive without a medium.
// Whatever it meets, it does not crash, its window answers, and what it lists is what is there.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "glimmora/FolderList.h"
#include "tests/e2e/WindowFixtures.h"

namespace {

using glimmora::Control;
using namespace e2e;

using GlimmoraOnTheDisk = GlimmoraWindow;

TEST_F(GlimmoraOnTheDisk, AFolderRemovedWhileShownGivesWayToTheFolderAboveWhenOpenedAgain) {
    openSubfolder();
    ASSERT_EQ(listEntries(box(Control::List1)), Names{L"雪.she"});

    removeTree(subfolder());
    // The list still names the skin that has gone: choosing it hands the engine a path to nothing.
    clickListEntry(box(Control::List1), 0);
    EXPECT_EQ(traceOf(2), (Lines{"SkinH_Attach()", attached(L"冬季\\雪.she")}));
    expectAlive();

    // Opening the folder again finds it gone: the list climbs to the folder above and relists.
    giveFocus(form_, box(Control::Dir1));
    pressKey(VK_RETURN);
    ASSERT_TRUE(waitUntil([&] { return text(Control::txtpath) == folder_.path(); }, kPatienceMs));
    EXPECT_EQ(listEntries(box(Control::List1)), (Names{L"A.she", L"b.she", L"c.she"}));
    EXPECT_EQ(dirEntry(L"冬季"), -1) << "the folder that has gone is not offered";
    expectAlive();
}

TEST_F(GlimmoraOnTheDisk, ASubfolderThatVanishedBeforeItIsOpenedIsDroppedFromTheList) {
    const int winter = dirEntry(L"冬季");
    ASSERT_GE(winter, 0);
    removeTree(subfolder());
    clickListEntry(box(Control::Dir1), winter, true);
    ASSERT_TRUE(waitUntil([&] { return dirEntry(L"冬季") == -1; }, kPatienceMs));
    ASSERT_TRUE(caughtUp(form_));
    EXPECT_EQ(text(Control::txtpath), folder_.path()) << "the path stays";
    EXPECT_EQ(listEntries(box(Control::List1)), (Names{L"A.she", L"b.she", L"c.she"}));
    expectAlive();
}

// Names that are odd for the listing, each chosen in turn: the engine gets every path, the list
// shows what the platform returned.
class GlimmoraOnOddNames : public GlimmoraOnTheDisk {
protected:
    void makeFolderContents() override {
        for (const wchar_t* name : {L"한국.she", L"ÿ€.she", L".she", L"蓝色.she"}) makeEmptyFile(folder_ / name);
        CreateDirectoryW((folder_ / L"x.she").c_str(), nullptr);
    }
};

TEST_F(GlimmoraOnOddNames, AreListedAsThePlatformSpellsThemAndEachCanBeChosen) {
    // Characters outside code page 936 come back as "?"; a folder named like a skin is listed.
    const Names expected{L".she", L"??.she", L"?€.she", L"x.she", L"蓝色.she"};
    ASSERT_EQ(listEntries(box(Control::List1)), expected);
    for (int entry = 0; entry < static_cast<int>(expected.size()); ++entry) {
        clickListEntry(box(Control::List1), entry);
        ASSERT_TRUE(answers(form_));
    }
    Lines lines{"SkinH_Attach()"};
    for (const std::wstring& name : expected) lines.push_back(attached(name));
    EXPECT_EQ(traceOf(lines.size()), lines);
    expectAlive();
    saveScreenshot(form_, screenshotDirectory() + L"\\glimmora-odd-names.png");
}

// The build's folder of 10,000 empty skin files, beside this program.
class GlimmoraOnManySkins : public GlimmoraOnTheDisk {
protected:
    std::wstring startFolder() const override { return testDirectory() + L"\\many-skins"; }
};

TEST_F(GlimmoraOnManySkins, ListsAllTenThousandAndTheLastCanBeChosen) {
    const HWND list = box(Control::List1);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 10000);
    auto attachedHere = [&](const wchar_t* name) { return attachedPath(startFolder() + L"\\" + name); };
    giveFocus(form_, list);
    pressKey(VK_HOME);
    EXPECT_EQ(traceOf(2), (Lines{"SkinH_Attach()", attachedHere(L"skin00000.she")}));
    pressKey(VK_END);
    EXPECT_EQ(traceOf(3).back(), attachedHere(L"skin09999.she"));
    EXPECT_EQ(listSelection(list), 9999);
    expectAlive();
}

// Started in a folder that cannot be listed (laid out by tests/e2e/run-unprivileged, which runs
// this test alone without root's power over permissions): the tool shows the nearest folder above
// that it can read, and lists that folder's skins.
class GlimmoraStartedWhereItCannotRead : public GlimmoraOnTheDisk {
protected:
    std::wstring startFolder() const override { return testDirectory() + L"\\unreadable\\start"; }
};

TEST_F(GlimmoraStartedWhereItCannotRead, ShowsTheNearestFolderAboveItCanRead) {
    const std::wstring above = testDirectory() + L"\\unreadable";
    ASSERT_EQ(text(Control::txtpath), above);
    ASSERT_EQ(listEntries(box(Control::List1)), Names{L"above.she"});
    EXPECT_EQ(listEntries(box(Control::Dir1)).back(), L"start") << "the unreadable folder can be tried again";
    EXPECT_EQ(text(Control::Drive1).substr(0, 2), glimmora::driveOf(above)) << "the drive list on the path's drive";
    clickListEntry(box(Control::List1), 0);
    EXPECT_EQ(traceOf(2).back(), attachedPath(above + L"\\above.she"));
    expectAlive();
}

// The prefix has a CD drive r: without a disc (scripts/lib/common.sh).
TEST_F(GlimmoraOnTheDisk, ADriveWithoutAMediumIsRefusedWithAMessageAndNothingMoves) {
    ASSERT_EQ(GetDriveTypeW(L"R:\\"), static_cast<UINT>(DRIVE_CDROM)) << "the prefix lacks its empty CD drive r:";
    giveFocus(form_, box(Control::Drive1));
    typeText(L"r");
    HWND message = messageBox();
    ASSERT_NE(message, nullptr) << "no message";
    EXPECT_EQ(windowText(message), L"驱动器未就绪");
    EXPECT_NE(windowText(GetDlgItem(message, 0xFFFF)).find(L"驱动器 r: 没有准备好"), std::wstring::npos);
    answers(message);
    Sleep(300);  // let the first paint reach the screen
    saveScreenshot(message, screenshotDirectory() + L"\\glimmora-drive-not-ready.png");
    PostMessageW(message, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(message); }, kPatienceMs));

    EXPECT_EQ(text(Control::Drive1).substr(0, 2), L"c:") << "back on the drive of the path";
    EXPECT_EQ(text(Control::txtpath), folder_.path());
    EXPECT_EQ(listEntries(box(Control::List1)), (Names{L"A.she", L"b.she", L"c.she"}));
    expectAlive();
}

}  // namespace
