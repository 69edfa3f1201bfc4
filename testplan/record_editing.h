#pragma once
// The record editor's changes to the plan: inserting and deleting rows, the component
// run it works on, whole-component updates, the single-record update, and the board
// photograph chosen for the plan.

#include <functional>
#include <string>
#include <string_view>

#include "testplan/editor_state.h"
#include "testplan/navigation.h"
#include "testplan/record_cells.h"
#include "testplan/test_plan.h"

namespace orv {

// n (kept within 1..1000) empty rows directly after the current record; the first of
// them becomes current. A current record beyond the table puts them at its end.
void InsertAfter(TestPlan& plan, PlanPosition& position, int n);
// One empty row at the current record, which moves down; nothing on the header or
// beyond the table.
void InsertBefore(TestPlan& plan, PlanPosition& position);
// n (kept within 1..1000) rows from the current record on, never the header; the
// current record then stays within 1..rows.
void DeleteRows(TestPlan& plan, PlanPosition& position, int n);

// The run of rows around the current record with its Component text, never reaching
// back into the header; on the header itself the run starts there.
ComponentRun EditorComponentRun(const TestPlan& plan, int testPlanIndex);

// Deletes the current record's whole component and renumbers every row; `progress` is
// called with each prompt to show ("deleting Component... (record: r )" every few
// rows, then "delete done... rebuilding data", "data rebuilt", and empty at the end).
// Nothing on the header.
void DeleteWholeComponent(TestPlan& plan, PlanPosition& position,
                          const std::function<void(const std::string& prompt)>& progress);

// The editable "To write > " fields of the editor, as typed.
struct RecordFields {
    std::string status;
    std::string description;
    std::string component;
    std::string pin;
    std::string userText;
    std::string imageX;
    std::string imageY;
    std::string imageZoom;
    std::string testX;
    std::string testY;
    std::string scanSig;
    std::string scanCom;
    std::string signature;
};

// The current record's cells := the fields, unchanged.
void UpdateSingleRecord(TestPlan& plan, int testPlanIndex, const RecordFields& fields);
// Every Description of the current component := the text.
void UpdateComponentDescriptions(TestPlan& plan, int testPlanIndex, std::string_view description);
// Every Component of the current component := name, and each Description := name +
// ", Pin " + its Pin.
void RenameComponent(TestPlan& plan, int testPlanIndex, std::string_view name);
// Every View X, View Y and Zoom of the current component := the texts.
void UpdateComponentView(TestPlan& plan, int testPlanIndex, std::string_view viewX,
                         std::string_view viewY, std::string_view zoom);

// The image name to store for a chosen file: relative when it begins with the working
// directory and a separator ('/' or '\\', letter case ignored), otherwise whole.
std::string RelativeImagePath(std::string_view chosen, std::string_view workingDirectory);
// The editor shows the whole photograph of width x height centred, and the header
// records the image file, that centre and zoom "1".
void UseBoardImage(TestPlan& plan, EditorState& editor, std::string_view imageFile, int width,
                   int height);

}  // namespace orv
