#include "stock/QuoteLookup.h"

namespace stock {

std::wstring marketPrefix(std::wstring_view code) {
    static constexpr std::wstring_view kShenzhen[] = {L"00", L"30", L"39", L"20", L"15", L"16", L"18", L"12"};
    const std::wstring_view beginning = code.substr(0, 2);
    for (std::wstring_view prefix : kShenzhen) {
        if (beginning == prefix) return L"sz";
    }
    return L"sh";
}

std::wstring quoteAddress(std::wstring_view base, std::wstring_view symbol) {
    return std::wstring(base) + L"/list=" + std::wstring(symbol);
}

std::wstring chartAddress(std::wstring_view base, std::wstring_view period, std::wstring_view symbol) {
    return std::wstring(base) + L"/newchart/" + std::wstring(period) + L"/n/" + std::wstring(symbol) + L".gif";
}

std::vector<std::wstring> answerFields(std::wstring_view answer) {
    std::vector<std::wstring> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = answer.find(L',', start);
        fields.emplace_back(answer.substr(start, comma == std::wstring_view::npos ? std::wstring_view::npos : comma - start));
        if (comma == std::wstring_view::npos) return fields;
        start = comma + 1;
    }
}

std::optional<Quote> quoteFromAnswer(std::wstring_view answer) {
    const std::vector<std::wstring> fields = answerFields(answer);
    constexpr std::wstring_view kNameMark = L"=\"";
    const std::size_t mark = fields[0].find(kNameMark);
    if (fields.size() < 6 || mark == std::wstring::npos) return std::nullopt;

    // The name runs from the first `="` up to a second one, should field 0 hold one.
    const std::size_t nameStart = mark + kNameMark.size();
    const std::size_t nameEnd = fields[0].find(kNameMark, nameStart);
    const std::wstring name = fields[0].substr(nameStart, nameEnd == std::wstring::npos ? std::wstring::npos : nameEnd - nameStart);
    return Quote{fields[3], name + L"：今日开盘 " + fields[1] + L",昨日收盘 " + fields[2] + L",今日最高 " + fields[4] +
                                L",今日最低 " + fields[5]};
}

}  // namespace stock
