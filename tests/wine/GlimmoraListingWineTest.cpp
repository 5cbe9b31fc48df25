// The skin file listing on real folders under Wine: the platform's own enumeration (8.3 short
// names included), code page 936, and the real window's lists.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "glimmora/Form1.h"
#include "glimmora/win32/GlimmoraWindow.h"
#include "glimmora/win32/Win32FileFinder.h"
#include "tests/e2e/TestFiles.h"
#include "tests/support/GlimmoraFakes.h"
#include "ui/win32/SystemCodePage.h"

namespace glimmora {
namespace {

using testing::FakeGlimmoraWindow;
using testing::RecordingSkinEngine;
using Names = std::vector<std::wstring>;

// A folder of its own under the temporary folder, emptied and removed at the end.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& name) : path_(e2e::temporaryPath(name)) {
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() { e2e::removeTree(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    void file(const std::wstring& name) const {
        HANDLE file = CreateFileW((path_ + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << "could not make a file";
        CloseHandle(file);
    }
    void folder(const std::wstring& name) const { CreateDirectoryW((path_ + L"\\" + name).c_str(), nullptr); }

private:
    std::wstring path_;
};

// The platform's enumeration, with every pattern asked and every name it gave kept.
class WatchedFinder : public FileFinder {
public:
    SearchHandle FindFirstFileA(const std::string& pattern, FindRecord& record) override {
        patterns.push_back(pattern);
        SearchHandle search = real_.FindFirstFileA(pattern, record);
        if (search != kInvalidSearchHandle) keep(record);
        return search;
    }
    bool FindNextFileA(SearchHandle search, FindRecord& record) override {
        if (!real_.FindNextFileA(search, record)) return false;
        keep(record);
        return true;
    }
    void FindClose(SearchHandle search) override { real_.FindClose(search); }

    std::vector<std::string> patterns;
    std::vector<std::string> found;

private:
    void keep(const FindRecord& record) {
        found.emplace_back(record.cFileName, strnlen(record.cFileName, sizeof record.cFileName));
    }
    win32::Win32FileFinder real_;
};

std::string ansi(const std::wstring& text) { return ui::win32::SystemCodePage().toAnsi(text); }

bool has(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& n : names) {
        if (n == name) return true;
    }
    return false;
}

class GlimmoraListing : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 936u) << "the tests need the Simplified-Chinese code page"; }
    void TearDown() override { EXPECT_EQ(window.misuses, Names{}); }

    Names listed(const std::wstring& path) {
        window.path = path;
        form.Dir1_Change();
        return window.entries;
    }

    FakeGlimmoraWindow window;
    RecordingSkinEngine skin;
    WatchedFinder finder;
    ui::win32::SystemCodePage codePage;
    Form1 form{window, skin, finder, codePage};
};

TEST_F(GlimmoraListing, NamesMatchedOnlyThroughTheirShortNamesAreFoundThenFiltered) {
    TempFolder folder(L"glimmora-short");
    for (const wchar_t* name : {L"blue.sheet", L"BLUE.SHE", L"c.shell", L"g.shex", L"中文长名字.shell", L"red.she",
                                L"notes.txt"}) {
        folder.file(name);
    }
    folder.folder(L"old.she");
    EXPECT_EQ(listed(folder.path()), (Names{L"BLUE.SHE", L"old.she", L"red.she"}));
    EXPECT_TRUE(has(finder.found, "blue.sheet")) << "the platform matched it through its short name";
    EXPECT_TRUE(has(finder.found, ansi(L"中文长名字.shell")));
    EXPECT_FALSE(has(finder.found, "notes.txt"));
    EXPECT_EQ(finder.patterns, std::vector<std::string>{ansi(folder.path() + L"\\*.she")});
}

TEST_F(GlimmoraListing, ADrivesRootIsSearchedWithItsOwnBackslash) {
    const std::wstring name = L"glimmora-root-" + std::to_wstring(GetCurrentProcessId()) + L".she";
    HANDLE file = CreateFileW((L"C:\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    const Names entries = listed(L"C:\\");
    DeleteFileW((L"C:\\" + name).c_str());
    EXPECT_EQ(finder.patterns, std::vector<std::string>{"C:\\*.she"});
    EXPECT_NE(std::find(entries.begin(), entries.end(), name), entries.end());
}

TEST_F(GlimmoraListing, AFolderThatCannotBeReadListsNothing) {
    window.entries = {L"stale.she"};
    EXPECT_EQ(listed(L"C:\\glimmora-no-such-folder\\deeper"), Names{});
    EXPECT_TRUE(finder.found.empty());
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(GlimmoraListing, ANameOutsideCodePage936ShowsTheSubstituteCharacter) {
    TempFolder folder(L"glimmora-names");
    for (const wchar_t* name : {L"한국.she", L"蓝色.she", L"ÿ€.she"}) folder.file(name);
    EXPECT_EQ(listed(folder.path()), (Names{L"??.she", L"?€.she", L"蓝色.she"}));
}

// The real window, created in this process and shown, as the tool shows it.
class GlimmoraRealWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 936u);
        window = std::make_unique<win32::GlimmoraWindow>(skin, finder, codePage);
        ASSERT_TRUE(window->createAndLoad(GetModuleHandleW(nullptr)));
        ShowWindow(window->window(), SW_SHOW);
        UpdateWindow(window->window());
        skin.calls.clear();
    }

    void pumpMessages() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }

    std::string handle() const {
        char text[16];
        std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(window->windowHandle()));
        return text;
    }

    RecordingSkinEngine skin;
    win32::Win32FileFinder finder;
    ui::win32::SystemCodePage codePage;
    std::unique_ptr<win32::GlimmoraWindow> window;
};

// The build makes the folder beside this program: 10,000 empty skin files and one name that
// matches only through its short name. Made here, it would take Wine half a minute.
TEST_F(GlimmoraRealWindow, TenThousandSkinFilesListCompletelyInUnderASecond) {
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder = program;
    folder = folder.substr(0, folder.find_last_of(L'\\')) + L"\\many-skins";

    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(window->setDirPath(folder));
    pumpMessages();
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(window->text(Control::txtpath), folder);
    ASSERT_EQ(window->listCount(), 10000);
    EXPECT_EQ(window->listItem(0), L"skin00000.she");
    EXPECT_EQ(window->listItem(9999), L"skin09999.she");
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 1000);
}

TEST_F(GlimmoraRealWindow, TheSkinListSortsWithoutRegardToCase) {
    window->listClear();
    for (const wchar_t* entry : {L"b.she", L"C.she", L"A.she", L"a2.she", L"B1.she"}) window->listAdd(entry);
    Names entries;
    for (int i = 0; i < window->listCount(); ++i) entries.push_back(window->listItem(i));
    EXPECT_EQ(entries, (Names{L"A.she", L"a2.she", L"b.she", L"B1.she", L"C.she"}));
    EXPECT_EQ(window->listSelected(), L"");
}

// What the platform's own sorted list box makes of the same additions and removals.
struct ListStep {
    const wchar_t* add;  // nullptr: remove the entry at `remove`
    int remove;
};

TEST_F(GlimmoraRealWindow, TheSkinListPlacesEntriesAsThePlatformsSortedListBoxDoes) {
    auto add = [](const wchar_t* name) { return ListStep{name, 0}; };
    auto remove = [](int position) { return ListStep{nullptr, position}; };
    const std::vector<std::vector<ListStep>> sequences = {
        {add(L"skin1.she"), add(L"skin2.she"), add(L"skin3.she"), add(L"skin4.she")},  // in order
        {add(L"d.she"), add(L"c.she"), add(L"b.she"), add(L"a.she")},                  // reversed
        {add(L"a.she"), add(L"A.she"), add(L"b.she"), add(L"B.she"), add(L"a.she"), add(L"A.SHE")},  // equal but for case
        {add(L"春天.she"), add(L"深海.she"), add(L"Autumn.she"), add(L"冬.she"), add(L"blue.she")},
        {add(L"a-b.she"), add(L"ab.she"), add(L"a_b.she"), add(L"a b.she"), add(L"a10.she"), add(L"a9.she")},
        // The last entry removed, then names that sort after what is left and before it.
        {add(L"a.she"), add(L"m.she"), add(L"z.she"), remove(2), add(L"y.she"), remove(2), remove(1), add(L"n.she"),
         add(L"b.she"), remove(0), add(L"zz.she")},
    };
    HWND reference = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_SORT | LBS_HASSTRINGS, 0, 0, 10, 10,
                                     window->window(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(reference, nullptr);
    for (std::size_t s = 0; s < sequences.size(); ++s) {
        window->listClear();
        SendMessageW(reference, LB_RESETCONTENT, 0, 0);
        for (const ListStep& step : sequences[s]) {
            if (step.add != nullptr) {
                window->listAdd(step.add);
                SendMessageW(reference, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(step.add));
            } else {
                window->listRemove(step.remove);
                SendMessageW(reference, LB_DELETESTRING, step.remove, 0);
            }
        }
        Names expected;
        for (LRESULT i = 0; i < SendMessageW(reference, LB_GETCOUNT, 0, 0); ++i) {
            wchar_t text[64] = {};
            SendMessageW(reference, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            expected.push_back(text);
        }
        Names entries;
        for (int i = 0; i < window->listCount(); ++i) entries.push_back(window->listItem(i));
        EXPECT_EQ(entries, expected) << "sequence " << s;
    }
    DestroyWindow(reference);
}

TEST_F(GlimmoraRealWindow, ABoxSetFromCodeRaisesItsClickOnceAndOnlyOnAChange) {
    window->setValue(Control::Check1, 1);
    window->setValue(Control::Check1, 1);
    window->setValue(Control::Check2, 1);
    window->setValue(Control::Check1, 0);
    window->setValue(Control::Check2, 0);
    window->setValue(Control::Check2, 0);
    EXPECT_EQ(skin.calls, (std::vector<std::string>{"SkinH_SetWindowAlpha(" + handle() + ", 200)", "SkinH_SetAero(1)",
                                                    "SkinH_SetWindowAlpha(" + handle() + ", 255)",
                                                    "SkinH_SetAero(0)"}));
    EXPECT_EQ(window->value(Control::Check1), 0);
}

TEST_F(GlimmoraRealWindow, ChoosingASkinHandsTheEngineItsPathInCodePage936) {
    TempFolder folder(L"glimmora-皮肤");
    folder.file(L"蓝色.she");
    ASSERT_TRUE(window->setDirPath(folder.path()));
    SendMessageW(window->control(Control::List1), LB_SETCURSEL, 0, 0);
    // What the list box tells its window when the user selects an entry.
    SendMessageW(window->window(), WM_COMMAND,
                 MAKEWPARAM(ui::kFirstControlId + indexOf(Control::List1), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(window->control(Control::List1)));
    ASSERT_EQ(skin.calls.size(), 1u);
    const std::string gbk = ansi(folder.path()) + "\\\xC0\xB6\xC9\xAB.she";
    EXPECT_EQ(skin.calls[0], "SkinH_AttachEx(\"" + gbk + "\", \"\")");
}

TEST_F(GlimmoraRealWindow, TheDirectoryListMovesOnlyToFoldersItCanRead) {
    TempFolder folder(L"glimmora-dirs");
    folder.folder(L"zeta");
    folder.folder(L"Alpha");
    ASSERT_TRUE(window->setDirPath(folder.path() + L"\\"));
    EXPECT_EQ(window->dirPath(), folder.path());
    EXPECT_FALSE(window->setDirPath(folder.path() + L"\\missing"));
    EXPECT_EQ(window->dirPath(), folder.path());
    EXPECT_EQ(window->text(Control::txtpath), folder.path());
    ASSERT_TRUE(window->setDirPath(L"c: [label]"));
    EXPECT_EQ(window->dirPath().substr(0, 3), L"C:\\");

    // A drive the system does not have reads like a drive without a medium: nothing moves.
    const DWORD drives = GetLogicalDrives();
    wchar_t missing = L'D';
    while (missing < L'Z' && (drives & (1u << (missing - L'A')))) ++missing;
    const std::wstring before = window->dirPath();
    EXPECT_FALSE(window->setDirPath(std::wstring{static_cast<wchar_t>(missing + 32), L':'}));
    EXPECT_EQ(window->dirPath(), before);
}

TEST_F(GlimmoraRealWindow, AShownFolderThatHasGoneGivesWayToTheNearestFolderStillThere) {
    TempFolder folder(L"glimmora-gone");
    folder.folder(L"a");
    folder.folder(L"a\\b");
    folder.folder(L"a\\b\\c");
    folder.file(L"a\\top.she");
    const std::wstring shown = folder.path() + L"\\a\\b\\c";
    ASSERT_TRUE(window->setDirPath(shown));
    e2e::removeTree(folder.path() + L"\\a\\b");

    EXPECT_FALSE(window->setDirPath(shown)) << "the folder cannot be read any more";
    EXPECT_EQ(window->dirPath(), folder.path() + L"\\a");
    EXPECT_EQ(window->text(Control::txtpath), folder.path() + L"\\a") << "the move was reported";
    ASSERT_EQ(window->listCount(), 1);
    EXPECT_EQ(window->listItem(0), L"top.she");
}

}  // namespace
}  // namespace glimmora
