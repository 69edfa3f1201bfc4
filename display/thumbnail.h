#pragma once
// The mini-scopes: small scopes showing the stored signatures of the records around
// the current one. Mini-scope k shows record current + k - 5.

#include <QImage>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "display/result_badge.h"
#include "display/scope_composition.h"
#include "display/scope_style.h"
#include "display/signature_view.h"

namespace orv {

inline constexpr int kMiniScopeCount = 9;
inline constexpr int kCentreMiniScope = 5;

// The cells of a record that a thumbnail shows.
struct ThumbnailRecord {
    std::int64_t peakMillivolts = 0;  // column 2
    std::int64_t sourceOhms = 0;      // column 4
    std::int64_t frequencyHz = 0;     // column 6
    std::string title;                // column 8
    std::string result;               // column 9
    bool hasGolden = false;           // column 30 is "Yes"
    SignatureView golden;
    SignatureView dut;  // drawn when the result is Good or Bad
};

// Record rec of a plan with `rows` rows: its traces and texts for 2 <= rec <= rows,
// the plan's file name for rec 1, "END" for rows + 1, the bare background otherwise.
QImage DrawThumbnail(int width, int height, int rec, int rows, std::string_view planFileName,
                     const ThumbnailRecord& record, const ThumbnailStyle& style);

// "Vpk=2V, Z=10kohms, f=50Hz": whole units by truncating division.
std::string ThumbnailSettingsLine(std::int64_t peakMillivolts, std::int64_t sourceOhms,
                                  std::int64_t frequencyHz);

// The file name after the last '/' or '\'.
std::string WithoutFolder(std::string_view path);

struct MiniScopeSize {
    int width = 0;
    int height = 0;
};

struct MiniScopeSetInput {
    std::array<MiniScopeSize, kMiniScopeCount> sizes;
    std::array<ThumbnailRecord, kMiniScopeCount> records;  // record current + k - 5 at k - 1
    int current = 1;
    int rows = 1;
    std::string planFileName;
    ThumbnailStyle style;
    const ResultBadges* badges = nullptr;
};

// All nine thumbnails with their badges; the centre one is also kept in `scope` for
// the live overlay.
std::array<QImage, kMiniScopeCount> ComposeMiniScopes(ScopeImages& scope,
                                                      const MiniScopeSetInput& in);

constexpr int MiniScopeRecord(int current, int k) {
    return current + k - kCentreMiniScope;
}

// The record a click on mini-scope k makes current: moved by k - 5, then lowered to
// the last row and raised to the first record.
constexpr int MiniScopeClickTarget(int current, int k, int rows) {
    int target = MiniScopeRecord(current, k);
    if (target > rows)
        target = rows;
    if (target <= 2)
        target = 2;
    return target;
}

}  // namespace orv
