// What the end-to-end tests do not show of the stand-in service: that it stops at once whatever
// its answers are doing, that its start/stop script fails rather than passes for a
// service that is not there, and that its README names every fault it plays. Its answers and charts
// are what the end-to-end lookups read.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tools/quote-standin/Server.h"
#include "tools/quote-standin/Shares.h"

namespace standin {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

int connectTo(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return fd;
}

// Sends one request and reads the whole reply (or 32 MiB, or 10 s).
std::string fetch(int port, const std::string& target) {
    std::string reply;
    const int fd = connectTo(port);
    timeval timeout{10, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    const std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    char buffer[65536];
    while (reply.size() < (32u << 20)) {
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        reply.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return reply;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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
        clients.emplace_back([&, symbol] { fetch(server.quotePort(), std::string("/list=") + symbol); });
    clients.emplace_back([&] { fetch(server.chartPort(), "/newchart/min/n/sh999105.gif"); });
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

int runScript(const std::string& command, const std::string& log, int quotePort, int chartPort) {
    setenv("QUOTE_STANDIN", QUOTE_STANDIN_BINARY, 1);
    const std::string line = std::string(STANDIN_SOURCE_DIR) + "/service " + command + " " + log +
                             (command == "start" ? " " + std::to_string(quotePort) + " " + std::to_string(chartPort) : "") +
                             " 2>/dev/null";
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(StandinService, StartsOnlyWhatCanServeAndStopsIt) {
    const std::string log = (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : std::string("/tmp")) +
                            "/standin-" + std::to_string(getpid()) + ".log";
    std::remove(log.c_str());
    // Two ports that were free a moment ago, and one held by another socket.
    const int a = listenOn(0), b = listenOn(0), taken = listenOn(0);
    const int quotePort = boundPort(a), chartPort = boundPort(b);
    close(a);
    close(b);

    auto started = Clock::now();
    EXPECT_NE(runScript("start", log, quotePort, boundPort(taken)), 0) << "a port held by another is no service";
    EXPECT_LT(Clock::now() - started, 5s);
    EXPECT_EQ(readFile(log + ".pid"), "");
    close(taken);

    ASSERT_EQ(runScript("start", log, quotePort, chartPort), 0);
    const pid_t pid = std::atoi(readFile(log + ".pid").c_str());
    ASSERT_GT(pid, 0);
    const std::string reply = fetch(quotePort, "/list=sh600000");
    EXPECT_EQ(reply.substr(reply.find("\r\n\r\n") + 4), quoteLine(*findShare("sh600000")));
    EXPECT_NE(runScript("start", log, quotePort, chartPort), 0) << "a second start for the same log";

    EXPECT_EQ(runScript("stop", log, 0, 0), 0);
    EXPECT_FALSE(kill(pid, 0) == 0 && !readFile("/proc/" + std::to_string(pid) + "/cmdline").empty());
    EXPECT_EQ(readFile(log + ".pid"), "") << "the pid file is gone";
    EXPECT_EQ(runScript("stop", log, 0, 0), 0) << "stopping twice is harmless";
    for (const char* suffix : {"", ".out"}) std::remove((log + suffix).c_str());
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
