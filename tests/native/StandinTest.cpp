// What the end-to-end tests do not show of the stand-in service: that it stops at once whatever
// its answers are doing. Its answers and charts are what the end-to-end lookups read.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "tools/quote-standin/Server.h"

namespace standin {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Connects and asks; the client never reads, so an endless answer ends up waiting on a full socket.
int ask(int port, const std::string& target) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    const std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    return fd;
}

TEST(StandinBounds, StopEndsSlowAndEndlessAnswersAtOnce) {
    ServerOptions options;
    options.quotePort = options.chartPort = 0;
    options.slow = 60s;
    options.endlessBytes = std::size_t(1) << 40;
    Server server(options);
    server.start();
    // A slow answer, one stalled in its middle, a slow chart and an endless answer.
    const int clients[] = {ask(server.quotePort(), "/list=sh999014"), ask(server.quotePort(), "/list=sh999015"),
                           ask(server.chartPort(), "/newchart/min/n/sh999105.gif"),
                           ask(server.quotePort(), "/list=sh999005")};
    const auto until = Clock::now() + 3s;
    while (server.openConnections() < 4 && Clock::now() < until) std::this_thread::sleep_for(10ms);
    ASSERT_EQ(server.openConnections(), 4);

    const auto started = Clock::now();
    server.stop();
    EXPECT_LT(Clock::now() - started, 2s);
    EXPECT_EQ(server.openConnections(), 0);
    for (int fd : clients) close(fd);
}

}  // namespace
}  // namespace standin
