#pragma once
// The open test plan: a rectangle of text cells addressed by (row, column) from
// (1, 1). Row 1 is the plan header, rows 2 and up are the pin records in test order.
//
// Most cells of a plan are empty (a record uses about half of its 576 columns), so a
// row keeps its cells back to back in one string with the end offset of each cell,
// and nothing for the empty cells after its last non-empty one. Read and write cells
// only through the procedures below.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// Columns of a plan made by the program: a golden block and a DUT block of 288.
inline constexpr int kPlanColumns = 576;
inline constexpr int kBlockColumns = 288;
// Row 1 is the plan's header; pin records start here.
inline constexpr int kFirstRecordRow = 2;

// Column numbers of a pin record (and of the header, where noted).
namespace column {
inline constexpr int kRecord = 1;   // record number; "1" in a renumbered header
inline constexpr int kVoltage = 2;  // golden capture settings: mV, ohms, Hz
inline constexpr int kVoltageUnit = 3;
inline constexpr int kResistance = 4;
inline constexpr int kResistanceUnit = 5;
inline constexpr int kFrequency = 6;
inline constexpr int kFrequencyUnit = 7;
inline constexpr int kDescription = 8;
inline constexpr int kStatus = 9;
inline constexpr int kComponent = 10;
inline constexpr int kPin = 11;
inline constexpr int kUserText = 12;
inline constexpr int kImageFile = 13;  // header: board photograph
inline constexpr int kViewX = 14;      // header: image view centre and zoom
inline constexpr int kViewY = 15;
inline constexpr int kZoom = 16;
inline constexpr int kTestX = 17;
inline constexpr int kTestY = 18;
inline constexpr int kScanSig = 27;
inline constexpr int kScanCom = 28;
inline constexpr int kSignature = 30;   // "Yes" once a golden signature is stored
inline constexpr int kPointCount = 31;  // block-relative: N, then X1, Y1, X2, ...
}  // namespace column

// Result states of the Status column, compared exactly.
inline constexpr std::string_view kUntested = "Untested";
inline constexpr std::string_view kGood = "Good";
inline constexpr std::string_view kBad = "Bad";
inline constexpr std::string_view kNoTest = "NoTest";

struct TestPlanRow {
    std::string text;                 // the cells, back to back
    std::vector<std::uint32_t> ends;  // end of cell k + 1 in `text`; later cells are empty
};

// Tells the versions of one plan apart: every change through the procedures below
// moves it on, and so does assigning another plan over it, so a value seen once never
// comes back for the same plan. What is derived from the plan and kept (the board's
// pin list) compares it instead of the cells. Code that writes `rows` directly calls
// MarkPlanChanged.
struct PlanRevision {
    std::uint64_t count = 0;
    PlanRevision() = default;
    PlanRevision(const PlanRevision&) = default;
    PlanRevision& operator=(const PlanRevision& other) {
        count = (count > other.count ? count : other.count) + 1;
        return *this;
    }
};

struct TestPlan {
    std::vector<TestPlanRow> rows = std::vector<TestPlanRow>(1);  // at least one
    int cols = kPlanColumns;
    PlanRevision revision;
};

inline void MarkPlanChanged(TestPlan& plan) {
    ++plan.revision.count;
}

int RowCount(const TestPlan& plan);
int ColCount(const TestPlan& plan);

// True when the row lies within 1..RowCount.
bool HasRow(const TestPlan& plan, int row);

// The cell's text; empty outside the table.
std::string Cell(const TestPlan& plan, int row, int col);
// The same without a copy, valid until the plan next changes.
std::string_view CellView(const TestPlan& plan, int row, int col);

// Writes one cell; a cell outside the table is left alone.
void SetCell(TestPlan& plan, int row, int col, std::string_view text);

// A new table of the given size (each at least 1) with the cells whose indices stay
// in range; added rows and columns are empty.
void ResizeTable(TestPlan& plan, int rows, int cols);

// Drops the empty cells after the last non-empty one of a row: they need no room.
void DropTrailingEmptyCells(TestPlanRow& row);

// Column 1 of every row := its row index.
void Renumber(TestPlan& plan);

// The plan's size and cell texts in one number: plans that would be written as the
// same bytes give the same, however their rows keep trailing empty cells.
std::uint64_t PlanFingerprint(const TestPlan& plan);

// The plan as the program last read it from or wrote it to the current plan's file,
// so that leaving a plan asks only when something would be lost.
struct PlanOnDisk {
    std::uint64_t revision = 0;
    std::uint64_t fingerprint = 0;
};
PlanOnDisk MarkOnDisk(const TestPlan& plan);
// Cheap while the plan has not been touched since the mark; a change made and undone
// again does not count.
bool DiffersFromDisk(const PlanOnDisk& disk, const TestPlan& plan);

}  // namespace orv
