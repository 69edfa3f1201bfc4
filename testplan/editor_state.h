#pragma once
// What the record editor works with and keeps between its openings: the image view it
// shows, the pin marker, the prompt over the photograph and the placement under way.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "testplan/test_plan.h"

namespace orv {

// A position on the board photograph, in image pixels.
struct ImagePoint {
    int x = 0;
    int y = 0;
    bool operator==(const ImagePoint&) const = default;
};

// Placement modes, as the editor holds them.
inline constexpr std::string_view kPlacePins = "PINS";
inline constexpr std::string_view kPlacePinToPin = "PINTOPIN";
inline constexpr std::array<std::string_view, 4> kPlaceRows = {"1ROW", "2ROW", "3ROW", "4ROW"};

struct PlacementState {
    std::string mode;        // one of the modes above; empty before the first placement
    int step = 0;            // 0: no placement under way
    int pinCounter = 0;      // the next pin number to place
    std::array<int, 4> q{};  // pins per row; First and Last for PINTOPIN
    // The records this placement inserted: `made` rows from `firstMade` on, and the
    // plan's revision after its last click. While the revision is still that one
    // nothing else has touched the plan, so the block can be taken out again.
    int firstMade = 0;
    int made = 0;
    std::uint64_t revisionAfter = 0;
    bool scattered = false;  // the block is no longer known for sure
};

struct EditorState {
    std::string imageFile;  // normally the header's image cell
    int viewX = 0;          // centre of the shown part of the image, image pixels
    int viewY = 0;
    float zoom = 1;  // 1 shows the whole image
    ImagePoint marker;
    std::string statusCopy;
    std::string signatureCopy;
    std::string prompt;  // drawn over the photograph; empty for none
    PlacementState placement;
    int zoomWindowStep = 0;  // 0 none, 1 and 2 wait for the first and second corner
    ImagePoint zoomCorner;   // the first corner, while step 2 waits
    bool movePin = false;    // the next image click moves the current pin
};

// The part of the photograph the editor's picture shows, and the photograph's size;
// clicks on the picture are mapped back through it.
struct ShownImage {
    int left = 0;  // image pixels
    int right = 0;
    int top = 0;
    int bottom = 0;
    int width = 0;  // of the whole photograph
    int height = 0;
};

// Where the picture lies in the window, in window pixels.
struct PictureArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The row's Test X and Test Y: where its pin lies on the photograph.
ImagePoint RecordPin(const TestPlan& plan, int row);

// Status, image file, view, zoom, marker and signature copy from the current record
// (the image file always from the header).
void LoadEditorState(const TestPlan& plan, int testPlanIndex, EditorState& editor);

}  // namespace orv
