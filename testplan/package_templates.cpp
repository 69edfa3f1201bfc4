#include "testplan/package_templates.h"

#include <algorithm>

namespace orv {

namespace {

using enum QuantitySource;

constexpr PackageTemplate Heading(std::string_view label) {
    return {label, "", None, {}};
}

constexpr PackageTemplate Pins(std::string_view label, int count) {
    return {label, "PINS", Fixed, {count, 0, 0, 0}};
}

constexpr PackageTemplate TwoRows(std::string_view label, int first, int second) {
    return {label, "2ROW", Fixed, {first, second, 0, 0}};
}

constexpr PackageTemplate FourRows(std::string_view label, int across, int down) {
    return {label, "4ROW", Fixed, {across, down, across, down}};
}

constexpr std::array kTemplates = {
    Heading(".... Components ...."),
    Pins("  1 pin", 1),
    Pins("  2 pin", 2),
    Pins("  3 pin", 3),
    Pins("  4 pin", 4),
    Heading(".... Custom Components ...."),
    PackageTemplate{" Custom (any qty of pins)", "PINS", AnyQty, {}},
    PackageTemplate{" Custom (from pin? to pin?)", "PINTOPIN", FirstLast, {}},
    PackageTemplate{" Custom (1 row)", "1ROW", Rows, {}},
    PackageTemplate{" Custom (2 row)", "2ROW", Rows, {}},
    PackageTemplate{" Custom (3 row)", "3ROW", Rows, {}},
    PackageTemplate{" Custom (4 row)", "4ROW", Rows, {}},
    Heading(".... IC's ...."),
    TwoRows("  4 pin DIP/SO", 2, 2),
    TwoRows("  5 pin SOT23-5", 3, 2),
    TwoRows("  6 pin DIP/SOT23-6", 3, 3),
    TwoRows("  8 pin DIP/SO", 4, 4),
    TwoRows(" 10 pin DIP/SO", 5, 5),
    TwoRows(" 14 pin DIP/SO", 7, 7),
    TwoRows(" 16 pin DIP/SO", 8, 8),
    TwoRows(" 18 pin DIP/SO", 9, 9),
    TwoRows(" 20 pin DIP/SO", 10, 10),
    TwoRows(" 24 pin DIP/SO", 12, 12),
    TwoRows(" 28 pin DIP/SO", 14, 14),
    TwoRows(" 32 pin DIP/SO", 16, 16),
    FourRows(" 32 pin QFP (square)", 8, 8),
    TwoRows(" 36 pin DIP/SO", 18, 18),
    TwoRows(" 40 pin DIP/SO", 20, 20),
    FourRows(" 44 pin QFP (square)", 11, 11),
    TwoRows(" 48 pin DIP/SO", 24, 24),
    FourRows(" 48 pin QFP (square)", 12, 12),
    FourRows(" 52 pin QFP (square)", 13, 13),
    FourRows(" 64 pin QFP (square)", 16, 16),
    FourRows(" 64 pin QFP (rectangle)", 19, 13),
    FourRows(" 80 pin QFP (square)", 20, 20),
    FourRows(" 80 pin QFP (rectangle)", 24, 16),
    FourRows("100 pin QFP (square)", 25, 25),
    FourRows("100 pin QFP (rectangle)", 30, 20),
    FourRows("120 pin QFP (square)", 30, 30),
    Heading("120 pin QFP (rectangle)"),  // no layout is known for it
    FourRows("128 pin QFP (square)", 32, 32),
    FourRows("128 pin QFP (rectangle)", 38, 26),
    FourRows("132 pin QFP (square)", 33, 33),
    FourRows("144 pin QFP (square)", 36, 36),
    FourRows("160 pin QFP (square)", 40, 40),
    FourRows("176 pin QFP (square)", 44, 44),
    FourRows("184 pin QFP (square)", 46, 46),
    FourRows("240 pin QFP (square)", 60, 60),
    // Connectors are listed for naming only: their pin layouts vary too much.
    Heading(".... Connectors ...."),
    Heading("  9 pin D-type (2 row)"),
    Heading(" 15 pin D-type (2 row)"),
    Heading(" 15 pin D-type (3 row)"),
    Heading(" 16 pin DIN41612 (1 row)"),
    Heading(" 25 pin D-type (2 row)"),
    Heading(" 26 pin D-type (3 row)"),
    Heading(" 32 pin DIN41612 (1 row)"),
    Heading(" 32 pin DIN41612 (2 row)"),
    Heading(" 37 pin D-type (2 row)"),
    Heading(" 44 pin D-type (3 row)"),
    Heading(" 48 pin DIN41612 (3 row)"),
    Heading(" 50 pin D-type (3 row)"),
    Heading(" 62 pin D-type (3 row)"),
    Heading(" 64 pin DIN41612 (2 row)"),
    Heading(" 78 pin D-type (4 row)"),
    Heading(" 96 pin DIN41612 (3 row)"),
};

}  // namespace

std::span<const PackageTemplate> PackageTemplates() {
    return kTemplates;
}

const PackageTemplate* FindPackageTemplate(std::string_view label) {
    const auto found = std::ranges::find(kTemplates, label, &PackageTemplate::label);
    return found == kTemplates.end() ? nullptr : &*found;
}

}  // namespace orv
