// What the position calculation relies on from the platform's number conversions, through the
// adapter the program uses, in the Simplified-Chinese locale. Wine 8 misreads and miswrites
// numbers when the user's decimal separator is changed (sDecimal ","), which Windows honours, so
// another separator cannot be tested here.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "stock/win32/PlatformServices.h"

namespace {

TEST(NumberConversionsWine, AsTheCalculationUsesThem) {
    ASSERT_EQ(GetACP(), 936u);
    ASSERT_EQ(GetUserDefaultLCID(), 0x0804u);
    ui::win32::LazyLibrary oleaut32{L"oleaut32.dll"};
    stock::win32::OleNumberConversions numbers{oleaut32};

    const struct {
        std::wstring text;
        std::optional<double> number;
    } texts[] = {
        {L"1,234.5", 1234.5}, {L"1e3", 1000.0}, {L"(5)", -5.0}, {L"5-", -5.0}, {L"\u00A55", 5.0},
        {L" 12.50 ", 12.5}, {L"", std::nullopt}, {L"12.3.4", std::nullopt}, {L"abc", std::nullopt},
        // Full-width digits, point, signs and comma, as Chinese input methods type them.
        {L"\uFF0D\uFF11\uFF0C\uFF12\uFF13\uFF14\uFF0E\uFF15", -1234.5}, {L"\uFF0B\uFF17", 7.0},
        // Too large for a double: Wine answers infinity for the long run of digits.
        {L"1e309", std::nullopt}, {std::wstring(400, L'9'), std::nullopt},
    };
    for (const auto& c : texts) EXPECT_EQ(numbers.number(c.text), c.number) << c.text;

    // Rounded half to even, within 16 bits.
    const struct {
        const wchar_t* text;
        std::optional<std::int16_t> whole;
    } wholes[] = {
        {L"2.5", 2},        {L"3.5", 4},           {L"-2.5", -2},    {L"100.5", 100},
        {L"32767", 32767},  {L"32767.5", std::nullopt}, {L"-32768", -32768}, {L"-32768.5", -32768},
        {L"-32769", std::nullopt}, {L"", std::nullopt},
    };
    for (const auto& c : wholes) EXPECT_EQ(numbers.whole(c.text), c.whole) << c.text;

    const std::wstring e300(300, L'0');
    const struct {
        double value;
        std::wstring text;
    } values[] = {
        {2500, L"2500.00"}, {-1500, L"-1500.00"}, {0.4, L"0.40"}, {0, L"0.00"},
        // 2.675 and 1.005 are stored a hair below the half; the platform still rounds them up.
        {2.675, L"2.68"}, {1.005, L"1.01"}, {-0.005, L"-0.01"},
        {-0.001, L"0.00"}, {-0.0, L"0.00"},
        // From 1e15 up we write: 15 significant digits, a half at the 16th rounded up.
        {999999999999999.5, L"1000000000000000.00"}, {1e15, L"1000000000000000.00"},
        {1000000000000005.0, L"1000000000000010.00"}, {12345678901234567890.0, L"12345678901234600000.00"},
        {1e300, L"1" + e300 + L".00"}, {-1e300, L"-1" + e300 + L".00"},
    };
    for (const auto& c : values) EXPECT_EQ(numbers.text(c.value), c.text) << c.value;
}

}  // namespace
