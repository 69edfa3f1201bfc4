#include "display/scope_composition.h"

#include <gtest/gtest.h>

#include <vector>

#include "display/scope_geometry.h"
#include "image_probe.h"

namespace orv {
namespace {

using test::BoundsOfColour;
using test::ColourAt;
using test::CountColour;

constexpr ColourNumber kGoodBadge = MakeColour(0, 250, 0);
constexpr ColourNumber kBadBadge = MakeColour(250, 0, 0);
constexpr ColourNumber kUntestedBadge = MakeColour(250, 250, 0);
constexpr ColourNumber kNoTestBadge = MakeColour(120, 120, 120);
constexpr ColourNumber kNoSigBadge = MakeColour(250, 190, 200);
constexpr ColourNumber kOutline = MakeColour(0, 136, 0);

QImage Solid(int w, int h, ColourNumber c) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(RedOf(c), GreenOf(c), BlueOf(c)));
    return image;
}

ResultBadges Badges(int w, int h) {
    return ResultBadges{Solid(w, h, kGoodBadge), Solid(w, h, kBadBadge),
                        Solid(w, h, kUntestedBadge), Solid(w, h, kNoTestBadge),
                        Solid(w, h, kNoSigBadge)};
}

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

// Horizontal strokes at different heights, so each trace owns its own pixels; the
// live one crosses the golden one at the centre.
const Signature kGolden{{-2, -0.001f}, {2, -0.001f}};
const Signature kDut{{-2, 0.001f}, {2, 0.001f}};
const Signature kFrozenGolden{{-2, -0.0015f}, {2, -0.0015f}};
const Signature kFrozenDut{{-2, 0.0015f}, {2, 0.0015f}};
const Signature kLive{{0, -0.002f}, {0, 0.002f}};

class ScopeCompositionTest : public ::testing::Test {
protected:
    ScopeCompositionTest() {
        background_.width = 696;
        background_.height = 696;
        background_.labels.peakMillivolts = 2000;
        background_.labels.sourceOhms = 1000;
        background_.labels.frequencyHz = 50;
        background_.labels.recordIndex = 3;
        background_.labels.rows = 5;
        background_.labels.record = {"IC1, Pin 2", "", "Good", true};
        background_.badges = &badges_;
        trace_.xRange = 4;
        trace_.yRange = 0.004f;  // 323 pixels per 4 mA: the strokes 80 pixels apart
        trace_.golden = kGolden.View();
        trace_.dut = kDut.View();
        trace_.frozenGolden = kFrozenGolden.View();
        trace_.frozenDut = kFrozenDut.View();
        trace_.live = kLive.View();
        trace_.statusLine = "Stable, Count: 12, Prev: 0.43%, Threshold: 1.50%";
    }

    const TraceColours colours_;
    const ResultBadges badges_ = Badges(72, 23);
    ScopeBackgroundInput background_;
    TraceLayerInput trace_;
    ScopeImages images_;
};

TEST_F(ScopeCompositionTest, BadgeFollowsTheCurrentRecord) {
    struct Case {
        const char* mode;
        int index;
        bool hasGolden;
        const char* result;
        ColourNumber corner;  // kColourBlack: no badge
    };
    const Case cases[] = {
        {"Advanced", 3, true, "Good", kGoodBadge},
        {"Advanced", 3, true, "Bad", kBadBadge},
        {"Advanced", 3, true, "Untested", kUntestedBadge},
        {"Advanced", 3, true, "NoTest", kNoTestBadge},
        {"Advanced", 3, true, "good", kColourBlack},
        {"Advanced", 3, false, "Good", kNoSigBadge},
        {"Advanced", 1, false, "", kNoSigBadge},      // the header row has no signature
        {"Advanced", 6, true, "Good", kColourBlack},  // beyond the last row
        {"Basic", 3, true, "Good", kColourBlack},
        {"Basic-Auto", 3, false, "", kColourBlack},
    };
    for (const Case& c : cases) {
        background_.labels.mode = c.mode;
        background_.labels.recordIndex = c.index;
        background_.labels.record.hasGolden = c.hasGolden;
        background_.labels.record.result = c.result;
        ComposeScopeBackground(images_, background_);
        EXPECT_EQ(ColourAt(images_.background, 0, 0), c.corner) << c.mode << c.index << c.result;
        EXPECT_EQ(ColourAt(images_.background, 71, 22), c.corner) << c.mode << c.result;
    }

    // A badge that failed to load draws nothing.
    const ResultBadges none;
    background_.badges = &none;
    background_.labels.mode = "Advanced";
    ComposeScopeBackground(images_, background_);
    EXPECT_EQ(ColourAt(images_.background, 0, 0), kColourBlack);
}

TEST_F(ScopeCompositionTest, LegendLinesInTheirColoursAboveTheBottomLeftCorner) {
    for (const char* mode : {"Advanced", "Basic"}) {
        background_.labels.mode = mode;
        ComposeScopeBackground(images_, background_);
        const QRect legendArea(27, 600, 200, 70);
        const QRect live = BoundsOfColour(images_.background, legendArea, colours_.live);
        const QRect golden = BoundsOfColour(images_.background, legendArea, colours_.golden);
        const QRect dut = BoundsOfColour(images_.background, legendArea, colours_.dut);
        ASSERT_FALSE(live.isNull() || golden.isNull() || dut.isNull()) << mode;
        EXPECT_GE(live.top(), 696 - 81) << mode;
        EXPECT_LT(live.bottom(), 696 - 63) << mode;
        EXPECT_GE(golden.top(), 696 - 63) << mode;
        EXPECT_LT(golden.bottom(), 696 - 45) << mode;
        EXPECT_GE(dut.top(), 696 - 45) << mode;
        EXPECT_LT(dut.bottom(), 696 - 27) << mode;
        EXPECT_GE(live.left(), 27) << mode;
        EXPECT_LT(live.left(), 31) << mode;
    }
}

TEST_F(ScopeCompositionTest, TracesDrawnForEachMode) {
    const ScopeGeometry g = MakeScopeGeometry(696, 696);
    const int goldenRow = g.cy - 81;  // -1 mA at 323 px per 4 mA, rounded
    const int dutRow = g.cy + 81;
    const int frozenGoldenRow = g.cy - 121;
    const int frozenDutRow = g.cy + 121;
    struct Case {
        const char* mode;
        bool showDut;
        bool golden, dut, frozenGolden, frozenDut;
    };
    const Case cases[] = {
        {"Advanced", true, true, true, false, false},
        {"Advanced", false, true, false, false, false},
        {"Basic", true, false, false, true, true},
        {"Basic-Auto", true, false, false, false, false},
    };
    for (const Case& c : cases) {
        background_.labels.mode = c.mode;
        trace_.mode = c.mode;
        trace_.showDut = c.showDut;
        ComposeScopeBackground(images_, background_);
        ComposeTraceLayer(images_, trace_);
        const QImage& t = images_.traceLayer;
        EXPECT_EQ(ColourAt(t, g.cx + 100, goldenRow) == colours_.golden, c.golden) << c.mode;
        EXPECT_EQ(ColourAt(t, g.cx + 100, dutRow) == colours_.dut, c.dut) << c.mode;
        EXPECT_EQ(ColourAt(t, g.cx + 100, frozenGoldenRow) == colours_.golden, c.frozenGolden)
            << c.mode;
        EXPECT_EQ(ColourAt(t, g.cx + 100, frozenDutRow) == colours_.dut, c.frozenDut) << c.mode;
        // Not connected: no live trace and no status line.
        EXPECT_EQ(CountColour(t, t.rect(), colours_.live) -
                      CountColour(images_.background, t.rect(), colours_.live),
                  0)
            << c.mode;
        // The background itself is untouched by the traces.
        EXPECT_NE(ColourAt(images_.background, g.cx + 100, goldenRow), colours_.golden);
    }
}

TEST_F(ScopeCompositionTest, LiveTraceOnTopAndStatusLineWhileConnected) {
    const ScopeGeometry g = MakeScopeGeometry(696, 696);
    trace_.connected = true;
    ComposeScopeBackground(images_, background_);
    ComposeTraceLayer(images_, trace_);
    const QImage& t = images_.traceLayer;
    // The live stroke crosses the golden one at (cx, cy - 81): live wins.
    EXPECT_EQ(ColourAt(t, g.cx, g.cy - 81), colours_.live);
    EXPECT_EQ(ColourAt(t, g.cx + 50, g.cy - 81), colours_.golden);
    // The status line in white, starting at (W/2 + 20, H - 45).
    const QRect status = BoundsOfColour(t, QRect(g.cx, 640, 348, 30), kColourWhite);
    ASSERT_FALSE(status.isNull());
    EXPECT_GE(status.left(), 368);
    EXPECT_LT(status.left(), 372);
    EXPECT_GE(status.top(), 651);
}

TEST_F(ScopeCompositionTest, CaptureFlashShowsThreeRedrawsOnBlack) {
    const ScopeGeometry g = MakeScopeGeometry(696, 696);
    ComposeScopeBackground(images_, background_);
    StartCaptureFlash(images_);
    std::vector<bool> framed;
    for (int redraw = 0; redraw < 5; ++redraw) {
        ComposeTraceLayer(images_, trace_);
        framed.push_back(ColourAt(images_.traceLayer, g.left, g.cy + 100) == kOutline);
        // The traces are drawn on black as well.
        EXPECT_EQ(ColourAt(images_.traceLayer, g.cx + 100, g.cy - 81), colours_.golden);
    }
    EXPECT_EQ(framed, (std::vector<bool>{false, false, false, true, true}));
    EXPECT_EQ(images_.captureFlash, 0);
}

TEST_F(ScopeCompositionTest, CentreMiniScopeGetsTheOverlayOnItsOwnScale) {
    images_.centreThumbnail = Solid(231, 231, kColourBlack);
    images_.centreWidth = 231;
    images_.centreHeight = 231;
    ComposeScopeBackground(images_, background_);

    ComposeTraceLayer(images_, trace_);
    // Not connected: the record's golden stroke at the live scale, no live.
    const ScopeGeometry m = MakeScopeGeometry(231, 231);  // half size 90
    const int goldenRow = m.cy - 22;                      // -1 mA of 4 mA: 22.5 pixels up
    EXPECT_EQ(ColourAt(images_.centreMiniScope, m.cx + 30, goldenRow), colours_.golden);
    EXPECT_EQ(CountColour(images_.centreMiniScope, images_.centreMiniScope.rect(), colours_.live),
              0);

    trace_.connected = true;
    ComposeTraceLayer(images_, trace_);
    EXPECT_EQ(ColourAt(images_.centreMiniScope, m.cx, m.cy + 10), colours_.live);
    EXPECT_EQ(ColourAt(images_.centreMiniScope, m.cx, goldenRow), colours_.live);
    // The saved thumbnail stays clean for the next redraw.
    EXPECT_EQ(CountColour(images_.centreThumbnail, images_.centreThumbnail.rect(), colours_.live),
              0);
}

TEST_F(ScopeCompositionTest, TraceRefreshBeforeAnyBackgroundStillDraws) {
    images_.width = 300;
    images_.height = 200;
    trace_.connected = true;
    ComposeTraceLayer(images_, trace_);
    EXPECT_EQ(images_.traceLayer.size(), QSize(300, 200));
    EXPECT_TRUE(images_.centreMiniScope.isNull());
}

// The layer is drawn over in place, from two buffers in turn: after any run of
// refreshes it must equal a composition from scratch (no trace or status line left
// behind), and a refresh that would draw the same picture says so and changes nothing.
TEST_F(ScopeCompositionTest, RefreshesInPlaceMatchAFreshCompositionAndSkipRepeats) {
    images_.centreThumbnail = Solid(231, 231, kColourBlack);
    images_.centreWidth = 231;
    images_.centreHeight = 231;
    ComposeScopeBackground(images_, background_);
    const Signature far{{1.5f, -0.002f}, {1.9f, 0.002f}, {1.2f, 0.0019f}};
    const Signature near{{-0.3f, 0.0005f}, {0.2f, -0.0005f}};
    struct Step {
        const char* what;
        const Signature* live;
        bool connected;
        const char* status;
        bool flash = false;
        bool newBackground = false;
        bool changed = true;
    };
    const Step steps[] = {
        {"first", &kLive, true, "Stable, Count: 12, Prev: 0.43%, Threshold: 1.50%"},
        {"same again", &kLive, true, "Stable, Count: 12, Prev: 0.43%, Threshold: 1.50%", false,
         false, false},
        {"live moved", &far, true, "Stable, Count: 12, Prev: 0.43%, Threshold: 1.50%"},
        {"moved back", &kLive, true, "O/C"},
        {"shorter status", &near, true, "O/C"},
        {"same", &near, true, "O/C", false, false, false},
        {"disconnected", &near, false, ""},
        {"flash", &far, true, "Unstable, Count: 0, Prev: 99.00%, Threshold: 1.50%", true},
        {"after the flash", &far, true, "Unstable, Count: 0, Prev: 99.00%, Threshold: 1.50%"},
        {"record changed", &kLive, true, "Stable", false, true},
        {"and back", &far, true, "Stable"},
        {"again", &kLive, true, "Stable"},
    };
    for (const Step& step : steps) {
        if (step.flash)
            images_.captureFlash = 1;  // one redraw on black
        if (step.newBackground) {
            background_.labels.recordIndex = 4;
            ComposeScopeBackground(images_, background_);
        }
        trace_.live = step.live->View();
        trace_.connected = step.connected;
        trace_.statusLine = step.status;
        const QImage shownBefore = images_.traceLayer;
        EXPECT_EQ(ComposeTraceLayer(images_, trace_), step.changed) << step.what;
        if (!step.changed) {
            EXPECT_EQ(images_.traceLayer.cacheKey(), shownBefore.cacheKey()) << step.what;
        }
        // Only the part said to have changed is repainted: every changed pixel is in it.
        if (step.changed && shownBefore.size() == images_.traceLayer.size()) {
            QRect differs;
            for (int y = 0; y < shownBefore.height(); ++y) {
                for (int x = 0; x < shownBefore.width(); ++x) {
                    if (shownBefore.pixel(x, y) != images_.traceLayer.pixel(x, y))
                        differs |= QRect(x, y, 1, 1);
                }
            }
            EXPECT_TRUE(images_.traceChanged.contains(differs)) << step.what;
        }

        ScopeImages fresh;
        fresh.background = images_.background;
        fresh.width = images_.width;
        fresh.height = images_.height;
        fresh.centreThumbnail = images_.centreThumbnail;
        fresh.centreWidth = 231;
        fresh.centreHeight = 231;
        fresh.captureFlash = step.flash ? 1 : 0;
        ComposeTraceLayer(fresh, trace_);
        EXPECT_EQ(images_.traceLayer, fresh.traceLayer) << step.what;
        EXPECT_EQ(images_.centreMiniScope, fresh.centreMiniScope) << step.what;
    }
}

TEST(LiveStatusLineTest, StateCountDifferenceAndThreshold) {
    EXPECT_EQ(LiveStatusLine(1, 12, 0.43f, "1.50%"),
              "Stable, Count: 12, Prev: 0.43%, Threshold: 1.50%");
    EXPECT_EQ(LiveStatusLine(0, 0, 19.99985f, "1.00%"),
              "O/C, Count: 0, Prev: 20.00%, Threshold: 1.00%");
    EXPECT_EQ(LiveStatusLine(2, 0, 0.00015f, "junk"),
              "Unstable, Count: 0, Prev: 0.00%, Threshold: junk");
}

}  // namespace
}  // namespace orv
