#include "display/window_layout.h"

#include <QImage>
#include <algorithm>
#include <vector>

#include "display/ribbon_tables.h"
#include "ui/controls.h"

namespace orv {

namespace {

ui::Rect ToUi(const Rect& r) {
    return {r.x, r.y, r.width, r.height};
}

QImage BlackImage(int width, int height) {
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

void PlaceTreePanel(ui::Gui& gui, const std::optional<TreePanelLayout>& layout, int panel,
                    int header, int tree) {
    if (!layout)
        return;
    ui::SetControlRect(gui, panel, ToUi(layout->panel));
    ui::SetControlRect(gui, header, ToUi(layout->header));
    ui::SetControlRect(gui, tree, ToUi(layout->tree));
}

}  // namespace

ViewLayout ApplyViewLayout(ui::Gui& gui, std::string_view mode, std::string_view view) {
    const ui::Size client = ui::InnerSize(gui, ui::kMainWindow);
    const ViewLayout layout = ComputeViewLayout(mode, view, client.width, client.height);

    // Shrinking first keeps the panel from being drawn once at a stale size.
    ui::SetControlRect(gui, kControlRibbonPanel, {layout.ribbon.x, layout.ribbon.y, 1, 1});
    ui::SetControlRect(gui, kControlRibbonPanel, ToUi(layout.ribbon));

    // A tiny black image in every area first, so that no stale picture is stretched.
    const QImage dot = BlackImage(1, 1);
    ui::SetControlImage(gui, kControlMainScope, dot);
    for (const int mini : kControlMiniScopes)
        ui::SetControlImage(gui, mini, dot);
    ui::SetControlImage(gui, kControlPcbView, dot);

    const bool scopeShown = ui::IsControlVisible(gui, kControlMainScope);
    ui::SetControlVisible(gui, kControlMainScope, false);
    ui::SetControlRect(gui, kControlMainScope, ToUi(layout.mainScope));
    ui::SetControlVisible(gui, kControlMainScope, scopeShown);
    for (size_t i = 0; i < kControlMiniScopes.size(); ++i) {
        ui::SetControlRect(gui, kControlMiniScopes[i], ToUi(layout.miniScopes[i]));
    }
    ui::SetControlRect(gui, kControlBottomFiller, ToUi(layout.filler));
    ui::SetControlImage(gui, kControlBottomFiller,
                        BlackImage(layout.filler.width, layout.filler.height));
    ui::SetControlRect(gui, kControlPcbView, ToUi(layout.pcbView));
    PlaceTreePanel(gui, layout.testTree, kControlTestTreePanel, kControlTestTreeHeader,
                   kControlTestTree);
    PlaceTreePanel(gui, layout.badTree, kControlBadTreePanel, kControlBadTreeHeader,
                   kControlBadTree);
    // The grid follows the width; what the height cannot hold (the ribbon's lowest
    // controls, the grid's bottom row on a short window) is scrolled to, never cut off.
    const int ribbonBottom = layout.ribbon.y + ui::ChildrenBottom(gui, kControlRibbonPanel);
    const int gridBottom = layout.mainScope.y + layout.mainScope.height;
    ui::SetMinimumInnerHeight(gui, ui::kMainWindow, std::max(ribbonBottom, gridBottom));
    return layout;
}

WindowPlace MainWindowPlace(const ui::Gui& gui) {
    const ui::Rect r = ui::WindowPlace(gui, ui::kMainWindow);
    return {r.x, r.y, r.width, r.height};
}

void PlaceMainWindow(ui::Gui& gui, const WindowPlace& place) {
    const ui::FrameMargins m = ui::WindowFrameMargins(gui, ui::kMainWindow);
    std::vector<Rect> screens;
    for (const ui::Rect& r : ui::ScreenAreas(gui))
        screens.push_back({r.x, r.y, r.width, r.height});
    const WindowPlace fitted = FitWindowPlace(place, {m.left, m.top, m.right, m.bottom}, screens);
    if (fitted != MainWindowPlace(gui))
        ui::PlaceWindow(gui, ui::kMainWindow, {fitted.x, fitted.y, fitted.width, fitted.height});
}

void FitMainWindowOnScreen(ui::Gui& gui) {
    PlaceMainWindow(gui, MainWindowPlace(gui));
}

void ShowViewAreas(ui::Gui& gui, std::string_view mode, std::string_view view) {
    const AreaVisibility shown = ViewVisibility(mode, view);
    ui::SetControlVisible(gui, kControlMainScope, shown.mainScope);
    for (size_t i = 0; i < kControlMiniScopes.size(); ++i) {
        ui::SetControlVisible(gui, kControlMiniScopes[i], shown.miniScopes[i]);
    }
    ui::SetControlVisible(gui, kControlPcbView, shown.pcbView);
    ui::SetControlVisible(gui, kControlTestTreePanel, shown.testTree);
    ui::SetControlVisible(gui, kControlBadTreePanel, shown.badTree);
}

}  // namespace orv
