#include "display/window_place.h"

#include <algorithm>
#include <string>
#include <utility>

#include "core/settings.h"

namespace orv {

namespace {

long long OverlapArea(const Rect& a, const Rect& b) {
    const long long w = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const long long h = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

// Keeps [start, start + length) inside [low, low + room), the start first: a frame
// wider than the screen starts at its left edge, so the title bar stays reachable.
int Inside(int start, int length, int low, int room) {
    return std::max(low, std::min(start, low + room - length));
}

}  // namespace

WindowPlace FitWindowPlace(const WindowPlace& place, const FrameExtent& frame,
                           const std::vector<Rect>& screens) {
    if (screens.empty())
        return place;
    const int extraWidth = frame.left + frame.right;
    const int extraHeight = frame.top + frame.bottom;
    const Rect outer{place.x, place.y, place.width + extraWidth, place.height + extraHeight};
    const Rect* screen = &screens.front();
    long long best = 0;
    for (const Rect& candidate : screens) {
        const long long overlap = OverlapArea(outer, candidate);
        if (overlap > best) {
            best = overlap;
            screen = &candidate;
        }
    }
    WindowPlace fitted = place;
    fitted.width = std::max(1, std::min(place.width, screen->width - extraWidth));
    fitted.height = std::max(1, std::min(place.height, screen->height - extraHeight));
    fitted.x = Inside(place.x, fitted.width + extraWidth, screen->x, screen->width);
    fitted.y = Inside(place.y, fitted.height + extraHeight, screen->y, screen->height);
    return fitted;
}

std::optional<WindowPlace> SavedWindowPlace(std::string_view x, std::string_view y,
                                            std::string_view width, std::string_view height) {
    if (x.empty() || y.empty() || width.empty() || height.empty())
        return std::nullopt;
    const auto number = [](std::string_view text) {
        return static_cast<int>(
            std::clamp<std::int64_t>(ParseSettingNumber(text), -100000, 100000));
    };
    const WindowPlace place{number(x), number(y), number(width), number(height)};
    if (place.width < kSmallestSavedWindowSide || place.height < kSmallestSavedWindowSide)
        return std::nullopt;
    return place;
}

std::optional<WindowPlace> LoadWindowPlace() {
    const auto value = [](std::string_view key) {
        return FindSettingValue(kSettingsFileName, key);
    };
    return SavedWindowPlace(value(kWindowXKey), value(kWindowYKey), value(kWindowWidthKey),
                            value(kWindowHeightKey));
}

void StoreWindowPlace(EventLog& log, const WindowPlace& place) {
    const std::pair<std::string_view, int> values[] = {{kWindowXKey, place.x},
                                                       {kWindowYKey, place.y},
                                                       {kWindowWidthKey, place.width},
                                                       {kWindowHeightKey, place.height}};
    for (const auto& [key, value] : values) {
        // A read appends a missing key with the value given; a present one is rewritten.
        if (ReadSettingNumber(key, value) != value)
            WriteSetting(log, kSettingsFileName, key, std::to_string(value));
    }
}

}  // namespace orv
