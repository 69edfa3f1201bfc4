#pragma once
// A simulated bench multimeter: a small SCPI server on 127.0.0.1 that answers "READ?"
// with the voltage at its leads, in the usual layout ("+1.00000000E+01"), with a little
// noise. It stands behind the calibration window in tests and with `orv --simulator`.
// Faults for tests: no reply, a reply of its choosing, a reply in two packets.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace orv {

struct SimMultimeterFaults {
    bool noReply = false;     // "READ?" goes unanswered
    std::string cannedReply;  // sent instead of the reading when not empty
    bool splitReply = false;  // the reply leaves in two packets, `splitGapMs` apart
    int splitGapMs = 5;
};

struct SimMultimeter {
    std::function<double()> measure;  // volts at the leads; called on the server's thread
    int port = 0;

    mutable std::mutex mutex;   // guards the fields below
    double noiseVolts = 20e-6;  // rms
    SimMultimeterFaults faults;
    std::vector<std::string> commands;  // every command line received, in order
    std::string range = "10V";
    std::mt19937_64 noise{20261210};

    int listenFd = -1;
    int stopFd = -1;  // an eventfd that ends the server's wait for traffic
    std::atomic<bool> stop{false};
    std::thread thread;

    SimMultimeter() = default;
    SimMultimeter(const SimMultimeter&) = delete;
    SimMultimeter& operator=(const SimMultimeter&) = delete;
    ~SimMultimeter();
};

// Listens on 127.0.0.1:`port` (0: a free port, then in `port`) and serves one client at
// a time until destroyed. Null when the port cannot be had.
std::unique_ptr<SimMultimeter> StartSimMultimeter(std::function<double()> measure, int port = 0);

// "127.0.0.1:" and the port, as the calibration window's address field takes it.
std::string SimMultimeterAddress(const SimMultimeter& meter);

void SetSimMultimeterFaults(SimMultimeter& meter, const SimMultimeterFaults& faults);
void SetSimMultimeterNoise(SimMultimeter& meter, double rmsVolts);
std::vector<std::string> ReceivedCommands(const SimMultimeter& meter);

// The reply text for a reading: "+1.00000000E+01" and a line feed; readings past 1.2
// times the range give the overload value "+9.90000000E+37".
std::string FormatMeterReply(double volts, const std::string& range);

}  // namespace orv
