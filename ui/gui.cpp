#include "ui/gui.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QMainWindow>
#include <QMouseEvent>
#include <QTimer>
#include <map>
#include <vector>

namespace orv::ui {

namespace {

// The free area of a window: clicks on it that no control takes arrive here.
class ClientArea final : public QWidget {
public:
    ClientArea(Gui& gui, int window) : gui_(gui), window_(window) { setAutoFillBackground(true); }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        const EventKind kind =
            event->button() == Qt::RightButton ? EventKind::RightClick : EventKind::LeftClick;
        const QPoint at = event->position().toPoint();
        gui_.pending.push_back({kind, 0, window_, at.x(), at.y()});
    }

private:
    Gui& gui_;
    int window_;
};

class Window final : public QMainWindow {
public:
    Window(Gui& gui, int window) : gui_(gui), window_(window), area_(new ClientArea(gui, window)) {
        setCentralWidget(area_);
    }
    ClientArea* area() const { return area_; }

protected:
    // The window's own loop decides whether a close request ends anything.
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        gui_.pending.push_back({EventKind::CloseRequest, 0, window_});
    }
    void resizeEvent(QResizeEvent* event) override {
        QMainWindow::resizeEvent(event);
        gui_.pending.push_back({EventKind::MovedOrResized, 0, window_});
    }
    void moveEvent(QMoveEvent* event) override {
        QMainWindow::moveEvent(event);
        gui_.pending.push_back({EventKind::MovedOrResized, 0, window_});
    }

private:
    Gui& gui_;
    int window_;
    ClientArea* area_;
};

}  // namespace

struct QtWindows {
    std::map<int, std::unique_ptr<Window>> byNumber;
    std::vector<QFont> fonts;
    // Keeps the event wait short: WaitForMoreEvents returns at the latest on its tick.
    QTimer tick;
};

Gui::Gui() : windows(std::make_unique<QtWindows>()) {
    windows->tick.setTimerType(Qt::PreciseTimer);
    windows->tick.setInterval(1);
}

Gui::~Gui() = default;

namespace {

Window* Find(const Gui& gui, int window) {
    const auto it = gui.windows->byNumber.find(window);
    return it == gui.windows->byNumber.end() ? nullptr : it->second.get();
}

}  // namespace

bool OpenWindow(Gui& gui, int window, const std::string& title, int x, int y, int width,
                int height) {
    if (QApplication::instance() == nullptr || Find(gui, window) != nullptr)
        return false;
    auto widget = std::make_unique<Window>(gui, window);
    widget->setWindowTitle(QString::fromStdString(title));
    widget->setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint |
                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    widget->move(x, y);
    widget->resize(width, height);
    widget->show();
    gui.windows->byNumber[window] = std::move(widget);
    return true;
}

void CloseWindow(Gui& gui, int window) {
    gui.windows->byNumber.erase(window);
}

bool IsWindowOpen(const Gui& gui, int window) {
    return Find(gui, window) != nullptr;
}

void SetWindowTitle(Gui& gui, int window, const std::string& title) {
    if (Window* w = Find(gui, window))
        w->setWindowTitle(QString::fromStdString(title));
}

std::string WindowTitle(const Gui& gui, int window) {
    const Window* w = Find(gui, window);
    return w != nullptr ? w->windowTitle().toStdString() : std::string();
}

void ResizeWindow(Gui& gui, int window, int width, int height) {
    Window* w = Find(gui, window);
    if (w == nullptr)
        return;
    // The inner size excludes the menu bar.
    const int menuHeight = w->menuWidget() != nullptr ? w->menuWidget()->sizeHint().height() : 0;
    w->resize(width, height + menuHeight);
}

Size InnerSize(const Gui& gui, int window) {
    const Window* w = Find(gui, window);
    if (w == nullptr)
        return {};
    return {w->area()->width(), w->area()->height()};
}

void SetWindowBackground(Gui& gui, int window, std::int64_t colour) {
    Window* w = Find(gui, window);
    if (w == nullptr)
        return;
    QPalette palette = w->area()->palette();
    palette.setColor(QPalette::Window,
                     QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                            static_cast<int>((colour >> 16) & 0xFF)));
    w->area()->setPalette(palette);
}

void PrepareStartupFonts(Gui& gui) {
    gui.windows->fonts = {QFont("Arial", 26), QFont("Arial", 22, QFont::Bold), QFont("Arial", 20)};
    if (QApplication::instance() != nullptr) {
        QApplication::setFont(QApplication::font("QWidget"));
    }
}

Event WaitEvent(Gui& gui, int maxMs) {
    if (gui.pending.empty() && QApplication::instance() != nullptr) {
        if (maxMs <= 0) {
            QApplication::processEvents(QEventLoop::AllEvents);
        } else {
            // Handles what is there, or sleeps until the next event; the tick bounds the wait.
            if (gui.windows->tick.interval() != maxMs)
                gui.windows->tick.setInterval(maxMs);
            if (!gui.windows->tick.isActive())
                gui.windows->tick.start();
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    if (gui.pending.empty())
        return {};
    const Event event = gui.pending.front();
    gui.pending.pop_front();
    return event;
}

int ActiveWindow(const Gui& gui) {
    const QWidget* active = QApplication::activeWindow();
    for (const auto& [number, window] : gui.windows->byNumber) {
        if (window.get() == active)
            return number;
    }
    return 0;
}

}  // namespace orv::ui
