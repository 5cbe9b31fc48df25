// The chart service's pictures: a GIF for a share and a chart period, a price line for "min" and
// candles for the others, with the symbol and the period written on it so that a screenshot shows
// which chart it is. The same share and period always give the same bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tools/quote-standin/Shares.h"

namespace standin {

enum class Period { Min, Daily, Weekly, Monthly };

constexpr int kChartWidth = 545;
constexpr int kChartHeight = 300;

// The chart period word of the address ("min", "daily", "weekly", "monthly").
std::optional<Period> parsePeriod(std::string_view word);
const char* periodWord(Period period);

std::string chartGif(const Share& share, Period period);

}  // namespace standin
