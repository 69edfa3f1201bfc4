#include "testplan/record_cells.h"

#include <algorithm>

#include "core/number_text.h"
#include "testplan/cell_numbers.h"

namespace orv {

namespace {

int BlockOffset(int block) {
    return block == kGoldenBlock ? 0 : kBlockColumns;
}

}  // namespace

void StoreSignature(TestPlan& plan, int row, int block, const GeneratorSettings& generator,
                    int pointCount, StoredPoints x, StoredPoints y) {
    if (!HasRow(plan, row))
        return;
    const int off = BlockOffset(block);
    const int n = std::clamp(pointCount, 1, kMaxStoredPoints);
    if (ColCount(plan) < off + column::kPointCount + 2 * n) {
        ResizeTable(plan, RowCount(plan), std::max(ColCount(plan), kPlanColumns));
    }
    SetCell(plan, row, off + column::kRecord, IntegerText(row));
    SetCell(plan, row, off + column::kVoltage,
            IntegerText(RoundToInteger(generator.PeakMillivolts)));
    SetCell(plan, row, off + column::kVoltageUnit, "mVpk");
    SetCell(plan, row, off + column::kResistance,
            IntegerText(RoundToInteger(generator.SourceOhms)));
    SetCell(plan, row, off + column::kResistanceUnit, "ohms");
    SetCell(plan, row, off + column::kFrequency,
            IntegerText(RoundToInteger(generator.FrequencyHz)));
    SetCell(plan, row, off + column::kFrequencyUnit, "Hz");
    SetCell(plan, row, off + column::kPointCount, IntegerText(n));
    char text[kFloatTextCapacity];
    for (int i = 1; i <= n; ++i) {
        const int col = off + column::kPointCount + 2 * i - 1;
        SetCell(plan, row, col, std::string_view(text, FormatFloatTextInto(x[i], text)));
        SetCell(plan, row, col + 1, std::string_view(text, FormatFloatTextInto(y[i], text)));
    }
}

int LoadSignature(const TestPlan& plan, int row, int block, LoadedPoints x, LoadedPoints y) {
    if (!HasRow(plan, row))
        return 0;
    const int off = BlockOffset(block);
    const std::int64_t stored = IntegerCell(plan, row, off + column::kPointCount);
    const int n = static_cast<int>(std::clamp<std::int64_t>(stored, 0, kMaxStoredPoints));
    for (int i = 1; i <= n; ++i) {
        const int col = off + column::kPointCount + 2 * i - 1;
        x[i] = FloatCell(plan, row, col);
        y[i] = FloatCell(plan, row, col + 1);
    }
    return n;
}

RecordGenerator RecordSettings(const TestPlan& plan, int row) {
    RecordGenerator settings;
    settings.Millivolts = IntegerCell(plan, row, column::kVoltage);
    settings.Ohms = IntegerCell(plan, row, column::kResistance);
    settings.Hertz = IntegerCell(plan, row, column::kFrequency);
    settings.ScanSig = IntegerCell(plan, row, column::kScanSig);
    settings.ScanCom = IntegerCell(plan, row, column::kScanCom);
    return settings;
}

ComponentRun ComponentRunAt(const TestPlan& plan, int row) {
    if (row < kFirstRecordRow || row > RowCount(plan))
        return {};
    const std::string_view name = CellView(plan, row, column::kComponent);
    ComponentRun run{row, row};
    while (run.first > 2 && CellView(plan, run.first - 1, column::kComponent) == name)
        --run.first;
    while (run.last < RowCount(plan) && CellView(plan, run.last + 1, column::kComponent) == name) {
        ++run.last;
    }
    return run;
}

std::vector<ComponentRun> ComponentRuns(const TestPlan& plan) {
    std::vector<ComponentRun> runs;
    for (int row = kFirstRecordRow; row <= RowCount(plan); row = runs.back().last + 1) {
        runs.push_back(ComponentRunAt(plan, row));
    }
    return runs;
}

}  // namespace orv
