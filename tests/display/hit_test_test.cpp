#include "display/hit_test.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(HitTestAreaTest, FirstVisibleAreaUnderThePointWins) {
    const ViewLayout layout =
        ComputeViewLayout("Advanced", "2miniscopes+PCB+TestTree+BadTree", 1545, 725);
    const Rect indicator{20, 600, 100, 40};
    const HitAreas areas = MakeHitAreas(
        layout, ViewVisibility("Advanced", "2miniscopes+PCB+TestTree+BadTree"), indicator);
    struct Case {
        int x, y, hit;
    };
    const Case cases[] = {
        {148, 2, kHitMainScope},  // corners and far edges belong to the area
        {148 + 696, 2 + 696, kHitMainScope},
        {500, 300, kHitMainScope},
        {845, 100, kHitNone},  // the gap between areas
        {846, 100, kHitFirstMiniScope + 3},
        {900, 100, kHitFirstMiniScope + 3},   // mini-scope 4
        {1100, 100, kHitFirstMiniScope + 5},  // mini-scope 6
        {20, 600, kHitConnectionIndicator},
        {120, 640, kHitConnectionIndicator},
        {121, 640, kHitNone},
        {1000, 400, kHitPcbView},
        {1400, 100, kHitNone},  // the bad tree is no hit area
        {147, 300, kHitNone},
        {5, 5, kHitNone},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HitTestArea(areas, c.x, c.y), c.hit) << c.x << "," << c.y;
}

TEST(HitTestAreaTest, HiddenAreasAreNeverHit) {
    const ViewLayout layout = ComputeViewLayout("Basic", "9miniscopes", 534, 408);
    HitAreas areas = MakeHitAreas(layout, ViewVisibility("Basic", "9miniscopes"), {});
    // In Basic mode the mini-scopes and the board lie right of the main scope, hidden.
    EXPECT_EQ(HitTestArea(areas, layout.miniScopes[0].x + 5, layout.miniScopes[0].y + 5), kHitNone);
    EXPECT_EQ(HitTestArea(areas, layout.pcbView.x + 5, layout.pcbView.y + 5), kHitNone);

    // A hidden mini-scope under a visible one lets the visible one take the click.
    areas.miniScopes[0] = areas.miniScopes[1] = Rect{600, 0, 50, 50};
    areas.miniScopesVisible[0] = false;
    areas.miniScopesVisible[1] = true;
    EXPECT_EQ(HitTestArea(areas, 610, 10), kHitFirstMiniScope + 1);
    areas.mainScopeVisible = false;
    EXPECT_EQ(HitTestArea(areas, 200, 100), kHitNone);
}

TEST(HitTestAreaTest, OverlappingAreasOfANarrowWindowGoInOrder) {
    const ViewLayout layout = ComputeViewLayout("Advanced", "9miniscopes", 150, 300);
    AreaVisibility visible = ViewVisibility("Advanced", "9miniscopes");
    EXPECT_EQ(HitTestArea(MakeHitAreas(layout, visible, {}), 160, 20), kHitMainScope);
    visible.mainScope = false;
    EXPECT_EQ(HitTestArea(MakeHitAreas(layout, visible, {}), 160, 20), kHitFirstMiniScope);
}

}  // namespace
}  // namespace orv
