#include "display/colours_window.h"

#include <QImage>
#include <algorithm>

#include "core/settings.h"
#include "display/qt_colour.h"
#include "ui/control_numbers.h"

namespace orv {

namespace {

using ui::ControlKind;

constexpr int kRowHeight = 20;
constexpr ui::Rect kLabelColumn = {10, 0, 200, kRowHeight};
constexpr ui::Rect kSwatchColumn = {220, 0, 100, kRowHeight};
constexpr ui::Rect kDefaultColumn = {330, 0, 100, kRowHeight};
// Small enough for " < set to default" to fit its 100 pixels.
const ui::FontSpec kWindowFont{"Arial", 9};

ui::Rect InRow(ui::Rect column, int row) {
    column.y = ColourRowTop(row);
    return column;
}

int IndexIn(const std::array<int, kColourRowCount>& numbers, int number) {
    const auto found = std::find(numbers.begin(), numbers.end(), number);
    return found == numbers.end() ? -1 : static_cast<int>(found - numbers.begin());
}

// The row's name without the pointer towards its swatch, for the chooser's title.
std::string ChooserTitle(const ColourRow& row) {
    std::string_view name = row.label;
    if (const size_t end = name.find(" >"); end != std::string_view::npos)
        name = name.substr(0, end);
    return std::string(name);
}

QImage Swatch(ColourNumber colour) {
    QImage image(kSwatchColumn.width, kSwatchColumn.height, QImage::Format_RGB32);
    image.fill(ToQColor(colour));
    return image;
}

void Add(ui::Gui& gui, int number, ControlKind kind, const ui::Rect& rect,
         const std::string& text = {}) {
    ui::CreateControl(gui, kDisplayColoursWindow, number, kind, rect, text);
    if (kind != ControlKind::ImageArea)
        ui::SetControlFont(gui, number, kWindowFont);
}

void AddText(ui::Gui& gui, int number, int y, const std::string& text) {
    Add(gui, number, ControlKind::Label, {10, y, 500, kRowHeight}, text);
}

// Every row is written once: the write order names each key exactly once.
constexpr bool WriteOrderNamesEveryRow() {
    for (const ColourRow& row : kColourRows) {
        if (std::count(kColourWriteOrder.begin(), kColourWriteOrder.end(), row.key) != 1)
            return false;
    }
    return true;
}
static_assert(WriteOrderNamesEveryRow());

}  // namespace

int ColourRowTop(int row) {
    const int line = row < kScopeColourRows ? row + 1 : row + 2;
    return 25 * line + 10;
}

ColourAction ColourActionOf(int control) {
    if (const int row = IndexIn(kColoursRowButtons, control); row >= 0)
        return {ColourAction::Kind::Choose, row};
    if (const int row = IndexIn(kColoursRowDefaults, control); row >= 0)
        return {ColourAction::Kind::RowDefault, row};
    if (control == kColoursDarkMode)
        return {ColourAction::Kind::DarkMode, -1};
    return {};
}

bool ApplyColourAction(Settings& settings, const ColourAction& action, ui::Dialogs& dialogs) {
    const bool hasRow = action.row >= 0 && action.row < kColourRowCount;
    switch (action.kind) {
        case ColourAction::Kind::Choose: {
            if (!hasRow)
                return false;
            const ColourRow& row = kColourRows[static_cast<size_t>(action.row)];
            const auto chosen = dialogs.ChooseColour(ChooserTitle(row), settings.*row.field);
            if (!chosen)
                return false;
            settings.*row.field = *chosen;
            return true;
        }
        case ColourAction::Kind::RowDefault: {
            if (!hasRow)
                return false;
            const ColourRow& row = kColourRows[static_cast<size_t>(action.row)];
            settings.*row.field = row.rowDefault;
            return true;
        }
        case ColourAction::Kind::DarkMode:
            for (const ColourRow& row : kColourRows)
                settings.*row.field = row.darkMode;
            return true;
        case ColourAction::Kind::None:
            break;
    }
    return false;
}

std::vector<SettingWrite> ColourSettingsToWrite(const Settings& settings) {
    std::vector<SettingWrite> writes;
    for (const std::string_view key : kColourWriteOrder) {
        const auto row = std::find_if(kColourRows.begin(), kColourRows.end(),
                                      [&](const ColourRow& r) { return r.key == key; });
        writes.push_back({key, std::to_string(settings.*row->field)});
    }
    return writes;
}

void WriteColourSettings(EventLog& log, const Settings& settings) {
    for (const SettingWrite& write : ColourSettingsToWrite(settings))
        WriteSetting(log, kSettingsFileName, write.key, write.value);
}

bool BuildColoursWindow(ui::Gui& gui, const Settings& settings) {
    if (!ui::OpenWindow(gui, kDisplayColoursWindow, std::string(kColoursWindowTitle), 0, 0,
                        kColoursWindowWidth, kColoursWindowHeight)) {
        return false;
    }
    AddText(gui, kColoursScopeHeading, 13, "Change colours used on the scope display(s):");
    AddText(gui, kColoursRibbonHeading, 238,
            "Change colours used on control ribbon (settings update on ORV restart):");
    AddText(gui, kColoursNote, 413, "Note: Changes are automatically saved when altered.");
    for (int row = 0; row < kColourRowCount; ++row) {
        const auto at = static_cast<size_t>(row);
        Add(gui, kColoursRowButtons[at], ControlKind::Button, InRow(kLabelColumn, row),
            std::string(kColourRows[at].label));
        ui::SetControlAlignment(gui, kColoursRowButtons[at], ui::TextAlign::Right);
        Add(gui, kColoursSwatches[at], ControlKind::ImageArea, InRow(kSwatchColumn, row));
        Add(gui, kColoursRowDefaults[at], ControlKind::Button, InRow(kDefaultColumn, row),
            " < set to default");
        ui::SetControlAlignment(gui, kColoursRowDefaults[at], ui::TextAlign::Left);
    }
    Add(gui, kColoursDarkMode, ControlKind::Button, {10, 435, 200, kRowHeight},
        "Set colours: dark mode (default)");
    FillColourSwatches(gui, settings);
    return true;
}

void FillColourSwatches(ui::Gui& gui, const Settings& settings) {
    for (size_t row = 0; row < kColourRows.size(); ++row)
        ui::SetControlImage(gui, kColoursSwatches[row], Swatch(settings.*kColourRows[row].field));
}

}  // namespace orv
