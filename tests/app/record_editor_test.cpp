// The record editor through its real window on the running program: clicks and
// buttons go in as the window reports them, the plan and the fields are read back.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "app/running_editor.h"
#include "core/files.h"
#include "display/record_editor_window.h"
#include "testplan/orv_file.h"
#include "testplan/package_templates.h"
#include "ui/controls.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

class RecordEditorTest : public test::RunningEditor {
protected:
    std::string Stored(int column) { return Text(editor::StoredField(column)); }
    int Current() const { return program_.position.TestPlanIndex; }

    // A plan of `records` records in components of the given sizes, named C1, C2, ...
    void UsePlan(const std::vector<int>& componentSizes) {
        TestPlan plan;
        int rows = 1;
        for (int size : componentSizes)
            rows += size;
        ResizeTable(plan, rows, kPlanColumns);
        int row = 2;
        for (std::size_t c = 0; c < componentSizes.size(); ++c) {
            for (int pin = 1; pin <= componentSizes[c]; ++pin, ++row) {
                const std::string name = "C" + std::to_string(c + 1);
                SetCell(plan, row, column::kComponent, name);
                SetCell(plan, row, column::kPin, std::to_string(pin));
                SetCell(plan, row, column::kDescription, name + ", Pin " + std::to_string(pin));
                SetCell(plan, row, column::kTestX, std::to_string(100 + 10 * row));
                SetCell(plan, row, column::kTestY, "100");
            }
        }
        Renumber(plan);
        program_.testPlan = std::move(plan);
        program_.position.TestPlanIndex = 2;
    }

    // A photograph of the given size below the working directory, named in the header.
    void UsePhoto(int width, int height) {
        ASSERT_TRUE(MakeFolder("images"));
        QImage photo(width, height, QImage::Format_RGB32);
        photo.fill(Qt::darkGreen);
        ASSERT_TRUE(photo.save("images/board.png"));
        SetCell(program_.testPlan, 1, column::kImageFile, "images/board.png");
    }
};

TEST_F(RecordEditorTest, OpensWithEveryControlAndShowsTheNewPlan) {
    Start("ORV310");
    program_.testPlan = TestPlan{};
    program_.position.TestPlanIndex = 1;
    UsePhoto(800, 600);
    Open();
    ui::Gui& gui = *program_.gui;
    EXPECT_EQ(ui::WindowTitle(gui, kRecordEditorWindow), "Edit/Add Records & Images");
    EXPECT_EQ(ui::InnerSize(gui, kRecordEditorWindow), (ui::Size{1280, 760}));
    EXPECT_EQ(Text(editor::kRecordNumber), "1/1");
    EXPECT_EQ(Text(editor::kComponentName), "Unknown_1");
    EXPECT_TRUE(ui::IsControlChecked(gui, editor::kAutoIncrement));
    EXPECT_EQ(Text(editor::kPackageList), ".... Components ....");
    EXPECT_EQ(ui::ControlRect(gui, editor::kZoomWindow), (ui::Rect{760, 209, 90, 70}));
    EXPECT_EQ(Text(editor::kZoomWindow), "SELECT ZOOM WINDOW");
    EXPECT_EQ(ui::ControlTooltip(gui, editor::kFirst),
              "Goto FIRST record/pin/component in the sequence (index=2)");
    EXPECT_EQ(ui::ControlTooltip(gui, editor::kUpdateComponentName),
              "Updates the current Component name (will also rebuild Description record)");
    EXPECT_TRUE(ui::IsControlReadOnly(gui, editor::kImageFile));
    EXPECT_FALSE(ui::IsControlReadOnly(gui, editor::ToWriteField(editor::kPinField)));
    for (int field : editor::kQuantityFields)
        EXPECT_FALSE(ui::IsControlVisible(gui, field));
    EXPECT_EQ(ui::ControlImage(gui, editor::kImageArea).size(), QSize(640, 640));

    // A new component goes after the header.
    ChoosePackage("  2 pin");
    Control(editor::kCreateComponent);
    ClickImage({10, 10});
    ClickImage({20, 10});
    EXPECT_EQ(RowCount(program_.testPlan), 3);
    EXPECT_EQ(Cell(program_.testPlan, 2, column::kDescription), "Unknown_1, Pin 1");
    EXPECT_EQ(Text(editor::kComponentName), "Unknown_2");  // after the placement finished
}

TEST_F(RecordEditorTest, AWindowThatCannotBeMadeIsReportedAndNothingChanges) {
    Start("ORV310");
    UsePlan({2});
    // The window's number already taken: the editor cannot open its own.
    ASSERT_TRUE(ui::OpenWindow(*program_.gui, kRecordEditorWindow, "taken", 0, 0, 100, 100));
    Dialogs().shown.clear();
    EXPECT_FALSE(BeginRecordEditor(program_, session_));
    ASSERT_EQ(Dialogs().shown.size(), 1u);
    EXPECT_EQ(Dialogs().shown[0].title, "Error #0081");
    EXPECT_EQ(Dialogs().shown[0].text, "Edit Image window won't start");
    EXPECT_FALSE(session_.open);
    EXPECT_EQ(RowCount(program_.testPlan), 3);
}

TEST_F(RecordEditorTest, PackageEntriesShowTheirQuantityFields) {
    Start("ORV310");
    Open();
    struct Case {
        std::string_view entry;
        int shown;
        std::string_view firstLabel;
    };
    for (const Case& c :
         {Case{" Custom (any qty of pins)", 1, "Qty: "},
          Case{" Custom (from pin? to pin?)", 2, "First: "}, Case{" Custom (1 row)", 1, "Row 1: "},
          Case{" Custom (3 row)", 3, "Row 1: "}, Case{" 14 pin DIP/SO", 0, ""}}) {
        ChoosePackage(c.entry);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(ui::IsControlVisible(*program_.gui, editor::kQuantityFields[k]), k < c.shown)
                << c.entry << " field " << k;
        }
        if (c.shown > 0) {
            EXPECT_EQ(Text(editor::kQuantityLabels[0]), c.firstLabel) << c.entry;
        }
    }
    ChoosePackage(" Custom (from pin? to pin?)");
    EXPECT_EQ(Text(editor::kQuantityLabels[1]), "Last: ");
}

TEST_F(RecordEditorTest, AComponentTooLargeForOneInsertionIsRefusedWithNothingChanged) {
    Start("ORV310");
    UsePlan({2});
    UsePhoto(800, 600);
    Open();
    ChoosePackage(" Custom (4 row)");
    for (int field : editor::kQuantityFields)
        Type(field, "255");
    Dialogs().shown.clear();
    Control(editor::kCreateComponent);
    ASSERT_EQ(Dialogs().shown.size(), 1u);
    EXPECT_EQ(Dialogs().shown[0].title, "Info #0083");
    EXPECT_NE(Dialogs().shown[0].text.find("1020"), std::string::npos);
    EXPECT_NE(Dialogs().shown[0].text.find("1000"), std::string::npos);
    EXPECT_EQ(program_.editor.placement.step, 0);
    ClickImage({10, 10});
    EXPECT_EQ(RowCount(program_.testPlan), 3);

    // Within the limit the same entry places its rows.
    Type(editor::kQuantityFields[3], "235");
    Control(editor::kCreateComponent);
    EXPECT_EQ(program_.editor.prompt, "Click on Pin 1");
    ClickImage({10, 10});
    EXPECT_EQ(RowCount(program_.testPlan), 1003);
}

TEST_F(RecordEditorTest, RowOperationsKeepTheCurrentRecordWhereTheUserExpects) {
    Start("ORV310");
    UsePlan({3, 2});
    Open();
    Control(editor::kLast);
    EXPECT_EQ(Text(editor::kRecordNumber), "6/6");
    Control(editor::kInsertAfter);  // an empty record appended and selected
    EXPECT_EQ(RowCount(program_.testPlan), 7);
    EXPECT_EQ(Text(editor::kRecordNumber), "7/7");
    EXPECT_EQ(Stored(editor::kComponentField), "");

    Control(editor::kDeletePin);  // the last record: the new last one is current
    EXPECT_EQ(Text(editor::kRecordNumber), "6/6");

    Control(editor::kFirst);
    Control(editor::kInsertBefore);  // row 2 empty, the old row 2 on row 3
    EXPECT_EQ(Current(), 2);
    EXPECT_EQ(Cell(program_.testPlan, 2, column::kComponent), "");
    EXPECT_EQ(Cell(program_.testPlan, 3, column::kDescription), "C1, Pin 1");

    Control(editor::kNextComponent);
    EXPECT_EQ(Stored(editor::kComponentField), "C1");
    Control(editor::kNextComponent);
    EXPECT_EQ(Stored(editor::kComponentField), "C2");
}

TEST_F(RecordEditorTest, DeletingAWholeComponentRenumbersEveryRow) {
    Start("ORV310");
    UsePlan({2, 40, 3});
    Open();
    Control(editor::kNextComponent);
    ASSERT_EQ(Stored(editor::kComponentField), "C2");
    Control(editor::kDeleteComponent);
    EXPECT_EQ(RowCount(program_.testPlan), 6);
    EXPECT_EQ(Current(), 4);
    EXPECT_EQ(Stored(editor::kComponentField), "C3");
    for (int row = 1; row <= 6; ++row)
        EXPECT_EQ(Cell(program_.testPlan, row, column::kRecord), std::to_string(row));
    EXPECT_EQ(program_.editor.prompt, "");
}

TEST_F(RecordEditorTest, ZoomAndPanButtonsMoveTheView) {
    Start("ORV310");
    UsePlan({2});
    UsePhoto(2000, 1000);
    Open();
    program_.editor.zoom = 2.5f;
    Control(editor::kZoomIn);
    EXPECT_EQ(program_.editor.zoom, 3.0f);
    EXPECT_EQ(Text(editor::ToWriteField(editor::kZoomField)), "3.0");

    program_.editor.zoom = 2;
    program_.editor.viewX = 1000;
    Control(editor::kLeft);
    EXPECT_EQ(program_.editor.viewX, 900);
    EXPECT_EQ(Text(editor::ToWriteField(editor::kViewXField)), "900");
    for (int k = 0; k < 12; ++k)
        Control(editor::kLeft);
    EXPECT_EQ(program_.editor.viewX, 1);

    Control(editor::kCentre);
    EXPECT_EQ(program_.editor.viewX, 1000);
    EXPECT_EQ(program_.editor.viewY, 500);

    // A zoom window drawn around a part.
    Control(editor::kZoomAll);
    Control(editor::kZoomWindow);
    EXPECT_EQ(program_.editor.prompt, "Click on top-left corner of Component");
    ClickImage({400, 300});
    EXPECT_EQ(program_.editor.prompt, "Click on bottom-right corner of Component");
    ClickImage({600, 400});
    EXPECT_EQ(program_.editor.prompt, "");
    EXPECT_NEAR(program_.editor.zoom, 10.0f, 0.5f);
    EXPECT_NEAR(program_.editor.viewX, 500, 4);
}

TEST_F(RecordEditorTest, ClicksSelectPinsOrNothing) {
    Start("ORV310");
    UsePlan({4});
    UsePhoto(640, 640);
    SetCell(program_.testPlan, 1, column::kViewX, "320");
    SetCell(program_.testPlan, 1, column::kViewY, "320");
    SetCell(program_.testPlan, 1, column::kZoom, "1");
    program_.position.TestPlanIndex = 1;
    Open();
    ClickImage({140, 100});  // row 4's pin
    EXPECT_EQ(Current(), 4);
    EXPECT_EQ(Text(editor::kRecordNumber), "4/5");
    ClickImage({400, 400});  // no pin: nothing selected, still refreshed
    EXPECT_EQ(Current(), 4);

    // Move Pin puts the current pin where the next click lands.
    Control(editor::kMovePin);
    EXPECT_EQ(program_.editor.prompt, "Move Pin: Click on new location for Pin 3");
    ClickImage({300, 200});
    EXPECT_EQ(Cell(program_.testPlan, 4, column::kTestX), "300");
    EXPECT_EQ(Cell(program_.testPlan, 4, column::kTestY), "200");
    EXPECT_EQ(program_.editor.prompt, "");
}

TEST_F(RecordEditorTest, MovePinShowsItsPromptAndTheMarkerOffThePinAtOnce) {
    Start("ORV310");
    UsePlan({4});
    UsePhoto(640, 640);
    Open();
    Control(editor::kNext);
    const QImage before = ui::ControlImage(*program_.gui, editor::kImageArea);
    Control(editor::kMovePin);  // one event, one pass of the loop
    EXPECT_EQ(Text(editor::ToWriteField(editor::kTestXField)), "0");
    EXPECT_EQ(Text(editor::ToWriteField(editor::kTestYField)), "0");
    EXPECT_NE(ui::ControlImage(*program_.gui, editor::kImageArea), before);
}

// Escape pressed on the real window, as the user does in the middle of a placement.
class RecordEditorEscapeTest : public RecordEditorTest {
protected:
    void PressEscape() {
        QWidget* window = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->windowTitle() == QString::fromUtf8(kRecordEditorTitle.data()))
                window = top;
        }
        ASSERT_NE(window, nullptr);
        QApplication::setActiveWindow(window);
        QWidget* focus = window->focusWidget() != nullptr ? window->focusWidget() : window;
        QTest::keyClick(focus, Qt::Key_Escape);
        Serve();
    }
};

TEST_F(RecordEditorEscapeTest, EscapeTakesBackAPlacementAndLeavesTheNameForAnotherTry) {
    struct Case {
        const char* entry;
        QuantityTexts fields;
        int clicks;  // before Escape
    };
    const Case cases[] = {
        {"  8 pin DIP/SO", {}, 1},  // all eight records are made by the first click
        {"  8 pin DIP/SO", {}, 3},
        {" Custom (any qty of pins)", {"5"}, 3},
        {" Custom (from pin? to pin?)", {"9", "4"}, 2},
        {"  3 pin", {}, 0},
    };
    Start("ORV310");
    for (const Case& c : cases) {
        UsePlan({2, 3});
        UsePhoto(640, 640);
        Open();
        const TestPlan before = program_.testPlan;
        Type(editor::kComponentName, "IC17");
        ChoosePackage(c.entry);
        for (std::size_t k = 0; k < 4; ++k)
            Type(editor::kQuantityFields[k], c.fields[k]);
        Control(editor::kCreateComponent);
        for (int k = 0; k < c.clicks; ++k)
            ClickImage({20 + 40 * k, 100});
        const QImage during = ui::ControlImage(*program_.gui, editor::kImageArea);
        PressEscape();
        EXPECT_EQ(program_.editor.placement.step, 0) << c.entry;
        EXPECT_EQ(program_.editor.prompt, "") << c.entry;
        ASSERT_EQ(RowCount(program_.testPlan), RowCount(before)) << c.entry;
        for (int row = 1; row <= RowCount(before); ++row)
            EXPECT_EQ(program_.testPlan.rows[row - 1].text, before.rows[row - 1].text) << c.entry;
        EXPECT_EQ(Current(), 3) << c.entry;  // the component it was to follow
        EXPECT_EQ(Text(editor::kRecordNumber), "3/6") << c.entry;
        EXPECT_EQ(Text(editor::kComponentName), "IC17") << c.entry;
        if (c.clicks > 0) {
            EXPECT_NE(ui::ControlImage(*program_.gui, editor::kImageArea), during) << c.entry;
        }
        // A click now selects or does nothing; it makes no record.
        ClickImage({500, 500});
        EXPECT_EQ(RowCount(program_.testPlan), RowCount(before)) << c.entry;
        Post(ui::EventKind::CloseRequest);
        EndRecordEditor(program_, session_);
    }
}

TEST_F(RecordEditorEscapeTest, EscapeCallsOffMovePinAndTheZoomWindow) {
    Start("ORV310");
    UsePlan({4});
    UsePhoto(640, 640);
    Open();
    Control(editor::kMovePin);
    PressEscape();
    EXPECT_EQ(program_.editor.prompt, "");
    EXPECT_EQ(Text(editor::ToWriteField(editor::kTestXField)), "120");
    ClickImage({300, 200});
    EXPECT_EQ(Cell(program_.testPlan, 2, column::kTestX), "120");  // the pin stayed

    Control(editor::kZoomWindow);
    PressEscape();
    EXPECT_EQ(program_.editor.zoomWindowStep, 0);
    EXPECT_EQ(program_.editor.prompt, "");
}

TEST_F(RecordEditorTest, APlacementThatStopsLeavesTheComponentName) {
    Start("ORV310");
    UsePlan({2});
    UsePhoto(640, 640);
    Open();
    Type(editor::kComponentName, "IC17");
    ChoosePackage("  8 pin DIP/SO");
    Control(editor::kCreateComponent);
    ClickImage({100, 200});
    Control(editor::kPrevious);  // the cursor leaves the new block
    ClickImage({160, 200});
    EXPECT_EQ(program_.editor.placement.step, 0);
    EXPECT_EQ(program_.editor.prompt, "Component creation stopped: the current record was moved");
    EXPECT_EQ(Text(editor::kComponentName), "IC17");
}

TEST_F(RecordEditorTest, UpdateButtonsRewriteTheRecordAndItsComponent) {
    Start("ORV310");
    UsePlan({1, 3});
    Open();
    Control(editor::kNext);
    ASSERT_EQ(Stored(editor::kComponentField), "C2");

    Type(editor::ToWriteField(editor::kComponentField), "IC7");
    Control(editor::kUpdateComponentName);
    for (int row = 3; row <= 5; ++row) {
        EXPECT_EQ(Cell(program_.testPlan, row, column::kComponent), "IC7");
        EXPECT_EQ(Cell(program_.testPlan, row, column::kDescription),
                  "IC7, Pin " + std::to_string(row - 2));
    }
    EXPECT_EQ(Cell(program_.testPlan, 2, column::kComponent), "C1");

    Type(editor::ToWriteField(editor::kDescriptionField), "supply");
    Control(editor::kUpdateDescriptions);
    EXPECT_EQ(Cell(program_.testPlan, 5, column::kDescription), "supply");

    Type(editor::ToWriteField(editor::kPinField), "VCC");
    Type(editor::ToWriteField(editor::kUserTextField), "5 V rail");
    Control(editor::kUpdateSingle);
    EXPECT_EQ(Cell(program_.testPlan, 3, column::kPin), "VCC");
    EXPECT_EQ(Stored(editor::kUserTextField), "5 V rail");
    EXPECT_EQ(Cell(program_.testPlan, 4, column::kPin), "2");
}

TEST_F(RecordEditorTest, ChosenPhotographIsStoredRelativeAndQuickSaveWritesThePlan) {
    Start("ORV310");
    UsePlan({2});
    UsePhoto(800, 600);
    Open();
    const std::string chosen = (fs::current_path() / "images" / "board.png").string();
    Dialogs().fileAnswers = {chosen};
    Control(editor::kSelectImage);
    ASSERT_EQ(Dialogs().fileRequests.size(), 1u);
    EXPECT_EQ(Dialogs().fileRequests[0].title, "Please choose PCB image to open");
    EXPECT_EQ(Dialogs().fileRequests[0].filters.size(), 3u);
    EXPECT_EQ(Cell(program_.testPlan, 1, column::kImageFile), "images/board.png");
    EXPECT_EQ(Cell(program_.testPlan, 1, column::kViewX), "400");
    EXPECT_EQ(Cell(program_.testPlan, 1, column::kViewY), "300");
    EXPECT_EQ(Cell(program_.testPlan, 1, column::kZoom), "1");
    EXPECT_EQ(Text(editor::kImageFile), " images/board.png");

    program_.app.settings.TestPlanFileName = "quick.orv";
    Control(editor::kQuickSave);
    TestPlan loaded;
    LoadTestPlan(loaded, program_.log, "quick.orv");
    ASSERT_EQ(RowCount(loaded), RowCount(program_.testPlan));
    for (int row = 1; row <= RowCount(loaded); ++row) {
        for (int col = 1; col <= 40; ++col)
            EXPECT_EQ(Cell(loaded, row, col), Cell(program_.testPlan, row, col))
                << row << "," << col;
    }
}

TEST_F(RecordEditorTest, ClosingRebuildsTheTreesAndTheMainLoopGoesOn) {
    Start("ORV310");
    UsePlan({2});
    Open();
    ChoosePackage("  1 pin");
    Type(editor::kComponentName, "TP1");
    Post(ui::EventKind::RightClick, 0, 300, 300);  // a right click starts the placement too
    EXPECT_EQ(program_.editor.prompt, "Click on Pin");
    ClickImage({50, 60});
    EXPECT_EQ(Cell(program_.testPlan, 4, column::kComponent), "TP1");
    EXPECT_EQ(Text(editor::kComponentName), "TP2");

    // The main window's close waits for the main loop; the new record is given up.
    Dialogs().saveAnswers = {ui::SaveAnswer::Discard};
    program_.gui->pending.push_back({ui::EventKind::CloseRequest, 0, ui::kMainWindow});
    Post(ui::EventKind::CloseRequest);
    EXPECT_FALSE(session_.open);
    EndRecordEditor(program_, session_);
    EXPECT_FALSE(ui::IsWindowOpen(*program_.gui, kRecordEditorWindow));
    while (!program_.gui->pending.empty() && !program_.app.QuitRequested)
        Pass();
    EXPECT_TRUE(program_.app.QuitRequested);
    const int entries = ui::TreeEntryCount(*program_.gui, kControlTestTree);
    EXPECT_GE(entries, 4);  // the new component is in the tree
}

}  // namespace
}  // namespace orv
