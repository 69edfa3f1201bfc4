#pragma once
// The board photograph of a report: found from the working directory or beside the
// plan, scaled down to a page's width, with a marker on every pin in the board view's
// colours and shapes and the Bad pins named. The markers and names are drawn over the
// picture as vector graphics, so they stay sharp in print and at any zoom.

#include <QImage>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/colours.h"
#include "report/test_report.h"

namespace orv {

// Longest side of the embedded picture: sharp on an A4 page, small in the file.
inline constexpr int kBoardPictureSide = 1600;

struct BoardMarker {
    int u = 0;  // the pin, in picture pixels
    int v = 0;
    bool square = false;               // pin 1 of a component
    std::optional<ColourNumber> fill;  // nothing: only the black outline
};

struct BoardLabel {
    int u = 0;
    int v = 0;
    std::string text;  // "U2.8"
};

struct BoardPicture {
    int width = 0;
    int height = 0;
    int markerRadius = 6;
    std::string jpeg;
    std::vector<BoardMarker> markers;  // in plan order, later ones on top
    std::vector<BoardLabel> labels;    // one per Bad record on the photograph
};

struct BoardPhoto {
    std::optional<QImage> image;
    std::string problem;  // why there is none, for the report and the command line
};

// The photograph named in the plan's header: the stored name as the program opens it
// (from the working directory), else from the plan's folder or the folder above it,
// where a plan is usually kept below its working directory.
BoardPhoto LoadBoardPhoto(std::string_view storedName, std::string_view planPath);

std::optional<BoardPicture> DrawBoardPicture(const QImage& photo,
                                             const std::vector<ReportRecord>& records,
                                             int longestSide = kBoardPictureSide);

}  // namespace orv
