// How well the fault classifier names the faults of the simulated board:
//
//     orv-fault-evaluation <plan.orv> [--every]
//
// For every record of the plan (a plan of the simulated board, such as demo_B.orv) it
// captures, through the link at the record's generator settings, the pin of the
// known-good board as golden and again as the unit under test, then each fault the pin
// can take in turn (open, short to ground, a 2.2 kOhm leak, its capacitance times 0.2
// and times 5, its junctions removed). Each capture is judged against the golden
// signature with the default threshold, as the automatic test does, and every Bad
// record is classified. Prints the confusion table and every pin not named as its
// fault, with the evidence the technician would read; with --every, every Bad pin.

#include <QDir>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "core/files.h"
#include "engine/difference.h"
#include "engine/fault_kind.h"
#include "engine/signatures.h"
#include "engine/thresholds.h"
#include "link/sim/board.h"
#include "link/sim/pin_faults.h"
#include "testplan/orv_file.h"
#include "testplan/record_cells.h"
#include "testplan/test_plan.h"
#include "tools/sim_capture.h"

namespace {

constexpr const char* kTool = "orv-fault-evaluation";

// Rows of the table: each injected fault, then the pins left good.
constexpr int kFaultRows = static_cast<int>(std::size(orv::sim::kPinFaults));
constexpr int kGoodRow = kFaultRows;
constexpr int kRows = kFaultRows + 1;

// Columns: each class, then "judged Good, no class".
constexpr std::array kKinds = {
    orv::FaultKind::Open,
    orv::FaultKind::Short,
    orv::FaultKind::Leakage,
    orv::FaultKind::CapacitanceLarger,
    orv::FaultKind::CapacitanceSmaller,
    orv::FaultKind::JunctionChange,
    orv::FaultKind::Other,
};
constexpr int kKindColumns = static_cast<int>(kKinds.size());
constexpr int kGoodColumn = kKindColumns;
constexpr int kColumns = kKindColumns + 1;

orv::FaultKind Expected(orv::sim::PinFault fault) {
    using orv::sim::PinFault;
    switch (fault) {
        case PinFault::Open:
            return orv::FaultKind::Open;
        case PinFault::ShortToGround:
            return orv::FaultKind::Short;
        case PinFault::Leak:
            return orv::FaultKind::Leakage;
        case PinFault::CapacitanceSmaller:
            return orv::FaultKind::CapacitanceSmaller;
        case PinFault::CapacitanceLarger:
            return orv::FaultKind::CapacitanceLarger;
        case PinFault::JunctionRemoved:
            return orv::FaultKind::JunctionChange;
    }
    return orv::FaultKind::Other;
}

int KindColumn(orv::FaultKind kind) {
    for (int i = 0; i < kKindColumns; ++i) {
        if (kKinds[static_cast<size_t>(i)] == kind)
            return i;
    }
    return kKindColumns - 1;
}

struct Outcome {
    float difference = 0;
    std::optional<orv::FaultClass> named;  // nothing when judged Good
};

// The record as the automatic test leaves it: the DUT signature stored, the difference
// taken, the verdict set; then its class.
Outcome Judge(orv::TestPlan& plan, int row, const orv::GeneratorSettings& settings,
              const orv::demo::CapturedSignature& dut, std::string_view threshold) {
    orv::StoreSignature(plan, row, orv::kDutBlock, settings, dut.pointCount,
                        orv::StoredPoints(dut.points.X), orv::StoredPoints(dut.points.Y));
    orv::Signatures signatures;
    orv::Measurement measurement;
    orv::CopySignature(dut.points, signatures.TraceBuffer);
    orv::ComputeDifference(plan, row, signatures, measurement);
    const bool good = orv::IsGoodVerdict(measurement.DifferencePercent, threshold);
    orv::SetCell(plan, row, orv::column::kStatus, good ? orv::kGood : orv::kBad);
    return {measurement.DifferencePercent, orv::ClassifyRecord(plan, row)};
}

struct Tally {
    bool every = false;  // list every Bad pin, not only the misses
    std::array<std::array<int, kColumns>, kRows> counts{};
    std::vector<std::string> listed;
};

std::string RowName(int row) {
    return row == kGoodRow ? "none (good pin)"
                           : std::string(orv::sim::PinFaultText(
                                 orv::sim::kPinFaults[static_cast<size_t>(row)]));
}

void Count(Tally& tally, int row, const std::string& pin, const Outcome& outcome) {
    const int column = outcome.named ? KindColumn(outcome.named->kind) : kGoodColumn;
    ++tally.counts[static_cast<size_t>(row)][static_cast<size_t>(column)];
    const bool right =
        row == kGoodRow
            ? !outcome.named
            : outcome.named &&
                  outcome.named->kind == Expected(orv::sim::kPinFaults[static_cast<size_t>(row)]);
    if (right && !(tally.every && outcome.named))
        return;
    char line[512];
    if (outcome.named) {
        std::snprintf(line, sizeof line, "- %s, %s (difference %.2f %%): %s (%.2f), %s",
                      pin.c_str(), RowName(row).c_str(), static_cast<double>(outcome.difference),
                      std::string(orv::FaultKindText(outcome.named->kind)).c_str(),
                      static_cast<double>(outcome.named->confidence),
                      outcome.named->evidence.c_str());
    } else {
        std::snprintf(line, sizeof line, "- %s, %s: judged Good (difference %.2f %%)", pin.c_str(),
                      RowName(row).c_str(), static_cast<double>(outcome.difference));
    }
    tally.listed.emplace_back(line);
}

void PrintTable(const Tally& t) {
    std::printf("| injected \\ named |");
    for (const orv::FaultKind kind : kKinds)
        std::printf(" %s |", std::string(orv::FaultKindText(kind)).c_str());
    std::printf(" judged Good |\n|---|");
    for (int c = 0; c < kColumns; ++c)
        std::printf("---|");
    std::printf("\n");
    for (int r = 0; r < kRows; ++r) {
        std::printf("| %s |", RowName(r).c_str());
        for (int c = 0; c < kColumns; ++c)
            std::printf(" %d |", t.counts[static_cast<size_t>(r)][static_cast<size_t>(c)]);
        std::printf("\n");
    }
}

void PrintSummary(const Tally& t) {
    int injected = 0;
    int judgedBad = 0;
    int named = 0;
    for (int r = 0; r < kFaultRows; ++r) {
        const auto& row = t.counts[static_cast<size_t>(r)];
        for (int c = 0; c < kColumns; ++c) {
            injected += row[static_cast<size_t>(c)];
            if (c != kGoodColumn)
                judgedBad += row[static_cast<size_t>(c)];
        }
        named += row[static_cast<size_t>(
            KindColumn(Expected(orv::sim::kPinFaults[static_cast<size_t>(r)])))];
    }
    int goodPins = 0;
    for (int c = 0; c < kColumns; ++c)
        goodPins += t.counts[kGoodRow][static_cast<size_t>(c)];
    const int goodNamed = goodPins - t.counts[kGoodRow][kGoodColumn];
    const auto share = [](int part, int whole) { return whole > 0 ? 100.0 * part / whole : 0.0; };
    std::printf(
        "\nFaults injected: %d; judged Bad: %d; named as injected: %d, %.1f %% of the "
        "Bad ones, %.1f %% of all.\n",
        injected, judgedBad, named, share(named, judgedBad), share(named, injected));
    std::printf("Good pins: %d; given a class: %d.\n", goodPins, goodNamed);
}

}  // namespace

int main(int argc, char** argv) {
    const bool every = argc == 3 && std::string_view(argv[2]) == "--every";
    if (argc != 2 && !every) {
        std::fprintf(stderr, "usage: %s <plan.orv> [--every]\n", kTool);
        return 2;
    }
    const auto bytes = orv::ReadWholeFile(argv[1]);
    if (!bytes) {
        std::fprintf(stderr, "%s: cannot read %s\n", kTool, argv[1]);
        return 1;
    }
    orv::TestPlan plan = orv::ParseTestPlan(*bytes);
    const std::string threshold = orv::Settings{}.GoldenVsLiveThreshold;
    const orv::sim::SimBoard board = orv::sim::MakeKnownGoodBoard();

    // The connection leaves a log and a calibration file behind: not beside the plan.
    QTemporaryDir scratch;
    if (!scratch.isValid() || !QDir::setCurrent(scratch.path()))
        return 1;
    orv::demo::SimCapture capture;
    if (!orv::demo::StartSimCapture(capture, kTool))
        return 1;

    Tally tally;
    tally.every = every;
    const auto capture1 = [&](const orv::sim::Circuit& circuit) {
        orv::sim::TouchCircuit(*capture.instrument, circuit);
        return orv::demo::CaptureProbed(capture);
    };
    int pins = 0;
    for (int row = orv::kFirstRecordRow; row <= orv::RowCount(plan); ++row) {
        const std::string component = orv::Cell(plan, row, orv::column::kComponent);
        const std::string pinName = orv::Cell(plan, row, orv::column::kPin);
        const orv::RecordGenerator record = orv::RecordSettings(plan, row);
        const orv::GeneratorSettings settings{static_cast<float>(record.Millivolts),
                                              static_cast<float>(record.Ohms),
                                              static_cast<float>(record.Hertz)};
        orv::demo::ApplyGenerator(capture, settings);
        const orv::sim::Circuit good = orv::sim::CircuitAt(board, component, pinName);
        const auto golden = capture1(good);
        if (!golden) {
            std::fprintf(stderr, "%s: no frame for %s pin %s\n", kTool, component.c_str(),
                         pinName.c_str());
            return 1;
        }
        orv::StoreSignature(plan, row, orv::kGoldenBlock, settings, golden->pointCount,
                            orv::StoredPoints(golden->points.X),
                            orv::StoredPoints(golden->points.Y));
        const std::string pin = component + "." + pinName;
        const auto judge = [&](const orv::sim::Circuit& circuit, int tableRow) {
            const auto dut = capture1(circuit);
            if (!dut) {
                std::fprintf(stderr, "%s: no frame for %s\n", kTool, pin.c_str());
                return false;
            }
            Count(tally, tableRow, pin, Judge(plan, row, settings, *dut, threshold));
            return true;
        };
        if (!judge(good, kGoodRow))
            return 1;
        for (int f = 0; f < kFaultRows; ++f) {
            const auto faulty =
                orv::sim::WithPinFault(good, orv::sim::kPinFaults[static_cast<size_t>(f)]);
            if (faulty && !judge(*faulty, f))
                return 1;
        }
        ++pins;
    }
    orv::demo::StopSimCapture(capture);

    std::printf("Fault classification: %d pins of %s, verdict threshold %s\n\n", pins, argv[1],
                threshold.c_str());
    PrintTable(tally);
    PrintSummary(tally);
    if (!tally.listed.empty()) {
        std::printf(every ? "\nEvery Bad pin:\n" : "\nNot named as injected:\n");
        for (const std::string& line : tally.listed)
            std::printf("%s\n", line.c_str());
    }
    return 0;
}
