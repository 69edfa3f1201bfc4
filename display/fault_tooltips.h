#pragma once
// The bad tree's tooltips: for each entry, the fault its record's signatures show.

#include <string>
#include <vector>

#include "engine/fault_kind.h"
#include "testplan/test_plan.h"
#include "ui/controls.h"

namespace orv {

// "open (confidence 0.95): the curve lies on the open-circuit line at every point".
std::string FaultTooltip(const FaultClass& fault);

// One text per entry, from the record its datum names; empty where the record has no
// class (not Bad, or without both signatures) and for the plan's own entry.
std::vector<std::string> BadTreeTooltips(const TestPlan& plan,
                                         const std::vector<ui::TreeEntry>& entries);

}  // namespace orv
