#pragma once
// The plot frame of a scope image: centre, half sizes and edges from the image size
// and the frame margin (both sides together). Worked out from the true size, so an
// area smaller than the smallest image still keeps its own frame.

namespace orv {

inline constexpr int kScopeMargin = 50;
// Scope images are never made smaller than this on either side.
inline constexpr int kMinScopeImageSide = 10;

struct ScopeGeometry {
    int width = 0;
    int height = 0;
    int margin = kScopeMargin;
    int cx = 0;
    int cy = 0;
    int hw = 0;
    int hh = 0;
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

constexpr ScopeGeometry MakeScopeGeometry(int width, int height, int margin = kScopeMargin) {
    ScopeGeometry g;
    g.width = width;
    g.height = height;
    g.margin = margin;
    g.cx = width / 2;
    g.cy = height / 2;
    g.hw = (width - margin) / 2;
    g.hh = (height - margin) / 2;
    g.left = g.cx - g.hw;
    g.right = g.cx + g.hw;
    g.top = g.cy - g.hh;
    g.bottom = g.cy + g.hh;
    return g;
}

constexpr int ScopeImageSide(int side) {
    return side < kMinScopeImageSide ? kMinScopeImageSide : side;
}

}  // namespace orv
