#include "ui/controls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTreeWidget>

#include "ui/gui.h"

namespace orv::ui {
namespace {

constexpr int kWindow = 7;

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(OpenWindow(gui_, kWindow, "controls", 0, 0, 400, 300)); }
    std::vector<Event> TakeEvents() {
        QApplication::processEvents();
        std::vector<Event> events;
        for (Event e = WaitEvent(gui_, 0); e.kind != EventKind::None; e = WaitEvent(gui_, 0)) {
            if (e.kind != EventKind::MovedOrResized)
                events.push_back(e);
        }
        return events;
    }
    // The window's free area, where controls are placed.
    QWidget* ClientArea() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->windowTitle() == "controls")
                return top->findChild<QScrollArea*>()->widget();  // the area it scrolls
        }
        return nullptr;
    }

    Gui gui_;
};

TEST_F(ControlsTest, NumbersAreUniqueAndPanelsHoldControls) {
    gui_.strict = false;  // the taken number below is this test's point
    EXPECT_TRUE(CreateControl(gui_, kWindow, 249, ControlKind::Panel, {2, 2, 144, 100}));
    EXPECT_TRUE(CreateControl(gui_, kWindow, 567, ControlKind::Button, {2, 26, 70, 23}, "V+", 249));
    EXPECT_FALSE(CreateControl(gui_, kWindow, 567, ControlKind::Label, {0, 0, 10, 10}));
    EXPECT_FALSE(CreateControl(gui_, kWindow, 1, ControlKind::Label, {0, 0, 10, 10}, "", 999));
    EXPECT_FALSE(CreateControl(gui_, 99, 2, ControlKind::Label, {0, 0, 10, 10}));
    EXPECT_EQ(ControlText(gui_, 567), "V+");
    EXPECT_EQ(ControlRect(gui_, 567), (Rect{2, 26, 70, 23}));
    SetControlTooltip(gui_, 567, "raise the voltage");
    EXPECT_EQ(ControlTooltip(gui_, 567), "raise the voltage");
    SetControlVisible(gui_, 567, false);
    EXPECT_FALSE(IsControlVisible(gui_, 567));
    SetControlEnabled(gui_, 567, false);
    EXPECT_FALSE(IsControlEnabled(gui_, 567));
    EXPECT_EQ(gui_.misuses,
              (std::vector<std::string>{"control number 567 is taken", "no control 999"}));
    CloseWindow(gui_, kWindow);
    EXPECT_FALSE(ControlExists(gui_, 567));
}

// A call on a number that is missing, or a control of another kind, is a mistake of
// the caller's: the test that makes it fails instead of the call doing nothing.
TEST_F(ControlsTest, CallsOnMissingOrMismatchedNumbersAreCaught) {
    ASSERT_TRUE(gui_.strict);  // as every test runs
    ASSERT_TRUE(CreateControl(gui_, kWindow, 565, ControlKind::List, {0, 0, 100, 23}));
    ASSERT_TRUE(CreateControl(gui_, kWindow, 606, ControlKind::CheckBox, {0, 30, 100, 23}));
    EXPECT_DEATH(SetControlText(gui_, 999, "x"), "no control 999");
    EXPECT_DEATH(IsControlChecked(gui_, 565), "control 565 is of another kind");
    EXPECT_DEATH(SetControlText(gui_, 565, "x"), "control 565 shows no text");
    EXPECT_DEATH(SetMenuItemChecked(gui_, 235, true), "no menu item 235");

    gui_.strict = false;
    EXPECT_FALSE(ControlExists(gui_, 999));  // asking is no mistake
    EXPECT_FALSE(MenuItemExists(gui_, 235));
    EXPECT_TRUE(gui_.misuses.empty());
    EXPECT_EQ(ListSelection(gui_, 606), -1);
    SetListItems(gui_, 998, {"a"});
    EXPECT_EQ(gui_.misuses,
              (std::vector<std::string>{"control 606 is of another kind", "no control 998"}));
}

TEST_F(ControlsTest, UserActionsReportEventsAndProgramChangesDoNot) {
    ASSERT_TRUE(CreateControl(gui_, kWindow, 10, ControlKind::Button, {0, 0, 60, 23}, "go"));
    ASSERT_TRUE(CreateControl(gui_, kWindow, 11, ControlKind::CheckBox, {0, 30, 60, 23}, "V/R/Hz"));
    ASSERT_TRUE(CreateControl(gui_, kWindow, 12, ControlKind::List, {0, 60, 120, 23}));
    SetListItems(gui_, 12, {"Frequency: 10Hz", "Frequency: 20Hz"});
    SetListSelection(gui_, 12, 1);
    SetControlChecked(gui_, 11, true);
    EXPECT_TRUE(TakeEvents().empty());
    EXPECT_EQ(ListSelection(gui_, 12), 1);
    EXPECT_EQ(ControlText(gui_, 12), "Frequency: 20Hz");
    EXPECT_TRUE(IsControlChecked(gui_, 11));

    for (QPushButton* button : ClientArea()->findChildren<QPushButton*>()) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    const std::vector<Event> events = TakeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], (Event{EventKind::Control, 10, kWindow}));
}

TEST_F(ControlsTest, ImageAreasPassClicksToTheWindowAndImageButtonsReportThem) {
    ASSERT_TRUE(CreateControl(gui_, kWindow, 20, ControlKind::ImageArea, {100, 50, 40, 40}));
    ASSERT_TRUE(CreateControl(gui_, kWindow, 21, ControlKind::ImageButton, {200, 50, 40, 40}));
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::red);
    SetControlImage(gui_, 20, image);
    EXPECT_EQ(ControlImage(gui_, 20).size(), QSize(40, 40));
    QWidget* client = ClientArea();
    ASSERT_NE(client, nullptr);
    // The window system finds no widget under an image area, so the click lands on the
    // window's free area.
    EXPECT_EQ(client->childAt(110, 60), nullptr);
    QTest::mouseClick(client, Qt::LeftButton, {}, QPoint(110, 60));
    ASSERT_NE(client->childAt(210, 60), nullptr);
    QTest::mouseClick(client->childAt(210, 60), Qt::LeftButton, {}, QPoint(5, 5));
    const std::vector<Event> events = TakeEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], (Event{EventKind::LeftClick, 0, kWindow, 110, 60}));
    EXPECT_EQ(events[1], (Event{EventKind::Control, 21, kWindow}));
}

// The tree as the user sees it: "text" for a top entry, "  text" for a child.
std::vector<std::string> Shown(QTreeWidget* tree) {
    std::vector<std::string> lines;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = tree->topLevelItem(i);
        lines.push_back(top->text(0).toStdString());
        for (int c = 0; c < top->childCount(); ++c) {
            lines.push_back("  " + top->child(c)->text(0).toStdString());
        }
    }
    return lines;
}

TEST_F(ControlsTest, TreeEntriesNestUnderThePrecedingTopEntry) {
    ASSERT_TRUE(CreateControl(gui_, kWindow, 246, ControlKind::Tree, {0, 0, 200, 200}));
    auto* tree = ClientArea()->findChild<QTreeWidget*>();
    ASSERT_NE(tree, nullptr);
    const std::vector<TreeEntry> entries = {{"plan", 0, 2}, {"U1", 0, 2}, {"1", 1, 2},
                                            {"2", 1, 3},    {"R1", 0, 4}, {"1", 1, 4}};
    for (size_t i = 0; i < entries.size(); ++i) {
        InsertTreeEntry(gui_, 246, static_cast<int>(i), entries[i]);
    }
    EXPECT_EQ(Shown(tree), (std::vector<std::string>{"plan", "U1", "  1", "  2", "R1", "  1"}));
    EXPECT_EQ(TreeEntryAt(gui_, 246, 3).datum, 3);

    // Replacing a top entry by a child re-homes the children that followed it.
    RemoveTreeEntry(gui_, 246, 4);
    InsertTreeEntry(gui_, 246, 4, {"3", 1, 4});
    EXPECT_EQ(Shown(tree), (std::vector<std::string>{"plan", "U1", "  1", "  2", "  3", "  1"}));
    // And a new top entry in the middle takes the children after it.
    RemoveTreeEntry(gui_, 246, 3);
    InsertTreeEntry(gui_, 246, 3, {"C1", 0, 3});
    EXPECT_EQ(Shown(tree), (std::vector<std::string>{"plan", "U1", "  1", "C1", "  3", "  1"}));
    EXPECT_EQ(TreeEntryCount(gui_, 246), 6);

    SetTreeSelection(gui_, 246, 4);
    EXPECT_EQ(TreeSelection(gui_, 246), 4);
    EXPECT_TRUE(TakeEvents().empty());
    ClearTree(gui_, 246);
    EXPECT_EQ(TreeEntryCount(gui_, 246), 0);
    EXPECT_EQ(TreeSelection(gui_, 246), -1);
}

TEST_F(ControlsTest, TreesTakeAllTheirEntriesAtOnceAndKeepWhatIsUnchanged) {
    ASSERT_TRUE(CreateControl(gui_, kWindow, 246, ControlKind::Tree, {0, 0, 200, 300}));
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    const std::vector<TreeEntry> entries = {{"plan", 0, 2}, {"U1", 0, 2}, {"1", 1, 2},
                                            {"2", 1, 3},    {"U2", 0, 4}, {"1", 1, 4}};
    SetTreeEntries(gui_, 246, entries, {red, red});
    auto* tree = ClientArea()->findChild<QTreeWidget*>();
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(1)->childCount(), 2);
    EXPECT_FALSE(tree->topLevelItem(1)->icon(0).isNull());
    EXPECT_TRUE(tree->topLevelItem(2)->icon(0).isNull());
    SetTreeSelection(gui_, 246, 3);
    QTreeWidgetItem* const pin2 = tree->topLevelItem(1)->child(1);

    // Same entries: the same items, the selection untouched, no event.
    SetTreeEntries(gui_, 246, entries, {});
    EXPECT_EQ(tree->topLevelItem(1)->child(1), pin2);
    EXPECT_EQ(TreeSelection(gui_, 246), 3);
    EXPECT_TRUE(TakeEvents().empty());

    // U1's first pin moves to a component of its own; the tail goes.
    SetTreeEntries(gui_, 246, {{"plan", 0, 2}, {"U1", 0, 2}, {"U3", 0, 2}, {"2", 1, 3}}, {});
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(1)->childCount(), 0);
    EXPECT_EQ(tree->topLevelItem(2)->text(0), "U3");
    EXPECT_EQ(tree->topLevelItem(2)->child(0), pin2);
    EXPECT_EQ(TreeSelection(gui_, 246), 3);
    EXPECT_EQ(TreeEntryAt(gui_, 246, 2), (TreeEntry{"U3", 0, 2}));
}

TEST_F(ControlsTest, MenusAndShortcutsReportCommands) {
    ASSERT_TRUE(AddMenu(gui_, kWindow, 0, 1, "&Mode"));
    ASSERT_TRUE(AddMenuItem(gui_, kWindow, 1, 160, "Basic", true));
    ASSERT_TRUE(AddMenu(gui_, kWindow, 1, 2, "Views"));
    ASSERT_TRUE(AddMenuItem(gui_, kWindow, 2, 170, "PCB", true));
    EXPECT_FALSE(AddMenuItem(gui_, kWindow, 2, 170, "again"));
    EXPECT_FALSE(AddMenuItem(gui_, kWindow, 99, 171, "no such menu"));
    SetMenuItemChecked(gui_, 160, true);
    EXPECT_TRUE(IsMenuItemChecked(gui_, 160));
    EXPECT_EQ(MenuItemText(gui_, 170), "PCB");
    EXPECT_TRUE(TakeEvents().empty());
    ASSERT_TRUE(AddShortcut(gui_, kWindow, "Alt+J", 193));
}

}  // namespace
}  // namespace orv::ui
