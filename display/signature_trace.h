#pragma once
// One signature as a closed polyline on a scope image: volts across, amperes down,
// scaled so that the ranges reach the frame, points beyond it held on its edge.

#include <QImage>
#include <QPoint>
#include <vector>

#include "core/colours.h"
#include "display/scope_geometry.h"
#include "display/signature_view.h"

namespace orv {

// The pixel of each point 1..count, rounded halves away from zero and clamped into
// the frame; empty when either range is 0.
std::vector<QPoint> TracePixels(const ScopeGeometry& g, float xRange, float yRange,
                                const SignatureView& signature);

// Draws pixels from TracePixels as a closed polyline.
void DrawTracePixels(QImage& target, ColourNumber colour, const std::vector<QPoint>& pixels);

// Draws onto `target`, whose frame is worked out from width, height and margin.
void DrawSignatureTrace(QImage& target, int width, int height, int margin, ColourNumber colour,
                        float xRange, float yRange, const SignatureView& signature);

}  // namespace orv
