#include "calibration/dmm_client.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <optional>

#include "calibration/dmm_reply.h"

namespace orv {

namespace {

struct Endpoint {
    sockaddr_in address{};
};

std::optional<Endpoint> ParseEndpoint(std::string_view text) {
    int port = kDmmPort;
    const std::size_t colon = text.find(':');
    std::string_view host = text.substr(0, colon);
    if (colon != std::string_view::npos) {
        const std::string_view portText = text.substr(colon + 1);
        const auto [end, error] =
            std::from_chars(portText.data(), portText.data() + portText.size(), port);
        if (error != std::errc() || end != portText.data() + portText.size() || port < 1 ||
            port > 65535) {
            return std::nullopt;
        }
    }
    while (!host.empty() && host.front() == ' ')
        host.remove_prefix(1);
    while (!host.empty() && host.back() == ' ')
        host.remove_suffix(1);
    Endpoint endpoint;
    endpoint.address.sin_family = AF_INET;
    endpoint.address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (inet_pton(AF_INET, std::string(host).c_str(), &endpoint.address.sin_addr) != 1)
        return std::nullopt;
    return endpoint;
}

// Whether the socket has something to read (or was closed by the other side).
bool Readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

bool SendText(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t sent = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        text.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

// What has arrived, without waiting; false when the other side closed the connection.
bool ReceiveAvailable(int fd, std::string& into) {
    char buffer[kDmmReceiveBytes];
    while (Readable(fd)) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got < 0 && (errno == EINTR))
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        if (got <= 0)
            return false;
        into.append(buffer, static_cast<std::size_t>(got));
        if (into.size() >= kDmmReceiveBytes)
            return true;
    }
    return true;
}

const DmmRange* FindRange(std::string_view text) {
    const auto it = std::find_if(kDmmRanges.begin(), kDmmRanges.end(),
                                 [&](const DmmRange& range) { return range.text == text; });
    return it == kDmmRanges.end() ? nullptr : &*it;
}

void Disconnect(DmmClient& dmm) {
    dmm.DmmConnection = DmmSocket{};
    dmm.DmmLastRange.clear();
}

}  // namespace

DmmSocket& DmmSocket::operator=(DmmSocket&& other) noexcept {
    if (this != &other) {
        if (fd >= 0)
            ::close(fd);
        fd = other.fd;
        other.fd = -1;
    }
    return *this;
}

DmmSocket::~DmmSocket() {
    if (fd >= 0)
        ::close(fd);
}

bool DmmConnected(const DmmClient& dmm) {
    return dmm.DmmConnection.fd >= 0;
}

bool DmmConnect(DmmClient& dmm, LinkClock& clock, std::string_view address) {
    if (DmmConnected(dmm))
        return true;
    const std::optional<Endpoint> endpoint = ParseEndpoint(address);
    if (!endpoint)
        return false;
    DmmSocket socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.fd < 0)
        return false;
    const int noDelay = 1;
    ::setsockopt(socket.fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    if (::connect(socket.fd, reinterpret_cast<const sockaddr*>(&endpoint->address),
                  sizeof endpoint->address) != 0 &&
        errno != EINPROGRESS) {
        return false;
    }
    // Looks every 10 ms until connected, refused or the limit has passed.
    const std::int64_t start = NowMs(clock);
    for (;;) {
        pollfd p{socket.fd, POLLOUT, 0};
        if (::poll(&p, 1, 0) > 0) {
            int error = 0;
            socklen_t length = sizeof error;
            ::getsockopt(socket.fd, SOL_SOCKET, SO_ERROR, &error, &length);
            if (error != 0)
                return false;
            break;
        }
        if (NowMs(clock) - start > dmm.connectLimitMs)
            return false;
        SleepMs(clock, kDmmReplyCheckMs);
    }
    dmm.DmmConnection = std::move(socket);
    dmm.DmmLastRange.clear();
    return true;
}

DmmReadOutcome DmmRead(DmmClient& dmm, LinkClock& clock, EventLog& log, std::string_view range) {
    if (!DmmConnected(dmm)) {
        WriteLogLine(log, "DMM not connected");
        if (log.dialogs != nullptr)
            log.dialogs->ShowMessageBox("Error", "DMM not connected", ui::BoxIcon::Error);
        return DmmReadOutcome::NotConnected;
    }
    const int fd = dmm.DmmConnection.fd;
    // A reply that came too late for an earlier read must not pass for this one.
    std::string stale;
    if (!ReceiveAvailable(fd, stale)) {
        Disconnect(dmm);
        return DmmReadOutcome::NoReply;
    }
    const DmmRange* entry = FindRange(range);
    if (entry != nullptr && range != dmm.DmmLastRange) {
        dmm.DmmLastRange = std::string(range);
        SendText(fd, entry->function);
        SendText(fd, entry->range);
        SleepMs(clock, kDmmSettleMs);
    }
    SendText(fd, kDmmTrigger);
    SleepMs(clock, kDmmSettleMs);

    // The first bytes within 200 ms; then the rest of the line, which may come in more
    // packets, within 200 ms more.
    std::string reply;
    bool open = true;
    for (const std::int64_t noted = NowMs(clock);;) {
        open = ReceiveAvailable(fd, reply);
        if (!reply.empty() || !open || NowMs(clock) - noted > kDmmReplyWaitMs)
            break;
        SleepMs(clock, kDmmReplyCheckMs);
    }
    for (const std::int64_t first = NowMs(clock);
         open && !reply.empty() && reply.find('\n') == std::string::npos;) {
        if (NowMs(clock) - first > kDmmReplyWaitMs)
            break;
        SleepMs(clock, kDmmReplyCheckMs);
        open = ReceiveAvailable(fd, reply);
    }
    if (!open)
        Disconnect(dmm);
    if (reply.empty())
        return DmmReadOutcome::NoReply;
    // One reply, ended by its line feed; without one it was cut short.
    const std::optional<double> value = reply.back() == '\n' ? ParseDmmReply(reply) : std::nullopt;
    if (!value) {
        dmm.rejectedReply = reply;
        return DmmReadOutcome::Rejected;
    }
    dmm.rejectedReply.clear();
    dmm.DmmReading = *value;
    return DmmReadOutcome::Read;
}

}  // namespace orv
