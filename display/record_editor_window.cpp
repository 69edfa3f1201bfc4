#include "display/record_editor_window.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <array>
#include <cstdio>
#include <string>

#include "testplan/package_templates.h"
#include "ui/controls.h"

namespace orv {

namespace {

using ui::ControlKind;
using ui::Rect;

struct ControlSpec {
    int number;
    ControlKind kind;
    Rect rect;
    std::string_view text;
    std::string_view tip = {};
};

// In creation order, so that the focus moves through the window as it reads.
constexpr std::array kControls = {
    ControlSpec{editor::kImageArea, ControlKind::ImageArea, {10, 10, 640, 640}, ""},
    ControlSpec{editor::kSelectImageText,
                ControlKind::Label,
                {670, 13, 420, 20},
                "1. Select a PCB image to use for this testplan:"},
    ControlSpec{editor::kSelectImage, ControlKind::Button, {670, 35, 120, 20}, "Select Image"},
    ControlSpec{
        editor::kImageFile, ControlKind::TextField, {790, 35, 480, 20}, "/testplans/images"},
    ControlSpec{
        editor::kSelectRecordText, ControlKind::Label, {670, 75, 240, 30}, "2. Select record:"},
    ControlSpec{editor::kInsertDeleteText,
                ControlKind::Label,
                {910, 75, 180, 30},
                "2a. Manual insert/delete controls:"},
    ControlSpec{editor::kPrevious,
                ControlKind::Button,
                {670, 97, 90, 20},
                "<",
                "Goto PREVIOUS record/pin in the sequence"},
    ControlSpec{editor::kNext,
                ControlKind::Button,
                {760, 97, 90, 20},
                ">",
                "Goto NEXT record/pin in the sequence"},
    ControlSpec{editor::kInsertBefore,
                ControlKind::Button,
                {910, 97, 180, 20},
                "< Manual Insert Before",
                "Inserts single pin record BEFORE the current record/pin"},
    ControlSpec{editor::kInsertAfter,
                ControlKind::Button,
                {1090, 97, 180, 20},
                "Manual Insert After >",
                "Inserts single pin record AFTER the current record/pin"},
    ControlSpec{editor::kPreviousComponent,
                ControlKind::Button,
                {670, 122, 90, 20},
                "<<",
                "Goto PREVIOUS Component in the sequence"},
    ControlSpec{editor::kNextComponent,
                ControlKind::Button,
                {760, 122, 90, 20},
                ">>",
                "Goto NEXT Component in the sequence"},
    ControlSpec{editor::kDeleteComponent,
                ControlKind::Button,
                {910, 122, 360, 20},
                "Delete Whole Component",
                "Deletes an entire Component from records"},
    ControlSpec{editor::kFirst,
                ControlKind::Button,
                {670, 147, 90, 20},
                "First",
                "Goto FIRST record/pin/component in the sequence (index=2)"},
    ControlSpec{editor::kLast,
                ControlKind::Button,
                {760, 147, 90, 20},
                "Last",
                "Goto LAST record/pin/component in the sequence"},
    ControlSpec{editor::kDeletePin,
                ControlKind::Button,
                {910, 147, 360, 20},
                "Delete Single Pin Record",
                "Deletes single record/pin"},
    ControlSpec{editor::kAdjustImageText,
                ControlKind::Label,
                {670, 187, 480, 20},
                "3. Adjust the image to show the Component (e.g. IC17, CONN23, PL7, U56 etc..):"},
    ControlSpec{editor::kZoomIn, ControlKind::Button, {670, 209, 90, 20}, "ZOOM +"},
    ControlSpec{editor::kZoomWindow, ControlKind::Button, {760, 209, 90, 70}, "SELECT ZOOM WINDOW"},
    ControlSpec{editor::kUp, ControlKind::Button, {970, 209, 60, 20}, "UP"},
    ControlSpec{editor::kZoomOut, ControlKind::Button, {670, 234, 90, 20}, "ZOOM -"},
    ControlSpec{editor::kLeft, ControlKind::Button, {910, 234, 60, 20}, "LEFT"},
    ControlSpec{editor::kCentre, ControlKind::Button, {970, 234, 60, 20}, "CENTRE"},
    ControlSpec{editor::kRight, ControlKind::Button, {1030, 234, 60, 20}, "RIGHT"},
    ControlSpec{editor::kZoomAll, ControlKind::Button, {670, 259, 90, 20}, "ZOOM ALL"},
    ControlSpec{editor::kDown, ControlKind::Button, {970, 259, 60, 20}, "DOWN"},
    ControlSpec{editor::kNameText,
                ControlKind::Label,
                {670, 299, 480, 20},
                "4. Name the Component you want to add (e.g. IC17, CONN23, PL7, U56 etc..):"},
    ControlSpec{editor::kComponentName, ControlKind::TextField, {670, 321, 180, 20}, "Unknown_1"},
    ControlSpec{editor::kAutoIncrement,
                ControlKind::CheckBox,
                {862, 321, 240, 20},
                "Auto Increment Component Number"},
    ControlSpec{editor::kPackageText,
                ControlKind::Label,
                {670, 361, 480, 20},
                "5. Select the Component type & quantity of pins:"},
    ControlSpec{editor::kPackageList, ControlKind::List, {670, 383, 180, 20}, ""},
    ControlSpec{editor::kQuantityLabels[0], ControlKind::Label, {856, 386, 36, 20}, "Row 1: "},
    ControlSpec{editor::kQuantityFields[0], ControlKind::TextField, {893, 383, 30, 20}, "?"},
    ControlSpec{editor::kQuantityLabels[1], ControlKind::Label, {931, 386, 36, 20}, "Row 2: "},
    ControlSpec{editor::kQuantityFields[1], ControlKind::TextField, {968, 383, 30, 20}, "?"},
    ControlSpec{editor::kQuantityLabels[2], ControlKind::Label, {1006, 386, 36, 20}, "Row 3: "},
    ControlSpec{editor::kQuantityFields[2], ControlKind::TextField, {1043, 383, 30, 20}, "?"},
    ControlSpec{editor::kQuantityLabels[3], ControlKind::Label, {1081, 386, 36, 20}, "Row 4: "},
    ControlSpec{editor::kQuantityFields[3], ControlKind::TextField, {1118, 383, 30, 20}, "?"},
    ControlSpec{editor::kCreateText,
                ControlKind::Label,
                {670, 423, 180, 30},
                "6. New Component will be created AFTER the current Component:"},
    ControlSpec{editor::kMovePinText,
                ControlKind::Label,
                {910, 423, 180, 30},
                "6a. Move the posistion of a single pin:"},
    ControlSpec{
        editor::kCreateComponent, ControlKind::Button, {670, 458, 180, 40}, "Create New Component"},
    ControlSpec{editor::kMovePin, ControlKind::Button, {910, 458, 120, 40}, "Move Pin"},
    ControlSpec{editor::kFollowText,
                ControlKind::Label,
                {670, 523, 480, 20},
                "7. Follow instructions on PCB image, use (single left mouse click) to ident pin "
                "location."},
    ControlSpec{editor::kAnotherText,
                ControlKind::Label,
                {670, 542, 480, 20},
                "To create another Component record, goto step 2."},
    ControlSpec{editor::kSaveText,
                ControlKind::Label,
                {670, 561, 480, 20},
                "Ensure you SAVE any changes (or to save as a different file - use the main "
                "menu):"},
    ControlSpec{editor::kQuickSave, ControlKind::Button, {670, 583, 120, 40}, "Quick Save"},
};

struct Column {
    std::string_view heading;
    int x;
    int width;
};

// The headings over the two field rows; the fields of a record column sit under the
// heading of the same place.
constexpr std::array<Column, editor::kHeadings> kHeadingColumns = {{
    {"Data", 10, 60},
    {"Record", 70, 60},
    {"Status", 130, 60},
    {"Description", 190, 120},
    {"Component", 310, 120},
    {"Pin", 430, 60},
    {"User Text", 490, 120},
    {"View X", 610, 60},
    {"View Y", 670, 60},
    {"Zoom", 730, 60},
    {"Test X", 790, 60},
    {"Test Y", 850, 60},
    {"ScanSig", 910, 60},
    {"ScanCom", 970, 60},
    {"Signature", 1030, 60},
}};
constexpr int kFirstRecordHeading = 2;  // "Status"

// The cells the record columns of both rows show, in their order.
constexpr std::array<int, editor::kRecordColumns> kRecordCells = {
    column::kStatus,  column::kDescription, column::kComponent, column::kPin,   column::kUserText,
    column::kViewX,   column::kViewY,       column::kZoom,      column::kTestX, column::kTestY,
    column::kScanSig, column::kScanCom,     column::kSignature};

// The "To write > " row names its view columns after the image view they set.
constexpr std::array<std::string_view, editor::kRecordColumns> kToWriteNames = {
    "Status",     "Description", "Component", "Pin",     "User Text", "Image X",  "Image Y",
    "Image Zoom", "Test X",      "Test Y",    "ScanSig", "ScanCom",   "Signature"};

constexpr int kHeadingY = 649;
constexpr int kStoredRowY = 671;
constexpr int kToWriteRowY = 696;
constexpr int kRowHeight = 20;

bool Create(ui::Gui& gui, int number, ControlKind kind, const Rect& rect, std::string_view text) {
    return ui::CreateControl(gui, kRecordEditorWindow, number, kind, rect, std::string(text));
}

bool CreateFieldRows(ui::Gui& gui) {
    bool made = true;
    for (int k = 0; k < editor::kHeadings; ++k) {
        const Column& c = kHeadingColumns[static_cast<std::size_t>(k)];
        const int number = editor::kFirstHeading + k;
        made = made && Create(gui, number, ControlKind::Label,
                              {c.x, kHeadingY, c.width, kRowHeight}, c.heading);
        if (made)
            ui::SetControlAlignment(gui, number, ui::TextAlign::Centre);
    }
    made = made && Create(gui, editor::kStoredRowLabel, ControlKind::Label, {10, 674, 60, 20},
                          ".ORV file > ");
    made = made && Create(gui, editor::kRecordNumber, ControlKind::TextField,
                          {70, kStoredRowY, 60, kRowHeight}, "#record");
    for (int k = 0; k < editor::kRecordColumns && made; ++k) {
        const Column& c = kHeadingColumns[static_cast<std::size_t>(kFirstRecordHeading + k)];
        made = Create(gui, editor::StoredField(k), ControlKind::TextField,
                      {c.x, kStoredRowY, c.width, kRowHeight}, c.heading);
    }
    made = made && Create(gui, editor::kUpdateSingle, ControlKind::Button, {1090, 671, 180, 45},
                          "< Update Single Pin Record Only");
    made = made &&
           Create(gui, editor::kToWriteLabel, ControlKind::Label, {10, 699, 60, 20}, "To write > ");
    for (int k = 0; k < editor::kRecordColumns && made; ++k) {
        const Column& c = kHeadingColumns[static_cast<std::size_t>(kFirstRecordHeading + k)];
        made = Create(gui, editor::ToWriteField(k), ControlKind::TextField,
                      {c.x, kToWriteRowY, c.width, kRowHeight},
                      kToWriteNames[static_cast<std::size_t>(k)]);
    }
    made = made && Create(gui, editor::kUpdateDescriptions, ControlKind::Button,
                          {190, 721, 120, 20}, "^Update^");
    made = made && Create(gui, editor::kUpdateComponentName, ControlKind::Button,
                          {310, 721, 120, 20}, "^Update^");
    made = made &&
           Create(gui, editor::kUpdateView, ControlKind::Button, {610, 721, 180, 20}, "^Update^");
    if (made) {
        ui::SetControlTooltip(gui, editor::kUpdateDescriptions,
                              "Updates all the descriptions for the current Component");
        ui::SetControlTooltip(
            gui, editor::kUpdateComponentName,
            "Updates the current Component name (will also rebuild Description record)");
        ui::SetControlTooltip(gui, editor::kUpdateView,
                              "Updates the View/Zoom for the current Component");
    }
    return made;
}

// Small enough for the longest texts to fit their places on two lines.
const ui::FontSpec kEditorFont{"Arial", 8};

void DressControls(ui::Gui& gui) {
    for (int number = kRecordEditorFirstControl; number <= editor::kLastControl; ++number) {
        if (ui::ControlExists(gui, number))
            ui::SetControlFont(gui, number, kEditorFont);
    }
    for (const ControlSpec& spec : kControls) {
        if (!spec.tip.empty())
            ui::SetControlTooltip(gui, spec.number, std::string(spec.tip));
        if (spec.kind == ControlKind::Label)
            ui::SetControlWordWrap(gui, spec.number);
    }
    ui::SetControlWordWrap(gui, editor::kZoomWindow);
    ui::SetControlWordWrap(gui, editor::kUpdateSingle);
    ui::SetControlReadOnly(gui, editor::kImageFile, true);
    std::vector<std::string> entries;
    for (const PackageTemplate& entry : PackageTemplates())
        entries.emplace_back(entry.label);
    ui::SetListItems(gui, editor::kPackageList, entries);
    ui::SetListSelection(gui, editor::kPackageList, 0);
    ui::SetControlChecked(gui, editor::kAutoIncrement, true);
    for (std::size_t k = 0; k < 4; ++k) {
        ui::SetControlAlignment(gui, editor::kQuantityLabels[k], ui::TextAlign::Right);
        ui::SetDigitsOnly(gui, editor::kQuantityFields[k]);
        ui::SetControlVisible(gui, editor::kQuantityLabels[k], false);
        ui::SetControlVisible(gui, editor::kQuantityFields[k], false);
    }
    ui::SetControlAlignment(gui, editor::kStoredRowLabel, ui::TextAlign::Right);
    ui::SetControlAlignment(gui, editor::kToWriteLabel, ui::TextAlign::Right);
    ui::SetControlAlignment(gui, editor::kRecordNumber, ui::TextAlign::Centre);
    ui::SetControlReadOnly(gui, editor::kRecordNumber, true);
    for (int k = 0; k < editor::kRecordColumns; ++k) {
        ui::SetControlAlignment(gui, editor::StoredField(k), ui::TextAlign::Centre);
        ui::SetControlReadOnly(gui, editor::StoredField(k), true);
        ui::SetControlAlignment(gui, editor::ToWriteField(k), ui::TextAlign::Centre);
    }
}

std::string OneDecimal(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(value));
    return text;
}

void DrawPrompt(QImage& picture, const std::string& prompt) {
    if (prompt.empty() || picture.isNull())
        return;
    QPainter painter(&picture);
    QFont font("Arial", 11);
    font.setBold(true);
    painter.setFont(font);
    const QString text = QString::fromStdString(" " + prompt + " ");
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    const QRect box(kEditorPictureSize / 2 - width / 2, 0, width, metrics.height());
    painter.fillRect(box, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
}

}  // namespace

bool BuildRecordEditorWindow(ui::Gui& gui) {
    if (!ui::OpenWindow(gui, kRecordEditorWindow, std::string(kRecordEditorTitle), 40, 40,
                        kRecordEditorWidth, kRecordEditorHeight)) {
        return false;
    }
    bool made = true;
    for (const ControlSpec& spec : kControls)
        made = made && Create(gui, spec.number, spec.kind, spec.rect, spec.text);
    made = made && CreateFieldRows(gui);
    if (!made) {
        ui::CloseWindow(gui, kRecordEditorWindow);
        return false;
    }
    DressControls(gui);
    if (!ui::AddShortcut(gui, kRecordEditorWindow, "Esc", editor::kCancelCommand)) {
        ui::CloseWindow(gui, kRecordEditorWindow);
        return false;
    }
    return true;
}

void ShowQuantityFields(ui::Gui& gui, std::string_view entry) {
    std::array<std::string_view, 4> labels = {"", "", "", ""};
    int shown = 0;
    if (entry == " Custom (any qty of pins)") {
        labels[0] = "Qty: ";
        shown = 1;
    } else if (entry == " Custom (from pin? to pin?)") {
        labels = {"First: ", "Last: ", "", ""};
        shown = 2;
    } else {
        constexpr std::array<std::string_view, 4> kRowEntries = {
            " Custom (1 row)", " Custom (2 row)", " Custom (3 row)", " Custom (4 row)"};
        for (int rows = 1; rows <= 4; ++rows) {
            if (entry == kRowEntries[static_cast<std::size_t>(rows - 1)]) {
                labels = {"Row 1: ", "Row 2: ", "", ""};
                shown = rows;
            }
        }
    }
    for (std::size_t k = 0; k < 4; ++k) {
        if (!labels[k].empty())
            ui::SetControlText(gui, editor::kQuantityLabels[k], std::string(labels[k]));
        const bool visible = static_cast<int>(k) < shown;
        ui::SetControlVisible(gui, editor::kQuantityLabels[k], visible);
        ui::SetControlVisible(gui, editor::kQuantityFields[k], visible);
    }
}

ShownImage RefreshEditor(ui::Gui& gui, const TestPlan& plan, int testPlanIndex,
                         const EditorState& state, const EditorPictureInput& picture,
                         PcbViewState& view) {
    ShownImage shown;
    if (!ui::IsWindowOpen(gui, kRecordEditorWindow))
        return shown;
    ui::SetControlText(gui, editor::kRecordNumber,
                       std::to_string(testPlanIndex) + "/" + std::to_string(RowCount(plan)));
    for (int k = 0; k < editor::kRecordColumns; ++k) {
        const std::string cell =
            Cell(plan, testPlanIndex, kRecordCells[static_cast<std::size_t>(k)]);
        ui::SetControlText(gui, editor::StoredField(k), cell);
        const bool viewColumn = k >= editor::kViewXField && k <= editor::kTestYField;
        if (!viewColumn)
            ui::SetControlText(gui, editor::ToWriteField(k), cell);
    }
    ui::SetControlText(gui, editor::kImageFile, " " + state.imageFile);
    ui::SetControlText(gui, editor::ToWriteField(editor::kViewXField), std::to_string(state.viewX));
    ui::SetControlText(gui, editor::ToWriteField(editor::kViewYField), std::to_string(state.viewY));
    ui::SetControlText(gui, editor::ToWriteField(editor::kZoomField), OneDecimal(state.zoom));
    ui::SetControlText(gui, editor::ToWriteField(editor::kTestXField),
                       std::to_string(state.marker.x));
    ui::SetControlText(gui, editor::ToWriteField(editor::kTestYField),
                       std::to_string(state.marker.y));

    PcbViewInput in;
    in.width = kEditorPictureSize;
    in.height = kEditorPictureSize;
    in.cx = state.viewX;
    in.cy = state.viewY;
    in.zoom = state.zoom;
    in.px0 = state.marker.x;
    in.py0 = state.marker.y;
    in.imageName = state.imageFile;
    in.photo = picture.photo;
    in.levels = picture.levels;
    in.crosshairType = picture.crosshairType;
    in.pins = picture.pins;
    RenderPcbView(view, in);
    QImage shownPicture = view.image;
    DrawPrompt(shownPicture, state.prompt);
    ui::SetControlImage(gui, editor::kImageArea, shownPicture);

    shown.left = view.window.x1;
    shown.right = view.window.x2;
    shown.top = view.window.y1;
    shown.bottom = view.window.y2;
    if (picture.photo != nullptr) {
        shown.width = picture.photo->width();
        shown.height = picture.photo->height();
    }
    return shown;
}

RecordFields ReadRecordFields(const ui::Gui& gui) {
    const auto field = [&gui](int column) {
        return ui::ControlText(gui, editor::ToWriteField(column));
    };
    RecordFields fields;
    fields.status = field(editor::kStatusField);
    fields.description = field(editor::kDescriptionField);
    fields.component = field(editor::kComponentField);
    fields.pin = field(editor::kPinField);
    fields.userText = field(editor::kUserTextField);
    fields.imageX = field(editor::kViewXField);
    fields.imageY = field(editor::kViewYField);
    fields.imageZoom = field(editor::kZoomField);
    fields.testX = field(editor::kTestXField);
    fields.testY = field(editor::kTestYField);
    fields.scanSig = field(editor::kScanSigField);
    fields.scanCom = field(editor::kScanComField);
    fields.signature = field(editor::kSignatureField);
    return fields;
}

QuantityTexts ReadQuantityTexts(const ui::Gui& gui) {
    QuantityTexts texts;
    for (std::size_t k = 0; k < 4; ++k)
        texts[k] = ui::ControlText(gui, editor::kQuantityFields[k]);
    return texts;
}

}  // namespace orv
