// Draws the program's pictures and synthesises its sound clips:
//
//     orv-make-assets <folder>
//
// writes <folder>/graphics/*.png and <folder>/sounds/*.wav. The pictures sit on the
// dark control ribbon, in the trees and on the scopes all day: flat plates in plain
// colours (green good, red bad, yellow waiting, pink no signature, grey inactive),
// one bold word or one symbol each, never larger than the size a name gives.

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <numbers>
#include <vector>

namespace {

struct Style {
    QColor fill;
    QColor edge;
    QColor ink;
};

const Style kGood{QColor(0x1f, 0xa2, 0x2e), QColor(0x0d, 0x5c, 0x17), Qt::white};
const Style kBad{QColor(0xd3, 0x20, 0x20), QColor(0x7a, 0x0e, 0x0e), Qt::white};
const Style kYellow{QColor(0xff, 0xd7, 0x00), QColor(0x9a, 0x80, 0x00), Qt::black};
const Style kPink{QColor(0xff, 0xc0, 0xcb), QColor(0xb0, 0x6a, 0x78), QColor(0x5a, 0x12, 0x28)};
const Style kNoTest{QColor(0x9a, 0x9a, 0x9a), QColor(0x5a, 0x5a, 0x5a), QColor(0x1c, 0x1c, 0x1c)};
const Style kInactive{QColor(0x4e, 0x52, 0x4e), QColor(0x33, 0x36, 0x33), QColor(0xa8, 0xac, 0xa8)};
const Style kBlock{Qt::black, QColor(0xb0, 0xb4, 0xb0), Qt::white};

QImage Canvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void Prepare(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

// A rounded plate with a soft top-to-bottom shade and a darker rim.
void DrawPlate(QPainter& painter, const QRectF& area, const Style& style, qreal radius = 4) {
    QLinearGradient shade(area.topLeft(), area.bottomLeft());
    shade.setColorAt(0, style.fill.lighter(112));
    shade.setColorAt(1, style.fill.darker(108));
    painter.setPen(QPen(style.edge, 1));
    painter.setBrush(shade);
    painter.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

QFont BoldFont(qreal pixels) {
    QFont font("Arial");
    font.setBold(true);
    font.setPixelSize(static_cast<int>(pixels));
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// The largest bold font up to `pixels` high in which `text` fits `width`.
QFont FittingFont(const QString& text, qreal width, int pixels) {
    QFont font = BoldFont(pixels);
    while (pixels > 7 && QFontMetricsF(font).horizontalAdvance(text) > width) {
        font = BoldFont(--pixels);
    }
    return font;
}

void DrawWord(QPainter& painter, const QRectF& area, const QString& text, const QColor& ink,
              int pixels = 13) {
    painter.setFont(FittingFont(text, area.width() - 4, pixels));
    painter.setPen(ink);
    painter.drawText(area, Qt::AlignCenter, text);
}

QPen GlyphPen(const QColor& ink, qreal width) {
    return QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawTick(QPainter& painter, const QRectF& box, const QColor& ink, qreal width) {
    QPainterPath tick;
    tick.moveTo(box.left() + box.width() * 0.18, box.top() + box.height() * 0.54);
    tick.lineTo(box.left() + box.width() * 0.42, box.top() + box.height() * 0.78);
    tick.lineTo(box.left() + box.width() * 0.84, box.top() + box.height() * 0.24);
    painter.setPen(GlyphPen(ink, width));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
}

void DrawCross(QPainter& painter, const QRectF& box, const QColor& ink, qreal width) {
    const QRectF inner = box.adjusted(box.width() * 0.25, box.height() * 0.25, -box.width() * 0.25,
                                      -box.height() * 0.25);
    painter.setPen(GlyphPen(ink, width));
    painter.drawLine(inner.topLeft(), inner.bottomRight());
    painter.drawLine(inner.topRight(), inner.bottomLeft());
}

// A flat trace: the signature that is not there.
void DrawFlatTrace(QPainter& painter, const QRectF& box, const QColor& ink, qreal width) {
    painter.setPen(GlyphPen(ink, width));
    const qreal y = box.center().y();
    painter.drawLine(QPointF(box.left() + box.width() * 0.2, y),
                     QPointF(box.right() - box.width() * 0.2, y));
}

// The plain "no entry" dash of a pin that is not tested.
void DrawSlash(QPainter& painter, const QRectF& box, const QColor& ink, qreal width) {
    painter.setPen(GlyphPen(ink, width));
    painter.drawLine(QPointF(box.left() + box.width() * 0.28, box.bottom() - box.height() * 0.28),
                     QPointF(box.right() - box.width() * 0.28, box.top() + box.height() * 0.28));
}

void DrawQuestionMark(QPainter& painter, const QRectF& box, const QColor& ink, int pixels) {
    painter.setFont(BoldFont(pixels));
    painter.setPen(ink);
    painter.drawText(box, Qt::AlignCenter, "?");
}

using Glyph = std::function<void(QPainter&, const QRectF&)>;

// A 72 x 23 result badge: a symbol at the left, the word beside it. A narrow symbol
// leaves the longer words more room.
QImage ResultBadge(const Style& style, const QString& word, const Glyph& glyph,
                   qreal glyphWidth = 17) {
    QImage image = Canvas(72, 23);
    QPainter painter(&image);
    Prepare(painter);
    DrawPlate(painter, QRectF(0, 0, 72, 23), style);
    glyph(painter, QRectF(3, 3, glyphWidth, 17));
    DrawWord(painter, QRectF(glyphWidth + 1, 0, 71 - glyphWidth, 23), word, style.ink);
    return image;
}

// A 23 x 23 tree icon: the symbol alone.
QImage ResultIcon(const Style& style, const Glyph& glyph) {
    QImage image = Canvas(23, 23);
    QPainter painter(&image);
    Prepare(painter);
    DrawPlate(painter, QRectF(0, 0, 23, 23), style, 4);
    if (glyph)
        glyph(painter, QRectF(2, 2, 19, 19));
    return image;
}

// A word on a plate, for the buttons of the control ribbon.
QImage WordPlate(int width, const Style& style, const QString& word) {
    QImage image = Canvas(width, 23);
    QPainter painter(&image);
    Prepare(painter);
    DrawPlate(painter, QRectF(0, 0, width, 23), style);
    DrawWord(painter, QRectF(0, 0, width, 23), word, style.ink);
    return image;
}

// The connection indicator: a lamp and the state in words.
QImage ConnectionPlate(bool connected) {
    QImage image = Canvas(70, 23);
    QPainter painter(&image);
    Prepare(painter);
    const Style plate = connected
                            ? Style{QColor(0x14, 0x4d, 0x1c), QColor(0x2e, 0x8a, 0x3a), Qt::white}
                            : Style{QColor(0x5c, 0x14, 0x14), QColor(0xa0, 0x30, 0x30), Qt::white};
    DrawPlate(painter, QRectF(0, 0, 70, 23), plate);
    const QColor lamp = connected ? QColor(0x40, 0xff, 0x50) : QColor(0xff, 0x3a, 0x3a);
    QRadialGradient glow(QPointF(11, 10.5), 6);
    glow.setColorAt(0, lamp.lighter(160));
    glow.setColorAt(1, lamp);
    painter.setPen(QPen(lamp.darker(200), 1));
    painter.setBrush(glow);
    painter.drawEllipse(QPointF(11.5, 11.5), 5.5, 5.5);
    DrawWord(painter, QRectF(19, 0, 51, 23), connected ? "Online" : "Offline", plate.ink, 13);
    return image;
}

// A probe button indicator: the button's letter in a round cap, lit while held.
QImage ProbeButtonPlate(char letter, bool held) {
    QImage image = Canvas(70, 23);
    QPainter painter(&image);
    Prepare(painter);
    const Style& style = held ? kYellow : kInactive;
    DrawPlate(painter, QRectF(0, 0, 70, 23), style);
    painter.setPen(QPen(held ? QColor(0x60, 0x50, 0x00) : QColor(0x2a, 0x2c, 0x2a), 1));
    painter.setBrush(held ? QColor(0xff, 0xf2, 0x90) : QColor(0x6c, 0x70, 0x6c));
    painter.drawEllipse(QPointF(12, 11.5), 8, 8);
    painter.setFont(BoldFont(12));
    painter.setPen(held ? Qt::black : QColor(0xe0, 0xe4, 0xe0));
    painter.drawText(QRectF(4, 3.5, 16, 16), Qt::AlignCenter, QString(QChar(letter)));
    DrawWord(painter, QRectF(21, 0, 49, 23), "Button", style.ink, 13);
    return image;
}

// The board view's placeholder: a crossed-out photograph and a hint where to add one.
QImage NoImagePicture() {
    QImage image(640, 640, QImage::Format_RGB32);
    image.fill(QColor(0x1c, 0x20, 0x1c));
    QPainter painter(&image);
    Prepare(painter);
    const QRectF frame(190, 150, 260, 190);
    painter.setPen(QPen(QColor(0x8a, 0x90, 0x8a), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(0x2a, 0x30, 0x2a));
    painter.drawRoundedRect(frame, 12, 12);
    QPainterPath hills;
    hills.moveTo(frame.left() + 20, frame.bottom() - 20);
    hills.lineTo(frame.left() + 95, frame.top() + 80);
    hills.lineTo(frame.left() + 150, frame.top() + 130);
    hills.lineTo(frame.left() + 185, frame.top() + 100);
    hills.lineTo(frame.right() - 20, frame.bottom() - 20);
    hills.closeSubpath();
    painter.setBrush(QColor(0x5a, 0x62, 0x5a));
    painter.setPen(Qt::NoPen);
    painter.drawPath(hills);
    painter.setBrush(QColor(0x8a, 0x90, 0x8a));
    painter.drawEllipse(QPointF(frame.right() - 55, frame.top() + 50), 18, 18);
    painter.setPen(QPen(QColor(0xd0, 0x40, 0x40), 10, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(frame.left() - 20, frame.bottom() + 20),
                     QPointF(frame.right() + 20, frame.top() - 20));

    QFont title("Arial");
    title.setBold(true);
    title.setPixelSize(44);
    painter.setFont(title);
    painter.setPen(QColor(0xe8, 0xec, 0xe8));
    painter.drawText(QRectF(0, 390, 640, 60), Qt::AlignCenter, "No board image");
    QFont hint("Arial");
    hint.setPixelSize(24);
    painter.setFont(hint);
    painter.setPen(QColor(0xa0, 0xa6, 0xa0));
    painter.drawText(QRectF(0, 455, 640, 40), Qt::AlignCenter,
                     "Add a photograph in Edit/Add Records");
    return image;
}

struct PictureFile {
    const char* name;
    QImage image;
};

std::vector<PictureFile> Pictures() {
    const auto tick = [](const QColor& ink, qreal width) {
        return [ink, width](QPainter& p, const QRectF& box) { DrawTick(p, box, ink, width); };
    };
    const auto cross = [](const QColor& ink, qreal width) {
        return [ink, width](QPainter& p, const QRectF& box) { DrawCross(p, box, ink, width); };
    };
    const auto flat = [](const QColor& ink, qreal width) {
        return [ink, width](QPainter& p, const QRectF& box) { DrawFlatTrace(p, box, ink, width); };
    };
    const auto slash = [](const QColor& ink, qreal width) {
        return [ink, width](QPainter& p, const QRectF& box) { DrawSlash(p, box, ink, width); };
    };
    const auto question = [](const QColor& ink, int pixels) {
        return [ink, pixels](QPainter& p, const QRectF& box) {
            DrawQuestionMark(p, box, ink, pixels);
        };
    };
    const Style goodGrey{kInactive.fill, kInactive.edge, QColor(0x9c, 0xc8, 0xa0)};
    const Style badGrey{kInactive.fill, kInactive.edge, QColor(0xd0, 0xa0, 0xa0)};

    return {
        {"button_connected.png", ConnectionPlate(true)},
        {"button_no-connect.png", ConnectionPlate(false)},
        {"buttonA_grey.png", ProbeButtonPlate('A', false)},
        {"buttonA_yellow.png", ProbeButtonPlate('A', true)},
        {"buttonB_grey.png", ProbeButtonPlate('B', false)},
        {"buttonB_yellow.png", ProbeButtonPlate('B', true)},
        {"good_72x23.png", ResultBadge(kGood, "GOOD", tick(Qt::white, 2.6))},
        {"good_grey_72x23.png", ResultBadge(goodGrey, "GOOD", tick(goodGrey.ink, 2.6))},
        {"bad_72x23.png", ResultBadge(kBad, "BAD", cross(Qt::white, 2.6))},
        {"bad_grey_72x23.png", ResultBadge(badGrey, "BAD", cross(badGrey.ink, 2.6))},
        {"nosig_72x23_pink.png", ResultBadge(kPink, "NO SIG", flat(kPink.ink, 2.4))},
        {"notest_72x23.png", ResultBadge(kNoTest, "NO TEST", slash(kNoTest.ink, 2.2), 13)},
        {"questionmark_72x23_yellow.png",
         ResultBadge(kYellow, "UNTESTED", question(Qt::black, 17), 11)},
        {"good_23x23.png", ResultIcon(kGood, tick(Qt::white, 2.8))},
        {"bad_23x23.png", ResultIcon(kBad, cross(Qt::white, 2.8))},
        {"nosig_23x23_pink.png", ResultIcon(kPink, flat(kPink.ink, 2.6))},
        {"notest_23x23.png", ResultIcon(kNoTest, slash(kNoTest.ink, 2.6))},
        {"questionmark_23x23_yellow.png", ResultIcon(kYellow, question(Qt::black, 18))},
        {"block_23x23_black.png", ResultIcon(kBlock, {})},
        {"singlecapture_green.png", WordPlate(72, kGood, "CAPTURE")},
        {"singlecapture_grey.png", WordPlate(72, kInactive, "CAPTURE")},
        {"autocapture_yellow.png", WordPlate(140, kYellow, "Auto Capture")},
        {"captureinprogress_green.png", WordPlate(140, kGood, "Capturing...")},
        {"autotest_yellow.png", WordPlate(140, kYellow, "Auto Test")},
        {"testinprogress_green.png", WordPlate(140, kGood, "Testing...")},
        {"noimage.png", NoImagePicture()},
    };
}

// ---- Sounds: 16-bit mono PCM at 22050 Hz ----

constexpr int kSampleRate = 22050;

struct Tone {
    double startHz;
    double endHz;  // the pitch glides from start to end
    double seconds;
    double brightness;  // share of the odd harmonics that make a tone harsh
};

// Each note starts and ends softly, so the clip does not click.
void AppendTone(std::vector<std::int16_t>& samples, const Tone& tone, double volume) {
    const int count = static_cast<int>(tone.seconds * kSampleRate);
    const int attack = kSampleRate / 200;
    const int release = std::min(count / 3, kSampleRate / 25);
    double phase = 0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / count;
        const double hz = tone.startHz * std::pow(tone.endHz / tone.startHz, t);
        phase += 2 * std::numbers::pi * hz / kSampleRate;
        double value =
            std::sin(phase) + tone.brightness * (std::sin(3 * phase) / 3 + std::sin(5 * phase) / 5);
        value /= 1 + tone.brightness * (1.0 / 3 + 1.0 / 5);
        double envelope = 1;
        if (i < attack)
            envelope = static_cast<double>(i) / attack;
        if (i >= count - release)
            envelope = static_cast<double>(count - i) / release;
        samples.push_back(static_cast<std::int16_t>(value * envelope * volume * 32767));
    }
}

void AppendSilence(std::vector<std::int16_t>& samples, double seconds) {
    samples.insert(samples.end(), static_cast<size_t>(seconds * kSampleRate), 0);
}

std::vector<std::int16_t> Clip(const std::vector<Tone>& tones, double gap, double volume) {
    std::vector<std::int16_t> samples;
    for (size_t i = 0; i < tones.size(); ++i) {
        if (i > 0)
            AppendSilence(samples, gap);
        AppendTone(samples, tones[i], volume);
    }
    return samples;
}

void PutLittle(QByteArray& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

QByteArray WaveFile(const std::vector<std::int16_t>& samples) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    QByteArray bytes;
    bytes.append("RIFF");
    PutLittle(bytes, 36 + dataBytes, 4);
    bytes.append("WAVEfmt ");
    PutLittle(bytes, 16, 4);               // format chunk size
    PutLittle(bytes, 1, 2);                // PCM
    PutLittle(bytes, 1, 2);                // mono
    PutLittle(bytes, kSampleRate, 4);      // samples per second
    PutLittle(bytes, kSampleRate * 2, 4);  // bytes per second
    PutLittle(bytes, 2, 2);                // bytes per frame
    PutLittle(bytes, 16, 2);               // bits per sample
    bytes.append("data");
    PutLittle(bytes, dataBytes, 4);
    for (std::int16_t sample : samples)
        PutLittle(bytes, static_cast<std::uint16_t>(sample), 2);
    return bytes;
}

struct SoundFile {
    const char* name;
    std::vector<std::int16_t> samples;
};

std::vector<SoundFile> Sounds() {
    return {
        // A quick upward blip: the capture has started.
        {"capturesignature.wav", Clip({{700, 1400, 0.12, 0}}, 0, 0.5)},
        // Two rising notes: the capture is stored.
        {"capturecomplete.wav", Clip({{880, 880, 0.09, 0.1}, {1320, 1320, 0.14, 0.1}}, 0.03, 0.5)},
        // A bright rising triad: the pin is good.
        {"testgood.wav",
         Clip({{1047, 1047, 0.08, 0}, {1319, 1319, 0.08, 0}, {1568, 1568, 0.16, 0}}, 0.015, 0.5)},
        // A low, harsh falling buzz: the pin is bad.
        {"testbad.wav", Clip({{440, 220, 0.38, 0.9}}, 0, 0.55)},
    };
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orv-make-assets <folder>\n");
        return 2;
    }
    // Drawing text needs a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath("graphics") || !folder.mkpath("sounds")) {
        std::fprintf(stderr, "orv-make-assets: cannot create folders in %s\n", argv[1]);
        return 1;
    }
    for (const PictureFile& picture : Pictures()) {
        const QString path = folder.filePath(QString("graphics/") + picture.name);
        if (!picture.image.save(path, "PNG")) {
            std::fprintf(stderr, "orv-make-assets: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    for (const SoundFile& sound : Sounds()) {
        const QString path = folder.filePath(QString("sounds/") + sound.name);
        if (!WriteFile(path, WaveFile(sound.samples))) {
            std::fprintf(stderr, "orv-make-assets: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
