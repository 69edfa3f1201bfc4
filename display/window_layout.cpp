#include "display/window_layout.h"

#include <QImage>
#include <algorithm>

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
    return layout;
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
