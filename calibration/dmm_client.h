#pragma once
// The bench multimeter over TCP: one connection, SCPI text commands, one reading per
// "READ?". Runs on the user-interface thread and blocks it while it waits; the waits go
// through the link clock, so tests can run them fast.

#include <array>
#include <string>
#include <string_view>

#include "core/event_log.h"
#include "link/link_clock.h"

namespace orv {

inline constexpr int kDmmPort = 5025;
inline constexpr int kDmmConnectLimitMs = 10000;
inline constexpr int kDmmSettleMs = 500;     // after the range commands, after "READ?"
inline constexpr int kDmmReplyWaitMs = 200;  // for the first bytes of the reply
inline constexpr int kDmmReplyCheckMs = 10;  // between looks for the reply
inline constexpr int kDmmReceiveBytes = 65536;

struct DmmRange {
    std::string_view text;
    std::string_view function;  // first command
    std::string_view range;     // second command
};

inline constexpr std::array<DmmRange, 13> kDmmRanges = {{
    {"1000V", "CONFigure:VOLTage:DC\n", "VOLTage:DC:RANGe 1000V\n"},
    {"100V", "CONFigure:VOLTage:DC\n", "VOLTage:DC:RANGe 100V\n"},
    {"10V", "CONFigure:VOLTage:DC\n", "VOLTage:DC:RANGe 10V\n"},
    {"1V", "CONFigure:VOLTage:DC\n", "VOLTage:DC:RANGe 1V\n"},
    {"100mV", "CONFigure:VOLTage:DC\n", "VOLTage:DC:RANGe 100mV\n"},
    {"3A", "CONFigure:CURRent:DC\n", "CURRent:DC:RANGe 3A\n"},
    {"1A", "CONFigure:CURRent:DC\n", "CURRent:DC:RANGe 1A\n"},
    {"100mA", "CONFigure:CURRent:DC\n", "CURRent:DC:RANGe 100mA\n"},
    {"10mA", "CONFigure:CURRent:DC\n", "CURRent:DC:RANGe 10mA\n"},
    {"1mA", "CONFigure:CURRent:DC\n", "CURRent:DC:RANGe 1mA\n"},
    {"100uA", "CONFigure:CURRent:DC\n", "CURRent:DC:RANGe 100uA\n"},
    {"10uA", "CONFigure:CURRent:DC\n", "CURRent:DC:RANGe 10uA\n"},
    {"1uA", "CONFigure:CURRent:DC\n", "CURRent:DC:RANGe 1uA\n"},
}};
inline constexpr int kDmmStartRangeIndex = 2;  // "10V"
inline constexpr std::string_view kDmmTrigger = "READ?\n";

// The socket, closed when the record goes; move-only so a record can be reset by
// assignment.
struct DmmSocket {
    int fd = -1;
    DmmSocket() = default;
    explicit DmmSocket(int handle) : fd(handle) {}
    DmmSocket(DmmSocket&& other) noexcept : fd(other.fd) { other.fd = -1; }
    DmmSocket& operator=(DmmSocket&& other) noexcept;
    DmmSocket(const DmmSocket&) = delete;
    DmmSocket& operator=(const DmmSocket&) = delete;
    ~DmmSocket();
};

struct DmmClient {
    DmmSocket DmmConnection;  // fd -1: none
    std::string DmmLastRange;
    double DmmReading = 0.0;
    int connectLimitMs = kDmmConnectLimitMs;
    // The last reply that was not a reading, as received; empty after a good one.
    std::string rejectedReply;
};

enum class DmmReadOutcome { Read, NoReply, Rejected, NotConnected };

bool DmmConnected(const DmmClient& dmm);

// "a.b.c.d" or "a.b.c.d:port" (port 5025 when none is given): a numeric IPv4 address,
// so no name lookup can hold the window past the limit. Waits at most `connectLimitMs` on the
// clock. True when connected; a client already connected keeps its connection.
bool DmmConnect(DmmClient& dmm, LinkClock& clock, std::string_view address);

// Configures `range` when it changed, triggers one reading and stores it in
// `DmmReading`. Without a connection: the "DMM not connected" box. A reply that is not
// a number in the layout leaves `DmmReading` as it was and is kept in `rejectedReply`.
DmmReadOutcome DmmRead(DmmClient& dmm, LinkClock& clock, EventLog& log, std::string_view range);

}  // namespace orv
