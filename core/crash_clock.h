#pragma once
// The crash handler's local time. A signal handler must not call localtime_r (it may
// take a lock and read the zone files), so the offsets from UTC are worked out
// beforehand, with the moments they change (daylight saving) for the year ahead; the
// handler only looks them up. A single offset taken at start would be an hour off
// after the first change of the run.

#include <array>
#include <cstdint>

#include "core/clock.h"

namespace orv {

struct UtcOffsetChange {
    std::int64_t fromSeconds = 0;  // seconds since 1970-01-01 UTC
    std::int32_t offsetSeconds = 0;
};

struct UtcOffsetTable {
    int count = 0;  // entries in use; the first starts when the table was made
    std::array<UtcOffsetChange, 8> changes{};
};

// How far ahead a table looks. Refreshed well within it, a table is never outrun.
inline constexpr std::int64_t kUtcOffsetHorizonSeconds = std::int64_t{400} * 86400;

// The offsets of the zone in effect (as localtime_r sees it) from `nowSeconds` on,
// for kUtcOffsetHorizonSeconds.
UtcOffsetTable MakeUtcOffsetTable(std::int64_t nowSeconds);

// The local date and time of `seconds` by the table. Allocates nothing and takes no
// lock. A moment before the table's start takes its first offset.
LocalDateTime LocalTimeFromTable(const UtcOffsetTable& table, std::int64_t seconds);

// The civil date and time of a count of seconds since 1970-01-01.
LocalDateTime DateTimeFromEpoch(std::int64_t seconds);

}  // namespace orv
