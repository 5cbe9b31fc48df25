// stock-local.exe against every way the stand-in service misbehaves: each lookup ends (an endless
// answer within the time a user is promised), the window answers again, Text10 holds what
// arrived, Text3 and lb_info follow the lookup's rules, the chart control is empty or shows a
// real chart, and a good lookup afterwards is right.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "stock/QuoteLookup.h"
#include "tests/e2e/WindowFixtures.h"

namespace {

using stock::Control;
using namespace e2e;

// What Text10 holds after the lookup.
enum class Arrives {
    Nothing,     // empty text
    Page,        // an HTML page holding `words`
    Line,        // the share's whole quote line
    FirstBytes,  // the first `bytes` bytes of the line
    UpToNul,     // exactly `words`: the line up to the NUL byte in it
    Capped,      // the line repeated up to the fetch's bound
};

struct Hostile {
    const char* name;
    const wchar_t* code;
    Arrives arrives;
    const wchar_t* words = nullptr;
    std::size_t bytes = 0;
    // The share's name and the whole part of its open price, when the lookup shows a quote; the
    // fault shares' other prices follow from it: previous close open - 0.10, price open + 0.05,
    // high open + 0.10, low open - 0.15.
    const wchar_t* shareName = nullptr;
    int open = 0;
    bool chart = false;  // a real chart is shown: the chart service answers well for a quote fault
    const wchar_t* screenshot = nullptr;  // the name of a screenshot of the window after the fault
};

// A lookup of an answer that never ends is over once the fetch has read its bound, 1 MiB (well
// under a second on a quiet machine, half a minute on two cores busy with builds): the user gets
// the window back long before the stand-in would end the answer itself, after 60 s.
constexpr DWORD kEndlessAnswerMs = 45000;

std::wstring price(int hundredths) {
    wchar_t text[32];
    swprintf(text, 32, L"%d.%02d", hundredths / 100, hundredths % 100);
    return text;
}

std::wstring summaryOf(const Hostile& h) {
    const int open = h.open * 100;
    return std::wstring(h.shareName) + L"：今日开盘 " + price(open) + L",昨日收盘 " + price(open - 10) + L",今日最高 " +
           price(open + 10) + L",今日最低 " + price(open - 15);
}

std::size_t gbkBytes(const std::wstring& text) {
    return static_cast<std::size_t>(
        WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr));
}

const wchar_t kLineEnd[] = L",2024-05-17,15:00:03,00\";\n";

class HostileAnswer : public StockLookupWindow, public ::testing::WithParamInterface<Hostile> {
protected:
    // Looks up and returns once the stand-in has seen the requests the lookup makes (the chart's
    // only after a quote, and only while the chart port listens) and the window has handled the
    // key and everything it set off; returns how long that took from the key press, in ms.
    DWORD lookUpAndWait(const std::wstring& code, bool quoteExpected, bool chartListens = true) {
        const std::string market = code.compare(0, 2, L"00") == 0 ? "sz" : "sh";
        const std::string symbol = market + std::string(code.begin(), code.end());
        const std::size_t quotes = countRequests(requests(), "/list=" + symbol);
        const std::size_t charts = countRequests(requests(), "/n/" + symbol + ".gif");
        typeInto(Control::Text9, code, code);
        const DWORD start = GetTickCount();
        pressKey(VK_RETURN);
        EXPECT_TRUE(waitUntil(
            [&] {
                const std::string log = requests();
                return countRequests(log, "/list=" + symbol) == quotes + 1 &&
                       countRequests(log, "/n/" + symbol + ".gif") == charts + (quoteExpected && chartListens ? 1 : 0);
            },
            kEndlessAnswerMs))
            << "the stand-in did not see the lookup's requests";
        EXPECT_TRUE(caughtUp(form_)) << "the window does not answer after the lookup";
        return GetTickCount() - start;
    }

    // What the screen shows of the chart control once it shows what `wanted` accepts, or when
    // the time is up: the picture reaches the screen a moment after the lookup's handling.
    std::vector<DWORD> chartOnceItShows(const std::function<bool(const std::vector<DWORD>&)>& wanted) {
        RECT rect;
        GetWindowRect(box(Control::img_stock), &rect);
        std::vector<DWORD> pixels;
        waitUntil([&] { return wanted(pixels = screenPixels(rect)); }, kPatienceMs);
        return pixels;
    }
    // A real chart (many colours where the empty control has one) other than the one shown before:
    // each share's chart names it.
    static bool isChart(const std::vector<DWORD>& pixels) {
        return std::set<DWORD>(pixels.begin(), pixels.end()).size() > 3;
    }
    static bool isEmpty(const std::vector<DWORD>& pixels) {
        return std::set<DWORD>(pixels.begin(), pixels.end()).size() == 1;
    }
    std::vector<DWORD> expectNewChart(const std::vector<DWORD>& before) {
        const std::vector<DWORD> now =
            chartOnceItShows([&](const std::vector<DWORD>& p) { return isChart(p) && p != before; });
        EXPECT_TRUE(isChart(now)) << "a chart is shown";
        EXPECT_NE(now, before) << "the chart of the share looked up";
        return now;
    }
    std::vector<DWORD> expectEmptyChart() {
        const std::vector<DWORD> now = chartOnceItShows(isEmpty);
        EXPECT_TRUE(isEmpty(now)) << "the chart control is empty";
        return now;
    }
};

const std::wstring kGoodSummary = L"浦发银行：今日开盘 10.20,昨日收盘 10.18,今日最高 10.30,今日最低 10.15";
const std::wstring kNextSummary = L"平安银行：今日开盘 10.52,昨日收盘 10.48,今日最高 10.66,今日最低 10.45";

TEST_P(HostileAnswer, EndsInTimeFollowsTheRulesAndTheNextLookupIsRight) {
    const Hostile& h = GetParam();
    const bool quote = h.shareName != nullptr;
    // A good lookup first, so that what the fault leaves alone can be seen.
    lookUpAndWait(L"600000", true);
    ASSERT_EQ(text(Control::lb_info), kGoodSummary);
    const std::vector<DWORD> goodChart = chartOnceItShows(isChart);

    const DWORD elapsed = lookUpAndWait(h.code, quote);
    if (h.arrives == Arrives::Capped) {
        EXPECT_LT(elapsed, kEndlessAnswerMs) << "the endless answer took too long";
    }
    DWORD exitCode = 0;
    ASSERT_FALSE(program_->waitForExit(0, exitCode)) << "the program ended, code " << exitCode;

    const std::wstring answer = text(Control::Text10);
    const std::wstring symbol = std::wstring(L"sh") + h.code;
    const std::wstring lineStart = L"var hq_str_" + symbol + L"=\"" + (h.shareName ? h.shareName : L"") + L",";
    switch (h.arrives) {
    case Arrives::Nothing: EXPECT_EQ(answer, L""); break;
    case Arrives::Page:
        EXPECT_TRUE(answer.starts_with(L"<!DOCTYPE html>")) << "an HTML page";
        EXPECT_NE(answer.find(h.words), std::wstring::npos);
        break;
    case Arrives::Line:
        EXPECT_TRUE(answer.starts_with(lineStart));
        EXPECT_TRUE(answer.ends_with(kLineEnd)) << "the whole line";
        break;
    case Arrives::FirstBytes:
        EXPECT_TRUE(answer.starts_with(lineStart));
        EXPECT_EQ(gbkBytes(answer), h.bytes) << "exactly the bytes that arrived";
        break;
    case Arrives::UpToNul: EXPECT_EQ(answer, h.words); break;
    case Arrives::Capped:
        EXPECT_TRUE(answer.starts_with(lineStart));
        EXPECT_LE(gbkBytes(answer), 1048576u) << "1 MiB at most";
        EXPECT_GT(gbkBytes(answer), 1048576u - 256) << "read up to the bound";
        break;
    }
    if (quote) {
        EXPECT_EQ(text(Control::lb_info), summaryOf(h));
        EXPECT_EQ(text(Control::Text3), price(h.open * 100 + 5));
    } else {
        EXPECT_EQ(text(Control::lb_info), stock::kNoQuoteNotice);
        EXPECT_EQ(text(Control::Text3), L"10.25") << "today's price stays";
    }
    const std::vector<DWORD> faultChart = h.chart ? expectNewChart(goodChart) : expectEmptyChart();
    EXPECT_EQ(messageBox(0), nullptr) << "no message";
    if (h.screenshot) saveScreenshot(form_, screenshotDirectory() + L"\\stock-hostile-" + h.screenshot + L".png");

    lookUpAndWait(L"000001", true);
    EXPECT_EQ(text(Control::lb_info), kNextSummary);
    EXPECT_EQ(text(Control::Text3), L"10.61");
    EXPECT_TRUE(text(Control::Text10).starts_with(L"var hq_str_sz000001=\"平安银行,10.52,"));
    expectNewChart(faultChart);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFault, HostileAnswer,
    ::testing::Values(
        Hostile{"ErrorPage404", L"999001", Arrives::Page, L"404 Not Found", 0, nullptr, 0, false, L"error-page"},
        Hostile{"ErrorPage500", L"999002", Arrives::Page, L"500 Internal Server Error"},
        Hostile{"EmptyBody", L"999003", Arrives::Nothing},
        Hostile{"ClosedWithoutReply", L"999004", Arrives::Nothing},
        Hostile{"EndlessBody", L"999005", Arrives::Capped, nullptr, 0, L"无尽回答", 11, true},
        Hostile{"ClosedMidBody", L"999006", Arrives::FirstBytes, nullptr, 121, L"中途断开", 12, true},
        Hostile{"ResetMidBody", L"999007", Arrives::FirstBytes, nullptr, 122, L"中途重置", 13, true},
        Hostile{"NulInside", L"999008", Arrives::UpToNul,
                L"var hq_str_sh999008=\"含空字节,14.00,13.90,14.05,14.10,13.85", 0, L"含空字节", 14, true},
        Hostile{"NulFirst", L"999009", Arrives::Nothing},
        Hostile{"Exactly256Bytes", L"999010", Arrives::Line, nullptr, 0, L"整二五六", 16, true},
        Hostile{"ContentLengthShorter", L"999011", Arrives::Line, nullptr, 0, L"长度偏短", 17, true},
        Hostile{"ContentLengthLonger", L"999012", Arrives::Line, nullptr, 0, L"长度偏长", 18, true},
        Hostile{"LoneLeadByteBeforeComma", L"999013", Arrives::Line, nullptr, 0, L"孤立前导?", 19, true,
                L"lone-lead-byte"},
        Hostile{"SlowAnswer", L"999014", Arrives::Line, nullptr, 0, L"慢速回答", 20, true},
        Hostile{"StallMidBody", L"999015", Arrives::Line, nullptr, 0, L"中途停顿", 21, true},
        Hostile{"BodyWithoutHeaders", L"999016", Arrives::Nothing},
        Hostile{"BrokenChunking", L"999017", Arrives::Nothing},
        Hostile{"NameInUtf8", L"999018", Arrives::Line, nullptr, 0, L"万国码", 24, true, L"utf8-name"},
        Hostile{"ChartIsHtml", L"999101", Arrives::Line, nullptr, 0, L"图为网页", 31, false, L"html-chart"},
        Hostile{"ChartNotFound", L"999102", Arrives::Line, nullptr, 0, L"图四零四", 32},
        Hostile{"TruncatedGif", L"999103", Arrives::Line, nullptr, 0, L"图被截断", 33},
        Hostile{"LargeBogusChart", L"999104", Arrives::Line, nullptr, 0, L"图为乱码", 34},
        Hostile{"SlowChart", L"999105", Arrives::Line, nullptr, 0, L"图慢速", 35, true},
        Hostile{"EmptyChart", L"999106", Arrives::Line, nullptr, 0, L"图为空", 36},
        Hostile{"ChartClosedWithoutReply", L"999107", Arrives::Line, nullptr, 0, L"图无回应", 37}),
    [](const ::testing::TestParamInfo<Hostile>& info) { return std::string(info.param.name); });

// Run by ctest after the stand-in has stopped: both ports refuse.
TEST_F(StockWindow, ServiceDownALookupShowsTheNoticeAndTheWindowAnswers) {
    typeInto(Control::Text9, L"600000", L"600000");
    pressKey(VK_RETURN);
    ASSERT_TRUE(waitUntil([&] { return text(Control::lb_info) == stock::kNoQuoteNotice; }, kPatienceMs));
    EXPECT_TRUE(caughtUp(form_));
    EXPECT_EQ(text(Control::Text10), L"");
    EXPECT_EQ(text(Control::Text3), L"0.0") << "today's price stays";
    EXPECT_EQ(distinctColoursOnScreen(box(Control::img_stock)), 1u) << "no chart was ever shown";
    EXPECT_EQ(messageBox(0), nullptr);
}

// Run by ctest with only the quote service up: the chart port refuses.
TEST_F(HostileAnswer, ChartPortRefusedTheQuoteShowsWithoutAChartAndTheNextLookupIsRight) {
    lookUpAndWait(L"600000", true, false);
    EXPECT_EQ(text(Control::lb_info), kGoodSummary);
    EXPECT_EQ(text(Control::Text3), L"10.25");
    expectEmptyChart();
    EXPECT_EQ(messageBox(0), nullptr);
    lookUpAndWait(L"000001", true, false);
    EXPECT_EQ(text(Control::lb_info), kNextSummary);
    EXPECT_EQ(text(Control::Text3), L"10.61");
    expectEmptyChart();
}

}  // namespace
