#include "display/scope_composition.h"

#include <QPainter>
#include <cstdio>

#include "display/grid_layout.h"
#include "display/scope_background.h"
#include "display/scope_geometry.h"
#include "display/scope_text.h"
#include "display/signature_trace.h"

namespace orv {

void StartCaptureFlash(ScopeImages& images) {
    images.captureFlash = kCaptureFlashRedraws;
}

void ComposeScopeBackground(ScopeImages& images, const ScopeBackgroundInput& in) {
    images.width = in.width;
    images.height = in.height;
    images.background = DrawScopeBackground(in.width, in.height, kScopeMargin, in.style,
                                            BuildScopeLabels(in.labels));
    QPainter painter(&images.background);

    const ScopeLabelInput& l = in.labels;
    const bool hasRecord = l.recordIndex >= 1 && l.recordIndex <= l.rows;
    if (!IsBasicMode(l.mode) && hasRecord && in.badges != nullptr) {
        const QImage* badge = PickResultBadge(*in.badges, l.record.hasGolden, l.record.result);
        if (badge != nullptr && !badge->isNull())
            painter.drawImage(0, 0, *badge);
    }

    const int x = kScopeMargin / 2 + 2;
    const int bottom = in.height - kScopeMargin / 2 - 2;
    DrawScopeText(painter, x, bottom - 3 * kLegendLineHeight, QStringLiteral("Live Signature"),
                  in.traceColours.live);
    DrawScopeText(painter, x, bottom - 2 * kLegendLineHeight, QStringLiteral("Golden Signature"),
                  in.traceColours.golden);
    DrawScopeText(painter, x, bottom - kLegendLineHeight, QStringLiteral("DUT Signature"),
                  in.traceColours.dut);
}

namespace {

constexpr int kStatusLineRise = 20;  // the status line's cell above the frame's bottom

QPoint StatusLineAt(int w, int h) {
    return QPoint(w / 2 + 20, h - kScopeMargin / 2 - kStatusLineRise);
}

TracePicture PictureOf(const ScopeImages& images, const TraceLayerInput& in, bool flash) {
    const int w = images.width;
    const int h = images.height;
    const ScopeGeometry main = MakeScopeGeometry(w, h, kScopeMargin);
    TracePicture picture;
    picture.black = flash || images.background.isNull();
    picture.background = picture.black ? 0 : images.background.cacheKey();
    const auto add = [&](std::vector<DrawnTrace>& traces, const ScopeGeometry& g,
                         ColourNumber colour, const SignatureView& view) {
        traces.push_back({colour, TracePixels(g, in.xRange, in.yRange, view)});
    };
    const bool advanced = !IsBasicMode(in.mode);
    if (in.mode == "Basic") {
        add(picture.traces, main, in.colours.golden, in.frozenGolden);
        add(picture.traces, main, in.colours.dut, in.frozenDut);
    }
    if (advanced) {
        add(picture.traces, main, in.colours.golden, in.golden);
        if (in.showDut)
            add(picture.traces, main, in.colours.dut, in.dut);
    }
    if (in.connected) {
        add(picture.traces, main, in.colours.live, in.live);
        picture.statusShown = true;
        picture.statusLine = in.statusLine;
    }
    if (!images.centreThumbnail.isNull()) {
        picture.centre = images.centreThumbnail.cacheKey();
        const ScopeGeometry centre =
            MakeScopeGeometry(images.centreWidth, images.centreHeight, kScopeMargin);
        if (advanced)
            add(picture.centreTraces, centre, in.colours.golden, in.golden);
        if (in.connected)
            add(picture.centreTraces, centre, in.colours.live, in.live);
    }
    return picture;
}

// The part of the layer a picture draws over: its traces and the status line's cell,
// with a pixel to spare around the pen.
QRect CoveredBy(const TracePicture& picture, int w, int h) {
    QRect covered;
    for (const DrawnTrace& trace : picture.traces) {
        for (const QPoint& p : trace.pixels)
            covered |= QRect(p.x() - 2, p.y() - 2, 5, 5);
    }
    const QString status = ToQString(picture.statusLine);
    if (picture.statusShown && !status.isEmpty()) {
        const TextSize size = MeasureScopeText(status);
        covered |= QRect(StatusLineAt(w, h), QSize(size.width, size.height)).adjusted(-2, -2, 4, 4);
    }
    return covered;
}

// Puts the buffer back to its base where it was drawn over, or makes it from the base.
void RestoreBase(QImage& buffer, QRect& dirty, qint64& base, const ScopeImages& images,
                 bool black) {
    const QSize size = black ? QSize(ScopeImageSide(images.width), ScopeImageSide(images.height))
                             : images.background.size();
    const qint64 wanted = black ? -1 : images.background.cacheKey();
    if (buffer.size() != size || base != wanted) {
        buffer = black ? QImage(size, QImage::Format_RGB32) : images.background.copy();
        if (black)
            buffer.fill(Qt::black);
        base = wanted;
        dirty = QRect();
        return;
    }
    const QRect area = dirty.intersected(buffer.rect());
    dirty = QRect();
    if (area.isEmpty())
        return;
    QPainter painter(&buffer);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (black)
        painter.fillRect(area, Qt::black);
    else
        painter.drawImage(area.topLeft(), images.background, area);
}

}  // namespace

bool ComposeTraceLayer(ScopeImages& images, const TraceLayerInput& in) {
    const int w = images.width;
    const int h = images.height;
    const bool flash = images.captureFlash > 0;
    if (flash)
        --images.captureFlash;
    TracePicture picture = PictureOf(images, in, flash);
    if (images.composed && picture == images.lastPicture)
        return false;

    const auto last = static_cast<size_t>(images.traceBuffer);
    const auto next = static_cast<size_t>(1 - images.traceBuffer);
    QImage& buffer = images.traceBuffers[next];
    QRect& dirty = images.traceDirty[next];
    RestoreBase(buffer, dirty, images.traceBase[next], images, picture.black);
    const bool sameBase = images.composed && images.traceBase[last] == images.traceBase[next] &&
                          images.traceBuffers[last].size() == buffer.size();
    for (const DrawnTrace& trace : picture.traces)
        DrawTracePixels(buffer, trace.colour, trace.pixels);
    if (picture.statusShown) {
        QPainter painter(&buffer);
        const QPoint at = StatusLineAt(w, h);
        DrawScopeText(painter, at.x(), at.y(), ToQString(picture.statusLine), kColourWhite);
    }
    dirty = CoveredBy(picture, w, h);
    images.traceChanged = sameBase ? (dirty | images.traceDirty[last]) : buffer.rect();
    images.traceBuffer = static_cast<int>(next);
    images.traceLayer = buffer;

    images.centreMiniScope = images.centreThumbnail;
    for (const DrawnTrace& trace : picture.centreTraces)
        DrawTracePixels(images.centreMiniScope, trace.colour, trace.pixels);
    images.lastPicture = std::move(picture);
    images.composed = true;
    return true;
}

std::string LiveStatusLine(int signatureState, int stableCount, float differencePercent,
                           const std::string& thresholdText) {
    const char* state = signatureState == 0 ? "O/C" : signatureState == 1 ? "Stable" : "Unstable";
    char difference[64];
    std::snprintf(difference, sizeof difference, "%.2f", static_cast<double>(differencePercent));
    return std::string(state) + ", Count: " + std::to_string(stableCount) +
           ", Prev: " + difference + "%, Threshold: " + thresholdText;
}

}  // namespace orv
