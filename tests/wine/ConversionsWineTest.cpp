// Runs the portable conversions against the real OLE Automation functions, in the process's
// Simplified-Chinese locale, over a few thousand generated texts and doubles. Every
// disagreement is reported with its input, except the ones we chose on purpose:
//  - a negative value that rounds to zero is written "0.00", not "-0.00";
//  - full-width digits, point, signs and comma read as the narrow ones (the platform here does
//    not, so such a text is compared with the platform's reading of its narrow form);
//  - digits that alone exceed a double give no number (the platform answers infinity);
//  - NaN gives no 16-bit number (the platform answers 32767).
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "stock/Conversions.h"

namespace {

std::optional<double> platformNumber(const std::wstring& text) {
    BSTR b = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    double d = 0;
    const HRESULT hr = VarR8FromStr(b, LOCALE_USER_DEFAULT, 0, &d);
    SysFreeString(b);
    if (FAILED(hr)) return std::nullopt;
    return d;
}

std::optional<std::int16_t> platformWhole(double value) {
    SHORT s = 0;
    if (FAILED(VarI2FromR8(value, &s))) return std::nullopt;
    return s;
}

std::optional<std::wstring> platformText(double value) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_R8;
    V_R8(&v) = value;
    BSTR out = nullptr;
    wchar_t format[] = L"0.00";
    if (FAILED(VarFormat(&v, format, 0, 0, 0, &out))) return std::nullopt;
    std::wstring s(out, SysStringLen(out));
    SysFreeString(out);
    return s;
}

std::uint64_t bitsOf(double d) {
    std::uint64_t b;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

double fromBits(std::uint64_t b) {
    double d;
    std::memcpy(&d, &b, sizeof d);
    return d;
}

// Printable form of a text: non-ASCII characters as \uXXXX, long runs abbreviated.
std::string show(const std::wstring& text) {
    std::ostringstream os;
    os << '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 60 && text.size() > 80) {
            os << "...(" << text.size() << " chars)...";
            i = text.size() - 20;
        }
        const auto c = static_cast<unsigned>(text[i]);
        if (c >= 0x20 && c < 0x7F) {
            os << static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", c);
            os << buf;
        }
    }
    os << '"';
    return os.str();
}

std::string show(std::optional<double> d) {
    if (!d) return "(none)";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g [%016llx]", *d, static_cast<unsigned long long>(bitsOf(*d)));
    return buf;
}

std::string show(double d) { return show(std::optional<double>(d)); }

std::string show(std::optional<std::int16_t> v) { return v ? std::to_string(*v) : "(none)"; }

std::string show(const std::optional<std::wstring>& s) { return s ? show(*s) : "(failed)"; }

// The platform here reads no full-width forms; Windows in a Chinese locale reads them as these.
std::wstring narrowForm(std::wstring text) {
    for (auto& c : text) {
        if (c >= 0xFF10 && c <= 0xFF19) c = static_cast<wchar_t>(L'0' + (c - 0xFF10));
        else if (c == 0xFF0E) c = L'.';
        else if (c == 0xFF0B) c = L'+';
        else if (c == 0xFF0D) c = L'-';
        else if (c == 0xFF0C) c = L',';
    }
    return text;
}

bool sameDouble(std::optional<double> a, std::optional<double> b) {
    return a.has_value() == b.has_value() && (!a || bitsOf(*a) == bitsOf(*b));
}

// ---------------------------------------------------------------------------------------------
// Generated inputs

class Generator {
public:
    explicit Generator(std::uint32_t seed) : rng_(seed) {}

    int below(int n) { return static_cast<int>(rng_() % static_cast<std::uint32_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }

    std::wstring digits(int n) {
        std::wstring s;
        for (int i = 0; i < n; ++i) s += static_cast<wchar_t>(L'0' + below(10));
        return s;
    }

    std::wstring blanks() {
        static const wchar_t kBlanks[] = {L' ', L'\t', 0x3000, 0x00A0, L'\n', 0x2003, 0x000B, 0x0085};
        std::wstring s;
        for (int n = 1 + below(3); n > 0; --n) s += kBlanks[below(8)];
        return s;
    }

    // Digits with commas somewhere among them, in groups of three or anywhere.
    std::wstring grouped(const std::wstring& d) {
        if (d.size() < 2 || !chance(30)) return d;
        std::wstring s;
        const bool thousands = chance(70);
        for (std::size_t i = 0; i < d.size(); ++i) {
            if (i > 0 && (thousands ? (d.size() - i) % 3 == 0 : chance(20))) s += L',';
            s += d[i];
        }
        return s;
    }

    std::wstring exponent() {
        std::wstring s = chance(50) ? L"e" : L"E";
        const int sign = below(4);
        if (sign == 1) s += L'-';
        if (sign == 2) s += L'+';
        const int magnitude = chance(70) ? below(30) : below(700);
        return s + std::to_wstring(magnitude);
    }

    std::wstring decimal() {
        switch (below(10)) {
            case 0: {  // a half at some decimal place
                const int places = below(6);
                std::wstring s = digits(1 + below(5));
                if (places == 0) return s + L".5";
                return s + L"." + digits(places) + L"5";
            }
            case 1: {  // near the 16-bit bounds
                static const wchar_t* kBounds[] = {L"32767", L"32768", L"-32768", L"-32769", L"32766", L"-32767"};
                std::wstring s = kBounds[below(6)];
                if (chance(70)) s += L"." + (chance(50) ? std::wstring(L"5") : digits(1 + below(6)));
                return s;
            }
            case 2:  // long runs of digits
                return digits(16 + below(30)) + (chance(50) ? L"." + digits(below(30)) : L"");
            case 3:  // very large or very small
                return digits(1 + below(3)) + L"." + digits(below(17)) + L"e" +
                       (chance(50) ? L"-" : L"") + std::to_wstring(280 + below(50));
            default: {
                std::wstring whole = grouped(digits(below(10)));
                std::wstring s = whole;
                if (chance(55) || whole.empty()) s += L"." + digits(below(8) + (whole.empty() ? 1 : 0));
                if (chance(20)) s += exponent();
                return s;
            }
        }
    }

    std::wstring radix() {
        static const wchar_t kHex[] = L"0123456789abcdefABCDEF";
        std::wstring s = chance(50) ? (chance(50) ? L"&H" : L"&h") : (chance(50) ? L"&O" : L"&o");
        const bool hex = s[1] == L'H' || s[1] == L'h';
        const int n = chance(80) ? 1 + below(9) : 1 + below(24);
        for (int i = 0; i < n; ++i) s += hex ? kHex[below(22)] : static_cast<wchar_t>(L'0' + below(chance(95) ? 8 : 10));
        return s;
    }

    // A number with the decorations the parser accepts, and now and then one it refuses.
    std::wstring text() {
        std::wstring core = chance(12) ? radix() : decimal();
        switch (below(14)) {
            case 0: core = L"-" + core; break;
            case 1: core = L"+" + core; break;
            case 2: core += L"-"; break;
            case 3: core += L"+"; break;
            case 4: core = L"(" + core + L")"; break;
            case 5: core = L"\u00A5" + core; break;
            case 6: core += L"\u00A5"; break;
            case 7: core = L"-\u00A5" + core; break;
            case 8: core = L"(" + core; break;
            case 9: core = L"+" + core + L"-"; break;
            default: break;
        }
        if (chance(25)) core = blanks() + core;
        if (chance(25)) core += blanks();
        if (chance(8)) {  // something wrong somewhere
            static const wchar_t* kNoise[] = {L".", L",", L"e", L"x", L" ", L"-", L"&", L")", L"\u00A5", L"0"};
            core.insert(static_cast<std::size_t>(below(static_cast<int>(core.size()) + 1)), kNoise[below(10)]);
        }
        return core;
    }

    // Some characters replaced by their full-width forms.
    std::wstring widened(const std::wstring& narrow) {
        std::wstring s = narrow;
        for (auto& c : s) {
            if (!chance(50)) continue;
            if (c >= L'0' && c <= L'9') c = static_cast<wchar_t>(0xFF10 + (c - L'0'));
            else if (c == L'.') c = 0xFF0E;
            else if (c == L'+') c = 0xFF0B;
            else if (c == L'-') c = 0xFF0D;
            else if (c == L',') c = 0xFF0C;
        }
        return s;
    }

    // Doubles of every magnitude the formatter handles, with plenty of exact and near halves.
    double value() {
        switch (below(9)) {
            case 0: {  // random bits, 1e-12 .. 1e250
                const std::uint64_t field = 983 + static_cast<std::uint64_t>(below(1830 - 983));
                const std::uint64_t mantissa = (static_cast<std::uint64_t>(rng_()) << 32 | rng_()) & ((std::uint64_t{1} << 52) - 1);
                return fromBits(field << 52 | mantissa) * (chance(30) ? -1 : 1);
            }
            case 1: {  // x.xx5 and friends: nearest doubles to decimal halves
                const double scale = std::pow(10.0, 1 + below(6));
                return (below(2000000) * 10 + 5) / scale * (chance(30) ? -1 : 1);
            }
            case 2:  // exact binary halves: k / 2^n
                return std::ldexp(static_cast<double>(below(1 << 20)), -below(12)) * (chance(30) ? -1 : 1);
            case 3: {  // around the 16-bit bounds
                static const double kBounds[] = {-32768.5, -32767.5, 32767.5, 32766.5, -32769.0, 32767.4999, 32768.0, -0.5, 0.5, 1.5, 2.5};
                double d = kBounds[below(11)];
                for (int steps = below(3); steps > 0; --steps) d = std::nextafter(d, chance(50) ? 1e300 : -1e300);
                return d;
            }
            case 4: {  // whole numbers past 15 digits
                const double d = static_cast<double>(static_cast<std::uint64_t>(rng_()) << 32 | rng_());
                return std::ldexp(d, -below(20)) * (chance(30) ? -1 : 1);
            }
            case 5: {  // tiny values and subnormals
                const std::uint64_t field = chance(50) ? 0 : static_cast<std::uint64_t>(below(1010));
                const std::uint64_t mantissa = (static_cast<std::uint64_t>(rng_()) << 32 | rng_()) & ((std::uint64_t{1} << 52) - 1);
                return fromBits(field << 52 | mantissa) * (chance(50) ? -1 : 1);
            }
            case 6: {  // just around a hundredth's half, where two-decimal rounding turns
                double d = (below(100000) + 0.5) / 100.0 * (chance(30) ? -1 : 1);
                for (int steps = below(3); steps > 0; --steps) d = std::nextafter(d, chance(50) ? 1e300 : -1e300);
                return d;
            }
            case 7:  // small negatives that round to zero, and zeros
                return (chance(20) ? 0.0 : below(50) / 10000.0) * (chance(70) ? -1 : 1);
            default: {  // plain prices
                return (below(10000000) / 100.0) * (chance(20) ? -1 : 1);
            }
        }
    }

private:
    std::mt19937 rng_;
};

// ---------------------------------------------------------------------------------------------

class ConversionsWine : public ::testing::Test {
protected:
    void SetUp() override {
        // The comparison means something only in the Simplified-Chinese locale.
        ASSERT_EQ(GetACP(), 936u);
        ASSERT_EQ(GetUserDefaultLCID(), 0x0804u);
    }
};

struct TextTally {
    int compared = 0, numbers = 0, infinities = 0;
};

// Compares number() and whole() on one text with the platform's reading of `platformForm`.
void compareText(const std::wstring& text, const std::wstring& platformForm, TextTally& tally) {
    ++tally.compared;
    const std::optional<double> ours = quorvane::number(text);
    const std::optional<double> theirs = platformNumber(platformForm);
    if (theirs) ++tally.numbers;
    if (theirs && std::isinf(*theirs) && !ours) {
        ++tally.infinities;  // chosen: no number instead of infinity
    } else if (!sameDouble(ours, theirs)) {
        ADD_FAILURE() << "number(" << show(text) << ") = " << show(ours) << ", VarR8FromStr("
                      << show(platformForm) << ") = " << show(theirs);
    }
    const std::optional<std::int16_t> ourWhole = quorvane::whole(text);
    const std::optional<std::int16_t> theirWhole = theirs ? platformWhole(*theirs) : std::nullopt;
    if (ourWhole != theirWhole)
        ADD_FAILURE() << "whole(" << show(text) << ") = " << show(ourWhole)
                      << ", VarI2FromR8(VarR8FromStr(...)) = " << show(theirWhole);
}

TEST_F(ConversionsWine, TextsOfTheTable) {
    // Edge cases written out, most of them found by probing the platform.
    static const wchar_t* const kTexts[] = {
        L"", L" ", L"0", L"-0", L"0-", L"(0)", L".", L".0", L"0.", L"-.5", L". 5", L"12.3.4",
        L"1", L"-1", L"+1", L"+-1", L"-+1", L"--1", L"++1", L"1-", L"1+", L"1++", L"1--", L"-1-",
        L"+1+", L"-1+", L"+1-", L"(1)", L"(1", L"1)", L"(1))", L"(-1)", L"-(1)", L"((1))", L"(1)-",
        L"(-1", L"(1-", L"(+1)", L"-(-1)", L"1-)", L" 1 ", L"\t1\t", L"\u30001\u3000", L"\u00A0\u00A01",
        L"1\u2028", L"\u00851", L"\u180E1", L"\uFEFF1", L"\u00A51", L"1\u00A5", L"\u00A5\u00A51", L"1\u00A5\u00A5",
        L"-\u00A51", L"\u00A5-1", L"\u00A5 1", L"1 \u00A5", L"\uFFE51", L"$1", L"\u00A5.5", L".\u00A55",
        L"1\u00A5e5", L"\u00A51e5", L"1e5\u00A5", L"&H10", L"&h10", L"&O17", L"&o17", L"&O18", L"&H",
        L"&O", L"-&H10", L"&H-10", L"&H80000000", L"&HFFFFFFFF", L"&H7FFFFFFF", L"&H100000000",
        L"&HFFFFFFFFFFFFFFFF", L"&HFFFFFFFFFFFFFFF0", L"&H8000000000000001", L"&H8000000000000000",
        L"&H10000000000000000", L"&H1e5", L" &H10", L"&H10 ", L"(&H10)", L"(&H1", L"&H1)", L"&H1-",
        L"\u00A5&H10", L"&H10\u00A5", L"&H1,0", L"&H1.0", L"&H 1", L"&O-7", L"&O1777777777777777777770",
        L"&X10", L"&", L"1,000", L"1,,000", L",1", L"1,", L"1, ", L"1 ,", L"1.2,3", L"1,.5", L"1.,5",
        L"1e5,5", L"1e,5", L"1e--5", L"1e-+-5", L"1e+5", L"1e5+", L"1e5-", L"1e", L"1e+", L"1E5",
        L"1e5e5", L"1.5e5.5", L"1.e5", L".e5", L"0.e5", L"1 e5", L"1e 5", L"1e+ 5", L"1 000", L"1 .5",
        L"1e0000000000000000000005", L"1e2147483647", L"1e4294967296", L"1e4294967297",
        L"1e-2147483647", L"0e2147483647", L"0e-2147483647", L"1e308", L"1e309",
        L"1.7976931348623157e308", L"1.797693134862314e308", L"1.797693134862315e308",
        L"179769313486231551e291", L"179769313486231451e291", L"-1.7976931348623149e308", L"1e-308", L"1e-320", L"1e-323",
        L"1e-324", L"2.5e-324", L"4.9e-324", L"5e-324", L"-5e-324", L"-1e-400", L"0e999999",
        L"1.005", L"2.675", L"0.125", L"10.004", L"2500", L"-1500", L"0.4", L"-32768.5", L"-32768.51",
        L"-32769", L"32767.4999", L"32767.5", L"-32767.5", L"32766.5", L"9007199254740993",
        L"9007199254740995", L"18446744073709551617", L"123456789012345678901234567890",
        L"12345678901234567890123e-10", L"1x", L"x1", L"1e5(",
        L"\uFF11", L"\uFF0D\uFF11\uFF0C\uFF12\uFF13\uFF14\uFF0E\uFF15", L"\uFF0B\uFF11\uFF0D",
        L"\uFF0E\uFF15", L"\uFF11\uFF0E\uFF0E\uFF12", L"\uFF0C\uFF11", L"\uFF11e\uFF0D\uFF13",
        L"&H\uFF11\uFF10", L"\uFF21", L"\uFFE5\uFF11",
    };
    TextTally tally;
    for (const wchar_t* t : kTexts) compareText(t, narrowForm(t), tally);

    // Long texts: past the 1024 digits the platform keeps, and past a double's range.
    const std::wstring ones400(400, L'1'), ones1030(1030, L'1');
    const std::vector<std::wstring> longTexts = {
        ones400, ones400 + L"e-100", ones400 + L"e-200", std::wstring(309, L'9'), std::wstring(308, L'1'),
        std::wstring(1024, L'1'), ones1030, std::wstring(1024, L'1') + L".5", std::wstring(1024, L'1') + L".0",
        std::wstring(1024, L'1') + L"00000", L"0." + std::wstring(400, L'0') + ones400,
        L"0." + std::wstring(1100, L'0') + L"1", L"0." + std::wstring(1100, L'1'),
        std::wstring(330, L'1') + L"e-340", std::wstring(310, L'1') + L"e-5", ones1030 + L"e-1000",
        L"&H" + std::wstring(2000, L'0') + L"1", std::wstring(2000, L'0') + L"1", L"1" + std::wstring(2000, L'0'),
        L"1" + std::wstring(2000, L'0') + L"e-1990", L"1" + std::wstring(1023, L'0') + L"1",
        std::wstring(3000, L' ') + L"7" + std::wstring(3000, L'\t'), L"1" + std::wstring(3000, L','),
    };
    for (const auto& t : longTexts) compareText(t, t, tally);
    EXPECT_GT(tally.infinities, 0);  // the table holds texts the platform reads as infinity
    std::printf("[ table    ] %d texts, %d numbers, %d infinities answered with no number\n",
                tally.compared, tally.numbers, tally.infinities);
}

TEST_F(ConversionsWine, GeneratedTexts) {
    Generator g(20240601);
    TextTally tally;
    int widened = 0;
    for (int i = 0; i < 6000; ++i) {
        const std::wstring t = g.text();
        compareText(t, t, tally);
        if (i % 4 == 0) {
            const std::wstring wide = g.widened(t);
            if (wide != t) {
                compareText(wide, narrowForm(wide), tally);
                ++widened;
            }
        }
    }
    // The generator must exercise both outcomes, or the comparison proves little.
    EXPECT_GT(tally.numbers, tally.compared / 2);
    EXPECT_LT(tally.numbers, tally.compared);
    EXPECT_GT(widened, 500);
    std::printf("[ texts    ] %d texts (%d full-width), %d numbers\n", tally.compared, widened, tally.numbers);
}

// Past 19 digits the platform's intermediate values need rounding at every step; only long
// digit runs tell whether each of those steps rounds the same way.
TEST_F(ConversionsWine, LongDigitRuns) {
    Generator g(1931);
    TextTally tally;
    for (int i = 0; i < 20000; ++i) {
        std::wstring t = g.digits(1 + g.below(9)) + g.digits(17 + g.below(30));
        if (g.chance(40)) t.insert(static_cast<std::size_t>(1 + g.below(static_cast<int>(t.size()) - 1)), 1, L'.');
        if (g.chance(60)) t += L"e" + std::to_wstring(g.below(700) - 350);
        compareText(t, t, tally);
    }
    EXPECT_GT(tally.numbers, 15000);
    std::printf("[ long     ] %d texts, %d numbers\n", tally.compared, tally.numbers);
}

// Compares text() and wholeFromDouble() on one double.
void compareValue(double d, int& compared, int& minusZero) {
    ++compared;
    const std::optional<std::int16_t> ours = quorvane::wholeFromDouble(d);
    const std::optional<std::int16_t> theirs = platformWhole(d);
    if (ours != theirs && !(std::isnan(d) && !ours))
        ADD_FAILURE() << "wholeFromDouble(" << show(d) << ") = " << show(ours) << ", VarI2FromR8 = " << show(theirs);

    if (std::isfinite(d) && std::fabs(d) >= 1e250) return;  // the platform's buffer overflows
    const std::wstring ourText = quorvane::text(d);
    const std::optional<std::wstring> theirText = platformText(d);
    if (theirText && *theirText == L"-0.00" && ourText == L"0.00") {
        ++minusZero;  // chosen: no minus sign on zero
    } else if (!theirText || *theirText != ourText) {
        ADD_FAILURE() << "text(" << show(d) << ") = " << show(ourText) << ", VarFormat = " << show(theirText);
    }
}

TEST_F(ConversionsWine, ValuesOfTheTable) {
    static const double kValues[] = {
        0.0, -0.0, 2500, -1500, 0.4, 1.005, 2.675, 0.125, 0.375, -0.125, 1e15 + 0.005, 1e15, 1e20,
        1e249, 9.99999999999999e249, 1e-5, 1e-300, 0.005, 0.015, 0.025, -0.005, -0.004, 0.995, 9.995,
        99.995, -0.995, 1000000000000005.0, 1000000000000015.0, 100000000000000.5, 999999999999999.5,
        123456789.125, 12345678901234567890.0, 0.0049999999999999999, 0.00499999999999999, 4.345,
        -32768.5, -32768.500000000007, -32767.5, 32767.5, 32767.499999999996, 32766.5, 0.5, 1.5,
        2.5, -0.5, -1.5, -2.5, 65535.0, -65536.0,
        std::numeric_limits<double>::denorm_min(), -std::numeric_limits<double>::denorm_min(),
        std::numeric_limits<double>::min(), std::numeric_limits<double>::max(),
        std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN(), fromBits(0xFFF8000000000000ull),
    };
    int compared = 0, minusZero = 0;
    for (double d : kValues) compareValue(d, compared, minusZero);
    EXPECT_GT(minusZero, 0);
    std::printf("[ table    ] %d values, %d negative zeros written without sign\n", compared, minusZero);
}

TEST_F(ConversionsWine, GeneratedValues) {
    Generator g(77);
    int compared = 0, minusZero = 0;
    for (int i = 0; i < 6000; ++i) compareValue(g.value(), compared, minusZero);
    std::printf("[ values   ] %d values, %d negative zeros written without sign\n", compared, minusZero);
}

// Doubles read from text and written back: the path a typed price takes.
TEST_F(ConversionsWine, RoundTrips) {
    Generator g(4242);
    int compared = 0, minusZero = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::wstring t = g.decimal();
        if (const std::optional<double> theirs = platformNumber(t); theirs && std::isfinite(*theirs))
            compareValue(*theirs, compared, minusZero);
    }
    EXPECT_GT(compared, 2000);
    std::printf("[ trips    ] %d values\n", compared);
}

}  // namespace
