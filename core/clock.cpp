#include "core/clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace orv {

LocalDateTime NowLocal() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                         local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::int64_t MonotonicMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string FormatLogStamp(const LocalDateTime& t) {
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int m = (t.month >= 1 && t.month <= 12) ? t.month - 1 : 0;
    char text[48];
    std::snprintf(text, sizeof text, "[%02d-%s-%04d %02d:%02d:%02d] ", t.day, kMonths[m], t.year,
                  t.hour, t.minute, t.second);
    return text;
}

std::string FormatDayMonthYear(const LocalDateTime& t) {
    char text[24];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", t.day, t.month, t.year);
    return text;
}

}  // namespace orv
