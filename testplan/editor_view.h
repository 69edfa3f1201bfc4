#pragma once
// The record editor's image view: zoom and pan buttons, the zoom window drawn with two
// clicks, clicks mapped to image pixels, and selecting a pin by clicking it.

#include "testplan/editor_state.h"
#include "testplan/navigation.h"
#include "testplan/test_plan.h"

namespace orv {

inline constexpr float kMaxEditorZoom = 25;

void ZoomIn(EditorState& editor);   // the zoom rounded (halves to even) + 1, at most 25
void ZoomOut(EditorState& editor);  // the zoom rounded - 1, at least 1
void ZoomAll(EditorState& editor);  // 1; the centre stays

enum class PanDirection { Left, Right, Up, Down };
// Moves the centre a tenth of the shown width or height of an image of width x height,
// kept within 1..width and 1..height.
void Pan(EditorState& editor, PanDirection direction, int width, int height);
void CentreView(EditorState& editor, int width, int height);

// The image pixel under a window point; false when the point lies outside the picture
// (its edges count as inside).
bool ImagePointAt(const ShownImage& shown, const PictureArea& area, int mouseX, int mouseY,
                  ImagePoint& point);

// "SELECT ZOOM WINDOW": waits for the first corner.
void BeginZoomWindow(EditorState& editor);
// A corner click while the zoom window waits; the second sets zoom and centre (both
// stay for an image of unknown size).
void ZoomWindowClick(EditorState& editor, ImagePoint point, int imageWidth, int imageHeight);

// "Move Pin": the next click moves the current record's pin; nothing on the header.
void BeginMovePin(const TestPlan& plan, int testPlanIndex, EditorState& editor);
void MovePinClick(TestPlan& plan, int testPlanIndex, EditorState& editor, ImagePoint point);

// Escape: the zoom window and Move Pin stop waiting for their clicks, the prompt goes
// and the marker is back on the current pin. False when neither was waiting.
bool CancelViewClicks(const TestPlan& plan, int testPlanIndex, EditorState& editor);

// The first row whose pin lies within 5 window pixels of the mouse becomes current;
// true when one did.
bool SelectPinAt(const TestPlan& plan, PlanPosition& position, const ShownImage& shown,
                 const PictureArea& area, int mouseX, int mouseY);

}  // namespace orv
