#include "core/crash_clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace orv {
namespace {

// The zone of the test, by a POSIX TZ rule (no zone files needed); the previous one
// comes back afterwards.
class InZone {
public:
    explicit InZone(const char* rule) {
        if (const char* previous = std::getenv("TZ"))
            previous_ = previous;
        setenv("TZ", rule, 1);
        tzset();
    }
    ~InZone() {
        if (previous_)
            setenv("TZ", previous_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> previous_;
};

LocalDateTime ByLocaltime(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

bool Same(const LocalDateTime& a, const LocalDateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second;
}

// A table made half an hour before the clocks change gives the time localtime_r gives
// at every moment of the year ahead, on both sides of each change.
TEST(CrashClockTest, LocalTimeFollowsEveryChangeOfOffsetInTheYearAhead) {
    struct Case {
        const char* rule;
        std::int64_t made;  // seconds since 1970, UTC
        int changes;
    };
    const Case cases[] = {
        // Three changes in the 400 days: the one half an hour ahead, autumn, spring.
        {"GMT0BST,M3.5.0/1,M10.5.0", 1774744200, 3},        // 29 Mar 2026, 00:30 GMT
        {"ACST-9:30ACDT,M10.1.0,M4.1.0/3", 1775318400, 3},  // 5 Apr 2026, 02:30 ACDT
        {"EST5EDT,M3.2.0,M11.1.0", 1772951400, 3},          // 8 Mar 2026, 01:30 EST
        {"UTC0", 1774744200, 0},
        {"JST-9", 1774744200, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        const InZone zone(c.rule);
        const UtcOffsetTable table = MakeUtcOffsetTable(c.made);
        ASSERT_EQ(table.count, 1 + c.changes);
        for (int i = 1; i < table.count; ++i) {
            const std::int64_t change = table.changes[static_cast<size_t>(i)].fromSeconds;
            for (const std::int64_t t : {change - 1, change, change + 1}) {
                EXPECT_TRUE(Same(LocalTimeFromTable(table, t), ByLocaltime(t))) << t;
            }
        }
        for (std::int64_t t = c.made; t < c.made + 370 * 86400; t += 907) {
            ASSERT_TRUE(Same(LocalTimeFromTable(table, t), ByLocaltime(t))) << t;
        }
    }
}

TEST(CrashClockTest, CivilDatesAcrossLeapDaysAndCenturies) {
    struct Case {
        std::int64_t seconds;
        LocalDateTime when;
    };
    const Case cases[] = {
        {0, {1970, 1, 1, 0, 0, 0}},
        {951782400, {2000, 2, 29, 0, 0, 0}},
        {1796825105, {2026, 12, 9, 14, 5, 5}},
        {4107542399, {2100, 2, 28, 23, 59, 59}},
        {4107542400, {2100, 3, 1, 0, 0, 0}},
        {-1, {1969, 12, 31, 23, 59, 59}},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(Same(DateTimeFromEpoch(c.seconds), c.when)) << c.seconds;
}

}  // namespace
}  // namespace orv
