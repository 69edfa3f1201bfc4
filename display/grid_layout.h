#pragma once
// Where every area of the main window sits: a grid of square cells right of the
// control ribbon, 5 columns wide in the Basic modes and 10 in Advanced. Pure
// arithmetic on the window's inner size (below the menu bar); applying the
// rectangles to controls is the window code's job.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// Both edges count as inside: x .. x + width and y .. y + height.
constexpr bool Contains(const Rect& r, int px, int py) {
    return px >= r.x && px <= r.x + r.width && py >= r.y && py <= r.y + r.height;
}

inline constexpr int kRibbonLeft = 2;
inline constexpr int kRibbonTop = 2;
inline constexpr int kRibbonWidth = 144;
inline constexpr int kGridOriginX = 148;
inline constexpr int kGridOriginY = 2;
inline constexpr int kGridGap = 2;
inline constexpr int kTreeHeaderHeight = 23;
inline constexpr int kGridMinSide = 102;
inline constexpr int kGridMaxCoordinate = 5000;

// The ten display views, in menu order.
inline constexpr std::array<std::string_view, 10> kDisplayViews = {
    "9miniscopes",
    "6miniscopes+TestTree",
    "3miniscopes+TestTree",
    "3miniscopes+PCB",
    "3miniscopes+PCB+TestTree",
    "2miniscopes+PCB+TestTree",
    "PCB",
    "3miniscopes+TestTree+BadTree",
    "2miniscopes+PCB+TestTree+BadTree",
    "miniscope+PCB+TestTree+BadTree",
};
inline constexpr std::string_view kDefaultDisplayView = "2miniscopes+PCB+TestTree+BadTree";

bool IsBasicMode(std::string_view mode);  // "Basic" or "Basic-Auto"
int GridColumns(std::string_view mode);
// The cell side in pixels, at least 1.
float GridUnit(std::string_view mode, int clientWidth);

// (column, row, column span, row span) in cells to pixels: the single-precision unit
// times the cells, each rounded halves away from zero; position clamped to 0..5000,
// size to 102..5000.
Rect GridRect(float unit, float column, float row, float columnSpan, float rowSpan);

struct TreePanelLayout {
    Rect panel;   // in the window
    Rect header;  // inside the panel
    Rect tree;    // inside the panel, below the header
};

struct ViewLayout {
    float unit = 1;
    Rect ribbon;
    Rect mainScope;  // its size is the main scope image size
    std::array<Rect, 9> miniScopes;
    Rect filler;  // the black area below the grid
    Rect pcbView;
    std::optional<TreePanelLayout> testTree;  // none in views without that tree
    std::optional<TreePanelLayout> badTree;
};

// A view name that is none of the ten is laid out and shown as the default view.
ViewLayout ComputeViewLayout(std::string_view mode, std::string_view view, int clientWidth,
                             int clientHeight);

struct AreaVisibility {
    bool mainScope = true;
    std::array<bool, 9> miniScopes{};
    bool pcbView = false;
    bool testTree = false;
    bool badTree = false;
    bool operator==(const AreaVisibility&) const = default;
};

AreaVisibility ViewVisibility(std::string_view mode, std::string_view view);

struct WindowSize {
    int width = 0;
    int height = 0;
    bool operator==(const WindowSize&) const = default;
};

// The inner size the window takes when the mode or the view changes.
WindowSize ModeWindowSize(std::string_view mode);
inline constexpr WindowSize kStartupWindowSize{1200, 720};

// The mode and view the window was last sized for; empty before the first refresh.
struct WindowSizing {
    std::string mode;
    std::string view;
};

// The size to give the window when the mode or the view differs from the last
// sizing (remembering the new pair), none otherwise: a window the user resized keeps
// its size until one of them changes.
std::optional<WindowSize> WindowSizeOnChange(WindowSizing& last, std::string_view mode,
                                             std::string_view view);

}  // namespace orv
