#include "core/release_check.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <utility>

namespace orv {

namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kProductPages = {{
    {"ORV310", "/pages/XRM7LT"},
    {"ORV311P", "/pages/L7QLD9"},
    {"ORV320", "/pages/Z6D9XR"},
    {"ORV340", "/pages/B9K5YA"},
}};

constexpr std::string_view kVersionMark = "Version: ";
constexpr std::size_t kVersionLength = 6;
// Versions are shown with three decimals: anything closer is the same release.
constexpr float kVersionMargin = 0.0005f;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string ThreeDecimals(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(value));
    return text;
}

}  // namespace

std::string_view ProductPagePath(std::string_view model) {
    for (const auto& [name, path] : kProductPages) {
        if (name == model)
            return path;
    }
    return {};
}

std::string ServerAddress(const ReleaseServer& server, std::string_view path) {
    return "http://" + server.host + std::string(path);
}

std::string LatestVersionText(std::string_view page, std::string_view latest) {
    std::string_view found = latest;
    for (std::size_t at = page.find(kVersionMark); at != std::string_view::npos;
         at = page.find(kVersionMark, at + 1)) {
        found = page.substr(at + kVersionMark.size(), kVersionLength);
    }
    return std::string(found);
}

float ParseVersionText(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const bool startsNumber =
        !text.empty() &&
        (IsDigit(text[0]) || (text[0] == '.' && text.size() > 1 && IsDigit(text[1])));
    if (!startsNumber)
        return 0;
    float value = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc{})
        return 0;
    return negative ? -value : value;
}

bool IsNewerRelease(float latest, float current) {
    return latest > current + kVersionMargin;
}

std::string ReleaseOfferText(float current, float latest, std::string_view downloadAddress) {
    return "Current software version: " + ThreeDecimals(current) +
           "\n\nLatest software version: " + ThreeDecimals(latest) +
           "\n\nClick YES to goto our website (" + std::string(downloadAddress) +
           ") or NO to continue.";
}

}  // namespace orv
