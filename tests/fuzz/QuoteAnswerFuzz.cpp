// libFuzzer target: what a lookup makes of the bytes a quote service answers. The bytes go
// through the real fetch (256-byte reads, UTF-8 or code page 936 with lone lead bytes, the cut at
// NUL) and the real lookup (fields, name, summary line, quote or notice) into a stand-alone window.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "stock/Form1.h"
#include "stock/QuoteLookup.h"
#include "stock/WebTextFetch.h"
#include "tests/fuzz/Require.h"
#include "tests/support/Cp936.h"
#include "tests/support/StockFakes.h"

namespace {

using stock::Control;
using namespace stock::testing;

const stock::ServiceAddresses kAddresses{L"http://quotes.test", L"http://charts.test", ""};

struct Lookup {
    FakeStockWindow window;
    FakeInternet internet;
    FakePictures pictures;
    FakeNumbers numbers;
};

// One lookup of 600000 whose answer arrives in reads of the given sizes.
void lookUp(Lookup& run, const std::string& body, std::uint32_t seed, bool fullReads) {
    for (std::size_t at = 0; at < body.size();) {
        std::size_t size = stock::kReadSize;
        if (!fullReads) {
            seed ^= seed << 13, seed ^= seed >> 17, seed ^= seed << 5;
            size = 1 + seed % stock::kReadSize;
        }
        run.internet.chunks.push_back(body.substr(at, size));
        at += size;
    }
    support::StockCodePages codec;
    RecordingSkinEngine skin;
    stock::StockPlatform platform{run.internet, codec, run.pictures, run.numbers, kAddresses};
    stock::Form1 form(run.window, skin, platform);
    form.Form_Load();
    run.window.texts[Control::Text9] = L"600000";
    form.cmd_stockfind_Click();
}

std::size_t count(const std::wstring& text, wchar_t c) { return std::count(text.begin(), text.end(), c); }

// The n-th comma-separated piece of the text, counted from 0.
std::wstring piece(const std::wstring& text, std::size_t n) {
    std::size_t start = 0;
    for (; n > 0; --n) start = text.find(L',', start) + 1;
    return text.substr(start, text.find(L',', start) - start);
}

// GBK as a reader of the standard takes it, one character at a time: a lead byte (81 to FE)
// with a trail byte (40 to 7E or 80 to FE) after it is one character; a lead byte without one is
// "?" on its own, and the byte after it keeps its own meaning.
std::wstring gbkCharacterByCharacter(const std::string& bytes) {
    const auto lead = [](unsigned char b) { return b >= 0x81 && b <= 0xFE; };
    const auto trail = [](unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE); };
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (!lead(byte)) {
            text += support::fromCp936(bytes.substr(i, 1));
        } else if (i + 1 < bytes.size() && trail(static_cast<unsigned char>(bytes[i + 1]))) {
            text += support::fromCp936(bytes.substr(i++, 2));
        } else {
            text += L'?';
        }
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using fuzz::require;
    const std::string body(reinterpret_cast<const char*>(data), size);
    std::uint32_t seed = 2166136261u;
    for (unsigned char byte : body) seed = (seed ^ byte) * 16777619u;

    Lookup whole, split;
    lookUp(whole, body, seed | 1, true);
    lookUp(split, body, seed | 1, false);
    const FakeStockWindow& window = whole.window;
    const std::wstring answer = window.texts.at(Control::Text10);

    require(split.window.texts == window.texts, "where the reads split the body changes nothing");
    require(split.pictures.pathRequests == whole.pictures.pathRequests, "the same chart whatever the reads");
    require(answer.find(L'\0') == std::wstring::npos, "the answer ends before its first NUL");
    // No byte can swallow a comma: the answer has as many fields as the bytes before the NUL.
    const std::string beforeNul = body.substr(0, body.find('\0'));
    require(count(answer, L',') == static_cast<std::size_t>(std::count(beforeNul.begin(), beforeNul.end(), ',')),
            "every comma of the body survives the conversion");
    require(whole.internet.closed.size() == 2, "both WinINet handles are closed");
    // Strict UTF-8 beyond ASCII (iconv's judgement) is read as UTF-8; any other body as it was
    // before UTF-8 answers came: GBK over the whole body, then the cut at NUL.
    const std::optional<std::wstring> utf8 = support::fromUtf8(beforeNul);
    if (utf8 && std::any_of(beforeNul.begin(), beforeNul.end(), [](char c) { return c & 0x80; })) {
        require(answer == *utf8, "a UTF-8 answer is read as UTF-8");
    } else {
        const std::wstring gbk = gbkCharacterByCharacter(body);
        require(answer == gbk.substr(0, gbk.find(L'\0')), "any other answer is read as GBK, as ever");
    }

    const std::wstring field0 = piece(answer, 0);
    const std::size_t mark = field0.find(L"=\"");
    const bool holdsQuote = count(answer, L',') >= 5 && mark != std::wstring::npos;
    const std::wstring summary = window.texts.at(Control::lb_info);
    const bool hasPicture = window.pictures.count(Control::img_stock) && window.pictures.at(Control::img_stock);
    if (holdsQuote) {
        require(window.texts.at(Control::Text3) == piece(answer, 3), "today's price is field 3 as sent");
        const std::wstring figures = L"：今日开盘 " + piece(answer, 1) + L",昨日收盘 " + piece(answer, 2) +
                                     L",今日最高 " + piece(answer, 4) + L",今日最低 " + piece(answer, 5);
        require(summary.size() >= figures.size() &&
                    summary.compare(summary.size() - figures.size(), figures.size(), figures) == 0,
                "the summary ends in fields 1, 2, 4 and 5");
        const std::wstring name = summary.substr(0, summary.size() - figures.size());
        require(field0.compare(mark + 2, name.size(), name) == 0, "the name follows the first =\" of field 0");
        require(whole.pictures.pathRequests ==
                    std::vector<std::wstring>{L"http://charts.test/newchart/min/n/sh600000.gif"},
                "one chart, of the share looked up");
        require(hasPicture, "the chart is shown");
    } else {
        require(summary == stock::kNoQuoteNotice, "an answer without a quote shows the notice");
        require(window.texts.at(Control::Text3) == L"0.0", "today's price stays");
        require(whole.pictures.pathRequests.empty() && !hasPicture, "no chart without a quote");
    }
    require(window.messages.empty(), "a lookup of a long enough code shows no message");
    return 0;
}
