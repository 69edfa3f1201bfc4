#include "display/ribbon.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <algorithm>

#include "display/ribbon_tables.h"
#include "support/working_dir.h"
#include "ui/controls.h"

namespace orv {
namespace {

using ui::Rect;
using Items = std::vector<std::string>;

// Control numbers written out here rather than taken from the tables, so a wrong
// number in the tables shows up.
constexpr int kPanel = 249;

class RibbonTest : public test::InWorkingDir {
protected:
    void SetUp() override {
        InWorkingDir::SetUp();
        ASSERT_TRUE(ui::OpenWindow(gui_, ui::kMainWindow, "ribbon", 0, 0, 400, 800));
    }
    void Build(const std::string& model, const PictureLookup& pictures = {}) {
        settings_.ActiveInstrument = model;
        BuildControlRibbon(gui_, settings_, pictures);
    }
    std::vector<ui::Event> TakeEvents() {
        QApplication::processEvents();
        std::vector<ui::Event> events;
        for (ui::Event e = ui::WaitEvent(gui_, 0); e.kind != ui::EventKind::None;
             e = ui::WaitEvent(gui_, 0)) {
            if (e.kind != ui::EventKind::MovedOrResized)
                events.push_back(e);
        }
        return events;
    }
    QWidget* ClientArea() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->windowTitle() == "ribbon" && top->isVisible())
                return top->findChildren<QWidget*>().first();
        }
        return nullptr;
    }
    QLabel* LabelShowing(const std::string& text) {
        for (QLabel* label : ClientArea()->findChildren<QLabel*>()) {
            if (label->text().toStdString() == text)
                return label;
        }
        return nullptr;
    }

    ui::Gui gui_;
    Settings settings_;
};

// Places follow a running position v from 0: a section's header at v + 26, its first
// row at v + 52, each further row 26 lower. The instrument status takes rows up to
// v = 26, or v = 52 with the small models' status text.
TEST_F(RibbonTest, SectionsAndPlacesFollowTheModel) {
    struct Case {
        const char* model;
        bool statusText;
        int generatorHeader;
        int dcHeader;       // 0: no DC generator section
        int scannerHeader;  // 0: no scanner section
        int testHeader;
        int editHeader;
        size_t resistanceItems;
    };
    const Case cases[] = {
        // v = 52; 9 generator rows end at 104 + 8 * 26 = 312.
        {"ORV310", true, 78, 0, 0, 338, 546, 3},
        {"ORV311P", true, 78, 0, 0, 338, 546, 3},
        // v = 26; generator rows end at 286; the DC row at 338.
        {"ORV320", false, 52, 312, 0, 364, 572, 8},
        // and the scanner row at 390.
        {"ORV340", false, 52, 312, 364, 416, 624, 8},
        {"ORV340X", false, 52, 312, 364, 416, 624, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        ui::CloseWindow(gui_, ui::kMainWindow);
        ASSERT_TRUE(ui::OpenWindow(gui_, ui::kMainWindow, "ribbon", 0, 0, 400, 800));
        Build(c.model);

        EXPECT_EQ(ui::ControlRect(gui_, kPanel), (Rect{2, 2, 144, 100}));
        EXPECT_EQ(ui::ControlRect(gui_, 244), (Rect{0, 0, 144, 23}));
        EXPECT_EQ(ui::ControlText(gui_, 244), "Instrument Status");
        EXPECT_EQ(ui::ControlRect(gui_, 252), (Rect{0, 23, 70, 23}));
        EXPECT_EQ(ui::ControlExists(gui_, 253), c.statusText);
        if (c.statusText) {
            EXPECT_EQ(ui::ControlRect(gui_, 253), (Rect{2, 52, 140, 23}));
            EXPECT_EQ(ui::ControlText(gui_, 253), "--");
        }

        const int g = c.generatorHeader;
        EXPECT_EQ(ui::ControlRect(gui_, 564), (Rect{0, g, 144, 23}));
        EXPECT_EQ(ui::ControlText(gui_, 564), "Signature Generator");
        const std::pair<int, Rect> generator[] = {
            {567, {2, g + 26, 70, 23}},   {568, {73, g + 26, 70, 23}},
            {571, {2, g + 52, 70, 23}},   {572, {73, g + 52, 70, 23}},
            {575, {2, g + 78, 70, 23}},   {576, {73, g + 78, 70, 23}},
            {565, {2, g + 104, 140, 23}}, {569, {2, g + 130, 140, 23}},
            {573, {2, g + 156, 140, 23}}, {588, {2, g + 182, 70, 23}},
            {589, {73, g + 182, 70, 23}}, {592, {2, g + 208, 140, 23}},
            {593, {2, g + 234, 140, 23}},
        };
        for (const auto& [number, rect] : generator)
            EXPECT_EQ(ui::ControlRect(gui_, number), rect) << number;
        EXPECT_EQ(ui::ListItems(gui_, 569).size(), c.resistanceItems);

        for (const int number : {578, 579})
            EXPECT_EQ(ui::ControlExists(gui_, number), c.dcHeader != 0) << number;
        EXPECT_EQ(ui::ControlExists(gui_, kControlDcGeneratorHeader), c.dcHeader != 0);
        if (c.dcHeader != 0) {
            EXPECT_EQ(ui::ControlRect(gui_, kControlDcGeneratorHeader),
                      (Rect{0, c.dcHeader, 144, 23}));
            EXPECT_EQ(ui::ControlText(gui_, kControlDcGeneratorHeader), "DC Generator");
            EXPECT_EQ(ui::ControlRect(gui_, 578), (Rect{2, c.dcHeader + 26, 70, 23}));
            EXPECT_EQ(ui::ControlRect(gui_, 579), (Rect{73, c.dcHeader + 26, 70, 23}));
        }
        for (const int number : {580, 581})
            EXPECT_EQ(ui::ControlExists(gui_, number), c.scannerHeader != 0) << number;
        EXPECT_EQ(ui::ControlExists(gui_, kControlScannerHeader), c.scannerHeader != 0);
        if (c.scannerHeader != 0) {
            EXPECT_EQ(ui::ControlRect(gui_, kControlScannerHeader),
                      (Rect{0, c.scannerHeader, 144, 23}));
            EXPECT_EQ(ui::ControlText(gui_, kControlScannerHeader), "Scanner");
            EXPECT_EQ(ui::ControlRect(gui_, 580), (Rect{2, c.scannerHeader + 26, 70, 23}));
            EXPECT_EQ(ui::ControlRect(gui_, 581), (Rect{73, c.scannerHeader + 26, 70, 23}));
        }

        const int t = c.testHeader;
        EXPECT_EQ(ui::ControlRect(gui_, 551), (Rect{0, t, 144, 23}));
        EXPECT_EQ(ui::ControlText(gui_, 551), "Test Controls");
        const std::pair<int, Rect> test[] = {
            {599, {2, t + 26, 70, 23}},   {598, {73, t + 26, 70, 23}},
            {596, {2, t + 26, 70, 46}},   {597, {73, t + 26, 70, 46}},
            {601, {2, t + 52, 70, 23}},   {600, {73, t + 52, 70, 23}},
            {602, {2, t + 78, 70, 23}},   {603, {73, t + 78, 70, 23}},
            {582, {2, t + 78, 140, 23}},  {607, {2, t + 104, 70, 23}},
            {613, {73, t + 104, 70, 23}}, {615, {2, t + 132, 70, 23}},
            {616, {73, t + 132, 70, 23}}, {608, {0, t + 156, 70, 23}},
            {609, {73, t + 156, 70, 23}}, {619, {0, t + 182, 140, 23}},
        };
        for (const auto& [number, rect] : test)
            EXPECT_EQ(ui::ControlRect(gui_, number), rect) << number;

        const int e = c.editHeader;
        EXPECT_EQ(ui::ControlRect(gui_, 552), (Rect{0, e, 144, 23}));
        EXPECT_EQ(ui::ControlText(gui_, 552), "Edit Controls");
        EXPECT_EQ(ui::ControlRect(gui_, 606), (Rect{2, e + 26, 140, 23}));
        EXPECT_EQ(ui::ControlRect(gui_, 618), (Rect{2, e + 52, 140, 23}));
    }
}

TEST_F(RibbonTest, ButtonsAndBoxesCarryTheirTextsTipsAndStartStates) {
    Build("ORV340X");
    struct Case {
        int number;
        const char* text;
        const char* tip;
    };
    const Case cases[] = {
        {567, "V+", ""},
        {568, "V-", ""},
        {571, "Ohm+", ""},
        {572, "Ohm-", ""},
        {575, "Freq+", ""},
        {576, "Freq-", ""},
        {599, "<", "Goto previous Pin/record"},
        {598, ">", "Goto next Pin/record"},
        {601, "<<", "Goto previous Component"},
        {600, ">>", "Goto next Component"},
        {602, "First", "Goto first record"},
        {603, "Last", "Goto last record"},
        {596, "Freeze Golden", ""},
        {597, " Freeze   DUT ", ""},
        {582, "Auto Freeze", ""},
        {607, "V/R/Hz", "(I) Use V/R/Hz settings from file, (O) Use current V/R/Hz settings"},
        {613, "Reset test", "Clear all GOOD/BAD results ready for new test"},
        {615, "0.00%", ""},
        {616, "0.00%", ""},
        {606, "Edit/Capture signature", "(I) Capture/edit mode, (O) Test board mode"},
        {618, "Edit/Add Records", "Opens the 'Edit/Add Records & Images' window"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ui::ControlText(gui_, c.number), c.text) << c.number;
        EXPECT_EQ(ui::ControlTooltip(gui_, c.number), c.tip) << c.number;
    }
    EXPECT_TRUE(ui::IsControlChecked(gui_, 607));
    for (const int number : {606, 596, 597, 582})
        EXPECT_FALSE(ui::IsControlChecked(gui_, number)) << number;
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(RibbonTest, GeneratorListsHoldTheirItemsInOrder) {
    struct Case {
        const char* model;
        Items resistance;
    };
    const Case cases[] = {
        {"ORV310", {"Resistance: 10K ohms", "Resistance: 1K ohms", "Resistance: 100 ohms"}},
        {"ORV311P", {"Resistance: 10K ohms", "Resistance: 1K ohms", "Resistance: 100 ohms"}},
        {"ORV320",
         {"Resistance: 10K ohms", "Resistance: 5K ohms", "Resistance: 2K ohms",
          "Resistance: 1K ohms", "Resistance: 500 ohms", "Resistance: 200 ohms",
          "Resistance: 100 ohms", "Resistance: 50 ohms"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        ui::CloseWindow(gui_, ui::kMainWindow);
        ASSERT_TRUE(ui::OpenWindow(gui_, ui::kMainWindow, "ribbon", 0, 0, 400, 800));
        Build(c.model);
        EXPECT_EQ(ui::ListItems(gui_, 569), c.resistance);
        EXPECT_EQ(ui::ListItems(gui_, 565),
                  (Items{"Voltage: 0.2Vpk", "Voltage: 0.4Vpk", "Voltage: 0.6Vpk", "Voltage: 0.8Vpk",
                         "Voltage: 1Vpk", "Voltage: 2Vpk", "Voltage: 3Vpk", "Voltage: 4Vpk",
                         "Voltage: 5Vpk", "Voltage: 10Vpk"}));
        EXPECT_EQ(
            ui::ListItems(gui_, 573),
            (Items{"Frequency: 10Hz", "Frequency: 20Hz", "Frequency: 50Hz", "Frequency: 100Hz",
                   "Frequency: 200Hz", "Frequency: 500Hz", "Frequency: 1KHz"}));
    }
}

TEST_F(RibbonTest, DcAndScannerListsStartAtOffAndZeroVolts) {
    Build("ORV340X");
    EXPECT_EQ(ui::ListItems(gui_, 578),
              (Items{"Off (HiZ)", "Off (0V)", "DC", "Sqr-Hard", "Sqr-Soft", "Pulse"}));
    EXPECT_EQ(ui::ListSelection(gui_, 578), 0);

    const Items level = ui::ListItems(gui_, 579);
    EXPECT_EQ(level,
              (Items{"+10.00V", " +9.00V", " +8.00V", " +7.00V", " +6.00V", " +5.00V", " +4.00V",
                     " +3.3V",  " +3.0V",  " +2.75V", " +2.50V", " +2.25V", " +2.00V", " +1.75V",
                     " +1.50V", " +1.25V", " +1.00V", " +0.75V", " +0.50V", " +0.25V", " 0V",
                     " -0.25V", " -0.50V", " -0.75V", " -1.00V", " -1.25V", " -1.50V", " -1.75V",
                     " -2.00V", " -2.25V", " -2.50V", " -2.75V", " -3.00V", " -4.00V", " -5.00V",
                     " -6.00V", " -7.00V", " -8.00V", " -9.00V", " -10.00V"}));
    EXPECT_EQ(std::count_if(level.begin(), level.end(),
                            [](const std::string& item) { return item.find('+') != item.npos; }),
              20);
    EXPECT_EQ(ui::ListSelection(gui_, 579), 20);
    EXPECT_EQ(ui::ControlText(gui_, 579), " 0V");

    for (const auto& [number, prefix] : {std::pair{580, "Sig: "}, std::pair{581, "Com: "}}) {
        const Items items = ui::ListItems(gui_, number);
        ASSERT_EQ(items.size(), 41u) << number;
        EXPECT_EQ(items[0], "Off");
        for (int channel = 1; channel <= 40; ++channel)
            EXPECT_EQ(items[channel], prefix + std::to_string(channel));
        EXPECT_EQ(ui::ListSelection(gui_, number), 0);
    }
}

TEST_F(RibbonTest, ProbeFunctionListsStartAtCycleFrequencyAndCycleVoltage) {
    Build("ORV310");
    // Item, the text after "A= " or "B= ", and the command a press runs (0: none).
    struct Case {
        int item;
        const char* name;
        int command;
    };
    const Case cases[] = {
        {0, "No Function", 0},   {1, "Cycle Resistance", 570}, {2, "Resistance+", 571},
        {3, "Resistance-", 572}, {4, "Cycle Frequency", 574},  {5, "Frequency+", 575},
        {6, "Frequency-", 576},  {7, "Cycle Voltage", 566},    {8, "Voltage+", 567},
        {9, "Voltage-", 568},    {10, "GOOD/CAPTURE", 608},    {11, "BAD", 609},
        {12, "+1 test", 598},    {13, "-1 test", 599},         {14, "FREEZE", 610},
        {15, "THAW", 611},
    };
    const Items a = ui::ListItems(gui_, 592);
    const Items b = ui::ListItems(gui_, 593);
    ASSERT_EQ(a.size(), 16u);
    ASSERT_EQ(b.size(), 16u);
    for (const Case& c : cases) {
        EXPECT_EQ(a[c.item], std::string("A= ") + c.name);
        EXPECT_EQ(b[c.item], std::string("B= ") + c.name);
        EXPECT_EQ(kProbeFunctions[c.item].command, c.command) << c.name;
    }
    EXPECT_EQ(ui::ListSelection(gui_, 592), 4);
    EXPECT_EQ(ui::ControlText(gui_, 592), "A= Cycle Frequency");
    EXPECT_EQ(ui::ListSelection(gui_, 593), 7);
    EXPECT_EQ(ui::ControlText(gui_, 593), "B= Cycle Voltage");
}

TEST_F(RibbonTest, HeadersAndStatusTextsTakeTheColoursOfTheSettings) {
    settings_.ColourHeader = MakeColour(1, 2, 3);
    settings_.ColourHeaderText = MakeColour(200, 100, 50);
    settings_.ColourPanel = MakeColour(10, 20, 30);
    settings_.ColourPanelText = MakeColour(250, 240, 230);
    Build("ORV310");
    for (const std::string header :
         {"Instrument Status", "Signature Generator", "Test Controls", "Edit Controls"}) {
        SCOPED_TRACE(header);
        const QLabel* label = LabelShowing(header);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->palette().color(QPalette::Window), QColor(1, 2, 3));
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(200, 100, 50));
        EXPECT_EQ(label->font().family(), "Arial");
        EXPECT_EQ(label->font().pointSize(), 11);
        EXPECT_FALSE(label->font().italic());
        EXPECT_EQ(label->alignment(), Qt::AlignCenter);
    }
    for (const std::string status : {"--", "0.00%"}) {
        SCOPED_TRACE(status);
        const QLabel* label = LabelShowing(status);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->palette().color(QPalette::Window), QColor(10, 20, 30));
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(250, 240, 230));
        EXPECT_EQ(label->font().family(), "Arial");
        EXPECT_EQ(label->font().pointSize(), 10);
        EXPECT_TRUE(label->font().italic());
        EXPECT_EQ(label->alignment(), Qt::AlignCenter);
    }
    const QWidget* panel = LabelShowing("--")->parentWidget();
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(10, 20, 30));
}

TEST_F(RibbonTest, PicturesShowByFileNameAndMissingOnesLeaveTheirControlsBlank) {
    // Each picture a different size, so a control showing the wrong one is seen.
    const std::pair<int, std::string> shown[] = {
        {252, "graphics/button_no-connect.png"}, {588, "graphics/buttonA_grey.png"},
        {589, "graphics/buttonB_grey.png"},      {608, "graphics/good_72x23.png"},
        {609, "graphics/bad_72x23.png"},         {619, "graphics/autocapture_yellow.png"},
    };
    PictureLookup pictures;
    int width = 10;
    for (const auto& [number, file] : shown)
        pictures[file] = QImage(width++, 5, QImage::Format_RGB32);
    pictures["graphics/button_connected.png"] = QImage(99, 9, QImage::Format_RGB32);
    Build("ORV320", pictures);
    for (const auto& [number, file] : shown)
        EXPECT_EQ(ui::ControlImage(gui_, number).size(), pictures[file].size()) << file;

    ui::CloseWindow(gui_, ui::kMainWindow);
    ASSERT_TRUE(ui::OpenWindow(gui_, ui::kMainWindow, "ribbon", 0, 0, 400, 800));
    pictures.erase("graphics/good_72x23.png");
    Build("ORV320", pictures);
    EXPECT_TRUE(ui::ControlImage(gui_, 608).isNull());
    EXPECT_EQ(ui::ControlRect(gui_, 608), (Rect{0, 364 + 156, 70, 23}));
    EXPECT_EQ(ui::ControlImage(gui_, 609).size(), pictures["graphics/bad_72x23.png"].size());
}

// The main cycle finds a click on the connection indicator by its own hit test, so the
// click must reach the window with window coordinates; the probe-button pictures and
// the result pictures report their numbers like buttons.
TEST_F(RibbonTest, IndicatorClicksReachTheWindowAndPictureButtonsReportTheirNumbers) {
    Build("ORV340");
    QWidget* client = ClientArea();
    ASSERT_NE(client, nullptr);
    const QPoint onIndicator(2 + 10, 2 + 23 + 5);
    QWidget* under = client->childAt(onIndicator);
    ASSERT_NE(under, nullptr);
    QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(client, onIndicator));
    std::vector<ui::Event> events = TakeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], (ui::Event{ui::EventKind::LeftClick, 0, ui::kMainWindow, 12, 30}));

    for (const int number : {588, 589, 608, 609, 619}) {
        const Rect r = ui::ControlRect(gui_, number);
        // The panel is 100 high until the layout stretches it; grow it to reach them.
        ui::SetControlRect(gui_, kPanel, {2, 2, 144, 800});
        const QPoint at(2 + r.x + 5, 2 + r.y + 5);
        QWidget* picture = client->childAt(at);
        ASSERT_NE(picture, nullptr) << number;
        QTest::mouseClick(picture, Qt::LeftButton, {}, picture->mapFrom(client, at));
        events = TakeEvents();
        ASSERT_EQ(events.size(), 1u) << number;
        EXPECT_EQ(events[0], (ui::Event{ui::EventKind::Control, number, ui::kMainWindow}));
    }
}

// The room the platform's style leaves for a control's text, in pixels.
int TextRoom(QWidget* widget) {
    QStyle* style = widget->style();
    if (auto* list = qobject_cast<QComboBox*>(widget)) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        option.frame = true;
        // The label is drawn one pixel in from each side of the edit field.
        return style
                   ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField,
                                    list)
                   .width() -
               2;
    }
    QStyleOptionButton option;
    option.initFrom(widget);
    if (qobject_cast<QCheckBox*>(widget) != nullptr)
        return style->subElementRect(QStyle::SE_CheckBoxContents, &option, widget).width();
    if (qobject_cast<QPushButton*>(widget) != nullptr)
        return style->subElementRect(QStyle::SE_PushButtonContents, &option, widget).width();
    return widget->contentsRect().width();
}

// Every text the ribbon can show, list items and the freeze toggles' other labels
// included, fits its control in the platform's fonts.
TEST_F(RibbonTest, EveryTextFitsItsControl) {
    Build("ORV340X");
    ui::SetControlRect(gui_, kPanel, {2, 2, 144, 800});
    QWidget* panel = LabelShowing("Instrument Status")->parentWidget();
    ASSERT_EQ(QFontInfo(panel->font()).family(), "Liberation Sans")
        << "\"Arial\" needs a metric-compatible font (fonts-liberation2)";
    std::vector<std::pair<QWidget*, QString>> shown;
    for (QComboBox* list : panel->findChildren<QComboBox*>()) {
        for (int i = 0; i < list->count(); ++i)
            shown.emplace_back(list, list->itemText(i));
    }
    for (QAbstractButton* button : panel->findChildren<QAbstractButton*>())
        shown.emplace_back(button, button->text());
    for (QLabel* label : panel->findChildren<QLabel*>()) {
        if (!label->text().isEmpty())
            shown.emplace_back(label, label->text());
    }
    for (const std::string other : {"Golden Frozen", "  DUT   Frozen"}) {
        for (QPushButton* button : panel->findChildren<QPushButton*>()) {
            if (button->isCheckable() && button->width() == 70)
                shown.emplace_back(button, QString::fromStdString(other));
        }
    }
    ASSERT_GT(shown.size(), 200u);
    for (const auto& [widget, text] : shown) {
        EXPECT_LE(QFontMetrics(widget->font()).horizontalAdvance(text), TextRoom(widget))
            << "\"" << text.toStdString() << "\"";
    }
}

TEST_F(RibbonTest, BuildingWithoutAMainWindowDoesNothing) {
    ui::CloseWindow(gui_, ui::kMainWindow);
    Build("ORV340X");
    EXPECT_FALSE(ui::ControlExists(gui_, kPanel));
    EXPECT_FALSE(ui::ControlExists(gui_, 567));
}

}  // namespace
}  // namespace orv
