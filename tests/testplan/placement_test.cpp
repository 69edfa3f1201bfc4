#include "testplan/placement.h"

#include <gtest/gtest.h>

#include <charconv>
#include <ostream>
#include <string>
#include <vector>

#include "testplan/cell_numbers.h"
#include "testplan/package_templates.h"

namespace orv {
namespace {

// A record as placement leaves it: its pin and where it lies.
struct Pin {
    std::string pin;
    int x = 0;
    int y = 0;
    bool operator==(const Pin&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Pin& p) {
    return out << "pin " << p.pin << " at (" << p.x << ", " << p.y << ")";
}

// The editor's side of a placement: the plan, its cursor, the editor state and every
// prompt shown after a click.
struct Placer {
    TestPlan plan;
    PlanPosition position;
    EditorState editor;
    std::string name = "IC17";
    std::vector<std::string> prompts;

    std::string Start(std::string_view entry, QuantityTexts fields = {}) {
        return StartPlacement(editor, entry, fields);
    }
    void Click(int x, int y) {
        PlaceClick(plan, position, editor, NewRecordSource{name}, ImagePoint{x, y});
        prompts.push_back(editor.prompt);
    }
    std::vector<Pin> Pins(int first = 2) const {
        std::vector<Pin> pins;
        for (int row = first; row <= RowCount(plan); ++row) {
            pins.push_back({Cell(plan, row, column::kPin),
                            static_cast<int>(IntegerCell(plan, row, column::kTestX)),
                            static_cast<int>(IntegerCell(plan, row, column::kTestY))});
        }
        return pins;
    }
};

// "Click on Pin " and the number.
std::string Ask(int pin) {
    return "Click on Pin " + std::to_string(pin);
}

TEST(PackageTemplatesTest, EveryTemplateMakesThePinsItsLabelNames) {
    int headings = 0;
    for (const PackageTemplate& entry : PackageTemplates()) {
        EXPECT_EQ(FindPackageTemplate(entry.label), &entry) << entry.label;
        if (entry.source != QuantitySource::Fixed) {
            headings += entry.source == QuantitySource::None;
            continue;
        }
        std::string_view label = entry.label;
        label.remove_prefix(label.find_first_not_of(' '));
        int named = 0;
        std::from_chars(label.data(), label.data() + label.size(), named);
        EXPECT_EQ(entry.q[0] + entry.q[1] + entry.q[2] + entry.q[3], named) << entry.label;
    }
    const auto list = PackageTemplates();
    ASSERT_EQ(list.size(), 65u);
    EXPECT_EQ(headings, 21);
    EXPECT_EQ(list.front().label, ".... Components ....");
    EXPECT_EQ(list[1].label, "  1 pin");
    EXPECT_EQ(list[6].label, " Custom (any qty of pins)");
    EXPECT_EQ(list[13].label, "  4 pin DIP/SO");
    EXPECT_EQ(list[49].label, "  9 pin D-type (2 row)");
    EXPECT_EQ(list.back().label, " 96 pin DIN41612 (3 row)");
    EXPECT_EQ(FindPackageTemplate("8 pin DIP/SO"), nullptr);  // blanks belong to the label
}

TEST(PlacementTest, EightPinDipInterpolatesBothRowsAndFillsEachRecord) {
    Placer p;
    p.editor.viewX = 640;
    p.editor.viewY = 480;
    p.editor.zoom = 2.5f;
    EXPECT_EQ(p.Start("  8 pin DIP/SO"), "");
    EXPECT_EQ(p.editor.placement.mode, "2ROW");
    EXPECT_EQ(p.editor.prompt, Ask(1));
    p.Click(100, 200);
    p.Click(160, 200);
    p.Click(160, 140);
    p.Click(100, 140);

    EXPECT_EQ(p.prompts, (std::vector<std::string>{Ask(4), Ask(5), Ask(8), ""}));
    EXPECT_EQ(p.editor.placement.step, 0);
    EXPECT_EQ(p.Pins(), (std::vector<Pin>{{"1", 100, 200},
                                          {"2", 120, 200},
                                          {"3", 140, 200},
                                          {"4", 160, 200},
                                          {"5", 160, 140},
                                          {"6", 140, 140},
                                          {"7", 120, 140},
                                          {"8", 100, 140}}));
    EXPECT_EQ(p.position.TestPlanIndex, 9);
    EXPECT_EQ(p.editor.marker, (ImagePoint{100, 140}));
    for (int row = 1; row <= 9; ++row)
        EXPECT_EQ(Cell(p.plan, row, column::kRecord), std::to_string(row));
    const int row = 4;  // pin 3
    EXPECT_EQ(Cell(p.plan, row, column::kStatus), "Untested");
    EXPECT_EQ(Cell(p.plan, row, column::kComponent), "IC17");
    EXPECT_EQ(Cell(p.plan, row, column::kDescription), "IC17, Pin 3");
    EXPECT_EQ(Cell(p.plan, row, column::kViewX), "640");
    EXPECT_EQ(Cell(p.plan, row, column::kViewY), "480");
    EXPECT_EQ(Cell(p.plan, row, column::kZoom), "2.5");
    EXPECT_EQ(Cell(p.plan, row, column::kSignature), "No");
    EXPECT_EQ(Cell(p.plan, row, column::kUserText), "");
    EXPECT_EQ(Cell(p.plan, row, column::kScanSig), "");
    EXPECT_EQ(Cell(p.plan, row, column::kVoltage), "");
}

TEST(PlacementTest, RowPinsAreRoundedInSinglePrecisionHalvesAwayFromZero) {
    struct Case {
        int from;
        int to;
        int q;
        std::vector<std::pair<int, int>> pinX;  // pin number, x
    };
    const Case cases[] = {
        {0, 10, 4, {{1, 0}, {2, 3}, {3, 7}, {4, 10}}},  // 3.33 and 6.67
        {10, 0, 4, {{1, 10}, {2, 7}, {3, 3}, {4, 0}}},
        {0, 5, 3, {{1, 0}, {2, 3}, {3, 5}}},  // 2.5 goes up
        {5, 0, 3, {{1, 5}, {2, 2}, {3, 0}}},  // -2.5 goes down
        {7, 7, 3, {{1, 7}, {2, 7}, {3, 7}}},  // both ends on one point
        // 15 x (291 / 18) is 242.49998 in floats, 242.5 exactly
        {0, 291, 19, {{16, 242}, {19, 291}}},
        // 21 x (300 / 56) is exactly 112.5 in floats, 112.4999 in doubles
        {0, 300, 57, {{22, 113}, {57, 300}}},
    };
    for (const Case& c : cases) {
        Placer p;
        p.Start(" Custom (1 row)", {std::to_string(c.q)});
        p.Click(c.from, 50);
        p.Click(c.to, 50);
        const std::vector<Pin> pins = p.Pins();
        ASSERT_EQ(static_cast<int>(pins.size()), c.q) << c.from << " to " << c.to;
        for (const auto& [pin, x] : c.pinX) {
            EXPECT_EQ(pins[pin - 1], (Pin{std::to_string(pin), x, 50}))
                << c.from << " to " << c.to << " in " << c.q;
        }
    }
}

TEST(PlacementTest, SotTwentyThreeAsksForPinFourAfterItsFirstRow) {
    Placer p;
    p.Start("  5 pin SOT23-5");
    p.Click(10, 10);
    p.Click(30, 10);
    p.Click(30, 40);
    p.Click(10, 40);
    EXPECT_EQ(p.prompts, (std::vector<std::string>{Ask(3), Ask(4), Ask(5), ""}));
    EXPECT_EQ(p.Pins(),
              (std::vector<Pin>{
                  {"1", 10, 10}, {"2", 20, 10}, {"3", 30, 10}, {"4", 30, 40}, {"5", 10, 40}}));
}

TEST(PlacementTest, TwoHundredFortyPinQuadIsNumberedAndInterpolatedAllRound) {
    Placer p;
    // An existing component before the new one.
    ResizeTable(p.plan, 3, kPlanColumns);
    SetCell(p.plan, 2, column::kComponent, "R1");
    SetCell(p.plan, 3, column::kComponent, "R1");
    p.position.TestPlanIndex = 3;
    p.Start("240 pin QFP (square)");
    // Rows of 60 pins 10 pixels apart: along the top, down the right, back along the
    // bottom and up the left.
    p.Click(100, 50);
    p.Click(690, 50);
    p.Click(750, 100);
    p.Click(750, 690);
    p.Click(690, 750);
    p.Click(100, 750);
    p.Click(50, 690);
    p.Click(50, 100);
    EXPECT_EQ(p.prompts, (std::vector<std::string>{Ask(60), Ask(61), Ask(120), Ask(121), Ask(180),
                                                   Ask(181), Ask(240), ""}));
    ASSERT_EQ(RowCount(p.plan), 243);
    EXPECT_EQ(Cell(p.plan, 3, column::kComponent), "R1");
    for (int row = 1; row <= RowCount(p.plan); ++row)
        ASSERT_EQ(IntegerCell(p.plan, row, column::kRecord), row);
    const std::vector<Pin> pins = p.Pins(4);
    for (int i = 0; i < 60; ++i) {
        const int along = 100 + 10 * i, back = 690 - 10 * i;
        EXPECT_EQ(pins[i], (Pin{std::to_string(i + 1), along, 50}));
        EXPECT_EQ(pins[60 + i], (Pin{std::to_string(61 + i), 750, along}));
        EXPECT_EQ(pins[120 + i], (Pin{std::to_string(121 + i), back, 750}));
        EXPECT_EQ(pins[180 + i], (Pin{std::to_string(181 + i), 50, back}));
    }
}

TEST(PlacementTest, PinByPinModesInsertOneRecordPerClickWithoutRenumbering) {
    struct Case {
        const char* entry;
        QuantityTexts fields;
        std::string firstPrompt;
        std::vector<std::string> pins;  // as asked for, in record order
    };
    const Case cases[] = {
        {"  1 pin", {}, "Click on Pin", {"1"}},
        {"  3 pin", {}, Ask(1), {"1", "2", "3"}},
        {" Custom (any qty of pins)", {"1"}, Ask(1), {"1", "2"}},
        {" Custom (any qty of pins)", {""}, Ask(1), {"1", "2"}},
        {" Custom (any qty of pins)", {"4"}, Ask(1), {"1", "2", "3", "4"}},
        {" Custom (from pin? to pin?)", {"10", "7"}, Ask(10), {"10", "9", "8", "7"}},
        {" Custom (from pin? to pin?)", {"3", "5"}, Ask(3), {"3", "4", "5"}},
        {" Custom (from pin? to pin?)", {"6", "6"}, Ask(6), {"6"}},
        {" Custom (from pin? to pin?)", {"1", "-1"}, Ask(1), {"1", "0", "-1"}},
    };
    for (const Case& c : cases) {
        Placer p;
        EXPECT_EQ(p.Start(c.entry, c.fields), "");
        EXPECT_EQ(p.editor.prompt, c.firstPrompt) << c.entry;
        std::vector<std::string> expectedPrompts;
        for (std::size_t i = 0; i < c.pins.size(); ++i) {
            ASSERT_NE(p.editor.placement.step, 0) << c.entry << " ended early";
            p.Click(10 * static_cast<int>(i), 20);
            EXPECT_EQ(RowCount(p.plan), static_cast<int>(i) + 2) << c.entry;
            expectedPrompts.push_back(i + 1 < c.pins.size() ? "Click on Pin " + c.pins[i + 1] : "");
        }
        EXPECT_EQ(p.editor.placement.step, 0) << c.entry;
        EXPECT_EQ(p.prompts, expectedPrompts) << c.entry;
        for (std::size_t i = 0; i < c.pins.size(); ++i) {
            const int row = static_cast<int>(i) + 2;
            EXPECT_EQ(Cell(p.plan, row, column::kPin), c.pins[i]) << c.entry;
            EXPECT_EQ(IntegerCell(p.plan, row, column::kTestX), 10 * static_cast<int>(i));
            EXPECT_EQ(Cell(p.plan, row, column::kRecord), "") << c.entry;
        }
    }
}

TEST(PlacementTest, QuantityFieldsAreReadAsIntegersAndKeptWithinTheirRange) {
    struct Case {
        const char* entry;
        QuantityTexts fields;
        std::array<int, 4> q;
    };
    const Case cases[] = {
        {" Custom (any qty of pins)", {"?"}, {2, 0, 0, 0}},
        {" Custom (any qty of pins)", {"300"}, {255, 0, 0, 0}},
        {" Custom (any qty of pins)", {"12"}, {12, 0, 0, 0}},
        {" Custom (from pin? to pin?)", {"1000", "x"}, {1000, 0, 0, 0}},
        {" Custom (1 row)", {"7", "9", "9", "9"}, {7, 0, 0, 0}},
        {" Custom (3 row)", {"1", "256", "abc", "9"}, {2, 255, 2, 0}},
        {" Custom (4 row)", {"250", "250", "250", "250"}, {250, 250, 250, 250}},
        {" 64 pin QFP (rectangle)", {"9", "9", "9", "9"}, {19, 13, 19, 13}},
    };
    for (const Case& c : cases) {
        EditorState editor;
        EXPECT_EQ(StartPlacement(editor, c.entry, c.fields), "") << c.entry;
        EXPECT_EQ(editor.placement.q, c.q) << c.entry << " " << c.fields[0];
        EXPECT_EQ(editor.placement.step, 1);
    }
}

TEST(PlacementTest, EntriesWithoutATemplateStartNothing) {
    for (const char* entry : {".... Components ....", ".... IC's ....", "120 pin QFP (rectangle)",
                              " 25 pin D-type (2 row)", " 96 pin DIN41612 (3 row)", "no such"}) {
        Placer p;
        p.Start("  8 pin DIP/SO");
        p.Click(1, 1);  // a placement under way stays as it is
        EXPECT_EQ(p.Start(entry, {"5", "5", "5", "5"}), "") << entry;
        EXPECT_EQ(p.editor.placement.mode, "2ROW") << entry;
        EXPECT_EQ(p.editor.placement.step, 2) << entry;
        EXPECT_EQ(p.editor.prompt, Ask(4)) << entry;
    }
}

TEST(PlacementTest, ARowComponentBeyondOneInsertionIsRefusedBeforeAnythingChanges) {
    Placer p;
    p.Start("  3 pin");
    const EditorState before = p.editor;
    EXPECT_EQ(p.Start(" Custom (4 row)", {"255", "255", "255", "255"}),
              "A component of 1020 pins cannot be created: one component can have at most "
              "1000 pins");
    EXPECT_EQ(p.Start(" Custom (4 row)", {"251", "250", "250", "250"}),
              "A component of 1001 pins cannot be created: one component can have at most "
              "1000 pins");
    EXPECT_EQ(p.editor.placement.mode, before.placement.mode);
    EXPECT_EQ(p.editor.placement.step, before.placement.step);
    EXPECT_EQ(p.editor.placement.q, before.placement.q);
    EXPECT_EQ(p.editor.prompt, before.prompt);
    EXPECT_EQ(RowCount(p.plan), 1);

    // Exactly 1000 is made, all of it.
    EXPECT_EQ(p.Start(" Custom (4 row)", {"250", "250", "250", "250"}), "");
    p.Click(0, 0);
    EXPECT_EQ(RowCount(p.plan), 1001);
    for (int click = 0; click < 7; ++click)
        p.Click(249, 0);
    EXPECT_EQ(p.editor.placement.step, 0);
    EXPECT_EQ(Cell(p.plan, 1001, column::kPin), "1000");
}

TEST(PlacementTest, CreationStartsAfterTheHeaderOfANewPlanAndAtTheEndBeyondIt) {
    for (const int index : {1, 2, 5}) {
        Placer p;  // a new plan: the header alone
        p.position.TestPlanIndex = index;
        p.Start("  4 pin DIP/SO");
        p.Click(0, 0);
        EXPECT_EQ(RowCount(p.plan), 5) << index;
        EXPECT_EQ(p.position.TestPlanIndex, 2) << index;
        EXPECT_EQ(Cell(p.plan, 2, column::kPin), "1") << index;
    }
}

// The rows a row placement fills are the ones its first click inserted; when the
// cursor has been moved off them (or another plan opened meanwhile) the placement
// stops instead of overwriting records.
TEST(PlacementTest, ARowPlacementNeverWritesOverRecordsOutsideItsBlock) {
    struct Case {
        const char* name;
        int clicksBefore;  // of an 8-pin DIP, before the cursor moves
        int movedTo;       // the row then current
    };
    const Case cases[] = {
        {"first pin of row 2 after stepping back", 2, 4},
        {"row 2 interpolation from an earlier pin", 3, 2},
        {"interpolation reaching into the old records", 1, 7},
        {"past the end of the table", 3, 12},
    };
    for (const Case& c : cases) {
        Placer p;
        ResizeTable(p.plan, 3, kPlanColumns);
        for (const int row : {2, 3}) {
            SetCell(p.plan, row, column::kComponent, "R1");
            SetCell(p.plan, row, column::kTestX, "999");
        }
        p.position.TestPlanIndex = 1;
        p.Start("  8 pin DIP/SO");
        for (int i = 0; i < c.clicksBefore; ++i)
            p.Click(100 + 10 * i, 100);
        const TestPlan before = p.plan;
        p.position.TestPlanIndex = c.movedTo;
        p.Click(500, 500);
        EXPECT_EQ(p.editor.placement.step, 0) << c.name;
        EXPECT_EQ(p.editor.prompt, "Component creation stopped: the current record was moved")
            << c.name;
        EXPECT_EQ(p.position.TestPlanIndex, c.movedTo) << c.name;
        ASSERT_EQ(RowCount(p.plan), RowCount(before)) << c.name;
        for (int row = 1; row <= RowCount(p.plan); ++row) {
            EXPECT_EQ(p.plan.rows[row - 1].text, before.rows[row - 1].text)
                << c.name << ", row " << row;
        }
    }
}

TEST(PlacementTest, AStepTheModeDoesNotHaveEndsThePlacement) {
    struct Case {
        const char* entry;
        QuantityTexts fields;
        int step;
    };
    const Case cases[] = {
        {"  8 pin DIP/SO", {}, 5},
        {" 32 pin QFP (square)", {}, 9},
        {" Custom (1 row)", {"3"}, 3},
        {"  4 pin", {}, 3},
        {" Custom (from pin? to pin?)", {"1", "4"}, 2},
    };
    for (const Case& c : cases) {
        Placer p;
        p.Start(c.entry, c.fields);
        p.editor.placement.step = c.step;
        p.Click(1, 1);
        EXPECT_EQ(p.editor.placement.step, 0) << c.entry;
        EXPECT_EQ(RowCount(p.plan), 1) << c.entry;
    }
}

TEST(PlacementTest, CreateAgainMidwayRestartsAndLeavesTheUnfilledRowsEmpty) {
    Placer p;
    p.Start("  8 pin DIP/SO");
    p.Click(0, 0);
    p.Start("  8 pin DIP/SO");
    p.position.TestPlanIndex = 9;  // the editor moves to the end of the component first
    p.Click(0, 0);
    EXPECT_EQ(RowCount(p.plan), 17);
    EXPECT_EQ(Cell(p.plan, 2, column::kPin), "1");
    EXPECT_EQ(Cell(p.plan, 3, column::kPin), "");
    EXPECT_EQ(Cell(p.plan, 10, column::kPin), "1");
}

TEST(PlacementTest, EachClickSaysWhetherItCompletedTheComponent) {
    Placer p;
    p.Start("  2 pin");
    EXPECT_EQ(PlaceClick(p.plan, p.position, p.editor, {p.name}, {1, 1}), PlaceResult::Continues);
    EXPECT_EQ(PlaceClick(p.plan, p.position, p.editor, {p.name}, {2, 1}), PlaceResult::Completed);
    p.Start("  8 pin DIP/SO");
    p.Click(1, 1);
    p.position.TestPlanIndex = 1;  // moved off the block: the next click stops
    EXPECT_EQ(PlaceClick(p.plan, p.position, p.editor, {p.name}, {2, 1}), PlaceResult::Stopped);
}

// Escape takes out exactly what the placement made, unless the plan changed around it.
TEST(PlacementTest, CancellingTakesOutTheRecordsThePlacementMade) {
    struct Case {
        const char* entry;
        QuantityTexts fields;
        int clicks;
        bool editedMeanwhile;  // a record changed between the clicks and Escape
        int rowsAfter;
    };
    const Case cases[] = {
        {"  8 pin DIP/SO", {}, 0, false, 3},
        {"  8 pin DIP/SO", {}, 1, false, 3},
        {" 32 pin QFP (square)", {}, 5, false, 3},
        {"  4 pin", {}, 3, false, 3},
        {" Custom (from pin? to pin?)", {"5", "1"}, 4, false, 3},
        {"  8 pin DIP/SO", {}, 1, true, 11},
        {"  4 pin", {}, 2, true, 5},
    };
    for (const Case& c : cases) {
        Placer p;
        ResizeTable(p.plan, 3, kPlanColumns);
        for (const int row : {2, 3})
            SetCell(p.plan, row, column::kComponent, "R1");
        Renumber(p.plan);
        p.position.TestPlanIndex = 3;
        const TestPlan before = p.plan;
        p.Start(c.entry, c.fields);
        for (int i = 0; i < c.clicks; ++i)
            p.Click(10 * i, 5);
        if (c.editedMeanwhile)
            SetCell(p.plan, 4, column::kUserText, "kept");
        EXPECT_TRUE(CancelPlacement(p.plan, p.position, p.editor)) << c.entry;
        EXPECT_EQ(p.editor.placement.step, 0) << c.entry;
        ASSERT_EQ(RowCount(p.plan), c.rowsAfter) << c.entry << " " << c.clicks;
        if (c.editedMeanwhile) {
            EXPECT_NE(p.editor.prompt, "") << c.entry;
            continue;
        }
        EXPECT_EQ(p.editor.prompt, "") << c.entry;
        EXPECT_EQ(p.position.TestPlanIndex, 3) << c.entry;
        for (int row = 1; row <= RowCount(before); ++row)
            EXPECT_EQ(p.plan.rows[row - 1].text, before.rows[row - 1].text) << c.entry;
        EXPECT_FALSE(CancelPlacement(p.plan, p.position, p.editor)) << c.entry;  // nothing left
    }
}

TEST(NextComponentNameTest, TheTrailingNumberGoesUpByOne) {
    const std::pair<std::string, std::string> cases[] = {
        {"IC17", "IC18"},
        {"U09", "U10"},
        {"Unknown_1", "Unknown_2"},
        {"PL", "PL_1"},
        {"R0099", "R100"},
        {"", "Unknown_1"},
        {"C000", "C1"},
        {"7", "8"},
        {"999", "1000"},
        {"IC 2.5", "IC 2.6"},
        {"X" + std::string(30, '9'), "X1" + std::string(30, '0')},
        {"Y" + std::string(40, '0') + "41", "Y42"},
    };
    for (const auto& [name, next] : cases)
        EXPECT_EQ(NextComponentName(name), next) << name;
}

}  // namespace
}  // namespace orv
