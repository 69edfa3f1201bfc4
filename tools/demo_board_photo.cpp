#include "tools/demo_board_photo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>

namespace orv::demo {
namespace {

const QColor kMat(0x2b, 0x30, 0x36);
const QColor kMask(0x14, 0x5c, 0x34);    // solder mask over bare laminate
const QColor kCopper(0x23, 0x7a, 0x45);  // solder mask over copper
const QColor kSilk(0xee, 0xf0, 0xe6);
const QRectF kBoard(60, 50, kPhotoWidth - 120, kPhotoHeight - 100);
constexpr double kPadRadius = 21;
constexpr double kClearance = 11;

struct Pads {
    std::map<std::string, QPointF> at;  // "component.pin"
};

Pads AllPads(const std::vector<LayoutPart>& parts) {
    Pads pads;
    for (const LayoutPart& part : parts) {
        for (const LayoutPin& pin : part.pins)
            pads.at[part.name + "." + pin.name] = pin.pad;
    }
    return pads;
}

QFont SilkFont(int pixels, bool bold = true) {
    QFont font("DejaVu Sans");
    font.setBold(bold);
    font.setPixelSize(pixels);
    return font;
}

// Copper runs the way a board designer draws them: straight, then at 45 degrees.
QPainterPath Route(QPointF from, QPointF to, bool diagonalFirst) {
    const double dx = to.x() - from.x();
    const double dy = to.y() - from.y();
    const double run = std::min(std::abs(dx), std::abs(dy));
    const QPointF diagonal(std::copysign(run, dx), std::copysign(run, dy));
    QPainterPath path(from);
    if (diagonalFirst) {
        path.lineTo(from + diagonal);
    } else {
        path.lineTo(to - diagonal);
    }
    path.lineTo(to);
    return path;
}

void DrawCopper(QPainter& p, const std::vector<LayoutPart>& parts, const std::vector<Net>& nets) {
    const Pads pads = AllPads(parts);
    // The ground pour covers the board; everything else is cut out of it.
    p.setPen(Qt::NoPen);
    p.setBrush(kCopper);
    p.drawRoundedRect(kBoard.adjusted(40, 40, -40, -40), 30, 30);

    std::vector<QPainterPath> routes;
    std::vector<double> widths;
    int index = 0;
    for (const Net& net : nets) {
        if (net.name == "GND")
            continue;
        for (size_t i = 1; i < net.pins.size(); ++i) {
            routes.push_back(
                Route(pads.at.at(net.pins[i - 1]), pads.at.at(net.pins[i]), (index + i) % 2 == 0));
            widths.push_back(net.traceWidth);
        }
        ++index;
    }
    const auto isGround = [&](const std::string& key) {
        for (const Net& net : nets) {
            if (net.name == "GND" &&
                std::find(net.pins.begin(), net.pins.end(), key) != net.pins.end())
                return true;
        }
        return false;
    };
    p.setBrush(Qt::NoBrush);
    for (size_t i = 0; i < routes.size(); ++i) {
        p.setPen(
            QPen(kMask, widths[i] + 2 * kClearance, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(routes[i]);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kMask);
    for (const auto& [key, at] : pads.at) {
        if (!isGround(key))
            p.drawEllipse(at, kPadRadius + kClearance, kPadRadius + kClearance);
    }
    // Ground pads: cut out, then tied back to the pour by four spokes.
    for (const auto& [key, at] : pads.at) {
        if (!isGround(key))
            continue;
        p.setPen(Qt::NoPen);
        p.setBrush(kMask);
        p.drawEllipse(at, kPadRadius + kClearance, kPadRadius + kClearance);
        p.setPen(QPen(kCopper, 10));
        const double r = kPadRadius + kClearance + 2;
        p.drawLine(at - QPointF(r, 0), at + QPointF(r, 0));
        p.drawLine(at - QPointF(0, r), at + QPointF(0, r));
    }
    for (size_t i = 0; i < routes.size(); ++i) {
        p.setPen(QPen(kCopper, widths[i], Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(routes[i]);
    }
}

void DrawPad(QPainter& p, QPointF at, double radius) {
    QRadialGradient tin(at - QPointF(radius * 0.35, radius * 0.4), radius * 1.3);
    tin.setColorAt(0, QColor(0xf4, 0xf4, 0xf0));
    tin.setColorAt(0.45, QColor(0xb8, 0xbb, 0xb8));
    tin.setColorAt(1, QColor(0x74, 0x78, 0x76));
    p.setPen(QPen(QColor(0x55, 0x5a, 0x58), 1.5));
    p.setBrush(tin);
    p.drawEllipse(at, radius, radius);
}

// The solder around a lead, drawn over the lead's end.
void DrawJoint(QPainter& p, QPointF at, double radius) {
    QRadialGradient dome(at - QPointF(radius * 0.3, radius * 0.35), radius);
    dome.setColorAt(0, QColor(0xff, 0xff, 0xff));
    dome.setColorAt(0.35, QColor(0xcc, 0xce, 0xcc));
    dome.setColorAt(1, QColor(0x8a, 0x8e, 0x8c));
    p.setPen(Qt::NoPen);
    p.setBrush(dome);
    p.drawEllipse(at, radius, radius);
}

void DrawLead(QPainter& p, QPointF from, QPointF to, double width) {
    QPen pen(QColor(0x9c, 0xa0, 0xa0), width, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(from, to);
    p.setPen(QPen(QColor(0xe4, 0xe6, 0xe4), width * 0.35, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from - QPointF(0, width * 0.15), to - QPointF(0, width * 0.15));
}

// A soft shadow: the shape repeated, wider and fainter, down and to the right.
void DrawShadow(QPainter& p, const QPainterPath& shape) {
    p.setPen(Qt::NoPen);
    for (int i = 6; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 22));
        QPainterPathStroker grow;
        grow.setWidth(i * 4);
        grow.setJoinStyle(Qt::RoundJoin);
        const QPainterPath wide = shape.united(grow.createStroke(shape));
        p.drawPath(wide.translated(7, 9));
    }
}

QRectF BodyRect(const LayoutPart& part) {
    return QRectF(part.centre.x() - part.length / 2, part.centre.y() - part.width / 2, part.length,
                  part.width);
}

void SilkLabel(QPainter& p, QPointF centre, const QString& text, int pixels = 36) {
    p.setFont(SilkFont(pixels));
    p.setPen(kSilk);
    p.drawText(QRectF(centre.x() - 120, centre.y() - pixels, 240, 2 * pixels), Qt::AlignCenter,
               text);
}

void DrawSilkscreen(QPainter& p, const std::vector<LayoutPart>& parts) {
    p.setBrush(Qt::NoBrush);
    for (const LayoutPart& part : parts) {
        p.setPen(QPen(kSilk, 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        const QRectF body = BodyRect(part);
        switch (part.kind) {
            case PartKind::Dip: {
                const QRectF outline = body.adjusted(-8, -10, 8, 10);
                p.drawRect(outline);
                p.drawArc(QRectF(outline.left() - 22, part.centre.y() - 22, 44, 44), -90 * 16,
                          180 * 16);
                SilkLabel(p, QPointF(outline.left() - 60, part.centre.y()), part.name.c_str());
                p.setFont(SilkFont(22));
                const QPointF one = part.pins.front().pad;
                p.drawText(QRectF(one.x() - 60, one.y() + 10, 30, 30), Qt::AlignCenter, "1");
                break;
            }
            case PartKind::Resistor:
            case PartKind::Diode: {
                p.drawRect(body.adjusted(-10, -10, 10, 10));
                if (part.kind == PartKind::Diode) {
                    const double x = body.right() - body.width() * 0.18;
                    p.drawLine(QPointF(x, body.top() - 10), QPointF(x, body.bottom() + 10));
                }
                SilkLabel(p, QPointF(part.centre.x(), body.top() - 42), part.name.c_str());
                break;
            }
            case PartKind::Electrolytic: {
                p.drawRect(body.adjusted(-12, -12, 12, 12));
                const QPointF plus = part.pins.front().pad + QPointF(-44, -14);
                p.drawLine(plus - QPointF(12, 0), plus + QPointF(12, 0));
                p.drawLine(plus - QPointF(0, 12), plus + QPointF(0, 12));
                SilkLabel(p, QPointF(part.centre.x(), body.top() - 44), part.name.c_str());
                break;
            }
            case PartKind::Ceramic: {
                const QPointF a = part.pins.front().pad;
                const QPointF b = part.pins.back().pad;
                p.drawRoundedRect(QRectF(a.x() - 34, body.top() - 10, b.x() - a.x() + 68,
                                         a.y() - body.top() + 44),
                                  20, 20);
                SilkLabel(p, QPointF(part.centre.x(), body.top() - 44), part.name.c_str());
                break;
            }
            case PartKind::Transistor: {
                QPainterPath outline;
                const QRectF round = body.adjusted(-14, -14, 14, 14 + body.height());
                outline.moveTo(round.left(), part.centre.y() + 8);
                outline.arcTo(round, 180, -180);
                outline.closeSubpath();
                p.drawPath(outline);
                SilkLabel(p, QPointF(body.right() + 110, part.centre.y() - 10), part.name.c_str());
                p.setFont(SilkFont(22));
                for (const LayoutPin& pin : part.pins) {
                    p.drawText(QRectF(pin.pad.x() - 20, pin.pad.y() + 28, 40, 30), Qt::AlignCenter,
                               pin.name.c_str());
                }
                break;
            }
        }
    }
    p.setFont(SilkFont(44));
    p.setPen(kSilk);
    p.drawText(QRectF(1440, 1330, 700, 60), Qt::AlignRight | Qt::AlignVCenter,
               "AMP / LOGIC DEMO BOARD");
    p.setFont(SilkFont(30, false));
    p.drawText(QRectF(1440, 1390, 700, 44), Qt::AlignRight | Qt::AlignVCenter, "REV 2   2024");
}

void DrawMountingHoles(QPainter& p) {
    for (const QPointF at :
         {QPointF(150, 140), QPointF(2250, 140), QPointF(150, 1460), QPointF(2250, 1460)}) {
        DrawPad(p, at, 52);
        p.setPen(Qt::NoPen);
        p.setBrush(kMat.darker(140));
        p.drawEllipse(at, 32, 32);
    }
}

void DrawDip(QPainter& p, const LayoutPart& part) {
    const QRectF body = BodyRect(part);
    for (const LayoutPin& pin : part.pins) {
        const bool bottom = pin.pad.y() > part.centre.y();
        const double edge = bottom ? body.bottom() : body.top();
        const double dir = bottom ? 1 : -1;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xa8, 0xac, 0xac));
        p.drawRect(QRectF(pin.pad.x() - 18, std::min(edge, edge + dir * 16), 36, 16));
        DrawLead(p, QPointF(pin.pad.x(), edge + dir * 14), pin.pad, 14);
        DrawJoint(p, pin.pad, 12);
    }
    QPainterPath shape;
    shape.addRoundedRect(body, 6, 6);
    DrawShadow(p, shape);
    QLinearGradient shade(body.topLeft(), body.bottomLeft());
    shade.setColorAt(0, QColor(0x2e, 0x2e, 0x30));
    shade.setColorAt(0.15, QColor(0x1a, 0x1a, 0x1c));
    shade.setColorAt(1, QColor(0x0e, 0x0e, 0x10));
    p.setPen(QPen(QColor(0x05, 0x05, 0x05), 2));
    p.setBrush(shade);
    p.drawPath(shape);
    // Notch and pin-1 dimple.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x08, 0x08, 0x0a));
    p.drawPie(QRectF(body.left() - 18, part.centre.y() - 18, 36, 36), -90 * 16, 180 * 16);
    p.setBrush(QColor(0x24, 0x24, 0x26));
    p.drawEllipse(QPointF(body.left() + 30, body.bottom() - 30), 11, 11);
    p.setFont(SilkFont(30, false));
    p.setPen(QColor(0xb4, 0xb6, 0xb4));
    p.drawText(body.adjusted(40, 0, 0, -20), Qt::AlignCenter, part.value);
    p.setFont(SilkFont(20, false));
    p.drawText(body.adjusted(40, 40, 0, 0), Qt::AlignCenter, "2347 MY");
}

QColor BandColour(int digit) {
    static const QColor colours[] = {QColor(0x10, 0x10, 0x10), QColor(0x7a, 0x44, 0x1c),
                                     QColor(0xd0, 0x1c, 0x1c), QColor(0xf0, 0x7a, 0x10),
                                     QColor(0xf0, 0xd0, 0x10), QColor(0x1c, 0x9a, 0x2c),
                                     QColor(0x1c, 0x4c, 0xc8), QColor(0x8a, 0x2c, 0xb0),
                                     QColor(0x80, 0x80, 0x80), QColor(0xf4, 0xf4, 0xf4)};
    return colours[std::clamp(digit, 0, 9)];
}

// The colour code of a value like "4K7", "470" or "100K": two digits and a multiplier.
std::vector<QColor> ColourCode(const QString& value) {
    double ohms = 0;
    QString digits = value;
    double scale = 1;
    if (value.contains('K')) {
        scale = 1000;
        digits.replace('K', '.');
    }
    ohms = digits.toDouble() * scale;
    int exponent = 0;
    while (ohms >= 100) {
        ohms /= 10;
        ++exponent;
    }
    const int two = static_cast<int>(std::lround(ohms));
    return {BandColour(two / 10), BandColour(two % 10), BandColour(exponent),
            QColor(0xc8, 0xa0, 0x3c)};
}

void DrawAxial(QPainter& p, const LayoutPart& part) {
    const QRectF body = BodyRect(part);
    const QPointF a = part.pins.front().pad;
    const QPointF b = part.pins.back().pad;
    DrawLead(p, a, QPointF(body.left() + 4, a.y()), 9);
    DrawLead(p, QPointF(body.right() - 4, b.y()), b, 9);
    DrawJoint(p, a, 13);
    DrawJoint(p, b, 13);
    QPainterPath shape;
    if (part.kind == PartKind::Resistor) {
        // Bulged end caps and a narrower waist.
        const double w = body.height();
        shape.addRoundedRect(QRectF(body.left(), body.top(), w * 1.1, w), w * 0.45, w * 0.45);
        shape.addRoundedRect(QRectF(body.right() - w * 1.1, body.top(), w * 1.1, w), w * 0.45,
                             w * 0.45);
        shape.addRect(body.adjusted(w * 0.8, w * 0.1, -w * 0.8, -w * 0.1));
        shape = shape.simplified();
    } else {
        shape.addRoundedRect(body, body.height() * 0.4, body.height() * 0.4);
    }
    DrawShadow(p, shape);
    QColor base;
    if (part.kind == PartKind::Resistor) {
        base = QColor(0xd6, 0xbf, 0x92);
    } else if (part.name == "D1") {
        base = QColor(0x1e, 0x1e, 0x20);
    } else {
        base = QColor(0xd8, 0x6a, 0x3a, 230);  // glass over the die
    }
    QLinearGradient shade(body.topLeft(), body.bottomLeft());
    shade.setColorAt(0, base.lighter(135));
    shade.setColorAt(0.3, base);
    shade.setColorAt(1, base.darker(150));
    p.setPen(QPen(base.darker(180), 1.5));
    p.setBrush(shade);
    p.drawPath(shape);
    p.save();
    p.setClipPath(shape);
    if (part.kind == PartKind::Resistor) {
        const std::vector<QColor> bands = ColourCode(part.value);
        const double step = body.width() / 8;
        const double xs[] = {body.left() + step * 1.4, body.left() + step * 2.6,
                             body.left() + step * 3.8, body.right() - step * 1.5};
        for (size_t i = 0; i < bands.size(); ++i) {
            QLinearGradient band(body.topLeft(), body.bottomLeft());
            band.setColorAt(0, bands[i].lighter(140));
            band.setColorAt(0.3, bands[i]);
            band.setColorAt(1, bands[i].darker(160));
            p.fillRect(QRectF(xs[i] - step * 0.35, body.top(), step * 0.7, body.height()), band);
        }
    } else {
        const QColor ring = part.name == "D1" ? QColor(0xb8, 0xba, 0xb8) : QColor(0x14, 0x14, 0x14);
        p.fillRect(QRectF(body.right() - body.width() * 0.26, body.top(), body.width() * 0.13,
                          body.height()),
                   ring);
        if (part.name == "D1") {
            p.setFont(SilkFont(17, false));
            p.setPen(QColor(0xa0, 0xa2, 0xa0));
            p.drawText(body.adjusted(6, 0, -body.width() * 0.28, 0), Qt::AlignCenter, part.value);
        } else {
            // The die seen through the glass.
            p.fillRect(QRectF(part.centre.x() - 8, part.centre.y() - 10, 16, 20),
                       QColor(0x50, 0x30, 0x20));
        }
    }
    p.restore();
}

void DrawElectrolytic(QPainter& p, const LayoutPart& part) {
    const QRectF body = BodyRect(part);
    const QPointF plus = part.pins.front().pad;
    const QPointF minus = part.pins.back().pad;
    for (const QPointF pad : {plus, minus}) {
        DrawLead(p, pad, QPointF(body.left() + 6, pad.y()), 9);
        DrawJoint(p, pad, 13);
    }
    QPainterPath shape;
    shape.addRoundedRect(body, 14, 14);
    DrawShadow(p, shape);
    QLinearGradient sleeve(body.topLeft(), body.bottomLeft());
    sleeve.setColorAt(0, QColor(0x3a, 0x46, 0x9a));
    sleeve.setColorAt(0.25, QColor(0x22, 0x2c, 0x78));
    sleeve.setColorAt(1, QColor(0x0c, 0x10, 0x38));
    p.setPen(QPen(QColor(0x08, 0x0a, 0x22), 2));
    p.setBrush(sleeve);
    p.drawPath(shape);
    p.save();
    p.setClipPath(shape);
    // The negative stripe on the side of the minus lead.
    const QRectF stripe(body.left(), body.bottom() - body.height() * 0.28, body.width(),
                        body.height() * 0.2);
    p.fillRect(stripe, QColor(0x9a, 0xaa, 0xd8));
    p.setPen(QPen(QColor(0x22, 0x2c, 0x78), 4));
    for (double x = body.left() + 40; x < body.right() - 40; x += 46)
        p.drawLine(QPointF(x, stripe.center().y()), QPointF(x + 16, stripe.center().y()));
    // Aluminium can top at the far end, the rubber bung at the leads.
    QLinearGradient can(body.topLeft(), body.bottomLeft());
    can.setColorAt(0, QColor(0xe8, 0xea, 0xea));
    can.setColorAt(1, QColor(0x7a, 0x7e, 0x80));
    p.fillRect(QRectF(body.right() - 16, body.top(), 16, body.height()), can);
    p.fillRect(QRectF(body.left(), body.top(), 12, body.height()), QColor(0x18, 0x18, 0x18));
    p.setFont(SilkFont(static_cast<int>(body.height() * 0.2)));
    p.setPen(QColor(0xe8, 0xea, 0xf4));
    p.drawText(QRectF(body.left() + 20, body.top(), body.width() - 40, body.height() * 0.7),
               Qt::AlignCenter, part.value + " 25V");
    p.restore();
}

void DrawCeramic(QPainter& p, const LayoutPart& part) {
    const QRectF body = BodyRect(part);
    for (const LayoutPin& pin : part.pins) {
        const QPointF root(part.centre.x() + (pin.pad.x() < part.centre.x() ? -24 : 24),
                           body.bottom() - 10);
        DrawLead(p, root, pin.pad, 8);
        DrawJoint(p, pin.pad, 12);
    }
    QPainterPath shape;
    shape.addEllipse(body);
    DrawShadow(p, shape);
    QRadialGradient glaze(body.center() - QPointF(body.width() * 0.2, body.height() * 0.25),
                          body.width() * 0.6);
    glaze.setColorAt(0, QColor(0xe8, 0xa0, 0x50));
    glaze.setColorAt(0.5, QColor(0xc0, 0x70, 0x28));
    glaze.setColorAt(1, QColor(0x80, 0x40, 0x12));
    p.setPen(QPen(QColor(0x60, 0x30, 0x10), 1.5));
    p.setBrush(glaze);
    p.drawPath(shape);
    p.setFont(SilkFont(26));
    p.setPen(QColor(0x30, 0x18, 0x08));
    p.drawText(body, Qt::AlignCenter, part.value);
}

void DrawTransistor(QPainter& p, const LayoutPart& part) {
    const QRectF body = BodyRect(part);
    const QPointF base(part.centre.x(), body.bottom() - 6);
    for (const LayoutPin& pin : part.pins) {
        DrawLead(p, base + QPointF((pin.pad.x() - part.centre.x()) * 0.25, 0), pin.pad, 10);
        DrawJoint(p, pin.pad, 13);
    }
    QPainterPath shape;
    const QRectF round = body.adjusted(0, 0, 0, body.height());
    shape.moveTo(round.left(), part.centre.y() + body.height() / 2);
    shape.arcTo(round, 180, -180);
    shape.closeSubpath();
    DrawShadow(p, shape);
    QLinearGradient shade(body.topLeft(), body.bottomLeft());
    shade.setColorAt(0, QColor(0x34, 0x34, 0x36));
    shade.setColorAt(1, QColor(0x10, 0x10, 0x12));
    p.setPen(QPen(QColor(0x05, 0x05, 0x05), 2));
    p.setBrush(shade);
    p.drawPath(shape);
    p.setFont(SilkFont(18, false));
    p.setPen(QColor(0xb0, 0xb2, 0xb0));
    p.drawText(body.adjusted(0, body.height() * 0.35, 0, 0), Qt::AlignCenter, part.value);
}

// Sensor noise and the fall-off of the light towards the corners.
void AddCameraLook(QImage& image) {
    std::uint64_t state = 0x2545F4914F6CDD1Dull;
    const double cx = image.width() * 0.46;
    const double cy = image.height() * 0.42;
    const double reach = std::hypot(image.width(), image.height()) * 0.62;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            const int grain = static_cast<int>(state % 13) - 6;
            const double d = std::hypot(x - cx, y - cy) / reach;
            const double light = 1.06 - 0.28 * d * d;
            const auto tone = [&](int c) {
                return std::clamp(static_cast<int>(c * light) + grain, 0, 255);
            };
            const QRgb c = line[x];
            line[x] = qRgb(tone(qRed(c)), tone(qGreen(c)), tone(qBlue(c)));
        }
    }
}

}  // namespace

QImage DrawDemoBoard(const std::vector<LayoutPart>& parts, const std::vector<Net>& nets) {
    QImage image(kPhotoWidth, kPhotoHeight, QImage::Format_RGB32);
    image.fill(kMat);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QPainterPath board;
    board.addRoundedRect(kBoard, 24, 24);
    DrawShadow(p, board);
    p.setPen(QPen(QColor(0x0c, 0x3a, 0x20), 3));
    p.setBrush(kMask);
    p.drawPath(board);
    p.save();
    p.setClipPath(board);
    DrawCopper(p, parts, nets);
    p.restore();
    DrawSilkscreen(p, parts);
    DrawMountingHoles(p);
    for (const LayoutPart& part : parts) {
        for (const LayoutPin& pin : part.pins)
            DrawPad(p, pin.pad, kPadRadius);
    }
    for (const LayoutPart& part : parts) {
        switch (part.kind) {
            case PartKind::Dip:
                DrawDip(p, part);
                break;
            case PartKind::Resistor:
            case PartKind::Diode:
                DrawAxial(p, part);
                break;
            case PartKind::Electrolytic:
                DrawElectrolytic(p, part);
                break;
            case PartKind::Ceramic:
                DrawCeramic(p, part);
                break;
            case PartKind::Transistor:
                DrawTransistor(p, part);
                break;
        }
    }
    p.end();
    AddCameraLook(image);
    return image;
}

}  // namespace orv::demo
