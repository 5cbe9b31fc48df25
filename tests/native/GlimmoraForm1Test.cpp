#include "glimmora/Form1.h"

#include <gtest/gtest.h>

#include "tests/support/Cp936.h"
#include "tests/support/GlimmoraFakes.h"

namespace glimmora {
namespace {

using testing::FakeFileFinder;
using testing::FakeGlimmoraWindow;
using testing::RecordingSkinEngine;
using Names = std::vector<std::wstring>;
using Calls = std::vector<std::string>;

class GlimmoraForm1 : public ::testing::Test {
protected:
    GlimmoraForm1() {
        window.raiseClick = [this](Control c) { form.Click(c); };
        window.raiseChange = [this](Control c) { form.Change(c); };
    }
    void TearDown() override {
        EXPECT_EQ(window.misuses, Names{});
        EXPECT_EQ(finder.misuses, Calls{});
    }

    // Lists the folder as a change of Dir1 does and returns List1's entries.
    Names listed(const std::wstring& path, std::vector<std::string> enumeration) {
        std::string pattern = codePage.toAnsi(path);
        pattern += (pattern.back() == '\\' ? "" : "\\");
        finder.folders[pattern + "*.she"] = std::move(enumeration);
        window.path = path;
        form.Dir1_Change();
        EXPECT_EQ(finder.open, 0) << "every search is closed";
        return window.entries;
    }

    FakeGlimmoraWindow window;
    RecordingSkinEngine skin;
    FakeFileFinder finder;
    support::Cp936 codePage;
    Form1 form{window, skin, finder, codePage};
};

TEST_F(GlimmoraForm1, TheSearchPatternGetsOneBackslashBeforeThePattern) {
    const struct {
        const wchar_t* path;
        const char* pattern;
    } cases[] = {
        {L"C:\\", "C:\\*.she"},
        {L"Z:\\", "Z:\\*.she"},
        {L"D:\\skins", "D:\\skins\\*.she"},
        {L"D:\\skins\\blue", "D:\\skins\\blue\\*.she"},
        {L"\\\\server\\share", "\\\\server\\share\\*.she"},
    };
    for (const auto& c : cases) {
        finder.calls.clear();
        form.FindFilesAPI(c.path, L"*.she");
        ASSERT_FALSE(finder.calls.empty());
        EXPECT_EQ(finder.calls.front(), std::string("FindFirstFileA ") + c.pattern);
    }
}

TEST_F(GlimmoraForm1, ListsOnlyNamesEndingInSheWhateverTheEnumerationOrder) {
    const std::string fillsTheRecord = std::string(256, 'n') + ".she";  // 260 bytes, no NUL after it
    const struct {
        const char* what;
        std::vector<std::string> enumeration;
        Names expected;
    } cases[] = {
        {"short-name matches filtered, case kept", {"D.SHE", "c.sheet", "a.she", "b.sheet"}, {L"a.she", L"D.SHE"}},
        {"the name .she alone stays", {".she", "x.she"}, {L".she", L"x.she"}},
        {"a folder named old.she is listed", {".", "..", "old.she", "new"}, {L"old.she"}},
        {"runs of removals pass nothing over", {"a.sh", "b.shex", "c.she", "d.she~", "e.SHE", "f"},
         {L"c.she", L"e.SHE"}},
        {"shorter than four characters", {"she", "e", "", "hE"}, {}},
        {"the last four characters, lower-cased", {"x.sHe", "x.she ", "x.she.", "x.she.she"},
         {L"x.sHe", L"x.she.she"}},
        {"nothing matched", {}, {}},
        {"a name that fills the whole record", {fillsTheRecord, "a.she"},
         {L"a.she", std::wstring(fillsTheRecord.begin(), fillsTheRecord.end())}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(listed(L"D:\\skins", c.enumeration), c.expected);
    }
}

// A skin is chosen from the list: which engine calls, in which order, with which path.
TEST_F(GlimmoraForm1, ChoosingASkinCallsTheEngineAsTheBoxesSay) {
    const struct {
        const char* what;
        const wchar_t* folder;
        int check1;
        int check2;
        Calls calls;
    } cases[] = {
        {"both clear", L"D:\\skins", 0, 0, {"SkinH_AttachEx(\"D:\\skins\\blue.she\", \"\")"}},
        {"both set", L"D:\\skins", 1, 1,
         {"SkinH_SetWindowAlpha(0x00A10C2E, 250)", "SkinH_SetAero(1)",
          "SkinH_AttachEx(\"D:\\skins\\blue.she\", \"\")"}},
        {"transparent only", L"D:\\skins", 1, 0,
         {"SkinH_SetWindowAlpha(0x00A10C2E, 250)", "SkinH_AttachEx(\"D:\\skins\\blue.she\", \"\")"}},
        {"shadow only at a drive's root", L"C:\\", 0, 1,
         {"SkinH_SetAero(1)", "SkinH_AttachEx(\"C:\\\\blue.she\", \"\")"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        window.values[Control::Check1] = c.check1;
        window.values[Control::Check2] = c.check2;
        listed(c.folder, {"blue.she", "red.she"});
        skin.calls.clear();
        window.clickEntry(L"blue.she");
        EXPECT_EQ(skin.calls, c.calls);
        EXPECT_EQ(form.skinFileName(), L"blue.she");
    }
}

// Our library's trace, and the recording engine that mirrors it, show a handle whole: a 64-bit
// host's pointer-sized values keep their high bits.
TEST(HandleText, ShowsTheWholeValueInAtLeastEightHexDigits) {
    EXPECT_EQ(skinengine::handleText(0), "0x00000000");
    EXPECT_EQ(skinengine::handleText(0x00A10C2E), "0x00A10C2E");
    EXPECT_EQ(skinengine::handleText(0xFFFFFFFF), "0xFFFFFFFF");
    if constexpr (sizeof(std::uintptr_t) == 8) {
        EXPECT_EQ(skinengine::handleText(static_cast<std::uintptr_t>(0x00007FF6A10C2E08ull)), "0x7FF6A10C2E08");
    }
}

TEST_F(GlimmoraForm1, ADriveThatCannotBeReadLeavesTheListsAndSaysSo) {
    finder.folders["C:\\skins\\*.she"] = {"blue.she"};
    form.Form_Load();
    window.events.clear();
    window.unreadable.insert(L"a:");
    window.drive = L"a:";
    form.Change(Control::Drive1);
    EXPECT_EQ(window.dirPath(), L"C:\\skins");
    EXPECT_EQ(window.text(Control::txtpath), L"C:\\skins");
    EXPECT_EQ(window.entries, Names{L"blue.she"});
    EXPECT_EQ(window.drive, L"c: [back]");
    EXPECT_EQ(window.events, (Names{L"drive c: [back]", L"message"}));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_NE(window.messages[0].text.find(L"a:"), std::wstring::npos);
    EXPECT_EQ(window.messages[0].title, L"驱动器未就绪");
    EXPECT_EQ(window.messages[0].style, kStyleExclamation);
}

}  // namespace
}  // namespace glimmora
