// Both programs meeting a skin engine library that is missing, lacks a function, or waits only in
// the current directory (planted there by a skin pack from the internet, say): a clear message
// naming what is missing, a non-zero exit and no crash, and a planted library never loaded.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "glimmora/GlimmoraDesign.h"
#include "tests/e2e/WindowDriver.h"

namespace {

using namespace e2e;

constexpr DWORD kLibraryMissing = 126;
constexpr DWORD kFunctionMissing = 127;

// Our library as built, or built without one function, in the folder beside this test program.
std::wstring library(const wchar_t* without) {
    return testDirectory() + (without ? std::wstring(L"\\without-") + without : std::wstring()) + L"\\SkinH_VB6.dll";
}

// A program copied alone into a folder of its own, started in a second folder with two skin
// files, with our library's trace on.
class LonelyProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 936u) << "the tests need the Simplified-Chinese code page";
        parkMouse();
        for (const wchar_t* name : {L"a.she", L"b.she"}) makeEmptyFile(work_ / name);
    }
    void TearDown() override {
        if (program_ != nullptr) {
            EXPECT_FALSE(program_->crashed()) << "the program died of " << program_->howItEnded();
        }
        program_.reset();
    }

    void copy(const std::wstring& from, const std::wstring& to) {
        ASSERT_TRUE(CopyFileW(from.c_str(), to.c_str(), FALSE)) << "cannot copy to " << to.size();
    }

    // exe from the build's bin folder, beside the given library (none for nullptr).
    void start(const wchar_t* exe, const std::wstring* besideIt) {
        copy(binDirectory() + L"\\" + exe, app_ / exe);
        if (besideIt != nullptr) copy(*besideIt, app_ / L"SkinH_VB6.dll");
        program_ = startTraced(app_ / exe, work_.path(), app_ / L"trace.txt");
        ASSERT_TRUE(program_->started());
    }

    // The stop message's text, read while it shows; then it is closed and the exit code returned.
    std::wstring stopMessage(DWORD& exitCode) {
        HWND box = program_->waitForWindow(L"#32770", kStartTimeoutMs);
        if (box == nullptr) return L"(no message)";
        const std::wstring text = windowText(GetDlgItem(box, 0xFFFF));
        loadedWhileStopped_ = program_->hasLoaded(L"SkinH_VB6.dll");
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        exitCode = 0xFFFFFFFF;
        EXPECT_TRUE(program_->waitForExit(kPatienceMs, exitCode)) << "the program goes on after its message";
        return text;
    }

    std::vector<std::string> traceLines() const { return readLines(app_ / L"trace.txt"); }

    TempFolder app_{L"skin-faults-app"}, work_{L"skin-faults-work"};
    std::unique_ptr<Program> program_;
    bool loadedWhileStopped_ = false;
};

enum class Library { Missing, WithoutAttach, PlantedInCurrentDirectory };

struct StartCase {
    const wchar_t* exe;
    Library library;
};

std::string caseName(const ::testing::TestParamInfo<StartCase>& info) {
    const char* libraries[] = {"Missing", "WithoutAttach", "PlantedInCurrentDirectory"};
    const std::string program = info.param.exe[0] == L's' ? "stock" : "glimmora";
    return program + libraries[static_cast<int>(info.param.library)];
}

class StartWithoutSkinEngine : public LonelyProgram, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartWithoutSkinEngine, StopsWithAMessageNamingWhatIsMissingBeforeAnyWindow) {
    const StartCase& c = GetParam();
    const std::wstring withoutAttach = library(L"SkinH_Attach");
    if (c.library == Library::PlantedInCurrentDirectory) copy(library(nullptr), work_ / L"SkinH_VB6.dll");
    start(c.exe, c.library == Library::WithoutAttach ? &withoutAttach : nullptr);

    DWORD exitCode = 0;
    const std::wstring message = stopMessage(exitCode);
    if (c.library == Library::WithoutAttach) {
        EXPECT_NE(message.find(L"中没有函数 SkinH_Attach。"), std::wstring::npos) << "the message names the function";
        EXPECT_EQ(exitCode, kFunctionMissing);
    } else {
        EXPECT_NE(message.find(L"找不到皮肤引擎库 SkinH_VB6.dll"), std::wstring::npos) << "the message names the library";
        EXPECT_EQ(exitCode, kLibraryMissing);
        EXPECT_FALSE(loadedWhileStopped_) << "the library in the current directory was loaded";
        EXPECT_TRUE(traceLines().empty()) << "the planted library was called";
    }
    EXPECT_EQ(program_->waitForWindow(L"QuorvaneDesignedWindow", 0), nullptr) << "no window is shown";
}

INSTANTIATE_TEST_SUITE_P(
    BothPrograms, StartWithoutSkinEngine,
    ::testing::Values(StartCase{L"stock.exe", Library::Missing}, StartCase{L"stock.exe", Library::WithoutAttach},
                      StartCase{L"stock.exe", Library::PlantedInCurrentDirectory},
                      StartCase{L"glimmora.exe", Library::Missing},
                      StartCase{L"glimmora.exe", Library::WithoutAttach},
                      StartCase{L"glimmora.exe", Library::PlantedInCurrentDirectory}),
    caseName);

// glimmora binds each function when it first calls it: the tool runs until then.
struct FirstUse {
    const wchar_t* missing;
    glimmora::Control clicked;
    std::vector<std::string> tracedBefore;  // the calls that went through before the missing one
};

class GlimmoraFirstUse : public LonelyProgram, public ::testing::WithParamInterface<FirstUse> {};

TEST_P(GlimmoraFirstUse, StopsWithAMessageAtTheFirstCallOfAMissingFunction) {
    const FirstUse& c = GetParam();
    const std::wstring partial = library(c.missing);
    start(L"glimmora.exe", &partial);
    HWND form = program_->waitForWindow(L"QuorvaneDesignedWindow", kStartTimeoutMs);
    ASSERT_NE(form, nullptr) << "the tool starts: it does not need the function yet";
    HWND control = GetDlgItem(form, ui::kFirstControlId + static_cast<int>(glimmora::indexOf(c.clicked)));
    ASSERT_TRUE(answers(form));
    if (c.clicked == glimmora::Control::List1) {
        clickListEntry(control, 0);
    } else {
        click(control);
    }

    DWORD exitCode = 0;
    const std::wstring message = stopMessage(exitCode);
    EXPECT_NE(message.find(std::wstring(L"中没有函数 ") + c.missing + L"。"), std::wstring::npos)
        << "the message names the function";
    EXPECT_EQ(exitCode, kFunctionMissing);
    std::vector<std::string> expected{"SkinH_Attach()"};
    expected.insert(expected.end(), c.tracedBefore.begin(), c.tracedBefore.end());
    EXPECT_EQ(traceLines(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFunction, GlimmoraFirstUse,
    ::testing::Values(FirstUse{L"SkinH_AttachEx", glimmora::Control::List1, {}},
                      FirstUse{L"SkinH_SetWindowAlpha", glimmora::Control::Check1, {}},
                      FirstUse{L"SkinH_SetAero", glimmora::Control::Check2, {}},
                      FirstUse{L"SkinH_Detach", glimmora::Control::Command2, {"SkinH_SetAero(0)"}},
                      FirstUse{L"SkinH_DetachEx", glimmora::Control::Command2, {"SkinH_SetAero(0)", "SkinH_Detach()"}}),
    [](const ::testing::TestParamInfo<FirstUse>& info) {
        const std::wstring name = info.param.missing;
        return std::string(name.begin(), name.end());
    });

}  // namespace
