#include "display/pcb_view.h"

#include <QPainter>
#include <cmath>

#include "display/qt_colour.h"
#include "display/rounding.h"

namespace orv {

namespace {

struct Span1D {
    int low = 0;
    int high = 0;
};

// One direction of the crop window over a photograph `extent` pixels long.
Span1D CropSpan(int extent, int centre, float side) {
    const float half = side / 2.0f;
    auto low = RoundHalfEven(static_cast<float>(centre) - half);
    auto high = RoundHalfEven(static_cast<float>(centre) + half);
    if (low < 0) {
        low = 0;
        high = RoundHalfEven(side);
    }
    if (high > extent) {
        low = RoundHalfEven(static_cast<float>(extent) - side);
        high = extent;
    }
    if (low < 0)
        low = 0;
    if (high < 0)
        high = 0;
    if (high < low)
        low = high;
    if (high - low < 1)
        high = low + 1;
    return Span1D{static_cast<int>(low), static_cast<int>(high)};
}

float ClampZoom(float zoom) {
    if (std::isnan(zoom))
        return 1.0f;
    if (zoom < kMinPcbZoom)
        return kMinPcbZoom;
    if (zoom > kMaxPcbZoom)
        return kMaxPcbZoom;
    return zoom;
}

// The part of the photograph under the window. Inside the photograph it is read in
// place: copying a 12-megapixel crop first would double the cost of every redraw.
QImage CropOf(const QImage& photo, const CropWindow& w) {
    const QRect rect(w.x1, w.y1, w.x2 - w.x1, w.y2 - w.y1);
    const int depth = photo.depth();
    if (photo.rect().contains(rect) && depth % 8 == 0 && photo.colorCount() == 0) {
        const uchar* first = photo.constScanLine(w.y1) + static_cast<qsizetype>(w.x1) * (depth / 8);
        return QImage(first, rect.width(), rect.height(), photo.bytesPerLine(), photo.format());
    }
    return photo.copy(rect);
}

struct ViewMapping {
    CropWindow window;
    int width = 0;
    int height = 0;

    QPoint Map(int x, int y) const {
        const float u = static_cast<float>(x - window.x1) /
                        static_cast<float>(window.x2 - window.x1) * static_cast<float>(width);
        const float v = static_cast<float>(y - window.y1) /
                        static_cast<float>(window.y2 - window.y1) * static_cast<float>(height);
        return QPoint(static_cast<int>(RoundHalfAway(u)), static_cast<int>(RoundHalfAway(v)));
    }
    bool InView(const QPoint& p) const {
        return p.x() >= 0 && p.x() <= width && p.y() >= 0 && p.y() <= height;
    }
};

// Every pixel whose distance from the centre pixel is at most the radius, so the disc
// is symmetric about the pin's pixel.
void FillDisc(QPainter& painter, const QPoint& at, int radius, const QColor& colour) {
    for (int dy = -radius; dy <= radius; ++dy) {
        const int half =
            static_cast<int>(std::sqrt(static_cast<double>(radius * radius - dy * dy)));
        painter.fillRect(at.x() - half, at.y() + dy, 2 * half + 1, 1, colour);
    }
}

void DrawMarker(QPainter& painter, const QPoint& at, const PcbPin& pin) {
    ColourNumber colour = kColourBlack;
    const bool filled = MarkerColour(pin, colour);
    if (pin.pinOne) {
        painter.fillRect(at.x() - 6, at.y() - 6, 12, 12, Qt::black);
        if (filled)
            painter.fillRect(at.x() - 5, at.y() - 5, 10, 10, ToQColor(colour));
        return;
    }
    FillDisc(painter, at, 6, Qt::black);
    if (filled)
        FillDisc(painter, at, 5, ToQColor(colour));
}

}  // namespace

CropWindow ComputeCropWindow(int imageWidth, int imageHeight, int cx, int cy, float zoom) {
    const float longer = static_cast<float>(imageWidth < imageHeight ? imageHeight : imageWidth);
    const float side = longer / zoom;
    const Span1D x = CropSpan(imageWidth, cx, side);
    const Span1D y = CropSpan(imageHeight, cy, side);
    return CropWindow{x.low, x.high, y.low, y.high};
}

bool MarkerColour(const PcbPin& pin, ColourNumber& colour) {
    if (!pin.hasGolden) {
        colour = kMarkerNoSignature;
        return true;
    }
    if (pin.result == "Good") {
        colour = kMarkerGood;
    } else if (pin.result == "Bad") {
        colour = kMarkerBad;
    } else if (pin.result == "Untested") {
        colour = kMarkerUntested;
    } else if (pin.result == "NoTest") {
        colour = kMarkerNoTest;
    } else {
        return false;
    }
    return true;
}

void RenderPcbView(PcbViewState& state, const PcbViewInput& in) {
    const int width = in.width < 1 ? 1 : in.width;
    const int height = in.height < 1 ? 1 : in.height;
    if (in.photo == nullptr || in.photo->isNull()) {
        state.image = QImage(width, height, QImage::Format_RGB32);
        state.image.fill(Qt::black);
        return;
    }
    const QImage& photo = *in.photo;
    float zoom = in.imageName.empty() ? 1.0f : ClampZoom(in.zoom);
    int cx = in.cx;
    int cy = in.cy;
    if (state.wholeBoard) {
        zoom = 1.0f;
        cx = photo.width() / 2;
        cy = photo.height() / 2;
    }
    const CropWindow w = ComputeCropWindow(photo.width(), photo.height(), cx, cy, zoom);
    state.window = w;

    state.image = CropOf(photo, w)
                      .scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .convertToFormat(QImage::Format_RGB32);

    const ViewMapping map{w, width, height};
    QPainter painter(&state.image);
    const QPoint pin = map.Map(in.px0, in.py0);
    const bool pinInView = map.InView(pin);
    if (in.crosshairType == "3 line" && pinInView) {
        painter.setPen(Qt::black);
        for (int d : {-1, 1}) {
            painter.drawLine(0, pin.y() + d, width, pin.y() + d);
            painter.drawLine(pin.x() + d, 0, pin.x() + d, height);
        }
    }
    for (const PcbPin& p : in.pins) {
        if (p.deleted)
            continue;
        if (p.x < w.x1 || p.x > w.x2 || p.y < w.y1 || p.y > w.y2)
            continue;
        DrawMarker(painter, map.Map(p.x, p.y), p);
    }
    if (pinInView) {
        painter.setPen(Qt::white);
        painter.drawLine(0, pin.y(), width, pin.y());
        painter.drawLine(pin.x(), 0, pin.x(), height);
    }
}

PcbClickResult PcbViewClick(PcbViewState& state, int mx, int my, const Rect& area,
                            std::span<const PcbPin> pins) {
    PcbClickResult result;
    if (area.width < 1 || area.height < 1)
        return result;
    const CropWindow& w = state.window;
    const auto through = [](int low, int high, int offset, int extent) {
        const float spread = static_cast<float>(high - low) * static_cast<float>(offset);
        return RoundHalfAway(static_cast<float>(low) + spread / static_cast<float>(extent));
    };
    const auto xLow = through(w.x1, w.x2, mx - 5 - area.x, area.width);
    const auto xHigh = through(w.x1, w.x2, mx + 5 - area.x, area.width);
    const auto yLow = through(w.y1, w.y2, my - 5 - area.y, area.height);
    const auto yHigh = through(w.y1, w.y2, my + 5 - area.y, area.height);
    for (const PcbPin& p : pins) {
        if (p.x >= xLow && p.x <= xHigh && p.y >= yLow && p.y <= yHigh) {
            result.row = p.row;
            state.wholeBoard = false;
            return result;
        }
    }
    state.wholeBoard = !state.wholeBoard;
    result.toggledWholeBoard = true;
    return result;
}

}  // namespace orv
