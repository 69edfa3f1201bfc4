// Times a program's start-up from outside, as a user sees it: polls the X server every
// millisecond for a top-level window whose title holds the given text, then for one of its pixels
// to take the given colour. Prints "shown MS drawn MS" (or "never") measured from the
// start time given in nanoseconds of CLOCK_REALTIME, as `date +%s%N` writes it.
// Usage: orv_window_probe TITLE X Y RRGGBB TIMEOUT_MS START_NS

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

namespace {

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// A viewable window whose name holds the title, searched depth first: without a
// window manager the program's windows are the root's children.
std::optional<Window> FindWindow(Display* display, Window parent, const std::string& title) {
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, parent, &root, &up, &children, &count) == 0)
        return std::nullopt;
    std::optional<Window> found;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes{};
        if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
            if (std::string(name).find(title) != std::string::npos &&
                XGetWindowAttributes(display, children[i], &attributes) != 0 &&
                attributes.map_state == IsViewable) {
                found = children[i];
            }
            XFree(name);
        }
        if (!found)
            found = FindWindow(display, children[i], title);
    }
    if (children != nullptr)
        XFree(children);
    return found;
}

std::optional<unsigned long> PixelOf(Display* display, Window window, int x, int y) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0 || x >= attributes.width ||
        y >= attributes.height)
        return std::nullopt;
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr)
        return std::nullopt;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
}

std::string Ms(std::optional<std::int64_t> ns) {
    return ns ? std::to_string(*ns / 1000000) : std::string("never");
}

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;  // a window may go away between finding and reading it
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: %s TITLE X Y RRGGBB TIMEOUT_MS START_NS\n", argv[0]);
        return 2;
    }
    const std::string title = argv[1];
    const int x = std::atoi(argv[2]);
    const int y = std::atoi(argv[3]);
    const unsigned long colour = std::strtoul(argv[4], nullptr, 16);
    const std::int64_t timeoutNs = std::atoll(argv[5]) * 1000000;
    const std::int64_t start = std::atoll(argv[6]);
    Display* display = nullptr;
    // The X server may still be starting.
    while ((display = XOpenDisplay(nullptr)) == nullptr && NowNs() - start < timeoutNs)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(IgnoreErrors);
    std::optional<Window> window;
    std::optional<std::int64_t> shown;
    std::optional<std::int64_t> drawn;
    while (!drawn && NowNs() - start < timeoutNs) {
        if (!window) {
            window = FindWindow(display, DefaultRootWindow(display), title);
            if (window)
                shown = NowNs() - start;
        } else if (PixelOf(display, *window, x, y) == colour) {
            drawn = NowNs() - start;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::printf("shown %s drawn %s\n", Ms(shown).c_str(), Ms(drawn).c_str());
    XCloseDisplay(display);
    return drawn ? 0 : 1;
}
