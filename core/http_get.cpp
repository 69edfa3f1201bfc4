#include "core/http_get.h"

#include <curl/curl.h>

namespace orv {

namespace {

// A release page is a few kilobytes; a server that sends without end is cut off here
// rather than filling the memory until the time limit.
constexpr std::size_t kMaxBodyBytes = 16 * 1024 * 1024;

std::size_t AppendToBody(char* data, std::size_t size, std::size_t count, void* target) {
    auto& body = *static_cast<std::string*>(target);
    const std::size_t bytes = size * count;
    if (body.size() + bytes > kMaxBodyBytes)
        return 0;  // the library ends the transfer as failed
    body.append(data, bytes);
    return bytes;
}

}  // namespace

struct HttpGetHandles {
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    bool added = false;
    HttpGetState outcome = HttpGetState::Running;  // kept once the request has ended

    HttpGetHandles() = default;
    HttpGetHandles(const HttpGetHandles&) = delete;
    HttpGetHandles& operator=(const HttpGetHandles&) = delete;
    ~HttpGetHandles() {
        if (added)
            curl_multi_remove_handle(multi, easy);
        if (easy != nullptr)
            curl_easy_cleanup(easy);
        if (multi != nullptr)
            curl_multi_cleanup(multi);
    }
};

HttpGet::HttpGet() = default;
HttpGet::~HttpGet() = default;

bool StartHttpGet(HttpGet& get, const std::string& address, int timeLimitMs) {
    ReleaseHttpGet(get);
    get.body.clear();
    auto handles = std::make_unique<HttpGetHandles>();
    handles->multi = curl_multi_init();
    handles->easy = curl_easy_init();
    if (handles->multi == nullptr || handles->easy == nullptr)
        return false;
    CURL* easy = handles->easy;
    const bool configured =
        curl_easy_setopt(easy, CURLOPT_URL, address.c_str()) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http") == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L) == CURLE_OK &&
        // The program has a second thread: no alarm signals for name look-ups.
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(timeLimitMs)) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, AppendToBody) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, &get.body) == CURLE_OK;
    if (!configured || curl_multi_add_handle(handles->multi, easy) != CURLM_OK)
        return false;
    handles->added = true;
    get.handles = std::move(handles);
    return true;
}

HttpGetState PollHttpGet(HttpGet& get) {
    if (get.handles == nullptr)
        return HttpGetState::Failed;
    HttpGetHandles& handles = *get.handles;
    if (handles.outcome != HttpGetState::Running)
        return handles.outcome;
    int running = 0;
    if (curl_multi_perform(handles.multi, &running) != CURLM_OK) {
        handles.outcome = HttpGetState::Failed;
        return handles.outcome;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(handles.multi, &queued)) {
        if (message->msg == CURLMSG_DONE) {
            handles.outcome =
                message->data.result == CURLE_OK ? HttpGetState::Done : HttpGetState::Failed;
        }
    }
    if (handles.outcome == HttpGetState::Running && running == 0)
        handles.outcome = HttpGetState::Failed;
    return handles.outcome;
}

void ReleaseHttpGet(HttpGet& get) {
    get.handles.reset();
}

}  // namespace orv
