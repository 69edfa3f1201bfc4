// The Display Colours window: its rows, what its buttons do to the colours, what is
// written, and the window itself.

#include "display/colours_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>

#include "core/files.h"
#include "core/settings.h"
#include "image_probe.h"
#include "support/working_dir.h"
#include "ui/control_numbers.h"

namespace orv {
namespace {

using Kind = ColourAction::Kind;

// Rows by their place in the window, written out so a shuffled table shows.
constexpr int kScopeBackgroundRow = 0;
constexpr int kScopeTextRow = 4;
constexpr int kGoldenRow = 6;
constexpr int kDutRow = 7;
constexpr int kBackgroundRow = 8;
constexpr int kPanelWindowRow = 10;
constexpr int kHeaderTextRow = 13;

TEST(ColourActionTest, RowDefaultsAndTheDarkPresetGiveTheirOwnColours) {
    struct Case {
        Kind kind;
        int row;
        ColourNumber Settings::*field;
        ColourNumber expected;
    };
    const Case cases[] = {
        // The golden row's default is blue, not the start-up orange; the preset gold.
        {Kind::RowDefault, kGoldenRow, &Settings::ColourScopeXTraceGoldenSig, 16711680},
        {Kind::DarkMode, -1, &Settings::ColourScopeXTraceGoldenSig, 55295},
        {Kind::RowDefault, kDutRow, &Settings::ColourScopeXTraceDUTSig, 65535},
        {Kind::DarkMode, -1, &Settings::ColourScopeXTraceDUTSig, 16711680},
        {Kind::RowDefault, kBackgroundRow, &Settings::ColourBackground, 3028526},
        {Kind::DarkMode, -1, &Settings::ColourBackground, 3028526},
        {Kind::RowDefault, kPanelWindowRow, &Settings::ColourPanelWindow, 8327734},
        {Kind::DarkMode, -1, &Settings::ColourPanelWindow, 2228224},
        {Kind::RowDefault, kHeaderTextRow, &Settings::ColourHeaderText, 42495},
        {Kind::DarkMode, -1, &Settings::ColourHeaderText, 42495},
        {Kind::RowDefault, kScopeTextRow, &Settings::ColourScope1Text, 16777215},
    };
    ui::ScriptedDialogs dialogs;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row);
        Settings settings;
        // Everything some other colour first, so a value left alone cannot pass.
        for (const ColourRow& row : kColourRows)
            settings.*row.field = MakeColour(1, 2, 3);
        ASSERT_TRUE(ApplyColourAction(settings, {c.kind, c.row}, dialogs));
        EXPECT_EQ(settings.*c.field, c.expected);
        if (c.kind == Kind::RowDefault) {
            for (const ColourRow& row : kColourRows) {
                if (row.field != c.field) {
                    EXPECT_EQ(settings.*row.field, MakeColour(1, 2, 3)) << row.key;
                }
            }
        }
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(ColourActionTest, TheChooserStartsAtTheRowsColourAndCancellingChangesNothing) {
    ui::ScriptedDialogs dialogs;
    dialogs.colourAnswers = {MakeColour(10, 20, 30), std::nullopt};
    Settings settings;
    const Settings before = settings;

    ASSERT_TRUE(ApplyColourAction(settings, {Kind::Choose, kGoldenRow}, dialogs));
    EXPECT_EQ(settings.ColourScopeXTraceGoldenSig, MakeColour(10, 20, 30));
    EXPECT_FALSE(ApplyColourAction(settings, {Kind::Choose, kScopeBackgroundRow}, dialogs));
    EXPECT_EQ(settings.ColourScope1Background, before.ColourScope1Background);

    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].kind, ui::ShownBox::Kind::Colour);
    EXPECT_EQ(dialogs.shown[0].title, "Golden Signature");
    EXPECT_EQ(dialogs.shown[0].colour, kColourOrange);
    EXPECT_EQ(dialogs.shown[1].title, "Scope Background");
    EXPECT_EQ(dialogs.shown[1].colour, kColourBlack);

    EXPECT_FALSE(ApplyColourAction(settings, {Kind::None, -1}, dialogs));
    EXPECT_FALSE(ApplyColourAction(settings, {Kind::RowDefault, kColourRowCount}, dialogs));
}

TEST(ColourActionTest, EveryButtonOfTheWindowNamesItsRow) {
    for (int row = 0; row < kColourRowCount; ++row) {
        const auto at = static_cast<size_t>(row);
        EXPECT_EQ(ColourActionOf(kColoursRowButtons[at]).kind, Kind::Choose);
        EXPECT_EQ(ColourActionOf(kColoursRowButtons[at]).row, row);
        EXPECT_EQ(ColourActionOf(kColoursRowDefaults[at]).kind, Kind::RowDefault);
        EXPECT_EQ(ColourActionOf(kColoursRowDefaults[at]).row, row);
        EXPECT_EQ(ColourActionOf(kColoursSwatches[at]).kind, Kind::None);
    }
    EXPECT_EQ(ColourActionOf(kColoursDarkMode).kind, Kind::DarkMode);
}

TEST(ColourWritesTest, TheDarkPresetIsWrittenAsFourteenDecimalsInTheWriteOrder) {
    Settings settings;
    ui::ScriptedDialogs dialogs;
    ApplyColourAction(settings, {Kind::DarkMode, -1}, dialogs);
    const std::vector<SettingWrite> expected = {
        {"ORV_ColourScope1Background", "0"},
        {"ORV_ColourScope1Outline", "34816"},
        {"ORV_ColourScope1Graticule", "34816"},
        {"ORV_ColourScope1Text", "16777215"},
        {"ORV_ColourScopeXCrosshair", "34816"},
        {"ORV_ColourScopeXTraceLiveSig", "255"},
        {"ORV_ColourScopeXTraceGoldenSig", "55295"},
        {"ORV_ColourScopeXTraceDUTSig", "16711680"},
        {"ORV_ColourBackground", "3028526"},
        {"ORV_ColourPanel", "7371891"},
        {"ORV_ColourPanelWindow", "2228224"},
        {"ORV_ColourPanelText", "16777215"},
        {"ORV_ColourHeader", "0"},
        {"ORV_ColourHeaderText", "42495"},
    };
    EXPECT_EQ(ColourSettingsToWrite(settings), expected);
}

class ColourSettingsFileTest : public test::InWorkingDir {};

TEST_F(ColourSettingsFileTest, WritingRewritesEachColourLineAndLeavesTheRest) {
    AppState app;
    LoadAllSettings(app);  // the file of a first start
    app.settings.ColourScopeXTraceGoldenSig = kColourBlue;
    app.settings.ColourHeader = MakeColour(1, 2, 3);
    std::string expected = test::FileText(std::string(kSettingsFileName));
    auto replace = [&](const std::string& from, const std::string& to) {
        const size_t at = expected.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        expected.replace(at, from.size(), to);
    };
    replace("ORV_ColourScopeXTraceGoldenSig=42495\r\n",
            "ORV_ColourScopeXTraceGoldenSig=16711680\r\n");
    replace("ORV_ColourHeader=0\r\n", "ORV_ColourHeader=197121\r\n");
    EventLog log;
    WriteColourSettings(log, app.settings);
    EXPECT_EQ(test::FileText(std::string(kSettingsFileName)), expected);
}

class ColoursWindowTest : public test::InWorkingDir {
protected:
    void TearDown() override {
        ui::CloseWindow(gui_, kDisplayColoursWindow);
        InWorkingDir::TearDown();
    }
    QPushButton* Button(int number) {
        for (QPushButton* button : Window()->findChildren<QPushButton*>()) {
            if (button->geometry() == ToQRect(ui::ControlRect(gui_, number)))
                return button;
        }
        return nullptr;
    }
    QWidget* Window() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->windowTitle() == "Display Colours" && top->isVisible())
                return top;
        }
        return nullptr;
    }
    static QRect ToQRect(const ui::Rect& r) { return {r.x, r.y, r.width, r.height}; }

    ui::Gui gui_;
    Settings settings_;
};

TEST_F(ColoursWindowTest, ShowsEveryRowWhereItBelongs) {
    ASSERT_TRUE(BuildColoursWindow(gui_, settings_));
    EXPECT_EQ(ui::WindowTitle(gui_, kDisplayColoursWindow), "Display Colours");
    EXPECT_EQ(ui::InnerSize(gui_, kDisplayColoursWindow), (ui::Size{445, 500}));
    ASSERT_NE(Window(), nullptr);
    EXPECT_EQ(Window()->pos(), QPoint(0, 0));

    struct Text {
        int number;
        ui::Rect rect;
        const char* text;
    };
    const Text texts[] = {
        {kColoursScopeHeading, {10, 13, 500, 20}, "Change colours used on the scope display(s):"},
        {kColoursRibbonHeading,
         {10, 238, 500, 20},
         "Change colours used on control ribbon (settings update on ORV restart):"},
        {kColoursNote, {10, 413, 500, 20}, "Note: Changes are automatically saved when altered."},
        {kColoursDarkMode, {10, 435, 200, 20}, "Set colours: dark mode (default)"},
        {kColoursRowButtons[0], {10, 35, 200, 20}, "Scope Background > "},
        {kColoursRowButtons[3], {10, 110, 200, 20}, "Scope Crosshair > "},
        {kColoursRowButtons[7], {10, 210, 200, 20}, "DUT Signature > "},
        {kColoursRowButtons[8], {10, 260, 200, 20}, "Background > "},
        {kColoursRowButtons[13], {10, 385, 200, 20}, "Header Text > "},
        {kColoursRowDefaults[0], {330, 35, 100, 20}, " < set to default"},
        {kColoursRowDefaults[13], {330, 385, 100, 20}, " < set to default"},
    };
    for (const Text& t : texts) {
        SCOPED_TRACE(t.text);
        EXPECT_EQ(ui::ControlRect(gui_, t.number), t.rect);
        EXPECT_EQ(ui::ControlText(gui_, t.number), t.text);
    }
    EXPECT_EQ(ui::ControlRect(gui_, kColoursSwatches[8]), (ui::Rect{220, 260, 100, 20}));
    // Names sit against their swatches, the default buttons' texts against theirs.
    ASSERT_NE(Button(kColoursRowButtons[5]), nullptr);
    EXPECT_TRUE(Button(kColoursRowButtons[5])->styleSheet().contains("text-align: right"));
    ASSERT_NE(Button(kColoursRowDefaults[5]), nullptr);
    EXPECT_TRUE(Button(kColoursRowDefaults[5])->styleSheet().contains("text-align: left"));
}

TEST_F(ColoursWindowTest, SwatchesShowTheCurrentColours) {
    settings_.ColourScopeXTraceGoldenSig = MakeColour(10, 20, 30);
    ASSERT_TRUE(BuildColoursWindow(gui_, settings_));
    const QImage golden = ui::ControlImage(gui_, kColoursSwatches[kGoldenRow]);
    EXPECT_EQ(golden.size(), QSize(100, 20));
    EXPECT_EQ(test::CountColour(golden, golden.rect(), MakeColour(10, 20, 30)), 100 * 20);

    ui::ScriptedDialogs dialogs;
    ApplyColourAction(settings_, {Kind::DarkMode, -1}, dialogs);
    FillColourSwatches(gui_, settings_);
    for (int row = 0; row < kColourRowCount; ++row) {
        const QImage swatch = ui::ControlImage(gui_, kColoursSwatches[static_cast<size_t>(row)]);
        EXPECT_EQ(test::ColourAt(swatch, 50, 10), kColourRows[static_cast<size_t>(row)].darkMode)
            << row;
    }
}

}  // namespace
}  // namespace orv
