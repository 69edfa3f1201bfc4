#include "testplan/test_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "testplan/cell_numbers.h"
#include "testplan/record_cells.h"

namespace orv {
namespace {

using Points = std::array<float, kMaxStoredPoints + 1>;

// A plan of `records` empty records below the header.
TestPlan PlanWithRecords(int records, int cols = kPlanColumns) {
    TestPlan plan;
    ResizeTable(plan, records + 1, cols);
    return plan;
}

GeneratorSettings Generator(float mv, float ohms, float hz) {
    GeneratorSettings settings;
    settings.PeakMillivolts = mv;
    settings.SourceOhms = ohms;
    settings.FrequencyHz = hz;
    return settings;
}

TEST(TestPlanTableTest, NewTableIsOneEmptyRowOf576) {
    const TestPlan plan;
    EXPECT_EQ(RowCount(plan), 1);
    EXPECT_EQ(ColCount(plan), 576);
    EXPECT_EQ(Cell(plan, 1, 1), "");
    EXPECT_EQ(Cell(plan, 1, 576), "");
}

TEST(TestPlanTableTest, CellsKeepTheirTextWhateverOrderTheyAreWritten) {
    TestPlan plan = PlanWithRecords(2);
    SetCell(plan, 2, 300, "far");
    SetCell(plan, 2, 1, "2");
    SetCell(plan, 2, 9, "Good");
    SetCell(plan, 2, 9, "Untested");  // longer text in the middle
    SetCell(plan, 2, 1, "");          // emptied before others
    SetCell(plan, 2, 576, "last");
    SetCell(plan, 2, 300, "x");  // shorter text
    SetCell(plan, 3, 8, "IC17, Pin 3");
    EXPECT_EQ(Cell(plan, 2, 1), "");
    EXPECT_EQ(Cell(plan, 2, 9), "Untested");
    EXPECT_EQ(Cell(plan, 2, 300), "x");
    EXPECT_EQ(Cell(plan, 2, 576), "last");
    EXPECT_EQ(Cell(plan, 2, 299), "");
    EXPECT_EQ(Cell(plan, 3, 8), "IC17, Pin 3");
    EXPECT_EQ(Cell(plan, 1, 8), "");

    // Emptying the last cells gives their room back.
    SetCell(plan, 2, 576, "");
    SetCell(plan, 2, 300, "");
    EXPECT_EQ(plan.rows[1].ends.size(), 9u);
    EXPECT_EQ(Cell(plan, 2, 9), "Untested");
}

TEST(TestPlanTableTest, ATextTakenFromTheSameRowIsCopiedWhole) {
    TestPlan plan = PlanWithRecords(1);
    SetCell(plan, 2, 10, "IC17");
    SetCell(plan, 2, 11, "3");
    SetCell(plan, 2, 2, CellView(plan, 2, 10));
    SetCell(plan, 2, 40, CellView(plan, 2, 11));
    EXPECT_EQ(Cell(plan, 2, 2), "IC17");
    EXPECT_EQ(Cell(plan, 2, 10), "IC17");
    EXPECT_EQ(Cell(plan, 2, 40), "3");
}

TEST(TestPlanTableTest, CellsOutsideTheTableAreEmptyAndNeverWritten) {
    TestPlan plan = PlanWithRecords(1, 20);
    SetCell(plan, 0, 1, "a");
    SetCell(plan, 3, 1, "a");
    SetCell(plan, 2, 0, "a");
    SetCell(plan, 2, 21, "a");
    EXPECT_EQ(RowCount(plan), 2);
    EXPECT_EQ(ColCount(plan), 20);
    for (const auto& [row, col] : {std::pair{0, 1}, {3, 1}, {2, 0}, {2, 21}, {-1, -1}}) {
        EXPECT_EQ(Cell(plan, row, col), "") << row << "," << col;
    }
    EXPECT_TRUE(plan.rows[1].text.empty());
}

TEST(TestPlanTableTest, ResizeKeepsTheCellsThatStayInRange) {
    TestPlan plan = PlanWithRecords(3, 10);
    for (int row = 1; row <= 4; ++row) {
        for (int col = 1; col <= 10; ++col) {
            SetCell(plan, row, col, std::to_string(row * 100 + col));
        }
    }
    ResizeTable(plan, 3, 6);
    EXPECT_EQ(RowCount(plan), 3);
    EXPECT_EQ(ColCount(plan), 6);
    EXPECT_EQ(Cell(plan, 3, 6), "306");
    EXPECT_EQ(Cell(plan, 3, 7), "");

    ResizeTable(plan, 5, 8);  // grown again: the new cells are empty, not the old ones
    EXPECT_EQ(Cell(plan, 2, 6), "206");
    EXPECT_EQ(Cell(plan, 2, 7), "");
    EXPECT_EQ(Cell(plan, 4, 1), "");
    EXPECT_EQ(Cell(plan, 5, 8), "");
    SetCell(plan, 5, 8, "new");
    EXPECT_EQ(Cell(plan, 5, 8), "new");

    ResizeTable(plan, 0, 0);  // never below one cell
    EXPECT_EQ(RowCount(plan), 1);
    EXPECT_EQ(ColCount(plan), 1);
    EXPECT_EQ(Cell(plan, 1, 1), "101");
}

TEST(TestPlanTableTest, RenumberWritesEveryRowIndexHeaderIncluded) {
    TestPlan plan = PlanWithRecords(3);
    SetCell(plan, 3, 1, "7");
    Renumber(plan);
    for (int row = 1; row <= 4; ++row)
        EXPECT_EQ(Cell(plan, row, 1), std::to_string(row));
}

// A kept copy of something derived from the plan is made again when the revision
// differs from the one it was made at: no change may give back a value seen before,
// not even replacing the plan by a fresh or a loaded one.
TEST(TestPlanTableTest, EveryChangeGivesARevisionNotSeenBefore) {
    TestPlan plan = PlanWithRecords(3);
    std::vector<std::uint64_t> seen = {plan.revision.count};
    const auto changed = [&](const char* what) {
        const std::uint64_t now = plan.revision.count;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), now), 0) << what;
        seen.push_back(now);
    };
    SetCell(plan, 3, column::kStatus, "Bad");
    changed("cell written");
    ResizeTable(plan, 9, kPlanColumns);
    changed("rows added");
    Renumber(plan);
    changed("renumbered");
    plan = TestPlan{};
    changed("a new plan");
    TestPlan loaded = PlanWithRecords(40);
    plan = std::move(loaded);
    changed("another plan moved in");
    const TestPlan copy = plan;
    SetCell(plan, 2, column::kStatus, "Good");
    plan = copy;
    changed("an earlier copy put back");
    MarkPlanChanged(plan);
    changed("rows written directly");

    const std::uint64_t before = plan.revision.count;
    EXPECT_EQ(CellView(plan, 2, column::kStatus), "");
    EXPECT_EQ(plan.revision.count, before);  // reading changes nothing
}

class StoredSignatureTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 1; i <= kMaxStoredPoints; ++i) {
            x_[i] = 0.25f * static_cast<float>(i);
            y_[i] = -static_cast<float>(i) / 1024.0f;  // exact in binary
        }
        x_[1] = 0.1f;
        y_[1] = std::numeric_limits<float>::infinity();
        x_[2] = 0.0f;
        y_[2] = std::numeric_limits<float>::quiet_NaN();
    }
    Points x_{};
    Points y_{};
};

TEST_F(StoredSignatureTest, GoldenAndDutBlocksHoldSettingsPointsAndTheirTexts) {
    TestPlan plan = PlanWithRecords(3);
    StoreSignature(plan, 3, kGoldenBlock, Generator(1000, 999.5f, 50.4f), 64, x_, y_);
    StoreSignature(plan, 3, kDutBlock, Generator(200.5f, 100, 2000), 64, x_, y_);

    const std::pair<int, const char*> golden[] = {
        {1, "3"},
        {2, "1000"},
        {3, "mVpk"},
        {4, "1000"},
        {5, "ohms"},
        {6, "50"},
        {7, "Hz"},
        {31, "64"},
        {32, "0.1000000015"},
        {33, "+Infinity"},
        {34, "0"},
        {35, "NaN"},
        {36, "0.75"},
        {37, "-0.0029296875"},
        {158, "16"},
        {159, "-0.0625"},
        {160, ""},
        {9, ""},
        {30, ""},
        {27, ""},
    };
    for (const auto& [col, text] : golden)
        EXPECT_EQ(Cell(plan, 3, col), text) << col;
    const std::pair<int, const char*> dut[] = {
        {289, "3"},  {290, "200"},          {292, "100"},     {294, "2000"}, {295, "Hz"},
        {319, "64"}, {320, "0.1000000015"}, {447, "-0.0625"}, {448, ""},
    };
    for (const auto& [col, text] : dut)
        EXPECT_EQ(Cell(plan, 3, col), text) << col;
    EXPECT_EQ(Cell(plan, 2, 31), "");

    Points x{};
    Points y{};
    x[65] = 99;
    ASSERT_EQ(LoadSignature(plan, 3, kDutBlock, x, y), 64);
    EXPECT_EQ(x[1], 0.1f);
    EXPECT_TRUE(std::isinf(y[1]) && y[1] > 0);
    EXPECT_TRUE(std::isnan(y[2]));
    EXPECT_EQ(x[64], 16.0f);
    EXPECT_EQ(y[64], -0.0625f);
    EXPECT_EQ(x[65], 99.0f);  // beyond the point count nothing is touched
}

TEST_F(StoredSignatureTest, AStoreLeavesLaterPointsOfALongerSignature) {
    TestPlan plan = PlanWithRecords(1);
    StoreSignature(plan, 2, kGoldenBlock, Generator(1000, 1000, 50), 128, x_, y_);
    StoreSignature(plan, 2, kGoldenBlock, Generator(1000, 1000, 50), 64, x_, y_);
    EXPECT_EQ(Cell(plan, 2, 31), "64");
    EXPECT_EQ(Cell(plan, 2, 287), "-0.125");
}

TEST_F(StoredSignatureTest, StoreIntoTheHeaderKeepsTheImageColumns) {
    TestPlan plan = PlanWithRecords(1);
    for (int col = 13; col <= 16; ++col)
        SetCell(plan, 1, col, "img" + std::to_string(col));
    StoreSignature(plan, 1, kGoldenBlock, Generator(1000, 1000, 50), 64, x_, y_);
    for (int col = 13; col <= 16; ++col)
        EXPECT_EQ(Cell(plan, 1, col), "img" + std::to_string(col));
    EXPECT_EQ(Cell(plan, 1, 1), "1");
    EXPECT_EQ(Cell(plan, 1, 31), "64");
}

TEST_F(StoredSignatureTest, ANarrowTableIsWidenedSoNoPointIsLost) {
    for (const int cols : {1, 40, 446}) {
        TestPlan plan = PlanWithRecords(2, cols);
        SetCell(plan, 2, 1, "kept");
        StoreSignature(plan, 3, kDutBlock, Generator(1000, 1000, 50), 64, x_, y_);
        EXPECT_EQ(ColCount(plan), 576) << cols;
        EXPECT_EQ(Cell(plan, 3, 447), "-0.0625") << cols;
        EXPECT_EQ(Cell(plan, 2, 1), "kept") << cols;
    }
    TestPlan wide = PlanWithRecords(1, 600);  // wide enough: left as it is
    StoreSignature(wide, 2, kDutBlock, Generator(1000, 1000, 50), 64, x_, y_);
    EXPECT_EQ(ColCount(wide), 600);
}

TEST_F(StoredSignatureTest, RowsOutsideThePlanAreNeitherStoredNorLoaded) {
    TestPlan plan = PlanWithRecords(1);
    StoreSignature(plan, 3, kGoldenBlock, Generator(1000, 1000, 50), 64, x_, y_);
    StoreSignature(plan, 0, kGoldenBlock, Generator(1000, 1000, 50), 64, x_, y_);
    EXPECT_EQ(RowCount(plan), 2);
    EXPECT_TRUE(plan.rows[0].text.empty() && plan.rows[1].text.empty());
    Points x{};
    Points y{};
    EXPECT_EQ(LoadSignature(plan, 3, kGoldenBlock, x, y), 0);
}

TEST(LoadSignatureTest, PointCountFromAFileIsKeptWithinTheBuffer) {
    struct Case {
        const char* count;
        int loaded;
    };
    const Case cases[] = {{"", 0}, {"-5", 0}, {"3", 3}, {"128", 128}, {"500", 128}};
    for (const Case& c : cases) {
        TestPlan plan = PlanWithRecords(1);
        SetCell(plan, 2, 31, c.count);
        SetCell(plan, 2, 32, "1.25");
        Points x{};
        Points y{};
        EXPECT_EQ(LoadSignature(plan, 2, kGoldenBlock, x, y), c.loaded) << c.count;
        EXPECT_EQ(x[1], c.loaded > 0 ? 1.25f : 0.0f) << c.count;
    }
}

TEST(RecordSettingsTest, ReadsTheGoldenSettingsAndScannerFlags) {
    TestPlan plan = PlanWithRecords(1);
    SetCell(plan, 2, 2, "5000");
    SetCell(plan, 2, 4, "50");
    SetCell(plan, 2, 6, "200");
    SetCell(plan, 2, 27, "1");
    SetCell(plan, 2, 28, "0");
    SetCell(plan, 2, 292, "99");  // the DUT settings are not the record's settings
    EXPECT_EQ(RecordSettings(plan, 2), (RecordGenerator{5000, 50, 200, 1, 0}));
    EXPECT_EQ(RecordSettings(plan, 1), RecordGenerator{});
}

TEST(ComponentRunTest, EqualNamesApartAreSeparateComponents) {
    TestPlan plan = PlanWithRecords(5);
    const char* names[] = {"U1", "U1", "U2", "U1", ""};
    for (int i = 0; i < 5; ++i)
        SetCell(plan, i + 2, column::kComponent, names[i]);
    SetCell(plan, 1, column::kComponent, "U1");  // the header is no record
    EXPECT_EQ(ComponentRuns(plan), (std::vector<ComponentRun>{{2, 3}, {4, 4}, {5, 5}, {6, 6}}));
    EXPECT_EQ(ComponentRunAt(plan, 3), (ComponentRun{2, 3}));
    EXPECT_EQ(ComponentRunAt(plan, 1), ComponentRun{});
    EXPECT_EQ(ComponentRunAt(plan, 7), ComponentRun{});
    EXPECT_TRUE(ComponentRuns(TestPlan{}).empty());
}

// The mark of what the file holds: a change counts until it is undone, and a row that
// keeps its emptied trailing cells is the same plan as one that dropped them.
TEST(PlanOnDiskTest, OnlyADifferentTableCounts) {
    struct Case {
        const char* what;
        void (*change)(TestPlan&);
        bool differs;
    };
    const Case cases[] = {
        {"untouched", [](TestPlan&) {}, false},
        {"a verdict", [](TestPlan& p) { SetCell(p, 2, 9, "Bad"); }, true},
        {"set and undone",
         [](TestPlan& p) {
             SetCell(p, 2, 9, "Bad");
             SetCell(p, 2, 9, "Good");
         },
         false},
        {"trailing cell emptied",
         [](TestPlan& p) {
             SetCell(p, 2, 40, "x");
             SetCell(p, 2, 40, "");
         },
         false},
        {"cell moved",
         [](TestPlan& p) {
             SetCell(p, 2, 9, "");
             SetCell(p, 2, 10, "Good");
         },
         true},
        {"a row more", [](TestPlan& p) { ResizeTable(p, 3, kPlanColumns); }, true},
        {"assigned the same", [](TestPlan& p) { p = TestPlan(p); }, false},
    };
    for (const Case& c : cases) {
        TestPlan plan;
        ResizeTable(plan, 2, kPlanColumns);
        SetCell(plan, 2, 9, "Good");
        const PlanOnDisk disk = MarkOnDisk(plan);
        c.change(plan);
        EXPECT_EQ(DiffersFromDisk(disk, plan), c.differs) << c.what;
    }
}

}  // namespace
}  // namespace orv
