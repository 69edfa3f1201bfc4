#pragma once
// The main scope in two layers and the live overlay on the centre mini-scope. The
// background (labels, badge, legend) is rebuilt on a display refresh; the trace layer,
// a copy of it with the signatures on top, on every trace refresh.

#include <QImage>
#include <string>

#include "display/result_badge.h"
#include "display/scope_labels.h"
#include "display/scope_style.h"
#include "display/signature_view.h"

namespace orv {

// Trace redraws on black after a capture, so the operator sees it was taken.
inline constexpr int kCaptureFlashRedraws = 3;
inline constexpr int kLegendLineHeight = 18;

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
// the live scale (Advanced) and the live signature while connected.
void ComposeTraceLayer(ScopeImages& images, const TraceLayerInput& in);

// "Stable, Count: 12, Prev: 0.43%, Threshold: 1.50%". State 0 open circuit, 1 stable,
// 2 unstable.
std::string LiveStatusLine(int signatureState, int stableCount, float differencePercent,
                           const std::string& thresholdText);

}  // namespace orv
