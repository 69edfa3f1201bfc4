#include "app/record_editor.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/commands.h"
#include "app/display_refresh.h"
#include "app/plan_files.h"
#include "app/program.h"
#include "app/window_events.h"
#include "core/event_log.h"
#include "display/photo_cache.h"
#include "display/record_editor_window.h"
#include "testplan/editor_view.h"
#include "testplan/orv_file.h"
#include "testplan/placement.h"
#include "testplan/record_editing.h"
#include "ui/controls.h"

namespace orv {

namespace {

const std::vector<ui::FileFilter> kImageFilters = {
    {"JPG (*.jpg)", "*.jpg"}, {"PNG (*.png)", "*.png"}, {"All files (*.*)", "*.*"}};

const QImage& EditorPhoto(Program& program) {
    return Photograph(program.display.photo, program.editor.imageFile);
}

void Refresh(Program& program, RecordEditorSession& session) {
    EditorPictureInput picture;
    picture.photo = &EditorPhoto(program);
    picture.levels = &program.display.photo.held.levels;
    // The main board view's pin list, made again only when the plan changed.
    picture.pins = CurrentBoardPins(program).drawn;
    picture.crosshairType = program.app.settings.PCBCrosshairType;
    session.shown = RefreshEditor(*program.gui, program.testPlan, program.position.TestPlanIndex,
                                  program.editor, picture, session.view);
}

void LoadAndRefresh(Program& program, RecordEditorSession& session) {
    LoadEditorState(program.testPlan, program.position.TestPlanIndex, program.editor);
    Refresh(program, session);
}

std::string WorkingDirectory() {
    std::error_code error;
    return std::filesystem::current_path(error).string();
}

void SelectImage(Program& program, RecordEditorSession& session) {
    EditorState& editor = program.editor;
    const std::string chosen = program.dialogs->ChooseFileToOpen("Please choose PCB image to open",
                                                                 "\\images\\*.jpg", kImageFilters);
    if (!chosen.empty())
        editor.imageFile = RelativeImagePath(chosen, WorkingDirectory());
    const QImage& photo = EditorPhoto(program);
    if (!chosen.empty() && photo.isNull()) {
        ShowUserMessage(program.log, "Info #0082 The picture " + editor.imageFile +
                                         " could not be read; choose a JPG or PNG file.");
    }
    UseBoardImage(program.testPlan, editor, editor.imageFile, photo.width(), photo.height());
    Refresh(program, session);
}

void CreateNewComponent(Program& program, RecordEditorSession& session) {
    ui::Gui& gui = *program.gui;
    const ComponentRun run = EditorComponentRun(program.testPlan, program.position.TestPlanIndex);
    program.position.TestPlanIndex = run.last;
    const std::string refusal = StartPlacement(
        program.editor, ui::ControlText(gui, editor::kPackageList), ReadQuantityTexts(gui));
    Refresh(program, session);
    if (!refusal.empty())
        ShowUserMessage(program.log, "Info #0083 " + refusal);
}

void DeleteComponent(Program& program, RecordEditorSession& session) {
    if (program.position.TestPlanIndex <= 1)
        return;
    DeleteWholeComponent(program.testPlan, program.position, [&](const std::string& prompt) {
        program.editor.prompt = prompt;
        Refresh(program, session);
        // The picture shows how far the deletion has come.
        ui::KeepPaintingFor(*program.gui, 1);
    });
    LoadAndRefresh(program, session);
}

void PanView(Program& program, RecordEditorSession& session, PanDirection direction) {
    const QImage& photo = EditorPhoto(program);
    Pan(program.editor, direction, photo.width(), photo.height());
    Refresh(program, session);
}

void ServeControl(Program& program, RecordEditorSession& session, int control) {
    TestPlan& plan = program.testPlan;
    PlanPosition& position = program.position;
    EditorState& state = program.editor;
    ui::Gui& gui = *program.gui;
    const int current = position.TestPlanIndex;
    switch (control) {
        case editor::kPrevious:
            PreviousRecord(plan, position);
            return LoadAndRefresh(program, session);
        case editor::kNext:
            NextRecord(plan, position);
            return LoadAndRefresh(program, session);
        case editor::kPreviousComponent:
            PreviousComponent(plan, position);
            return LoadAndRefresh(program, session);
        case editor::kNextComponent:
            NextComponent(plan, position);
            return LoadAndRefresh(program, session);
        case editor::kFirst:
            position.TestPlanIndex = kFirstRecordRow;
            return LoadAndRefresh(program, session);
        case editor::kLast:
            position.TestPlanIndex = RowCount(plan);
            return LoadAndRefresh(program, session);
        case editor::kInsertBefore:
            InsertBefore(plan, position);
            return Refresh(program, session);
        case editor::kInsertAfter:
            InsertAfter(plan, position, 1);
            return Refresh(program, session);
        case editor::kDeletePin:
            if (current > 1) {
                DeleteRows(plan, position, 1);
                Refresh(program, session);
            }
            return;
        case editor::kDeleteComponent:
            return DeleteComponent(program, session);
        case editor::kSelectImage:
            return SelectImage(program, session);
        case editor::kUpdateSingle:
            UpdateSingleRecord(plan, current, ReadRecordFields(gui));
            return LoadAndRefresh(program, session);
        case editor::kUpdateDescriptions:
            return UpdateComponentDescriptions(plan, current, ReadRecordFields(gui).description);
        case editor::kUpdateComponentName:
            return RenameComponent(plan, current, ReadRecordFields(gui).component);
        case editor::kUpdateView: {
            const RecordFields fields = ReadRecordFields(gui);
            return UpdateComponentView(plan, current, fields.imageX, fields.imageY,
                                       fields.imageZoom);
        }
        case editor::kZoomIn:
            ZoomIn(state);
            return Refresh(program, session);
        case editor::kZoomOut:
            ZoomOut(state);
            return Refresh(program, session);
        case editor::kZoomAll:
            ZoomAll(state);
            return Refresh(program, session);
        case editor::kZoomWindow:
            BeginZoomWindow(state);
            return Refresh(program, session);
        case editor::kLeft:
            return PanView(program, session, PanDirection::Left);
        case editor::kRight:
            return PanView(program, session, PanDirection::Right);
        case editor::kUp:
            return PanView(program, session, PanDirection::Up);
        case editor::kDown:
            return PanView(program, session, PanDirection::Down);
        case editor::kCentre: {
            const QImage& photo = EditorPhoto(program);
            CentreView(state, photo.width(), photo.height());
            return Refresh(program, session);
        }
        case editor::kPackageList:
            return ShowQuantityFields(gui, ui::ControlText(gui, editor::kPackageList));
        case editor::kCreateComponent:
            return CreateNewComponent(program, session);
        case editor::kMovePin:
            // The marker leaves the pin and the prompt shows at once.
            BeginMovePin(plan, current, state);
            return Refresh(program, session);
        case editor::kQuickSave:
            QuickSave(program);
            return;
        default:
            return;
    }
}

// True when the click completed a placement.
bool ServeImageClick(Program& program, RecordEditorSession& session, int x, int y) {
    EditorState& state = program.editor;
    ImagePoint point;
    if (!ImagePointAt(session.shown, kEditorPictureArea, x, y, point))
        return false;
    PlaceResult placed = PlaceResult::Continues;
    if (state.placement.step != 0) {
        const std::string name = ui::ControlText(*program.gui, editor::kComponentName);
        placed =
            PlaceClick(program.testPlan, program.position, state, NewRecordSource{name}, point);
    } else {
        if (state.zoomWindowStep == 0 && !state.movePin &&
            SelectPinAt(program.testPlan, program.position, session.shown, kEditorPictureArea, x,
                        y)) {
            LoadEditorState(program.testPlan, program.position.TestPlanIndex, state);
        }
        if (state.zoomWindowStep != 0) {
            const QImage& photo = EditorPhoto(program);
            ZoomWindowClick(state, point, photo.width(), photo.height());
        }
        if (state.movePin)
            MovePinClick(program.testPlan, program.position.TestPlanIndex, state, point);
    }
    Refresh(program, session);
    return placed == PlaceResult::Completed;
}

// Escape: the picture stops waiting for a click; a placement under way is taken back.
void CancelClicks(Program& program, RecordEditorSession& session) {
    CancelViewClicks(program.testPlan, program.position.TestPlanIndex, program.editor);
    CancelPlacement(program.testPlan, program.position, program.editor);
    Refresh(program, session);
}

void ServeEditorEvent(Program& program, RecordEditorSession& session, const ui::Event& event) {
    switch (event.kind) {
        case ui::EventKind::Control:
            return ServeControl(program, session, event.number);
        case ui::EventKind::Menu:
            if (event.number == editor::kCancelCommand)
                CancelClicks(program, session);
            return;
        case ui::EventKind::LeftClick:
            break;
        case ui::EventKind::RightClick:
            return CreateNewComponent(program, session);
        case ui::EventKind::CloseRequest:
            session.open = false;
            return;
        default:
            return;
    }
    // A completed placement names the next component; one stopped or called off
    // leaves the name for another try.
    ui::Gui& gui = *program.gui;
    if (ServeImageClick(program, session, event.x, event.y) &&
        ui::IsControlChecked(gui, editor::kAutoIncrement)) {
        ui::SetControlText(gui, editor::kComponentName,
                           NextComponentName(ui::ControlText(gui, editor::kComponentName)));
    }
}

}  // namespace

bool BeginRecordEditor(Program& program, RecordEditorSession& session) {
    session = RecordEditorSession{};
    if (program.gui == nullptr || !BuildRecordEditorWindow(*program.gui)) {
        ShowUserMessage(program.log, "Error #0081 Edit Image window won't start");
        return false;
    }
    session.open = true;
    program.display.pcb.wholeBoard = false;
    ui::RaiseWindow(*program.gui, kRecordEditorWindow);
    LoadAndRefresh(program, session);
    return true;
}

bool RecordEditorPass(Program& program, RecordEditorSession& session) {
    if (!session.open)
        return false;
    const ui::Event event = ui::WaitEvent(*program.gui, 20);
    if (event.kind == ui::EventKind::None)
        return true;
    if (event.window == kRecordEditorWindow) {
        ServeEditorEvent(program, session, event);
    } else if (!ServeOwnWindowEvent(program, event)) {
        // The main window's controls are not served while the editor is open; what
        // concerns the window itself waits for the main loop.
        const bool repeated = std::find(session.forLater.begin(), session.forLater.end(), event) !=
                              session.forLater.end();
        if (!repeated && (event.kind == ui::EventKind::CloseRequest ||
                          event.kind == ui::EventKind::MovedOrResized)) {
            session.forLater.push_back(event);
        }
    }
    return session.open;
}

void EndRecordEditor(Program& program, RecordEditorSession& session) {
    session.open = false;
    if (program.gui == nullptr)
        return;
    ui::Gui& gui = *program.gui;
    ui::CloseWindow(gui, kRecordEditorWindow);
    gui.pending.insert(gui.pending.begin(), session.forLater.begin(), session.forLater.end());
    session.forLater.clear();
    program.position.TestTreeClearRequested = true;
    program.position.UiRefreshRequested = true;
}

void OpenRecordEditor(Program& program) {
    RecordEditorSession session;
    if (!BeginRecordEditor(program, session))
        return;
    while (RecordEditorPass(program, session)) {
    }
    EndRecordEditor(program, session);
}

}  // namespace orv
