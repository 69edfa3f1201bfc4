#include "testplan/record_editing.h"

#include <algorithm>

#include "testplan/cell_numbers.h"

namespace orv {

namespace {

constexpr int kMaxRowsPerChange = 1000;

int ClampCount(int n) {
    return std::clamp(n, 1, kMaxRowsPerChange);
}

// True when the row is a record, not the header nor beyond the table.
bool IsRecord(const TestPlan& plan, int row) {
    return row >= kFirstRecordRow && row <= RowCount(plan);
}

// The records of the current component; none on the header, which per-component
// updates must never touch.
ComponentRun RecordsOfRun(const TestPlan& plan, int testPlanIndex) {
    ComponentRun run = EditorComponentRun(plan, testPlanIndex);
    run.first = std::max(run.first, kFirstRecordRow);
    run.last = std::min(run.last, RowCount(plan));
    return run;
}

void InsertEmptyRows(TestPlan& plan, int before, int n) {
    const auto at = plan.rows.begin() + (before - 1);
    plan.rows.insert(at, static_cast<std::size_t>(n), TestPlanRow{});
    MarkPlanChanged(plan);
}

}  // namespace

void InsertAfter(TestPlan& plan, PlanPosition& position, int n) {
    // Beyond the table (First on a plan without records) the rows go at its end.
    const int after = std::clamp(position.TestPlanIndex, 1, RowCount(plan));
    InsertEmptyRows(plan, after + 1, ClampCount(n));
    position.TestPlanIndex = after + 1;
    position.RecordChanged = true;
}

void InsertBefore(TestPlan& plan, PlanPosition& position) {
    if (!IsRecord(plan, position.TestPlanIndex))
        return;
    InsertEmptyRows(plan, position.TestPlanIndex, 1);
    position.RecordChanged = true;
}

void DeleteRows(TestPlan& plan, PlanPosition& position, int n) {
    int& index = position.TestPlanIndex;
    // The header is never deleted: the table keeps its row 1.
    if (IsRecord(plan, index)) {
        const int last = std::min(index + ClampCount(n) - 1, RowCount(plan));
        plan.rows.erase(plan.rows.begin() + (index - 1), plan.rows.begin() + last);
        MarkPlanChanged(plan);
    }
    index = std::clamp(index, 1, RowCount(plan));
    position.RecordChanged = true;
}

ComponentRun EditorComponentRun(const TestPlan& plan, int testPlanIndex) {
    const std::string_view name = CellView(plan, testPlanIndex, column::kComponent);
    ComponentRun run{testPlanIndex, testPlanIndex};
    while (run.last < RowCount(plan) && CellView(plan, run.last + 1, column::kComponent) == name)
        ++run.last;
    run.first = run.last;
    while (run.first > kFirstRecordRow &&
           CellView(plan, run.first - 1, column::kComponent) == name) {
        --run.first;
    }
    return run;
}

void DeleteWholeComponent(TestPlan& plan, PlanPosition& position,
                          const std::function<void(const std::string& prompt)>& progress) {
    if (!IsRecord(plan, position.TestPlanIndex))
        return;
    const ComponentRun run = RecordsOfRun(plan, position.TestPlanIndex);
    position.TestPlanIndex = run.first;
    const int k = run.last - run.first;
    // About sixteen progress steps however large the component.
    const int every = k < 17 ? 0 : k / 16;
    int done = 0;
    for (int row = run.first; row <= run.last; ++row) {
        SetCell(plan, row, column::kRecord, "delete");
        ++done;
        if (done % (every + 1) == 0)
            progress("deleting Component... (record: " + std::to_string(row) + " )");
    }
    progress("delete done... rebuilding data");
    // One deletion takes at most 1000 rows; a longer component goes in several, so
    // that none of its records stay behind.
    for (int left = k + 1; left > 0; left -= kMaxRowsPerChange)
        DeleteRows(plan, position, std::min(left, kMaxRowsPerChange));
    Renumber(plan);
    progress("data rebuilt");
    progress("data rebuilt");
    progress("");
}

void UpdateSingleRecord(TestPlan& plan, int testPlanIndex, const RecordFields& fields) {
    if (!HasRow(plan, testPlanIndex))
        return;
    const int row = testPlanIndex;
    SetCell(plan, row, column::kDescription, fields.description);
    SetCell(plan, row, column::kStatus, fields.status);
    SetCell(plan, row, column::kComponent, fields.component);
    SetCell(plan, row, column::kPin, fields.pin);
    SetCell(plan, row, column::kUserText, fields.userText);
    SetCell(plan, row, column::kViewX, fields.imageX);
    SetCell(plan, row, column::kViewY, fields.imageY);
    SetCell(plan, row, column::kZoom, fields.imageZoom);
    SetCell(plan, row, column::kTestX, fields.testX);
    SetCell(plan, row, column::kTestY, fields.testY);
    SetCell(plan, row, column::kScanSig, fields.scanSig);
    SetCell(plan, row, column::kScanCom, fields.scanCom);
    SetCell(plan, row, column::kSignature, fields.signature);
}

void UpdateComponentDescriptions(TestPlan& plan, int testPlanIndex, std::string_view description) {
    const ComponentRun run = RecordsOfRun(plan, testPlanIndex);
    for (int row = run.first; row <= run.last; ++row)
        SetCell(plan, row, column::kDescription, description);
}

void RenameComponent(TestPlan& plan, int testPlanIndex, std::string_view name) {
    const ComponentRun run = RecordsOfRun(plan, testPlanIndex);
    const std::string component(name);  // the name may be a view of a cell we overwrite
    for (int row = run.first; row <= run.last; ++row) {
        SetCell(plan, row, column::kComponent, component);
        SetCell(plan, row, column::kDescription,
                component + ", Pin " + Cell(plan, row, column::kPin));
    }
}

void UpdateComponentView(TestPlan& plan, int testPlanIndex, std::string_view viewX,
                         std::string_view viewY, std::string_view zoom) {
    const ComponentRun run = RecordsOfRun(plan, testPlanIndex);
    const std::string x(viewX), y(viewY), z(zoom);
    for (int row = run.first; row <= run.last; ++row) {
        SetCell(plan, row, column::kViewX, x);
        SetCell(plan, row, column::kViewY, y);
        SetCell(plan, row, column::kZoom, z);
    }
}

std::string RelativeImagePath(std::string_view chosen, std::string_view workingDirectory) {
    const auto isSeparator = [](char c) { return c == '/' || c == '\\'; };
    const auto fold = [&](char c) {
        if (isSeparator(c))
            return '/';
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    std::string_view directory = workingDirectory;
    while (!directory.empty() && isSeparator(directory.back()))
        directory.remove_suffix(1);
    if (workingDirectory.empty())
        return std::string(chosen);
    // Only a leading occurrence makes the file one below the directory; the same
    // letters further on are part of another path, which is kept whole.
    const std::size_t length = directory.size();
    if (chosen.size() <= length || !isSeparator(chosen[length]))
        return std::string(chosen);
    for (std::size_t i = 0; i < length; ++i) {
        if (fold(chosen[i]) != fold(directory[i]))
            return std::string(chosen);
    }
    return std::string(chosen.substr(length + 1));
}

void UseBoardImage(TestPlan& plan, EditorState& editor, std::string_view imageFile, int width,
                   int height) {
    // Halves, within 1..size; an image that could not be read (size 0) still gets 1.
    const auto centre = [](int size) { return std::max(1, std::min(size / 2, size)); };
    editor.imageFile = std::string(imageFile);
    editor.viewX = centre(width);
    editor.viewY = centre(height);
    editor.zoom = 1;
    SetCell(plan, 1, column::kImageFile, editor.imageFile);
    SetCell(plan, 1, column::kViewX, IntegerText(editor.viewX));
    SetCell(plan, 1, column::kViewY, IntegerText(editor.viewY));
    SetCell(plan, 1, column::kZoom, "1");
}

}  // namespace orv
