#include "display/display_areas.h"

#include <QImage>

#include "display/ribbon_tables.h"
#include "ui/controls.h"

namespace orv {

namespace {

using ui::ControlKind;

constexpr ui::Rect kImageAreaStart = {100, 100, 100, 100};
constexpr ui::Rect kTreePanelStart = {2, 2, 144, 100};
constexpr int kTreeTop = 26;  // the layout later puts the tree right under the header

void CreateImageArea(ui::Gui& gui, int number, const QImage& blank) {
    ui::CreateControl(gui, ui::kMainWindow, number, ControlKind::ImageArea, kImageAreaStart);
    ui::SetControlImage(gui, number, blank);
}

void CreateTreePanel(ui::Gui& gui, const Settings& settings, int panel, int header, int tree,
                     const std::string& title) {
    if (!ui::CreateControl(gui, ui::kMainWindow, panel, ControlKind::Panel, kTreePanelStart))
        return;
    ui::SetControlColours(gui, panel, settings.ColourPanelText, settings.ColourPanel);
    const int width = kTreePanelStart.width;
    ui::CreateControl(gui, ui::kMainWindow, header, ControlKind::Label,
                      {0, 0, width, kHeaderHeight}, title, panel);
    ui::SetControlColours(gui, header, settings.ColourHeaderText, settings.ColourHeader);
    ui::SetControlFont(gui, header, kHeaderFont);
    ui::SetControlAlignment(gui, header, ui::TextAlign::Centre);
    ui::CreateControl(gui, ui::kMainWindow, tree, ControlKind::Tree,
                      {0, kTreeTop, width, kTreePanelStart.height - kTreeTop}, {}, panel);
    ui::SetControlColours(gui, tree, kColourWhite, kColourBlack);
}

}  // namespace

void CreateDisplayAreas(ui::Gui& gui, const Settings& settings) {
    QImage blank(kImageAreaStart.width, kImageAreaStart.height, QImage::Format_RGB32);
    blank.fill(Qt::black);
    CreateImageArea(gui, kControlMainScope, blank);
    for (const int miniScope : kControlMiniScopes)
        CreateImageArea(gui, miniScope, blank);
    CreateImageArea(gui, kControlBottomFiller, blank);
    CreateImageArea(gui, kControlPcbView, blank);
    CreateTreePanel(gui, settings, kControlBadTreePanel, kControlBadTreeHeader, kControlBadTree,
                    "Bad TestTree");
    CreateTreePanel(gui, settings, kControlTestTreePanel, kControlTestTreeHeader, kControlTestTree,
                    "TestTree");
}

}  // namespace orv
