#pragma once
// Inside the ui folder only: the Qt objects behind window and control numbers.

#include <QAction>
#include <QFont>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QScrollArea>
#include <QTimer>
#include <QTreeWidgetItem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/gui.h"

namespace orv::ui {

// The free area of a window: clicks on it that no control takes arrive here.
class ClientArea final : public QWidget {
public:
    ClientArea(Gui& gui, int window);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    Gui& gui_;
    int window_;
};

// The client area sits in a scroll area: a window the desktop cannot show whole (a
// small or highly scaled screen) scrolls instead of hiding controls beyond its edge.
class Window final : public QMainWindow {
public:
    Window(Gui& gui, int window);
    ClientArea* area() const { return area_; }
    QScrollArea* scroller() const { return scroller_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    Gui& gui_;
    int window_;
    ClientArea* area_;
    QScrollArea* scroller_;
};

struct TreeItem {
    TreeEntry entry;
    QTreeWidgetItem* item = nullptr;  // owned by the tree widget
    qint64 iconKey = 0;               // QImage::cacheKey of the icon shown, 0 for none
};

struct Control {
    ControlKind kind = ControlKind::Label;
    int window = 0;
    QWidget* widget = nullptr;   // owned by its window through Qt's parent chain
    QImage image;                // image areas and image buttons
    std::vector<TreeItem> tree;  // trees: entries in display order
};

struct MenuHolder {
    int window = 0;
    QMenu* menu = nullptr;  // owned by its window's menu bar
};

struct MenuItem {
    int window = 0;
    QAction* action = nullptr;  // owned by its menu
};

struct QtWindows {
    std::map<int, std::unique_ptr<Window>> byNumber;
    std::map<int, Control> controls;
    std::map<int, MenuHolder> menus;
    std::map<int, MenuItem> menuItems;
    std::vector<QFont> fonts;
    std::map<qint64, QIcon> icons;  // tree icons by QImage::cacheKey, made once
    // Keeps the event wait short: WaitForMoreEvents returns at the latest on its tick.
    QTimer tick;
};

Window* FindWindow(const Gui& gui, int window);
// Records a call on a missing or mismatched number; ends the program when strict.
void ReportMisuse(const Gui& gui, const std::string& what);

}  // namespace orv::ui
