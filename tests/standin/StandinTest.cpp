// The stand-in services checked over real sockets, byte by byte: the quote layout and its GBK names,
// the charts as giflib decodes them, every fault mode as a client sees it, the log, and the
// program with its start/stop script.
#include <arpa/inet.h>
#include <gif_lib.h>
#include <httplib.h>
#include <iconv.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/standin/ChartPicture.h"
#include "tests/standin/Server.h"
#include "tests/standin/Shares.h"

namespace standin {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// ---- What a client sees ----

struct RawReply {
    std::string bytes;
    bool reset = false;  // ended by a reset rather than the end of the data
    std::chrono::milliseconds elapsed{};

    std::size_t headEnd() const {
        const std::size_t end = bytes.find("\r\n\r\n");
        return end == std::string::npos ? std::string::npos : end + 4;
    }
    int status() const {
        if (bytes.compare(0, 9, "HTTP/1.1 ") != 0) return 0;
        return std::atoi(bytes.c_str() + 9);
    }
    std::string header(const std::string& name) const {
        const std::string head = bytes.substr(0, headEnd());
        const std::size_t at = head.find("\r\n" + name + ": ");
        if (at == std::string::npos) return "";
        const std::size_t from = at + name.size() + 4;
        return head.substr(from, head.find("\r\n", from) - from);
    }
    std::string body() const { return headEnd() == std::string::npos ? "" : bytes.substr(headEnd()); }
};

int connectTo(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return fd;
}

// Sends one request and reads until the server ends the connection (or readAtMost bytes, or 10 s),
// pausing between reads when asked, to be a slow reader.
RawReply fetchRaw(int port, const std::string& target, std::size_t readAtMost = 32u << 20,
                  std::chrono::milliseconds pauseBetweenReads = 0ms, const std::string& method = "GET") {
    RawReply reply;
    const auto started = Clock::now();
    const int fd = connectTo(port);
    timeval timeout{10, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    const std::string request = method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    char buffer[65536];
    while (reply.bytes.size() < readAtMost) {
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n < 0) reply.reset = errno == ECONNRESET;
        if (n <= 0) break;
        reply.bytes.append(buffer, static_cast<std::size_t>(n));
        if (pauseBetweenReads > 0ms) std::this_thread::sleep_for(pauseBetweenReads);
    }
    close(fd);
    reply.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
    return reply;
}

// Strict: nullopt unless every byte belongs to a whole GBK character.
std::optional<std::string> gbkToUtf8(const std::string& gbk) {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    std::string in = gbk, out(gbk.size() * 2 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!ok) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

std::vector<std::string> splitFields(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (std::size_t comma; (comma = text.find(',', from)) != std::string::npos; from = comma + 1)
        fields.push_back(text.substr(from, comma - from));
    fields.push_back(text.substr(from));
    return fields;
}

// The fields between the quotes of one line `var hq_str_<symbol>="...";\n`, or a failure.
::testing::AssertionResult quoteFields(const std::string& line, const std::string& symbol,
                                       std::vector<std::string>& fields) {
    const std::string prefix = "var hq_str_" + symbol + "=\"", suffix = "\";\n";
    if (line.compare(0, prefix.size(), prefix) != 0)
        return ::testing::AssertionFailure() << "does not start with " << prefix << ": " << line;
    if (line.size() < prefix.size() + suffix.size() || line.compare(line.size() - 3, 3, suffix) != 0)
        return ::testing::AssertionFailure() << "does not end with \";\\n: " << line;
    fields = splitFields(line.substr(prefix.size(), line.size() - prefix.size() - suffix.size()));
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult isPrice(const std::string& field) {
    static const std::regex price(R"(\d+\.\d{2,3})");
    if (std::regex_match(field, price)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "'" << field << "' is not a price with 2 or 3 decimals";
}

// The whole layout of a good line: 33 fields, prices where prices belong, a plausible day.
void expectGoodQuoteLine(const std::string& line, const std::string& symbol, const std::string& utf8Name) {
    SCOPED_TRACE(symbol);
    std::vector<std::string> f;
    ASSERT_TRUE(quoteFields(line, symbol, f));
    ASSERT_EQ(f.size(), 33u);
    EXPECT_EQ(gbkToUtf8(f[0]).value_or("(not GBK)"), utf8Name);
    for (int i : {1, 2, 3, 4, 5, 6, 7, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29}) EXPECT_TRUE(isPrice(f[i])) << i;
    for (int i : {8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28})
        EXPECT_TRUE(std::regex_match(f[i], std::regex(R"([1-9]\d*)"))) << i << ": " << f[i];
    EXPECT_TRUE(std::regex_match(f[9], std::regex(R"(\d+\.\d{3}0*)"))) << f[9];
    EXPECT_TRUE(std::regex_match(f[30], std::regex(R"(\d{4}-\d\d-\d\d)"))) << f[30];
    EXPECT_TRUE(std::regex_match(f[31], std::regex(R"(\d\d:\d\d:\d\d)"))) << f[31];
    EXPECT_EQ(f[32], "00");
    const double open = std::stod(f[1]), previous = std::stod(f[2]), price = std::stod(f[3]);
    const double high = std::stod(f[4]), low = std::stod(f[5]), bid = std::stod(f[6]), ask = std::stod(f[7]);
    EXPECT_LE(low, std::min(open, price));
    EXPECT_GE(high, std::max(open, price));
    EXPECT_LT(bid, ask);
    EXPECT_EQ(f[6], f[11]) << "the bid is the best bid price";
    EXPECT_EQ(f[7], f[21]) << "the ask is the best ask price";
    EXPECT_LT(std::abs(price - previous) / previous, 0.1) << "within the daily limit";
}

// The start of a GBK character that has only one of its two bytes before a multiple of 256,
// or npos.
std::size_t characterAcross256(const std::string& bytes) {
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x81 || c == 0xFF) continue;
        if ((i + 1) % 256 == 0) return i;
        ++i;  // the trail byte
    }
    return std::string::npos;
}

struct DecodedGif {
    bool ok = false;
    int width = 0, height = 0;
    int reddish = 0, greenish = 0, bluish = 0;  // pixels of each hue below the title bar
};

DecodedGif decodeGif(const std::string& bytes) {
    struct Source {
        const std::string& bytes;
        std::size_t at = 0;
    } source{bytes};
    auto read = [](GifFileType* gif, GifByteType* to, int length) {
        Source& s = *static_cast<Source*>(gif->UserData);
        const std::size_t n = std::min<std::size_t>(length, s.bytes.size() - s.at);
        std::copy_n(s.bytes.data() + s.at, n, to);
        s.at += n;
        return static_cast<int>(n);
    };
    DecodedGif result;
    int error = 0;
    GifFileType* gif = DGifOpen(&source, read, &error);
    if (!gif) return result;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0) {
        result.ok = true;
        result.width = gif->SWidth, result.height = gif->SHeight;
        const SavedImage& image = gif->SavedImages[0];
        const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        const int pixels = image.ImageDesc.Width * image.ImageDesc.Height;
        for (int i = 24 * image.ImageDesc.Width; map && i < pixels; ++i) {
            const GifColorType c = map->Colors[image.RasterBits[i] % map->ColorCount];
            result.reddish += c.Red > c.Green + 80 && c.Red > c.Blue + 80;
            result.greenish += c.Green > c.Red + 80 && c.Green > c.Blue + 40;
            result.bluish += c.Blue > c.Red + 80 && c.Blue > c.Green + 80;
        }
    }
    DGifCloseFile(gif, &error);
    return result;
}

std::vector<std::string> readLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string temporaryPath(const std::string& name) {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp ? tmp : "/tmp") + "/standin-" + std::to_string(getpid()) + "-" + name;
}

const char kSlowHint[] = "the slow modes wait for the slow delay";

// ---- The service in this process, on free ports, with short delays and bounds ----

class Standin : public ::testing::Test {
protected:
    void SetUp() override {
        options_.quotePort = 0;
        options_.chartPort = 0;
        options_.logPath = temporaryPath(::testing::UnitTest::GetInstance()->current_test_info()->name() +
                                         std::string(".log"));
        std::remove(options_.logPath.c_str());
        options_.slow = 300ms;
        options_.endlessBytes = 1u << 20;
        options_.connectionLimit = 10s;
        server_ = std::make_unique<Server>(options_);
        server_->start();
    }
    void TearDown() override {
        server_->stop();
        std::remove(options_.logPath.c_str());
    }

    int quote() const { return server_->quotePort(); }
    int chart() const { return server_->chartPort(); }
    RawReply quoteOf(const std::string& symbol) { return fetchRaw(quote(), "/list=" + symbol); }
    RawReply chartOf(const std::string& symbol, const std::string& period = "daily") {
        return fetchRaw(chart(), "/newchart/" + period + "/n/" + symbol + ".gif");
    }
    static std::string goodLine(const char* symbol) { return quoteLine(*findShare(symbol)); }

    ServerOptions options_;
    std::unique_ptr<Server> server_;
};

// ---- Quotes ----

struct NamedShare {
    const char* symbol;
    const char* name;
};
const NamedShare kRealShares[] = {
    {"sz000001", "平安银行"}, {"sh600000", "浦发银行"}, {"sz300750", "宁德时代"},   {"sh601318", "中国平安"},
    {"sz000858", "五粮液"},   {"sh688981", "中芯国际"}, {"sz200596", "古井贡Ｂ"},   {"sz159915", "创业板ETF"},
    {"sh600519", "贵州茅台"}, {"sz000002", "万科Ａ"},   {"sh601398", "工商银行"},   {"sz002594", "比亚迪"},
    {"sh510300", "沪深300ETF"},
};

TEST_F(Standin, EveryShareAnswersOneLineInTheServiceLayoutWithItsGbkName) {
    httplib::Client client("127.0.0.1", quote());
    client.set_read_timeout(5, 0);
    for (const NamedShare& share : kRealShares) {
        const auto result = client.Get(std::string("/list=") + share.symbol);
        ASSERT_TRUE(result) << share.symbol;
        EXPECT_EQ(result->status, 200);
        EXPECT_EQ(result->get_header_value("Content-Type"), "application/javascript; charset=GBK");
        expectGoodQuoteLine(result->body, share.symbol, share.name);
    }
}

TEST_F(Standin, Sh600000HasTheFiguresThatTestsExpect) {
    std::vector<std::string> f;
    ASSERT_TRUE(quoteFields(quoteOf("sh600000").body(), "sh600000", f));
    ASSERT_EQ(f.size(), 33u);
    const std::vector<std::string> expected = {"10.20", "10.18", "10.25", "10.30", "10.15", "10.25", "10.26"};
    EXPECT_EQ(std::vector<std::string>(f.begin() + 1, f.begin() + 8), expected);
}

TEST_F(Standin, UnknownSymbolsAnswerAnEmptyLine) {
    for (const char* symbol : {"sz999999", "sh000001", "SH600000", "sh60000", "sh6000000", "sz600000", ""}) {
        EXPECT_EQ(quoteOf(symbol).body(), "var hq_str_" + std::string(symbol) + "=\"\";\n") << symbol;
    }
}

TEST_F(Standin, SeveralSymbolsAnswerOneLineEachInTheOrderAsked) {
    const std::string body = quoteOf("sh600519,sz999999,sh999004,sz000001").body();
    std::istringstream lines(body);
    std::string line;
    std::vector<std::string> got;
    while (std::getline(lines, line)) got.push_back(line + "\n");
    ASSERT_EQ(got.size(), 4u) << body;
    expectGoodQuoteLine(got[0], "sh600519", "贵州茅台");
    EXPECT_EQ(got[1], "var hq_str_sz999999=\"\";\n");
    // A fault belongs to a share asked for alone: in a list it is a plain line.
    EXPECT_EQ(got[2], goodLine("sh999004"));
    expectGoodQuoteLine(got[3], "sz000001", "平安银行");
}

// The requests named in README.md for a Chinese character split between two 256-byte reads.
TEST_F(Standin, DocumentedListsSplitAChineseCharacterAcrossA256ByteRead) {
    struct Case {
        const char* list;
        std::size_t splitAt;  // the character's first byte
    };
    for (const Case& c : {Case{"sh601398,sh600000", 255}, Case{"sh600000,sh601318,sz000001", 511}}) {
        const std::string body = quoteOf(c.list).body();
        EXPECT_EQ(characterAcross256(body), c.splitAt) << c.list;
        EXPECT_TRUE(gbkToUtf8(body).has_value()) << "every character whole: " << c.list;
    }
}

// ---- Quote faults ----

TEST_F(Standin, ErrorPagesCarryTheirStatusAndAnHtmlBody) {
    struct Case {
        bool chartPort;
        const char* symbol;
        int status;
    };
    for (const Case& c : {Case{false, "sh999001", 404}, Case{false, "sh999002", 500}, Case{true, "sh999102", 404},
                          Case{true, "sh999101", 200}}) {
        const RawReply reply = c.chartPort ? chartOf(c.symbol) : quoteOf(c.symbol);
        EXPECT_EQ(reply.status(), c.status) << c.symbol;
        EXPECT_EQ(reply.header("Content-Type"), "text/html") << c.symbol;
        EXPECT_EQ(reply.body().rfind("<!DOCTYPE html>\n<html>", 0), 0u) << c.symbol;
        EXPECT_EQ(reply.header("Content-Length"), std::to_string(reply.body().size())) << c.symbol;
    }
}

TEST_F(Standin, EmptyAnswersAndAnswersWithoutAReply) {
    for (const RawReply& empty : {quoteOf("sh999003"), chartOf("sh999106")}) {
        EXPECT_EQ(empty.status(), 200);
        EXPECT_EQ(empty.header("Content-Length"), "0");
        EXPECT_EQ(empty.body(), "");
    }
    for (const RawReply& none : {quoteOf("sh999004"), chartOf("sh999107")}) {
        EXPECT_EQ(none.bytes, "");
        EXPECT_FALSE(none.reset) << "closed, not reset";
        EXPECT_LT(none.elapsed, 2s);
    }
}

TEST_F(Standin, BodiesCutShortEndByCloseOrByReset) {
    const std::string closedLine = goodLine("sh999006");
    const RawReply closed = quoteOf("sh999006");
    EXPECT_EQ(closed.header("Content-Length"), std::to_string(closedLine.size()));
    EXPECT_EQ(closed.body(), closedLine.substr(0, closedLine.size() / 2));
    EXPECT_FALSE(closed.reset);

    const std::string resetLine = goodLine("sh999007");
    const RawReply reset = quoteOf("sh999007");
    EXPECT_EQ(reset.header("Content-Length"), std::to_string(resetLine.size()));
    EXPECT_EQ(reset.body(), resetLine.substr(0, resetLine.size() / 2));
    EXPECT_TRUE(reset.reset);
}

TEST_F(Standin, ContentLengthsThatLie) {
    const std::string shortLine = goodLine("sh999011");
    const RawReply shorter = quoteOf("sh999011");
    EXPECT_EQ(shorter.header("Content-Length"), std::to_string(shortLine.size() / 2));
    EXPECT_EQ(shorter.body(), shortLine) << "the whole line follows all the same";

    const std::string longLine = goodLine("sh999012");
    const RawReply longer = quoteOf("sh999012");
    EXPECT_EQ(longer.header("Content-Length"), std::to_string(longLine.size() + 1000));
    EXPECT_EQ(longer.body(), longLine);
    EXPECT_FALSE(longer.reset);
}

TEST_F(Standin, NulBytesInsideAndFirst) {
    const std::string inside = quoteOf("sh999008").body();
    ASSERT_EQ(std::count(inside.begin(), inside.end(), '\0'), 1);
    const std::string beforeNul = inside.substr(0, inside.find('\0'));
    const std::vector<std::string> fields = splitFields(beforeNul);
    ASSERT_EQ(fields.size(), 6u) << "what comes before the NUL holds the name and the five prices";
    EXPECT_EQ(gbkToUtf8(fields[0]).value_or(""), "var hq_str_sh999008=\"含空字节");
    EXPECT_EQ(std::string(inside).erase(inside.find('\0'), 1), goodLine("sh999008"));

    const std::string first = quoteOf("sh999009").body();
    EXPECT_EQ(first, std::string(1, '\0') + goodLine("sh999009"));
}

TEST_F(Standin, AnAnswerOfExactly256Bytes) {
    const RawReply reply = quoteOf("sh999010");
    EXPECT_EQ(reply.header("Content-Length"), "256");
    EXPECT_EQ(reply.body().size(), 256u);
    expectGoodQuoteLine(reply.body(), "sh999010", "整二五六");
}

TEST_F(Standin, ALoneGbkLeadByteRightBeforeTheCommaAfterTheName) {
    const std::string body = quoteOf("sh999013").body();
    const std::size_t comma = body.find(',');
    ASSERT_NE(comma, std::string::npos);
    EXPECT_EQ(body[comma - 1], '\x81');
    EXPECT_TRUE(gbkToUtf8(body.substr(0, comma - 1)).has_value()) << "the 0x81 starts a character of its own";
    EXPECT_FALSE(gbkToUtf8(body.substr(0, comma + 1)).has_value());
    EXPECT_EQ(std::string(body).erase(comma - 1, 1), goodLine("sh999013"));
}

TEST_F(Standin, AUtf8AnswerIsTheGoodLineWithItsNameInUtf8) {
    const RawReply reply = quoteOf("sh999018");
    EXPECT_EQ(reply.header("Content-Type"), "application/javascript; charset=UTF-8");
    std::string line = goodLine("sh999018");
    const std::string gbkName = toGbk("万国码");
    line.replace(line.find(gbkName), gbkName.size(), "万国码");
    EXPECT_EQ(reply.body(), line);
}

TEST_F(Standin, SlowAnswersAndStallsComeWholeAfterTheDelay) {
    const RawReply slow = quoteOf("sh999014");
    EXPECT_GE(slow.elapsed, options_.slow) << kSlowHint;
    EXPECT_EQ(slow.body(), goodLine("sh999014"));

    const RawReply stall = quoteOf("sh999015");
    EXPECT_GE(stall.elapsed, options_.slow) << kSlowHint;
    EXPECT_EQ(stall.body(), goodLine("sh999015"));

    const RawReply slowChart = chartOf("sh999105", "min");
    EXPECT_GE(slowChart.elapsed, options_.slow) << kSlowHint;
    EXPECT_TRUE(decodeGif(slowChart.body()).ok);

    EXPECT_LT(quoteOf("sh600000").elapsed, options_.slow) << "only the slow modes wait";
}

TEST_F(Standin, AnswersWithoutHeadersOrWithBrokenChunks) {
    EXPECT_EQ(quoteOf("sh999016").bytes, goodLine("sh999016")) << "no status line, no headers";

    const RawReply chunked = quoteOf("sh999017");
    EXPECT_EQ(chunked.header("Transfer-Encoding"), "chunked");
    EXPECT_EQ(chunked.header("Content-Length"), "");
    EXPECT_EQ(chunked.body(), "zz\r\n" + goodLine("sh999017") + "\r\n0\r\n\r\n");
}

TEST_F(Standin, AnEndlessBodyRepeatsTheLineUpToItsBound) {
    const RawReply reply = quoteOf("sh999005");
    EXPECT_EQ(reply.header("Content-Length"), "");
    const std::string body = reply.body();
    ASSERT_EQ(body.size(), options_.endlessBytes);
    const std::string line = goodLine("sh999005");
    for (std::size_t at = 0; at < body.size(); at += line.size())
        ASSERT_EQ(body.compare(at, line.size(), line, 0, body.size() - at), 0) << "at byte " << at;
}

TEST_F(Standin, AnEndlessBodyEndsWhenTheClientGoesAway) {
    const RawReply part = fetchRaw(quote(), "/list=sh999005", 100 * 1024);
    EXPECT_GE(part.bytes.size(), 100u * 1024);
    const auto until = Clock::now() + 3s;
    while (server_->openConnections() > 0 && Clock::now() < until) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(server_->openConnections(), 0);
}

TEST(StandinBounds, AnEndlessBodyEndsAtTheTimeBoundForASlowReader) {
    ServerOptions options;
    options.quotePort = options.chartPort = 0;
    options.endlessBytes = std::size_t(1) << 40;
    options.connectionLimit = 400ms;
    Server server(options);
    server.start();
    const RawReply reply = fetchRaw(server.quotePort(), "/list=sh999005", 1u << 30, 10ms);
    EXPECT_LT(reply.elapsed, 3s);
    EXPECT_GT(reply.body().size(), 0u);
    EXPECT_LT(reply.bytes.size(), 1u << 30);
}

TEST(StandinBounds, StopEndsSlowAndEndlessAnswersAtOnce) {
    ServerOptions options;
    options.quotePort = options.chartPort = 0;
    options.slow = 60s;
    options.endlessBytes = std::size_t(1) << 40;
    Server server(options);
    server.start();
    std::vector<std::thread> clients;
    for (const char* symbol : {"sh999014", "sh999015"})
        clients.emplace_back([&, symbol] { fetchRaw(server.quotePort(), std::string("/list=") + symbol); });
    clients.emplace_back([&] { fetchRaw(server.chartPort(), "/newchart/min/n/sh999105.gif"); });
    // A client that reads nothing keeps the endless answer waiting on a full socket.
    const int stalled = connectTo(server.quotePort());
    const std::string request = "GET /list=sh999005 HTTP/1.1\r\n\r\n";
    send(stalled, request.data(), request.size(), MSG_NOSIGNAL);
    const auto until = Clock::now() + 3s;
    while (server.openConnections() < 4 && Clock::now() < until) std::this_thread::sleep_for(10ms);
    ASSERT_EQ(server.openConnections(), 4);

    const auto started = Clock::now();
    server.stop();
    EXPECT_LT(Clock::now() - started, 2s);
    EXPECT_EQ(server.openConnections(), 0);
    for (std::thread& t : clients) t.join();
    close(stalled);
}

// ---- Charts ----

TEST_F(Standin, EveryShareHasAGifChartForEveryPeriodAndEachIsItsOwn) {
    httplib::Client client("127.0.0.1", chart());
    client.set_read_timeout(5, 0);
    std::set<std::string> pictures;
    for (const NamedShare& share : kRealShares) {
        for (const char* period : {"min", "daily", "weekly", "monthly"}) {
            SCOPED_TRACE(std::string(share.symbol) + " " + period);
            const auto result = client.Get(std::string("/newchart/") + period + "/n/" + share.symbol + ".gif");
            ASSERT_TRUE(result);
            EXPECT_EQ(result->status, 200);
            EXPECT_EQ(result->get_header_value("Content-Type"), "image/gif");
            const DecodedGif gif = decodeGif(result->body);
            ASSERT_TRUE(gif.ok);
            EXPECT_EQ(gif.width, 545);
            EXPECT_EQ(gif.height, 300);
            if (std::string(period) == "min") {
                EXPECT_GT(gif.bluish, 240) << "a price line across the day";
            } else {
                EXPECT_GT(gif.reddish, 100) << "rising candles";
                EXPECT_GT(gif.greenish, 100) << "falling candles";
            }
            EXPECT_TRUE(pictures.insert(result->body).second) << "the same picture as another chart";
        }
    }
}

TEST_F(Standin, AChartIsTheSameOnEveryRequest) {
    EXPECT_EQ(chartOf("sz300750", "weekly").body(), chartOf("sz300750", "weekly").body());
}

TEST_F(Standin, ChartsThatAreNotPictures) {
    const RawReply html = chartOf("sh999101");
    EXPECT_EQ(html.status(), 200);
    EXPECT_FALSE(decodeGif(html.body()).ok);

    const std::string whole = chartGif(*findShare("sh999103"), Period::Daily);
    const RawReply truncated = chartOf("sh999103");
    EXPECT_EQ(truncated.header("Content-Type"), "image/gif");
    EXPECT_EQ(truncated.body(), whole.substr(0, whole.size() / 2));
    EXPECT_FALSE(decodeGif(truncated.body()).ok);

    const RawReply bogus = chartOf("sh999104");
    EXPECT_EQ(bogus.header("Content-Type"), "image/gif");
    EXPECT_EQ(bogus.body().size(), 8u << 20);
    EXPECT_FALSE(decodeGif(bogus.body()).ok);
}

TEST_F(Standin, EachFaultLeavesTheOtherServiceOfItsShareGood) {
    for (const Share& share : shares()) {
        if (share.quoteFault != Fault::None) {
            const DecodedGif gif = decodeGif(chartOf(share.symbol, "min").body());
            EXPECT_TRUE(gif.ok && gif.width == 545) << share.symbol;
        }
        if (share.chartFault != Fault::None) {
            EXPECT_EQ(quoteOf(share.symbol).body(), quoteLine(share)) << share.symbol;
        }
    }
}

TEST_F(Standin, AnythingElseIsNotFound) {
    struct Case {
        bool chartPort;
        const char* target;
    };
    const Case cases[] = {
        {false, "/"},
        {false, "/list"},
        {false, "/List=sh600000"},
        {false, "/newchart/min/n/sh600000.gif"},
        {true, "/list=sh600000"},
        {true, "/newchart/hourly/n/sh600000.gif"},
        {true, "/newchart/min/n/sh600000.png"},
        {true, "/newchart/min/sh600000.gif"},
        {true, "/newchart/min/n/sz999999.gif"},
        {true, "/newchart/min/n/.gif"},
        {true, "/newchart//n/sh600000.gif"},
    };
    for (const Case& c : cases) {
        const RawReply reply = fetchRaw(c.chartPort ? chart() : quote(), c.target);
        EXPECT_EQ(reply.status(), 404) << c.target;
        EXPECT_EQ(reply.header("Content-Type"), "text/html") << c.target;
    }
    EXPECT_EQ(fetchRaw(quote(), "/list=sh600000", 1u << 20, 0ms, "POST").status(), 405);
}

// ---- The log ----

TEST_F(Standin, TheLogHasOneLinePerRequestWithTimePortAndTarget) {
    struct Request {
        bool chartPort;
        std::string target;
    };
    const std::vector<Request> requests = {
        {false, "/list=sh600000"}, {true, "/newchart/min/n/sh600000.gif"}, {false, "/list=sh999004"},
        {false, "/nothing"},       {true, "/newchart/daily/n/sh999107.gif"}, {false, "/list=sh600000"},
    };
    for (const Request& r : requests) fetchRaw(r.chartPort ? chart() : quote(), r.target);
    close(connectTo(quote()));  // a connection that sends no request is no lookup

    const std::vector<std::string> lines = readLines(options_.logPath);
    ASSERT_EQ(lines.size(), requests.size());
    const std::regex layout(R"((\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}) (\d+) (\S*))");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(lines[i], m, layout)) << lines[i];
        EXPECT_EQ(std::stoi(m[2]), requests[i].chartPort ? chart() : quote()) << lines[i];
        EXPECT_EQ(m[3], requests[i].target);
    }
}

// ---- The program and its start/stop script ----

// A socket listening on a port the system chose.
int listenAnywhere() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(fd, 1);
    return fd;
}

int portOf(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

// Two distinct ports that were free a moment ago.
std::pair<int, int> freePorts() {
    const int a = listenAnywhere(), b = listenAnywhere();
    const std::pair<int, int> ports{portOf(a), portOf(b)};
    close(a);
    close(b);
    return ports;
}

int runScript(const std::string& arguments) {
    setenv("QUOTE_STANDIN", QUOTE_STANDIN_BINARY, 1);
    const int status = std::system((std::string(STANDIN_SOURCE_DIR) + "/service " + arguments).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(StandinService, StartsTheProgramServesBothPortsAndStopsIt) {
    const std::string log = temporaryPath("service.log");
    std::remove(log.c_str());
    const auto [quotePort, chartPort] = freePorts();
    ASSERT_EQ(runScript("start " + log + " " + std::to_string(quotePort) + " " + std::to_string(chartPort)), 0);
    const pid_t pid = std::atoi(readFile(log + ".pid").c_str());
    ASSERT_GT(pid, 0);

    EXPECT_EQ(fetchRaw(quotePort, "/list=sh600000").body(), quoteLine(*findShare("sh600000")));
    EXPECT_TRUE(decodeGif(fetchRaw(chartPort, "/newchart/monthly/n/sh600000.gif").body()).ok);
    EXPECT_NE(runScript("start " + log + " " + std::to_string(quotePort) + " " + std::to_string(chartPort) +
                        " 2>/dev/null"),
              0)
        << "a second start for the same log";

    EXPECT_EQ(runScript("stop " + log), 0);
    const bool running = kill(pid, 0) == 0 && !readFile("/proc/" + std::to_string(pid) + "/cmdline").empty();
    EXPECT_FALSE(running);
    EXPECT_EQ(readFile(log + ".pid"), "") << "the pid file is gone";
    EXPECT_EQ(readLines(log).size(), 2u);
    const std::string output = readFile(log + ".out");
    EXPECT_EQ(output.find("Sanitizer"), std::string::npos) << output;
    EXPECT_EQ(output.find("runtime error"), std::string::npos) << output;
    EXPECT_EQ(runScript("stop " + log), 0) << "stopping twice is harmless";
    for (const char* suffix : {"", ".out"}) std::remove((log + suffix).c_str());
}

TEST(StandinService, StartFailsAtOnceWhenAPortIsTaken) {
    const std::string log = temporaryPath("busy.log");
    const int taken = listenAnywhere();
    const auto started = Clock::now();
    EXPECT_NE(runScript("start " + log + " " + std::to_string(freePorts().first) + " " +
                        std::to_string(portOf(taken)) + " 2>/dev/null"),
              0);
    EXPECT_LT(Clock::now() - started, 5s);
    EXPECT_EQ(readFile(log + ".pid"), "");
    close(taken);
    for (const char* suffix : {"", ".out"}) std::remove((log + suffix).c_str());
}

TEST(StandinProgram, RejectsBadArguments) {
    const std::vector<std::string> bad = {"--quote-port 70000", "--chart-port x", "--slow-ms -1", "--log",
                                          "--verbose 1"};
    for (const std::string& arguments : bad) {
        const int status = std::system((std::string(QUOTE_STANDIN_BINARY) + " " + arguments + " 2>/dev/null").c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << arguments;
    }
}

TEST(StandinDocumentation, TheReadmeNamesEveryFaultSymbol) {
    const std::string readme = readFile(std::string(STANDIN_SOURCE_DIR) + "/README.md");
    ASSERT_FALSE(readme.empty());
    for (const Share& share : shares()) {
        if (share.quoteFault != Fault::None || share.chartFault != Fault::None) {
            EXPECT_NE(readme.find(std::string("`") + share.symbol + "`"), std::string::npos) << share.symbol;
        }
    }
}

}  // namespace
}  // namespace standin
