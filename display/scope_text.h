#pragma once
// Text on scope images: one small sans-serif font, drawn in an opaque black cell,
// upright or turned by 270 degrees (reading top to bottom, glyph tops to the right).

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <string_view>

#include "core/colours.h"

namespace orv {

inline constexpr int kScopeFontPixelSize = 13;

QFont ScopeFont();

struct TextSize {
    int width = 0;
    int height = 0;
};

TextSize MeasureScopeText(const QString& text);

// The text with its cell's top-left corner at (x, y) before turning. Turned text
// runs downward from (x, y) and its body lies left of x.
void DrawScopeText(QPainter& painter, int x, int y, const QString& text, ColourNumber colour,
                   bool turned = false);

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace orv
