// Times a program's start-up from outside, as a user sees it: polls the X server every
// 5 ms (more often, the polling itself slows the X server and the program under test)
// for a top-level window whose title holds the given text, then for each of
// the given pixels to take its colour. Prints "shown MS drawn MS" (or "never"),
// measured from a start time in nanoseconds of CLOCK_REALTIME as `date +%s%N` writes
// it. The read form prints the colours the pixels have now, to learn the drawn look.
// Usage: orv_window_probe TITLE TIMEOUT_MS START_NS X,Y=RRGGBB...
//        orv_window_probe --read TITLE X,Y...

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::chrono::milliseconds kPollPeriod{5};

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

struct Point {
    int x = 0;
    int y = 0;
    unsigned long colour = 0;
};

// "X,Y" or "X,Y=RRGGBB".
Point ParsePoint(const char* text) {
    Point point;
    char* end = nullptr;
    point.x = static_cast<int>(std::strtol(text, &end, 10));
    point.y = static_cast<int>(std::strtol(end + (*end == ',' ? 1 : 0), &end, 10));
    if (*end == '=')
        point.colour = std::strtoul(end + 1, nullptr, 16);
    return point;
}

std::string Ms(std::optional<std::int64_t> ns) {
    return ns ? std::to_string(*ns / 1000000) : std::string("never");
}

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;  // a window may go away between finding and reading it
}

}  // namespace

int main(int argc, char** argv) {
    const bool read = argc >= 2 && std::string(argv[1]) == "--read";
    if ((read && argc < 4) || (!read && argc < 5)) {
        std::fprintf(stderr,
                     "usage: %s TITLE TIMEOUT_MS START_NS X,Y=RRGGBB...\n"
                     "       %s --read TITLE X,Y...\n",
                     argv[0], argv[0]);
        return 2;
    }
    const std::string title = argv[read ? 2 : 1];
    const std::int64_t timeoutNs =
        read ? std::int64_t{10'000'000'000} : std::atoll(argv[2]) * 1000000;
    const std::int64_t start = read ? NowNs() : std::atoll(argv[3]);
    std::vector<Point> points;
    for (int i = read ? 3 : 4; i < argc; ++i)
        points.push_back(ParsePoint(argv[i]));
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
        } else if (read) {
            for (const Point& point : points) {
                const std::optional<unsigned long> pixel =
                    PixelOf(display, *window, point.x, point.y);
                std::printf("%d,%d=%06lX\n", point.x, point.y, pixel.value_or(0));
            }
            XCloseDisplay(display);
            return 0;
        } else {
            bool all = true;
            for (const Point& point : points)
                all = all && PixelOf(display, *window, point.x, point.y) == point.colour;
            if (all)
                drawn = NowNs() - start;
        }
        std::this_thread::sleep_for(kPollPeriod);
    }
    if (read)
        return 1;
    std::printf("shown %s drawn %s\n", Ms(shown).c_str(), Ms(drawn).c_str());
    XCloseDisplay(display);
    return drawn ? 0 : 1;
}
