#include "display/signature_trace.h"

#include <QPainter>
#include <cmath>

#include "display/qt_colour.h"
#include "display/rounding.h"

namespace orv {

namespace {

// Also defined for a frame turned inside out by an area smaller than the margin.
std::int64_t ClampTo(std::int64_t value, int low, int high) {
    if (value < low)
        return low;
    if (value > high)
        return high;
    return value;
}

// A point that is not a number has no place; it is shown at the centre.
int PixelOf(int centre, float value, float scale, int low, int high) {
    const float position = static_cast<float>(centre) + value * scale;
    if (std::isnan(position))
        return static_cast<int>(ClampTo(centre, low, high));
    return static_cast<int>(ClampTo(RoundHalfAway(position), low, high));
}

}  // namespace

std::vector<QPoint> TracePixels(const ScopeGeometry& g, float xRange, float yRange,
                                const SignatureView& signature) {
    std::vector<QPoint> pixels;
    if (xRange == 0.0f || yRange == 0.0f)
        return pixels;
    const float kx = static_cast<float>(g.hw) / xRange;
    const float ky = static_cast<float>(g.hh) / yRange;
    const int n = signature.UsableCount();
    pixels.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        const auto at = static_cast<std::size_t>(i);
        pixels.emplace_back(PixelOf(g.cx, signature.x[at], kx, g.left, g.right),
                            PixelOf(g.cy, signature.y[at], ky, g.top, g.bottom));
    }
    return pixels;
}

void DrawSignatureTrace(QImage& target, int width, int height, int margin, ColourNumber colour,
                        float xRange, float yRange, const SignatureView& signature) {
    DrawTracePixels(
        target, colour,
        TracePixels(MakeScopeGeometry(width, height, margin), xRange, yRange, signature));
}

void DrawTracePixels(QImage& target, ColourNumber colour, const std::vector<QPoint>& pixels) {
    if (pixels.empty())
        return;
    QPainter painter(&target);
    painter.setPen(ToQColor(colour));
    painter.drawPoint(pixels.front());
    painter.drawPolyline(pixels.data(), static_cast<int>(pixels.size()));
    painter.drawLine(pixels.back(), pixels.front());
}

}  // namespace orv
