#include "tools/demo_board_layout.h"

#include <cmath>

namespace orv::demo {
namespace {

constexpr double kPitch = 2.54 * kPixelsPerMm;
constexpr double kDipRowGap = 7.62 * kPixelsPerMm;

// Whole pixels, so that the drawn pad and the plan's integer position agree.
QPointF Snap(double x, double y) {
    return {std::round(x), std::round(y)};
}

LayoutPart Start(const char* name, PartKind kind, QPointF centre, const char* value) {
    LayoutPart part;
    part.name = name;
    part.kind = kind;
    part.centre = centre;
    part.value = value;
    return part;
}

LayoutPart Dip(const char* name, QPointF centre, int pins, const char* value) {
    LayoutPart part = Start(name, PartKind::Dip, centre, value);
    const int perRow = pins / 2;
    part.length = perRow * kPitch + 0.6 * kPixelsPerMm;
    part.width = 6.35 * kPixelsPerMm;
    const double first = centre.x() - (perRow - 1) * kPitch / 2;
    for (int i = 1; i <= pins; ++i) {
        // Counter-clockwise from the bottom left, seen from above.
        const bool bottom = i <= perRow;
        const int column = bottom ? i - 1 : pins - i;
        const double y = centre.y() + (bottom ? kDipRowGap : -kDipRowGap) / 2;
        part.pins.push_back({std::to_string(i), Snap(first + column * kPitch, y)});
    }
    return part;
}

LayoutPart Axial(const char* name, PartKind kind, QPointF centre, const char* value,
                 const char* first, const char* second) {
    LayoutPart part = Start(name, kind, centre, value);
    const double half = 10.16 * kPixelsPerMm / 2;
    part.length = kind == PartKind::Diode ? 5.2 * kPixelsPerMm : 6.3 * kPixelsPerMm;
    part.width = kind == PartKind::Diode ? 2.7 * kPixelsPerMm : 2.5 * kPixelsPerMm;
    part.pins = {{first, Snap(centre.x() - half, centre.y())},
                 {second, Snap(centre.x() + half, centre.y())}};
    return part;
}

LayoutPart Electrolytic(const char* name, QPointF centre, double lengthMm, double diameterMm,
                        const char* value) {
    LayoutPart part = Start(name, PartKind::Electrolytic, centre, value);
    part.length = lengthMm * kPixelsPerMm;
    part.width = diameterMm * kPixelsPerMm;
    const double x = centre.x() - part.length / 2 - 2.9 * kPixelsPerMm;
    const double half = std::min(2.5 * kPixelsPerMm, part.width / 2 - 0.5 * kPixelsPerMm);
    part.pins = {{"1", Snap(x, centre.y() - half)}, {"2", Snap(x, centre.y() + half)}};
    return part;
}

LayoutPart Ceramic(const char* name, QPointF centre, const char* value) {
    LayoutPart part = Start(name, PartKind::Ceramic, centre, value);
    part.length = 5.6 * kPixelsPerMm;
    part.width = 3.6 * kPixelsPerMm;
    const double half = 7.5 * kPixelsPerMm / 2;
    const double y = centre.y() + 1.6 * kPixelsPerMm;
    part.pins = {{"1", Snap(centre.x() - half, y)}, {"2", Snap(centre.x() + half, y)}};
    return part;
}

LayoutPart Transistor(const char* name, QPointF centre, const char* value) {
    LayoutPart part = Start(name, PartKind::Transistor, centre, value);
    part.length = 4.8 * kPixelsPerMm;
    part.width = 3.8 * kPixelsPerMm;
    const double step = 4.2 * kPixelsPerMm;
    const double y = centre.y() + 4.6 * kPixelsPerMm;
    part.pins = {{"E", Snap(centre.x() - step, y)},
                 {"B", Snap(centre.x(), y)},
                 {"C", Snap(centre.x() + step, y)}};
    return part;
}

}  // namespace

std::vector<LayoutPart> DemoBoardLayout() {
    const auto resistor = [](const char* name, double x, double y, const char* value) {
        return Axial(name, PartKind::Resistor, QPointF(x, y), value, "1", "2");
    };
    const auto diode = [](const char* name, double x, double y, const char* value) {
        return Axial(name, PartKind::Diode, QPointF(x, y), value, "A", "K");
    };
    return {
        Dip("U1", QPointF(820, 560), 8, "DUAL OPAMP"),
        Dip("U2", QPointF(1560, 560), 14, "QUAD NAND"),
        Transistor("Q1", QPointF(1100, 1290), "NPN"),
        resistor("R1", 420, 900, "10K"),
        resistor("R2", 760, 900, "10K"),
        resistor("R3", 1100, 900, "100K"),
        resistor("R4", 1440, 900, "10K"),
        resistor("R5", 420, 1080, "1K"),
        resistor("R6", 760, 1080, "470"),
        resistor("R7", 1100, 1080, "4K7"),
        resistor("R8", 1440, 1080, "100K"),
        resistor("R9", 1900, 900, "1K"),
        Electrolytic("C1", QPointF(380, 540), 11, 8, "100uF"),
        Ceramic("C2", QPointF(1560, 215), "104"),
        Ceramic("C3", QPointF(420, 1270), "105"),
        Electrolytic("C4", QPointF(780, 1320), 9, 5, "10uF"),
        diode("D1", 330, 200, "1N4001"),
        diode("D2", 1900, 1080, "1N4148"),
        diode("D3", 1900, 1260, "5V1"),
    };
}

const LayoutPart* FindPart(const std::vector<LayoutPart>& parts, std::string_view component) {
    for (const LayoutPart& part : parts) {
        if (part.name == component)
            return &part;
    }
    return nullptr;
}

std::optional<QPointF> PinPad(const std::vector<LayoutPart>& parts, std::string_view component,
                              std::string_view pin) {
    if (const LayoutPart* part = FindPart(parts, component)) {
        for (const LayoutPin& p : part->pins) {
            if (p.name == pin)
                return p.pad;
        }
    }
    return std::nullopt;
}

std::vector<Net> DemoBoardNets() {
    return {
        {"GND",
         {"D1.A", "C1.2", "U1.4", "R2.2", "R4.2", "R6.2", "R8.2", "U2.7", "U2.12", "C2.2", "C4.2",
          "D3.A"},
         24},
        {"VCC", {"D1.K", "C1.1", "R1.1", "U1.8", "C2.1", "U2.14", "R7.1"}, 24},
        {"BIAS", {"R1.2", "R2.1", "U1.3", "U1.5", "C3.2", "C4.1"}},
        {"FB", {"U1.2", "R3.2", "R4.1"}},
        {"AOUT", {"U1.1", "R3.1", "R5.1"}},
        {"BASE", {"R5.2", "Q1.B"}},
        {"EMIT", {"R6.1", "Q1.E"}},
        {"COLL", {"R7.2", "Q1.C", "U2.1", "U2.2"}},
        {"G1", {"U2.3", "U2.4", "U2.5"}},
        {"G2", {"U2.6", "D2.A"}},
        {"LOGIC", {"U2.9", "U2.10", "R8.1", "D2.K"}},
        {"PROT", {"U2.13", "R9.2", "D3.K"}},
        {"BUF", {"U1.6", "U1.7"}},
    };
}

}  // namespace orv::demo
