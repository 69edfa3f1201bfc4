#include "display/pcb_view.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <unordered_set>

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

// One 2 x 2 block average of RGB32 pixels: red and blue, then alpha and green, summed
// two channels at a time in 16-bit lanes and rounded.
inline std::uint32_t Average4(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    constexpr std::uint32_t kLanes = 0x00FF00FFu;
    const std::uint32_t redBlue = (a & kLanes) + (b & kLanes) + (c & kLanes) + (d & kLanes);
    const std::uint32_t alphaGreen =
        ((a >> 8) & kLanes) + ((b >> 8) & kLanes) + ((c >> 8) & kLanes) + ((d >> 8) & kLanes);
    return (((redBlue + 0x00020002u) >> 2) & kLanes) |
           ((((alphaGreen + 0x00020002u) >> 2) & kLanes) << 8);
}

QImage HalfOf(const QImage& image) {
    const int w = image.width();
    const int h = image.height();
    QImage half((w + 1) / 2, (h + 1) / 2, QImage::Format_RGB32);
    for (int y = 0; y < half.height(); ++y) {
        const auto* top = reinterpret_cast<const std::uint32_t*>(image.constScanLine(2 * y));
        const auto* bottom =
            reinterpret_cast<const std::uint32_t*>(image.constScanLine(std::min(2 * y + 1, h - 1)));
        auto* out = reinterpret_cast<std::uint32_t*>(half.scanLine(y));
        for (int x = 0; x < half.width(); ++x) {
            const int left = 2 * x;
            const int right = std::min(left + 1, w - 1);
            out[x] = Average4(top[left], top[right], bottom[left], bottom[right]);
        }
    }
    return half;
}

// How many halvings the window can take while every view pixel still gets at least
// one photograph pixel; 0 when there are no usable copies.
int UsableLevel(const PhotoLevels* levels, const QImage& photo, const CropWindow& w, int width,
                int height) {
    if (levels == nullptr || levels->photoKey != photo.cacheKey())
        return 0;
    int level = 0;
    while (level < static_cast<int>(levels->halves.size())) {
        const int factor = 2 << level;
        if ((w.x2 - w.x1) / factor < width || (w.y2 - w.y1) / factor < height)
            break;
        ++level;
    }
    return level;
}

// The window from a reduced copy: copy pixel i covers photograph pixels f*i .. f*i + f,
// so the window maps to a fractional source rectangle; the scale from it lies between
// 1/2 and 1, where bilinear filtering looks like area averaging.
QImage ScaledFromLevel(const QImage& level, int factor, const CropWindow& w, int width,
                       int height) {
    QImage view(width, height, QImage::Format_RGB32);
    QPainter painter(&view);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double f = factor;
    painter.drawImage(QRectF(0, 0, width, height), level,
                      QRectF(w.x1 / f, w.y1 / f, (w.x2 - w.x1) / f, (w.y2 - w.y1) / f));
    return view;
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

PhotoLevels MakePhotoLevels(const QImage& photo) {
    PhotoLevels levels;
    if (photo.isNull())
        return levels;
    levels.photoKey = photo.cacheKey();
    QImage current = photo.convertToFormat(QImage::Format_RGB32);
    while (std::min(current.width(), current.height()) / 2 >= kPhotoLevelMinSide) {
        current = HalfOf(current);
        levels.halves.push_back(current);
    }
    return levels;
}

namespace {

struct Place {
    int x = 0;
    int y = 0;
    bool square = false;
    bool operator==(const Place&) const = default;
};

struct PlaceHash {
    std::size_t operator()(const Place& p) const {
        const std::uint64_t packed =
            (static_cast<std::uint64_t>(static_cast<std::uint32_t>(p.x)) << 32) |
            static_cast<std::uint32_t>(p.y);
        return std::hash<std::uint64_t>{}(packed) ^ (p.square ? 0x9E3779B97F4A7C15u : 0u);
    }
};

}  // namespace

std::vector<PcbPin> PinsToDraw(std::span<const PcbPin> pins) {
    std::vector<PcbPin> kept;
    std::unordered_set<Place, PlaceHash> covered;
    for (auto it = pins.rbegin(); it != pins.rend(); ++it) {
        if (!it->deleted && covered.insert(Place{it->x, it->y, it->pinOne}).second)
            kept.push_back(*it);
    }
    std::reverse(kept.begin(), kept.end());
    return kept;
}

std::vector<PcbPin> PinsToClick(std::span<const PcbPin> pins) {
    std::vector<PcbPin> kept;
    std::unordered_set<Place, PlaceHash> found;
    for (const PcbPin& pin : pins) {
        if (found.insert(Place{pin.x, pin.y, false}).second)
            kept.push_back(pin);
    }
    return kept;
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

    if (const int level = UsableLevel(in.levels, photo, w, width, height); level > 0) {
        state.image = ScaledFromLevel(in.levels->halves[static_cast<size_t>(level - 1)], 1 << level,
                                      w, width, height);
    } else {
        state.image = CropOf(photo, w)
                          .scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                          .convertToFormat(QImage::Format_RGB32);
    }

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
