#include "tools/quote-standin/Server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <optional>
#include <stdexcept>

namespace standin {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMostConnections = 64;
constexpr std::size_t kLongestRequest = 16 * 1024;

std::string reasonPhrase(int status) {
    switch (status) {
    case 200: return "OK";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 500: return "Internal Server Error";
    }
    return "Unknown";
}

std::string head(const Answer& answer, std::optional<std::size_t> contentLength,
                 const char* extraHeader = nullptr) {
    std::string h = "HTTP/1.1 " + std::to_string(answer.status) + " " + reasonPhrase(answer.status) + "\r\n";
    h += "Content-Type: " + answer.contentType + "\r\n";
    if (contentLength) h += "Content-Length: " + std::to_string(*contentLength) + "\r\n";
    if (extraHeader) h += std::string(extraHeader) + "\r\n";
    h += "Cache-Control: no-cache\r\nConnection: close\r\n\r\n";
    return h;
}

std::runtime_error systemError(const std::string& what) {
    return std::runtime_error(what + ": " + std::strerror(errno));
}

// Control characters would break the one-line-per-request promise of the log.
std::string printable(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return out;
}

}  // namespace

int listenOn(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw systemError("socket");
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 64) != 0) {
        std::runtime_error error = systemError("cannot listen on 127.0.0.1:" + std::to_string(port));
        close(fd);
        throw error;
    }
    return fd;
}

int boundPort(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

// One accepted socket with the time it may still take. Every wait also watches the stop pipe,
// so that stop() ends a slow, stalled or endless answer at once.
class Server::Connection {
public:
    Connection(int fd, int wakeFd, std::chrono::milliseconds limit)
        : fd_(fd), wakeFd_(wakeFd), deadline_(Clock::now() + limit) {}
    ~Connection() {
        if (fd_ >= 0) close(fd_);
    }

    // The request head, up to its empty line; false when the client goes away or sends too much.
    bool readRequest(std::string& request) {
        char buffer[2048];
        while (request.find("\r\n\r\n") == std::string::npos && request.find("\n\n") == std::string::npos) {
            if (request.size() > kLongestRequest || !wait(POLLIN, deadline_)) return false;
            const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) return false;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        return true;
    }

    bool send(std::string_view data) {
        while (!data.empty()) {
            if (!wait(POLLOUT, deadline_)) return false;
            const ssize_t n = ::send(fd_, data.data(), data.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
            if (n <= 0) return false;
            data.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    // False when the server is stopping.
    bool pause(std::chrono::milliseconds duration) {
        pollfd wake{wakeFd_, POLLIN, 0};
        const auto until = std::min(Clock::now() + duration, deadline_);
        while (Clock::now() < until) {
            if (poll(&wake, 1, remainingMs(until)) > 0) return false;
        }
        return Clock::now() < deadline_;
    }

    bool expired() const { return Clock::now() >= deadline_; }

    // Sends the end of the data and waits briefly for the client to close, so that no unread byte
    // of ours turns the close into a reset.
    void closeGracefully() {
        shutdown(fd_, SHUT_WR);
        const auto until = std::min(Clock::now() + std::chrono::seconds(1), deadline_);
        char scratch[1024];
        while (wait(POLLIN, until) && recv(fd_, scratch, sizeof scratch, 0) > 0) {
        }
        close(fd_);
        fd_ = -1;
    }

    // Closes with a reset rather than the end of the data.
    void reset() {
        const linger abort{1, 0};
        setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        close(fd_);
        fd_ = -1;
    }

private:
    static int remainingMs(Clock::time_point until) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        return static_cast<int>(std::max<long long>(0, std::min<long long>(left, 1000)));
    }

    // True when the socket is ready for `events` before `until` and the server is not stopping.
    bool wait(short events, Clock::time_point until) {
        pollfd fds[2] = {{fd_, events, 0}, {wakeFd_, POLLIN, 0}};
        while (Clock::now() < until) {
            const int ready = poll(fds, 2, remainingMs(until));
            if (ready < 0 && errno != EINTR) return false;
            if (fds[1].revents) return false;
            if (fds[0].revents) return true;
        }
        return false;
    }

    int fd_;
    int wakeFd_;
    Clock::time_point deadline_;
};

Server::Server(ServerOptions options) : options_(std::move(options)) {}

Server::~Server() { stop(); }

void Server::start() {
    try {
        if (!options_.logPath.empty()) {
            log_ = std::fopen(options_.logPath.c_str(), "a");
            if (!log_) throw systemError("cannot open the log " + options_.logPath);
        }
        if (pipe2(wake_, O_CLOEXEC) != 0) throw systemError("pipe");
        listeners_[0] = listenOn(options_.quotePort);
        listeners_[1] = listenOn(options_.chartPort);
    } catch (...) {
        stop();
        throw;
    }
    ports_[0] = boundPort(listeners_[0]);
    ports_[1] = boundPort(listeners_[1]);
    acceptThread_ = std::thread([this] { acceptLoop(); });
}

void Server::stop() {
    if (wake_[1] >= 0) {
        const char byte = 0;
        while (write(wake_[1], &byte, 1) < 0 && errno == EINTR) {
        }
    }
    if (acceptThread_.joinable()) acceptThread_.join();
    for (int& fd : listeners_)
        if (fd >= 0) close(fd), fd = -1;
    for (int& fd : wake_)
        if (fd >= 0) close(fd), fd = -1;
    if (log_) std::fclose(log_), log_ = nullptr;
}

void Server::acceptLoop() {
    for (;;) {
        pollfd fds[3] = {{listeners_[0], POLLIN, 0}, {listeners_[1], POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (poll(fds, 3, 500) < 0 && errno != EINTR) break;
        reapWorkers(false);
        if (fds[2].revents) break;
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & POLLIN)) continue;
            const int fd = accept4(listeners_[i], nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) continue;
            if (open_.load() >= kMostConnections) {
                close(fd);
                continue;
            }
            const Service service = i == 0 ? Service::Quote : Service::Chart;
            auto done = std::make_shared<std::atomic<bool>>(false);
            ++open_;
            workers_.push_back({std::thread([this, fd, service, port = ports_[i], done] {
                                    serve(fd, service, port);
                                    --open_;
                                    *done = true;
                                }),
                                done});
        }
    }
    reapWorkers(true);
}

void Server::reapWorkers(bool all) {
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (all || *it->done) {
            it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}

void Server::serve(int fd, Service service, int port) {
    Connection connection(fd, wake_[0], options_.connectionLimit);
    std::string request;
    if (!connection.readRequest(request)) return;
    const std::string line = request.substr(0, request.find_first_of("\r\n"));
    const std::size_t space = line.find(' ');
    const std::string method = line.substr(0, space);
    const std::string target =
        space == std::string::npos ? "" : line.substr(space + 1, line.find(' ', space + 1) - space - 1);
    logRequest(port, target);

    Answer answer;
    try {
        answer = method == "GET" ? answerRequest(service, target) : methodNotAllowed();
    } catch (const std::exception& e) {
        answer = {500, "text/plain", std::string("the stand-in failed: ") + e.what() + "\n"};
    }
    deliver(connection, answer);
}

void Server::deliver(Connection& connection, const Answer& answer) {
    const std::string& body = answer.body;
    const std::string_view firstHalf = std::string_view(body).substr(0, body.size() / 2);
    const std::string_view secondHalf = std::string_view(body).substr(body.size() / 2);
    auto& c = connection;

    // Each step runs only when the one before it went through.
    switch (answer.delivery) {
    case Delivery::Normal: c.send(head(answer, body.size())) && c.send(body); break;
    case Delivery::NoReply: break;
    case Delivery::Slow: c.pause(options_.slow) && c.send(head(answer, body.size())) && c.send(body); break;
    case Delivery::ClosedMidBody: c.send(head(answer, body.size())) && c.send(firstHalf); break;
    case Delivery::ResetMidBody:
        // The pause lets the first half arrive before the reset overtakes it.
        c.send(head(answer, body.size())) && c.send(firstHalf) && c.pause(std::chrono::milliseconds(100));
        c.reset();
        return;
    case Delivery::LengthShorter:
        // In one write: Wine's reader takes what has arrived past the Content-Length, and a body sent
        // after the head would make how much that is a matter of timing.
        c.send(head(answer, body.size() / 2) + body);
        break;
    case Delivery::LengthLonger: c.send(head(answer, body.size() + 1000)) && c.send(body); break;
    case Delivery::StallMidBody:
        c.send(head(answer, body.size())) && c.send(firstHalf) && c.pause(options_.slow) && c.send(secondHalf);
        break;
    case Delivery::Http09: c.send(body); break;
    case Delivery::BrokenChunking:
        c.send(head(answer, std::nullopt, "Transfer-Encoding: chunked")) && c.send("zz\r\n") && c.send(body) &&
            c.send("\r\n0\r\n\r\n");
        break;
    case Delivery::Endless: {
        if (!c.send(head(answer, std::nullopt)) || body.empty()) break;
        std::string chunk;
        while (chunk.size() < 64 * 1024) chunk += body;
        for (std::size_t sent = 0; sent < options_.endlessBytes && !c.expired();) {
            const std::size_t n = std::min(chunk.size(), options_.endlessBytes - sent);
            if (!c.send(std::string_view(chunk).substr(0, n))) break;
            sent += n;
        }
        break;
    }
    }
    c.closeGracefully();
}

void Server::logRequest(int port, const std::string& target) {
    if (!log_) return;
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const long long ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
    std::lock_guard<std::mutex> lock(logMutex_);
    std::fprintf(log_, "%s.%03lld %d %s\n", stamp, ms, port, printable(target).c_str());
    std::fflush(log_);
}

}  // namespace standin
