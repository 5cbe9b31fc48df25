// The conversions follow the rules OLE Automation applies in the Simplified-Chinese locale, and
// reproduce its arithmetic step by step rather than computing the mathematically nearest
// value: a price typed by a user must become the same double, and print the same text, on
// every build of the program.
//
// All floating-point work is done on integers. The 32-bit build runs with the x87 unit, whose
// precision depends on how the process set it up; integer arithmetic gives the same bits on
// every compiler, target and optimisation level.
#include "Conversions.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace quorvane {
namespace {

// ---------------------------------------------------------------------------------------------
// Characters

constexpr std::uint32_t kCurrencySign = 0x00A5;  // "¥", the locale's currency symbol.

std::uint32_t codeOf(wchar_t c) {
    // wchar_t is signed on some targets; a negative value is no character we know.
    return static_cast<std::uint32_t>(c);
}

// The blanks the parser skips: the characters the C runtime's iswspace() accepts.
bool isBlank(std::uint32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

// Chinese input methods type full-width digits and signs; Windows reads them as the ASCII ones.
std::uint32_t narrowed(std::uint32_t c) {
    if (c >= 0xFF10 && c <= 0xFF19) return c - 0xFF10 + '0';
    switch (c) {
        case 0xFF0B: return '+';
        case 0xFF0C: return ',';
        case 0xFF0D: return '-';
        case 0xFF0E: return '.';
        default: return c;
    }
}

bool isDigit(std::uint32_t c) { return c >= '0' && c <= '9'; }

// Signed 32-bit arithmetic that wraps instead of being undefined: the platform keeps the
// decimal exponent in an int and lets absurd exponents ("1e4294967297") wrap around.
std::int32_t wrap32(std::int64_t v) {
    const auto u = static_cast<std::uint32_t>(static_cast<std::uint64_t>(v));
    return u < 0x80000000u ? static_cast<std::int32_t>(u) : -static_cast<std::int32_t>(~u) - 1;
}

// ---------------------------------------------------------------------------------------------
// Parsing: the text becomes a sign, up to kMaxDigits decimal digits and a power of ten (or a
// hexadecimal/octal value).

constexpr std::size_t kMaxDigits = 1024;  // Digits kept; later ones only move the exponent.

enum class Outcome { number, notNumber, overflow };

struct Parsed {
    bool negative = false;
    bool radix = false;             // "&H" or "&O"
    std::uint64_t radixValue = 0;
    bool radixOverflow = false;
    std::array<std::uint8_t, kMaxDigits> digits{};
    std::size_t kept = 0;           // digits[0, kept) are significant
    std::int32_t power = 0;         // value = (digits as a whole number) × 10^power

    void movePower(std::int64_t by) { power = wrap32(power + by); }
};

class Parser {
public:
    explicit Parser(std::wstring_view text) : text_(text) {}

    Outcome run(Parsed& out);

private:
    // The text ends at its end or at a NUL, as a C string handed to the platform does.
    std::uint32_t at(std::size_t i) const {
        return i < text_.size() ? narrowed(codeOf(text_[i])) : 0;
    }
    std::uint32_t cur() const { return at(pos_); }
    void skipBlanks() {
        while (isBlank(cur())) ++pos_;
    }
    void addDigit(Parsed& out, std::uint32_t c);
    void addRadixDigit(Parsed& out, std::uint32_t value);

    std::wstring_view text_;
    std::size_t pos_ = 0;
    std::size_t seen_ = 0;          // every mantissa digit, kept or not
    bool decimal_ = false, exponent_ = false, inExponent_ = false, negativeExponent_ = false;
    bool leadingPlus_ = false, leadingMinus_ = false, currency_ = false, parens_ = false;
    bool zero_ = false;             // a zero was skipped, so "0" alone is a number
    bool hex_ = false, octal_ = false;
    bool dropped_ = false;
};

void Parser::addRadixDigit(Parsed& out, std::uint32_t value) {
    const unsigned shift = hex_ ? 4 : 3;
    // The platform's overflow test, which is slightly stricter than the exact one.
    if (!out.radixOverflow && out.radixValue > (UINT64_MAX >> shift) - value)
        out.radixOverflow = true;
    if (!out.radixOverflow) out.radixValue = (out.radixValue << shift) + value;
    ++seen_;
}

void Parser::addDigit(Parsed& out, std::uint32_t c) {
    if (hex_ || octal_) {
        addRadixDigit(out, c - '0');
    } else if (seen_ >= kMaxDigits) {
        // A dropped digit still counts: before the point it multiplies the value by ten, as it
        // should; after the point it divides it by ten as a kept one would, adding nothing.
        dropped_ = true;
        out.movePower(decimal_ ? -1 : 1);
        ++seen_;
    } else {
        if (decimal_) out.movePower(-1);
        out.digits[out.kept++] = static_cast<std::uint8_t>(c - '0');
        ++seen_;
    }
    ++pos_;
}

Outcome Parser::run(Parsed& out) {
    // Leading blanks, one sign of each kind, one currency sign, one "(" and an optional point.
    for (;;) {
        const std::uint32_t c = cur();
        if (c == '.') {
            decimal_ = true;
            ++pos_;
            while (cur() == '0') {
                zero_ = true;
                ++pos_;
                out.movePower(-1);
            }
            break;
        }
        if (isBlank(c)) {
            skipBlanks();
        } else if (c == ',') {
            return Outcome::notNumber;  // grouping before the first digit
        } else if (c == '+' && !leadingPlus_) {
            leadingPlus_ = true;
            ++pos_;
        } else if (c == '-' && !leadingMinus_) {
            leadingMinus_ = out.negative = true;
            ++pos_;
        } else if (c == kCurrencySign && !currency_) {
            currency_ = true;
            ++pos_;
        } else if (c == '(' && !parens_) {
            parens_ = true;
            ++pos_;
        } else {
            break;
        }
    }

    if (!currency_ && !decimal_ && cur() == '&') {
        const std::uint32_t kind = at(pos_ + 1);
        if (kind == 'H' || kind == 'h') hex_ = true;
        if (kind == 'O' || kind == 'o') octal_ = true;
        if (hex_ || octal_) pos_ += 2;
    }
    out.radix = hex_ || octal_;

    while (cur() == '0') {
        zero_ = true;
        ++pos_;
    }

    for (std::uint32_t c = cur(); c != 0; c = cur()) {
        if (isDigit(c)) {
            if (inExponent_) {
                std::int32_t e = 0;
                while (isDigit(cur())) {
                    e = wrap32(std::int64_t{e} * 10 + (cur() - '0'));
                    ++pos_;
                }
                if (negativeExponent_) e = wrap32(-std::int64_t{e});
                out.movePower(e);
                inExponent_ = false;
                continue;
            }
            if (octal_ && (c == '8' || c == '9')) break;
            addDigit(out, c);
        } else if (c == ',' && !out.radix) {
            ++pos_;  // grouping is accepted anywhere among the digits, even after the point
        } else if (c == '.' && !out.radix && !decimal_ && !exponent_) {
            decimal_ = true;
            ++pos_;
            if (seen_ == 0) {
                while (cur() == '0') {
                    zero_ = true;
                    ++pos_;
                    out.movePower(-1);
                }
            }
        } else if (hex_ && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) {
            if (seen_ >= kMaxDigits) return Outcome::overflow;
            addRadixDigit(out, c >= 'a' ? c - 'a' + 10 : c - 'A' + 10);
            ++pos_;
        } else if ((c == 'e' || c == 'E') && !out.radix && !currency_ && !exponent_) {
            exponent_ = inExponent_ = true;
            ++pos_;
        } else if (inExponent_ && c == '+') {
            ++pos_;
        } else if (inExponent_ && c == '-') {
            negativeExponent_ = true;
            ++pos_;
        } else {
            break;
        }
    }

    if (seen_ == 0 && zero_) {
        out.kept = 1;
        out.digits[0] = 0;
        seen_ = 1;
    }
    if (inExponent_) return Outcome::notNumber;  // "1e", "1e-"

    if (out.radix) {
        out.power = 0;
    } else if (!dropped_) {
        while (out.kept > 1 && out.digits[out.kept - 1] == 0) {
            --out.kept;
            out.movePower(1);
        }
    }

    // Trailing blanks, grouping, a sign if none led, ")" closing a "(", currency signs.
    for (;;) {
        const std::uint32_t c = cur();
        if (c == ',') {
            if (out.radix) break;
            ++pos_;
        } else if (isBlank(c)) {
            skipBlanks();
        } else if (c == '+' && !leadingPlus_) {
            ++pos_;
        } else if (c == '-' && !leadingMinus_) {
            out.negative = true;
            ++pos_;
        } else if (c == ')' && parens_) {
            out.negative = true;
            ++pos_;
        } else if (c == kCurrencySign && !out.radix) {
            ++pos_;
        } else {
            break;
        }
    }
    // Any minus sign counts as closing a "(": "(-1" and "(1-" are numbers too.
    if (parens_ && !out.negative) return Outcome::notNumber;
    if (cur() != 0) return Outcome::notNumber;
    if (seen_ == 0) return Outcome::notNumber;
    return Outcome::number;
}

// ---------------------------------------------------------------------------------------------
// The platform scales the digits on the x87 unit: every step is rounded to a 64-bit mantissa
// (round half to even) with an exponent range far wider than a double's, and only the final
// value is rounded to a double. Extended reproduces that.

struct U128 {
    std::uint64_t hi = 0, lo = 0;
};

U128 multiply(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
    const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const std::uint64_t mid = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
    return {p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32), (mid << 32) | (p00 & 0xFFFFFFFFu)};
}

U128 shiftLeft(U128 v, unsigned n) {  // n < 128
    if (n == 0) return v;
    if (n >= 64) return {v.lo << (n - 64), 0};
    return {(v.hi << n) | (v.lo >> (64 - n)), v.lo << n};
}

U128 shiftRight(U128 v, unsigned n) {  // n < 128
    if (n == 0) return v;
    if (n >= 64) return {0, v.hi >> (n - 64)};
    return {v.hi >> n, (v.lo >> n) | (v.hi << (64 - n))};
}

U128 add(U128 a, U128 b) {
    const std::uint64_t lo = a.lo + b.lo;
    return {a.hi + b.hi + (lo < a.lo ? 1 : 0), lo};
}

bool less(U128 a, U128 b) { return a.hi != b.hi ? a.hi < b.hi : a.lo < b.lo; }

unsigned bitLength(std::uint64_t v) {
    unsigned n = 0;
    while (v) {
        ++n;
        v >>= 1;
    }
    return n;
}

unsigned bitLength(U128 v) { return v.hi ? 64 + bitLength(v.hi) : bitLength(v.lo); }

struct Extended {
    std::uint64_t mantissa = 0;  // top bit set unless the value is zero
    std::int32_t exponent = 0;   // value = mantissa × 2^exponent

    bool isZero() const { return mantissa == 0; }

    // n × 2^e rounded to 64 bits; `sticky` tells that nonzero bits lie below n.
    static Extended round(U128 n, std::int32_t e, bool sticky) {
        const unsigned length = bitLength(n);
        if (length == 0) return {};
        if (length <= 64) {
            const unsigned up = 64 - length;
            return {shiftLeft(n, up).lo, e - static_cast<std::int32_t>(up)};
        }
        const unsigned drop = length - 64;
        std::uint64_t kept = shiftRight(n, drop).lo;
        const U128 rest = {drop > 64 ? n.hi & ((std::uint64_t{1} << (drop - 64)) - 1) : 0,
                           drop >= 64 ? n.lo : n.lo & ((std::uint64_t{1} << drop) - 1)};
        const U128 half = shiftLeft({0, 1}, drop - 1);
        const bool above = less(half, rest) || (!less(rest, half) && sticky);
        const bool tie = !less(rest, half) && !less(half, rest) && !sticky;
        e += static_cast<std::int32_t>(drop);
        if (above || (tie && (kept & 1))) {
            ++kept;
            if (kept == 0) {  // carried out of 64 bits
                kept = std::uint64_t{1} << 63;
                ++e;
            }
        }
        return {kept, e};
    }

    static Extended fromInteger(std::uint64_t v) { return round({0, v}, 0, false); }

    static Extended fromDouble(double d) {  // d finite and not negative
        std::uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        const auto field = static_cast<std::int32_t>((bits >> 52) & 0x7FF);
        const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
        if (field == 0) return round({0, fraction}, -1074, false);
        return round({0, fraction | (std::uint64_t{1} << 52)}, field - 1075, false);
    }

    Extended times(std::uint64_t k) const {
        if (isZero()) return {};
        return round(multiply(mantissa, k), exponent, false);
    }

    Extended dividedBy(std::uint64_t k) const {  // k < 2^34
        if (isZero()) return {};
        // (mantissa × 2^64) / k by 16-bit steps, so every partial remainder fits 64 bits.
        const U128 dividend = {mantissa, 0};
        U128 quotient;
        std::uint64_t remainder = 0;
        for (int i = 7; i >= 0; --i) {
            const std::uint64_t part = (i >= 4 ? dividend.hi >> ((i - 4) * 16)
                                                : dividend.lo >> (i * 16)) & 0xFFFF;
            const std::uint64_t current = (remainder << 16) | part;
            quotient = add(shiftLeft(quotient, 16), {0, current / k});
            remainder = current % k;
        }
        return round(quotient, exponent - 64, remainder != 0);
    }

    Extended plus(std::uint32_t digit) const {  // this is a whole number
        if (isZero()) return fromInteger(digit);
        if (exponent >= 64) return *this;  // the digit is below half a unit in the last place
        if (exponent >= 0)
            return round(add(shiftLeft({0, mantissa}, static_cast<unsigned>(exponent)),
                             {0, digit}), 0, false);
        const auto down = static_cast<unsigned>(-exponent);
        return round(add({0, mantissa}, shiftLeft({0, digit}, down)), exponent, false);
    }

    int compare(const Extended& o) const {
        if (isZero() || o.isZero()) return isZero() ? (o.isZero() ? 0 : -1) : 1;
        if (exponent != o.exponent) return exponent < o.exponent ? -1 : 1;
        if (mantissa != o.mantissa) return mantissa < o.mantissa ? -1 : 1;
        return 0;
    }

    // The value rounded to a double (half to even), infinity when it is too large.
    double toDouble() const {
        if (isZero()) return 0.0;
        const std::int32_t top = exponent + 63;  // value in [2^top, 2^(top+1))
        if (top >= 1024) return std::numeric_limits<double>::infinity();
        // Keep 53 bits, or fewer for a subnormal (lowest bit worth 2^-1074).
        const std::int32_t lowest = top >= -1022 ? top - 52 : -1074;
        const std::int32_t drop = lowest - exponent;  // >= 11
        std::uint64_t kept;
        bool roundUp;
        if (drop > 64) {
            kept = 0;
            roundUp = false;
        } else if (drop == 64) {
            kept = 0;
            roundUp = mantissa > (std::uint64_t{1} << 63);
        } else {
            kept = mantissa >> drop;
            const std::uint64_t rest = mantissa & ((std::uint64_t{1} << drop) - 1);
            const std::uint64_t half = std::uint64_t{1} << (drop - 1);
            roundUp = rest > half || (rest == half && (kept & 1));
        }
        if (roundUp) ++kept;
        std::uint64_t bits;
        if (lowest == -1074 && kept < (std::uint64_t{1} << 52)) {
            bits = kept;  // subnormal (kept == 2^52 becomes the smallest normal below)
        } else {
            std::int32_t e = lowest;
            if (kept == (std::uint64_t{1} << 53)) {
                kept >>= 1;
                ++e;
            }
            const std::int32_t field = e + 52 + 1023;
            if (field >= 2047) return std::numeric_limits<double>::infinity();
            bits = (static_cast<std::uint64_t>(field) << 52) | (kept & ((std::uint64_t{1} << 52) - 1));
        }
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
};

constexpr std::array<std::uint64_t, 11> kPowersOfTen = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000, 10000000000};

// The platform's scaling limits: its largest double (a little below DBL_MAX) and smallest
// one, divided and multiplied by 10^k.
constexpr std::array<double, 11> kMaximums = {
    0x1.ffffffffffffap+1023, 0x1.9999999999995p+1020, 0x1.47ae147ae1477p+1017,
    0x1.0624dd2f1a9f9p+1014, 0x1.a36e2eb1c4328p+1010, 0x1.4f8b588e368edp+1007,
    0x1.0c6f7a0b5ed8ap+1004, 0x1.ad7f29abcaf43p+1000, 0x1.5798ee2308c36p+997,
    0x1.12e0be826d691p+994,  0x1.b7cdfd9d7bdb6p+990};
constexpr std::array<double, 11> kMinimums = {
    0x0.0000000000001p-1022, 0x0.000000000000ap-1022, 0x0.0000000000064p-1022,
    0x0.00000000003e8p-1022, 0x0.0000000002710p-1022, 0x0.00000000186a0p-1022,
    0x0.00000000f4240p-1022, 0x0.0000000989680p-1022, 0x0.0000005f5e100p-1022,
    0x0.000003b9aca00p-1022, 0x0.00002540be400p-1022};

bool above(const Extended& x, double limit) { return x.compare(Extended::fromDouble(limit)) > 0; }
bool below(const Extended& x, double limit) { return x.compare(Extended::fromDouble(limit)) < 0; }

double withSign(double magnitude, bool negative) { return negative ? -magnitude : magnitude; }

std::optional<double> radixValue(const Parsed& p) {
    if (p.radixOverflow) return std::nullopt;
    // The platform fits the value into a 32-bit signed number or the negation of one, and
    // ignores any sign written before it: values up to 2^31 - 1 stand for themselves, 2^31 for
    // -2^31, and values above 2^63 for their 64-bit two's complement (&HFFFFFFFFFFFFFFF0 is 16).
    const std::uint64_t u = p.radixValue;
    if (u <= 0x7FFFFFFFu) return Extended::fromInteger(u).toDouble();
    if (u == 0x80000000u) return -2147483648.0;
    if (u > (std::uint64_t{1} << 63)) return Extended::fromInteger(0 - u).toDouble();
    return std::nullopt;
}

std::optional<double> decimalValue(const Parsed& p) {
    Extended whole;
    for (std::size_t i = 0; i < p.kept; ++i) whole = whole.times(10).plus(p.digits[i]);

    // (A power of exactly -2^31 makes the platform read outside its tables; we divide.)
    std::int64_t multiplier = p.power > 0 ? p.power : 0;
    std::int64_t divisor = p.power < 0 ? -static_cast<std::int64_t>(p.power) : 0;

    // Zero stays zero; skipping the loops keeps "0e2147483647" from taking seconds.
    if (whole.isZero()) return withSign(0.0, p.negative);

    while (multiplier > 10) {
        if (above(whole, kMaximums[10])) return std::nullopt;
        whole = whole.times(kPowersOfTen[10]);
        multiplier -= 10;
    }
    if (multiplier > 0) {
        if (above(whole, kMaximums[multiplier])) return std::nullopt;
        whole = whole.times(kPowersOfTen[multiplier]);
    }
    while (divisor > 10) {
        if (below(whole, kMinimums[10])) return withSign(0.0, p.negative);  // underflow
        whole = whole.dividedBy(kPowersOfTen[10]);
        divisor -= 10;
    }
    if (divisor > 0) {
        if (below(whole, kMinimums[divisor])) return withSign(0.0, p.negative);
        whole = whole.dividedBy(kPowersOfTen[divisor]);
    }
    const double d = whole.toDouble();
    // The platform hands back infinity when the digits alone exceed a double; a price that
    // large is no number to us.
    if (std::isinf(d)) return std::nullopt;
    return withSign(d, p.negative);
}

// ---------------------------------------------------------------------------------------------
// Formatting

// |value| written exactly in decimal: value = digits × 10^exponent.
struct Decimal {
    std::string digits;
    std::int32_t exponent = 0;
};

Decimal exactDecimal(double magnitude) {
    std::uint64_t bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const auto field = static_cast<std::int32_t>((bits >> 52) & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    std::int32_t binary = -1074;
    if (field != 0) {
        mantissa |= std::uint64_t{1} << 52;
        binary = field - 1075;
    }
    if (mantissa == 0) return {"0", 0};
    while ((mantissa & 1) == 0) {
        mantissa >>= 1;
        ++binary;
    }

    // Little-endian limbs in base 10^9.
    constexpr std::uint32_t kBase = 1000000000;
    std::vector<std::uint32_t> limbs;
    for (std::uint64_t m = mantissa; m; m /= kBase) limbs.push_back(static_cast<std::uint32_t>(m % kBase));
    auto scale = [&limbs](std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (auto& limb : limbs) {
            const std::uint64_t v = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(v % kBase);
            carry = v / kBase;
        }
        while (carry) {
            limbs.push_back(static_cast<std::uint32_t>(carry % kBase));
            carry /= kBase;
        }
    };

    Decimal out;
    if (binary > 0) {
        for (std::int32_t left = binary; left > 0; left -= 30) scale(std::uint32_t{1} << (left < 30 ? left : 30));
    } else {
        // m × 2^-n = m × 5^n × 10^-n
        for (std::int32_t left = -binary; left > 0; left -= 13) {
            std::uint32_t factor = 1;
            for (std::int32_t i = 0; i < (left < 13 ? left : 13); ++i) factor *= 5;
            scale(factor);
        }
        out.exponent = binary;
    }
    out.digits = std::to_string(limbs.back());
    for (std::size_t i = limbs.size() - 1; i-- > 0;) {
        std::string part = std::to_string(limbs[i]);
        out.digits += std::string(9 - part.size(), '0') + part;
    }
    return out;
}

// Adds one unit in the last digit.
void increment(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

// Keeps the digits worth at least 10^exponent, rounding a dropped half up.
void roundAt(Decimal& d, std::int32_t exponent) {
    if (d.exponent >= exponent) return;
    const std::int64_t drop = static_cast<std::int64_t>(exponent) - d.exponent;
    const auto size = static_cast<std::int64_t>(d.digits.size());
    bool up = false;
    if (drop <= size) {
        up = d.digits[static_cast<std::size_t>(size - drop)] >= '5';
        d.digits.resize(static_cast<std::size_t>(size - drop));
    } else {
        d.digits.clear();
    }
    if (d.digits.empty()) d.digits = "0";
    d.exponent = exponent;
    if (up) increment(d.digits);
}

}  // namespace

std::optional<double> number(std::wstring_view text) {
    Parsed parsed;
    Parser parser(text);
    if (parser.run(parsed) != Outcome::number) return std::nullopt;
    return parsed.radix ? radixValue(parsed) : decimalValue(parsed);
}

std::optional<std::int16_t> wholeFromDouble(double value) {
    // Written so that NaN fails too.
    if (!(value >= -32768.5 && value < 32767.5)) return std::nullopt;
    const double below = std::floor(value);
    const double fraction = value - below;  // exact for doubles this small
    auto result = static_cast<std::int32_t>(below);
    if (fraction > 0.5 || (fraction == 0.5 && (result & 1))) ++result;
    return static_cast<std::int16_t>(result);
}

std::optional<std::int16_t> whole(std::wstring_view text) {
    const std::optional<double> value = number(text);
    if (!value) return std::nullopt;
    return wholeFromDouble(*value);
}

std::wstring text(double value) {
    const bool negative = std::signbit(value);
    // What the platform prints for values that are no numbers.
    if (std::isnan(value)) return negative ? L"-NAN(IND)" : L"NAN";
    if (std::isinf(value)) return negative ? L"-INF" : L"INF";

    // The platform first writes the double with 15 significant digits (a half rounded away
    // from zero), then rounds that text to two decimals, again a half away from zero. So
    // 1.005, stored as 1.00499999999999989..., shows as "1.01".
    Decimal d = exactDecimal(std::fabs(value));
    const auto significant = static_cast<std::int32_t>(d.digits.size());
    if (significant > 15) roundAt(d, d.exponent + significant - 15);
    roundAt(d, -2);

    std::string hundredths = d.digits + std::string(static_cast<std::size_t>(d.exponent + 2), '0');
    const std::size_t first = hundredths.find_first_not_of('0');
    hundredths = first == std::string::npos ? "0" : hundredths.substr(first);
    const bool zero = hundredths == "0";
    if (hundredths.size() < 3) hundredths.insert(0, 3 - hundredths.size(), '0');
    hundredths.insert(hundredths.size() - 2, 1, '.');

    std::wstring out;
    // A value that rounds to zero is shown without a minus sign.
    if (negative && !zero) out += L'-';
    out.append(hundredths.begin(), hundredths.end());
    return out;
}

}  // namespace quorvane
