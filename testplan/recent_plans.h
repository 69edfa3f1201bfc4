#pragma once
// The File menu's list of the eight plans opened last, and the name a saved plan gets.

#include <array>
#include <string>
#include <string_view>

namespace orv {

inline constexpr size_t kRecentPlanCount = 8;
using RecentPlans = std::array<std::string, kRecentPlanCount>;

// What an empty entry shows once a new name has entered the list.
inline constexpr std::array<std::string_view, kRecentPlanCount> kDemoPlanNames = {
    "testplans/demo_A.orv", "testplans/demo_B.orv", "testplans/demo_C.orv", "testplans/demo_D.orv",
    "testplans/demo_E.orv", "testplans/demo_F.orv", "testplans/demo_G.orv", "testplans/demo_H.orv"};

enum class RecentChange {
    None,       // the name was first already
    Reordered,  // it was further down and moved to the top; the file keeps the old order
    Added,      // it was not listed: the eighth dropped out; all eight are to be written
};

// Brings `name` to the top: an exact, case-sensitive match with the last equal entry
// moves up, a new name pushes the others down and empty entries take their demo names.
RecentChange BringToTop(RecentPlans& recent, std::string_view name);

// The saved plan's name: ".orv" appended unless the name already ends in it, in any
// letter case.
std::string WithOrvExtension(std::string_view name);

}  // namespace orv
