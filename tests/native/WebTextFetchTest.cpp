#include "stock/WebTextFetch.h"

#include <gtest/gtest.h>

#include "tests/support/Cp936.h"
#include "tests/support/StockFakes.h"

namespace stock {
namespace {

using testing::FakeInternet;

std::wstring fetch(FakeInternet& internet, const std::string& headers = "") {
    support::StockCodePages codec;
    return fetchWebText(internet, codec, L"http://quote.test/list=sh600000", headers);
}

// The address asked for with the build's headers if it has any; the address's handle closed
// before the root's.
TEST(WebTextFetch, OpensAsTheServiceNeedsAndClosesUrlThenRoot) {
    for (const std::string headers : {"", "Referer: http://example.test/\r\n"}) {
        FakeInternet internet;
        internet.chunks = {"abc"};
        EXPECT_EQ(fetch(internet, headers), L"abc");
        ASSERT_EQ(internet.calls.size(), 2u);
        EXPECT_EQ(internet.calls[1].text, "http://quote.test/list=sh600000");
        EXPECT_EQ(internet.calls[1].nullHeaders, headers.empty());
        EXPECT_EQ(internet.calls[1].headers, headers);
        EXPECT_EQ(internet.calls[1].headersLength, headers.size());
        EXPECT_EQ(internet.closed, (std::vector<InternetApi::Handle>{FakeInternet::kFile, FakeInternet::kRoot}));
    }
}

TEST(WebTextFetch, ABodyInUtf8IsReadAsUtf8AndEveryOtherAsGbk) {
    const std::string pu = "\xE6\xB5\xA6";  // 浦 in UTF-8
    // The bound, 1 MiB, falls inside the 浦 that arrives last: 2 + 349,524 × 3 bytes, then 2 of its 3.
    std::string cutByBound = "ab";
    while (cutByBound.size() <= 1048576) cutByBound += pu;
    struct Case {
        const char* name;
        std::string body;
        std::wstring text;
    } cases[] = {
        {"GBK", "x=\"\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0,1", L"x=\"浦发银行,1"},
        {"UTF-8", "x=\"" + pu + "\xE5\x8F\x91\xE9\x93\xB6\xE8\xA1\x8C,1", L"x=\"浦发银行,1"},
        {"ASCII", "x=\"ab,1", L"x=\"ab,1"},
        {"GBK whose first character is UTF-8 too", "\xC6\xBD\xB0\xB2,1", L"平安,1"},
        {"UTF-8 before a NUL, other bytes after it", pu + std::string("\0\xFF", 2), L"浦"},
        {"UTF-8 cut short by the server is GBK", pu + "\xE6\xB5", L"娴︽?"},
        {"UTF-8 cut by the bound", cutByBound, L"ab" + std::wstring(349524, L'浦') + L"?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeInternet internet;
        for (std::size_t at = 0; at < c.body.size(); at += kReadSize)
            internet.chunks.push_back(c.body.substr(at, kReadSize));
        EXPECT_EQ(fetch(internet), c.text);
    }
}

TEST(WebTextFetch, Utf8IsJudgedStrictly) {
    const std::nullopt_t no = std::nullopt;
    struct Case {
        const char* bytes;
        bool cutByBound;
        std::optional<std::size_t> length;
    } cases[] = {
        {"ASCII only", false, no},
        {"\xC2\xA9\xE6\xB5\xA6\xF0\x9F\x98\x80", false, 9},  // two, three and four bytes
        {"\xF4\x8F\xBF\xBF", false, 4},                      // U+10FFFF
        {"\xC0\xAF", false, no},                               // overlong forms
        {"\xE0\x9F\xBF", false, no},
        {"\xF0\x8F\xBF\xBF", false, no},
        {"\xED\xA0\x80", false, no},                          // a surrogate
        {"\xF4\x90\x80\x80", false, no},                      // above U+10FFFF
        {"\xF5\x80\x80\x80", false, no},
        {"\xA6", false, no},                                    // a trail byte alone
        {"\xE6\xB5" "a", true, no},                            // cut short inside
        {"\xE6\xB5\xA6\xF0\x9F\x98", false, no},             // cut short at the end
        {"\xE6\xB5\xA6\xF0\x9F\x98", true, 3},               // ... by the bound
        {"a\xE6\xB5", true, no},                               // nothing whole beyond ASCII
    };
    for (const Case& c : cases)
        EXPECT_EQ(utf8TextLength(c.bytes, c.cutByBound), c.length) << ::testing::PrintToString(c.bytes);
}

TEST(WebTextFetch, FailuresGiveEmptyTextAndReleaseWhatWasObtained) {
    FakeInternet noRoot;
    noRoot.rootFails = true;
    EXPECT_EQ(fetch(noRoot), L"");
    EXPECT_EQ(noRoot.calls.size(), 1u) << "no address is opened without a root handle";
    EXPECT_TRUE(noRoot.closed.empty());

    FakeInternet noUrl;
    noUrl.urlFails = true;
    noUrl.chunks = {"never read"};
    EXPECT_EQ(fetch(noUrl), L"");
    EXPECT_EQ(noUrl.reads, 0u);
    EXPECT_EQ(noUrl.closed, std::vector<InternetApi::Handle>{FakeInternet::kRoot});
}

TEST(WebTextFetch, ALoneLeadByteCannotSwallowTheCommaAfterIt) {
    FakeInternet internet;
    internet.chunks = {"\x81,1.5,\xC6\xD6,\xFE"};
    EXPECT_EQ(fetch(internet), L"?,1.5,浦,?");

    EXPECT_EQ(withLoneLeadBytesReplaced("\x81,"), "?,");
    EXPECT_EQ(withLoneLeadBytesReplaced("\x81\x7F"), "?\x7F");      // 0x7F is no trail byte
    EXPECT_EQ(withLoneLeadBytesReplaced("\x81\x40\x81\xFE"), "\x81\x40\x81\xFE");
    EXPECT_EQ(withLoneLeadBytesReplaced("\x80\xFF"), "\x80\xFF");  // single bytes of their own
    EXPECT_EQ(withLoneLeadBytesReplaced("\xC6\xD6\xC6"), "\xC6\xD6?");
}

}  // namespace
}  // namespace stock
