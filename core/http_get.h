#pragma once
// One HTTP GET with the response kept in memory, run a step at a time so that the
// caller can keep its window painting between steps. The status line is not judged:
// a page that arrives is a page, whatever its status.

#include <memory>
#include <string>

namespace orv {

enum class HttpGetState { Running, Done, Failed };

struct HttpGetHandles;  // the library's handles, known only to the implementation

struct HttpGet {
    HttpGet();
    ~HttpGet();
    HttpGet(const HttpGet&) = delete;
    HttpGet& operator=(const HttpGet&) = delete;

    std::unique_ptr<HttpGetHandles> handles;  // null while no request is under way
    std::string body;
};

// Starts the request; it fails by itself once `timeLimitMs` have passed. False when it
// cannot be started.
bool StartHttpGet(HttpGet& get, const std::string& address, int timeLimitMs);

// Moves the request on as far as it goes without waiting. Done once the whole
// response is in `body`; Failed when the server cannot be reached, the connection
// breaks or the time is up.
HttpGetState PollHttpGet(HttpGet& get);

// Ends the request and lets its connection go; the body stays.
void ReleaseHttpGet(HttpGet& get);

}  // namespace orv
