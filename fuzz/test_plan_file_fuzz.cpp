// Any bytes as a ".orv" file: parsed, written and parsed again they give the same
// table, and writing that table again gives the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "testplan/orv_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const orv::TestPlan first = orv::ParseTestPlan(bytes);
    const std::string written = orv::TestPlanBytes(first);
    const orv::TestPlan second = orv::ParseTestPlan(written);
    if (orv::RowCount(second) != orv::RowCount(first) ||
        orv::ColCount(second) != orv::ColCount(first)) {
        std::abort();
    }
    for (int row = 1; row <= orv::RowCount(first); ++row) {
        for (int col = 1; col <= orv::ColCount(first); ++col) {
            if (orv::CellView(first, row, col) != orv::CellView(second, row, col))
                std::abort();
        }
    }
    if (orv::TestPlanBytes(second) != written)
        std::abort();
    return 0;
}
