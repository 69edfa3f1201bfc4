#include "ui/gui.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QScreen>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string_view>
#include <thread>

#include "ui/qt_windows.h"

namespace orv::ui {

ClientArea::ClientArea(Gui& gui, int window) : gui_(gui), window_(window) {
    setAutoFillBackground(true);
}

void ClientArea::mousePressEvent(QMouseEvent* event) {
    const EventKind kind =
        event->button() == Qt::RightButton ? EventKind::RightClick : EventKind::LeftClick;
    const QPoint at = event->position().toPoint();
    gui_.pending.push_back({kind, 0, window_, at.x(), at.y()});
}

Window::Window(Gui& gui, int window)
    : gui_(gui), window_(window), area_(new ClientArea(gui, window)), scroller_(new QScrollArea) {
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setWidgetResizable(true);
    // The arrow keys and the wheel stay with the controls that use them.
    scroller_->setFocusPolicy(Qt::NoFocus);
    scroller_->setWidget(area_);
    setCentralWidget(scroller_);
}

// The window's own loop decides whether a close request ends anything.
void Window::closeEvent(QCloseEvent* event) {
    event->ignore();
    gui_.pending.push_back({EventKind::CloseRequest, 0, window_});
}

void Window::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    gui_.pending.push_back({EventKind::MovedOrResized, 0, window_});
}

void Window::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    gui_.pending.push_back({EventKind::MovedOrResized, 0, window_});
}

void ReportMisuse(const Gui& gui, const std::string& what) {
    gui.misuses.push_back(what);
    if (gui.strict)
        qFatal("ui misuse: %s", what.c_str());
}

Window* FindWindow(const Gui& gui, int window) {
    const auto it = gui.windows->byNumber.find(window);
    return it == gui.windows->byNumber.end() ? nullptr : it->second.get();
}

Gui::Gui() : windows(std::make_unique<QtWindows>()) {
#ifndef NDEBUG
    strict = true;
#else
    const char* strictUi = std::getenv("ORV_STRICT_UI");
    strict = strictUi != nullptr && std::string_view(strictUi) == "1";
#endif
    windows->tick.setTimerType(Qt::PreciseTimer);
    windows->tick.setSingleShot(true);
}

Gui::~Gui() = default;

bool OpenWindow(Gui& gui, int window, const std::string& title, int x, int y, int width,
                int height) {
    if (QApplication::instance() == nullptr || FindWindow(gui, window) != nullptr)
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
    QtWindows& qt = *gui.windows;
    std::erase_if(qt.controls, [&](const auto& entry) { return entry.second.window == window; });
    std::erase_if(qt.menuItems, [&](const auto& entry) { return entry.second.window == window; });
    std::erase_if(qt.menus, [&](const auto& entry) { return entry.second.window == window; });
    qt.byNumber.erase(window);
}

void RaiseWindow(Gui& gui, int window) {
    if (Window* w = FindWindow(gui, window)) {
        w->raise();
        w->activateWindow();
    }
}

bool IsWindowOpen(const Gui& gui, int window) {
    return FindWindow(gui, window) != nullptr;
}

void SetWindowTitle(Gui& gui, int window, const std::string& title) {
    if (Window* w = FindWindow(gui, window))
        w->setWindowTitle(QString::fromStdString(title));
}

std::string WindowTitle(const Gui& gui, int window) {
    const Window* w = FindWindow(gui, window);
    return w != nullptr ? w->windowTitle().toStdString() : std::string();
}

void ResizeWindow(Gui& gui, int window, int width, int height) {
    Window* w = FindWindow(gui, window);
    if (w == nullptr)
        return;
    if (w->isMaximized() || w->isFullScreen())
        w->showNormal();
    w->resize(width, height);
}

Size InnerSize(const Gui& gui, int window) {
    const Window* w = FindWindow(gui, window);
    if (w == nullptr)
        return {};
    return {w->area()->width(), w->area()->height()};
}

Rect WindowPlace(const Gui& gui, int window) {
    const Window* w = FindWindow(gui, window);
    if (w == nullptr)
        return {};
    return {w->x(), w->y(), w->width(), w->height()};
}

void PlaceWindow(Gui& gui, int window, const Rect& place) {
    Window* w = FindWindow(gui, window);
    if (w == nullptr)
        return;
    if (w->isMaximized() || w->isFullScreen())
        w->showNormal();
    w->move(place.x, place.y);
    w->resize(place.width, place.height);
}

FrameMargins WindowFrameMargins(const Gui& gui, int window) {
    const Window* w = FindWindow(gui, window);
    if (w == nullptr)
        return {};
    const QRect frame = w->frameGeometry();
    const QRect inner = w->geometry();
    return {std::max(0, inner.left() - frame.left()), std::max(0, inner.top() - frame.top()),
            std::max(0, frame.right() - inner.right()),
            std::max(0, frame.bottom() - inner.bottom())};
}

std::vector<Rect> ScreenAreas(const Gui&) {
    std::vector<Rect> areas;
    if (QGuiApplication::instance() == nullptr)
        return areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary != nullptr) {
        const QRect a = primary->availableGeometry();
        areas.push_back({a.x(), a.y(), a.width(), a.height()});
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen == primary)
            continue;
        const QRect a = screen->availableGeometry();
        areas.push_back({a.x(), a.y(), a.width(), a.height()});
    }
    return areas;
}

void SetMinimumInnerHeight(Gui& gui, int window, int height) {
    if (Window* w = FindWindow(gui, window))
        w->area()->setMinimumHeight(std::max(0, height));
}

void SetWindowBackground(Gui& gui, int window, std::int64_t colour) {
    Window* w = FindWindow(gui, window);
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
            // Handles what is there, or sleeps until the next event; the single-shot tick
            // bounds the wait, and a waker from another thread ends it sooner.
            gui.windows->tick.start(maxMs);
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    if (gui.pending.empty())
        return {};
    const Event event = gui.pending.front();
    gui.pending.pop_front();
    return event;
}

std::function<void()> WakerOf(Gui&) {
    QAbstractEventDispatcher* dispatcher =
        QApplication::instance() != nullptr ? QAbstractEventDispatcher::instance() : nullptr;
    return [dispatcher] {
        if (dispatcher != nullptr)
            dispatcher->wakeUp();
    };
}

void KeepPaintingFor(Gui&, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        if (QApplication::instance() != nullptr)
            QApplication::processEvents(QEventLoop::AllEvents);
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::min<qint64>(5, ms - timer.elapsed())));
    }
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
