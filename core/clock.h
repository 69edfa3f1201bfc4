#pragma once
// Local wall-clock time for stamps and dates, and the monotonic clock for time-outs.

#include <cstdint>
#include <string>

namespace orv {

struct LocalDateTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

LocalDateTime NowLocal();

// Milliseconds from an arbitrary start; never goes backwards.
std::int64_t MonotonicMs();

// "[09-Dec-2026 14:05:31] ": the stamp in front of every log line, blank included.
std::string FormatLogStamp(const LocalDateTime& t);

// "09/12/2026": the date form of settings and the release check.
std::string FormatDayMonthYear(const LocalDateTime& t);

}  // namespace orv
