#include "display/pcb_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "image_probe.h"

namespace orv {

std::ostream& operator<<(std::ostream& out, const CropWindow& w) {
    return out << "x " << w.x1 << ".." << w.x2 << ", y " << w.y1 << ".." << w.y2;
}

namespace {

using test::ColourAt;
using test::CountColour;

constexpr ColourNumber kGrey = MakeColour(128, 128, 128);

QImage Plain(int w, int h, ColourNumber c = kGrey) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(RedOf(c), GreenOf(c), BlueOf(c)));
    return image;
}

// Red tells x, green tells y, so a view pixel tells which photograph pixel it shows.
QImage Gradient(int w, int h, QImage::Format format) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb(x / 12, y / 8, 60);
    }
    return image.convertToFormat(format);
}

TEST(CropWindowTest, SquareWindowRoundedHalvesToEvenAndShiftedInside) {
    struct Case {
        int iw, ih, cx, cy;
        float zoom;
        CropWindow expected;
    };
    const Case cases[] = {
        // s = 3010 / 10 = 301: odd sides come out one pixel narrower or wider.
        {3010, 2000, 1000, 1000, 10, {850, 1150, 850, 1150}},
        {3010, 2000, 1001, 1001, 10, {850, 1152, 850, 1152}},
        // Past the left or top edge: starts at 0; past the right or bottom: ends there.
        {3010, 2000, 100, 50, 10, {0, 301, 0, 301}},
        {3010, 2000, -500, -9000, 10, {0, 301, 0, 301}},
        {3010, 2000, 2950, 1990, 10, {2709, 3010, 1699, 2000}},
        {3010, 2000, 99999, 99999, 10, {2709, 3010, 1699, 2000}},
        // The longer side decides the window, also for an upright photograph.
        {2000, 3010, 1000, 1000, 10, {850, 1150, 850, 1150}},
        // Zoom 1 and below: the whole photograph.
        {3010, 2000, 1505, 1000, 1, {0, 3010, 0, 2000}},
        {3010, 2000, 7, 7, 0.01f, {0, 3010, 0, 2000}},
        // Less than a pixel: still one pixel wide and high.
        {50, 50, 25, 25, 100, {25, 26, 25, 26}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ComputeCropWindow(c.iw, c.ih, c.cx, c.cy, c.zoom), c.expected)
            << c.iw << "x" << c.ih << " at " << c.cx << "," << c.cy << " zoom " << c.zoom;
    }
}

class PcbViewTest : public ::testing::Test {
protected:
    PcbViewTest() {
        in_.width = 300;
        in_.height = 300;
        in_.cx = 1000;
        in_.cy = 1000;
        in_.zoom = 10;  // window 850..1150 both ways: one photo pixel per view pixel
        in_.px0 = 1000;
        in_.py0 = 1000;
        in_.imageName = "testplans/images/board.jpg";
        in_.photo = &photo_;
    }

    void Render() {
        in_.pins = pins_;
        RenderPcbView(state_, in_);
    }

    QImage photo_ = Plain(3010, 2000);
    std::vector<PcbPin> pins_;
    PcbViewInput in_;
    PcbViewState state_;
};

TEST_F(PcbViewTest, ZoomIsClampedAndAnEmptyNameShowsThePlaceholderWhole) {
    struct Case {
        float zoom;
        const char* name;
        CropWindow window;
    };
    const Case cases[] = {
        {0, "board.jpg", {0, 3010, 0, 2000}},  // as 0.01
        {-3, "board.jpg", {0, 3010, 0, 2000}},
        {1000, "board.jpg", {985, 1015, 985, 1015}},  // as 100: s = 30.1
        {100, "board.jpg", {985, 1015, 985, 1015}},
        {10, "", {0, 3010, 0, 2000}},  // placeholder at zoom 1
        {std::nanf(""), "board.jpg", {0, 3010, 0, 2000}},
    };
    for (const Case& c : cases) {
        in_.zoom = c.zoom;
        in_.imageName = c.name;
        Render();
        EXPECT_EQ(state_.window, c.window) << c.zoom << " '" << c.name << "'";
        EXPECT_EQ(state_.image.size(), QSize(300, 300));
    }
    EXPECT_EQ(PcbImageFile(""), "graphics/noimage.png");
    EXPECT_EQ(PcbImageFile("testplans\\images\\a.png"), "testplans\\images\\a.png");
}

TEST_F(PcbViewTest, CropShowsThePartOfThePhotographUnderTheWindow) {
    for (QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_ARGB32}) {
        photo_ = Gradient(3010, 2000, format);
        in_.px0 = -1;  // no crosshair over the probes
        Render();
        struct Probe {
            int u, v;  // view pixel
            int x, y;  // photograph pixel it shows
        };
        const Probe probes[] = {{0, 0, 850, 850}, {299, 299, 1149, 1149}, {150, 20, 1000, 870}};
        for (const Probe& p : probes) {
            const QRgb seen = state_.image.pixel(p.u, p.v);
            EXPECT_LE(std::abs(qRed(seen) - p.x / 12), 1) << format << " " << p.u;
            EXPECT_LE(std::abs(qGreen(seen) - p.y / 8), 1) << format << " " << p.v;
        }
    }
}

TEST_F(PcbViewTest, WholeBoardFlagShowsTheWholePhotograph) {
    in_.cx = 100;
    in_.cy = 1900;
    state_.wholeBoard = true;
    Render();
    EXPECT_EQ(state_.window, (CropWindow{0, 3010, 0, 2000}));
}

TEST_F(PcbViewTest, MarkersByResultAndShape) {
    struct Case {
        const char* result;
        bool hasGolden;
        ColourNumber fill;  // kGrey: none
    };
    const Case cases[] = {
        {"Good", true, kColourGreen},      {"Bad", true, kColourRed},
        {"Untested", true, kColourYellow}, {"NoTest", true, MakeColour(115, 124, 112)},
        {"Good", false, kColourPink},      {"", false, kColourPink},
        {"Passed", true, kColourBlack},  // an unknown result: outline only
    };
    in_.px0 = -1;  // no crosshair
    for (const Case& c : cases) {
        for (bool pinOne : {false, true}) {
            pins_ = {PcbPin{2, 900, 900, c.result, c.hasGolden, pinOne, false}};
            Render();
            // The pin maps to view pixel (50, 50).
            EXPECT_EQ(ColourAt(state_.image, 50, 50), c.fill) << c.result << pinOne;
            EXPECT_EQ(ColourAt(state_.image, 53, 47), c.fill) << c.result << pinOne;
            // A square reaches its corners, a disc does not.
            EXPECT_EQ(ColourAt(state_.image, 45, 45), pinOne ? c.fill : kGrey) << c.result;
            EXPECT_EQ(ColourAt(state_.image, 44, 44), pinOne ? kColourBlack : kGrey) << c.result;
            EXPECT_EQ(ColourAt(state_.image, 50, 44), kColourBlack) << c.result << pinOne;
            EXPECT_EQ(ColourAt(state_.image, 50, 42), kGrey) << c.result << pinOne;
        }
    }
}

TEST_F(PcbViewTest, OnlyPinsInsideTheWindowAndNotDeletedGetMarkers) {
    in_.px0 = -1;
    pins_ = {
        PcbPin{2, 850, 850, "Good", true, false, false},    // on the window's corner
        PcbPin{3, 849, 900, "Good", true, false, false},    // just outside
        PcbPin{4, 1000, 1151, "Good", true, false, false},  // just outside
        PcbPin{5, 1000, 1000, "Bad", true, false, true},    // marked for deletion
        PcbPin{6, 1100, 1100, "Bad", true, false, false},
        PcbPin{7, 1100, 1100, "Untested", true, true, false},  // later rows on top
    };
    Render();
    EXPECT_EQ(ColourAt(state_.image, 2, 2), kColourGreen);
    EXPECT_EQ(CountColour(state_.image, QRect(0, 40, 10, 20), kColourGreen), 0);
    EXPECT_EQ(CountColour(state_.image, QRect(140, 280, 20, 20), kColourGreen), 0);
    EXPECT_EQ(ColourAt(state_.image, 150, 150), kGrey);
    EXPECT_EQ(ColourAt(state_.image, 250, 250), kColourYellow);
    EXPECT_EQ(ColourAt(state_.image, 245, 245), kColourYellow);  // the square covers all
}

// Pins stacked at a few places in every order of shape, result and deletion: the
// reduced lists draw the same picture and a click finds the same row.
TEST_F(PcbViewTest, ReducedPinListsDrawAndClickLikeTheWholeList) {
    const char* results[] = {"Good", "Bad", "", "Untested"};
    std::vector<PcbPin> all;
    for (int row = 2; row < 80; ++row) {
        const int place = (row * 7) % 5;  // five places, two of them overlapping
        all.push_back(PcbPin{row, 900 + place * 3, 900 + (place % 2) * 40, results[row % 4],
                             row % 3 != 0, row % 5 == 0, row % 11 == 0});
    }
    in_.px0 = -1;
    pins_ = all;
    Render();
    const QImage whole = state_.image;
    pins_ = PinsToDraw(all);
    Render();
    EXPECT_EQ(state_.image, whole);
    EXPECT_LE(pins_.size(), 10u);
    for (size_t k = 1; k < pins_.size(); ++k)
        EXPECT_LT(pins_[k - 1].row, pins_[k].row);

    const std::vector<PcbPin> clickable = PinsToClick(all);
    EXPECT_EQ(clickable.size(), 5u);
    const Rect area{0, 0, 300, 300};
    for (int x = 40; x <= 70; x += 3) {
        for (int y = 40; y <= 100; y += 3) {
            PcbViewState a = state_;
            PcbViewState b = state_;
            EXPECT_EQ(PcbViewClick(a, x, y, area, all).row,
                      PcbViewClick(b, x, y, area, clickable).row)
                << x << "," << y;
        }
    }

    // Empty rows all sit at 0, 0: one marker, one click target, however many there are.
    const std::vector<PcbPin> empty(200'000, PcbPin{2, 0, 0, "", false, false, false});
    EXPECT_EQ(PinsToDraw(empty).size(), 1u);
    EXPECT_EQ(PinsToClick(empty).size(), 1u);
}

TEST_F(PcbViewTest, CrosshairOnTheCurrentPin) {
    struct Probe {
        int x, y;
        ColourNumber colour;
    };
    struct Case {
        const char* type;
        int px0, py0;  // the view shows 850..1150: pixel = position - 850
        std::vector<Probe> probes;
    };
    const ColourNumber w = kColourWhite;
    const ColourNumber b = kColourBlack;
    const Case cases[] = {
        {"1 line", 1000, 1000, {{10, 150, w}, {150, 10, w}, {10, 149, kGrey}, {149, 10, kGrey}}},
        {"3 line",
         1000,
         1000,
         {{10, 150, w},
          {150, 10, w},
          {10, 149, b},
          {10, 151, b},
          {149, 10, b},
          {151, 10, b},
          {10, 148, kGrey}}},
        {"3 line", 1150, 850, {{10, 0, w}, {10, 1, b}, {299, 10, b}, {298, 10, kGrey}}},
        {"3 line", 1200, 1000, {{10, 149, kGrey}, {10, 150, kGrey}}},  // pin out of view
        {"3 Line", 1000, 1000, {{10, 150, w}, {10, 149, kGrey}}},
    };
    for (const Case& c : cases) {
        in_.crosshairType = c.type;
        in_.px0 = c.px0;
        in_.py0 = c.py0;
        pins_ = {PcbPin{2, 900, 900, "Good", true, false, false}};
        Render();
        for (const Probe& p : c.probes) {
            EXPECT_EQ(ColourAt(state_.image, p.x, p.y), p.colour)
                << c.type << " " << c.px0 << " at " << p.x << "," << p.y;
        }
        if (c.px0 > 1150) {
            EXPECT_EQ(CountColour(state_.image, state_.image.rect(), w), 0) << c.type;
        }
        // Markers are drawn whether or not the pin is in view.
        EXPECT_EQ(ColourAt(state_.image, 50, 50), kColourGreen) << c.type << " " << c.px0;
    }
}

TEST_F(PcbViewTest, FailedPhotographGivesAnEmptyViewAndKeepsTheWindow) {
    Render();
    const CropWindow before = state_.window;
    const QImage none;
    for (const QImage* photo : {static_cast<const QImage*>(nullptr), &none}) {
        in_.photo = photo;
        in_.cx = 200;
        Render();
        EXPECT_EQ(state_.window, before);
        EXPECT_EQ(state_.image.size(), QSize(300, 300));
        EXPECT_EQ(test::CountOtherThan(state_.image, state_.image.rect(), kColourBlack), 0);
    }
}

// Mean difference per channel between two views of the same size.
double MeanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

TEST(PhotoLevelsTest, HalvesAverageBlocksAndStopNearTheSmallestUsefulSize) {
    QImage photo(130, 129, QImage::Format_RGB888);
    photo.fill(QColor(0, 0, 0));
    photo.setPixel(0, 0, qRgb(200, 40, 4));
    photo.setPixel(1, 1, qRgb(200, 40, 4));
    photo.setPixel(129, 128, qRgb(9, 90, 255));  // the odd last row is its own block
    const PhotoLevels levels = MakePhotoLevels(photo);
    EXPECT_EQ(levels.photoKey, photo.cacheKey());
    ASSERT_EQ(levels.halves.size(), 1u);  // 65 x 65; a 33 x 33 copy would be too small
    const QImage& half = levels.halves[0];
    EXPECT_EQ(half.size(), QSize(65, 65));
    EXPECT_EQ(half.format(), QImage::Format_RGB32);
    EXPECT_EQ(half.pixel(0, 0), qRgb(100, 20, 2));
    EXPECT_EQ(half.pixel(64, 64), qRgb(5, 45, 128));  // (9 + 0) / 2, rounded
    EXPECT_EQ(half.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_TRUE(MakePhotoLevels(QImage()).halves.empty());
}

// Each copy painted its own colour shows which one a view was scaled from.
TEST_F(PcbViewTest, ZoomedOutViewsScaleFromTheSmallestCopyThatIsLargeEnough) {
    photo_ = Plain(3010, 2000, MakeColour(0, 0, 0));
    PhotoLevels levels = MakePhotoLevels(photo_);
    ASSERT_EQ(levels.halves.size(), 4u);  // 1505, 753, 377, 189 wide
    for (size_t k = 0; k < levels.halves.size(); ++k)
        levels.halves[k].fill(QColor(static_cast<int>(k + 1) * 50, 0, 0));
    in_.levels = &levels;
    in_.px0 = in_.py0 = -100000;  // no crosshair
    struct Case {
        float zoom;
        int width, height;
        int level;  // 0: the photograph itself
    };
    const Case cases[] = {
        {1, 300, 300, 2},     // window 3010 x 2000: 752 x 500 in the second copy
        {1, 200, 120, 3},     // 376 x 250 in the third; the fourth is 188 wide
        {1, 640, 640, 1},     // 1505 x 1000; the second copy would be 500 high
        {1.5f, 640, 640, 1},  // window 2007 x 2000
        {3, 300, 300, 1},     // 1003 x 1003: the second copy would be 250
        {5, 300, 300, 1},     // 602: just enough for one halving
        {6, 300, 300, 0},     // 502: not enough
        {10, 300, 300, 0},    // zoomed in: always the photograph
    };
    for (const Case& c : cases) {
        in_.zoom = c.zoom;
        in_.width = c.width;
        in_.height = c.height;
        Render();
        EXPECT_EQ(qRed(state_.image.pixel(c.width / 2, c.height / 2)), c.level * 50)
            << "zoom " << c.zoom << " view " << c.width << "x" << c.height;
    }
    // Copies of another picture are not used.
    levels.photoKey = QImage(4, 4, QImage::Format_RGB32).cacheKey();
    in_.zoom = 1;
    in_.width = in_.height = 300;
    Render();
    EXPECT_EQ(qRed(state_.image.pixel(150, 150)), 0);
}

// Stripes a few dozen pixels apart and a gradient: a copy used at the wrong place or
// scale shows as a large mean difference.
TEST_F(PcbViewTest, ViewsFromTheCopiesLookLikeViewsFromThePhotograph) {
    photo_ = QImage(3010, 2000, QImage::Format_RGB32);
    for (int y = 0; y < photo_.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo_.scanLine(y));
        for (int x = 0; x < photo_.width(); ++x) {
            const double stripes = 127.5 + 127.5 * std::sin(x / 9.0 + y / 23.0);
            line[x] = qRgb(static_cast<int>(stripes), x * 255 / 3010, (x / 40 + y / 40) % 2 * 255);
        }
    }
    const PhotoLevels levels = MakePhotoLevels(photo_);
    struct Case {
        float zoom;
        int cx, cy, width, height;
    };
    const Case cases[] = {
        {1, 1505, 1000, 300, 300}, {1, 1505, 1000, 640, 640},   {1.3f, 700, 1500, 464, 464},
        {2, 2900, 100, 300, 200},  {4.5f, 1001, 999, 300, 300},
    };
    for (const Case& c : cases) {
        in_.zoom = c.zoom;
        in_.cx = c.cx;
        in_.cy = c.cy;
        in_.width = c.width;
        in_.height = c.height;
        in_.px0 = in_.py0 = -100000;
        in_.levels = nullptr;
        Render();
        const QImage direct = state_.image;
        in_.levels = &levels;
        Render();
        EXPECT_LT(MeanDifference(state_.image, direct), 6.0) << "zoom " << c.zoom;
    }
}

TEST_F(PcbViewTest, ClickOnAPinMakesItCurrentAndElsewhereTogglesTheWholeBoard) {
    const Rect area{846, 235, 300, 300};
    pins_ = {
        PcbPin{1, 0, 0, "", false, false, false},
        PcbPin{4, 900, 900, "Good", true, false, false},
        PcbPin{5, 903, 903, "Good", true, false, false},
        PcbPin{6, 1100, 1100, "Good", true, false, false},
    };
    Render();

    // On the marker of row 4 (view 50, 50): row 5 is also within 5 pixels but later.
    PcbClickResult hit = PcbViewClick(state_, 846 + 50, 235 + 50, area, pins_);
    EXPECT_EQ(hit.row, 4);
    EXPECT_FALSE(hit.toggledWholeBoard);
    // Within the 10 x 10 box around the click, not beyond.
    EXPECT_EQ(PcbViewClick(state_, 846 + 255, 235 + 255, area, pins_).row, 6);
    EXPECT_EQ(PcbViewClick(state_, 846 + 256, 235 + 250, area, pins_).row, 0);
    EXPECT_TRUE(state_.wholeBoard);  // that miss showed the whole board

    // Empty board: whole board, then back to the zoomed view.
    state_.wholeBoard = false;
    hit = PcbViewClick(state_, 846 + 200, 235 + 20, area, pins_);
    EXPECT_EQ(hit.row, 0);
    EXPECT_TRUE(hit.toggledWholeBoard);
    EXPECT_TRUE(state_.wholeBoard);
    Render();
    EXPECT_EQ(state_.window, (CropWindow{0, 3010, 0, 2000}));
    hit = PcbViewClick(state_, 846 + 200, 235 + 20, area, pins_);
    EXPECT_TRUE(hit.toggledWholeBoard);
    EXPECT_FALSE(state_.wholeBoard);
    Render();
    EXPECT_EQ(state_.window, (CropWindow{850, 1150, 850, 1150}));

    // On the whole board a pin is found through the wide window, and zooms back in.
    state_.wholeBoard = true;
    Render();
    const int u = static_cast<int>(900.0 / 3010 * 300 + 0.5);
    const int v = static_cast<int>(900.0 / 2000 * 300 + 0.5);
    hit = PcbViewClick(state_, 846 + u, 235 + v, area, pins_);
    EXPECT_EQ(hit.row, 4);
    EXPECT_FALSE(state_.wholeBoard);

    // A view without size ignores clicks.
    const bool flag = state_.wholeBoard;
    hit = PcbViewClick(state_, 846, 235, Rect{846, 235, 0, 300}, pins_);
    EXPECT_EQ(hit.row, 0);
    EXPECT_FALSE(hit.toggledWholeBoard);
    EXPECT_EQ(state_.wholeBoard, flag);
}

}  // namespace
}  // namespace orv
