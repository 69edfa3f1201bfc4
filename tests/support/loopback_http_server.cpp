#include "support/loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace orv::test {

namespace {

constexpr int kTurnMs = 20;
// Requests of the program under test are a few hundred bytes; a longer one is cut.
constexpr std::size_t kMaxRequestBytes = 16 * 1024;
constexpr auto kRequestTimeLimit = std::chrono::seconds(2);

bool WaitReadable(int fd, int ms) {
    pollfd entry{fd, POLLIN, 0};
    return poll(&entry, 1, ms) > 0;
}

std::string ReasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 404:
            return "Not Found";
        default:
            return "Status";
    }
}

void SendAll(int fd, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        sent += static_cast<std::size_t>(n);
    }
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(HttpReply reply) : reply_(std::move(reply)) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    if (listener_ < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // any free port
    socklen_t length = sizeof address;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 8) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(listener_);
        listener_ = -1;
        return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    for (const int client : silentClients_)
        close(client);
    if (listener_ >= 0)
        close(listener_);
}

std::string LoopbackHttpServer::Host() const {
    return listener_ < 0 ? std::string() : "127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> LoopbackHttpServer::RequestLines() const {
    const std::lock_guard lock(mutex_);
    return requestLines_;
}

void LoopbackHttpServer::Serve() {
    while (!stop_) {
        if (!WaitReadable(listener_, kTurnMs))
            continue;
        const int client = accept(listener_, nullptr, nullptr);
        if (client < 0)
            continue;
        ++connections_;
        Answer(client);
    }
}

void LoopbackHttpServer::Answer(int client) {
    std::string request;
    const auto until = std::chrono::steady_clock::now() + kRequestTimeLimit;
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < kMaxRequestBytes &&
           std::chrono::steady_clock::now() < until && !stop_) {
        if (!WaitReadable(client, kTurnMs))
            continue;
        char buffer[1024];
        const ssize_t n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        request.append(buffer, static_cast<std::size_t>(n));
    }
    {
        const std::lock_guard lock(mutex_);
        requestLines_.push_back(request.substr(0, request.find("\r\n")));
    }
    if (!reply_.answer) {
        silentClients_.push_back(client);
        return;
    }
    SendAll(client,
            "HTTP/1.1 " + std::to_string(reply_.status) + " " + ReasonPhrase(reply_.status) +
                "\r\nContent-Type: text/html\r\nContent-Length: " +
                std::to_string(reply_.body.size()) + "\r\nConnection: close\r\n\r\n" + reply_.body);
    close(client);
}

}  // namespace orv::test
