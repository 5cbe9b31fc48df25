// The three conversions on their edges. Expected values are what OLE Automation answers in the
// Simplified-Chinese locale (observed under Wine), except where a comment says we chose
// otherwise; doubles are compared bit for bit.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "stock/Conversions.h"

namespace {

using quorvane::number;
using quorvane::text;
using quorvane::whole;
using quorvane::wholeFromDouble;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double fromBits(std::uint64_t b) {
    double d;
    std::memcpy(&d, &b, sizeof d);
    return d;
}

// "none", or the double with its bits, so that 0.0 and -0.0 differ.
std::string describe(std::optional<double> d) {
    if (!d) return "none";
    std::uint64_t b;
    std::memcpy(&b, &*d, sizeof b);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g [%016llx]", *d, static_cast<unsigned long long>(b));
    return buf;
}

std::string describe(double d) { return describe(std::optional<double>(d)); }

std::string describeWhole(std::optional<std::int16_t> v) { return v ? std::to_string(*v) : "none"; }

std::string show(std::wstring_view t) {
    std::string s = "\"";
    for (wchar_t c : t) {
        const auto u = static_cast<unsigned>(c);
        if (u >= 0x20 && u < 0x7F) {
            s += static_cast<char>(u);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", u);
            s += buf;
        }
    }
    return s + "\"";
}

std::string narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

struct NumberCase {
    std::wstring text;
    std::optional<double> expected;
};

void expectNumbers(const NumberCase* cases, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        EXPECT_EQ(describe(number(cases[i].text)), describe(cases[i].expected)) << "number(" << show(cases[i].text) << ")";
}

template <std::size_t N>
void expectNumbers(const NumberCase (&cases)[N]) {
    expectNumbers(cases, N);
}

const std::nullopt_t none = std::nullopt;

// ---------------------------------------------------------------------------------------------
// number()

TEST(Number, Signs) {
    const NumberCase cases[] = {
        {L"1", 1.0},     {L"-1", -1.0},   {L"+1", 1.0},   {L"+-1", -1.0}, {L"-+1", -1.0},
        {L"--1", none},  {L"++1", none},  {L"1-", -1.0},  {L"1+", 1.0},   {L"1++", 1.0},
        {L"1--", -1.0},  {L"-1-", none},  {L"+1+", none}, {L"-1+", -1.0}, {L"+1-", -1.0},
        {L"- -1", none}, {L"-0", -0.0},   {L"0-", -0.0},  {L"+0", 0.0},   {L"1-)", none},
    };
    expectNumbers(cases);
}

TEST(Number, Parentheses) {
    const NumberCase cases[] = {
        {L"(1)", -1.0},    {L"(1", none},      {L"1)", none},    {L"(1))", -1.0},
        {L"((1))", none},  {L"(-1)", -1.0},    {L"-(1)", -1.0},  {L"(1)-", -1.0},
        {L"(+1)", -1.0},   {L"-(-1)", none},   {L"(1)(", none},  {L")1(", none},
        {L"(0)", -0.0},    {L"( 2.5 )", -2.5},
        // Any minus sign counts as closing the parenthesis.
        {L"(-1", -1.0},    {L"(1-", -1.0},
    };
    expectNumbers(cases);
}

TEST(Number, Blanks) {
    const NumberCase cases[] = {
        {L" 1 ", 1.0},                 {L"\t1\t", 1.0},             {L"\r\n1\r\n", 1.0},
        {L"\u30001\u3000", 1.0},       {L"\u00A0\u00A01", 1.0},     {L"\u20031\u2028", 1.0},
        {L"\u00851\u205F", 1.0},       {L"\u000B1\u000C", 1.0},     {L"- 1", -1.0},
        {L"1 -", -1.0},                {L"( 1 )", -1.0},            {L"\u180E1", none},
        {L"\uFEFF1", none},            {L"\u200B1", none},          {L"1 000", none},
        {L"1 .5", none},               {L". 5", none},              {L"", none},
        {L" ", none},                  {L"\u3000", none},           {L"\t \u00A0", none},
    };
    expectNumbers(cases);
}

TEST(Number, Points) {
    const NumberCase cases[] = {
        {L".5", 0.5},      {L"0.", 0.0},       {L".0", 0.0},     {L"-.5", -0.5},
        {L".", none},      {L"12.3.4", none},  {L"1..2", none},  {L"1.", 1.0},
        {L"0.000", 0.0},   {L"-0.0", -0.0},    {L"007.50", 7.5}, {L"1.5.", none},
    };
    expectNumbers(cases);
}

TEST(Number, Grouping) {
    const NumberCase cases[] = {
        {L"1,000", 1000.0},        {L"1,,000", 1000.0},       {L"12,34,5", 12345.0},
        {L",1", none},             {L"-,1", none},            {L"1,", 1.0},
        {L"1, ", 1.0},             {L"1 ,", 1.0},             {L"1.2,3", 1.23},
        {L"1,.5", 1.5},            {L"1.,5", 1.5},            {L"0,0", 0.0},
        {L"2,500.00", 2500.0},     {L"-1,500", -1500.0},      {L"1\u00A0000", none},
        // A comma after the exponent ends it; the digits after go to the mantissa.
        {L"1e5,5", 1500000.0},     {L"1e,5", 100000.0},
    };
    expectNumbers(cases);
}

TEST(Number, Exponents) {
    const NumberCase cases[] = {
        {L"1e5", 1e5},          {L"1E5", 1e5},        {L"1e+5", 1e5},        {L"1e-5", 1e-5},
        {L"2.5e3", 2500.0},     {L"1.e5", 1e5},       {L"0.e5", 0.0},        {L".e5", none},
        {L"1e", none},          {L"1e+", none},       {L"1e-", none},        {L"e5", none},
        {L"1e5e5", none},       {L"1.5e5.5", none},   {L"1 e5", none},       {L"1e 5", none},
        {L"1e+ 5", none},       {L"1e5-", -1e5},      {L"1e5+", 1e5},        {L"1e--5", 1e-5},
        {L"1e-+-5", 1e-5},      {L"-1e-5-", none},    {L"1e-5-", -1e-5},     {L"0e999999", 0.0},
        {L"1e0000000000000000000005", 1e5},
        // The exponent is a wrapping 32-bit number on the platform.
        {L"1e4294967297", 10.0},
    };
    expectNumbers(cases);
}

TEST(Number, CurrencySign) {
    const NumberCase cases[] = {
        {L"\u00A51", 1.0},         {L"1\u00A5", 1.0},         {L"\u00A5\u00A51", none},
        {L"1\u00A5\u00A5", 1.0},   {L"-\u00A51", -1.0},       {L"\u00A5-1", -1.0},
        {L"\u00A5 1", 1.0},        {L"1 \u00A5", 1.0},        {L"(\u00A51)", -1.0},
        {L"\u00A5.5", 0.5},        {L".\u00A55", none},       {L"\u00A51,234.5", 1234.5},
        {L"1e5\u00A5", 1e5},       {L"\u00A51e5", none},      {L"1\u00A5e5", none},
        {L"\uFFE51", none},        {L"$1", none},             {L"1\u5143", none},
    };
    expectNumbers(cases);
}

TEST(Number, HexAndOctal) {
    const NumberCase cases[] = {
        {L"&H10", 16.0},                      {L"&h10", 16.0},          {L"&HfF", 255.0},
        {L"&O17", 15.0},                      {L"&o17", 15.0},          {L"&O18", none},
        {L"&O8", none},                       {L"&H", none},            {L"&O", none},
        {L"&H0", 0.0},                        {L"&H1e5", 485.0},        {L"&H1g", none},
        {L"&H 1", none},                      {L"&H1 ", 1.0},           {L" &H10", 16.0},
        {L"&H1,0", none},                     {L"&H1.0", none},         {L"&H-10", none},
        {L"&X10", none},                      {L"&", none},             {L"\u00A5&H10", none},
        {L"&H10\u00A5", none},                {L"(&H1", none},          {L"&H1)", none},
        {L"&H7FFFFFFF", 2147483647.0},        {L"&HFFFFFFFF", none},    {L"&H100000000", none},
        {L"&H" L"0000000000000000000000001", 1.0},
        // A sign before or after does not apply, and the 32-bit value 2^31 reads as -2^31.
        {L"-&H10", 16.0},                     {L"(&H10)", 16.0},        {L"&H1-", 1.0},
        {L"&H80000000", -2147483648.0},
        // Values past 2^63 read as their 64-bit two's complement, others that big overflow.
        {L"&HFFFFFFFFFFFFFFF0", 16.0},        {L"&H8000000000000001", 9223372036854775808.0},
        {L"&H8000000000000000", none},        {L"&HFFFFFFFFFFFFFFFF", none},
        {L"&O1777777777777777777770", 8.0},   {L"&O1777777777777777777777", none},
    };
    expectNumbers(cases);
}

TEST(Number, HalvesAtEveryDecimalPlace) {
    const NumberCase cases[] = {
        {L"0.5", 0.5},                  {L"0.05", 0.05},                   {L"0.005", 0.005},
        {L"0.0005", 0.0005},            {L"0.00005", 0.00005},             {L"0.000005", 0.000005},
        {L"2.5", 2.5},                  {L"2.25", 2.25},                   {L"2.125", 2.125},
        {L"1.005", fromBits(0x3FF0147AE147AE14)},   {L"2.675", fromBits(0x4005666666666666)},
        {L"10.004", 10.004},            {L"-32768.5", -32768.5},           {L"32767.5", 32767.5},
        {L"32767.4999", 32767.4999},    {L"-0.5", -0.5},
    };
    expectNumbers(cases);
}

// The platform scales the digits in extended precision and rounds to a double only at the
// end, so some texts come out one unit away from the nearest double.
TEST(Number, PlatformRounding) {
    const NumberCase cases[] = {
        {L"594.4310969", fromBits(0x40829372E2EE7742)},         // nearest: ...741
        {L"9745.612752", fromBits(0x40C308CE6EA85448)},         // nearest: ...447
        {L"387.6772294445", fromBits(0x40783AD5EE8AC040)},      // nearest: ...041
        {L"926.11289899014497", fromBits(0x408CF0E73795F364)},  // nearest: ...365
        {L"743813969292877693012", fromBits(0x4444293F081699A4)},
        {L"665294226805221556243", fromBits(0x44420867F33321B2)},
        {L"12345678901234567890123e-10", fromBits(0x4271F71FB04CB74F)},
        {L"9007199254740993", 9007199254740992.0},
        {L"9007199254740995", 9007199254740996.0},
        {L"18446744073709551617", 18446744073709551616.0},
        {L"0.1", 0.1},
        {L"123456789012345678901234567890", fromBits(0x45F8EE90FF6C373E)},
    };
    expectNumbers(cases);
}

TEST(Number, HugeAndTiny) {
    const NumberCase cases[] = {
        {L"1e308", 1e308},
        {L"1e309", none},
        {L"-1e309", none},
        {L"1.797693134862314e308", 1.797693134862314e308},
        // The platform's largest double is a few units below DBL_MAX.
        {L"1.797693134862315e308", none},
        {L"1.7976931348623157e308", none},
        {L"1e-308", fromBits(0x000730D67819E8D2)},
        {L"1e-320", fromBits(0x00000000000007E8)},
        {L"1e-323", fromBits(0x0000000000000002)},
        {L"5e-324", fromBits(0x0000000000000001)},
        {L"-5e-324", fromBits(0x8000000000000001)},
        // Below the smallest double, stepwise: 4.9e-324 is zero, not the smallest subnormal.
        {L"4.9e-324", 0.0},
        {L"1e-324", 0.0},
        {L"-1e-400", -0.0},
        {L"1e-2147483647", 0.0},
        {L"0e2147483647", 0.0},
        {L"1e2147483647", none},
        {L"1e-2147483648", 0.0},  // the platform reads outside its tables here
    };
    expectNumbers(cases);
}

TEST(Number, LongDigitRuns) {
    const std::wstring ones400(400, L'1');
    const NumberCase cases[] = {
        // The platform answers infinity for these two; no number is our choice.
        {ones400, none},
        {L"1" + std::wstring(1022, L'0') + L"1", none},
        {ones400 + L"e-100", fromBits(0x7E053CA79555BDE0)},
        {std::wstring(308, L'1'), fromBits(0x7FAFA53F26F8811C)},
        {std::wstring(1024, L'1') + L"00000", none},
        {L"0." + std::wstring(400, L'0') + ones400, 0.0},
        {L"0." + std::wstring(1100, L'1'), fromBits(0x2FF495D39E9E2F2E)},
        {std::wstring(330, L'1') + L"e-340", fromBits(0x3DA86EFFDE151A6D)},
        {std::wstring(310, L'1') + L"e-5", fromBits(0x7F1033D69B1EFA6D)},
        {L"1" + std::wstring(2000, L'0') + L"e-1990", 1e10},
        {L"1" + std::wstring(2000, L'0') + L"e-2000", 1.0},
        {std::wstring(2000, L'0') + L"1", 1.0},
        {L"&H" + std::wstring(2000, L'0') + L"1", 1.0},
    };
    expectNumbers(cases);
}

// Chinese input methods type full-width forms; Windows in a Chinese locale reads them as the
// narrow ones (the platform under test here does not: our choice follows Windows).
TEST(Number, FullWidthForms) {
    const NumberCase cases[] = {
        {L"\uFF11\uFF12\uFF13", 123.0},
        {L"\uFF0D\uFF11\uFF0C\uFF12\uFF13\uFF14\uFF0E\uFF15", -1234.5},
        {L"\uFF0B\uFF17", 7.0},
        {L"\uFF17\uFF0D", -7.0},
        {L"\uFF0E\uFF15", 0.5},
        {L"\uFF11e\uFF0D\uFF13", 1e-3},
        {L"&H\uFF11\uFF10", 16.0},
        {L"\u00A5\uFF11\uFF10\uFF0E\uFF10\uFF10\uFF14", 10.004},
        {L"\u3000\uFF12\uFF15\uFF10\uFF10\u3000", 2500.0},
        {L"\uFF11\uFF0E\uFF0E\uFF12", none},
        {L"\uFF0C\uFF11", none},
        {L"\uFF0D\uFF0D\uFF11", none},
        {L"\uFF21", none},          // full-width letters stay letters
        {L"\uFFE5\uFF11", none},    // so does the full-width yuan sign
        {L"\uFF11\uFF45\uFF15", none},
    };
    expectNumbers(cases);
}

TEST(Number, TextEndsAtNul) {
    // Like a C string handed to the platform.
    EXPECT_EQ(describe(number(std::wstring_view(L"1\0" L"1", 3))), describe(1.0));
    EXPECT_EQ(describe(number(std::wstring_view(L"1\0x", 3))), describe(1.0));
    EXPECT_EQ(describe(number(std::wstring_view(L"\0" L"1", 2))), "none");
}

TEST(Number, Garbage) {
    const NumberCase cases[] = {
        {L"abc", none}, {L"1x", none},  {L"x1", none},  {L"1e5(", none}, {L"0x10", none},
        {L"1/2", none}, {L"1%", none},  {L"\u4E00", none}, {L"NaN", none}, {L"INF", none},
        {L"1\u00B7" L"5", none},  // a middle dot is no decimal point
    };
    expectNumbers(cases);
}

// Texts of a million characters end quickly, whatever they hold.
TEST(Number, MillionCharacterTexts) {
    const std::size_t n = 1000000;
    const std::wstring blanks(n, L' '), zeros(n, L'0'), commas(n, L','), nines(n, L'9');
    const NumberCase cases[] = {
        {nines, none},
        {zeros, 0.0},
        {blanks, none},
        {blanks + L"5" + blanks, 5.0},
        {commas, none},
        {L"7" + commas, 7.0},
        {L"-" + zeros + L"1", -1.0},
        {L"0." + zeros + L"1", 0.0},
        {L"1e" + zeros + L"5", 1e5},
        {L"1" + zeros + L"e-1000000", 1.0},
        {nines + L"e-1000000", 1.0},
        {L"&H" + zeros + L"F", 15.0},
        {L"&H" + nines, none},
        {std::wstring(n, L'\u3000') + L"\uFF18", 8.0},
        {L"(" + blanks + L"1" + blanks + L")", -1.0},
        {zeros + L"x", none},
    };
    for (const auto& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(describe(number(c.text)), describe(c.expected)) << "number(" << show(c.text.substr(0, 12)) << "...)";
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
    EXPECT_EQ(describeWhole(whole(nines)), "none");
    EXPECT_EQ(describeWhole(whole(blanks + L"5" + blanks)), "5");
}

// ---------------------------------------------------------------------------------------------
// wholeFromDouble() and whole()

TEST(WholeFromDouble, BoundsAndHalves) {
    const struct {
        double value;
        std::optional<std::int16_t> expected;
    } cases[] = {
        {-32768.5, -32768},
        {std::nextafter(-32768.5, -kInf), std::nullopt},
        {std::nextafter(-32768.5, kInf), -32768},
        {-32769.0, std::nullopt},
        {-32767.5, -32768},
        {32767.4999, 32767},
        {std::nextafter(32767.5, 0.0), 32767},
        {32767.5, std::nullopt},
        {32768.0, std::nullopt},
        {32766.5, 32766},
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {12345.5, 12346},
        {12346.5, 12346},
        {0.49999999999999994, 0},
        {2.5000000000000004, 3},
        {-2.4999999999999996, -2},
        {0.0, 0},
        {-0.0, 0},
        {1e300, std::nullopt},
        {-1e300, std::nullopt},
        {kInf, std::nullopt},
        {-kInf, std::nullopt},
        {kNaN, std::nullopt},  // the platform answers 32767; we refuse
        {std::numeric_limits<double>::denorm_min(), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describeWhole(wholeFromDouble(c.value)), describeWhole(c.expected)) << "wholeFromDouble(" << describe(c.value) << ")";
}

TEST(Whole, FromText) {
    const struct {
        const wchar_t* text;
        std::optional<std::int16_t> expected;
    } cases[] = {
        {L"100", 100},        {L"32767", 32767},     {L"32767.4999", 32767}, {L"32767.5", std::nullopt},
        {L"-32768.5", -32768}, {L"-32769", std::nullopt}, {L"2.5", 2},      {L"3.5", 4},
        {L"(3.5)", -4},       {L"32,767", 32767},    {L"1e4", 10000},        {L"1e5", std::nullopt},
        {L"&H7FFF", 32767},   {L"&H8000", std::nullopt}, {L"abc", std::nullopt}, {L"", std::nullopt},
        {L"\uFF15\uFF10\uFF10", 500}, {L"1e309", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describeWhole(whole(c.text)), describeWhole(c.expected)) << "whole(" << show(c.text) << ")";
}

// ---------------------------------------------------------------------------------------------
// text()

struct TextCase {
    double value;
    const char* expected;
};

void expectTexts(const TextCase* cases, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        EXPECT_EQ(narrow(text(cases[i].value)), cases[i].expected) << "text(" << describe(cases[i].value) << ")";
}

template <std::size_t N>
void expectTexts(const TextCase (&cases)[N]) {
    expectTexts(cases, N);
}

TEST(Text, WorkedValues) {
    const TextCase cases[] = {
        {2500, "2500.00"},     {-1500, "-1500.00"},  {0.4, "0.40"},    {0, "0.00"},
        {1, "1.00"},           {10.004, "10.00"},    {1234.5, "1234.50"}, {-0.4, "-0.40"},
        {1234567.891, "1234567.89"}, {99999.999, "100000.00"},
    };
    expectTexts(cases);
}

// The double is first written with 15 significant digits, then that text is rounded to two
// decimals, each time a half away from zero.
TEST(Text, HalvesAtEveryDecimalPlace) {
    const TextCase cases[] = {
        {0.5, "0.50"},       {0.05, "0.05"},       {0.005, "0.01"},      {0.0005, "0.00"},
        {0.015, "0.02"},     {0.025, "0.03"},      {0.035, "0.04"},      {0.045, "0.05"},
        {0.125, "0.13"},     {0.375, "0.38"},      {-0.125, "-0.13"},    {1.005, "1.01"},
        {2.675, "2.68"},     {4.345, "4.35"},      {1.2345, "1.23"},     {1.23456789, "1.23"},
        {0.995, "1.00"},     {9.995, "10.00"},     {99.995, "100.00"},   {-0.995, "-1.00"},
        {123456789.125, "123456789.13"},           {-0.005, "-0.01"},    {0.0049999999999999999, "0.01"},
        {0.00499999999999999, "0.00"},             {0.004999999999999, "0.00"},
    };
    expectTexts(cases);
}

TEST(Text, FifteenSignificantDigits) {
    const TextCase cases[] = {
        {1e15, "1000000000000000.00"},
        {1e15 + 0.005, "1000000000000000.00"},
        {1000000000000005.0, "1000000000000010.00"},  // a half at the 16th digit goes up
        {1000000000000015.0, "1000000000000020.00"},
        {1000000000000025.0, "1000000000000030.00"},
        {100000000000000.5, "100000000000001.00"},
        {999999999999999.5, "1000000000000000.00"},
        {12345678901234567890.0, "12345678901234600000.00"},
        {1e20, "100000000000000000000.00"},
        {0.1 + 0.2, "0.30"},
        {123456.78901234567, "123456.79"},
    };
    expectTexts(cases);
}

TEST(Text, NegativeValuesRoundingToZeroHaveNoSign) {
    // The platform writes "-0.00" for the middle ones; we write no sign on zero.
    const TextCase cases[] = {
        {-0.0, "0.00"},    {-0.004, "0.00"},   {-0.00499999999999999, "0.00"},
        {-1e-300, "0.00"}, {-std::numeric_limits<double>::denorm_min(), "0.00"},
        {-0.005, "-0.01"}, {-0.01, "-0.01"},
    };
    expectTexts(cases);
}

TEST(Text, HugeTinyAndNonFinite) {
    const TextCase cases[] = {
        {1e-5, "0.00"},
        {1e-300, "0.00"},
        {std::numeric_limits<double>::min(), "0.00"},
        {std::numeric_limits<double>::denorm_min(), "0.00"},
        // Non-finite values print as the platform prints them.
        {kInf, "INF"},
        {-kInf, "-INF"},
        {kNaN, "NAN"},
        {fromBits(0xFFF8000000000000), "-NAN(IND)"},
    };
    expectTexts(cases);
    EXPECT_EQ(narrow(text(1e249)), "1" + std::string(249, '0') + ".00");
    // Past about 1e250 the platform's formatter overruns its buffer; ours carries on.
    EXPECT_EQ(narrow(text(1e300)), "1" + std::string(300, '0') + ".00");
    EXPECT_EQ(narrow(text(-1e300)), "-1" + std::string(300, '0') + ".00");
    EXPECT_EQ(narrow(text(std::numeric_limits<double>::max())), "179769313486232" + std::string(294, '0') + ".00");
    EXPECT_EQ(narrow(text(-std::numeric_limits<double>::max())), "-179769313486232" + std::string(294, '0') + ".00");
}

// A typed price read and written back: what the calculation shows.
TEST(Text, ReadThenWritten) {
    const struct {
        const wchar_t* typed;
        const char* shown;
    } cases[] = {
        {L"10.004", "10.00"},         {L"10.005", "10.01"},       {L"2,500", "2500.00"},
        {L"-1,500.00", "-1500.00"},   {L"\u00A51,234.565", "1234.57"}, {L"(12.345)", "-12.35"},
        {L"1.005", "1.01"},           {L"2.675", "2.68"},          {L"1e-3", "0.00"},
        {L"-0.004", "0.00"},          {L"&H10", "16.00"},          {L"\uFF13\uFF0E\uFF11\uFF14\uFF15", "3.15"},
        {L"594.4310969", "594.43"},   {L"9745.612752", "9745.61"},
    };
    for (const auto& c : cases) {
        const std::optional<double> value = number(c.typed);
        ASSERT_TRUE(value) << show(c.typed);
        EXPECT_EQ(narrow(text(*value)), c.shown) << show(c.typed);
    }
}

// Written text reads back to the value it shows, so the calculation can round through it.
TEST(Text, WrittenTextReadsBack) {
    const double values[] = {2500, -1500, 0.4, 1.005, 2.675, 123456789.125, -0.004, 1e20, 99.995};
    for (double v : values) {
        const std::wstring shown = text(v);
        const std::optional<double> back = number(shown);
        ASSERT_TRUE(back) << describe(v);
        EXPECT_EQ(text(*back), shown) << describe(v);
    }
}

}  // namespace
