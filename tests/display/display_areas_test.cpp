#include "display/display_areas.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTreeWidget>

#include "display/ribbon.h"
#include "display/ribbon_tables.h"
#include "support/working_dir.h"
#include "ui/controls.h"

namespace orv {
namespace {

using ui::Rect;

class DisplayAreasTest : public test::InWorkingDir {
protected:
    void SetUp() override {
        InWorkingDir::SetUp();
        ASSERT_TRUE(ui::OpenWindow(gui_, ui::kMainWindow, "areas", 0, 0, 800, 600));
    }
    QLabel* LabelShowing(const std::string& text) {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->windowTitle() != "areas")
                continue;
            for (QLabel* label : top->findChildren<QLabel*>()) {
                if (label->text().toStdString() == text)
                    return label;
            }
        }
        return nullptr;
    }

    ui::Gui gui_;
    Settings settings_;
};

// The ribbon is built first; the areas must not take any of its numbers, or they
// would silently be missing.
TEST_F(DisplayAreasTest, ImageAreasStartAsBlankSquaresBesideTheRibbon) {
    settings_.ActiveInstrument = "ORV340X";
    BuildControlRibbon(gui_, settings_, {});
    CreateDisplayAreas(gui_, settings_);

    std::vector<int> areas = {kControlMainScope, kControlBottomFiller, kControlPcbView};
    areas.insert(areas.end(), kControlMiniScopes.begin(), kControlMiniScopes.end());
    for (const int number : areas) {
        SCOPED_TRACE(number);
        EXPECT_EQ(ui::ControlRect(gui_, number), (Rect{100, 100, 100, 100}));
        const QImage image = ui::ControlImage(gui_, number);
        ASSERT_EQ(image.size(), QSize(100, 100));
        EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(99, 99), QColor(Qt::black));
    }
    EXPECT_EQ(ui::ControlRect(gui_, kControlRibbonPanel), (Rect{2, 2, 144, 100}));
    EXPECT_EQ(ui::ControlText(gui_, 567), "V+");
}

TEST_F(DisplayAreasTest, TreePanelsHoldACentredHeaderAboveTheirTree) {
    settings_.ColourHeader = MakeColour(1, 2, 3);
    settings_.ColourHeaderText = MakeColour(200, 100, 50);
    settings_.ColourPanel = MakeColour(10, 20, 30);
    CreateDisplayAreas(gui_, settings_);
    struct Case {
        int panel;
        int header;
        int tree;
        const char* title;
    };
    const Case cases[] = {
        {kControlTestTreePanel, kControlTestTreeHeader, 246, "TestTree"},
        {kControlBadTreePanel, kControlBadTreeHeader, 248, "Bad TestTree"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(ui::ControlRect(gui_, c.panel), (Rect{2, 2, 144, 100}));
        EXPECT_EQ(ui::ControlRect(gui_, c.header), (Rect{0, 0, 144, 23}));
        EXPECT_EQ(ui::ControlText(gui_, c.header), c.title);
        EXPECT_EQ(ui::ControlRect(gui_, c.tree), (Rect{0, 26, 144, 74}));
        EXPECT_EQ(ui::TreeEntryCount(gui_, c.tree), 0);

        const QLabel* header = LabelShowing(c.title);
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->alignment(), Qt::AlignCenter);
        EXPECT_EQ(header->palette().color(QPalette::Window), QColor(1, 2, 3));
        EXPECT_EQ(header->palette().color(QPalette::WindowText), QColor(200, 100, 50));
        EXPECT_EQ(header->font().family(), "Arial");
        EXPECT_EQ(header->font().pointSize(), 11);
        const QWidget* panel = header->parentWidget();
        EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(10, 20, 30));
        const auto* tree = panel->findChild<QTreeWidget*>();
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(tree->palette().color(QPalette::Text), QColor(Qt::white));
        EXPECT_EQ(tree->palette().color(QPalette::Base), QColor(Qt::black));
    }
}

}  // namespace
}  // namespace orv
