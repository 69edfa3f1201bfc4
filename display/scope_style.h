#pragma once
// The display settings the scope renderers read, as plain values.

#include <cstdint>
#include <string>

#include "core/app_state.h"
#include "core/colours.h"

namespace orv {

struct ScopeStyle {
    ColourNumber background = kColourBlack;
    ColourNumber outline = kColourDarkGreen;
    ColourNumber graticule = kColourDarkGreen;
    ColourNumber text = kColourWhite;
    ColourNumber crosshair = kColourDarkGreen;
    std::string graticuleMode = "On";  // "On" draws it, anything else does not
    std::string crosshairMode = "On";  // "On", "Classic", anything else none
    std::int64_t horizontalDivisions = 5;
    std::int64_t verticalDivisions = 5;
};

struct TraceColours {
    ColourNumber live = kColourRed;
    ColourNumber golden = kColourOrange;
    ColourNumber dut = kColourBlue;
};

struct ThumbnailStyle {
    ColourNumber background = kColourBlack;
    ColourNumber crosshair = kColourDarkGreen;
    ColourNumber text = kColourWhite;
    ColourNumber golden = kColourOrange;
    ColourNumber dut = kColourBlue;
    std::string crosshairMode = "Off";  // "On" draws it
};

inline ScopeStyle ScopeStyleFrom(const Settings& s) {
    return ScopeStyle{
        s.ColourScope1Background, s.ColourScope1Outline,       s.ColourScope1Graticule,
        s.ColourScope1Text,       s.ColourScopeXCrosshair,     s.Scope1GraticuleMode,
        s.Scope1CrosshairMode,    s.Scope1HorizontalDivisions, s.Scope1VerticalDivisions};
}

inline TraceColours TraceColoursFrom(const Settings& s) {
    return TraceColours{s.ColourScopeXTraceLiveSig, s.ColourScopeXTraceGoldenSig,
                        s.ColourScopeXTraceDUTSig};
}

inline ThumbnailStyle ThumbnailStyleFrom(const Settings& s) {
    return ThumbnailStyle{s.ColourScope1Background,  s.ColourScopeXCrosshair,
                          s.ColourScope1Text,        s.ColourScopeXTraceGoldenSig,
                          s.ColourScopeXTraceDUTSig, s.ScopeXCrosshairMode};
}

}  // namespace orv
