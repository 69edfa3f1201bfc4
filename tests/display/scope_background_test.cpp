#include "display/scope_background.h"

#include <gtest/gtest.h>

#include <set>

#include "display/scope_geometry.h"
#include "display/scope_text.h"
#include "image_probe.h"

namespace orv {
namespace {

using test::BoundsOfColour;
using test::ColourAt;
using test::CountColour;

// Every element in its own colour, so each pixel tells who drew it.
constexpr ColourNumber kBack = MakeColour(0, 0, 0);
constexpr ColourNumber kOutline = MakeColour(10, 200, 10);
constexpr ColourNumber kGrid = MakeColour(20, 20, 180);
constexpr ColourNumber kText = MakeColour(255, 255, 255);
constexpr ColourNumber kCross = MakeColour(200, 30, 30);

ScopeStyle Style(const char* crosshair, const char* graticule = "On", int h = 5, int v = 5) {
    ScopeStyle s;
    s.background = kBack;
    s.outline = kOutline;
    s.graticule = kGrid;
    s.text = kText;
    s.crosshair = kCross;
    s.crosshairMode = crosshair;
    s.graticuleMode = graticule;
    s.horizontalDivisions = h;
    s.verticalDivisions = v;
    return s;
}

ScopeLabels WorkedLabels() {
    ScopeLabels labels;
    labels[0] = "+20uA";
    labels[2] = "-20uA";
    labels[3] = "-200mV";
    labels[4] = "Vpk=200mV, Z=10kohms, f=50Hz";
    labels[5] = "+200mV";
    labels[9] = "3/12";
    labels[10] = "IC17, Pin 3";
    return labels;
}

constexpr int kSide = 696;
const ScopeGeometry g = MakeScopeGeometry(kSide, kSide);

// Rows on which a column just right of the centre meets the graticule, and columns on
// which a row just below the centre does: the horizontal and vertical grid lines.
std::set<int> GridRows(const QImage& image) {
    std::set<int> rows;
    for (int y = g.top + 1; y < g.bottom; ++y) {
        if (ColourAt(image, g.cx + 7, y) == kGrid)
            rows.insert(y);
    }
    return rows;
}
std::set<int> GridColumns(const QImage& image) {
    std::set<int> columns;
    for (int x = g.left + 1; x < g.right; ++x) {
        if (ColourAt(image, x, g.cy + 7) == kGrid)
            columns.insert(x);
    }
    return columns;
}

TEST(ScopeBackgroundTest, GeometryOfTheWorkedSize) {
    EXPECT_EQ(g.cx, 348);
    EXPECT_EQ(g.left, 25);
    EXPECT_EQ(g.right, 671);
    EXPECT_EQ(g.top, 25);
    EXPECT_EQ(g.bottom, 671);
}

TEST(ScopeBackgroundTest, GraticuleLinesFollowTheDivisions) {
    struct Case {
        int horizontal;
        int vertical;
        std::set<int> rows;     // y of horizontal lines
        std::set<int> columns;  // x of vertical lines
    };
    // Half size 323: 5 divisions give steps of 64, 2 divisions steps of 161.
    const std::set<int> five = {92, 156, 220, 284, 348, 412, 476, 540, 604};
    const Case cases[] = {
        {5, 5, five, five},
        {5, 1, {348}, five},  // one vertical division: only the centre row
        {5, 0, {}, five},     // none: no horizontal line at all
        {1, 5, five, {}},     // one horizontal division: no vertical line
        {0, 5, five, {}},
        {2, 2, {187, 348, 509}, {187, 348, 509}},
        {-3, -3, {}, {}},
        {5, 1000, {348}, five},  // more divisions than pixels collapse on the centre
    };
    for (const Case& c : cases) {
        const QImage image = DrawScopeBackground(kSide, kSide, kScopeMargin,
                                                 Style("Off", "On", c.horizontal, c.vertical), {});
        EXPECT_EQ(GridRows(image), c.rows) << c.horizontal << "/" << c.vertical;
        EXPECT_EQ(GridColumns(image), c.columns) << c.horizontal << "/" << c.vertical;
    }
}

TEST(ScopeBackgroundTest, GraticuleIsDottedOutwardFromAFreeCentre) {
    const QImage image = DrawScopeBackground(kSide, kSide, kScopeMargin, Style("Off"), {});
    // Centre row: dots at cx + 2, cx + 7, ... and cx - 2, cx - 7, ...; nothing between.
    for (int x = g.left + 1; x < g.right; ++x) {
        const int d = x - g.cx;
        const bool dot = (d >= 2 && (d - 2) % 5 == 0) || (d <= -2 && (-d - 2) % 5 == 0);
        EXPECT_EQ(ColourAt(image, x, g.cy) == kGrid, dot) << "x = " << x;
    }
    for (int y = g.top + 1; y < g.bottom; ++y) {
        const int d = y - g.cy;
        const bool dot = (d >= 2 && (d - 2) % 5 == 0) || (d <= -2 && (-d - 2) % 5 == 0);
        EXPECT_EQ(ColourAt(image, g.cx, y) == kGrid, dot) << "y = " << y;
    }

    const QImage off = DrawScopeBackground(kSide, kSide, kScopeMargin, Style("Off", "Off"), {});
    EXPECT_EQ(CountColour(off, off.rect(), kGrid), 0);
}

TEST(ScopeBackgroundTest, CrosshairModes) {
    const QImage on = DrawScopeBackground(kSide, kSide, kScopeMargin, Style("On"), {});
    for (int x = g.left + 1; x < g.right; ++x)
        ASSERT_EQ(ColourAt(on, x, g.cy), kCross) << x;
    for (int y = g.top + 1; y < g.bottom; ++y)
        ASSERT_EQ(ColourAt(on, g.cx, y), kCross) << y;

    const QImage off = DrawScopeBackground(kSide, kSide, kScopeMargin, Style("Off"), {});
    EXPECT_EQ(CountColour(off, off.rect(), kCross), 0);
    const QImage other = DrawScopeBackground(kSide, kSide, kScopeMargin, Style("on"), {});
    EXPECT_EQ(CountColour(other, other.rect(), kCross), 0);

    const QImage classic = DrawScopeBackground(kSide, kSide, kScopeMargin, Style("Classic"), {});
    const int q = (g.right - g.left) / 8;
    struct Probe {
        int x, y;
        bool cross;
    };
    const Probe probes[] = {
        {g.cx - 16, g.top, true},          {g.cx + 16, g.top, true},
        {g.cx + 17, g.top, false},         {g.cx, g.top + 16, true},
        {g.cx, g.top + 17, false},         {g.cx, g.bottom - 16, true},
        {g.cx - 16, g.bottom, true},       {g.left, g.cy - 16, true},
        {g.left, g.cy - 17, false},        {g.left + 16, g.cy, true},
        {g.right - 16, g.cy, true},        {g.right, g.cy + 16, true},
        {g.cx + 16, g.cy, true},           {g.cx, g.cy - 16, true},
        {g.cx + 17, g.cy, false},          {g.left + q, g.cy - 16, true},
        {g.left + 2 * q, g.cy + 16, true}, {g.left + 3 * q, g.cy, true},
        {g.right - 3 * q, g.cy, true},     {g.right - 2 * q, g.cy, true},
        {g.right - q, g.cy + 16, true},    {g.right - q, g.cy + 17, false},
    };
    for (const Probe& p : probes) {
        EXPECT_EQ(ColourAt(classic, p.x, p.y) == kCross, p.cross) << p.x << "," << p.y;
    }
}

TEST(ScopeBackgroundTest, FrameExceptInClassicMode) {
    for (const char* mode : {"On", "Off", "Classic"}) {
        const QImage image = DrawScopeBackground(kSide, kSide, kScopeMargin, Style(mode), {});
        const bool framed = std::string(mode) != "Classic";
        for (int i = g.top; i <= g.bottom; i += 37) {
            EXPECT_EQ(ColourAt(image, g.left, i + 1) == kOutline, framed) << mode << i;
            EXPECT_EQ(ColourAt(image, g.right, i + 1) == kOutline, framed) << mode << i;
            EXPECT_EQ(ColourAt(image, i + 1, g.top) == kOutline, framed) << mode << i;
            EXPECT_EQ(ColourAt(image, i + 1, g.bottom) == kOutline, framed) << mode << i;
        }
        EXPECT_EQ(ColourAt(image, 3, 3), kBack);
    }
}

TEST(ScopeBackgroundTest, TicksOnlyForFilledMaskedSlots) {
    struct Tick {
        int x, y;  // middle of the tick
        bool drawn;
    };
    const Tick ticks[] = {
        {g.left - 3, g.top, true},      // slot 1
        {g.left - 3, g.cy, false},      // slot 2 is empty
        {g.left - 3, g.bottom, true},   // slot 3
        {g.left, g.bottom + 3, true},   // slot 4
        {g.cx, g.bottom + 3, true},     // slot 5
        {g.right, g.bottom + 3, true},  // slot 6
        {g.right + 3, g.top, false},    // slot 9 is empty
        {g.right, g.top - 3, false},    // slot 10 has text but no tick
        {g.cx, g.top - 3, false},       // slot 11 likewise
    };
    const QImage image =
        DrawScopeBackground(kSide, kSide, kScopeMargin, Style("On"), WorkedLabels());
    for (const Tick& t : ticks) {
        EXPECT_EQ(ColourAt(image, t.x, t.y) == kOutline, t.drawn) << t.x << "," << t.y;
    }
    const QImage classic =
        DrawScopeBackground(kSide, kSide, kScopeMargin, Style("Classic"), WorkedLabels());
    for (const Tick& t : ticks)
        EXPECT_NE(ColourAt(classic, t.x, t.y), kOutline);
}

TEST(ScopeBackgroundTest, LabelsSitAroundTheFrameAndTurnOnTheSides) {
    for (const char* mode : {"On", "Classic"}) {
        const ScopeLabels labels = WorkedLabels();
        const QImage image = DrawScopeBackground(kSide, kSide, kScopeMargin, Style(mode), labels);
        const TextSize top = MeasureScopeText(ToQString(labels[0]));

        // Slot 1 reads downward from the top edge, its body ending 5 pixels left of it.
        const QRect slot1 = BoundsOfColour(image, QRect(0, g.top, g.left, g.cy - g.top), kText);
        ASSERT_FALSE(slot1.isNull()) << mode;
        EXPECT_GT(slot1.height(), slot1.width()) << mode;  // turned
        EXPECT_LT(slot1.right(), g.left - 5) << mode;
        EXPECT_GE(slot1.left(), g.left - 5 - top.height) << mode;
        EXPECT_GE(slot1.top(), g.top) << mode;
        EXPECT_LE(slot1.bottom(), g.top + top.width) << mode;
        // Slot 3 ends at the bottom edge.
        const QRect slot3 = BoundsOfColour(image, QRect(0, g.cy, g.left, g.bottom - g.cy), kText);
        ASSERT_FALSE(slot3.isNull()) << mode;
        EXPECT_LE(slot3.bottom(), g.bottom) << mode;
        EXPECT_GT(slot3.bottom(), g.bottom - 6) << mode;

        // Below: slot 4 from the left edge, slot 6 up to the right edge, the summary
        // centred under the middle.
        const QRect below(0, g.bottom + 5, kSide, 25);
        const QRect slot4 =
            BoundsOfColour(image, below.intersected(QRect(0, 0, 100, kSide)), kText);
        EXPECT_GE(slot4.left(), g.left) << mode;
        EXPECT_LT(slot4.left(), g.left + 4) << mode;
        const QRect slot6 =
            BoundsOfColour(image, below.intersected(QRect(g.right - 100, 0, 200, kSide)), kText);
        EXPECT_LE(slot6.right(), g.right) << mode;
        EXPECT_GT(slot6.right(), g.right - 4) << mode;
        const QRect slot5 =
            BoundsOfColour(image, below.intersected(QRect(150, 0, 400, kSide)), kText);
        EXPECT_NEAR((slot5.left() + slot5.right()) / 2.0, g.cx, 3) << mode;

        // Above: the record title centred, the position ending at the right edge.
        const QRect above(0, 0, kSide, g.top - 5);
        const QRect slot11 =
            BoundsOfColour(image, above.intersected(QRect(200, 0, 300, kSide)), kText);
        EXPECT_NEAR((slot11.left() + slot11.right()) / 2.0, g.cx, 3) << mode;
        const QRect slot10 =
            BoundsOfColour(image, above.intersected(QRect(g.right - 60, 0, 100, kSide)), kText);
        EXPECT_LE(slot10.right(), g.right) << mode;

        // The right side holds no label.
        EXPECT_EQ(CountColour(image, QRect(g.right + 1, 0, kSide, kSide), kText), 0) << mode;
    }
}

TEST(ScopeBackgroundTest, TinyAreaStillGivesAnImage) {
    for (int side : {0, 5, 9, 10, 49, 51}) {
        const QImage image =
            DrawScopeBackground(side, side, kScopeMargin, Style("Classic"), WorkedLabels());
        EXPECT_EQ(image.width(), std::max(side, 10)) << side;
        EXPECT_EQ(image.height(), std::max(side, 10)) << side;
    }
}

}  // namespace
}  // namespace orv
