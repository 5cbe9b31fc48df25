// The pure parts of a quote lookup: the symbol, the two addresses, and what the answer holds.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stock {

// "sz" for the Shenzhen beginnings (shares 00, ChiNext 30, indexes 39, B shares 20, funds 15 16 18,
// bonds 12); "sh" for every other code.
std::wstring marketPrefix(std::wstring_view code);

std::wstring quoteAddress(std::wstring_view base, std::wstring_view symbol);
std::wstring chartAddress(std::wstring_view base, std::wstring_view period, std::wstring_view symbol);

// The answer cut at every comma; empty fields stay, and nothing limits their number.
std::vector<std::wstring> answerFields(std::wstring_view answer);

struct Quote {
    std::wstring price;    // field 3, as the service sent it
    std::wstring summary;  // the line for lb_info
};

// The quote an answer holds, or nothing when it has fewer than six fields or no `="` in field 0
// (an unknown code, an error page, an empty answer).
std::optional<Quote> quoteFromAnswer(std::wstring_view answer);

// What lb_info says when an answer holds no quote.
inline constexpr wchar_t kNoQuoteNotice[] = L"未能取得行情数据";

}  // namespace stock
