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

void ComposeTraceLayer(ScopeImages& images, const TraceLayerInput& in) {
    const int w = images.width;
    const int h = images.height;
    const int m = kScopeMargin;
    const bool flash = images.captureFlash > 0;
    if (flash)
        --images.captureFlash;
    if (flash || images.background.isNull()) {
        images.traceLayer = QImage(ScopeImageSide(w), ScopeImageSide(h), QImage::Format_RGB32);
        images.traceLayer.fill(Qt::black);
    } else {
        images.traceLayer = images.background;  // shared until the first trace is drawn
    }

    const bool advanced = !IsBasicMode(in.mode);
    if (in.mode == "Basic") {
        DrawSignatureTrace(images.traceLayer, w, h, m, in.colours.golden, in.xRange, in.yRange,
                           in.frozenGolden);
        DrawSignatureTrace(images.traceLayer, w, h, m, in.colours.dut, in.xRange, in.yRange,
                           in.frozenDut);
    }
    if (advanced) {
        DrawSignatureTrace(images.traceLayer, w, h, m, in.colours.golden, in.xRange, in.yRange,
                           in.golden);
        if (in.showDut) {
            DrawSignatureTrace(images.traceLayer, w, h, m, in.colours.dut, in.xRange, in.yRange,
                               in.dut);
        }
    }
    if (in.connected) {
        DrawSignatureTrace(images.traceLayer, w, h, m, in.colours.live, in.xRange, in.yRange,
                           in.live);
        QPainter painter(&images.traceLayer);
        DrawScopeText(painter, w / 2 + 20, h - m / 2 - 20, ToQString(in.statusLine), kColourWhite);
    }

    images.centreMiniScope = images.centreThumbnail;
    if (images.centreMiniScope.isNull())
        return;
    const int cw = images.centreWidth;
    const int ch = images.centreHeight;
    if (advanced) {
        DrawSignatureTrace(images.centreMiniScope, cw, ch, m, in.colours.golden, in.xRange,
                           in.yRange, in.golden);
    }
    if (in.connected) {
        DrawSignatureTrace(images.centreMiniScope, cw, ch, m, in.colours.live, in.xRange, in.yRange,
                           in.live);
    }
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
