// The test tree and the bad tree: their texts, levels, data and icons from small
// plans, the selection that follows the current record, and fills that change only
// what differs.

#include "display/record_trees.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTreeWidget>
#include <cmath>

#include "engine/signature_buffer.h"
#include "support/working_dir.h"
#include "testplan/record_cells.h"
#include "ui/control_numbers.h"
#include "ui/tree_tooltips.h"

namespace orv {
namespace {

using ui::TreeEntry;

QImage Plain(QRgb colour) {
    QImage image(23, 23, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Distinct icons, told apart by their cache keys.
TreeIcons MakeIcons() {
    return {Plain(qRgb(0, 200, 0)),  Plain(qRgb(200, 0, 0)),   Plain(qRgb(255, 150, 200)),
            Plain(qRgb(90, 90, 90)), Plain(qRgb(250, 250, 0)), Plain(qRgb(0, 0, 0))};
}

struct Pin {
    const char* component;
    const char* pin;
    const char* note;
    const char* result;
    bool golden;
};

TestPlan PlanOf(std::initializer_list<Pin> pins) {
    TestPlan plan;
    ResizeTable(plan, static_cast<int>(pins.size()) + 1, 40);
    int row = 2;
    for (const Pin& pin : pins) {
        SetCell(plan, row, column::kComponent, pin.component);
        SetCell(plan, row, column::kPin, pin.pin);
        SetCell(plan, row, column::kUserText, pin.note);
        SetCell(plan, row, column::kStatus, pin.result);
        SetCell(plan, row, column::kSignature, pin.golden ? "Yes" : "");
        ++row;
    }
    return plan;
}

class RecordTreesTest : public test::InWorkingDir {
protected:
    void SetUp() override {
        InWorkingDir::SetUp();
        ASSERT_TRUE(ui::OpenWindow(gui_, ui::kMainWindow, "trees", 0, 0, 400, 600));
        ASSERT_TRUE(ui::CreateControl(gui_, ui::kMainWindow, kControlTestTree,
                                      ui::ControlKind::Tree, {0, 0, 200, 600}));
        ASSERT_TRUE(ui::CreateControl(gui_, ui::kMainWindow, kControlBadTree, ui::ControlKind::Tree,
                                      {200, 0, 200, 600}));
    }

    std::vector<TreeEntry> Entries(int tree) {
        std::vector<TreeEntry> entries;
        for (int i = 0; i < ui::TreeEntryCount(gui_, tree); ++i)
            entries.push_back(ui::TreeEntryAt(gui_, tree, i));
        return entries;
    }

    QTreeWidget* Widget(int tree) {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->windowTitle() != "trees")
                continue;
            const auto trees = top->findChildren<QTreeWidget*>();
            return trees.value(tree == kControlTestTree ? 0 : 1);
        }
        return nullptr;
    }

    void Fill(const TestPlan& plan, int current) {
        RecordTreeCache trees;
        CurrentRecordTrees(trees, plan, "testplans\\p.orv", icons_);
        FillTestTree(gui_, kControlTestTree, trees.test, current);
        FillBadTree(gui_, kControlBadTree, trees.bad, trees.badTooltips);
    }

    ui::Gui gui_;
    TreeIcons icons_ = MakeIcons();
};

TEST_F(RecordTreesTest, AHeaderOnlyPlanShowsItsNameAlone) {
    const TestPlan plan;
    for (const TreeContent& content :
         {TestTreeContent(plan, "p.orv", icons_), BadTreeContent(plan, "p.orv", icons_)}) {
        ASSERT_EQ(content.entries, (std::vector<TreeEntry>{{"p.orv", 0, 2}}));
        EXPECT_EQ(content.icons[0].cacheKey(), icons_.plan.cacheKey());
    }
}

TEST_F(RecordTreesTest, ComponentsHoldTheirPinsAndARepeatedNameStartsAnew) {
    const TestPlan plan = PlanOf({{"IC7", "3", "VCC", "Bad", true},
                                  {"IC7", "4", "", "Good", true},
                                  {"R1", "1", "", "Good", true},
                                  {"IC7", "5", "", "Good", true}});
    EXPECT_EQ(TestTreeContent(plan, "p.orv", icons_).entries,
              (std::vector<TreeEntry>{{"p.orv", 0, 2},
                                      {"IC7", 0, 2},
                                      {"3  VCC", 1, 2},
                                      {"4", 1, 3},
                                      {"R1", 0, 4},
                                      {"1", 1, 4},
                                      {"IC7", 0, 5},
                                      {"5", 1, 5}}));
    EXPECT_EQ(BadTreeContent(plan, "p.orv", icons_).entries,
              (std::vector<TreeEntry>{{"p.orv", 0, 2}, {"IC7, Pin 3  VCC", 0, 2}}));

    Fill(plan, 2);
    QTreeWidget* tree = Widget(kControlTestTree);
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->topLevelItemCount(), 4);  // the plan and three components
    EXPECT_EQ(tree->topLevelItem(1)->text(0), "IC7");
    ASSERT_EQ(tree->topLevelItem(1)->childCount(), 2);
    EXPECT_EQ(tree->topLevelItem(1)->child(0)->text(0), "3  VCC");
    EXPECT_EQ(tree->topLevelItem(3)->childCount(), 1);
}

TEST_F(RecordTreesTest, PinIconsFollowResultsAndComponentsSummariseThem) {
    struct Case {
        const char* name;
        std::initializer_list<Pin> pins;
        std::vector<QImage> pinIcons;
        QImage component;
    };
    const QImage none;
    const Case cases[] = {
        {"all good",
         {{"U1", "1", "", "Good", true}, {"U1", "2", "", "Good", true}},
         {icons_.good, icons_.good},
         icons_.good},
        {"bad and untested: untested first",
         {{"U1", "1", "", "Bad", true}, {"U1", "2", "", "Untested", true}},
         {icons_.bad, icons_.untested},
         icons_.untested},
        {"bad",
         {{"U1", "1", "", "Good", true}, {"U1", "2", "", "Bad", true}},
         {icons_.good, icons_.bad},
         icons_.bad},
        {"a pin without golden, whatever its result",
         {{"U1", "1", "", "Bad", false}, {"U1", "2", "", "Untested", true}},
         {icons_.noSignature, icons_.untested},
         icons_.noSignature},
        {"all NoTest shows good", {{"U1", "1", "", "NoTest", true}}, {icons_.noTest}, icons_.good},
        {"an unknown result changes no icon",
         {{"U1", "1", "", "Maybe", true}},
         {none},
         icons_.good},
    };
    for (const Case& c : cases) {
        const TreeContent content = TestTreeContent(PlanOf(c.pins), "p", icons_);
        ASSERT_EQ(content.icons.size(), c.pinIcons.size() + 2) << c.name;
        EXPECT_EQ(content.icons[0].cacheKey(), icons_.plan.cacheKey()) << c.name;
        EXPECT_EQ(content.icons[1].cacheKey(), c.component.cacheKey()) << c.name;
        for (size_t i = 0; i < c.pinIcons.size(); ++i)
            EXPECT_EQ(content.icons[i + 2].cacheKey(), c.pinIcons[i].cacheKey()) << c.name;
    }
    // Every component gets its own summary, the first one too.
    const TreeContent two = TestTreeContent(
        PlanOf({{"U1", "1", "", "Bad", true}, {"U2", "1", "", "Good", true}}), "p", icons_);
    EXPECT_EQ(two.icons[1].cacheKey(), icons_.bad.cacheKey());
    EXPECT_EQ(two.icons[3].cacheKey(), icons_.good.cacheKey());
}

TEST_F(RecordTreesTest, TheBadTreeFollowsTheResults) {
    TestPlan plan = PlanOf({{"U1", "1", "", "Bad", true},
                            {"U1", "2", "", "Bad", true},
                            {"U2", "7", "OUT", "Bad", true}});
    Fill(plan, 2);
    ASSERT_EQ(ui::TreeEntryCount(gui_, kControlBadTree), 4);
    SetCell(plan, 2, column::kStatus, "Good");
    Fill(plan, 2);
    EXPECT_EQ(Entries(kControlBadTree),
              (std::vector<TreeEntry>{
                  {"testplans\\p.orv", 0, 2}, {"U1, Pin 2", 0, 3}, {"U2, Pin 7  OUT", 0, 4}}));
    SetCell(plan, 3, column::kStatus, "Good");
    SetCell(plan, 4, column::kStatus, "Untested");
    Fill(plan, 2);
    EXPECT_EQ(ui::TreeEntryCount(gui_, kControlBadTree), 1);
}

// A pin's curve at 1 Vpk behind 1 kOhm: through `ohms` to ground, or open (0).
void StoreCurve(TestPlan& plan, int row, int block, double ohms) {
    SignatureBuffer s;
    for (int i = 1; i <= kDefaultSignaturePoints; ++i) {
        const double source = std::sin(2 * 3.14159265358979 * (i - 1) / kDefaultSignaturePoints);
        const double pin = ohms > 0 ? source * ohms / (ohms + 1000) : source;
        s.X[static_cast<size_t>(i)] = static_cast<float>(pin);
        s.Y[static_cast<size_t>(i)] = static_cast<float>((pin - source) / 1000);
    }
    StoreSignature(plan, row, block, {1000, 1000, 50, 0, 0, 0, 0}, kDefaultSignaturePoints,
                   StoredPoints(s.X), StoredPoints(s.Y));
}

TEST_F(RecordTreesTest, ABadPinsTooltipNamesItsFault) {
    TestPlan plan = PlanOf({{"R1", "1", "", "Bad", true}, {"R1", "2", "", "Bad", true}});
    StoreCurve(plan, 2, kGoldenBlock, 4700);
    StoreCurve(plan, 2, kDutBlock, 0);
    StoreCurve(plan, 3, kGoldenBlock, 4700);  // judged Bad before any DUT was stored
    Fill(plan, 2);
    const std::string open =
        "open (confidence 1.00): the curve lies on the open-circuit line at "
        "every point";
    EXPECT_EQ(ui::TreeTooltip(gui_, kControlBadTree, 1), open);
    EXPECT_EQ(ui::TreeTooltip(gui_, kControlBadTree, 2), "");
    QTreeWidget* tree = Widget(kControlBadTree);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->topLevelItem(1)->toolTip(0).toStdString(), open);
    EXPECT_EQ(tree->topLevelItem(2)->toolTip(0), "");

    // Judged again on a shorted pin: the same entry, its tooltip changed in place.
    const QTreeWidgetItem* item = tree->topLevelItem(1);
    StoreCurve(plan, 2, kDutBlock, 0.001);
    Fill(plan, 2);
    EXPECT_EQ(tree->topLevelItem(1), item);
    EXPECT_EQ(item->toolTip(0).left(5), "short");
}

TEST_F(RecordTreesTest, TheSelectionFollowsTheCurrentRecord) {
    const TestPlan plan = PlanOf({{"U1", "1", "", "Good", true},
                                  {"U1", "2", "", "Good", true},
                                  {"U2", "1", "", "Good", true}});
    Fill(plan, 3);
    EXPECT_EQ(ui::TreeSelection(gui_, kControlTestTree), 3);  // U1 pin 2
    Fill(plan, 4);
    EXPECT_EQ(ui::TreeSelection(gui_, kControlTestTree), 5);  // U2's pin, not U2 itself
    // A selection that already stands for the current record stays.
    ui::SetTreeSelection(gui_, kControlTestTree, 4);
    Fill(plan, 4);
    EXPECT_EQ(ui::TreeSelection(gui_, kControlTestTree), 4);
    // With no entry for the record (the header) the selection stays as it was.
    Fill(plan, 1);
    EXPECT_EQ(ui::TreeSelection(gui_, kControlTestTree), 4);
}

TEST_F(RecordTreesTest, FillsChangeOnlyWhatDiffers) {
    TestPlan plan = PlanOf({{"U1", "1", "", "Good", true},
                            {"U1", "2", "", "Good", true},
                            {"U2", "1", "", "Good", true}});
    Fill(plan, 2);
    QTreeWidget* tree = Widget(kControlTestTree);
    ASSERT_NE(tree, nullptr);
    QTreeWidgetItem* const u2 = tree->topLevelItem(2);
    SetCell(plan, 3, column::kStatus, "Bad");
    Fill(plan, 2);
    EXPECT_EQ(tree->topLevelItem(2), u2);  // the same item, not a new one

    // A renamed pin keeps the entry's place and takes its new datum and text.
    SetCell(plan, 3, column::kPin, "9");
    Fill(plan, 2);
    EXPECT_EQ(ui::TreeEntryAt(gui_, kControlTestTree, 3), (TreeEntry{"9", 1, 3}));
    EXPECT_EQ(tree->topLevelItem(1)->child(1)->text(0), "9");

    // A plan that shrinks drops the entries past its end.
    ResizeTable(plan, 3, 40);
    Fill(plan, 2);
    EXPECT_EQ(Entries(kControlTestTree),
              (std::vector<TreeEntry>{
                  {"testplans\\p.orv", 0, 2}, {"U1", 0, 2}, {"1", 1, 2}, {"9", 1, 3}}));
    EXPECT_EQ(tree->topLevelItemCount(), 2);

    // Entries that move between levels are put under the right component.
    SetCell(plan, 3, column::kComponent, "U3");
    Fill(plan, 3);
    EXPECT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(2)->text(0), "U3");
    EXPECT_EQ(tree->topLevelItem(2)->child(0)->text(0), "9");
    EXPECT_EQ(ui::TreeSelection(gui_, kControlTestTree), 4);
}

// Both trees list at most kMaxTreeRecords records; one last entry counts the rest and
// leads to the first of them.
TEST_F(RecordTreesTest, LargePlansAreListedUpToTheLimitAndTheRestCounted) {
    struct Case {
        int records;
        int bad;  // the last `bad` records are Bad
        std::vector<TreeEntry> testTail;
        std::vector<TreeEntry> badTail;
    };
    const int limit = kMaxTreeRecords;
    const int lastListed = kFirstRecordRow + limit - 1;
    const Case cases[] = {
        {limit, 3, {{"p", 1, lastListed}}, {{"U9, Pin p", 0, lastListed}}},
        {limit + 25,
         3,
         {{"p", 1, lastListed}, {"... 25 more records", 0, lastListed + 1}},
         {{"U9, Pin p", 0, lastListed + 25}}},
        {limit + 25,
         limit + 2,
         {{"p", 1, lastListed}, {"... 25 more records", 0, lastListed + 1}},
         {{"U9, Pin p", 0, lastListed + 23}, {"... 2 more Bad records", 0, lastListed + 24}}},
    };
    for (const Case& c : cases) {
        TestPlan plan;
        ResizeTable(plan, c.records + 1, 40);
        for (int row = kFirstRecordRow; row <= c.records + 1; ++row) {
            SetCell(plan, row, column::kComponent, "U9");
            SetCell(plan, row, column::kPin, "p");
            if (row > c.records + 1 - c.bad)
                SetCell(plan, row, column::kStatus, "Bad");
        }
        const TreeContent tests = TestTreeContent(plan, "p.orv", icons_);
        ASSERT_EQ(tests.entries.size(), static_cast<size_t>(limit) + 1 + c.testTail.size());
        EXPECT_EQ(tests.icons.size(), tests.entries.size());
        EXPECT_EQ(std::vector<TreeEntry>(tests.entries.end() - static_cast<long>(c.testTail.size()),
                                         tests.entries.end()),
                  c.testTail)
            << c.records;
        const TreeContent bad = BadTreeContent(plan, "p.orv", icons_);
        EXPECT_EQ(bad.entries.back(), c.badTail.back()) << c.records << " " << c.bad;
        if (c.badTail.size() == 2) {
            EXPECT_EQ(bad.entries[bad.entries.size() - 2].text, "U9, Pin p");
        }
        EXPECT_LE(bad.entries.size(), static_cast<size_t>(limit) + 2);
    }
    // A plan of many empty rows fills the tree control within the limit.
    TestPlan huge;
    ResizeTable(huge, 200'000, 40);
    Fill(huge, 150'000);
    EXPECT_EQ(ui::TreeEntryCount(gui_, kControlTestTree), 2 + limit + 1);
    EXPECT_EQ(ui::TreeEntryAt(gui_, kControlTestTree, 2 + limit),
              (TreeEntry{"... " + std::to_string(200'000 - lastListed) + " more records", 0,
                         lastListed + 1}));
}

// The trees and counts kept between commands follow every kind of change: a result
// written, rows added behind the plan's back, another plan name, other icons.
TEST_F(RecordTreesTest, KeptTreesAndCountsFollowEveryChange) {
    TestPlan plan = PlanOf({{"R1", "1", "", "Good", true}, {"R1", "2", "", "Untested", true}});
    RecordTreeCache cache;
    const auto badTexts = [&] {
        std::vector<std::string> texts;
        for (const TreeEntry& entry : cache.bad.entries)
            texts.push_back(entry.text);
        return texts;
    };
    CurrentRecordTrees(cache, plan, "p.orv", icons_);
    EXPECT_EQ(cache.goodRecords, 1);
    EXPECT_EQ(cache.badRecords, 0);

    SetCell(plan, 3, column::kStatus, "Bad");
    CurrentRecordTrees(cache, plan, "p.orv", icons_);
    EXPECT_EQ(badTexts(), (std::vector<std::string>{"p.orv", "R1, Pin 2"}));
    EXPECT_EQ(cache.badRecords, 1);
    EXPECT_EQ(cache.badTooltips.size(), cache.bad.entries.size());

    plan.rows.push_back(plan.rows.back());  // written directly: the revision stays
    CurrentRecordTrees(cache, plan, "p.orv", icons_);
    EXPECT_EQ(badTexts(), (std::vector<std::string>{"p.orv", "R1, Pin 2", "R1, Pin 2"}));
    EXPECT_EQ(cache.test.entries.size(), 5u);

    CurrentRecordTrees(cache, plan, "q.orv", icons_);
    EXPECT_EQ(cache.test.entries.front().text, "q.orv");

    TreeIcons other = MakeIcons();
    CurrentRecordTrees(cache, plan, "q.orv", other);
    EXPECT_EQ(cache.bad.icons.back().cacheKey(), other.bad.cacheKey());
}

TEST(PlanDisplayNameTest, TheWorkingDirectoryIsTakenOffOnce) {
    struct Case {
        const char* file;
        const char* directory;
        const char* shown;
    };
    const Case cases[] = {
        {"testplans\\demo_A.orv", "/home/t/orv", "testplans\\demo_A.orv"},
        {"/home/t/orv/testplans/b.orv", "/home/t/orv", "testplans/b.orv"},
        {"C:\\orv\\testplans\\b.orv", "C:\\orv", "testplans\\b.orv"},
        {"/home/t/orvx/b.orv", "/home/t/orv", "/home/t/orvx/b.orv"},
        {"/elsewhere/b.orv", "/home/t/orv", "/elsewhere/b.orv"},
        {"b.orv", "", "b.orv"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlanDisplayName(c.file, c.directory), c.shown) << c.file;
}

}  // namespace
}  // namespace orv
