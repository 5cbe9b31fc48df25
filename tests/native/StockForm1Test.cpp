#include "stock/Form1.h"

#include <gtest/gtest.h>

#include "tests/native/FakeStockWindow.h"

namespace stock {
namespace {

using testing::FakeStockWindow;
using testing::RecordingSkinEngine;

class StockForm1 : public ::testing::Test {
protected:
    FakeStockWindow window;
    RecordingSkinEngine skin;
    Form1 form{window, skin};

    std::int16_t typed(Control box, int code) {
        auto value = static_cast<std::int16_t>(code);
        form.KeyPress(box, value);
        return value;
    }
};

TEST_F(StockForm1, StartUpSetsThePeriodAndCounterThenAttachesTheSkin) {
    form.Form_Load();
    EXPECT_EQ(form.chartPeriod(), L"min");
    EXPECT_EQ(form.countdown(), 30);
    EXPECT_EQ(skin.calls, std::vector<std::string>{"SkinH_Attach"});
    // Nothing is looked up or calculated: the window shows its design values.
    EXPECT_TRUE(window.events.empty());
    EXPECT_FALSE(window.timerEnabled);
    EXPECT_EQ(window.text(Control::Text4), L"0.0");
    EXPECT_EQ(window.text(Control::lb_info), L"今日最高：0.0");
}

TEST_F(StockForm1, PriceBoxesLetThroughDigitsPointAndBackspaceOnly) {
    struct Case {
        int code;
        bool kept;
    } cases[] = {{'0', true}, {'5', true}, {'9', true}, {'.', true}, {8, true},   {13, false}, {'-', false},
                 {'+', false}, {'a', false}, {' ', false}, {',', false}, {'/', false}, {':', false}, {22, false},
                 {127, false}, {0xFF11, false} /* full-width 1 */, {0x4E2D, false} /* 中 */, {-1, false},
                 {-32768, false}};
    for (Control box : {Control::Text1, Control::Text3, Control::Text5}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << "box " << indexOf(box) << " code " << c.code);
            std::int16_t after = typed(box, c.code);
            EXPECT_EQ(after, c.kept ? static_cast<std::int16_t>(c.code) : 0);
        }
    }
}

TEST_F(StockForm1, CodeBoxRefusesThePointAndEnter) {
    EXPECT_EQ(typed(Control::Text9, '7'), '7');
    EXPECT_EQ(typed(Control::Text9, 8), 8);
    EXPECT_EQ(typed(Control::Text9, '.'), 0);
    EXPECT_EQ(typed(Control::Text9, 13), 0);
    EXPECT_EQ(typed(Control::Text9, 0xFF10), 0);
}

TEST_F(StockForm1, ResultBoxesRefuseEverythingAndQuantityBoxesNothing) {
    for (int code : {int{'1'}, int{'.'}, 8, 13, int{'a'}}) {
        EXPECT_EQ(typed(Control::Text4, code), 0);
        EXPECT_EQ(typed(Control::Text8, code), 0);
        EXPECT_EQ(typed(Control::Text2, code), code);
        EXPECT_EQ(typed(Control::Text6, code), code);
    }
}

TEST_F(StockForm1, DoubleClickCopiesTodaysPriceAsItStands) {
    for (const wchar_t* price : {L"12.50", L"", L"abc"}) {
        window.texts[Control::Text3] = price;
        form.DblClick(Control::Text5);
        EXPECT_EQ(window.text(Control::Text5), price);
    }
    form.DblClick(Control::Text3);  // no handler: nothing happens
    EXPECT_EQ(window.text(Control::Text3), L"abc");
}

TEST_F(StockForm1, EnterInTheCodeBoxLooksUpAndLeavesTheKeyCode) {
    std::int16_t key = 13;
    form.KeyDown(Control::Text9, key, 0);
    EXPECT_EQ(key, 13);
    std::int16_t other = 'A';
    form.KeyDown(Control::Text9, other, 1);
    EXPECT_EQ(other, 'A');
}

TEST_F(StockForm1, CalculateWritesLabelColourTextThenBoxColourAndReportsLast) {
    window.texts[Control::Text1] = L"10.00";
    window.texts[Control::Text2] = L"50000";
    window.texts[Control::Text3] = L"12.50";
    form.Click(Control::cmd_clac);

    EXPECT_EQ(window.events, (std::vector<std::wstring>{L"color Label4", L"text Text4", L"color Text4", L"text Text7",
                                                         L"color Label8", L"text Text8", L"color Text8", L"message"}));
    EXPECT_EQ(window.text(Control::Text4), L"0.00");
    EXPECT_EQ(window.text(Control::Text7), L"10.00");
    EXPECT_EQ(window.text(Control::Text8), L"125000.00");
    for (Control c : {Control::Label4, Control::Text4, Control::Label8, Control::Text8}) EXPECT_EQ(window.colors[c], kRed);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, L"对不起，请检查您输入的是否合法？");
    EXPECT_EQ(window.messages[0].title, L"错误");
    EXPECT_EQ(window.messages[0].style, 16);
}

TEST_F(StockForm1, AFailedResultStepKeepsTheBoxTextButStillColoursIt) {
    window.texts[Control::Text4] = L"earlier";
    window.texts[Control::Text1] = L"-1e308";
    window.texts[Control::Text2] = L"1";
    window.texts[Control::Text3] = L"1e308";
    form.cmd_clac_Click();
    EXPECT_EQ(window.text(Control::Text4), L"earlier");
    EXPECT_EQ(window.colors[Control::Text4], kRed);
    EXPECT_EQ(window.messages.size(), 1u);
}

TEST_F(StockForm1, DesignValuesCalculateSilentlyInGreen) {
    form.cmd_clac_Click();
    EXPECT_EQ(window.text(Control::Text4), L"0.00");
    EXPECT_EQ(window.text(Control::Text7), L"0.00");
    EXPECT_EQ(window.text(Control::Text8), L"0.00");
    EXPECT_EQ(window.colors[Control::Label8], kGreen);
    EXPECT_TRUE(window.messages.empty());
}

}  // namespace
}  // namespace stock
