// The interface refresh over the real ribbon, trees and areas: list selections with
// their fall-backs, the working modes' pictures and enabled states, the percentages,
// and the mode and view change that alone resizes the window.

#include "display/ui_refresh.h"

#include <gtest/gtest.h>

#include "display/display_areas.h"
#include "display/ribbon.h"
#include "display/ribbon_tables.h"
#include "support/working_dir.h"
#include "ui/controls.h"

namespace orv {
namespace {

TEST(UiRefreshListsTest, GeneratorValuesSelectTheirItems) {
    struct Case {
        float value;
        int item;
    };
    for (const Case& c : std::initializer_list<Case>{{250, 0},
                                                     {300, 1},
                                                     {499, 1},
                                                     {1499, 4},
                                                     {1500, 5},
                                                     {10000, 9},
                                                     {12499, 9},
                                                     {12500, 4},
                                                     {20000, 4},
                                                     {-5, 4},
                                                     {0, 0}}) {
        EXPECT_EQ(VoltageItemFor(c.value), c.item) << c.value;
    }
    EXPECT_EQ(ResistanceItemFor(5000, "ORV310"), 0);  // "Resistance: 10K ohms"
    EXPECT_EQ(ResistanceItemFor(100, "ORV310"), 2);
    EXPECT_EQ(ResistanceItemFor(5000, "ORV320"), 1);
    EXPECT_EQ(ResistanceItemFor(50, "ORV340X"), 7);
    EXPECT_EQ(ResistanceItemFor(49.6f, "ORV340X"), 7);
    EXPECT_EQ(ResistanceItemFor(333, "ORV340"), 0);
    EXPECT_EQ(FrequencyItemFor(15), 3);  // "Frequency: 100Hz"
    EXPECT_EQ(FrequencyItemFor(10), 0);
    EXPECT_EQ(FrequencyItemFor(1000), 6);
}

TEST(UiRefreshListsTest, PercentagesHaveTwoDecimalsAndNoZeroDivisor) {
    EXPECT_EQ(ResultPercentText(1, 1), "100.00%");
    EXPECT_EQ(ResultPercentText(0, 1), "0.00%");
    EXPECT_EQ(ResultPercentText(3, 8), "37.50%");
    EXPECT_EQ(ResultPercentText(1, 3), "33.33%");
    EXPECT_EQ(ResultPercentText(0, 0), "0.00%");  // a plan of its header alone
}

QImage Plain(int shade) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(qRgb(shade, shade, 255 - shade));
    return image;
}

class UiRefreshTest : public test::InWorkingDir {
protected:
    void SetUp() override {
        InWorkingDir::SetUp();
        for (size_t i = 0; i < kPictureCount; ++i)
            media_.pictures[i] = Plain(static_cast<int>(10 * i));
        icons_ = TreeIconsFrom(media_);
        ResizeTable(plan_, 2, 40);
        SetCell(plan_, 2, column::kComponent, "U1");
        SetCell(plan_, 2, column::kStatus, "Good");
        SetCell(plan_, 2, column::kSignature, "Yes");
    }

    void Build(const std::string& model) {
        settings_.ActiveInstrument = model;
        ASSERT_TRUE(ui::OpenWindow(gui_, ui::kMainWindow, "refresh", 0, 0, 1200, 720));
        BuildControlRibbon(gui_, settings_, {});
        CreateDisplayAreas(gui_, settings_);
    }

    std::optional<ViewLayout> Refresh() {
        const UiRefreshInput in{settings_, settings_.ActiveInstrument,
                                request_,  workingMode_,
                                plan_,     2,
                                "p.orv",   media_,
                                icons_};
        return RefreshUiState(gui_, in, seen_, trees_);
    }

    bool ShowsPicture(int control, Picture picture) {
        return ui::ControlImage(gui_, control).cacheKey() == PictureOf(media_, picture).cacheKey();
    }

    ui::Gui gui_;
    Settings settings_;
    Media media_;
    TreeIcons icons_;
    TestPlan plan_;
    GeneratorSettings request_{1000, 10000, 50, 0, 0, 0, 0};
    int workingMode_ = 1;
    WindowSizing seen_;
    RecordTreeCache trees_;
};

TEST_F(UiRefreshTest, TheListsShowTheRequest) {
    Build("ORV340");
    request_ = {20000, 5000, 15, 7, 3, 0, 0};
    Refresh();
    EXPECT_EQ(ui::ListSelection(gui_, kControlVoltageList), 4);
    EXPECT_EQ(ui::ControlText(gui_, kControlResistanceList), "Resistance: 5K ohms");
    EXPECT_EQ(ui::ControlText(gui_, kControlFrequencyList), "Frequency: 100Hz");
    EXPECT_EQ(ui::ControlText(gui_, kControlScanSignalList), "Sig: 7");
    EXPECT_EQ(ui::ControlText(gui_, kControlScanCommonList), "Com: 3");
}

TEST_F(UiRefreshTest, EachWorkingModeHasItsPicturesAndEnabledControls) {
    struct Case {
        int mode;
        bool navigation;
        bool results;
        Picture good;
        std::optional<Picture> bad;
        Picture working;
        bool editRecords;
    };
    const Case cases[] = {
        {1, true, true, Picture::Good72x23, Picture::Bad72x23, Picture::AutoTestYellow, false},
        {2, true, false, Picture::SingleCaptureGreen, std::nullopt, Picture::AutoCaptureYellow,
         true},
        {3, false, true, Picture::GoodGrey72x23, Picture::BadGrey72x23,
         Picture::TestInProgressGreen, false},
        {4, false, false, Picture::SingleCaptureGrey, std::nullopt, Picture::CaptureInProgressGreen,
         true},
    };
    Build("ORV310");
    for (const Case& c : cases) {
        workingMode_ = c.mode;
        Refresh();
        for (const int control :
             {kControlPreviousRecord, kControlNextRecord, kControlPreviousComponent,
              kControlNextComponent, kControlFirstRecord, kControlLastRecord}) {
            EXPECT_EQ(ui::IsControlEnabled(gui_, control), c.navigation) << c.mode;
        }
        for (const int control : {kControlResetTest, kControlGoodPercent, kControlBadPercent})
            EXPECT_EQ(ui::IsControlEnabled(gui_, control), c.results) << c.mode;
        EXPECT_TRUE(ShowsPicture(kControlGood, c.good)) << c.mode;
        if (c.bad) {
            EXPECT_TRUE(ShowsPicture(kControlBad, *c.bad)) << c.mode;
        } else {
            EXPECT_TRUE(ui::ControlImage(gui_, kControlBad).isNull()) << c.mode;
        }
        EXPECT_TRUE(ShowsPicture(kControlWorkingMode, c.working)) << c.mode;
        EXPECT_EQ(ui::IsControlEnabled(gui_, kControlEditRecords), c.editRecords) << c.mode;
    }
    // Any other working mode leaves the controls as they are.
    workingMode_ = 7;
    Refresh();
    EXPECT_TRUE(ShowsPicture(kControlWorkingMode, Picture::CaptureInProgressGreen));
}

TEST_F(UiRefreshTest, PercentagesCountTheRecords) {
    Build("ORV310");
    Refresh();
    EXPECT_EQ(ui::ControlText(gui_, kControlGoodPercent), "100.00%");
    EXPECT_EQ(ui::ControlText(gui_, kControlBadPercent), "0.00%");
    plan_ = TestPlan{};
    Refresh();
    EXPECT_EQ(ui::ControlText(gui_, kControlGoodPercent), "0.00%");
    EXPECT_EQ(ui::ControlText(gui_, kControlBadPercent), "0.00%");
}

TEST_F(UiRefreshTest, OnlyAChangeOfModeOrViewResizesAndLaysOut) {
    Build("ORV310");
    ASSERT_TRUE(Refresh().has_value());
    EXPECT_EQ(ui::InnerSize(gui_, ui::kMainWindow), (ui::Size{1545, 725}));
    ui::ResizeWindow(gui_, ui::kMainWindow, 1300, 700);  // the user's own size
    EXPECT_FALSE(Refresh().has_value());
    EXPECT_EQ(ui::InnerSize(gui_, ui::kMainWindow), (ui::Size{1300, 700}));

    settings_.Mode = "Basic";
    ASSERT_TRUE(Refresh().has_value());
    // 534 wide, and tall enough for the ribbon's last control, "Auto Freeze".
    const ui::Size basic = ui::InnerSize(gui_, ui::kMainWindow);
    EXPECT_EQ(basic.width, 534);
    const ui::Rect panel = ui::ControlRect(gui_, kControlRibbonPanel);
    const ui::Rect autoFreeze = ui::ControlRect(gui_, kControlAutoFreeze);
    EXPECT_GE(basic.height, 408);
    EXPECT_LE(panel.y + autoFreeze.y + autoFreeze.height, basic.height);
    EXPECT_LE(basic.height, panel.y + autoFreeze.y + autoFreeze.height + 8);
    for (const int control : kBasicModeOnlyControls)
        EXPECT_TRUE(ui::IsControlVisible(gui_, control)) << control;
    for (const int control : kAdvancedModeOnlyControls)
        EXPECT_FALSE(ui::IsControlVisible(gui_, control)) << control;
    EXPECT_FALSE(ui::IsControlVisible(gui_, kControlTestTreePanel));

    settings_.Mode = "Advanced";
    settings_.DisplayView = "3miniscopes+TestTree+BadTree";
    ASSERT_TRUE(Refresh().has_value());
    for (const int control : kBasicModeOnlyControls)
        EXPECT_FALSE(ui::IsControlVisible(gui_, control)) << control;
    for (const int control : kAdvancedModeOnlyControls)
        EXPECT_TRUE(ui::IsControlVisible(gui_, control)) << control;
    EXPECT_TRUE(ui::IsControlVisible(gui_, kControlBadTreePanel));
}

TEST_F(UiRefreshTest, TheTreesAreFilledFirst) {
    Build("ORV310");
    Refresh();
    EXPECT_EQ(ui::TreeEntryCount(gui_, kControlTestTree), 3);
    EXPECT_EQ(ui::TreeEntryAt(gui_, kControlTestTree, 0).text, "p.orv");
    EXPECT_EQ(ui::TreeEntryCount(gui_, kControlBadTree), 1);
}

}  // namespace
}  // namespace orv
