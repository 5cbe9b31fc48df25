// libFuzzer target: the three number conversions of the position calculation. The input is read
// as UTF-8 text (a byte that is no UTF-8 stands for itself, so every code unit can be reached)
// for number() and whole(); its first eight bytes are also taken as the bits of a double for
// text() and wholeFromDouble().
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "stock/Conversions.h"
#include "tests/fuzz/Cp936.h"

namespace {

using fuzz::require;

std::wstring lenientUtf8(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    for (std::size_t i = 0; i < size;) {
        const std::uint8_t lead = data[i];
        const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 1;
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        bool whole = length > 1 && i + length <= size;
        for (std::size_t k = 1; whole && k < length; ++k) {
            whole = (data[i + k] & 0xC0) == 0x80;
            code = (code << 6) | (data[i + k] & 0x3F);
        }
        if (!whole) code = lead;
        text += static_cast<wchar_t>(code);
        i += whole ? length : 1;
    }
    return text;
}

// "-?digits.dd", or the platform's words for what is no number.
bool wellFormed(const std::wstring& text) {
    if (text == L"NAN" || text == L"-NAN(IND)" || text == L"INF" || text == L"-INF") return true;
    const std::size_t start = !text.empty() && text[0] == L'-' ? 1 : 0;
    const std::size_t point = text.find(L'.');
    if (point == std::wstring::npos || point == start || text.size() != point + 3) return false;
    for (std::size_t i = start; i < text.size(); ++i) {
        if (i != point && (text[i] < L'0' || text[i] > L'9')) return false;
    }
    return true;
}

// text(x) read back is x to within the half hundredth it rounded away, and the 15 significant
// digits it writes at most. Near the largest double those 15 digits can round above it, beyond
// what the platform reads back, as its own pair of conversions does: no result is ever read back.
void checkText(double x) {
    const std::wstring written = quorvane::text(x);
    require(wellFormed(written), "text() writes -digits.dd");
    if (!(std::fabs(x) < 1e300)) return;
    const std::optional<double> back = quorvane::number(written);
    require(back.has_value(), "what text() writes reads back as a number");
    require(std::fabs(*back - x) <= 0.005 + std::fabs(x) * 1e-14, "text() rounds to the nearest hundredth");
}

void checkWhole(double x, std::optional<std::int16_t> rounded) {
    if (!rounded) {
        require(!(std::fabs(x) < 32767.0), "a value well inside the 16-bit range rounds");
        return;
    }
    require(std::fabs(*rounded - x) <= 0.5, "wholeFromDouble() rounds to a neighbour");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring input = lenientUtf8(data, size);
    const std::optional<double> value = quorvane::number(input);
    const std::optional<std::int16_t> rounded = quorvane::whole(input);
    if (value) {
        require(std::isfinite(*value), "number() gives finite values only");
        checkText(*value);
        checkWhole(*value, rounded);
    } else {
        require(!rounded, "whole() of what is no number is nothing");
    }

    if (size >= sizeof(double)) {
        double bits;
        std::memcpy(&bits, data, sizeof bits);
        checkText(bits);
        checkWhole(bits, quorvane::wholeFromDouble(bits));
    }
    return 0;
}
