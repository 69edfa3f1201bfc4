#include "display/thumbnail.h"

#include <gtest/gtest.h>

#include <vector>

#include "display/scope_geometry.h"
#include "display/scope_text.h"
#include "image_probe.h"

namespace orv {
namespace {

using test::BoundsOfColour;
using test::ColourAt;
using test::CountColour;
using test::CountOtherThan;

constexpr ColourNumber kBack = MakeColour(5, 5, 40);
constexpr ColourNumber kText = MakeColour(255, 255, 255);
constexpr ColourNumber kCross = MakeColour(0, 136, 0);
constexpr ColourNumber kGolden = MakeColour(255, 165, 0);
constexpr ColourNumber kDut = MakeColour(0, 0, 255);
constexpr ColourNumber kGoodBadge = MakeColour(0, 250, 0);
constexpr ColourNumber kNoSigBadge = MakeColour(250, 190, 200);

constexpr int kSide = 231;  // 90 pixels from the centre to the frame edge
const ScopeGeometry g = MakeScopeGeometry(kSide, kSide);

struct Signature {
    std::vector<float> x{0};
    std::vector<float> y{0};
    Signature(std::initializer_list<std::pair<float, float>> points) {
        for (auto [px, py] : points) {
            x.push_back(px);
            y.push_back(py);
        }
    }
    SignatureView View() const { return {x, y, static_cast<int>(x.size()) - 1}; }
};

// 2 V over 1000 ohms: full scale 2 V and 2 mA. The golden trace is a vertical stroke
// left of the centre, the DUT one right of it.
const Signature kGoldenTrace{{-1, -0.001f}, {-1, 0.001f}};
const Signature kDutTrace{{1, -0.001f}, {1, 0.001f}};

ThumbnailStyle Style(const char* crosshair = "Off") {
    return ThumbnailStyle{kBack, kCross, kText, kGolden, kDut, crosshair};
}

ThumbnailRecord Record(const char* result = "Good") {
    ThumbnailRecord r;
    r.peakMillivolts = 2000;
    r.sourceOhms = 1000;
    r.frequencyHz = 50;
    r.title = "IC17, Pin 3";
    r.result = result;
    r.hasGolden = true;
    r.golden = kGoldenTrace.View();
    r.dut = kDutTrace.View();
    return r;
}

QImage Thumb(int rec, int rows, const ThumbnailRecord& record = Record(),
             const ThumbnailStyle& style = Style()) {
    return DrawThumbnail(kSide, kSide, rec, rows, "testplans\\board_A.orv", record, style);
}

TEST(ThumbnailTest, WhatEachRowPositionShows) {
    const QRect topRight(kSide - 60, 0, 60, 16);
    const QRect middle(0, kSide / 2, kSide, 16);
    const QRect frameArea(g.left + 1, 20, g.right - g.left - 1, g.bottom - 40);
    struct Case {
        int rec;
        bool corner;  // text at the top right
        bool middle;  // file name across the middle
        bool traces;
    };
    const int rows = 10;
    const Case cases[] = {
        {-3, false, false, false}, {0, false, false, false},  {1, false, true, false},
        {2, true, false, true},    {10, true, false, true},   {11, true, false, false},
        {12, false, false, false}, {40, false, false, false},
    };
    for (const Case& c : cases) {
        const QImage image = Thumb(c.rec, rows);
        EXPECT_EQ(CountColour(image, topRight, kText) > 0, c.corner) << c.rec;
        EXPECT_EQ(CountColour(image, middle, kText) > 0, c.middle) << c.rec;
        EXPECT_EQ(CountColour(image, frameArea, kGolden) > 0, c.traces) << c.rec;
        if (!c.corner && !c.middle) {
            EXPECT_EQ(CountOtherThan(image, image.rect(), kBack), 0) << c.rec;
        }
    }
}

TEST(ThumbnailTest, EndAndPositionTextsEndAtTheRightEdge) {
    for (int rec : {11, 7}) {
        const QString text = rec == 11 ? QStringLiteral("END") : QStringLiteral("7/10");
        const QImage image = Thumb(rec, 10);
        const QRect shown = BoundsOfColour(image, QRect(kSide - 40, 0, 40, 16), kText);
        const int width = MeasureScopeText(text).width;
        EXPECT_GE(shown.left(), kSide - width) << rec;
        EXPECT_LE(shown.right(), kSide - 1) << rec;
        EXPECT_GT(shown.right(), kSide - 4) << rec;
    }
}

TEST(ThumbnailTest, HeaderRowShowsOnlyTheFileNameInTheMiddle) {
    const QImage image = Thumb(1, 10);
    const QRect shown = BoundsOfColour(image, image.rect(), kText);
    const int width = MeasureScopeText(QStringLiteral("board_A.orv")).width;
    EXPECT_NEAR((shown.left() + shown.right()) / 2.0, kSide / 2.0, 3);
    EXPECT_LE(shown.width(), width);  // no folder in front
    EXPECT_GE(shown.top(), kSide / 2);
    EXPECT_EQ(CountColour(image, image.rect(), kGolden), 0);
}

TEST(ThumbnailTest, TracesScaleToTheRecordsSettings) {
    const int goldenColumn = g.cx - 45;  // -1 V of 2 V
    const int dutColumn = g.cx + 45;
    struct Case {
        const char* result;
        bool dut;
    };
    const Case cases[] = {
        {"Good", true}, {"Bad", true}, {"Untested", false}, {"NoTest", false}, {"", false}};
    for (const Case& c : cases) {
        const QImage image = Thumb(5, 10, Record(c.result));
        EXPECT_EQ(ColourAt(image, goldenColumn, g.cy), kGolden) << c.result;
        EXPECT_EQ(ColourAt(image, goldenColumn, g.cy - 44), kGolden) << c.result;
        EXPECT_EQ(ColourAt(image, dutColumn, g.cy) == kDut, c.dut) << c.result;
    }

    // A resistance of 0 scales as 10 kohms: 1 mA is then far beyond full scale.
    ThumbnailRecord zeroOhms = Record();
    zeroOhms.sourceOhms = 0;
    const QImage clamped = Thumb(5, 10, zeroOhms);
    EXPECT_EQ(ColourAt(clamped, goldenColumn, g.top), kGolden);
    EXPECT_EQ(ColourAt(clamped, goldenColumn, g.bottom), kGolden);
}

TEST(ThumbnailTest, ZeroVoltageDrawsNoTraceAndDoesNotFail) {
    ThumbnailRecord flat = Record();
    flat.peakMillivolts = 0;
    const QImage image = Thumb(5, 10, flat);
    EXPECT_EQ(CountColour(image, image.rect(), kGolden), 0);
    EXPECT_EQ(CountColour(image, image.rect(), kDut), 0);
}

TEST(ThumbnailTest, CrosshairOnlyWhenOn) {
    const QImage on = Thumb(5, 10, Record(), Style("On"));
    EXPECT_EQ(ColourAt(on, g.left + 3, g.cy), kCross);
    EXPECT_EQ(ColourAt(on, g.cx, g.top + 3), kCross);
    for (const char* mode : {"Off", "Classic"}) {
        const QImage off = Thumb(5, 10, Record(), Style(mode));
        EXPECT_EQ(CountColour(off, off.rect(), kCross), 0) << mode;
    }
}

TEST(ThumbnailTest, SettingsLineAtTheBottomAndTitleAtTheTop) {
    const QImage image = Thumb(5, 10);
    const QRect bottom = BoundsOfColour(image, QRect(0, kSide - 20, kSide, 20), kText);
    ASSERT_FALSE(bottom.isNull());
    EXPECT_LE(bottom.bottom(), kSide - 1);
    EXPECT_NEAR((bottom.left() + bottom.right()) / 2.0, kSide / 2.0, 3);
    const QRect top = BoundsOfColour(image, QRect(30, 0, 140, 16), kText);
    ASSERT_FALSE(top.isNull());
    EXPECT_NEAR((top.left() + top.right()) / 2.0, kSide / 2.0, 3);
}

TEST(ThumbnailSettingsLineTest, WholeUnitsByTruncation) {
    struct Case {
        std::int64_t v, r, f;
        const char* line;
    };
    const Case cases[] = {
        {2500, 10000, 50, "Vpk=2V, Z=10kohms, f=50Hz"},
        {200, 100, 1000, "Vpk=200mV, Z=100ohms, f=1kHz"},
        {999, 1999, 1999, "Vpk=999mV, Z=1kohms, f=1kHz"},
        {1000, 0, 999, "Vpk=1V, Z=0ohms, f=999Hz"},
        {10000, 50, 20000, "Vpk=10V, Z=50ohms, f=20kHz"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ThumbnailSettingsLine(c.v, c.r, c.f), c.line);
}

TEST(WithoutFolderTest, StripsEitherSeparator) {
    EXPECT_EQ(WithoutFolder("testplans\\demo_A.orv"), "demo_A.orv");
    EXPECT_EQ(WithoutFolder("/home/bench/plans/demo_B.orv"), "demo_B.orv");
    EXPECT_EQ(WithoutFolder("demo_C.orv"), "demo_C.orv");
    EXPECT_EQ(WithoutFolder("plans/"), "");
}

TEST(MiniScopeClickTargetTest, MovesByTheOffsetWithinTheRecords) {
    struct Case {
        int current, k, rows, target;
    };
    const Case cases[] = {
        {3, 1, 10, 2},    // 3 - 4 = -1, raised to the first record
        {10, 9, 10, 10},  // beyond the last row, lowered to it
        {6, 5, 10, 6},   {6, 1, 10, 2}, {6, 9, 10, 10},
        {4, 7, 10, 6},   {1, 5, 1, 2},  // a plan without records
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MiniScopeClickTarget(c.current, c.k, c.rows), c.target)
            << c.current << " " << c.k;
    }
}

class MiniScopeSetTest : public ::testing::Test {
protected:
    MiniScopeSetTest() {
        for (auto& size : input_.sizes)
            size = {kSide, kSide};
        input_.style = Style();
        input_.planFileName = "testplans\\board_A.orv";
        input_.badges = &badges_;
    }

    // Records current - 4 .. current + 4, each with a stored golden signature.
    void FillRecords(int current, int rows) {
        input_.current = current;
        input_.rows = rows;
        for (int k = 1; k <= kMiniScopeCount; ++k) {
            const int rec = MiniScopeRecord(current, k);
            input_.records[k - 1] = rec >= 2 && rec <= rows ? Record() : ThumbnailRecord{};
        }
    }

    QImage Solid(ColourNumber c) {
        QImage image(23, 23, QImage::Format_RGB32);
        image.fill(QColor(RedOf(c), GreenOf(c), BlueOf(c)));
        return image;
    }

    ResultBadges badges_{Solid(kGoodBadge), QImage(), QImage(), QImage(), Solid(kNoSigBadge)};
    MiniScopeSetInput input_;
    ScopeImages scope_;
};

TEST_F(MiniScopeSetTest, LastRowShowsEndThenEmptyScopes) {
    FillRecords(10, 10);
    const auto images = ComposeMiniScopes(scope_, input_);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(ColourAt(images[k - 1], 0, 0), kGoodBadge) << k;
    }
    // Mini-scope 6 is just past the end.
    EXPECT_NE(ColourAt(images[5], 0, 0), kGoodBadge);
    EXPECT_GT(CountColour(images[5], QRect(kSide - 40, 0, 40, 16), kText), 0);
    EXPECT_EQ(CountColour(images[5], images[5].rect(), kGolden), 0);
    for (int k = 7; k <= 9; ++k) {
        EXPECT_EQ(CountOtherThan(images[k - 1], images[k - 1].rect(), kBack), 0) << k;
    }
    EXPECT_EQ(scope_.centreThumbnail, images[4]);
    EXPECT_EQ(scope_.centreWidth, kSide);
}

TEST_F(MiniScopeSetTest, HeaderRowAndRecordsBeforeItGetNoBadge) {
    FillRecords(3, 10);                   // mini-scopes show rows -1, 0, 1, 2, 3, ...
    input_.records[3].hasGolden = false;  // row 2
    const auto images = ComposeMiniScopes(scope_, input_);
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(ColourAt(images[k - 1], 0, 0), kBack) << k;
    EXPECT_EQ(ColourAt(images[3], 0, 0), kNoSigBadge);
    EXPECT_EQ(ColourAt(images[4], 22, 22), kGoodBadge);
    // Untested has no picture loaded: no badge, no failure.
    input_.records[5].result = "Untested";
    const auto again = ComposeMiniScopes(scope_, input_);
    EXPECT_EQ(ColourAt(again[5], 0, 0), kBack);
}

TEST_F(MiniScopeSetTest, EachMiniScopeHasItsOwnSize) {
    FillRecords(5, 10);
    input_.sizes[0] = {120, 80};
    input_.sizes[8] = {5, 5};
    const auto images = ComposeMiniScopes(scope_, input_);
    EXPECT_EQ(images[0].size(), QSize(120, 80));
    EXPECT_EQ(images[8].size(), QSize(10, 10));
    EXPECT_EQ(images[4].size(), QSize(kSide, kSide));
}

}  // namespace
}  // namespace orv
