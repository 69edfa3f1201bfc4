#pragma once
// The daily release check's rules: which page tells a model's latest release, how the
// version is read from it, when it counts as newer, and the offer shown to the user.
// The transfer itself is core/http_get.h; the composition is app/update_check.cpp.

#include <string>
#include <string_view>

namespace orv {

// The maker's web server, reached over plain HTTP.
inline constexpr std::string_view kProductWebServer = "www.korvane.example";
inline constexpr std::string_view kDownloadPagePath = "/pages/software";
inline constexpr std::string_view kNoReleaseYet = "0.000";

// Where the release check asks, and how long it waits at most. The program asks the
// maker's server; tests put a server of their own on the loopback address.
struct ReleaseServer {
    std::string host;  // name or address, with ":port" where not 80; empty: never ask
    int timeLimitMs = 10000;
};

// The product page of a model; empty for a model without one ("ORV340X").
std::string_view ProductPagePath(std::string_view model);

// "http://" + host + path.
std::string ServerAddress(const ReleaseServer& server, std::string_view path);

// The up to six bytes after the last "Version: " of the page; `latest` when the page
// has none.
std::string LatestVersionText(std::string_view page, std::string_view latest = kNoReleaseYet);

// The number at the start of a version text, after blanks; 0 when there is none.
float ParseVersionText(std::string_view text);

// True when `latest` is newer than `current` by more than the last digit's rounding.
bool IsNewerRelease(float latest, float current);

// The text of the Info #0001 box.
std::string ReleaseOfferText(float current, float latest, std::string_view downloadAddress);

}  // namespace orv
