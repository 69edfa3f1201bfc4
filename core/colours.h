#pragma once
// Colours are numbers red + 256 x green + 65536 x blue, as stored in the settings.

#include <cstdint>

namespace orv {

using ColourNumber = std::int64_t;

constexpr ColourNumber MakeColour(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}
constexpr int RedOf(ColourNumber c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(ColourNumber c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(ColourNumber c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

inline constexpr ColourNumber kColourWhite = MakeColour(255, 255, 255);
inline constexpr ColourNumber kColourRed = MakeColour(255, 0, 0);
inline constexpr ColourNumber kColourBlue = MakeColour(0, 0, 255);
inline constexpr ColourNumber kColourOrange = MakeColour(255, 165, 0);
inline constexpr ColourNumber kColourPink = MakeColour(255, 192, 203);
inline constexpr ColourNumber kColourYellow = MakeColour(255, 255, 0);
inline constexpr ColourNumber kColourGold = MakeColour(255, 215, 0);
inline constexpr ColourNumber kColourAmber = MakeColour(250, 174, 5);
inline constexpr ColourNumber kColourGreen = MakeColour(0, 255, 0);
inline constexpr ColourNumber kColourDarkGreen = MakeColour(0, 136, 0);
inline constexpr ColourNumber kColourIndigo = MakeColour(54, 18, 127);
inline constexpr ColourNumber kColourGreyGreen = MakeColour(115, 124, 112);
inline constexpr ColourNumber kColourCharcoal = MakeColour(46, 54, 46);
inline constexpr ColourNumber kColourBlack = MakeColour(0, 0, 0);
inline constexpr ColourNumber kColourLightBlue = MakeColour(173, 216, 230);

static_assert(kColourOrange == 42495 && kColourPink == 13353215 && kColourAmber == 372474);
static_assert(kColourIndigo == 8327734 && kColourLightBlue == 15128749);

}  // namespace orv
