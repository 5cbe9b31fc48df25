#include "tools/quote-standin/Answers.h"

#include <cstdint>

#include "tools/quote-standin/ChartPicture.h"
#include "tools/quote-standin/Shares.h"

namespace standin {
namespace {

const char kQuoteType[] = "application/javascript; charset=GBK";
const char kUtf8QuoteType[] = "application/javascript; charset=UTF-8";
const char kGifType[] = "image/gif";
const char kHtmlType[] = "text/html";

Answer htmlPage(int status, const std::string& title, const std::string& text) {
    return {status, kHtmlType,
            "<!DOCTYPE html>\n<html><head><title>" + title + "</title></head>\n<body><h1>" + title +
                "</h1>\n<p>" + text + "</p></body></html>\n"};
}

Answer notFound() { return htmlPage(404, "404 Not Found", "The requested URL was not found on this server."); }

// Deterministic junk, made once: every request for the large bogus chart gets the same bytes.
const std::string& bogusPicture() {
    static const std::string junk = [] {
        std::string bytes(8u << 20, '\0');
        std::uint32_t x = 2463534242u;
        for (char& b : bytes) {
            x ^= x << 13, x ^= x >> 17, x ^= x << 5;
            b = static_cast<char>(x >> 24);
        }
        return bytes;
    }();
    return junk;
}

// Where the n-th comma of a quote line stands (n from 1).
std::size_t nthComma(const std::string& line, int n) {
    std::size_t at = std::string::npos;
    while (n-- > 0) at = line.find(',', at + 1);
    return at;
}

// The good answer changed by a fault. good is what the service would have answered.
Answer withFault(Fault fault, const Share& share, Answer good) {
    switch (fault) {
    case Fault::None: return good;
    case Fault::ErrorPage404: return notFound();
    case Fault::ErrorPage500:
        return htmlPage(500, "500 Internal Server Error", "The server could not complete your request.");
    case Fault::HtmlPage:
        return htmlPage(200, "Service notice", "This content is not available at the moment.");
    case Fault::EmptyBody: good.body.clear(); return good;
    case Fault::NoReply: good.delivery = Delivery::NoReply; return good;
    case Fault::EndlessBody: good.delivery = Delivery::Endless; return good;
    case Fault::ClosedMidBody: good.delivery = Delivery::ClosedMidBody; return good;
    case Fault::ResetMidBody: good.delivery = Delivery::ResetMidBody; return good;
    case Fault::LengthShorter: good.delivery = Delivery::LengthShorter; return good;
    case Fault::LengthLonger: good.delivery = Delivery::LengthLonger; return good;
    case Fault::Slow: good.delivery = Delivery::Slow; return good;
    case Fault::StallMidBody: good.delivery = Delivery::StallMidBody; return good;
    case Fault::Http09: good.delivery = Delivery::Http09; return good;
    case Fault::BrokenChunking: good.delivery = Delivery::BrokenChunking; return good;
    case Fault::NulInside:
        // After the low price, so that the text before the NUL still holds the six fields a lookup reads.
        good.body.insert(nthComma(good.body, 6), 1, '\0');
        return good;
    case Fault::NulFirst: good.body.insert(0, 1, '\0'); return good;
    case Fault::Exactly256:
        if (good.body.size() <= 256) good.body = quoteLine(share, 256 - good.body.size());
        return good;
    case Fault::LoneLeadByte: good.body.insert(nthComma(good.body, 1), 1, '\x81'); return good;
    case Fault::Utf8Name: {
        const std::size_t name = good.body.find("=\"") + 2;
        good.body.replace(name, nthComma(good.body, 1) - name, share.name);
        good.contentType = kUtf8QuoteType;
        return good;
    }
    case Fault::TruncatedGif: good.body.resize(good.body.size() / 2); return good;
    case Fault::BogusLarge: good.body = bogusPicture(); return good;
    }
    return good;
}

Answer answerQuote(std::string_view target) {
    constexpr std::string_view prefix = "/list=";
    if (target.substr(0, prefix.size()) != prefix) return notFound();
    const std::string_view symbols = target.substr(prefix.size());
    Answer good{200, kQuoteType, quoteAnswer(symbols)};
    // A fault belongs to a share asked for alone; in a longer list it answers its plain line.
    const Share* share = findShare(symbols);
    return share ? withFault(share->quoteFault, *share, std::move(good)) : good;
}

Answer answerChart(std::string_view target) {
    constexpr std::string_view prefix = "/newchart/", middle = "/n/", suffix = ".gif";
    if (target.substr(0, prefix.size()) != prefix) return notFound();
    target.remove_prefix(prefix.size());
    const std::size_t slash = target.find(middle);
    if (slash == std::string_view::npos) return notFound();
    const std::optional<Period> period = parsePeriod(target.substr(0, slash));
    std::string_view file = target.substr(slash + middle.size());
    if (!period || file.size() <= suffix.size() || file.substr(file.size() - suffix.size()) != suffix)
        return notFound();
    const Share* share = findShare(file.substr(0, file.size() - suffix.size()));
    if (!share) return notFound();
    return withFault(share->chartFault, *share, {200, kGifType, chartGif(*share, *period)});
}

}  // namespace

Answer answerRequest(Service service, std::string_view target) {
    return service == Service::Quote ? answerQuote(target) : answerChart(target);
}

Answer methodNotAllowed() {
    return htmlPage(405, "405 Method Not Allowed", "Only GET is served here.");
}

}  // namespace standin
