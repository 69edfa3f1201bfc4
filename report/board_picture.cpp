#include "report/board_picture.h"

#include <filesystem>

#include "core/files.h"
#include "core/image_decoding.h"
#include "core/image_encoding.h"
#include "display/pcb_view.h"
#include "display/rounding.h"

namespace orv {

namespace {

namespace fs = std::filesystem;

constexpr int kJpegQuality = 85;
// Far outside any picture: the board view then draws no crosshair.
constexpr int kNoCurrentPin = -1000000;

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

    std::vector<PcbPin> pins;
    pins.reserve(records.size());
    for (const ReportRecord& r : records) {
        pins.push_back({r.row, r.x, r.y, r.status, r.hasGolden, r.pinOne, r.deleted});
    }
    // The board view of the whole board, so the markers are the window's own.
    PcbViewState view;
    view.wholeBoard = true;
    PcbViewInput in;
    in.width = picture.width;
    in.height = picture.height;
    in.imageName = "board";
    in.photo = &photo;
    in.px0 = kNoCurrentPin;
    in.py0 = kNoCurrentPin;
    in.pins = pins;
    RenderPcbView(view, in);

    const CropWindow& w = view.window;
    for (const ReportRecord& r : records) {
        if (r.status != kBad || r.deleted || r.x < w.x1 || r.x > w.x2 || r.y < w.y1 || r.y > w.y2)
            continue;
        const float u = static_cast<float>(r.x - w.x1) / static_cast<float>(w.x2 - w.x1) *
                        static_cast<float>(picture.width);
        const float v = static_cast<float>(r.y - w.y1) / static_cast<float>(w.y2 - w.y1) *
                        static_cast<float>(picture.height);
        picture.labels.push_back({static_cast<int>(RoundHalfAway(u)),
                                  static_cast<int>(RoundHalfAway(v)), r.component + "." + r.pin});
    }
    auto jpeg = EncodeJpeg(view.image, kJpegQuality);
    if (!jpeg)
        return std::nullopt;
    picture.jpeg = std::move(*jpeg);
    return picture;
}

}  // namespace orv
