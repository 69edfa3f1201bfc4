#include "testplan/editor_view.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "testplan/cell_numbers.h"

namespace orv {
namespace {

TEST(EditorViewTest, ZoomButtonsRoundHalvesToEvenAndStayWithin1To25) {
    struct Case {
        const char* button;
        std::function<void(EditorState&)> press;
        float from;
        float to;
    };
    const Case cases[] = {
        {"ZOOM +", ZoomIn, 2.5f, 3},    {"ZOOM +", ZoomIn, 3.5f, 5}, {"ZOOM +", ZoomIn, 1, 2},
        {"ZOOM +", ZoomIn, 24.5f, 25},  {"ZOOM +", ZoomIn, 25, 25},  {"ZOOM +", ZoomIn, 40, 25},
        {"ZOOM +", ZoomIn, 0.3f, 1},    {"ZOOM -", ZoomOut, 1, 1},   {"ZOOM -", ZoomOut, 2.5f, 1},
        {"ZOOM -", ZoomOut, 3.5f, 3},   {"ZOOM -", ZoomOut, 25, 24}, {"ZOOM -", ZoomOut, 0.2f, 1},
        {"ZOOM ALL", ZoomAll, 7.5f, 1},
    };
    for (const Case& c : cases) {
        EditorState editor;
        editor.zoom = c.from;
        editor.viewX = 123;
        editor.viewY = 45;
        c.press(editor);
        EXPECT_EQ(editor.zoom, c.to) << c.button << " from " << c.from;
        EXPECT_EQ(editor.viewX, 123) << c.button;
        EXPECT_EQ(editor.viewY, 45) << c.button;
    }
}

TEST(EditorViewTest, PanningMovesATenthOfTheShownPartWithinTheImage) {
    struct Case {
        const char* name;
        PanDirection direction;
        int width;
        int height;
        float zoom;
        ImagePoint from;
        ImagePoint to;
    };
    using enum PanDirection;
    const Case cases[] = {
        {"left at zoom 2", Left, 2000, 1000, 2, {1000, 500}, {900, 500}},
        {"left stops at 1", Left, 2000, 1000, 2, {50, 500}, {1, 500}},
        {"right stops at the width", Right, 2000, 1000, 2, {1950, 500}, {2000, 500}},
        {"up uses the height", Up, 2000, 1000, 2, {1000, 500}, {1000, 450}},
        {"down stops at the height", Down, 2000, 1000, 2, {1000, 980}, {1000, 1000}},
        {"a step of 2.5 goes to 2", Left, 25, 25, 1, {10, 10}, {8, 10}},
        {"a step of 3.5 goes to 4", Right, 35, 35, 1, {10, 10}, {14, 10}},
        {"a zoom near 0 counts as 0.01", Left, 2000, 1000, 0, {1000, 500}, {1, 500}},
        {"an image without pixels", Right, 0, 0, 1, {10, 10}, {1, 10}},
    };
    for (const Case& c : cases) {
        EditorState editor;
        editor.zoom = c.zoom;
        editor.viewX = c.from.x;
        editor.viewY = c.from.y;
        Pan(editor, c.direction, c.width, c.height);
        EXPECT_EQ((ImagePoint{editor.viewX, editor.viewY}), c.to) << c.name;
        EXPECT_EQ(editor.zoom, std::max(c.zoom, 0.01f)) << c.name;
    }
}

TEST(EditorViewTest, CentreIsTheMiddleOfTheImageAtLeast1) {
    struct Case {
        int width;
        int height;
        ImagePoint centre;
    };
    for (const Case& c : std::initializer_list<Case>{
             {2001, 1001, {1000, 500}}, {640, 480, {320, 240}}, {1, 1, {1, 1}}, {0, 0, {1, 1}}}) {
        EditorState editor;
        editor.viewX = 77;
        CentreView(editor, c.width, c.height);
        EXPECT_EQ((ImagePoint{editor.viewX, editor.viewY}), c.centre) << c.width;
    }
}

TEST(EditorViewTest, WindowPointsMapToImagePixelsEdgesIncluded) {
    struct Case {
        ShownImage shown;
        PictureArea area;
        int mouseX;
        int mouseY;
        bool inside;
        ImagePoint point;
    };
    const ShownImage board{0, 1000, 0, 500, 1000, 500};
    const PictureArea picture{10, 10, 640, 640};
    const Case cases[] = {
        {board, picture, 10, 10, true, {0, 0}},
        {board, picture, 650, 650, true, {1000, 500}},
        {board, picture, 330, 330, true, {500, 250}},
        {board, picture, 651, 330, false, {}},
        {board, picture, 330, 9, false, {}},
        {{0, 1, 0, 1, 1, 1}, {0, 0, 2, 2}, 1, 1, true, {1, 1}},      // 0.5 goes up
        {{-1, 0, -1, 0, 1, 1}, {0, 0, 2, 2}, 1, 1, true, {-1, -1}},  // -0.5 goes down
        {{200, 300, 50, 150, 1000, 500}, picture, 74, 138, true, {210, 70}},
        {board, {10, 10, 0, 640}, 10, 10, false, {}},
    };
    for (const Case& c : cases) {
        ImagePoint point{-99, -99};
        EXPECT_EQ(ImagePointAt(c.shown, c.area, c.mouseX, c.mouseY, point), c.inside)
            << c.mouseX << ", " << c.mouseY;
        if (c.inside) {
            EXPECT_EQ(point, c.point) << c.mouseX << ", " << c.mouseY;
        }
    }
}

TEST(EditorViewTest, TheZoomWindowTakesTwoCornersAndFitsTheSmallerRatio) {
    struct Case {
        const char* name;
        ImagePoint first;
        ImagePoint second;
        int width;
        int height;
        float zoom;
        ImagePoint centre;
    };
    const Case cases[] = {
        {"ratios 10 and 10", {100, 100}, {300, 200}, 2000, 1000, 10, {200, 150}},
        {"corners either way round", {300, 200}, {100, 100}, 2000, 1000, 10, {200, 150}},
        {"the smaller ratio", {100, 100}, {300, 400}, 2000, 1000, 10.0f / 3, {200, 250}},
        {"no width: the height decides", {100, 100}, {100, 300}, 2000, 1000, 5, {100, 200}},
        {"a single point: the limit", {100, 100}, {100, 100}, 2000, 1000, 25, {100, 100}},
        {"at most 25", {0, 0}, {10, 10}, 2000, 1000, 25, {5, 5}},
        {"an image of unknown size keeps the view", {0, 0}, {10, 10}, 0, 0, 3, {64, 48}},
    };
    for (const Case& c : cases) {
        EditorState editor;
        editor.zoom = 3;
        editor.viewX = 64;
        editor.viewY = 48;
        ZoomWindowClick(editor, c.first, c.width, c.height);  // not started: nothing
        EXPECT_EQ(editor.zoomWindowStep, 0);
        BeginZoomWindow(editor);
        EXPECT_EQ(editor.prompt, "Click on top-left corner of Component");
        ZoomWindowClick(editor, c.first, c.width, c.height);
        EXPECT_EQ(editor.zoomWindowStep, 2) << c.name;
        EXPECT_EQ(editor.prompt, "Click on bottom-right corner of Component") << c.name;
        EXPECT_EQ(editor.zoom, 3) << c.name;
        ZoomWindowClick(editor, c.second, c.width, c.height);
        EXPECT_EQ(editor.zoomWindowStep, 0) << c.name;
        EXPECT_EQ(editor.prompt, "") << c.name;
        EXPECT_FLOAT_EQ(editor.zoom, c.zoom) << c.name;
        EXPECT_EQ((ImagePoint{editor.viewX, editor.viewY}), c.centre) << c.name;
    }
}

TEST(EditorViewTest, MovePinPutsTheCurrentRecordsPinWhereTheNextClickIs) {
    TestPlan plan;
    ResizeTable(plan, 2, kPlanColumns);
    SetCell(plan, 2, column::kPin, "7");
    SetCell(plan, 2, column::kTestX, "5");
    SetCell(plan, 2, column::kTestY, "6");
    EditorState editor;
    editor.marker = {5, 6};

    BeginMovePin(plan, 1, editor);  // the header has no pin
    EXPECT_FALSE(editor.movePin);
    EXPECT_EQ(editor.marker, (ImagePoint{5, 6}));
    BeginMovePin(plan, 2, editor);
    EXPECT_TRUE(editor.movePin);
    EXPECT_EQ(editor.marker, (ImagePoint{0, 0}));
    EXPECT_EQ(editor.prompt, "Move Pin: Click on new location for Pin 7");

    MovePinClick(plan, 2, editor, {333, 444});
    EXPECT_FALSE(editor.movePin);
    EXPECT_EQ(editor.prompt, "");
    EXPECT_EQ(editor.marker, (ImagePoint{333, 444}));
    EXPECT_EQ(Cell(plan, 2, column::kTestX), "333");
    EXPECT_EQ(Cell(plan, 2, column::kTestY), "444");

    MovePinClick(plan, 2, editor, {1, 1});  // no move under way
    EXPECT_EQ(Cell(plan, 2, column::kTestX), "333");
}

TEST(EditorViewTest, AClickSelectsTheFirstPinWithinFivePixels) {
    TestPlan plan;
    ResizeTable(plan, 4, kPlanColumns);
    const ImagePoint pins[] = {{100, 100}, {105, 100}, {300, 300}};  // rows 2 to 4
    for (int i = 0; i < 3; ++i) {
        SetCell(plan, i + 2, column::kTestX, std::to_string(pins[i].x));
        SetCell(plan, i + 2, column::kTestY, std::to_string(pins[i].y));
    }
    // One image pixel per window pixel, the picture at (10, 10).
    const ShownImage shown{0, 640, 0, 640, 640, 640};
    const PictureArea area{10, 10, 640, 640};
    struct Case {
        int mouseX;
        int mouseY;
        bool selects;
        int row;
    };
    const Case cases[] = {
        {110, 110, true, 2},                         // both within reach: the first row wins
        {120, 110, true, 3},                         // 5 pixels off, on the box's edge
        {121, 110, false, 9},                        // 6 pixels off
        {305, 315, true, 4},  {400, 400, false, 9},  // nothing there: the record stays
        {700, 110, false, 9},                        // outside the picture
    };
    for (const Case& c : cases) {
        PlanPosition position;
        position.TestPlanIndex = 9;
        EXPECT_EQ(SelectPinAt(plan, position, shown, area, c.mouseX, c.mouseY), c.selects)
            << c.mouseX << ", " << c.mouseY;
        EXPECT_EQ(position.TestPlanIndex, c.row) << c.mouseX << ", " << c.mouseY;
        EXPECT_EQ(position.RecordChanged, c.selects);
    }
}

}  // namespace
}  // namespace orv
