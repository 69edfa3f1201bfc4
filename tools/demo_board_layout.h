#pragma once
// Where the parts of the simulated board sit on its photograph, and where their pins
// are: the pad centres, which are also the plan's Test X/Y.

#include <QPointF>
#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::demo {

inline constexpr int kPhotoWidth = 2400;
inline constexpr int kPhotoHeight = 1600;
inline constexpr double kPixelsPerMm = 24.0;

enum class PartKind {
    Dip,           // dual in-line IC, pin 1 bottom left, notch to the left
    Resistor,      // axial, pins "1" and "2"
    Diode,         // axial, pins "A" and "K", band at the cathode
    Electrolytic,  // radial can laid on its side, leads to the left: "1" (+) and "2"
    Ceramic,       // dipped disc standing over its two pads
    Transistor,    // small plastic package, pads E, B, C left to right below it
};

struct LayoutPin {
    std::string name;
    QPointF pad;
};

struct LayoutPart {
    std::string name;
    PartKind kind = PartKind::Resistor;
    QPointF centre;         // the middle of the body
    bool vertical = false;  // axial parts: leads above and below
    QString value;          // printed or colour-coded value text
    double length = 0;      // body length, pixels
    double width = 0;       // body width or diameter, pixels
    std::vector<LayoutPin> pins;
};

// The board's parts in the order of the simulated board's pins.
std::vector<LayoutPart> DemoBoardLayout();

// The pad of a part's pin; nothing for a pin the layout lacks.
std::optional<QPointF> PinPad(const std::vector<LayoutPart>& parts, std::string_view component,
                              std::string_view pin);
const LayoutPart* FindPart(const std::vector<LayoutPart>& parts, std::string_view component);

// The nets joining the pins, as lists of "component.pin"; what the copper connects.
struct Net {
    std::string name;
    std::vector<std::string> pins;
    double traceWidth = 14;
};
std::vector<Net> DemoBoardNets();

}  // namespace orv::demo
