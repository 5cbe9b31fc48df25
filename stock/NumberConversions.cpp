#include "stock/NumberConversions.h"

#include <cmath>
#include <cstdio>

namespace stock {
namespace {

// From 1e15 up every double is whole, and Wine's formatter breaks above about 1e250, so we write
// these as the platform does: 15 significant digits, a half at the 16th rounded away from zero.
std::wstring largeText(double value) {
    if (std::isnan(value)) return std::signbit(value) ? L"-NAN(IND)" : L"NAN";
    if (std::isinf(value)) return value < 0 ? L"-INF" : L"INF";
    char digits[320];  // the largest double has 309
    // printf rather than std::to_chars: the latter's tables doubled the size of stock.exe, and
    // every printf gives at least the 17 significant digits this reads.
    const int length = std::snprintf(digits, sizeof digits, "%.0f", std::fabs(value));
    const char* end = digits + (length > 0 ? length : 0);
    std::uint64_t kept = 0;
    for (int i = 0; i < 15; ++i) kept = kept * 10 + static_cast<std::uint64_t>(digits[i] - '0');
    if (digits[15] >= '5') ++kept;
    return (value < 0 ? L"-" : L"") + std::to_wstring(kept) + std::wstring(end - digits - 15, L'0') + L".00";
}

}  // namespace

std::optional<double> PlatformNumberConversions::number(std::wstring_view text) {
    // Chinese input methods type full-width digits, point, signs and comma; Windows in a Chinese
    // locale reads them as the narrow ones, Wine does not.
    std::wstring narrowed(text);
    for (wchar_t& c : narrowed) {
        if ((c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF0B && c <= 0xFF0E)) c = static_cast<wchar_t>(c - 0xFEE0);
    }
    const std::optional<double> value = platformNumber(narrowed.c_str());
    // Wine answers infinity when the digits alone overflow a double; that is no price.
    if (value && !std::isfinite(*value)) return std::nullopt;
    return value;
}

std::optional<std::int16_t> PlatformNumberConversions::wholeFromDouble(double value) {
    if (std::isnan(value)) return std::nullopt;  // the platform rounds it to 32767
    return platformWhole(value);
}

std::optional<std::wstring> PlatformNumberConversions::text(double value) {
    if (!(std::fabs(value) < 1e15)) return largeText(value);
    std::optional<std::wstring> written = platformText(value);
    // Wine writes "-0.00" for a negative value that rounds to zero; a zero shows no sign.
    if (written && written->rfind(L'-', 0) == 0 && written->find_first_of(L"123456789") == std::wstring::npos)
        written->erase(0, 1);
    return written;
}

}  // namespace stock
