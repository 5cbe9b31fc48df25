// The three number conversions the position calculation uses, written portably so that the
// native build computes exactly what Windows' OLE Automation computes in the Simplified-Chinese
// locale (code page 936, decimal point ".", grouping ",", currency sign "¥").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// A text read as a number, as VarR8FromStr(text, LOCALE_USER_DEFAULT, 0) reads it;
// nothing when the text is not a number or overflows a double.
std::optional<double> number(std::wstring_view text);

// A double rounded to a 16-bit whole number as VarI2FromR8 rounds it (a half goes to the even
// neighbour); nothing when the rounded value does not fit.
std::optional<std::int16_t> wholeFromDouble(double value);

// whole(text) = wholeFromDouble(number(text)).
std::optional<std::int16_t> whole(std::wstring_view text);

// A double written with the pattern "0.00", as VarFormat(x, "0.00") writes it.
std::wstring text(double value);

}  // namespace quorvane
