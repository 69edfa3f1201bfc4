#include "ui/application.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <csignal>

namespace orv::ui {

namespace {

// The write end of the pipe through which the signal handler wakes the user-interface
// thread: a handler has no other way in. Set once, before the handler is installed.
int terminationPipeWriteEnd = -1;

extern "C" void OnTerminationSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a wake-up: the lost byte changes nothing.
    [[maybe_unused]] const ssize_t written = write(terminationPipeWriteEnd, &byte, 1);
    errno = saved;
}

// The main loop wakes every millisecond; the plain poll()-based dispatcher costs less
// per wake-up than the GLib one, which matters for an idle program.
int& PreferPlainDispatcher(int& argc) {
    qputenv("QT_NO_GLIB", "1");
    return argc;
}

}  // namespace

struct Application::Impl {
    Impl(int& argc, char** argv) : qt(argc, argv) {}
    ~Impl() {
        terminationNotifier.reset();
        if (terminationPipe[0] >= 0)
            close(terminationPipe[0]);
        // The write end stays open: a late signal must not write into a reused descriptor.
    }
    QApplication qt;
    std::unique_ptr<QSocketNotifier> terminationNotifier;
    int terminationPipe[2] = {-1, -1};
};

Application::Application(int& argc, char** argv)
    : impl_(std::make_unique<Impl>(PreferPlainDispatcher(argc), argv)) {}

Application::~Application() = default;

std::string Application::ProgramFolder() const {
    return QCoreApplication::applicationDirPath().toStdString();
}

void Application::CloseWindowsOnTerminationSignal() {
    if (impl_->terminationNotifier || terminationPipeWriteEnd >= 0)
        return;
    int* ends = impl_->terminationPipe;
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    terminationPipeWriteEnd = ends[1];
    impl_->terminationNotifier = std::make_unique<QSocketNotifier>(ends[0], QSocketNotifier::Read);
    QObject::connect(impl_->terminationNotifier.get(), &QSocketNotifier::activated,
                     [readEnd = ends[0]] {
                         char drained[64];
                         while (read(readEnd, drained, sizeof drained) > 0) {
                         }
                         // Message boxes first, so a window waiting on one can close too.
                         for (QWidget* widget : QApplication::topLevelWidgets()) {
                             if (widget->isVisible() && widget->isModal())
                                 widget->close();
                         }
                         for (QWidget* widget : QApplication::topLevelWidgets()) {
                             if (widget->isVisible())
                                 widget->close();
                         }
                     });
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    // A second signal ends the program at once, should a window not close.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

}  // namespace orv::ui
