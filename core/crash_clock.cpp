#include "core/crash_clock.h"

#include <ctime>

namespace orv {

namespace {

std::int32_t OffsetAt(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr)
        return 0;
    return static_cast<std::int32_t>(local.tm_gmtoff);
}

// No zone changes its offset twice within this step, so sampling at it finds every
// change; bisection then finds its second.
constexpr std::int64_t kSampleStepSeconds = 6 * 3600;

}  // namespace

UtcOffsetTable MakeUtcOffsetTable(std::int64_t nowSeconds) {
    UtcOffsetTable table;
    std::int32_t current = OffsetAt(nowSeconds);
    table.changes[0] = {nowSeconds, current};
    table.count = 1;
    const std::int64_t end = nowSeconds + kUtcOffsetHorizonSeconds;
    for (std::int64_t t = nowSeconds + kSampleStepSeconds;
         t <= end && table.count < static_cast<int>(table.changes.size());
         t += kSampleStepSeconds) {
        const std::int32_t offset = OffsetAt(t);
        if (offset == current)
            continue;
        std::int64_t before = t - kSampleStepSeconds;  // still the current offset
        std::int64_t after = t;                        // already the new one
        while (after - before > 1) {
            const std::int64_t middle = before + (after - before) / 2;
            (OffsetAt(middle) == current ? before : after) = middle;
        }
        table.changes[static_cast<size_t>(table.count++)] = {after, offset};
        current = offset;
    }
    return table;
}

LocalDateTime LocalTimeFromTable(const UtcOffsetTable& table, std::int64_t seconds) {
    std::int32_t offset = table.count > 0 ? table.changes[0].offsetSeconds : 0;
    for (int i = 1; i < table.count; ++i) {
        if (table.changes[static_cast<size_t>(i)].fromSeconds > seconds)
            break;
        offset = table.changes[static_cast<size_t>(i)].offsetSeconds;
    }
    return DateTimeFromEpoch(seconds + offset);
}

// Howard Hinnant's days-to-civil algorithm.
LocalDateTime DateTimeFromEpoch(std::int64_t seconds) {
    long long days = seconds / 86400;
    long long rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        days -= 1;
    }
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    LocalDateTime t;
    t.day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yearOfEra + era * 400 + (t.month <= 2 ? 1 : 0));
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

}  // namespace orv
