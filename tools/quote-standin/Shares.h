// The shares the stand-in service knows, and their quote lines in the public service's layout:
//   var hq_str_<symbol>="<name>,<open>,<previous close>,<price>,<high>,<low>,<bid>,<ask>,<volume>,
//   <amount>,<5 bid volume/price pairs>,<5 ask volume/price pairs>,<date>,<time>,00";
// followed by a line feed, with the name in GBK (in UTF-8 for one share of the fault block).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

// How an answer misbehaves. A share of the fault block carries one for its quote or its chart;
// the other of the two is answered normally.
enum class Fault {
    None,
    ErrorPage404,   // status 404 with an HTML page
    ErrorPage500,   // status 500 with an HTML page
    HtmlPage,       // status 200 with an HTML page where the answer should be
    EmptyBody,      // status 200, Content-Length 0
    NoReply,        // the request is read, the connection closed without a byte
    EndlessBody,    // no Content-Length; the answer repeats until the client goes away or a bound
    ClosedMidBody,  // full Content-Length, half the body, then a normal close
    ResetMidBody,   // full Content-Length, half the body, then a reset
    NulInside,      // a NUL byte right after the low price
    NulFirst,       // a NUL byte before the answer
    Exactly256,     // the answer padded to exactly 256 bytes
    LengthShorter,  // Content-Length half the body; the whole body is sent
    LengthLonger,   // Content-Length 1000 more than the body; the body, then close
    LoneLeadByte,   // a GBK lead byte without its trail byte right before the comma after the name
    Slow,           // the good answer after the slow delay
    StallMidBody,   // headers and half the body, the slow delay, then the rest
    Http09,         // the body alone: no status line, no headers
    BrokenChunking, // chunked transfer encoding with a chunk size that is not a number
    Utf8Name,       // the good answer with the name in UTF-8, as the public service sends nowadays
    TruncatedGif,   // the first half of the chart's GIF
    BogusLarge,     // 8 MiB of junk labelled image/gif
};

struct Share {
    const char* symbol;   // market prefix and six digits
    const char* name;     // UTF-8; sent in GBK
    int decimals;         // of every price below
    std::int64_t open, previousClose, price, high, low;  // in units of 10^-decimals
    std::int64_t volume;  // shares
    Fault quoteFault = Fault::None;
    Fault chartFault = Fault::None;
};

// The real shares first, then the fault block.
const std::vector<Share>& shares();
const Share* findShare(std::string_view symbol);

// A price in units of 10^-decimals as the service writes it, e.g. 1025 with 2 decimals: "10.25".
std::string formatPrice(std::int64_t units, int decimals);

std::string toGbk(std::string_view utf8);

// The share's line, name in GBK, ending in a line feed. amountPadding adds trailing zeros to the
// amount's decimals, which leaves its value alone but lengthens the line.
std::string quoteLine(const Share& share, std::size_t amountPadding = 0);
// What the service answers for a symbol it does not know.
std::string emptyQuoteLine(std::string_view symbol);

// The answer to /list=<symbols>: one line per comma-separated symbol, in the order asked.
std::string quoteAnswer(std::string_view symbols);

}  // namespace standin
