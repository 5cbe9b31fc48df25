// The three number conversions of the position calculation. The program takes them from the
// platform, which reads and writes numbers in the user's locale; the logic's tests use a test double.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace stock {

class NumberConversions {
public:
    virtual ~NumberConversions() = default;
    // A text read as a number; nothing when it is none.
    virtual std::optional<double> number(std::wstring_view text) = 0;
    // Rounded to a 16-bit whole number, a half to the even neighbour; nothing when it does not fit.
    virtual std::optional<std::int16_t> wholeFromDouble(double value) = 0;
    // Written with the pattern "0.00"; nothing when it cannot be written.
    virtual std::optional<std::wstring> text(double value) = 0;

    std::optional<std::int16_t> whole(std::wstring_view text) {
        const std::optional<double> value = number(text);
        return value ? wholeFromDouble(*value) : std::nullopt;
    }
};

// The platform's conversions with our decisions around them where the platform falls short.
class PlatformNumberConversions : public NumberConversions {
public:
    std::optional<double> number(std::wstring_view text) final;
    std::optional<std::int16_t> wholeFromDouble(double value) final;
    std::optional<std::wstring> text(double value) final;

protected:
    // VarR8FromStr, VarI2FromR8 and VarFormat with "0.00", as the platform answers them.
    virtual std::optional<double> platformNumber(const wchar_t* text) = 0;
    virtual std::optional<std::int16_t> platformWhole(double value) = 0;
    virtual std::optional<std::wstring> platformText(double value) = 0;
};

}  // namespace stock
