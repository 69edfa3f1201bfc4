#pragma once
// Which area of the main window a click falls on.

#include <array>

#include "display/grid_layout.h"

namespace orv {

inline constexpr int kHitNone = 0;
inline constexpr int kHitMainScope = 1;
inline constexpr int kHitFirstMiniScope = 2;  // mini-scope k is 1 + k
inline constexpr int kHitConnectionIndicator = 11;
inline constexpr int kHitPcbView = 12;

struct HitAreas {
    Rect mainScope;
    bool mainScopeVisible = false;
    std::array<Rect, 9> miniScopes;
    std::array<bool, 9> miniScopesVisible{};
    Rect connectionIndicator;  // always live
    Rect pcbView;
    bool pcbViewVisible = false;
};

HitAreas MakeHitAreas(const ViewLayout& layout, const AreaVisibility& visible,
                      const Rect& connectionIndicator);

// In window coordinates; the first hit wins in the order main scope, mini-scopes 1 to
// 9, connection indicator, PCB view. Hidden areas are never hit.
int HitTestArea(const HitAreas& areas, int x, int y);

}  // namespace orv
