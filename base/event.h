#pragma once
// What a window reports to its loop: one event per pass, as {kind, number}.

namespace orv::ui {

enum class EventKind {
    None,
    CloseRequest,  // the user asked to close a window
    LeftClick,     // mouse button on a window's free area; x, y in window coordinates
    RightClick,
    Control,         // a control fired; number is the control's number
    Menu,            // a menu item or shortcut; number is the command number
    MovedOrResized,  // the window was moved or resized
};

struct Event {
    EventKind kind = EventKind::None;
    int number = 0;  // control or command number
    int window = 0;  // number of the window the event belongs to
    int x = 0;
    int y = 0;

    bool operator==(const Event&) const = default;
};

}  // namespace orv::ui
