// quote-standin: the stand-in quote and chart services for the tests and for a local run of stock.
//   quote-standin [--quote-port N] [--chart-port N] [--log FILE] [--slow-ms N]
// Listens on 127.0.0.1 only, prints one line when both ports are ready, ends on SIGTERM or SIGINT.
#include <pthread.h>
#include <signal.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "tools/quote-standin/Server.h"

namespace {

const char kUsage[] = "usage: quote-standin [--quote-port N] [--chart-port N] [--log FILE] [--slow-ms N]\n";

bool parseNumber(const char* text, long low, long high, long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

bool parseArguments(int argc, char** argv, standin::ServerOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        long number = 0;
        if (name == "--log") options.logPath = value;
        else if (name == "--quote-port" && parseNumber(value, 0, 65535, number)) options.quotePort = int(number);
        else if (name == "--chart-port" && parseNumber(value, 0, 65535, number)) options.chartPort = int(number);
        else if (name == "--slow-ms" && parseNumber(value, 0, 600000, number))
            options.slow = std::chrono::milliseconds(number);
        else return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    standin::ServerOptions options;
    if (!parseArguments(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    // Blocked before any thread starts, so that only sigwait below receives them.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGTERM);
    sigaddset(&endSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    standin::Server server(options);
    try {
        server.start();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quote-standin: %s\n", e.what());
        return 1;
    }
    std::printf("quote-standin: quotes on 127.0.0.1:%d, charts on 127.0.0.1:%d\n", server.quotePort(),
                server.chartPort());
    std::fflush(stdout);

    int received = 0;
    sigwait(&endSignals, &received);
    server.stop();
    return 0;
}
