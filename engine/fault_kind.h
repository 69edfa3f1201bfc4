#pragma once
// What kind of fault a Bad pin shows, read from the physics of its golden and DUT
// signatures: open, short, an added leakage path, a changed capacitance, a moved or
// lost junction, or something else.

#include <optional>
#include <string>
#include <string_view>

#include "engine/signature_buffer.h"
#include "testplan/record_cells.h"
#include "testplan/test_plan.h"

namespace orv {

enum class FaultKind {
    Open,
    Short,
    Leakage,
    CapacitanceLarger,
    CapacitanceSmaller,
    JunctionChange,
    Other,
};

struct FaultClass {
    FaultKind kind = FaultKind::Other;
    float confidence = 0;  // 0..1
    std::string evidence;  // one sentence a technician understands
};

// "open", "short", "leakage", "capacitance larger", "capacitance smaller",
// "junction change", "other".
std::string_view FaultKindText(FaultKind kind);

// Compares a DUT signature with its golden one, both points 1..pointCount in volts and
// amperes, taken at the given generator settings.
FaultClass ClassifyFault(const SignatureBuffer& golden, const SignatureBuffer& dut, int pointCount,
                         const RecordGenerator& settings);

// The class of a plan record: only a Bad record with both signatures stored has one.
std::optional<FaultClass> ClassifyRecord(const TestPlan& plan, int row);

}  // namespace orv
