#include "display/scope_text.h"

#include <QFontMetrics>

#include "display/qt_colour.h"

namespace orv {

QFont ScopeFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kScopeFontPixelSize);
    // Crisp glyphs, as small scope texts on black read best without grey fringes.
    font.setStyleHint(QFont::SansSerif, QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

TextSize MeasureScopeText(const QString& text) {
    const QFontMetrics metrics(ScopeFont());
    return TextSize{metrics.horizontalAdvance(text), metrics.height()};
}

void DrawScopeText(QPainter& painter, int x, int y, const QString& text, ColourNumber colour,
                   bool turned) {
    if (text.isEmpty())
        return;
    const QFont font = ScopeFont();
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    const int height = metrics.height();
    painter.save();
    painter.translate(x, y);
    // Qt turns clockwise on screen: 90 here is the 270 of a counter-clockwise system.
    if (turned)
        painter.rotate(90);
    painter.fillRect(0, 0, width, height, Qt::black);
    painter.setFont(font);
    painter.setPen(ToQColor(colour));
    painter.drawText(0, metrics.ascent(), text);
    painter.restore();
}

}  // namespace orv
