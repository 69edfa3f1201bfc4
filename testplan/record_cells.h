#pragma once
// Whole signatures and generator settings kept in the cells of a pin record, and the
// component runs that per-component work treats as one component.

#include <cstdint>
#include <span>
#include <vector>

#include "core/app_state.h"
#include "testplan/test_plan.h"

namespace orv {

// Block numbers of StoreSignature and LoadSignature: columns 1 to 288 and 289 to 576.
inline constexpr int kGoldenBlock = 0;
inline constexpr int kDutBlock = 1;
inline constexpr int kMaxStoredPoints = 128;

// Signature arrays indexed from 1, as the signature buffers hold them.
using StoredPoints = std::span<const float, kMaxStoredPoints + 1>;
using LoadedPoints = std::span<float, kMaxStoredPoints + 1>;

// Writes the record number, the peak voltage, resistance and frequency (rounded) with
// their units, the point count and points 1..pointCount into the block of the row;
// block 0 is the golden block, any other value the DUT block. Cells after the last
// point keep their text, and the Status, Signature and scanner cells are untouched.
// A table too narrow for the block (a hand-made file) is first widened to 576
// columns, so that no signature is cut off. A row outside the table is left alone.
void StoreSignature(TestPlan& plan, int row, int block, const GeneratorSettings& generator,
                    int pointCount, StoredPoints x, StoredPoints y);

// Reads the block's points into x and y from index 1 and returns their count, kept
// within 0..128; entries after it keep their values. 0 for a row outside the table.
int LoadSignature(const TestPlan& plan, int row, int block, LoadedPoints x, LoadedPoints y);

// The golden capture settings of a record and its scanner flags.
struct RecordGenerator {
    std::int64_t Millivolts = 0;
    std::int64_t Ohms = 0;
    std::int64_t Hertz = 0;
    std::int64_t ScanSig = 0;
    std::int64_t ScanCom = 0;

    bool operator==(const RecordGenerator&) const = default;
};
RecordGenerator RecordSettings(const TestPlan& plan, int row);

// A component: the longest run of consecutive records (rows 2 and up) with equal
// Component text. Two runs of the same name are two components.
struct ComponentRun {
    int first = 0;
    int last = 0;

    bool operator==(const ComponentRun&) const = default;
};

// The run holding a record; {0, 0} for a row that is no record.
ComponentRun ComponentRunAt(const TestPlan& plan, int row);

// Every component in plan order.
std::vector<ComponentRun> ComponentRuns(const TestPlan& plan);

}  // namespace orv
