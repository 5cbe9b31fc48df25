// stock.exe started for real under Wine: typed into with real keystrokes, clicked, read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "tests/e2e/WindowFixtures.h"

namespace {

using stock::Control;
using namespace e2e;

TEST_F(StockWindow, OpensCentredWithItsDesignValuesAndAttachesTheSkin) {
    EXPECT_EQ(windowText(form_), L"QuorvaneV1.2     quorvane@example.com");
    const std::pair<Control, const wchar_t*> texts[] = {
        {Control::Text1, L"0.0"},   {Control::Text2, L"100"},      {Control::Text3, L"0.0"},
        {Control::Text4, L"0.0"},   {Control::Text5, L"0.00"},     {Control::Text6, L"0"},
        {Control::Text7, L"0.00"},  {Control::Text8, L"0.0"},      {Control::Text9, L"000001"},
        {Control::Text10, L""},     {Control::lb_info, L"今日最高：0.0"}, {Control::chk_autoref, L"自动更新:30秒"},
        {Control::Frame1, L"曲线图"}, {Control::Option1, L"分时线图"}, {Control::Option4, L"月K线图"},
        {Control::cmd_clac, L"计算"}, {Control::cmd_stockfind, L"查股价"}};
    for (const auto& [control, expected] : texts) EXPECT_EQ(text(control), expected) << stock::indexOf(control);
    for (Control c : {Control::chk_autoref, Control::Option1, Control::Option2, Control::Option3, Control::Option4}) {
        EXPECT_EQ(SendMessageW(box(c), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    }
    EXPECT_FALSE(IsWindowEnabled(box(Control::Text7)));
    EXPECT_FALSE(IsWindowVisible(box(Control::Text10)));
    EXPECT_TRUE(GetWindowLongW(box(Control::Text10), GWL_STYLE) & ES_MULTILINE);
    EXPECT_TRUE(isCentredOnScreen(form_));
    EXPECT_EQ(trace(), Lines{"SkinH_Attach()"});
    // WinINet and OLE Automation are bound when first needed, not at start-up.
    EXPECT_TRUE(program_->hasLoaded(L"user32.dll")) << "the module list can be read";
    EXPECT_FALSE(program_->hasLoaded(L"wininet.dll"));
    EXPECT_FALSE(program_->hasLoaded(L"oleaut32.dll"));
    saveScreenshot(form_, screenshotDirectory() + L"\\stock-start.png");
}

// Each kind of box's filter reaches the window's typed characters (which keys each box takes is
// the logic's, tested natively); keys that type no character work as usual in a result box.
TEST_F(StockWindow, KeystrokeFiltersLetThroughOnlyWhatEachBoxTakes) {
    typeInto(Control::Text1, L"1-2a. ,3.4", L"12.3.4");
    typeInto(Control::Text9, L"12.345678", L"123456");
    typeInto(Control::Text2, L"1a b", L"1a b");
    // Typed into a result box, then on into the next box: the next box receives its character
    // while the result box stays as it was, backspace included.
    giveFocus(form_, box(Control::Text4));
    typeText(L"5\b.");
    pressKey(VK_TAB);
    typeText(L"7");
    EXPECT_TRUE(waitUntil([&] { return text(Control::Text5) == L"7"; }, kPatienceMs));
    EXPECT_EQ(text(Control::Text4), L"0.0");
    giveFocus(form_, box(Control::Text4));
    SendMessageW(box(Control::Text4), EM_SETSEL, 0, 0);
    pressKey(VK_DELETE);
    EXPECT_TRUE(waitUntil([&] { return text(Control::Text4) == L".0"; }, kPatienceMs));
}

// Hovering shows the design tooltips, the disabled average-cost box's included.
TEST_F(StockWindow, ShowsItsTooltips) {
    const std::pair<Control, const wchar_t*> tips[] = {
        {Control::Text9, L"回车查询"},
        {Control::Text5, L"双击使用今日股价"},
        {Control::Text7, L"因无法判断各种手续费，所以此值为估值仅供参考！"}};
    for (const auto& [control, tip] : tips) {
        giveFocus(form_, box(control));
        EXPECT_TRUE(showsTooltip(*program_, box(control), box(Control::Label1), tip))
            << "no tooltip over " << stock::indexOf(control);
    }
}

// Whether the screen shows each control's text clearly in red (or green), and nothing of it in the
// other colour.
bool showIn(bool red, const std::vector<HWND>& controls) {
    for (HWND control : controls) {
        const TextColours colours = coloursOnScreen(control);
        if ((red ? colours.red : colours.green) <= 10 || (red ? colours.green : colours.red) != 0) return false;
    }
    return true;
}

TEST_F(StockWindow, CalculatesByMouseAndByKeyboardWithColouredResults) {
    typeInto(Control::Text1, L"10.00", L"10.00");
    typeInto(Control::Text2, L"1000", L"1000");
    typeInto(Control::Text3, L"12.50", L"12.50");
    typeInto(Control::Text5, L"11.00", L"11.00");
    typeInto(Control::Text6, L"500", L"500");

    click(box(Control::cmd_clac));
    ASSERT_TRUE(waitUntil([&] { return text(Control::Text8) == L"3255.00"; }, kPatienceMs));
    EXPECT_EQ(text(Control::Text4), L"2500.00");
    EXPECT_EQ(text(Control::Text7), L"10.33");
    // The repaint reaches the screen a moment after the texts.
    const std::vector<HWND> results{box(Control::Label4), box(Control::Text4), box(Control::Label8), box(Control::Text8)};
    EXPECT_TRUE(waitUntil([&] { return showIn(true, results); }, kPatienceMs)) << "the results in red";
    expectDefaultSkinWithTheProgramsOwnBoxes();
    saveScreenshot(form_, screenshotDirectory() + L"\\stock-calculated.png");
    saveScreenshot(form_, screenshotDirectory() + L"\\stock-skinned.png");

    // A loss, calculated from the keyboard: Tab to the button, then Space; then Enter on it.
    typeInto(Control::Text3, L"8", L"8");
    giveFocus(form_, box(Control::Text8));
    pressKey(VK_TAB);
    ASSERT_TRUE(waitUntil([&] { return focusedControl(form_) == box(Control::cmd_clac); }, kPatienceMs));
    pressKey(VK_SPACE);
    ASSERT_TRUE(waitUntil([&] { return text(Control::Text8) == L"-3495.00"; }, kPatienceMs));
    EXPECT_EQ(text(Control::Text4), L"-2000.00");
    EXPECT_TRUE(waitUntil([&] { return showIn(false, results); }, kPatienceMs)) << "the results in green";
    expectDefaultSkinWithTheProgramsOwnBoxes();
    saveScreenshot(form_, screenshotDirectory() + L"\\stock-skinned-loss.png");
    typeInto(Control::Text3, L"12.5", L"12.5");
    giveFocus(form_, box(Control::cmd_clac));
    pressKey(VK_RETURN);
    EXPECT_TRUE(waitUntil([&] { return text(Control::Text8) == L"3255.00"; }, kPatienceMs));
}

// Before the first lookup the chart has no picture: its place shows the window's background.
TEST_F(StockWindow, TheChartsPlaceShowsTheWindowsBackgroundBeforeAnyLookup) {
    RECT place;
    GetWindowRect(box(Control::img_stock), &place);
    MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&place), 2);
    const int middle = (place.top + place.bottom) / 2;
    EXPECT_EQ(pixel(form_, place.left - 4, middle), skin::defaultSkin().windowBackground);
    EXPECT_EQ(pixel(form_, (place.left + place.right) / 2, middle), skin::defaultSkin().windowBackground);
}

TEST_F(StockWindow, InvalidInputShowsTheErrorBoxAfterTheResults) {
    typeInto(Control::Text2, L"abc", L"abc");
    typeInto(Control::Text3, L"12", L"12");
    click(box(Control::cmd_clac));
    HWND box16 = messageBox();
    ASSERT_NE(box16, nullptr) << "no error box";
    EXPECT_EQ(windowText(box16), L"错误");
    EXPECT_EQ(windowText(GetDlgItem(box16, 0xFFFF)), L"对不起，请检查您输入的是否合法？");
    EXPECT_NE(GetDlgItem(box16, IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(box16, IDCANCEL), nullptr) << "a single OK button";
    EXPECT_TRUE(waitUntil([&] { return pixel(box16, 4, 4) == skin::defaultSkin().windowBackground; }, kPatienceMs))
        << "the message box comes up skinned";
    // The results were written before the box came up.
    EXPECT_EQ(text(Control::Text4), L"0.00");
    EXPECT_EQ(text(Control::Text7), L"0.00");
    saveScreenshot(box16, screenshotDirectory() + L"\\stock-error.png");
    PostMessageW(box16, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(box16); }, kPatienceMs));
    EXPECT_TRUE(answers(form_));
}

TEST_F(StockWindow, DoubleClickOnThePurchasePriceCopiesTodaysPrice) {
    typeInto(Control::Text3, L"12.50", L"12.50");
    giveFocus(form_, box(Control::Text5));
    doubleClick(box(Control::Text5));
    EXPECT_TRUE(waitUntil([&] { return text(Control::Text5) == L"12.50"; }, kPatienceMs));
}

TEST_F(StockWindow, TabWalksTheFocusInDesignOrderAndEnterIsHarmless) {
    const Control order[] = {Control::Text2,   Control::Text3,   Control::Text4,         Control::Text5,
                             Control::Text6,   Control::Text8,   Control::cmd_clac,      Control::Text9,
                             Control::cmd_stockfind, Control::Option4, Control::Option3, Control::Option2,
                             Control::Option1, Control::chk_autoref, Control::Text1};
    giveFocus(form_, box(Control::Text1));
    for (Control next : order) {
        pressKey(VK_TAB);
        EXPECT_TRUE(waitUntil([&] { return focusedControl(form_) == box(next); }, kPatienceMs))
            << "expected the focus on " << stock::indexOf(next);
    }
    pressKey(VK_TAB, true);
    EXPECT_TRUE(waitUntil([&] { return focusedControl(form_) == box(Control::chk_autoref); }, kPatienceMs));
    EXPECT_EQ(SendMessageW(box(Control::Option1), BM_GETCHECK, 0, 0), BST_UNCHECKED) << "Tab selects no option";

    // Enter in the code box goes to the lookup and types nothing; elsewhere it does nothing.
    giveFocus(form_, box(Control::Text9));
    SendMessageW(box(Control::Text9), EM_SETSEL, 6, 6);
    pressKey(VK_RETURN);
    giveFocus(form_, box(Control::Text1));
    pressKey(VK_RETURN);
    typeText(L"5");
    EXPECT_TRUE(waitUntil([&] { return text(Control::Text1) == L"5"; }, kPatienceMs));
    EXPECT_EQ(text(Control::Text9), L"000001");
    // A message the Enter raised would be up before the key typed after it arrived.
    EXPECT_EQ(messageBox(0), nullptr);
    EXPECT_TRUE(answers(form_));
}

using StockUnderUnusualSystemColours = WithUnusualSystemColours<StockWindow>;

// Under the skin the program attaches, no surface of its window or of a popup it opens shows the
// system's own colours: the window, a tooltip, a box's context menu, the window menu and the
// message box.
TEST_F(StockUnderUnusualSystemColours, NoSurfaceShowsTheSystemsColours) {
    Surfaces shown;
    countSurface(shown, "window", form_, L"stock");
    countTooltip(shown, box(Control::Text9), box(Control::Label1), L"回车查询", L"stock");
    countMenus(shown, box(Control::Text1), L"stock");
    typeInto(Control::Text2, L"abc", L"abc");
    click(box(Control::cmd_clac));
    HWND error = messageBox();
    countSurface(shown, "message", error, L"stock");
    PostMessageW(error, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(error); }, kPatienceMs));
    for (const auto& [surface, pixels] : shown) EXPECT_EQ(pixels, 0u) << surface;
}

}  // namespace
