#include "testplan/recent_plans.h"

#include <cctype>

namespace orv {

RecentChange BringToTop(RecentPlans& recent, std::string_view name) {
    size_t found = 0;  // 1-based; 0 for none
    for (size_t k = 0; k < recent.size(); ++k) {
        if (recent[k] == name)
            found = k + 1;
    }
    if (found == 1)
        return RecentChange::None;
    const RecentPlans old = recent;
    if (found >= 2) {
        recent[0] = old[found - 1];
        for (size_t k = 1; k < found; ++k)
            recent[k] = old[k - 1];
        return RecentChange::Reordered;
    }
    for (size_t k = recent.size() - 1; k >= 1; --k)
        recent[k] = old[k - 1];
    recent[0] = std::string(name);
    for (size_t k = 0; k < recent.size(); ++k) {
        if (recent[k].empty())
            recent[k] = std::string(kDemoPlanNames[k]);
    }
    return RecentChange::Added;
}

std::string WithOrvExtension(std::string_view name) {
    std::string ending(name.substr(name.size() >= 4 ? name.size() - 4 : 0));
    for (char& c : ending)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string result(name);
    if (ending != ".orv")
        result += ".orv";
    return result;
}

}  // namespace orv
