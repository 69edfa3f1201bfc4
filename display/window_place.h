#pragma once
// Where the main window goes on the desktop: the place it had when the program last
// ran, kept in four settings of its own, and the fit of any place to the screens it
// can be shown on. Pure arithmetic in the desktop's own (scaled) pixels.

#include <optional>
#include <string_view>
#include <vector>

#include "core/event_log.h"
#include "display/grid_layout.h"

namespace orv {

// The settings that keep the window's place between runs: the frame's top-left corner
// (title bar included) and the window's size as the resize takes it (menu bar
// included, frame excluded). They are absent until the window first moves or resizes.
inline constexpr std::string_view kWindowXKey = "ORV_WindowX";
inline constexpr std::string_view kWindowYKey = "ORV_WindowY";
inline constexpr std::string_view kWindowWidthKey = "ORV_WindowWidth";
inline constexpr std::string_view kWindowHeightKey = "ORV_WindowHeight";

// A saved size below this is not a window anybody made by hand: it is ignored.
inline constexpr int kSmallestSavedWindowSide = 100;

struct WindowPlace {
    int x = 0;  // the frame's top-left corner
    int y = 0;
    int width = 0;  // the window without its frame
    int height = 0;
    bool operator==(const WindowPlace&) const = default;
};

// What the frame adds around the window: the title bar and the borders.
struct FrameExtent {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The place moved and shrunk until the whole frame lies on one screen's available
// area (the desktop minus its panels): the screen it overlaps most, or the first (the
// primary) when it overlaps none. A place that already fits is returned unchanged.
// Without screens the place stays as it is.
WindowPlace FitWindowPlace(const WindowPlace& place, const FrameExtent& frame,
                           const std::vector<Rect>& screens);

// The saved place from the four settings' texts (empty when absent); none when one is
// missing or the size is too small to be meant.
std::optional<WindowPlace> SavedWindowPlace(std::string_view x, std::string_view y,
                                            std::string_view width, std::string_view height);

// The saved place from the settings file, read without adding lines for it.
std::optional<WindowPlace> LoadWindowPlace();
// Writes the four settings, adding the lines the first time.
void StoreWindowPlace(EventLog& log, const WindowPlace& place);

}  // namespace orv
