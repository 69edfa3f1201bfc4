#include "testplan/editor_state.h"

#include "testplan/cell_numbers.h"
#include "testplan/editor_rounding.h"

namespace orv {

ImagePoint RecordPin(const TestPlan& plan, int row) {
    return {SaturateToInt(IntegerCell(plan, row, column::kTestX)),
            SaturateToInt(IntegerCell(plan, row, column::kTestY))};
}

void LoadEditorState(const TestPlan& plan, int testPlanIndex, EditorState& editor) {
    editor.imageFile = Cell(plan, 1, column::kImageFile);
    // A current record beyond the table (First on a plan without records) has nothing
    // to show: the view stays where it was.
    if (!HasRow(plan, testPlanIndex))
        return;
    const int row = testPlanIndex;
    editor.statusCopy = Cell(plan, row, column::kStatus);
    editor.viewX = SaturateToInt(IntegerCell(plan, row, column::kViewX));
    editor.viewY = SaturateToInt(IntegerCell(plan, row, column::kViewY));
    editor.zoom = FloatCell(plan, row, column::kZoom);
    editor.marker = RecordPin(plan, row);
    editor.signatureCopy = Cell(plan, row, column::kSignature);
}

}  // namespace orv
