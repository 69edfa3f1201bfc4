#include "report/board_picture.h"

#include <filesystem>

#include "core/files.h"
#include "display/pcb_view.h"
#include "display/rounding.h"
#include "media/image_decoding.h"
#include "media/image_encoding.h"

namespace orv {

namespace {

namespace fs = std::filesystem;

constexpr int kJpegQuality = 85;

std::vector<std::string> PhotoCandidates(std::string_view storedName, std::string_view planPath) {
    const fs::path stored(NativePath(storedName));
    std::vector<std::string> candidates = {stored.string()};
    if (stored.is_absolute())
        return candidates;
    const fs::path planFolder = fs::path(NativePath(planPath)).parent_path();
    if (!planFolder.empty()) {
        candidates.push_back((planFolder / stored).string());
        candidates.push_back((planFolder.parent_path() / stored).string());
    }
    return candidates;
}

}  // namespace

BoardPhoto LoadBoardPhoto(std::string_view storedName, std::string_view planPath) {
    BoardPhoto photo;
    if (storedName.empty()) {
        photo.problem = "The test plan names no board photograph.";
        return photo;
    }
    for (const std::string& path : PhotoCandidates(storedName, planPath)) {
        if (!FileExists(path))
            continue;
        photo.image = DecodeImageFile(path);
        if (photo.image && !photo.image->isNull())
            return photo;
        photo.image.reset();
        photo.problem =
            "The board photograph " + std::string(storedName) + " is no picture that can be read.";
        return photo;
    }
    photo.problem = "The board photograph " + std::string(storedName) + " is missing.";
    return photo;
}

std::optional<BoardPicture> DrawBoardPicture(const QImage& photo,
                                             const std::vector<ReportRecord>& records,
                                             int longestSide) {
    if (photo.isNull() || longestSide < 1)
        return std::nullopt;
    const int longer = std::max(photo.width(), photo.height());
    const double scale = longer > longestSide ? static_cast<double>(longestSide) / longer : 1.0;
    BoardPicture picture;
    picture.width = std::max(1, static_cast<int>(photo.width() * scale + 0.5));
    picture.height = std::max(1, static_cast<int>(photo.height() * scale + 0.5));
    // The board view's 6-pixel markers on a view of about 800 pixels, whatever the
    // picture's size.
    picture.markerRadius = std::max(6, std::max(picture.width, picture.height) * 6 / 800);

    const QImage scaled = photo.scaled(picture.width, picture.height, Qt::IgnoreAspectRatio,
                                       Qt::SmoothTransformation);
    auto jpeg = EncodeJpeg(scaled, kJpegQuality);
    if (!jpeg)
        return std::nullopt;
    picture.jpeg = std::move(*jpeg);

    const auto place = [&](int at, int extent, int size) {
        return static_cast<int>(RoundHalfAway(static_cast<float>(at) / static_cast<float>(extent) *
                                              static_cast<float>(size)));
    };
    for (const ReportRecord& r : records) {
        if (r.deleted || r.x < 0 || r.x > photo.width() || r.y < 0 || r.y > photo.height())
            continue;
        BoardMarker marker;
        marker.u = place(r.x, photo.width(), picture.width);
        marker.v = place(r.y, photo.height(), picture.height);
        marker.square = r.pinOne;
        ColourNumber colour = kColourBlack;
        if (MarkerColour(PcbPin{r.row, r.x, r.y, r.status, r.hasGolden, r.pinOne, r.deleted},
                         colour))
            marker.fill = colour;
        picture.markers.push_back(marker);
        if (r.status == kBad)
            picture.labels.push_back({marker.u, marker.v, r.component + "." + r.pin});
    }
    return picture;
}

}  // namespace orv
