#include "stock/PositionCalculation.h"

#include <gtest/gtest.h>

#include "stock/StockDesign.h"
#include "tests/support/StockFakes.h"

namespace stock {
namespace {

// What a result box shows after the run: the new text, or kKept when its step failed.
constexpr const wchar_t* kKept = L"(keeps its text)";

std::wstring shown(const std::optional<std::wstring>& text) { return text.value_or(kKept); }

struct Example {
    const char* name;
    PositionInputs inputs;  // Text1, Text2, Text3, Text5, Text6
    const wchar_t* today;
    ui::Color todayColor;
    const wchar_t* average;
    const wchar_t* after;
    ui::Color afterColor;
    bool message;
};

const Example kExamples[] = {
    {"gain with purchase", {L"10.00", L"1000", L"12.50", L"11.00", L"500"}, L"2500.00", kRed, L"10.33", L"3255.00", kRed, false},
    {"loss with purchase", {L"20.00", L"300", L"15.00", L"15.00", L"200"}, L"-1500.00", kGreen, L"18.00", L"-1500.00", kGreen, false},
    {"design values", {L"0.0", L"100", L"0.0", L"0.00", L"0"}, L"0.00", kGreen, L"0.00", L"0.00", kGreen, false},
    {"tie is green", {L"8.88", L"2000", L"8.88", L"0.00", L"0"}, L"0.00", kGreen, L"8.88", L"0.00", kGreen, false},
    {"rounded average decides", {L"10", L"100", L"10.004", L"10.009", L"100"}, L"0.40", kRed, L"10.00", L"0.80", kRed, false},
    {"fractional holding", {L"10", L"100.5", L"11", L"0", L"0"}, L"100.00", kRed, L"10.00", L"100.50", kRed, false},
    {"holding above 32767", {L"10.00", L"50000", L"12.50", L"0.00", L"0"}, L"0.00", kRed, L"10.00", L"125000.00", kRed, true},
    {"nothing held or bought", {L"10.00", L"0", L"12.50", L"0.00", L"0"}, L"0.00", kRed, L"0.00", L"0.00", kRed, true},
    // Steps that fail leave their working value at 0 and the run goes on.
    {"empty today's price", {L"10.00", L"100", L"", L"0.00", L"0"}, L"-1000.00", kGreen, L"10.00", L"-1000.00", kGreen, true},
    {"two points in the cost", {L"12.3.4", L"100", L"5", L"0", L"0"}, L"500.00", kRed, L"0.00", L"500.00", kRed, true},
    {"letters in the holding", {L"10", L"abc", L"12", L"11", L"5"}, L"0.00", kRed, L"0.00", L"0.00", kRed, true},
    {"letters in the purchase price", {L"10", L"100", L"12", L"y", L"100"}, L"200.00", kRed, L"5.00", L"1400.00", kRed, true},
    {"letters in the purchase count", {L"10", L"100", L"12", L"11", L"x"}, L"200.00", kRed, L"0.00", L"0.00", kRed, true},
    {"today's price between the cost and the new average", {L"10", L"100", L"11", L"20", L"100"}, L"100.00", kRed, L"15.00", L"-800.00", kGreen, false},
    {"negative purchase is red by price", {L"10", L"100", L"12", L"10", L"-200"}, L"200.00", kRed, L"10.00", L"-200.00", kRed, false},
    {"holding at the 16-bit edge", {L"1", L"-32768.5", L"2", L"0", L"0"}, L"-32768.00", kRed, L"1.00", L"-32768.50", kRed, false},
    {"holding past the 16-bit edge", {L"1", L"32767.5", L"2", L"0", L"0"}, L"0.00", kRed, L"1.00", L"32767.50", kRed, true},
    // Results beyond the double range fail their own step only; the box keeps its text.
    {"only today's result overflows", {L"-1e308", L"1.5", L"-1.5", L"0", L"1e308"}, kKept, kRed, L"-1.50", L"0.00", kGreen, true},
    {"both results overflow", {L"-1e308", L"1", L"1e308", L"1e308", L"1"}, kKept, kRed, L"0.00", kKept, kRed, true},
};

// One after another: no step's working value outlives its run.
TEST(PositionCalculation, WorkedExamples) {
    testing::FakeNumbers numbers;
    for (const Example& example : kExamples) {
        SCOPED_TRACE(example.name);
        PositionResult result = calculatePosition(example.inputs, numbers);
        EXPECT_EQ(shown(result.todayResult), example.today);
        EXPECT_EQ(result.todayColor, example.todayColor);
        EXPECT_EQ(shown(result.averageCost), example.average);
        EXPECT_EQ(shown(result.afterResult), example.after);
        EXPECT_EQ(result.afterColor, example.afterColor);
        EXPECT_EQ(result.failed, example.message);
    }
}

}  // namespace
}  // namespace stock
