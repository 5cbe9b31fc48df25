#include "stock/WebTextFetch.h"

#include <gtest/gtest.h>

#include "tests/native/FakeStockWindow.h"

namespace stock {
namespace {

using testing::FakeCodec;
using testing::FakeInternet;

std::wstring fetch(FakeInternet& internet, const std::string& headers = "") {
    FakeCodec codec;
    return fetchWebText(internet, codec, L"http://quote.test/list=sh600000", headers);
}

TEST(WebTextFetch, OpensWithTheFixedArgumentsAndClosesUrlThenRoot) {
    FakeInternet internet;
    internet.chunks = {"abc"};
    EXPECT_EQ(fetch(internet), L"abc");
    ASSERT_EQ(internet.calls.size(), 2u);
    EXPECT_EQ(internet.calls[0].text, "vb wininet");
    EXPECT_EQ(internet.calls[0].number, 1u);  // direct, synchronous
    EXPECT_TRUE(internet.calls[0].nullHeaders) << "no proxy, no bypass list";
    EXPECT_EQ(internet.calls[1].text, "http://quote.test/list=sh600000");
    EXPECT_EQ(internet.calls[1].number, 0x04000000u);
    EXPECT_TRUE(internet.calls[1].nullHeaders);
    EXPECT_EQ(internet.calls[1].headersLength, 0u);
    EXPECT_EQ(internet.closed, (std::vector<InternetApi::Handle>{FakeInternet::kFile, FakeInternet::kRoot}));
}

TEST(WebTextFetch, SendsBuiltInHeadersOnlyWhenTheBuildHasThem) {
    FakeInternet internet;
    fetch(internet, "Referer: http://example.test/\r\n");
    EXPECT_FALSE(internet.calls[1].nullHeaders);
    EXPECT_EQ(internet.calls[1].headers, "Referer: http://example.test/\r\n");
    EXPECT_EQ(internet.calls[1].headersLength, 31u);
}

TEST(WebTextFetch, ReadsEveryChunkInOrderUntilAReadDeliversNothing) {
    struct Case {
        const char* name;
        std::vector<std::string> chunks;
        std::wstring text;
        std::size_t reads;
    } cases[] = {
        {"empty body", {}, L"", 1},
        {"exactly 256 bytes", {std::string(256, 'x')}, std::wstring(256, L'x'), 2},
        {"short reads", {"var ", "hq", "_str", "=\"\";"}, L"var hq_str=\"\";", 5},
        {"a character split between reads", {"a\xC6", "\xD6" "b"}, L"a浦b", 3},
        {"NUL inside", {"12", std::string("3\0" "45", 4)}, L"123", 3},
        {"NUL first", {std::string("\0" "abc", 4)}, L"", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeInternet internet;
        internet.chunks = c.chunks;
        EXPECT_EQ(fetch(internet), c.text);
        EXPECT_EQ(internet.reads, c.reads);
        EXPECT_EQ(internet.closed.size(), 2u);
    }
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

TEST(WebTextFetch, AnEndlessBodyStopsAtOneMebibyte) {
    FakeInternet internet;
    internet.repeatedChunk = std::string(256, 'z');
    std::wstring text = fetch(internet);
    EXPECT_EQ(text.size(), kMaxBodyBytes);
    EXPECT_EQ(internet.reads, kMaxBodyBytes / 256);
    EXPECT_EQ(internet.closed.size(), 2u);
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
