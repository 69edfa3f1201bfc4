#include "app/window_events.h"

#include <array>

#include "app/program.h"
#include "app/sim_probe_window.h"

namespace orv {

namespace {

struct WindowHandler {
    int window;
    void (*serve)(Program&, const ui::Event&);
};

// The simulated hand is not part of the instrument's user interface: it keeps working
// while another window has the user's attention.
constexpr std::array kHandlers = {WindowHandler{kSimProbeWindow, HandleSimProbeEvent}};

}  // namespace

bool ServeOwnWindowEvent(Program& program, const ui::Event& event) {
    for (const WindowHandler& handler : kHandlers) {
        if (event.kind != ui::EventKind::None && event.window == handler.window) {
            handler.serve(program, event);
            return true;
        }
    }
    return false;
}

}  // namespace orv
