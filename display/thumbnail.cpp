#include "display/thumbnail.h"

#include <QPainter>

#include "display/qt_colour.h"
#include "display/rounding.h"
#include "display/scope_geometry.h"
#include "display/scope_labels.h"
#include "display/scope_text.h"
#include "display/signature_trace.h"

namespace orv {

namespace {

constexpr std::int64_t kThumbnailDefaultOhms = 10000;

// Centred at half the area (integer division) less half the text (a float), the sum
// rounded halves to even.
int CentredX(int areaWidth, int textWidth) {
    return static_cast<int>(
        RoundHalfEven(static_cast<float>(areaWidth / 2) - static_cast<float>(textWidth) / 2.0f));
}

void DrawCornerText(QPainter& painter, int width, const QString& text, ColourNumber colour) {
    DrawScopeText(painter, width - MeasureScopeText(text).width, 0, text, colour);
}

}  // namespace

std::string ThumbnailSettingsLine(std::int64_t v, std::int64_t r, std::int64_t f) {
    std::string line = "Vpk=";
    line += v >= 1000 ? std::to_string(v / 1000) + "V, " : std::to_string(v) + "mV, ";
    line += "Z=";
    line += r >= 1000 ? std::to_string(r / 1000) + "kohms, " : std::to_string(r) + "ohms, ";
    line += "f=";
    line += f >= 1000 ? std::to_string(f / 1000) + "kHz" : std::to_string(f) + "Hz";
    return line;
}

std::string WithoutFolder(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

QImage DrawThumbnail(int width, int height, int rec, int rows, std::string_view planFileName,
                     const ThumbnailRecord& record, const ThumbnailStyle& style) {
    QImage image(ScopeImageSide(width), ScopeImageSide(height), QImage::Format_RGB32);
    image.fill(ToQColor(style.background));
    const bool isRecord = rec >= 2 && rec <= rows;
    {
        QPainter painter(&image);
        if (isRecord) {
            DrawCornerText(painter, width,
                           ToQString(std::to_string(rec) + "/" + std::to_string(rows)), style.text);
        } else if (rec == rows + 1) {
            DrawCornerText(painter, width, QStringLiteral("END"), style.text);
        }
        if (rec == 1) {
            const QString name = ToQString(WithoutFolder(planFileName));
            const TextSize size = MeasureScopeText(name);
            const int x =
                static_cast<int>(RoundHalfEven(static_cast<float>(width - size.width) / 2.0f));
            DrawScopeText(painter, x, height / 2, name, style.text);
        }
    }
    if (!isRecord)
        return image;

    const ScopeGeometry g = MakeScopeGeometry(width, height);
    if (style.crosshairMode == "On") {
        QPainter painter(&image);
        painter.setPen(ToQColor(style.crosshair));
        painter.drawLine(g.left, g.cy, g.right, g.cy);
        painter.drawLine(g.cx, g.top, g.cx, g.bottom);
    }

    const std::int64_t ohms = record.sourceOhms == 0 ? kThumbnailDefaultOhms : record.sourceOhms;
    const float xRange = static_cast<float>(record.peakMillivolts) / 1000.0f;
    const float yRange = xRange / static_cast<float>(ohms);
    DrawSignatureTrace(image, width, height, kScopeMargin, style.golden, xRange, yRange,
                       record.golden);
    if (record.result == "Good" || record.result == "Bad") {
        DrawSignatureTrace(image, width, height, kScopeMargin, style.dut, xRange, yRange,
                           record.dut);
    }

    QPainter painter(&image);
    const QString settings = ToQString(
        ThumbnailSettingsLine(record.peakMillivolts, record.sourceOhms, record.frequencyHz));
    const TextSize settingsSize = MeasureScopeText(settings);
    DrawScopeText(painter, CentredX(width, settingsSize.width), height - settingsSize.height,
                  settings, style.text);
    const QString title = ToQString(ShowPoundAsComma(record.title));
    DrawScopeText(painter, CentredX(width, MeasureScopeText(title).width), 0, title, style.text);
    return image;
}

std::array<QImage, kMiniScopeCount> ComposeMiniScopes(ScopeImages& scope,
                                                      const MiniScopeSetInput& in) {
    std::array<QImage, kMiniScopeCount> images;
    for (int k = 1; k <= kMiniScopeCount; ++k) {
        const auto at = static_cast<std::size_t>(k - 1);
        const MiniScopeSize size = in.sizes[at];
        const ThumbnailRecord& record = in.records[at];
        const int rec = MiniScopeRecord(in.current, k);
        QImage image =
            DrawThumbnail(size.width, size.height, rec, in.rows, in.planFileName, record, in.style);
        if (rec >= 2 && rec <= in.rows && in.badges != nullptr) {
            const QImage* badge = PickResultBadge(*in.badges, record.hasGolden, record.result);
            if (badge != nullptr && !badge->isNull()) {
                QPainter painter(&image);
                painter.drawImage(0, 0, *badge);
            }
        }
        if (k == kCentreMiniScope) {
            scope.centreThumbnail = image;
            scope.centreMiniScope = image;
            scope.centreWidth = size.width;
            scope.centreHeight = size.height;
        }
        images[at] = image;
    }
    return images;
}

}  // namespace orv
