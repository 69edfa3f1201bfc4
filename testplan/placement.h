#pragma once
// Creating a component pin by pin on the board photograph: the placement step machine,
// the rows interpolated between their clicked ends, and the name of the next component.

#include <array>
#include <string>
#include <string_view>

#include "testplan/editor_state.h"
#include "testplan/navigation.h"
#include "testplan/test_plan.h"

namespace orv {

// The editor's four small quantity fields, as typed.
using QuantityTexts = std::array<std::string, 4>;

// The largest number of records one insertion makes.
inline constexpr int kMaxInsertedRows = 1000;

// Starts a placement for the package list entry: mode, counts, step 1, the pin counter
// and the first prompt. An entry without a template changes nothing. A component of
// more records than one insertion makes is refused before anything changes: the
// returned text says why; it is empty otherwise.
std::string StartPlacement(EditorState& editor, std::string_view entry,
                           const QuantityTexts& fields);

// What a created record is filled from besides its pin and point.
struct NewRecordSource {
    std::string_view componentName;  // the editor's component name field
};

// What a click did to the placement. Only a completed one moves the component name
// on; one that stopped left its component unfinished.
enum class PlaceResult { Continues, Completed, Stopped };

// One left click on the photograph while a placement is under way (step not 0):
// inserts and fills records and moves the current record, the prompt and the step.
// A row placement whose next rows are no longer the empty ones it inserted (the
// current record was moved) stops and writes nothing.
PlaceResult PlaceClick(TestPlan& plan, PlanPosition& position, EditorState& editor,
                       const NewRecordSource& source, ImagePoint click);

// Escape during a placement: it ends, every record it inserted is taken out again and
// the record it was to follow is current, so the plan is as before it began. When the
// plan has been changed around the placement since (edited, rows inserted or deleted,
// another plan opened) its records stay and the prompt says so. False when no
// placement was under way.
bool CancelPlacement(TestPlan& plan, PlanPosition& position, EditorState& editor);

// Writes a created record: "Untested", component, pin, description, the editor's view
// and zoom, the point, "No"; the marker moves to the point.
void FillRecord(TestPlan& plan, int row, int pin, ImagePoint point, EditorState& editor,
                const NewRecordSource& source);

// The name after a finished placement: IC17 gives IC18, U09 U10, PL PL_1, R0099 R100;
// an empty name counts as "Unknown".
std::string NextComponentName(std::string_view name);

}  // namespace orv
