#include "display/hit_test.h"

namespace orv {

HitAreas MakeHitAreas(const ViewLayout& layout, const AreaVisibility& visible,
                      const Rect& connectionIndicator) {
    HitAreas areas;
    areas.mainScope = layout.mainScope;
    areas.mainScopeVisible = visible.mainScope;
    areas.miniScopes = layout.miniScopes;
    areas.miniScopesVisible = visible.miniScopes;
    areas.connectionIndicator = connectionIndicator;
    areas.pcbView = layout.pcbView;
    areas.pcbViewVisible = visible.pcbView;
    return areas;
}

int HitTestArea(const HitAreas& areas, int x, int y) {
    if (areas.mainScopeVisible && Contains(areas.mainScope, x, y))
        return kHitMainScope;
    for (std::size_t k = 0; k < areas.miniScopes.size(); ++k) {
        if (areas.miniScopesVisible[k] && Contains(areas.miniScopes[k], x, y)) {
            return kHitFirstMiniScope + static_cast<int>(k);
        }
    }
    if (Contains(areas.connectionIndicator, x, y))
        return kHitConnectionIndicator;
    if (areas.pcbViewVisible && Contains(areas.pcbView, x, y))
        return kHitPcbView;
    return kHitNone;
}

}  // namespace orv
