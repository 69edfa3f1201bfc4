#include "display/grid_layout.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

// The grid fractions are these literal values, not exact thirds.
constexpr float kF1 = 1.666f;
constexpr float kF3 = 3.333f;
constexpr float kF6 = 6.666f;
constexpr float kF8 = 8.333f;

struct Cell {
    float column = 0;
    float row = 0;
};

struct Span {
    float column = 0;
    float row = 0;
    float columnSpan = 0;
    float rowSpan = 0;
};

// Mini-scope k (index k - 1) sits in a 3 x 3 block filled row by row.
constexpr std::array<Cell, 9> kDefaultMiniScopeCells = {{
    {5, 0},
    {kF6, 0},
    {kF8, 0},
    {5, kF1},
    {kF6, kF1},
    {kF8, kF1},
    {5, kF3},
    {kF6, kF3},
    {kF8, kF3},
}};
constexpr Span kDefaultPcbSpan{5, 0, 5, 5};

struct ViewPlaces {
    std::string_view name;
    std::array<std::optional<Cell>, 9> miniScopes;  // overrides of the default cells
    std::optional<Span> pcb;                        // override of the default span
    std::optional<Span> testTree;
    std::optional<Span> badTree;
    // main, mini-scopes 1 to 9, PCB, test tree, bad tree
    std::array<bool, 13> shown;
};

constexpr std::optional<Cell> kSame = std::nullopt;

const std::array<ViewPlaces, 10>& ViewTable() {
    static const std::array<ViewPlaces, 10> table = {{
        {"9miniscopes",
         {},
         std::nullopt,
         std::nullopt,
         std::nullopt,
         {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0}},
        {"6miniscopes+TestTree",
         {kSame, Cell{5, 0}, Cell{kF6, 0}, Cell{5, kF1}, Cell{kF6, kF1}, Cell{5, kF3},
          Cell{kF6, kF3}, kSame, kSame},
         std::nullopt,
         Span{kF8, 0, kF1, 5},
         std::nullopt,
         {1, 0, 1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 0}},
        {"3miniscopes+TestTree",
         {kSame, kSame, kSame, Cell{5, 0}, Cell{5, kF1}, Cell{5, kF3}, kSame, kSame, kSame},
         std::nullopt,
         Span{kF6, 0, kF3, 5},
         std::nullopt,
         {1, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 1, 0}},
        {"3miniscopes+PCB",
         {kSame, kSame, kSame, Cell{5, 0}, Cell{kF6, 0}, Cell{kF8, 0}, kSame, kSame, kSame},
         Span{5, kF1, 5, kF3},
         std::nullopt,
         std::nullopt,
         {1, 0, 0, 0, 1, 1, 1, 0, 0, 0, 1, 0, 0}},
        {"3miniscopes+PCB+TestTree",
         {kSame, kSame, kSame, Cell{5, 0}, Cell{kF6, 0}, Cell{kF8, 0}, kSame, kSame, kSame},
         Span{5, kF1, kF3, kF3},
         Span{kF8, kF1, kF1, kF3},
         std::nullopt,
         {1, 0, 0, 0, 1, 1, 1, 0, 0, 0, 1, 1, 0}},
        {"2miniscopes+PCB+TestTree",
         {kSame, kSame, kSame, Cell{5, 0}, kSame, Cell{kF6, 0}, kSame, kSame, kSame},
         Span{5, kF1, kF3, kF3},
         Span{kF8, 0, kF1, 5},
         std::nullopt,
         {1, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0}},
        {"PCB",
         {},
         Span{5, 0, 5, 5},
         std::nullopt,
         std::nullopt,
         {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}},
        {"3miniscopes+TestTree+BadTree",
         {kSame, kSame, kSame, Cell{5, 0}, Cell{5, kF1}, Cell{5, kF3}, kSame, kSame, kSame},
         std::nullopt,
         Span{kF6, 0, kF1, 5},
         Span{kF8, 0, kF1, 5},
         {1, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 1, 1}},
        {"2miniscopes+PCB+TestTree+BadTree",
         {kSame, kSame, kSame, Cell{5, 0}, kSame, Cell{kF6, 0}, kSame, kSame, kSame},
         Span{5, kF1, kF3, kF3},
         Span{kF8, kF1, kF1, kF3},
         Span{kF8, 0, kF1, kF1},
         {1, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1, 1, 1}},
        {"miniscope+PCB+TestTree+BadTree",
         {kSame, kSame, kSame, Cell{5, 0}, kSame, kSame, kSame, kSame, kSame},
         Span{5, kF1, kF3, kF3},
         Span{kF8, 0, kF1, 5},
         Span{kF6, 0, kF1, kF1},
         {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1, 1}},
    }};
    return table;
}

const ViewPlaces& PlacesOf(std::string_view view) {
    for (const ViewPlaces& places : ViewTable()) {
        if (places.name == view)
            return places;
    }
    for (const ViewPlaces& places : ViewTable()) {
        if (places.name == kDefaultDisplayView)
            return places;
    }
    return ViewTable().front();
}

// Cell positions are far inside the range of a 64-bit integer once clamped.
std::int64_t RoundAway(double value) {
    return static_cast<std::int64_t>(std::round(std::clamp(value, -1.0e9, 1.0e9)));
}

int ClampInt(std::int64_t value, int low, int high) {
    return static_cast<int>(std::clamp<std::int64_t>(value, low, high));
}

Rect SpanRect(float unit, const Span& s) {
    return GridRect(unit, s.column, s.row, s.columnSpan, s.rowSpan);
}

std::optional<TreePanelLayout> TreePanel(float unit, const std::optional<Span>& span) {
    if (!span)
        return std::nullopt;
    TreePanelLayout tree;
    tree.panel = SpanRect(unit, *span);
    tree.header = Rect{0, 0, tree.panel.width, kTreeHeaderHeight};
    tree.tree = Rect{0, kTreeHeaderHeight, tree.panel.width,
                     std::max(1, tree.panel.height - kTreeHeaderHeight)};
    return tree;
}

}  // namespace

bool IsBasicMode(std::string_view mode) {
    return mode == "Basic" || mode == "Basic-Auto";
}

int GridColumns(std::string_view mode) {
    return IsBasicMode(mode) ? 5 : 10;
}

float GridUnit(std::string_view mode, int clientWidth) {
    const float available = static_cast<float>(clientWidth - kRibbonLeft - kRibbonWidth - kGridGap);
    const float unit = available / static_cast<float>(GridColumns(mode));
    return unit < 1.0f ? 1.0f : unit;
}

Rect GridRect(float unit, float column, float row, float columnSpan, float rowSpan) {
    // The unit is held in single precision (139.7 is 139.6999969...), the products are
    // formed in double: 5 x 139.6999969 + 148 = 846.49998 gives 846. Rounding the
    // product to single precision first would give 698.5 and so 847.
    const double u = unit;
    const double x = static_cast<double>(column) * u + kGridOriginX;
    const double y = static_cast<double>(row) * u + kGridOriginY;
    const double width = static_cast<double>(columnSpan) * u - kGridGap;
    const double height = static_cast<double>(rowSpan) * u - kGridGap;
    return Rect{ClampInt(RoundAway(x), 0, kGridMaxCoordinate),
                ClampInt(RoundAway(y), 0, kGridMaxCoordinate),
                ClampInt(RoundAway(width), kGridMinSide, kGridMaxCoordinate),
                ClampInt(RoundAway(height), kGridMinSide, kGridMaxCoordinate)};
}

ViewLayout ComputeViewLayout(std::string_view mode, std::string_view view, int clientWidth,
                             int clientHeight) {
    const ViewPlaces& places = PlacesOf(view);
    ViewLayout layout;
    layout.unit = GridUnit(mode, clientWidth);
    const float u = layout.unit;

    layout.ribbon =
        Rect{kRibbonLeft, kRibbonTop, kRibbonWidth, std::max(1, clientHeight - kRibbonTop - 2)};
    layout.mainScope = GridRect(u, 0, 0, 5, 5);
    for (std::size_t k = 0; k < layout.miniScopes.size(); ++k) {
        const Cell cell = places.miniScopes[k].value_or(kDefaultMiniScopeCells[k]);
        layout.miniScopes[k] = GridRect(u, cell.column, cell.row, kF1, kF1);
    }

    const Rect fillerCorner = GridRect(u, 0, 5, 1, 1);
    layout.filler.x = std::max(1, fillerCorner.x);
    layout.filler.y = std::max(1, fillerCorner.y);
    layout.filler.width = std::max(1, clientWidth - 2 - fillerCorner.x);
    layout.filler.height = std::max(1, clientHeight - fillerCorner.y - 2);

    layout.pcbView = SpanRect(u, places.pcb.value_or(kDefaultPcbSpan));
    layout.testTree = TreePanel(u, places.testTree);
    layout.badTree = TreePanel(u, places.badTree);
    return layout;
}

AreaVisibility ViewVisibility(std::string_view mode, std::string_view view) {
    AreaVisibility visible;
    visible.mainScope = true;
    if (IsBasicMode(mode))
        return visible;
    const std::array<bool, 13>& shown = PlacesOf(view).shown;
    visible.mainScope = shown[0];
    for (std::size_t k = 0; k < visible.miniScopes.size(); ++k) {
        visible.miniScopes[k] = shown[k + 1];
    }
    visible.pcbView = shown[10];
    visible.testTree = shown[11];
    visible.badTree = shown[12];
    return visible;
}

WindowSize ModeWindowSize(std::string_view mode) {
    return IsBasicMode(mode) ? WindowSize{534, 408} : WindowSize{1545, 725};
}

std::optional<WindowSize> WindowSizeOnChange(WindowSizing& last, std::string_view mode,
                                             std::string_view view) {
    if (last.mode == mode && last.view == view)
        return std::nullopt;
    last.mode = mode;
    last.view = view;
    return ModeWindowSize(mode);
}

}  // namespace orv
