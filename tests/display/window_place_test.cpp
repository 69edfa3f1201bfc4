#include "display/window_place.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

// The desktop's available area in its own pixels: a 1920 x 1080 screen at a scale
// of 1.5 offers 1280 x 720 of them; a panel takes the bottom 40.
const Rect kFullHd{0, 0, 1920, 1040};
const Rect kFullHdAtOneAndAHalf{0, 0, 1280, 720};
const Rect kSmallScreen{0, 0, 1024, 768};
const Rect kRightScreen{1920, 0, 1280, 1024};
// A window manager's frame: a 30-pixel title bar and 4-pixel borders.
const FrameExtent kFrame{4, 30, 4, 4};

TEST(FitWindowPlaceTest, KeepsTheWholeFrameOnOneScreen) {
    struct Case {
        std::string what;
        WindowPlace place;
        std::vector<Rect> screens;
        WindowPlace expected;
    };
    const std::vector<Case> cases = {
        {"on screen: unchanged", {100, 50, 1545, 725}, {kFullHd}, {100, 50, 1545, 725}},
        {"partly off to the right: moved left",
         {800, 50, 1545, 725},
         {kFullHd},
         {1920 - 8 - 1545, 50, 1545, 725}},
        {"title bar above the screen: moved down",
         {100, -200, 1545, 725},
         {kFullHd},
         {100, 0, 1545, 725}},
        {"off the left and bottom: moved in",
         {-3000, 900, 534, 408},
         {kFullHd},
         {0, 1040 - 34 - 408, 534, 408}},
        {"saved on a bigger screen: shrunk to the smaller one",
         {200, 100, 1545, 725},
         {kSmallScreen},
         {0, 768 - 34 - 725, 1024 - 8, 725}},
        {"taller than the screen: shrunk, title bar at the top",
         {0, 300, 800, 1500},
         {kSmallScreen},
         {0, 0, 800, 768 - 34}},
        {"scale 1.5: the specified size no longer fits",
         {0, 0, 1545, 725},
         {kFullHdAtOneAndAHalf},
         {0, 0, 1280 - 8, 720 - 34}},
        {"scale 1.5: Basic fits as it is",
         {40, 40, 534, 408},
         {kFullHdAtOneAndAHalf},
         {40, 40, 534, 408}},
        {"mostly on the second screen: fitted there",
         {2000, 100, 1545, 725},
         {kFullHd, kRightScreen},
         {1920, 100, 1280 - 8, 725}},
        {"on no screen: the primary one",
         {9000, 9000, 534, 408},
         {kFullHd, kRightScreen},
         {1920 - 8 - 534, 1040 - 34 - 408, 534, 408}},
        {"no screens known: unchanged", {-50, -50, 534, 408}, {}, {-50, -50, 534, 408}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitWindowPlace(c.place, kFrame, c.screens), c.expected) << c.what;
    }
}

TEST(FitWindowPlaceTest, WithoutAFrameTheWindowMayFillTheScreen) {
    EXPECT_EQ(FitWindowPlace({0, 0, 1545, 725}, {}, {kFullHdAtOneAndAHalf}),
              (WindowPlace{0, 0, 1280, 720}));
}

TEST(SavedWindowPlaceTest, NeedsAllFourAndAReasonableSize) {
    struct Case {
        std::string x, y, width, height;
        std::optional<WindowPlace> expected;
    };
    const std::vector<Case> cases = {
        {"120", "-8", "1545", "725", WindowPlace{120, -8, 1545, 725}},
        {"120", "", "1545", "725", std::nullopt},  // never saved
        {"0", "0", "40", "725", std::nullopt},     // too narrow to be meant
        {"0", "0", "1545", "0", std::nullopt},
        {"x", "y", "9999999", "725", WindowPlace{0, 0, 100000, 725}},  // fitted later
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SavedWindowPlace(c.x, c.y, c.width, c.height), c.expected)
            << c.x << "," << c.y << "," << c.width << "," << c.height;
    }
}

}  // namespace
}  // namespace orv
