// The release as a user gets it: the zip unpacked into an empty folder of a fresh prefix
// (tests/release/run-release-test does that and names the folder and the screen's DPI in
// QUORVANE_RELEASE_FOLDER and QUORVANE_RELEASE_DPI). The programs start from there with the
// environment of a fresh logon, so nothing of the build tree is on their path.
#include <windows.h>
#include <userenv.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "glimmora/GlimmoraDesign.h"
#include "stock/StockDesign.h"
#include "tests/e2e/WindowDriver.h"
#include "ui/win32/DesignedWindow.h"

namespace {

using namespace e2e;
using Names = std::vector<std::wstring>;

constexpr DWORD kStartTimeoutMs = 30000;

std::wstring environmentText(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? value : L"";
}

std::wstring releaseFolder() { return environmentText(L"QUORVANE_RELEASE_FOLDER"); }
int expectedDpi() { return _wtoi(environmentText(L"QUORVANE_RELEASE_DPI").c_str()); }

// release-stock.png at 96 dots per inch, release-stock-144dpi.png at 144.
std::wstring screenshotPath(const std::wstring& program) {
    const std::wstring suffix = screenDpi() == 96 ? L"" : L"-" + std::to_wstring(screenDpi()) + L"dpi";
    return screenshotDirectory() + L"\\release-" + program + suffix + L".png";
}

bool containsWide(const std::string& bytes, const std::wstring& text) {
    const std::string wide(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return bytes.find(wide) != std::string::npos;
}

// The names in a folder, sorted without regard to case.
Names folderNames(const std::wstring& folder) {
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return lstrcmpiW(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

class Release : public ::testing::Test {
protected:
    void SetUp() override {
        // Window rectangles in real pixels, as the programs see them.
        SetProcessDPIAware();
        ASSERT_EQ(GetACP(), 936u) << "the tests need the Simplified-Chinese code page";
        ASSERT_FALSE(releaseFolder().empty()) << "run through tests/release/run-release-test";
        ASSERT_EQ(screenDpi(), expectedDpi()) << "the prefix's LogPixels did not take";
    }
    std::wstring inRelease(const std::wstring& name) const { return releaseFolder() + L"\\" + name; }
};

TEST_F(Release, HoldsTheProgramsTheLibraryTheSampleSkinsAndTheReadmeOnly) {
    EXPECT_EQ(folderNames(releaseFolder()),
              (Names{L"glimmora.exe", L"readme.txt", L"SkinH_VB6.dll", L"skins", L"stock.exe"}));
    const Names skins = folderNames(inRelease(L"skins"));
    EXPECT_FALSE(skins.empty());
    EXPECT_EQ(skins, folderNames(binDirectory() + L"\\skins")) << "the sample skins the build made";
    for (const std::wstring& name : skins) EXPECT_TRUE(name.ends_with(L".she")) << "nothing but skin files";

    // The public build of the calculator, the very files the tests ran.
    for (const wchar_t* name : {L"stock.exe", L"glimmora.exe", L"SkinH_VB6.dll"}) {
        EXPECT_EQ(readFile(inRelease(name)), readFile(binDirectory() + L"\\" + name)) << name;
    }
    const std::string stock = readFile(inRelease(L"stock.exe"));
    EXPECT_TRUE(containsWide(stock, QUORVANE_QUOTE_BASE));
    EXPECT_TRUE(containsWide(stock, QUORVANE_CHART_BASE));
    EXPECT_FALSE(containsWide(stock, QUORVANE_LOCAL_QUOTE_BASE));
}

// Notepad of every Windows version shows it right: UTF-8 behind its mark, lines ending in CR LF.
TEST_F(Release, TheReadmeOpensInNotepad) {
    const std::string bytes = readFile(inRelease(L"readme.txt"));
    ASSERT_GT(bytes.size(), 3u);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF") << "UTF-8 with its byte-order mark";
    for (std::size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1)) {
        ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r') << "a bare line feed at byte " << at;
    }
    EXPECT_GT(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + 3, static_cast<int>(bytes.size() - 3),
                                  nullptr, 0),
              0)
        << "not valid UTF-8";
}

// The manifests, read through the platform's activation contexts: system DPI aware, which the
// layout at 144 dots per inch rests on under Windows. Wine lays a program out at the screen's DPI
// whatever it declares, so the layout test below cannot tell a lost declaration.
TEST_F(Release, ProgramsDeclareSystemDpiAwareness) {
    for (const wchar_t* program : {L"stock.exe", L"glimmora.exe"}) {
        const std::wstring path = inRelease(program);
        ACTCTXW request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = path.c_str();
        request.lpResourceName = MAKEINTRESOURCEW(1);
        HANDLE context = CreateActCtxW(&request);
        ASSERT_NE(context, INVALID_HANDLE_VALUE) << "no application manifest in " << program;
        wchar_t aware[32] = {};
        SIZE_T written = 0;
        EXPECT_TRUE(QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                                         L"dpiAware", aware, 32, &written));
        EXPECT_STREQ(aware, L"true") << program;
        ReleaseActCtx(context);
    }
}

// Text drawn in the design font at the screen's DPI.
SIZE textSize(const ui::Font& font, const std::wstring& text) {
    const LOGFONTW logFont = ui::win32::logFontAt(font, screenDpi());
    HFONT made = CreateFontIndirectW(&logFont);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, made);
    RECT rect{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE);  // "&X" draws as an underlined X
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(made);
    return {rect.right, metrics.tmHeight};
}

int scaled(int pixelsAt96) { return MulDiv(pixelsAt96, screenDpi(), 96); }

// Every control where its twips put it at this DPI, as large as designed (a label as large as
// its caption), inside the client area, and its caption inside it.
void expectDesignLayout(HWND form, const ui::FormDesign& design) {
    RECT client;
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, pixelsFromTwips(design.clientWidth));
    EXPECT_EQ(client.bottom, pixelsFromTwips(design.clientHeight));
    RECT frame;
    GetWindowRect(form, &frame);
    EXPECT_TRUE(frame.left >= 0 && frame.top >= 0 && frame.right <= GetSystemMetrics(SM_CXSCREEN) &&
                frame.bottom <= GetSystemMetrics(SM_CYSCREEN))
        << "the window lies off the screen";

    for (std::size_t i = 0; i < design.controlCount; ++i) {
        const ui::ControlDesign& c = design.controls[i];
        SCOPED_TRACE(::testing::Message() << "control " << i);
        HWND control = GetDlgItem(form, ui::kFirstControlId + static_cast<int>(i));
        ASSERT_NE(control, nullptr);
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
        // A control in a frame stands at its twips from the frame's corner.
        ui::TwipsRect twips = c.rect;
        if (c.container != ui::kOnForm) {
            const ui::ControlDesign& frame = design.controls[c.container];
            ASSERT_EQ(frame.container, ui::kOnForm) << "frames stand on the form";
            twips.left += frame.rect.left;
            twips.top += frame.rect.top;
        }
        EXPECT_EQ(r.left, pixelsFromTwips(twips.left));
        EXPECT_EQ(r.top, pixelsFromTwips(twips.top));
        EXPECT_LE(r.right, client.right);
        EXPECT_LE(r.bottom, client.bottom);

        const int width = r.right - r.left;
        const int height = r.bottom - r.top;
        const SIZE text = textSize(c.font, windowText(control));
        if (c.flags & ui::kSizeToText) {
            EXPECT_EQ(width, text.cx);
            EXPECT_EQ(height, text.cy);
            continue;
        }
        EXPECT_EQ(width, pixelsFromTwips(twips.width));
        EXPECT_EQ(height, pixelsFromTwips(twips.height));
        // Room the platform's controls take around their text.
        int around = 0;
        switch (c.kind) {
        case ui::Kind::Button: around = 4 * GetSystemMetrics(SM_CXEDGE); break;
        case ui::Kind::CheckBox:
        case ui::Kind::Option: around = scaled(13 + 4); break;  // the box and the gap after it
        case ui::Kind::Frame: around = text.cy; break;          // the caption sits half a line in
        case ui::Kind::TextBox: around = 4 * GetSystemMetrics(SM_CXEDGE); break;
        default: break;
        }
        EXPECT_LE(text.cx + around, width) << "the caption is cut off";
        if (c.kind != ui::Kind::Frame) {
            EXPECT_LE(text.cy, height) << "the text is cut off";
        }
    }
}

// The environment of a fresh logon of the prefix's user.
class LogonEnvironment {
public:
    LogonEnvironment() { CreateEnvironmentBlock(&block_, nullptr, FALSE); }
    ~LogonEnvironment() {
        if (block_ != nullptr) DestroyEnvironmentBlock(block_);
    }
    LogonEnvironment(const LogonEnvironment&) = delete;
    LogonEnvironment& operator=(const LogonEnvironment&) = delete;

    void* block() const { return block_; }
    std::wstring path() const {
        for (const wchar_t* entry = static_cast<const wchar_t*>(block_); entry != nullptr && *entry != L'\0';
             entry += wcslen(entry) + 1) {
            if (_wcsnicmp(entry, L"PATH=", 5) == 0) return entry + 5;
        }
        return L"";
    }

private:
    void* block_ = nullptr;
};

class ReleasedProgram : public Release {
protected:
    void start(const wchar_t* exe) {
        ASSERT_NE(environment_.block(), nullptr);
        const std::wstring path = environment_.path();
        EXPECT_FALSE(path.empty());
        const std::wstring tree = testDirectory().substr(0, testDirectory().rfind(L'\\'));
        EXPECT_EQ(path.find(tree.substr(0, tree.rfind(L'\\'))), std::wstring::npos) << "the build folder is on the path";
        parkMouse();
        program_ = std::make_unique<Program>(inRelease(exe), releaseFolder(), environment_.block());
        ASSERT_TRUE(program_->started());
        form_ = program_->waitForWindow(L"QuorvaneDesignedWindow", kStartTimeoutMs);
        ASSERT_NE(form_, nullptr) << "the window did not appear";
        EXPECT_EQ(lstrcmpiW(program_->loadedFrom(L"SkinH_VB6.dll").c_str(), inRelease(L"SkinH_VB6.dll").c_str()), 0)
            << "the skin library beside the program";
    }
    void TearDown() override {
        if (program_ != nullptr) {
            EXPECT_FALSE(program_->crashed()) << "the program died of " << program_->howItEnded();
        }
        program_.reset();
    }

    HWND control(std::size_t index) const { return GetDlgItem(form_, ui::kFirstControlId + static_cast<int>(index)); }

    LogonEnvironment environment_;
    std::unique_ptr<Program> program_;
    HWND form_ = nullptr;
};

TEST_F(ReleasedProgram, TheCalculatorOpensWithItsDesignLayoutAtTheScreensDpi) {
    start(L"stock.exe");
    EXPECT_EQ(windowText(form_), stock::kTitle);
    expectDesignLayout(form_, stock::kForm);
    ASSERT_TRUE(answers(form_));
    Sleep(300);  // let the first paint reach the screen
    EXPECT_TRUE(saveScreenshot(form_, screenshotPath(L"stock")));
}

TEST_F(ReleasedProgram, TheSkinToolOpensInItsFolderAndListsTheSampleSkins) {
    using glimmora::Control;
    using glimmora::indexOf;
    start(L"glimmora.exe");
    EXPECT_EQ(windowText(form_), glimmora::kTitle);
    expectDesignLayout(form_, glimmora::kForm);
    EXPECT_EQ(windowText(control(indexOf(Control::txtpath))), releaseFolder());
    EXPECT_TRUE(listEntries(control(indexOf(Control::List1))).empty()) << "no skin files beside the programs";

    // Into the sample skins, as the readme tells the user.
    HWND folders = control(indexOf(Control::Dir1));
    const Names entries = listEntries(folders);
    const auto skins = std::find(entries.begin(), entries.end(), L"skins");
    ASSERT_NE(skins, entries.end());
    clickListEntry(folders, static_cast<int>(skins - entries.begin()), true);
    ASSERT_TRUE(waitUntil([&] { return windowText(control(indexOf(Control::txtpath))) == inRelease(L"skins"); }, 5000));
    HWND list = control(indexOf(Control::List1));
    EXPECT_EQ(listEntries(list), folderNames(inRelease(L"skins")));

    // The first sample skin applied, from the skin library beside the program.
    clickListEntry(list, 0);
    EXPECT_TRUE(waitUntil([&] { return listSelection(list) == 0; }, 5000));
    parkMouse();  // and the list's tooltip gone with the pointer
    EXPECT_TRUE(waitUntil([&] { return program_->waitForWindow(L"tooltips_class32", 0) == nullptr; }, 10000));
    ASSERT_TRUE(answers(form_));
    EXPECT_TRUE(saveScreenshot(form_, screenshotPath(L"glimmora")));
}

}  // namespace
