#pragma once
// The report of a fatal fault: "bugreport.txt" gets a block appended, a separate
// process shows the report in a box, and the process ends.

#include <signal.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/app_state.h"
#include "core/clock.h"

namespace orv {

inline constexpr std::string_view kBugReportFileName = "bugreport.txt";

// Where the handler reads the application state when a fault comes. The values are
// read as they stand, without locks; a null pointer reads as 0.
struct CrashStateSources {
    const AppState* app = nullptr;
    const std::atomic<bool>* connected = nullptr;
    const int* testPlanIndex = nullptr;
    // Program that shows the report in the "OnError Handler" box; empty for none.
    std::string boxProgram;
};

// What the platform tells about the fault.
struct CrashFacts {
    const char* description = "";
    std::int32_t code = 0;
    std::uint64_t codeAddress = 0;
    bool hasTargetAddress = false;
    std::uint64_t targetAddress = 0;
    const char* sourceFile = nullptr;  // null when no source location is known
    long sourceLine = 0;
    std::int64_t registers[8] = {};  // RAX RBX RCX RDX RBP RSI RDI RSP
};

// The state values the report shows.
struct CrashStateValues {
    const char* instrument = "";
    std::size_t instrumentLength = 0;
    const char* mode = "";
    std::size_t modeLength = 0;
    bool connected = false;
    int testPlanIndex = 0;
    float actualVoltage = 0;
    float actualResist = 0;
    float softwareVersion = 0;
};

// The report text, lines separated by CR. Writes at most `capacity` bytes and returns
// the length. Allocates nothing.
std::size_t BuildCrashReport(const CrashFacts& facts, const CrashStateValues& state, char* out,
                             std::size_t capacity);

// The three-line block appended to "bugreport.txt" for a report, CR LF after each line.
std::size_t BuildCrashBlock(const char* report, std::size_t reportLength, const LocalDateTime& when,
                            char* out, std::size_t capacity);

// Installs the handler for SIGSEGV, SIGFPE, SIGBUS, SIGILL and SIGABRT on every
// thread. Call once, early; the sources must outlive the process. One report per
// run: a fault on a second thread while a report is under way waits for it to end
// the process.
void InstallCrashHandler(const CrashStateSources& sources);

// Keeps the handler's local time right across a change of UTC offset (daylight
// saving, a new TZ): every minute it works out the offsets for the year ahead again.
// Cheap between those minutes; the top-level loop calls it every pass. Nothing
// happens before InstallCrashHandler.
void RefreshCrashClock();

// Gives the calling thread its own signal stack for as long as the object lives, so
// that a stack overflow on it is still reported; the thread's previous signal stack
// comes back when it ends. The installing thread has one for the whole run already.
class CrashSignalStack {
public:
    CrashSignalStack();
    ~CrashSignalStack();
    CrashSignalStack(const CrashSignalStack&) = delete;
    CrashSignalStack& operator=(const CrashSignalStack&) = delete;

private:
    void* memory_ = nullptr;
    stack_t previous_{};
    bool installed_ = false;
};

}  // namespace orv
