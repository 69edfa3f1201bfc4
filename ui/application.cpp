#include "ui/application.h"

#include <QApplication>

namespace orv::ui {

struct Application::Impl {
    Impl(int& argc, char** argv) : qt(argc, argv) {}
    QApplication qt;
};

namespace {

// The main loop wakes every millisecond; the plain poll()-based dispatcher costs less
// per wake-up than the GLib one, which matters for an idle program.
int& PreferPlainDispatcher(int& argc) {
    qputenv("QT_NO_GLIB", "1");
    return argc;
}

}  // namespace

Application::Application(int& argc, char** argv)
    : impl_(std::make_unique<Impl>(PreferPlainDispatcher(argc), argv)) {}

Application::~Application() = default;

std::string Application::ProgramFolder() const {
    return QCoreApplication::applicationDirPath().toStdString();
}

}  // namespace orv::ui
