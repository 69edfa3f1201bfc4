#pragma once
// The main scope in two layers and the live overlay on the centre mini-scope. The
// background (labels, badge, legend) is rebuilt on a display refresh; the trace layer,
// a copy of it with the signatures on top, on every trace refresh.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <array>
#include <string>
#include <vector>

#include "display/result_badge.h"
#include "display/scope_labels.h"
#include "display/scope_style.h"
#include "display/signature_view.h"

namespace orv {

// Trace redraws on black after a capture, so the operator sees it was taken.
inline constexpr int kCaptureFlashRedraws = 3;
inline constexpr int kLegendLineHeight = 18;

// One trace as drawn: its colour and pixels.
struct DrawnTrace {
    ColourNumber colour = 0;
    std::vector<QPoint> pixels;
    bool operator==(const DrawnTrace&) const = default;
};

// Everything a trace refresh puts on the main scope and the centre mini-scope; when it
// equals the last one, the pictures would come out the same.
struct TracePicture {
    bool black = false;                    // on black (capture flash, or no background yet)
    qint64 background = 0;                 // QImage::cacheKey of the background under the traces
    qint64 centre = 0;                     // and of the centre thumbnail under its overlay
    std::vector<DrawnTrace> traces;        // main scope, in drawing order
    std::vector<DrawnTrace> centreTraces;  // centre mini-scope
    bool statusShown = false;
    std::string statusLine;
    bool operator==(const TracePicture&) const = default;
};

struct ScopeImages {
    QImage background;  // with badge and legend
    QImage traceLayer;  // what the main scope shows
    int width = 0;      // main scope area size
    int height = 0;
    int captureFlash = 0;    // trace redraws still to start from black
    QImage centreThumbnail;  // mini-scope 5 as composed, badge included
    QImage centreMiniScope;  // the same with the live overlay
    int centreWidth = 0;     // mini-scope 5 area size
    int centreHeight = 0;
    // The trace layer is drawn into two buffers in turn, so the one drawn into is never
    // shared with the window still showing the other and needs no copy; and only the
    // part the traces covered in that buffer is put back from the background.
    std::array<QImage, 2> traceBuffers;
    std::array<QRect, 2> traceDirty;       // drawn over since the buffer was its base
    std::array<qint64, 2> traceBase = {};  // background cacheKey of its base, -1 black
    int traceBuffer = 0;                   // the buffer drawn last
    TracePicture lastPicture;
    bool composed = false;  // lastPicture is on the layer
    QRect traceChanged;     // where the layer differs from the one composed before
};

void StartCaptureFlash(ScopeImages& images);

struct ScopeBackgroundInput {
    int width = 0;  // main scope area
    int height = 0;
    ScopeLabelInput labels;
    ScopeStyle style;
    TraceColours traceColours;
    const ResultBadges* badges = nullptr;
};

// Labels, background, badge (Advanced mode, with a current record) and legend.
void ComposeScopeBackground(ScopeImages& images, const ScopeBackgroundInput& in);

struct TraceLayerInput {
    std::string mode = "Advanced";
    float xRange = 0;      // full-scale volts
    float yRange = 0;      // full-scale amperes
    SignatureView golden;  // Advanced: the current record's golden signature
    bool showDut = false;  // Advanced: the record's result is Good or Bad
    SignatureView dut;
    SignatureView frozenGolden;  // Basic
    SignatureView frozenDut;     // Basic
    bool connected = false;
    SignatureView live;
    std::string statusLine;  // written over the live trace while connected
    TraceColours colours;
};

// Trace layer and centre mini-scope. Drawing order is golden, DUT, live: the live
// trace is always on top. The centre mini-scope gets the record's golden signature at
// the live scale (Advanced) and the live signature while connected. False, with both
// pictures left as they are, when they would come out the same as last time (a lifted
// probe's frames draw the same open-circuit line): nothing needs showing again.
bool ComposeTraceLayer(ScopeImages& images, const TraceLayerInput& in);

// "Stable, Count: 12, Prev: 0.43%, Threshold: 1.50%". State 0 open circuit, 1 stable,
// 2 unstable.
std::string LiveStatusLine(int signatureState, int stableCount, float differencePercent,
                           const std::string& thresholdText);

}  // namespace orv
