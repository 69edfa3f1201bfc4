#include "calibration/sim_multimeter.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "calibration/dmm_client.h"

namespace orv {

namespace {

// The server sleeps until traffic comes or its end is asked for (stopFd); the limit
// is only a safety net.
constexpr int kPollMs = 1000;

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

double RangeFullScale(const std::string& range) {
    for (const DmmRange& entry : kDmmRanges) {
        if (Upper(std::string(entry.text)) != Upper(range))
            continue;
        const std::string text(entry.text);
        const double number = std::atof(text.c_str());
        if (text.find('m') != std::string::npos)
            return number / 1000.0;
        if (text.find('u') != std::string::npos)
            return number / 1.0e6;
        return number;
    }
    return 1000.0;
}

void SendAll(int fd, const std::string& text) {
    std::size_t at = 0;
    while (at < text.size()) {
        const ssize_t sent = ::send(fd, text.data() + at, text.size() - at, MSG_NOSIGNAL);
        if (sent <= 0)
            return;
        at += static_cast<std::size_t>(sent);
    }
}

void Answer(SimMultimeter& meter, int fd, const std::string& line) {
    std::string reply;
    SimMultimeterFaults faults;
    {
        std::lock_guard lock(meter.mutex);
        meter.commands.push_back(line);
        const std::string upper = Upper(line);
        const std::size_t rangeAt = upper.find(":RANG");
        if (rangeAt != std::string::npos) {
            const std::size_t blank = line.find(' ', rangeAt);
            if (blank != std::string::npos)
                meter.range = line.substr(blank + 1);
        }
        if (upper != "READ?")
            return;
        faults = meter.faults;
        if (faults.noReply)
            return;
        if (!faults.cannedReply.empty()) {
            reply = faults.cannedReply;
        } else {
            std::normal_distribution<double> gaussian(0.0, meter.noiseVolts);
            const double volts = (meter.measure ? meter.measure() : 0.0) + gaussian(meter.noise);
            reply = FormatMeterReply(volts, meter.range);
        }
    }
    if (faults.splitReply && reply.size() > 6) {
        SendAll(fd, reply.substr(0, 6));
        std::this_thread::sleep_for(std::chrono::milliseconds(faults.splitGapMs));
        SendAll(fd, reply.substr(6));
    } else {
        SendAll(fd, reply);
    }
}

void Serve(SimMultimeter& meter) {
    int client = -1;
    std::string pending;
    while (!meter.stop) {
        pollfd fds[3] = {
            {meter.listenFd, POLLIN, 0}, {meter.stopFd, POLLIN, 0}, {client, POLLIN, 0}};
        if (::poll(fds, client >= 0 ? 3 : 2, kPollMs) <= 0 || meter.stop)
            continue;
        if ((fds[0].revents & POLLIN) != 0) {
            const int accepted = ::accept4(meter.listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (accepted >= 0) {
                // One client at a time: a new connection replaces the old one.
                if (client >= 0)
                    ::close(client);
                client = accepted;
                pending.clear();
                const int noDelay = 1;
                ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
            }
            continue;
        }
        if (client < 0 || (fds[2].revents & (POLLIN | POLLHUP | POLLERR)) == 0)
            continue;
        char buffer[4096];
        const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) {
            ::close(client);
            client = -1;
            continue;
        }
        pending.append(buffer, static_cast<std::size_t>(got));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            Answer(meter, client, line);
        }
    }
    if (client >= 0)
        ::close(client);
}

}  // namespace

SimMultimeter::~SimMultimeter() {
    stop = true;
    if (stopFd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(stopFd, &one, sizeof one);
    }
    if (thread.joinable())
        thread.join();
    if (listenFd >= 0)
        ::close(listenFd);
    if (stopFd >= 0)
        ::close(stopFd);
}

std::unique_ptr<SimMultimeter> StartSimMultimeter(std::function<double()> measure, int port) {
    auto meter = std::make_unique<SimMultimeter>();
    meter->measure = std::move(measure);
    meter->stopFd = ::eventfd(0, EFD_CLOEXEC);
    meter->listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (meter->listenFd < 0)
        return nullptr;
    const int reuse = 1;
    ::setsockopt(meter->listenFd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::bind(meter->listenFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(meter->listenFd, 4) != 0) {
        return nullptr;
    }
    socklen_t length = sizeof address;
    ::getsockname(meter->listenFd, reinterpret_cast<sockaddr*>(&address), &length);
    meter->port = ntohs(address.sin_port);
    SimMultimeter& running = *meter;
    meter->thread = std::thread([&running] { Serve(running); });
    return meter;
}

std::string SimMultimeterAddress(const SimMultimeter& meter) {
    return "127.0.0.1:" + std::to_string(meter.port);
}

void SetSimMultimeterFaults(SimMultimeter& meter, const SimMultimeterFaults& faults) {
    std::lock_guard lock(meter.mutex);
    meter.faults = faults;
}

void SetSimMultimeterNoise(SimMultimeter& meter, double rmsVolts) {
    std::lock_guard lock(meter.mutex);
    meter.noiseVolts = rmsVolts;
}

std::vector<std::string> ReceivedCommands(const SimMultimeter& meter) {
    std::lock_guard lock(meter.mutex);
    return meter.commands;
}

std::string FormatMeterReply(double volts, const std::string& range) {
    if (!std::isfinite(volts) || std::fabs(volts) > 1.2 * RangeFullScale(range))
        volts = 9.9e37;
    char text[32];
    std::snprintf(text, sizeof text, "%+.8E\n", volts);
    return text;
}

}  // namespace orv
