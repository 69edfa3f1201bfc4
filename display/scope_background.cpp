#include "display/scope_background.h"

#include <QPainter>
#include <QPoint>
#include <vector>

#include "display/qt_colour.h"
#include "display/rounding.h"
#include "display/scope_geometry.h"
#include "display/scope_text.h"

namespace orv {

namespace {

// Line positions centre - step * i for i = -(count - 1) .. count - 1. With a step of
// 0 every line falls on the centre, so it is drawn once, however many are asked for.
std::vector<int> GridLinePositions(int centre, int step, std::int64_t count) {
    std::vector<int> positions;
    if (step == 0) {
        positions.push_back(centre);
        return positions;
    }
    const auto n = static_cast<int>(count);
    for (int i = -(n - 1); i <= n - 1; ++i)
        positions.push_back(centre - step * i);
    return positions;
}

void DrawGraticule(QPainter& painter, const ScopeGeometry& g, const ScopeStyle& style) {
    std::vector<QPoint> dots;
    const std::int64_t v = style.verticalDivisions;
    if (v >= 1) {
        // Steps beyond the half height give lines outside the frame; stop there.
        const std::int64_t lines = std::min<std::int64_t>(v, g.hh + 1);
        const int step = static_cast<int>((g.cy - g.top) / v);
        for (int y : GridLinePositions(g.cy, step, lines)) {
            for (int x = g.cx + 2; x < g.right; x += kGraticuleDashPeriod)
                dots.emplace_back(x, y);
            for (int x = g.cx - 2; x > g.left; x -= kGraticuleDashPeriod)
                dots.emplace_back(x, y);
        }
    }
    const std::int64_t h = style.horizontalDivisions;
    if (h >= 2) {
        const std::int64_t lines = std::min<std::int64_t>(h, g.hw + 1);
        const int step = static_cast<int>((g.cx - g.left) / h);
        for (int x : GridLinePositions(g.cx, step, lines)) {
            for (int y = g.cy - 2; y > g.top; y -= kGraticuleDashPeriod)
                dots.emplace_back(x, y);
            for (int y = g.cy + 2; y < g.bottom; y += kGraticuleDashPeriod)
                dots.emplace_back(x, y);
        }
    }
    painter.setPen(ToQColor(style.graticule));
    painter.drawPoints(dots.data(), static_cast<int>(dots.size()));
}

void DrawClassicCrosshair(QPainter& painter, const ScopeGeometry& g) {
    const int L = kClassicMarkerHalfLength;
    const int q = (g.right - g.left) / 8;
    painter.drawLine(g.cx - L, g.top, g.cx + L, g.top);
    painter.drawLine(g.cx, g.top, g.cx, g.top + L);
    painter.drawLine(g.cx - L, g.bottom, g.cx + L, g.bottom);
    painter.drawLine(g.cx, g.bottom, g.cx, g.bottom - L);
    painter.drawLine(g.left, g.cy - L, g.left, g.cy + L);
    painter.drawLine(g.left, g.cy, g.left + L, g.cy);
    painter.drawLine(g.right, g.cy - L, g.right, g.cy + L);
    painter.drawLine(g.right, g.cy, g.right - L, g.cy);
    painter.drawLine(g.cx - L, g.cy, g.cx + L, g.cy);
    painter.drawLine(g.cx, g.cy - L, g.cx, g.cy + L);
    for (int x : {g.left + q, g.left + 2 * q, g.left + 3 * q, g.right - 3 * q, g.right - 2 * q,
                  g.right - q}) {
        painter.drawLine(x, g.cy - L, x, g.cy + L);
    }
}

void DrawCrosshair(QPainter& painter, const ScopeGeometry& g, const ScopeStyle& style) {
    painter.setPen(ToQColor(style.crosshair));
    if (style.crosshairMode == "On") {
        painter.drawLine(g.left, g.cy, g.right, g.cy);
        painter.drawLine(g.cx, g.top, g.cx, g.bottom);
    } else if (style.crosshairMode == "Classic") {
        DrawClassicCrosshair(painter, g);
    }
}

struct Anchor {
    float x = 0;
    float y = 0;
    bool turned = false;
};

Anchor LabelAnchor(int slot, const ScopeGeometry& g, const TextSize& t) {
    const float tw = static_cast<float>(t.width);
    const float th = static_cast<float>(t.height);
    const float halfTw = tw / 2.0f;
    const float off = static_cast<float>(kLabelOffset);
    const auto f = [](int value) { return static_cast<float>(value); };
    switch (slot) {
        case 1:
            return {f(g.left) - off, f(g.top), true};
        case 2:
            return {f(g.left) - off, f(g.cy) - halfTw, true};
        case 3:
            return {f(g.left) - off, f(g.bottom) - tw, true};
        case 4:
            return {f(g.left), f(g.bottom) + off, false};
        case 5:
            return {f(g.cx) - halfTw, f(g.bottom) + off, false};
        case 6:
            return {f(g.right) - tw, f(g.bottom) + off, false};
        case 7:
            return {f(g.right) + off + th, f(g.bottom) - tw, true};
        case 8:
            return {f(g.right) + off + th, f(g.cy) - halfTw, true};
        case 9:
            return {f(g.right) + off + th, f(g.top), true};
        case 10:
            return {f(g.right) - tw, f(g.top) - off - th, false};
        case 11:
            return {f(g.cx) - halfTw, f(g.top) - off - th, false};
        default:
            return {f(g.left), f(g.top) - off - th, false};
    }
}

// The tick joins the frame toward its label.
void DrawLabelTick(QPainter& painter, int slot, const ScopeGeometry& g) {
    const int off = kLabelOffset;
    const int ys[3] = {g.top, g.cy, g.bottom};
    const int xs[3] = {g.left, g.cx, g.right};
    const int i = (slot - 1) % 3;
    if (slot <= 3) {
        painter.drawLine(g.left - off, ys[i], g.left, ys[i]);
    } else if (slot <= 6) {
        painter.drawLine(xs[i], g.bottom, xs[i], g.bottom + off);
    } else if (slot <= 9) {
        const int y = ys[2 - i];  // bottom, middle, top
        painter.drawLine(g.right + off, y, g.right, y);
    } else {
        const int x = xs[2 - i];  // right, centre, left
        painter.drawLine(x, g.top, x, g.top - off);
    }
}

}  // namespace

QImage DrawScopeBackground(int width, int height, int margin, const ScopeStyle& style,
                           const ScopeLabels& labels) {
    const ScopeGeometry g = MakeScopeGeometry(width, height, margin);
    QImage image(ScopeImageSide(width), ScopeImageSide(height), QImage::Format_RGB32);
    image.fill(ToQColor(style.background));
    QPainter painter(&image);

    if (style.graticuleMode == "On")
        DrawGraticule(painter, g, style);
    DrawCrosshair(painter, g, style);
    const bool classic = style.crosshairMode == "Classic";
    if (!classic) {
        painter.setPen(ToQColor(style.outline));
        painter.drawLine(g.left, g.top, g.right, g.top);
        painter.drawLine(g.right, g.top, g.right, g.bottom);
        painter.drawLine(g.left, g.bottom, g.right, g.bottom);
        painter.drawLine(g.left, g.top, g.left, g.bottom);
    }

    for (int slot = 1; slot <= kLabelSlots; ++slot) {
        const std::string& label = labels[static_cast<std::size_t>(slot - 1)];
        if (label.empty())
            continue;
        const QString text = ToQString(label);
        const Anchor a = LabelAnchor(slot, g, MeasureScopeText(text));
        DrawScopeText(painter, static_cast<int>(RoundHalfEven(a.x)),
                      static_cast<int>(RoundHalfEven(a.y)), text, style.text, a.turned);
    }

    if (!classic) {
        painter.setPen(ToQColor(style.outline));
        for (int slot = 1; slot <= kLabelSlots; ++slot) {
            const bool ticked = kLabelTickMask[static_cast<std::size_t>(slot - 1)] == '1';
            if (ticked && !labels[static_cast<std::size_t>(slot - 1)].empty()) {
                DrawLabelTick(painter, slot, g);
            }
        }
    }
    return image;
}

}  // namespace orv
