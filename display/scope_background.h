#pragma once
// The main scope's background layer: fill, dotted graticule, crosshair, frame, the
// twelve labels and their ticks. Rebuilt only when settings, record or view change.

#include <QImage>
#include <string_view>

#include "display/scope_labels.h"
#include "display/scope_style.h"

namespace orv {

// Character i is '1' when slot i gets a tick.
inline constexpr std::string_view kLabelTickMask = "111111111001";
inline constexpr int kLabelOffset = 5;
inline constexpr int kClassicMarkerHalfLength = 16;
inline constexpr int kGraticuleDashPeriod = 5;  // 1-pixel dash, 4-pixel gap

// An image of width x height (each at least 10) with the frame worked out from the
// true size and the margin.
QImage DrawScopeBackground(int width, int height, int margin, const ScopeStyle& style,
                           const ScopeLabels& labels);

}  // namespace orv
