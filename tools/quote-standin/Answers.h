// What the two stand-in services answer to a request target, and how the answer is to go over the
// wire. Decided here without sockets; the server only carries it out.
#pragma once

#include <string>
#include <string_view>

namespace standin {

enum class Service { Quote, Chart };

enum class Delivery {
    Normal,         // status line, headers with the true Content-Length, body, close
    NoReply,        // close without sending anything
    Endless,        // no Content-Length; the body repeated until the client goes away or a bound
    ClosedMidBody,  // the true Content-Length, the first half of the body, close
    ResetMidBody,   // the true Content-Length, the first half of the body, reset
    LengthShorter,  // Content-Length half the body, the whole body, close
    LengthLonger,   // Content-Length 1000 more than the body, the body, close
    Slow,           // the slow delay, then as Normal
    StallMidBody,   // headers and the first half of the body, the slow delay, the rest
    Http09,         // the body alone, close
    BrokenChunking, // chunked, with a chunk size that is not a number
};

struct Answer {
    int status = 200;
    std::string contentType;
    std::string body;
    Delivery delivery = Delivery::Normal;
};

// target is the request target as sent: "/list=sh600000,sz000001" on the quote service,
// "/newchart/daily/n/sh600000.gif" on the chart service.
Answer answerRequest(Service service, std::string_view target);

// What a request with any method but GET gets.
Answer methodNotAllowed();

}  // namespace standin
