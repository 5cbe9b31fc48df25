#include "stock/Form1.h"

#include <gtest/gtest.h>

#include "stock/QuoteLookup.h"
#include "tests/support/Cp936.h"
#include "tests/support/StockFakes.h"

namespace stock {
namespace {

using namespace testing;

class StockForm1 : public ::testing::Test {
protected:
    FakeStockWindow window;
    RecordingSkinEngine skin;
    FakeInternet internet;
    support::StockCodePages codec;
    FakePictures pictures;
    FakeNumbers numbers;
    ServiceAddresses addresses{L"http://quote.test", L"http://chart.test", ""};
    StockPlatform platform{internet, codec, pictures, numbers, addresses};
    Form1 form{window, skin, platform};

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
    EXPECT_EQ(skin.calls, std::vector<std::string>{"SkinH_Attach()"});
    // Nothing is looked up or calculated: the window shows its design values.
    EXPECT_TRUE(window.events.empty());
    EXPECT_FALSE(window.timerEnabled);
    EXPECT_EQ(window.text(Control::Text4), L"0.0");
    EXPECT_EQ(window.text(Control::lb_info), L"今日最高：0.0");
}

TEST_F(StockForm1, EachBoxLetsThroughOnlyTheKeysItTakes) {
    const std::vector<int> some = {'1', '.', 8, 13, 'a'};
    const struct {
        std::vector<Control> boxes;
        std::vector<int> kept;
        std::vector<int> refused;
    } filters[] = {
        {{Control::Text1, Control::Text3, Control::Text5},  // prices: digits, the point and backspace
         {'0', '5', '9', '.', 8},
         {13, '-', '+', 'a', ' ', ',', '/', ':', 22, 127, 0xFF11 /* full-width 1 */, 0x4E2D /* 中 */, -1, -32768}},
        {{Control::Text9}, {'7', 8}, {'.', 13, 0xFF10}},  // the code: no point, no Enter
        {{Control::Text4, Control::Text8}, {}, some},      // results: nothing
        {{Control::Text2, Control::Text6}, some, {}},      // quantities: anything
    };
    for (const auto& filter : filters) {
        for (Control box : filter.boxes) {
            for (int code : filter.kept) EXPECT_EQ(typed(box, code), code) << indexOf(box) << " " << code;
            for (int code : filter.refused) EXPECT_EQ(typed(box, code), 0) << indexOf(box) << " " << code;
        }
    }
}

TEST_F(StockForm1, AFailedStepKeepsItsBoxTextButColoursItAndOnlyAFailureSpeaks) {
    const struct {
        const wchar_t* cost;
        const wchar_t* held;
        const wchar_t* price;
        const wchar_t* today;
        ui::Color colour;
        std::size_t messages;
    } cases[] = {
        {L"0.0", L"100", L"0.0", L"0.00", kGreen, 0},          // the design values
        {L"-1e308", L"1", L"1e308", L"earlier", kRed, 1},  // today's result beyond a double
    };
    for (const auto& c : cases) {
        window.messages.clear();
        window.texts[Control::Text4] = L"earlier";
        window.texts[Control::Text1] = c.cost;
        window.texts[Control::Text2] = c.held;
        window.texts[Control::Text3] = c.price;
        form.cmd_clac_Click();
        EXPECT_EQ(window.text(Control::Text4), c.today);
        EXPECT_EQ(window.colors[Control::Text4], c.colour);
        EXPECT_EQ(window.messages.size(), c.messages);
    }
}

// A share the fake service knows: 浦发银行 at 10.25, in GBK as the service sends it.
const std::string kGoodAnswer =
    "var hq_str_sh600000=\"\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0,10.20,10.18,10.25,10.30,10.15,10.24,10.25,1234,5678,"
    "2026-12-04,15:00:00,00\";\n";
const std::wstring kGoodSummary = L"浦发银行：今日开盘 10.20,昨日收盘 10.18,今日最高 10.30,今日最低 10.15";

class StockLookup : public StockForm1 {
protected:
    void SetUp() override {
        form.Form_Load();
        window.events.clear();
        answer(kGoodAnswer);
    }

    void answer(const std::string& body) {
        internet = FakeInternet();
        internet.chunks = {body};
    }
    std::vector<std::string> requestedAddresses() const {
        std::vector<std::string> addresses;
        for (const auto& call : internet.calls) {
            if (call.name == "InternetOpenUrlA") addresses.push_back(call.text);
        }
        return addresses;
    }
    // Delivers ticks as the timer would.
    void tick(int count) {
        for (int i = 0; i < count; ++i) form.Timer1_Timer();
    }
};

TEST_F(StockLookup, FillsAnswerPriceSummaryAndChartInThatOrder) {
    window.texts[Control::Text9] = L"600000";
    form.Click(Control::cmd_stockfind);

    EXPECT_EQ(requestedAddresses(), std::vector<std::string>{"http://quote.test/list=sh600000"});
    EXPECT_EQ(window.events, (std::vector<std::wstring>{L"text Text10", L"text Text3", L"text lb_info", L"picture img_stock"}));
    EXPECT_EQ(window.text(Control::Text10), std::wstring(L"var hq_str_sh600000=\"浦发银行,10.20,10.18,10.25,10.30,10.15,10.24,"
                                                         L"10.25,1234,5678,2026-12-04,15:00:00,00\";\n"));
    EXPECT_EQ(window.text(Control::Text3), L"10.25");
    EXPECT_EQ(window.text(Control::lb_info), kGoodSummary);
    EXPECT_EQ(pictures.pathRequests, std::vector<std::wstring>{L"http://chart.test/newchart/min/n/sh600000.gif"});
    ASSERT_NE(window.pictures[Control::img_stock], nullptr);
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(StockLookup, AShortCodeIsRefusedWithAWarningAndALongerOneUsedWhole) {
    window.texts[Control::Text9] = L"00001";
    window.focus = Control::Text1;
    form.cmd_stockfind_Click();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, L"请输入正确的股票代码!");
    EXPECT_EQ(window.messages[0].title, L"警告");
    EXPECT_EQ(window.messages[0].style, 64);
    EXPECT_EQ(window.focus, Control::Text9);
    EXPECT_TRUE(internet.calls.empty());
    EXPECT_EQ(window.events, std::vector<std::wstring>{L"message"});

    window.texts[Control::Text9] = L"0000012";  // a longer one is used whole
    form.cmd_stockfind_Click();
    EXPECT_EQ(requestedAddresses(), std::vector<std::string>{"http://quote.test/list=sz0000012"});
}

TEST_F(StockLookup, AnAnswerWithoutAQuoteLeavesThePriceAndClearsTheChartQuietly) {
    const std::string answers[] = {
        "",                                        // service down
        "<html><body>404 Not Found</body></html>",  // error page
    };
    for (const std::string& body : answers) {
        SCOPED_TRACE(body);
        window.texts[Control::Text3] = L"12.50";
        window.pictures[Control::img_stock] = std::make_shared<FakePicture>(L"old chart");
        pictures.pathRequests.clear();
        answer(body);
        window.texts[Control::Text9] = L"600000";
        form.cmd_stockfind_Click();
        EXPECT_EQ(window.text(Control::Text10), std::wstring(body.begin(), body.end()));
        EXPECT_EQ(window.text(Control::Text3), L"12.50");
        EXPECT_EQ(window.text(Control::lb_info), kNoQuoteNotice);
        EXPECT_EQ(window.pictures[Control::img_stock], nullptr);
        EXPECT_TRUE(pictures.pathRequests.empty());
        EXPECT_TRUE(window.messages.empty());
    }
}

TEST_F(StockLookup, AQuoteWhoseChartFailsToLoadFillsThePriceAndEmptiesTheChartQuietly) {
    window.pictures[Control::img_stock] = std::make_shared<FakePicture>(L"old chart");
    pictures.pathLoads = false;
    window.texts[Control::Text9] = L"600000";
    form.cmd_stockfind_Click();
    EXPECT_EQ(window.text(Control::Text3), L"10.25");
    EXPECT_EQ(window.text(Control::lb_info), kGoodSummary);
    EXPECT_EQ(window.pictures[Control::img_stock], nullptr);
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(StockLookup, OptionsSetThePeriodThenLookUpAndThePeriodStays) {
    window.texts[Control::Text9] = L"600000";
    const std::pair<Control, const char*> options[] = {
        {Control::Option3, "weekly"}, {Control::Option2, "daily"}, {Control::Option4, "monthly"}, {Control::Option1, "min"}};
    for (const auto& [option, period] : options) {
        pictures.pathRequests.clear();
        answer(kGoodAnswer);
        form.Click(option);
        ASSERT_EQ(pictures.pathRequests.size(), 1u);
        EXPECT_EQ(pictures.pathRequests[0], L"http://chart.test/newchart/" + std::wstring(period, period + strlen(period)) +
                                                L"/n/sh600000.gif");
    }
    // A refused code still leaves the new period set for the next lookup.
    window.texts[Control::Text9] = L"6000";
    form.Option3_Click();
    EXPECT_EQ(form.chartPeriod(), L"weekly");
}

TEST_F(StockLookup, PicturesComeFromTheOleLoaderAndFromTheFileLoaderOnlyWhenItIsUnavailable) {
    PictureRef picture = form.LoadPicture(L"http://chart.test/a.gif");
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(pictures.fileRequests.empty());

    pictures.pathLoads = false;  // the load itself failed: no fallback, no picture
    EXPECT_EQ(form.LoadPicture(L"http://chart.test/b.gif"), nullptr);
    EXPECT_TRUE(pictures.fileRequests.empty());

    pictures.outcome = PictureService::Outcome::Unavailable;
    EXPECT_EQ(form.LoadPicture(L"http://chart.test/c.gif"), nullptr);  // the file loader cannot open an address
    pictures.fileLoads = true;
    picture = form.LoadPicture(L"C:\\chart.gif");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(static_cast<FakePicture&>(*picture).source, L"file C:\\chart.gif");
}

TEST_F(StockLookup, ThirtyTicksCountDownAndLookUpOnce) {
    window.texts[Control::Text9] = L"600000";
    window.checked[Control::chk_autoref] = true;
    form.Click(Control::chk_autoref);
    EXPECT_TRUE(window.timerEnabled);
    EXPECT_TRUE(requestedAddresses().empty()) << "switching on does not look up";

    tick(1);
    EXPECT_EQ(window.text(Control::chk_autoref), L"更新倒计:29秒");
    tick(28);
    EXPECT_EQ(window.text(Control::chk_autoref), L"更新倒计:1秒");
    EXPECT_TRUE(requestedAddresses().empty());
    tick(1);
    EXPECT_EQ(window.text(Control::chk_autoref), L"立即更新");
    EXPECT_EQ(requestedAddresses().size(), 1u);
    tick(1);
    EXPECT_EQ(window.text(Control::chk_autoref), L"更新倒计:29秒");
    EXPECT_EQ(form.countdown(), 29);
}

TEST_F(StockLookup, SwitchingOffKeepsTheCaptionAndStartsOverAt30) {
    window.checked[Control::chk_autoref] = true;
    form.chk_autoref_Click();
    form.chk_autoref_Click();  // on again before any tick: nothing changes the caption
    EXPECT_EQ(window.text(Control::chk_autoref), L"自动更新:30秒");
    tick(18);
    window.checked[Control::chk_autoref] = false;
    form.chk_autoref_Click();
    EXPECT_FALSE(window.timerEnabled);
    EXPECT_EQ(window.text(Control::chk_autoref), L"更新倒计:12秒");
    EXPECT_EQ(form.countdown(), 30);
    window.checked[Control::chk_autoref] = true;
    form.chk_autoref_Click();
    tick(1);
    EXPECT_EQ(window.text(Control::chk_autoref), L"更新倒计:29秒");
}

TEST_F(StockLookup, ATickDoesNotStartALookupWhileOneWaitsInItsWarning) {
    window.texts[Control::Text9] = L"6000";  // too short: the lookup shows its warning
    window.checked[Control::chk_autoref] = true;
    form.chk_autoref_Click();
    tick(29);
    // While the warning of the 30th tick's lookup is open, the timer keeps ticking.
    int ticksWhileOpen = 0;
    window.whileMessageShows = [&] {
        if (ticksWhileOpen++ == 0) tick(31);
    };
    tick(1);
    EXPECT_EQ(window.messages.size(), 1u) << "no second box from a tick inside the first";
    EXPECT_EQ(form.countdown(), 29);
    window.whileMessageShows = nullptr;
    tick(29);
    EXPECT_EQ(window.messages.size(), 2u) << "once the box is closed, the countdown looks up again";
}

}  // namespace
}  // namespace stock
