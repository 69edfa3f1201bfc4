#pragma once
// The result badge of a record: a small picture for Good, Bad, Untested, NoTest, or
// for a record without a golden signature. The pictures are loaded elsewhere and
// handed in; a picture that failed to load is a null image and draws nothing.

#include <QImage>
#include <string_view>

namespace orv {

struct ResultBadges {
    QImage good;
    QImage bad;
    QImage untested;
    QImage noTest;
    QImage noSignature;
};

struct ResultBadgeFiles {
    std::string_view good;
    std::string_view bad;
    std::string_view untested;
    std::string_view noTest;
    std::string_view noSignature;
};

// Above the main scope.
inline constexpr ResultBadgeFiles kScopeBadgeFiles{
    "graphics/good_72x23.png", "graphics/bad_72x23.png", "graphics/questionmark_72x23_yellow.png",
    "graphics/notest_72x23.png", "graphics/nosig_72x23_pink.png"};
// On the mini-scopes.
inline constexpr ResultBadgeFiles kThumbnailBadgeFiles{
    "graphics/good_23x23.png", "graphics/bad_23x23.png", "graphics/questionmark_23x23_yellow.png",
    "graphics/notest_23x23.png", "graphics/nosig_23x23_pink.png"};

// Null when the record gets no badge (a golden signature with any other result).
inline const QImage* PickResultBadge(const ResultBadges& badges, bool hasGolden,
                                     std::string_view result) {
    if (!hasGolden)
        return &badges.noSignature;
    if (result == "Good")
        return &badges.good;
    if (result == "Bad")
        return &badges.bad;
    if (result == "Untested")
        return &badges.untested;
    if (result == "NoTest")
        return &badges.noTest;
    return nullptr;
}

}  // namespace orv
