#pragma once
// The windows of the program, reached by number. Every window and control goes
// through here; nothing above this folder includes a Qt widget header.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/event.h"

namespace orv::ui {

inline constexpr int kMainWindow = 1;

struct QtWindows;  // the Qt objects, known only to the implementation

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

struct Gui {
    Gui();
    ~Gui();
    Gui(const Gui&) = delete;
    Gui& operator=(const Gui&) = delete;

    std::unique_ptr<QtWindows> windows;
    std::deque<Event> pending;  // events reported but not yet taken
    // Acting on a control or menu number that is missing, or on a control of another
    // kind, is a programming error: it is recorded here and, when strict (debug builds,
    // and every test through ORV_STRICT_UI=1), ends the program with the reason.
    mutable std::vector<std::string> misuses;
    bool strict = false;
};

// Opens a resizable window with minimise and maximise buttons at x, y with the given
// inner size. False when the window cannot be made.
bool OpenWindow(Gui& gui, int window, const std::string& title, int x, int y, int width,
                int height);
void CloseWindow(Gui& gui, int window);
// Brings the window to the front and asks for the focus.
void RaiseWindow(Gui& gui, int window);
bool IsWindowOpen(const Gui& gui, int window);

void SetWindowTitle(Gui& gui, int window, const std::string& title);
std::string WindowTitle(const Gui& gui, int window);
// Changes the client size, the menu bar counted in the height, leaving the position;
// a maximised or full-screen window is restored first.
void ResizeWindow(Gui& gui, int window, int width, int height);
// The client area below the menu bar.
Size InnerSize(const Gui& gui, int window);
// Fills the window's free area with a colour number (red + 256 green + 65536 blue).
void SetWindowBackground(Gui& gui, int window, std::int64_t colour);

// The fonts the start-up prepares; the display parts choose among them later.
void PrepareStartupFonts(Gui& gui);

// Takes one event, waiting at most `maxMs` for one; kind None when none came. The wait
// sleeps: it ends with a window event, a timer of Qt's, the end of `maxMs` or a call of
// the waker.
Event WaitEvent(Gui& gui, int maxMs);

// Ends WaitEvent's current wait (or makes its next one return at once); safe to call
// from any thread while the application object lives. Does nothing without one.
std::function<void()> WakerOf(Gui& gui);

// Waits `ms` while the windows keep painting; events reported meanwhile stay pending
// for the loop, which takes them afterwards.
void KeepPaintingFor(Gui& gui, int ms);

// The number of the window that has the focus, 0 for none of ours.
int ActiveWindow(const Gui& gui);

}  // namespace orv::ui
