// A plan of two million rows and nothing else, as a file of line ends makes one, in the
// running program: it loads, the trees list what they may and count the rest, the
// board view draws a single marker, and a record change and a click on the board still
// work. What such a plan costs per pass is measured by bench/huge_plan_bench.cpp.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app/running_program.h"
#include "core/files.h"
#include "display/record_trees.h"
#include "display/ribbon_tables.h"
#include "testplan/test_plan.h"
#include "ui/controls.h"

namespace orv {
namespace {

constexpr int kLineEnds = 2'000'000;

class HugePlanTest : public test::RunningProgram {};

TEST_F(HugePlanTest, TwoMillionEmptyRowsLeaveTheWindowUsable) {
    ASSERT_TRUE(MakeFolder("testplans"));
    std::ofstream("testplans/many.orv", std::ios::binary) << std::string(kLineEnds, '\n');
    Start("ORV310", "ORV_TestPlanFileName=testplans\\many.orv\r\n");
    ui::Gui& gui = *program_.gui;
    const int rows = RowCount(program_.testPlan);
    ASSERT_GE(rows, kLineEnds);

    // The plan name, the one nameless component, the records listed, and the count.
    const int entries = ui::TreeEntryCount(gui, kControlTestTree);
    ASSERT_EQ(entries, 2 + kMaxTreeRecords + 1);
    const ui::TreeEntry more = ui::TreeEntryAt(gui, kControlTestTree, entries - 1);
    EXPECT_EQ(more.text, MoreRecordsText(rows - 1 - kMaxTreeRecords, false));
    EXPECT_EQ(more.datum, kFirstRecordRow + kMaxTreeRecords);
    EXPECT_EQ(ui::TreeEntryCount(gui, kControlBadTree), 1);

    // Every row sits at 0, 0: one marker to draw, one pin to click.
    EXPECT_FALSE(ui::ControlImage(gui, kControlPcbView).isNull());
    EXPECT_EQ(program_.display.boardPins.drawn.size(), 1u);
    EXPECT_EQ(program_.display.boardPins.clickable.size(), 1u);

    // A record change deep in the plan redraws without listing the pins again.
    const std::uint64_t listedAt = program_.display.boardPins.planRevision;
    program_.position.TestPlanIndex = 1'500'000;
    Pass();
    EXPECT_EQ(program_.display.boardPins.planRevision, listedAt);
    EXPECT_EQ(program_.cycle.LastRecordShown, 1'500'000);

    // Rows erased from the table directly, as a row deletion may: listed again.
    program_.testPlan.rows.pop_back();
    program_.position.RecordChanged = true;
    Pass();
    EXPECT_EQ(program_.display.boardPins.planRows, rows - 1);

    // A click on the board finds the first row at the pin's place.
    const Rect& board = program_.display.layout.pcbView;
    ASSERT_GT(board.width, 0);
    ClickAt(board.x + 1, board.y + 1);
    EXPECT_EQ(program_.position.TestPlanIndex, kFirstRecordRow);
}

}  // namespace
}  // namespace orv
