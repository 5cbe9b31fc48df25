#include "stock/QuoteLookup.h"

#include <gtest/gtest.h>

namespace stock {
namespace {

TEST(QuoteLookup, MarketPrefixFollowsTheCodesBeginning) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"000001", L"sz"}, {L"300750", L"sz"}, {L"399001", L"sz"}, {L"200596", L"sz"}, {L"159915", L"sz"},
        {L"160105", L"sz"}, {L"184801", L"sz"}, {L"123001", L"sz"}, {L"600000", L"sh"}, {L"688981", L"sh"},
        {L"900901", L"sh"}, {L"010504", L"sh"}, {L"0", L"sh"},      {L"", L"sh"}};
    for (const auto& [code, prefix] : cases) EXPECT_EQ(marketPrefix(code), prefix) << code;
}

// The fields are cut at every comma, empty ones kept; prices stay the texts the service sent.
TEST(QuoteLookup, TheNameRunsFromTheFirstMarkUpToASecondOne) {
    struct Case {
        const wchar_t* answer;
        const wchar_t* summary;  // nullptr: no quote
        const wchar_t* price;
    } cases[] = {
        {L"var hq_str_sz000001=\"平安银行,10.20,9.9,10.250,10.30,0,x", L"平安银行：今日开盘 10.20,昨日收盘 9.9,今日最高 10.30,今日最低 0", L"10.250"},
        {L"a=\"N=\"x,1,2,3,4,5", L"N：今日开盘 1,昨日收盘 2,今日最高 4,今日最低 5", L"3"},
        {L"=\",,,,,", L"：今日开盘 ,昨日收盘 ,今日最高 ,今日最低 ", L""},
        {L"var hq_str_sz000001=\"\";", nullptr, nullptr},
        {L"name,1,2,3,4,5", nullptr, nullptr},
        {L"x=\"A,1,2,3,4", nullptr, nullptr},
        {L"x,=\"A,2,3,4,5", nullptr, nullptr},  // the mark must stand in field 0
    };
    for (const Case& c : cases) {
        std::optional<Quote> quote = quoteFromAnswer(c.answer);
        if (c.summary == nullptr) {
            EXPECT_FALSE(quote.has_value()) << c.answer;
            continue;
        }
        ASSERT_TRUE(quote.has_value()) << c.answer;
        EXPECT_EQ(quote->summary, c.summary);
        EXPECT_EQ(quote->price, c.price);
    }
}

}  // namespace
}  // namespace stock
