#pragma once
// The windowing system's application object, owned by main().

#include <memory>
#include <string>

namespace orv::ui {

class Application {
public:
    // Qt may take its own options (such as -platform) out of the arguments.
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The folder of the running program, for programs installed beside it.
    std::string ProgramFolder() const;

    // SIGTERM (log-out, shutdown, kill) and SIGINT (Ctrl+C in a terminal) close every
    // open window as the user's close button would, so the program ends through its
    // own loop instead of being cut off; a second signal ends it at once. Call once,
    // after the application is made.
    void CloseWindowsOnTerminationSignal();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace orv::ui
