#pragma once
// The board photograph, cropped to a square window around the current pin and
// scaled to the view, with a marker on every pin in the window and a crosshair on the
// current one. The photograph comes in decoded; whoever holds it keeps it between
// renderings, so a large file is decoded once.

#include <QImage>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/colours.h"
#include "display/grid_layout.h"

namespace orv {

inline constexpr std::string_view kNoImageFile = "graphics/noimage.png";
inline constexpr float kMinPcbZoom = 0.01f;
inline constexpr float kMaxPcbZoom = 100.0f;

inline constexpr ColourNumber kMarkerGood = kColourGreen;
inline constexpr ColourNumber kMarkerBad = kColourRed;
inline constexpr ColourNumber kMarkerUntested = kColourYellow;
inline constexpr ColourNumber kMarkerNoTest = kColourGreyGreen;
inline constexpr ColourNumber kMarkerNoSignature = kColourPink;

// The file to decode for a plan's image name: the placeholder when there is none.
inline std::string_view PcbImageFile(std::string_view planImageName) {
    return planImageName.empty() ? kNoImageFile : planImageName;
}

// One test plan row as the board view sees it.
struct PcbPin {
    int row = 0;
    int x = 0;               // pin position on the photograph, column 17
    int y = 0;               // column 18
    std::string result;      // column 9
    bool hasGolden = false;  // column 30 is "Yes"
    bool pinOne = false;     // column 11 is "1": drawn as a square
    bool deleted = false;    // column 1 is "delete": no marker
};

// The crop window in photograph pixels: x1 .. x2 across, y1 .. y2 down.
struct CropWindow {
    int x1 = 0;
    int x2 = 0;
    int y1 = 0;
    int y2 = 0;
    bool operator==(const CropWindow&) const = default;
};

// Reduced copies of a photograph, each half as wide and high as the one before, made
// once with the decoded photograph: a zoomed-out view is scaled from the smallest copy
// that still has a pixel for every view pixel instead of from the whole photograph.
struct PhotoLevels {
    qint64 photoKey = 0;         // QImage::cacheKey() of the photograph they were made from
    std::vector<QImage> halves;  // halves[0] is half the photograph's size, in RGB32
};

// Halves the photograph by averaging 2 x 2 blocks (an odd last column or row is
// averaged with itself) until a further half would be under kPhotoLevelMinSide.
PhotoLevels MakePhotoLevels(const QImage& photo);
inline constexpr int kPhotoLevelMinSide = 64;

struct PcbViewState {
    bool wholeBoard = false;  // show the whole photograph instead of the record's window
    CropWindow window;        // of the last rendering; clicks are mapped through it
    QImage image;             // what the view shows
};

struct PcbViewInput {
    int width = 0;  // view area
    int height = 0;
    int cx = 0;  // view centre on the photograph
    int cy = 0;
    float zoom = 1;
    int px0 = 0;  // current pin
    int py0 = 0;
    std::string imageName;                 // as stored in the plan; empty gives zoom 1
    const QImage* photo = nullptr;         // decoded from PcbImageFile(imageName); null or empty
                                           // when that failed
    std::string crosshairType = "1 line";  // "3 line" adds black flanks
    std::span<const PcbPin> pins;          // in row order; later rows drawn on top
    // Reduced copies of *photo; null, or made from another picture, scales from the
    // photograph itself (the same view, slower when zoomed out).
    const PhotoLevels* levels = nullptr;
};

// The square window of side s = (longer side / zoom) around (cx, cy), rounded halves
// to even, shifted inside the photograph and at least one pixel wide and high.
CropWindow ComputeCropWindow(int imageWidth, int imageHeight, int cx, int cy, float zoom);

// The pins that get a marker, in row order: no deleted ones, and of several pins of the
// same shape at the same place only the last, whose marker covers the others. A plan
// of many rows at few places (2 million empty rows are all at 0, 0) draws few markers.
std::vector<PcbPin> PinsToDraw(std::span<const PcbPin> pins);

// The pins a click can find, in row order: of several at the same place only the
// first, the one a click there finds.
std::vector<PcbPin> PinsToClick(std::span<const PcbPin> pins);

// Marker fill for a pin; false when it gets only the black outline.
bool MarkerColour(const PcbPin& pin, ColourNumber& colour);

// Renders into state.image. A photograph that failed to load gives an empty black
// view and leaves the stored window as it was.
void RenderPcbView(PcbViewState& state, const PcbViewInput& in);

struct PcbClickResult {
    int row = 0;  // the pin's row made current, 0 for none
    bool toggledWholeBoard = false;
};

// A left click at (mx, my) in window coordinates on the view placed at `area`: the
// first pin (in the order given) within 5 pixels becomes current and the zoomed view
// returns; a click on no pin switches between the zoomed view and the whole board.
PcbClickResult PcbViewClick(PcbViewState& state, int mx, int my, const Rect& area,
                            std::span<const PcbPin> pins);

}  // namespace orv
