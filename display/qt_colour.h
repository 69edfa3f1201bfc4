#pragma once
// Colour numbers (red + 256 green + 65536 blue) as Qt colours.

#include <QColor>

#include "core/colours.h"

namespace orv {

inline QColor ToQColor(ColourNumber colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

}  // namespace orv
