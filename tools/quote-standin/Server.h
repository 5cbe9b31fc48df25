// The stand-in quote and chart services on 127.0.0.1: one port each, one thread per connection,
// plain sockets so that every way of misbehaving (resets, lying lengths, endless bodies) is in reach.
// Every connection is bounded in time and every endless body in size, and stop() ends them all.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "tools/quote-standin/Answers.h"

namespace standin {

// A socket listening on 127.0.0.1 at that port (0: one the system chooses); throws when it cannot.
int listenOn(int port);
// The port a socket is bound to.
int boundPort(int fd);

struct ServerOptions {
    int quotePort = 18080;  // 0: any free port
    int chartPort = 18081;
    std::string logPath;    // one line per request: time, port, target; empty: no log
    std::chrono::milliseconds slow{2000};
    std::size_t endlessBytes = 64u << 20;
    std::chrono::milliseconds connectionLimit{60000};
};

class Server {
public:
    explicit Server(ServerOptions options);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Binds both ports and starts serving; throws std::runtime_error when it cannot.
    void start();
    // Ends every connection at once and waits for them.
    void stop();

    int quotePort() const { return ports_[0]; }
    int chartPort() const { return ports_[1]; }
    int openConnections() const { return open_.load(); }

private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    class Connection;

    void acceptLoop();
    void reapWorkers(bool all);
    void serve(int fd, Service service, int port);
    void deliver(Connection& connection, const Answer& answer);
    void logRequest(int port, const std::string& target);

    ServerOptions options_;
    int listeners_[2] = {-1, -1};
    int ports_[2] = {0, 0};
    int wake_[2] = {-1, -1};  // written once by stop(); never drained, so every poll sees it
    std::thread acceptThread_;
    std::list<Worker> workers_;
    std::atomic<int> open_{0};
    std::mutex logMutex_;
    std::FILE* log_ = nullptr;
};

}  // namespace standin
