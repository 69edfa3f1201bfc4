#pragma once
// The component packages the record editor can create, in the order of its list.

#include <array>
#include <span>
#include <string_view>

namespace orv {

// Where a template's pin counts come from.
enum class QuantitySource {
    None,       // a heading or a package without a layout: nothing is placed
    Fixed,      // the counts below
    AnyQty,     // the first quantity field, 2..255
    FirstLast,  // the first two fields, pin numbers as typed
    Rows,       // one field per row, 2..255 each
};

struct PackageTemplate {
    std::string_view label;  // exact, leading blanks included
    std::string_view mode;   // "PINS", "PINTOPIN", "1ROW".."4ROW"; empty for none
    QuantitySource source = QuantitySource::None;
    std::array<int, 4> q{};  // fixed counts
};

// Every entry of the package list, in order.
std::span<const PackageTemplate> PackageTemplates();

// The entry with this label; null when there is none.
const PackageTemplate* FindPackageTemplate(std::string_view label);

}  // namespace orv
