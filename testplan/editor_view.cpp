#include "testplan/editor_view.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "testplan/cell_numbers.h"
#include "testplan/editor_rounding.h"

namespace orv {

namespace {

// Within 1..size; 1 also for an image without pixels.
int WithinImage(std::int64_t value, int size) {
    return SaturateToInt(std::max<std::int64_t>(1, std::min<std::int64_t>(value, size)));
}

// The image pixel under a window position, inside the picture or not.
ImagePoint MapToImage(const ShownImage& shown, const PictureArea& area, int mouseX, int mouseY) {
    const auto through = [](int low, int high, int offset, int extent) {
        const float fraction = static_cast<float>(offset) / static_cast<float>(extent);
        const float spread = static_cast<float>(std::int64_t{high} - low);
        return RoundPixel(static_cast<float>(low) + fraction * spread);
    };
    return {through(shown.left, shown.right, mouseX - area.x, area.width),
            through(shown.top, shown.bottom, mouseY - area.y, area.height)};
}

bool InsidePicture(const PictureArea& area, int mouseX, int mouseY) {
    if (area.width < 1 || area.height < 1)
        return false;
    const std::int64_t x = mouseX, y = mouseY;
    return x >= area.x && x <= std::int64_t{area.x} + area.width && y >= area.y &&
           y <= std::int64_t{area.y} + area.height;
}

bool IsRecord(const TestPlan& plan, int row) {
    return row >= kFirstRecordRow && row <= RowCount(plan);
}

}  // namespace

void ZoomIn(EditorState& editor) {
    const float zoom = std::isnan(editor.zoom) ? 1.0f : editor.zoom;
    editor.zoom = std::min(std::nearbyint(zoom) + 1, kMaxEditorZoom);
}

void ZoomOut(EditorState& editor) {
    const float zoom = std::isnan(editor.zoom) ? 1.0f : editor.zoom;
    editor.zoom = std::max(std::nearbyint(zoom) - 1, 1.0f);
}

void ZoomAll(EditorState& editor) {
    editor.zoom = 1;
}

void Pan(EditorState& editor, PanDirection direction, int width, int height) {
    if (editor.zoom < 0.01f)
        editor.zoom = 0.01f;
    const bool across = direction == PanDirection::Left || direction == PanDirection::Right;
    const int size = across ? width : height;
    const std::int64_t step = RoundToInteger(static_cast<double>(size) / editor.zoom * 0.1);
    const bool back = direction == PanDirection::Left || direction == PanDirection::Up;
    int& centre = across ? editor.viewX : editor.viewY;
    // Steps beyond any image are cut before they are added.
    const std::int64_t move =
        std::clamp<std::int64_t>(step, -(std::int64_t{1} << 40), std::int64_t{1} << 40);
    centre = WithinImage(std::int64_t{centre} + (back ? -move : move), size);
}

void CentreView(EditorState& editor, int width, int height) {
    editor.viewX = WithinImage(width / 2, width);
    editor.viewY = WithinImage(height / 2, height);
}

bool ImagePointAt(const ShownImage& shown, const PictureArea& area, int mouseX, int mouseY,
                  ImagePoint& point) {
    if (!InsidePicture(area, mouseX, mouseY))
        return false;
    point = MapToImage(shown, area, mouseX, mouseY);
    return true;
}

void BeginZoomWindow(EditorState& editor) {
    editor.zoomWindowStep = 1;
    editor.prompt = "Click on top-left corner of Component";
}

void ZoomWindowClick(EditorState& editor, ImagePoint point, int imageWidth, int imageHeight) {
    if (editor.zoomWindowStep == 1) {
        editor.zoomCorner = point;
        editor.zoomWindowStep = 2;
        editor.prompt = "Click on bottom-right corner of Component";
        return;
    }
    if (editor.zoomWindowStep != 2)
        return;
    editor.zoomWindowStep = 0;
    editor.prompt.clear();
    const ImagePoint first = editor.zoomCorner;
    const auto ratio = [](int size, std::int64_t extent) {
        return extent == 0 ? std::numeric_limits<double>::infinity()
                           : static_cast<double>(size) / static_cast<double>(extent);
    };
    const double zoom = std::min(ratio(imageWidth, std::abs(std::int64_t{point.x} - first.x)),
                                 ratio(imageHeight, std::abs(std::int64_t{point.y} - first.y)));
    // An image of unknown size gives no zoom; the view is left as it was.
    if (!(zoom > 0))
        return;
    editor.zoom = static_cast<float>(std::min(zoom, static_cast<double>(kMaxEditorZoom)));
    editor.viewX = SaturateToInt((std::int64_t{first.x} + point.x) / 2);
    editor.viewY = SaturateToInt((std::int64_t{first.y} + point.y) / 2);
}

void BeginMovePin(const TestPlan& plan, int testPlanIndex, EditorState& editor) {
    if (!IsRecord(plan, testPlanIndex))
        return;
    editor.marker = {0, 0};
    editor.prompt =
        "Move Pin: Click on new location for Pin " + Cell(plan, testPlanIndex, column::kPin);
    editor.movePin = true;
}

void MovePinClick(TestPlan& plan, int testPlanIndex, EditorState& editor, ImagePoint point) {
    if (!editor.movePin)
        return;
    // The header is no pin: its image cells must not change here.
    if (IsRecord(plan, testPlanIndex)) {
        SetCell(plan, testPlanIndex, column::kTestX, IntegerText(point.x));
        SetCell(plan, testPlanIndex, column::kTestY, IntegerText(point.y));
    }
    editor.marker = point;
    editor.prompt.clear();
    editor.movePin = false;
}

bool CancelViewClicks(const TestPlan& plan, int testPlanIndex, EditorState& editor) {
    if (editor.zoomWindowStep == 0 && !editor.movePin)
        return false;
    if (editor.movePin)
        editor.marker = RecordPin(plan, testPlanIndex);
    editor.zoomWindowStep = 0;
    editor.movePin = false;
    editor.prompt.clear();
    return true;
}

bool SelectPinAt(const TestPlan& plan, PlanPosition& position, const ShownImage& shown,
                 const PictureArea& area, int mouseX, int mouseY) {
    if (!InsidePicture(area, mouseX, mouseY))
        return false;
    const ImagePoint a = MapToImage(shown, area, mouseX - 5, mouseY - 5);
    const ImagePoint b = MapToImage(shown, area, mouseX + 5, mouseY + 5);
    const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    for (int row = 1; row <= RowCount(plan); ++row) {
        const std::int64_t x = IntegerCell(plan, row, column::kTestX);
        const std::int64_t y = IntegerCell(plan, row, column::kTestY);
        if (x >= left && x <= right && y >= top && y <= bottom) {
            position.TestPlanIndex = row;
            position.RecordChanged = true;
            return true;
        }
    }
    return false;
}

}  // namespace orv
