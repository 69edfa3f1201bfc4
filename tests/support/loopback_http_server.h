#pragma once
// A small HTTP server on 127.0.0.1 for tests: every connection gets the same reply,
// or none at all, and the server remembers the request lines it received. It runs on
// its own thread until it is destroyed.

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orv::test {

struct HttpReply {
    int status = 200;
    std::string body;
    bool answer = true;  // false: the connection is accepted and then left silent
};

class LoopbackHttpServer {
public:
    explicit LoopbackHttpServer(HttpReply reply);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    // "127.0.0.1:<port>"; empty when the server could not be set up.
    std::string Host() const;
    int Connections() const { return connections_; }
    // Such as "GET /pages/XRM7LT HTTP/1.1", in the order they came.
    std::vector<std::string> RequestLines() const;

private:
    void Serve();
    void Answer(int client);

    HttpReply reply_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_ = false;
    std::atomic<int> connections_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::string> requestLines_;
    std::vector<int> silentClients_;  // the server thread's own
    std::thread thread_;
};

}  // namespace orv::test
