#pragma once
// What the main window's displays keep between passes: where the areas are, the
// composed scope layers, the board view with its decoded photograph, the badges.

#include <QImage>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/files.h"
#include "display/grid_layout.h"
#include "display/pcb_view.h"
#include "display/photo_cache.h"
#include "display/record_trees.h"
#include "display/result_badge.h"
#include "display/scope_composition.h"
#include "display/thumbnail.h"
#include "display/window_place.h"
#include "engine/signature_buffer.h"

namespace orv {

// The plan's pins as the board view uses them, made again only when the plan changed
// (its revision moved on, or its row count changed, as rows inserted or erased
// directly do), not for every rendering or click.
struct BoardPinCache {
    bool made = false;
    std::uint64_t planRevision = 0;
    int planRows = 0;
    std::vector<PcbPin> drawn;      // PinsToDraw
    std::vector<PcbPin> clickable;  // PinsToClick
};

struct DisplayState {
    ViewLayout layout;
    WindowSizing sizing;
    WindowPlace windowPlace;  // as last saved, or as the start-up left it
    bool traceRefreshRequested = false;
    ScopeImages scope;
    PcbViewState pcb;
    PhotoCache photo;
    BoardPinCache boardPins;
    RecordTreeCache recordTrees;
    ResultBadges scopeBadges;
    ResultBadges thumbnailBadges;
    TreeIcons treeIcons;
    // The stored signatures each mini-scope shows, loaded from the plan.
    std::array<SignatureBuffer, kMiniScopeCount> miniGolden;
    std::array<SignatureBuffer, kMiniScopeCount> miniDut;
    // The current record's stored signatures, for the main scope, loaded on a record
    // change.
    SignatureBuffer recordGolden;
    SignatureBuffer recordDut;
    int recordGoldenCount = 0;
    int recordDutCount = 0;
    bool recordShowsDut = false;  // its result is Good or Bad
};

}  // namespace orv
