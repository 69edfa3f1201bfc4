#pragma once
// The "Edit/Add Records & Images" window: its controls, the quantity fields each
// package entry shows, and RefreshEditor, which shows the current record, the editor's
// view of the board photograph and the prompt over it.

#include <QImage>
#include <span>
#include <string>
#include <string_view>

#include "display/pcb_view.h"
#include "display/record_editor_controls.h"
#include "testplan/editor_state.h"
#include "testplan/placement.h"
#include "testplan/record_editing.h"
#include "testplan/test_plan.h"
#include "ui/gui.h"

namespace orv {

inline constexpr std::string_view kRecordEditorTitle = "Edit/Add Records & Images";
inline constexpr int kRecordEditorWidth = 1280;
inline constexpr int kRecordEditorHeight = 760;
inline constexpr int kEditorPictureSize = 640;
inline constexpr PictureArea kEditorPictureArea = {10, 10, kEditorPictureSize, kEditorPictureSize};

// Opens the window with every control at its place; false when it cannot be made.
bool BuildRecordEditorWindow(ui::Gui& gui);

// The quantity labels and fields the selected package entry asks for.
void ShowQuantityFields(ui::Gui& gui, std::string_view entry);

// What RefreshEditor draws the picture from, besides the plan and the editor state.
struct EditorPictureInput {
    const QImage* photo = nullptr;        // decoded board photograph; null or empty if none
    const PhotoLevels* levels = nullptr;  // its reduced copies, when kept
    std::span<const PcbPin> pins;         // every record's pin, in row order
    std::string crosshairType = "1 line";
};

// Shows the current record in both field rows and the picture with the prompt over
// it; returns what the picture shows, for mapping clicks. Nothing when the window is
// not open.
ShownImage RefreshEditor(ui::Gui& gui, const TestPlan& plan, int testPlanIndex,
                         const EditorState& editor, const EditorPictureInput& picture,
                         PcbViewState& view);

// The "To write > " fields and the quantity fields, as typed.
RecordFields ReadRecordFields(const ui::Gui& gui);
QuantityTexts ReadQuantityTexts(const ui::Gui& gui);

}  // namespace orv
