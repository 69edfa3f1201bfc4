#include "display/grid_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {

std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << "(" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << ")";
}

namespace {

bool Overlap(const Rect& a, const Rect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

TEST(GridRectTest, UnitIsSinglePrecisionButProductsAreNotRoundedToIt) {
    // 139.7 as a float is 139.6999969...; 5 cells then end just below a half.
    const float u = GridUnit("Advanced", 1545);
    EXPECT_EQ(u, 139.7f);
    EXPECT_EQ(GridRect(u, 5, 0, 1.666f, 1.666f).x, 846);
    EXPECT_EQ(GridRect(u, 0, 0, 5, 5), (Rect{148, 2, 696, 696}));
}

TEST(GridRectTest, ClampsPositionAndSize) {
    struct Case {
        float unit, column, row, columnSpan, rowSpan;
        Rect expected;
    };
    const Case cases[] = {
        {1, 0, 0, 1, 1, {148, 2, 102, 102}},                        // tiny cells grow to 102
        {1, -500, -500, 1, 1, {0, 0, 102, 102}},                    // positions never negative
        {1000, 10, 10, 10, 10, {5000, 5000, 5000, 5000}},           // nothing beyond 5000
        {1, 0, 0, 5001.5f, 5002, {148, 2, 5000, 5000}},             // 4999.5 and up become 5000
        {4, 0.125f, 0.125f, 26.125f, 26.125f, {149, 3, 103, 103}},  // halves away from 0
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GridRect(c.unit, c.column, c.row, c.columnSpan, c.rowSpan), c.expected)
            << c.unit << " " << c.column << " " << c.row;
    }
}

TEST(ViewLayoutTest, WorkedSizesOfBothModes) {
    const ViewLayout advanced = ComputeViewLayout("Advanced", "9miniscopes", 1545, 725);
    EXPECT_EQ(advanced.mainScope, (Rect{148, 2, 696, 696}));
    const int xs[3] = {846, 1079, 1312};
    const int ys[3] = {2, 235, 468};
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(advanced.miniScopes[k], (Rect{xs[k % 3], ys[k / 3], 231, 231})) << k + 1;
    }

    for (const char* mode : {"Basic", "Basic-Auto"}) {
        const ViewLayout basic = ComputeViewLayout(mode, "9miniscopes", 534, 408);
        EXPECT_EQ(basic.unit, 77.2f);
        EXPECT_EQ(basic.mainScope, (Rect{148, 2, 384, 384})) << mode;
        // The right half of the grid lies beyond the client area.
        EXPECT_GE(basic.miniScopes[0].x, 534);
        EXPECT_GE(basic.pcbView.x, 534);
    }
}

TEST(ViewLayoutTest, EveryViewPlacesItsVisibleAreas) {
    struct Place {
        std::string area;  // "M1".."M9", "PCB", "Test", "Bad"
        Rect rect;
    };
    struct Case {
        std::string view;
        std::vector<Place> places;
    };
    const Rect m846_2{846, 2, 231, 231}, m1079_2{1079, 2, 231, 231}, m1312_2{1312, 2, 231, 231};
    const Rect m846_235{846, 235, 231, 231}, m846_468{846, 468, 231, 231};
    const Rect pcbSmall{846, 235, 464, 464};
    const Case cases[] = {
        {"9miniscopes",
         {{"M1", m846_2},
          {"M2", m1079_2},
          {"M3", m1312_2},
          {"M4", m846_235},
          {"M5", {1079, 235, 231, 231}},
          {"M6", {1312, 235, 231, 231}},
          {"M7", m846_468},
          {"M8", {1079, 468, 231, 231}},
          {"M9", {1312, 468, 231, 231}}}},
        {"6miniscopes+TestTree",
         {{"M2", m846_2},
          {"M3", m1079_2},
          {"M4", m846_235},
          {"M5", {1079, 235, 231, 231}},
          {"M6", m846_468},
          {"M7", {1079, 468, 231, 231}},
          {"Test", {1312, 2, 231, 696}}}},
        {"3miniscopes+TestTree",
         {{"M4", m846_2}, {"M5", m846_235}, {"M6", m846_468}, {"Test", {1079, 2, 464, 696}}}},
        {"3miniscopes+PCB",
         {{"M4", m846_2}, {"M5", m1079_2}, {"M6", m1312_2}, {"PCB", {846, 235, 696, 464}}}},
        {"3miniscopes+PCB+TestTree",
         {{"M4", m846_2},
          {"M5", m1079_2},
          {"M6", m1312_2},
          {"PCB", pcbSmall},
          {"Test", {1312, 235, 231, 464}}}},
        {"2miniscopes+PCB+TestTree",
         {{"M4", m846_2}, {"M6", m1079_2}, {"PCB", pcbSmall}, {"Test", {1312, 2, 231, 696}}}},
        {"PCB", {{"PCB", {846, 2, 696, 696}}}},
        {"3miniscopes+TestTree+BadTree",
         {{"M4", m846_2},
          {"M5", m846_235},
          {"M6", m846_468},
          {"Test", {1079, 2, 231, 696}},
          {"Bad", {1312, 2, 231, 696}}}},
        {"2miniscopes+PCB+TestTree+BadTree",
         {{"M4", m846_2},
          {"M6", m1079_2},
          {"PCB", pcbSmall},
          {"Test", {1312, 235, 231, 464}},
          {"Bad", m1312_2}}},
        {"miniscope+PCB+TestTree+BadTree",
         {{"M4", m846_2}, {"PCB", pcbSmall}, {"Test", {1312, 2, 231, 696}}, {"Bad", m1079_2}}},
    };
    for (const Case& c : cases) {
        const ViewLayout layout = ComputeViewLayout("Advanced", c.view, 1545, 725);
        const AreaVisibility visible = ViewVisibility("Advanced", c.view);
        std::vector<Rect> shown = {layout.mainScope};
        for (const Place& p : c.places) {
            Rect actual;
            bool isShown = false;
            if (p.area[0] == 'M') {
                const int k = p.area[1] - '1';
                actual = layout.miniScopes[k];
                isShown = visible.miniScopes[k];
            } else if (p.area == "PCB") {
                actual = layout.pcbView;
                isShown = visible.pcbView;
            } else {
                const auto& tree = p.area == "Test" ? layout.testTree : layout.badTree;
                ASSERT_TRUE(tree.has_value()) << c.view << " " << p.area;
                actual = tree->panel;
                isShown = p.area == "Test" ? visible.testTree : visible.badTree;
            }
            EXPECT_EQ(actual, p.rect) << c.view << " " << p.area;
            EXPECT_TRUE(isShown) << c.view << " " << p.area;
            shown.push_back(actual);
        }
        // Shown areas tile the grid without overlapping and stay inside the window.
        for (std::size_t i = 0; i < shown.size(); ++i) {
            EXPECT_LE(shown[i].x + shown[i].width, 1545) << c.view;
            EXPECT_LE(shown[i].y + shown[i].height, 725) << c.view;
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                EXPECT_FALSE(Overlap(shown[i], shown[j])) << c.view << " " << shown[i] << shown[j];
            }
        }
    }
}

TEST(ViewLayoutTest, TreePanelsHoldHeaderAndTree) {
    const ViewLayout layout =
        ComputeViewLayout("Advanced", "2miniscopes+PCB+TestTree+BadTree", 1545, 725);
    ASSERT_TRUE(layout.testTree && layout.badTree);
    EXPECT_EQ(layout.testTree->header, (Rect{0, 0, 231, 23}));
    EXPECT_EQ(layout.testTree->tree, (Rect{0, 23, 231, 464 - 23}));
    EXPECT_EQ(layout.badTree->tree, (Rect{0, 23, 231, 231 - 23}));

    const ViewLayout noTrees = ComputeViewLayout("Advanced", "3miniscopes+PCB", 1545, 725);
    EXPECT_FALSE(noTrees.testTree.has_value());
    EXPECT_FALSE(noTrees.badTree.has_value());
}

TEST(ViewLayoutTest, RibbonAndFillerFollowTheClientSize) {
    const ViewLayout layout = ComputeViewLayout("Advanced", "9miniscopes", 1545, 725);
    EXPECT_EQ(layout.ribbon, (Rect{2, 2, 144, 721}));
    // Below the grid: from row 5 (y = 700) to 2 pixels above the bottom, right to 2
    // pixels before the edge.
    EXPECT_EQ(layout.filler, (Rect{148, 700, 1545 - 2 - 148, 725 - 700 - 2}));

    const ViewLayout cramped = ComputeViewLayout("Advanced", "9miniscopes", 100, 50);
    EXPECT_GE(cramped.filler.width, 1);
    EXPECT_GE(cramped.filler.height, 1);
    EXPECT_GE(cramped.ribbon.height, 1);
}

TEST(ViewLayoutTest, NarrowWindowUsesUnitOneAndAreasOverlap) {
    for (int width : {148, 150, 157, 0, -20}) {
        const ViewLayout layout = ComputeViewLayout("Advanced", "9miniscopes", width, 100);
        EXPECT_EQ(layout.unit, 1.0f) << width;
        EXPECT_EQ(layout.mainScope, (Rect{148, 2, 102, 102})) << width;
        for (const Rect& m : layout.miniScopes) {
            EXPECT_GE(m.width, 102);
            EXPECT_GE(m.height, 102);
        }
        EXPECT_TRUE(Overlap(layout.mainScope, layout.miniScopes[0]));
    }
}

TEST(ViewLayoutTest, UnknownViewIsTheDefaultView) {
    const ViewLayout unknown = ComputeViewLayout("Advanced", "2MiniScopes", 1545, 725);
    const ViewLayout standard = ComputeViewLayout("Advanced", kDefaultDisplayView, 1545, 725);
    EXPECT_EQ(unknown.pcbView, standard.pcbView);
    EXPECT_EQ(unknown.miniScopes, standard.miniScopes);
    EXPECT_EQ(ViewVisibility("Advanced", "2MiniScopes"),
              ViewVisibility("Advanced", kDefaultDisplayView));
}

TEST(ViewVisibilityTest, AdvancedFollowsTheViewAndBasicShowsOnlyTheMainScope) {
    struct Case {
        const char* view;
        const char* shown;  // main, M1..M9, PCB, test tree, bad tree
    };
    const Case cases[] = {
        {"9miniscopes", "1111111111000"},
        {"6miniscopes+TestTree", "1011111100010"},
        {"3miniscopes+TestTree", "1000111000010"},
        {"3miniscopes+PCB", "1000111000100"},
        {"3miniscopes+PCB+TestTree", "1000111000110"},
        {"2miniscopes+PCB+TestTree", "1000101000110"},
        {"PCB", "1000000000100"},
        {"3miniscopes+TestTree+BadTree", "1000111000011"},
        {"2miniscopes+PCB+TestTree+BadTree", "1000101000111"},
        {"miniscope+PCB+TestTree+BadTree", "1000100000111"},
    };
    ASSERT_EQ(std::size(cases), kDisplayViews.size());
    for (const Case& c : cases) {
        const AreaVisibility v = ViewVisibility("Advanced", c.view);
        std::string shown = v.mainScope ? "1" : "0";
        for (bool m : v.miniScopes)
            shown += m ? "1" : "0";
        shown += v.pcbView ? "1" : "0";
        shown += v.testTree ? "1" : "0";
        shown += v.badTree ? "1" : "0";
        EXPECT_EQ(shown, c.shown) << c.view;

        for (const char* basic : {"Basic", "Basic-Auto"}) {
            EXPECT_EQ(ViewVisibility(basic, c.view), AreaVisibility{}) << basic << c.view;
        }
    }
}

TEST(ModeWindowSizeTest, EachModeHasItsSize) {
    EXPECT_EQ(ModeWindowSize("Basic"), (WindowSize{534, 408}));
    EXPECT_EQ(ModeWindowSize("Basic-Auto"), (WindowSize{534, 408}));
    EXPECT_EQ(ModeWindowSize("Advanced"), (WindowSize{1545, 725}));
}

TEST(WindowSizeOnChangeTest, ResizesOnlyWhenModeOrViewChanges) {
    struct Step {
        const char* mode;
        const char* view;
        std::optional<WindowSize> size;
    };
    const std::optional<WindowSize> advanced = WindowSize{1545, 725};
    const std::optional<WindowSize> basic = WindowSize{534, 408};
    const Step steps[] = {
        {"Advanced", "PCB", advanced},          // the first refresh sizes the window
        {"Advanced", "PCB", std::nullopt},      // a user's resize is left alone
        {"Advanced", "9miniscopes", advanced},  // a view change sizes it back
        {"Basic", "9miniscopes", basic},       {"Basic-Auto", "9miniscopes", basic},
        {"Basic-Auto", "PCB", basic},  // the view is remembered in Basic modes too
        {"Basic-Auto", "PCB", std::nullopt},
    };
    WindowSizing last;
    for (const Step& s : steps) {
        EXPECT_EQ(WindowSizeOnChange(last, s.mode, s.view), s.size) << s.mode << " " << s.view;
    }
}

}  // namespace
}  // namespace orv
