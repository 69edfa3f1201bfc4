#include "display/signature_trace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "image_probe.h"

namespace orv {
namespace {

using test::ColourAt;
using test::CountColour;

constexpr ColourNumber kTrace = MakeColour(250, 10, 10);

// Points 1..n from (x, y) pairs; entry 0 unused.
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

// 696 x 696: centre 348, half size 323, frame 25..671.
const ScopeGeometry g = MakeScopeGeometry(696, 696);

TEST(TracePixelsTest, ScalesRoundsAndClamps) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float x, y;
        int px, py;
    };
    // Ranges of 323 give one pixel per unit.
    const Case cases[] = {
        {0, 0, 348, 348},
        {100, 50, 448, 398},  // positive Y is drawn downward
        {-100, -50, 248, 298},
        {0.5f, -0.5f, 349, 348},  // halves away from zero: 348.5 up, 347.5 up to 348
        {1.5f, 0.49f, 350, 348},
        {323, 323, 671, 671},   // full scale lands on the frame
        {400, -1000, 671, 25},  // beyond full scale stays on the frame edge
        {-1e30f, 1e30f, 25, 671},
        {inf, -inf, 671, 25},
        {std::nanf(""), 10, 348, 358},  // no position: at the centre
    };
    for (const Case& c : cases) {
        const Signature s{{c.x, c.y}};
        const auto pixels = TracePixels(g, 323, 323, s.View());
        ASSERT_EQ(pixels.size(), 1u);
        EXPECT_EQ(pixels[0].x(), c.px) << c.x;
        EXPECT_EQ(pixels[0].y(), c.py) << c.y;
    }
}

TEST(TracePixelsTest, FullScaleOfTheGeneratorReachesTheFrame) {
    // 10 V peak over 100 ohms: 10 V and 100 mA are the frame edges.
    const Signature s{{10.0f, 0.1f}, {-10.0f, -0.1f}, {2.5f, 0.0f}};
    const auto pixels = TracePixels(g, 10.0f, 0.1f, s.View());
    ASSERT_EQ(pixels.size(), 3u);
    EXPECT_EQ(pixels[0], QPoint(g.right, g.bottom));
    EXPECT_EQ(pixels[1], QPoint(g.left, g.top));
    EXPECT_EQ(pixels[2], QPoint(g.cx + 81, g.cy));  // 80.75 pixels
}

TEST(TracePixelsTest, ZeroRangeOrNoPointsDrawNothing) {
    const Signature s{{1, 1}, {2, 2}};
    EXPECT_TRUE(TracePixels(g, 0, 1, s.View()).empty());
    EXPECT_TRUE(TracePixels(g, 1, 0, s.View()).empty());
    EXPECT_TRUE(TracePixels(g, 1, 1, SignatureView{}).empty());
    // A count beyond what the buffers hold uses only what they hold.
    SignatureView claimsMore = s.View();
    claimsMore.count = 128;
    EXPECT_EQ(TracePixels(g, 1, 1, claimsMore).size(), 2u);
}

TEST(DrawSignatureTraceTest, ClosedPolylineInTheGivenColour) {
    QImage image(696, 696, QImage::Format_RGB32);
    image.fill(Qt::black);
    // A triangle: (348, 348) -> (448, 348) -> (448, 448) -> back to the start.
    const Signature s{{0, 0}, {100, 0}, {100, 100}};
    DrawSignatureTrace(image, 696, 696, 50, kTrace, 323, 323, s.View());
    EXPECT_EQ(ColourAt(image, 400, 348), kTrace);        // first side
    EXPECT_EQ(ColourAt(image, 448, 400), kTrace);        // second side
    EXPECT_EQ(ColourAt(image, 398, 398), kTrace);        // closing side back to point 1
    EXPECT_EQ(ColourAt(image, 420, 380), kColourBlack);  // inside stays empty
    EXPECT_EQ(ColourAt(image, 300, 300), kColourBlack);

    // One point is still shown.
    QImage single(100, 100, QImage::Format_RGB32);
    single.fill(Qt::black);
    const Signature one{{0, 0}};
    DrawSignatureTrace(single, 100, 100, 50, kTrace, 1, 1, one.View());
    EXPECT_EQ(CountColour(single, single.rect(), kTrace), 1);
    EXPECT_EQ(ColourAt(single, 50, 50), kTrace);
}

TEST(DrawSignatureTraceTest, OutOfRangeRunsAlongTheFrameEdge) {
    QImage image(696, 696, QImage::Format_RGB32);
    image.fill(Qt::black);
    const Signature s{{-1000, 0}, {1000, 0}, {1000, 1000}, {-1000, 1000}};
    DrawSignatureTrace(image, 696, 696, 50, kTrace, 323, 323, s.View());
    // Nothing outside the frame, and the bottom edge is a solid run.
    EXPECT_EQ(CountColour(image, QRect(0, 0, 696, 25), kTrace), 0);
    EXPECT_EQ(CountColour(image, QRect(0, 672, 696, 24), kTrace), 0);
    EXPECT_EQ(CountColour(image, QRect(0, 0, 25, 696), kTrace), 0);
    EXPECT_EQ(CountColour(image, QRect(672, 0, 24, 696), kTrace), 0);
    EXPECT_EQ(CountColour(image, QRect(25, 671, 647, 1), kTrace), 647);
}

}  // namespace
}  // namespace orv
