#pragma once
// Looking at rendered images in tests: colours of pixels and where a colour occurs.

#include <QImage>
#include <QRect>

#include "core/colours.h"

namespace orv::test {

inline ColourNumber ColourAt(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return MakeColour(qRed(p), qGreen(p), qBlue(p));
}

// Pixels of exactly that colour inside `area` (clipped to the image).
inline int CountColour(const QImage& image, const QRect& area, ColourNumber colour) {
    const QRect clipped = area.intersected(image.rect());
    int count = 0;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (ColourAt(image, x, y) == colour)
                ++count;
        }
    }
    return count;
}

// Smallest rectangle holding every pixel of that colour inside `area`; null if none.
inline QRect BoundsOfColour(const QImage& image, const QRect& area, ColourNumber colour) {
    const QRect clipped = area.intersected(image.rect());
    QRect bounds;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (ColourAt(image, x, y) == colour)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// Every pixel that is not `colour` inside `area`.
inline int CountOtherThan(const QImage& image, const QRect& area, ColourNumber colour) {
    const QRect clipped = area.intersected(image.rect());
    return clipped.width() * clipped.height() - CountColour(image, clipped, colour);
}

}  // namespace orv::test
