#include "display/fault_tooltips.h"

#include <cstdio>
#include <optional>

namespace orv {

std::string FaultTooltip(const FaultClass& fault) {
    char confidence[16];
    std::snprintf(confidence, sizeof confidence, "%.2f", static_cast<double>(fault.confidence));
    return std::string(FaultKindText(fault.kind)) + " (confidence " + confidence +
           "): " + fault.evidence;
}

std::vector<std::string> BadTreeTooltips(const TestPlan& plan,
                                         const std::vector<ui::TreeEntry>& entries) {
    std::vector<std::string> tooltips(entries.size());
    for (size_t i = 1; i < entries.size(); ++i) {
        if (const std::optional<FaultClass> fault = ClassifyRecord(plan, entries[i].datum))
            tooltips[i] = FaultTooltip(*fault);
    }
    return tooltips;
}

}  // namespace orv
