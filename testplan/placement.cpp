#include "testplan/placement.h"

#include <algorithm>
#include <numeric>

#include "core/number_text.h"
#include "testplan/cell_numbers.h"
#include "testplan/editor_rounding.h"
#include "testplan/package_templates.h"
#include "testplan/record_editing.h"

namespace orv {

namespace {

constexpr int kMinCustomPins = 2;
constexpr int kMaxCustomPins = 255;

std::string PinPrompt(long long pin) {
    return "Click on Pin " + std::to_string(pin);
}

int FieldNumber(const std::string& text) {
    return SaturateToInt(ReadIntegerText(text));
}

int CustomCount(const std::string& text) {
    return std::clamp(FieldNumber(text), kMinCustomPins, kMaxCustomPins);
}

// Rows of a row mode ("1ROW" gives 1); 0 for the other modes.
int RowModeRows(std::string_view mode) {
    const auto found = std::ranges::find(kPlaceRows, mode);
    return found == kPlaceRows.end() ? 0 : static_cast<int>(found - kPlaceRows.begin()) + 1;
}

// Q(j): the pins of rows 1 to j.
int PinsThroughRow(const PlacementState& placement, int j) {
    return std::accumulate(placement.q.begin(), placement.q.begin() + j, 0);
}

PlaceResult Finish(EditorState& editor) {
    editor.placement.step = 0;
    editor.prompt.clear();
    return PlaceResult::Completed;
}

PlaceResult Stop(PlacementState& placement) {
    placement.step = 0;
    return PlaceResult::Stopped;
}

// Inserts n rows after the current record and counts them to the placement's block,
// which stays one run of rows only while each insertion follows its last row.
void InsertForPlacement(TestPlan& plan, PlanPosition& position, PlacementState& placement, int n) {
    const bool follows = position.TestPlanIndex == placement.firstMade + placement.made - 1;
    InsertAfter(plan, position, n);
    if (placement.made == 0)
        placement.firstMade = position.TestPlanIndex;
    else if (!follows)
        placement.scattered = true;
    placement.made += n;
}

// A row placement fills the rows its first click inserted, which hold nothing but
// a record number. Anything else there means the current record has been moved
// since (or another plan opened): the placement stops rather than overwrite it.
bool RowsAreBlank(const TestPlan& plan, int first, int last) {
    if (first < kFirstRecordRow || last > RowCount(plan))
        return false;
    for (int row = first; row <= last; ++row) {
        const TestPlanRow& cells = plan.rows[static_cast<std::size_t>(row - 1)];
        if (cells.text.size() != CellView(plan, row, column::kRecord).size())
            return false;
    }
    return true;
}

PlaceResult StopMovedPlacement(EditorState& editor) {
    editor.prompt = "Component creation stopped: the current record was moved";
    return Stop(editor.placement);
}

PlaceResult PlaceRowClick(TestPlan& plan, PlanPosition& position, EditorState& editor,
                          const NewRecordSource& source, ImagePoint click) {
    PlacementState& placement = editor.placement;
    const int rows = RowModeRows(placement.mode);
    const int step = placement.step;
    if (step < 1 || step > 2 * rows)
        return Stop(placement);
    int& current = position.TestPlanIndex;
    if (step == 1) {
        placement.pinCounter = 1;
        InsertForPlacement(plan, position, placement, PinsThroughRow(placement, rows));
        Renumber(plan);
        FillRecord(plan, current, 1, click, editor, source);
        placement.pinCounter = 2;
        editor.prompt = PinPrompt(placement.q[0]);
        placement.step = 2;
        return PlaceResult::Continues;
    }
    const int row = (step + 1) / 2;  // the row this click belongs to, 1..rows
    if (step % 2 == 1) {
        // The first pin of the next row.
        if (!RowsAreBlank(plan, current + 1, current + 1))
            return StopMovedPlacement(editor);
        current += 1;
        FillRecord(plan, current, placement.pinCounter, click, editor, source);
        placement.pinCounter += 1;
        editor.prompt = PinPrompt(PinsThroughRow(placement, row));
        placement.step = step + 1;
        return PlaceResult::Continues;
    }
    // The last pin of the row: the pins from the first one on, equally spaced.
    const int q = placement.q[static_cast<std::size_t>(row - 1)];
    if (q >= 2 && !RowsAreBlank(plan, current + 1, current + q - 1))
        return StopMovedPlacement(editor);
    const ImagePoint first{SaturateToInt(IntegerCell(plan, current, column::kTestX)),
                           SaturateToInt(IntegerCell(plan, current, column::kTestY))};
    const float spaces = static_cast<float>(std::max(q - 1, 1));
    const float dx = static_cast<float>(std::int64_t{click.x} - first.x) / spaces;
    const float dy = static_cast<float>(std::int64_t{click.y} - first.y) / spaces;
    for (int i = 1; i <= q - 1; ++i) {
        const float fi = static_cast<float>(i);
        const ImagePoint point{SaturateToInt(std::int64_t{first.x} + RoundPixel(fi * dx)),
                               SaturateToInt(std::int64_t{first.y} + RoundPixel(fi * dy))};
        current += 1;
        FillRecord(plan, current, placement.pinCounter, point, editor, source);
        placement.pinCounter += 1;
    }
    if (row == rows)
        return Finish(editor);
    editor.prompt = PinPrompt(static_cast<long long>(PinsThroughRow(placement, row)) + 1);
    placement.step = step + 1;
    return PlaceResult::Continues;
}

PlaceResult PlacePinsClick(TestPlan& plan, PlanPosition& position, EditorState& editor,
                           const NewRecordSource& source, ImagePoint click) {
    PlacementState& placement = editor.placement;
    if (placement.step == 1)
        placement.pinCounter = 1;
    else if (placement.step != 2)
        return Stop(placement);
    InsertForPlacement(plan, position, placement, 1);
    FillRecord(plan, position.TestPlanIndex, placement.pinCounter, click, editor, source);
    placement.pinCounter += 1;
    if (placement.pinCounter > placement.q[0])
        return Finish(editor);
    editor.prompt = PinPrompt(placement.pinCounter);
    placement.step = 2;
    return PlaceResult::Continues;
}

PlaceResult PlacePinToPinClick(TestPlan& plan, PlanPosition& position, EditorState& editor,
                               const NewRecordSource& source, ImagePoint click) {
    PlacementState& placement = editor.placement;
    if (placement.step != 1)
        return Stop(placement);
    InsertForPlacement(plan, position, placement, 1);
    FillRecord(plan, position.TestPlanIndex, placement.pinCounter, click, editor, source);
    const int last = placement.q[1];
    int& pin = placement.pinCounter;
    // Counting towards Last never passes it, so the counter cannot overflow.
    if (pin < last)
        pin += 1;
    else if (pin > last)
        pin -= 1;
    else
        return Finish(editor);
    editor.prompt = PinPrompt(pin);
    return PlaceResult::Continues;
}

// The rows of the placement's block, while they are known to be its own.
bool BlockIsIntact(const TestPlan& plan, const PlacementState& placement) {
    return !placement.scattered && plan.revision.count == placement.revisionAfter &&
           placement.firstMade >= kFirstRecordRow &&
           placement.firstMade + placement.made - 1 <= RowCount(plan);
}

}  // namespace

std::string StartPlacement(EditorState& editor, std::string_view entry,
                           const QuantityTexts& fields) {
    const PackageTemplate* package = FindPackageTemplate(entry);
    if (package == nullptr || package->source == QuantitySource::None)
        return {};
    std::array<int, 4> q{};
    switch (package->source) {
        case QuantitySource::Fixed:
            q = package->q;
            break;
        case QuantitySource::AnyQty:
            q[0] = CustomCount(fields[0]);
            break;
        case QuantitySource::FirstLast:
            q[0] = FieldNumber(fields[0]);
            q[1] = FieldNumber(fields[1]);
            break;
        case QuantitySource::Rows:
            for (int j = 0; j < RowModeRows(package->mode); ++j)
                q[static_cast<std::size_t>(j)] = CustomCount(fields[static_cast<std::size_t>(j)]);
            break;
        case QuantitySource::None:
            break;
    }
    const int rows = RowModeRows(package->mode);
    const int total = std::accumulate(q.begin(), q.begin() + rows, 0);
    // All of a row component's records are made by one insertion.
    if (total > kMaxInsertedRows) {
        return "A component of " + std::to_string(total) +
               " pins cannot be created: one component can have at most " +
               std::to_string(kMaxInsertedRows) + " pins";
    }
    PlacementState& placement = editor.placement;
    placement.mode = std::string(package->mode);
    placement.q = q;
    placement.step = 1;
    // What an earlier placement made stays; only this one's records are its own.
    placement.firstMade = 0;
    placement.made = 0;
    placement.scattered = false;
    if (package->mode == kPlacePinToPin) {
        placement.pinCounter = q[0];
        editor.prompt = PinPrompt(q[0]);
    } else {
        editor.prompt = package->label == "  1 pin" ? "Click on Pin" : PinPrompt(1);
    }
    return {};
}

PlaceResult PlaceClick(TestPlan& plan, PlanPosition& position, EditorState& editor,
                       const NewRecordSource& source, ImagePoint click) {
    PlacementState& placement = editor.placement;
    // The plan changed between two clicks: its rows may have moved under the block.
    if (placement.made > 0 && plan.revision.count != placement.revisionAfter)
        placement.scattered = true;
    const std::string_view mode = placement.mode;
    PlaceResult result = PlaceResult::Stopped;
    if (RowModeRows(mode) > 0)
        result = PlaceRowClick(plan, position, editor, source, click);
    else if (mode == kPlacePins)
        result = PlacePinsClick(plan, position, editor, source, click);
    else if (mode == kPlacePinToPin)
        result = PlacePinToPinClick(plan, position, editor, source, click);
    else
        Stop(placement);
    placement.revisionAfter = plan.revision.count;
    return result;
}

bool CancelPlacement(TestPlan& plan, PlanPosition& position, EditorState& editor) {
    PlacementState& placement = editor.placement;
    if (placement.step == 0)
        return false;
    placement.step = 0;
    editor.prompt.clear();
    if (placement.made == 0)
        return true;
    if (!BlockIsIntact(plan, placement)) {
        editor.prompt =
            "Component creation cancelled: the plan was changed meanwhile, so the "
            "records made so far stay";
        return true;
    }
    position.TestPlanIndex = placement.firstMade;
    for (int left = placement.made; left > 0; left -= kMaxInsertedRows)
        DeleteRows(plan, position, std::min(left, kMaxInsertedRows));
    // A row placement numbered every row when it inserted its block.
    if (RowModeRows(placement.mode) > 0)
        Renumber(plan);
    position.TestPlanIndex = placement.firstMade - 1;
    position.RecordChanged = true;
    placement.made = 0;
    editor.marker = RecordPin(plan, position.TestPlanIndex);
    return true;
}

void FillRecord(TestPlan& plan, int row, int pin, ImagePoint point, EditorState& editor,
                const NewRecordSource& source) {
    const std::string component(source.componentName);
    const std::string pinText = IntegerText(pin);
    SetCell(plan, row, column::kStatus, kUntested);
    SetCell(plan, row, column::kComponent, component);
    SetCell(plan, row, column::kPin, pinText);
    SetCell(plan, row, column::kDescription, component + ", Pin " + pinText);
    SetCell(plan, row, column::kViewX, IntegerText(editor.viewX));
    SetCell(plan, row, column::kViewY, IntegerText(editor.viewY));
    SetCell(plan, row, column::kZoom, FormatFloatText(editor.zoom));
    SetCell(plan, row, column::kTestX, IntegerText(point.x));
    SetCell(plan, row, column::kTestY, IntegerText(point.y));
    SetCell(plan, row, column::kSignature, "No");
    editor.marker = point;
}

std::string NextComponentName(std::string_view name) {
    std::string next(name.empty() ? std::string_view("Unknown") : name);
    std::size_t digits = 0;
    while (digits < next.size() && next[next.size() - 1 - digits] >= '0' &&
           next[next.size() - 1 - digits] <= '9') {
        ++digits;
    }
    if (digits == 0)
        return next + "_1";
    // Counted in decimal text, so a digit run of any length goes up by exactly one.
    std::string number = next.substr(next.size() - digits);
    next.resize(next.size() - digits);
    std::size_t i = number.size();
    while (i > 0 && number[i - 1] == '9')
        number[--i] = '0';
    if (i == 0)
        number.insert(number.begin(), '1');
    else
        number[i - 1] += 1;
    const std::size_t nonZero = number.find_first_not_of('0');
    return next + number.substr(nonZero);
}

}  // namespace orv
