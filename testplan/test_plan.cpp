#include "testplan/test_plan.h"

#include <algorithm>
#include <functional>

namespace orv {

namespace {

std::size_t CellBegin(const TestPlanRow& row, int col) {
    return col == 1 ? 0 : row.ends[static_cast<std::size_t>(col - 2)];
}

}  // namespace

void DropTrailingEmptyCells(TestPlanRow& row) {
    while (!row.ends.empty()) {
        const std::size_t last = row.ends.size();
        const std::size_t begin = last == 1 ? 0 : row.ends[last - 2];
        if (row.ends[last - 1] != begin)
            break;
        row.ends.pop_back();
    }
}

int RowCount(const TestPlan& plan) {
    return static_cast<int>(plan.rows.size());
}

int ColCount(const TestPlan& plan) {
    return plan.cols;
}

bool HasRow(const TestPlan& plan, int row) {
    return row >= 1 && row <= RowCount(plan);
}

std::string_view CellView(const TestPlan& plan, int row, int col) {
    if (!HasRow(plan, row) || col < 1)
        return {};
    const TestPlanRow& cells = plan.rows[static_cast<std::size_t>(row - 1)];
    if (static_cast<std::size_t>(col) > cells.ends.size())
        return {};
    const std::size_t begin = CellBegin(cells, col);
    return std::string_view(cells.text).substr(begin, cells.ends[col - 1] - begin);
}

std::string Cell(const TestPlan& plan, int row, int col) {
    return std::string(CellView(plan, row, col));
}

void SetCell(TestPlan& plan, int row, int col, std::string_view text) {
    if (!HasRow(plan, row) || col < 1 || col > plan.cols)
        return;
    MarkPlanChanged(plan);
    TestPlanRow& cells = plan.rows[static_cast<std::size_t>(row - 1)];
    const std::less<const char*> before;
    if (!text.empty() && !before(text.data(), cells.text.data()) &&
        before(text.data(), cells.text.data() + cells.text.size())) {
        // A text taken from this very row would move under our feet.
        const std::string copy(text);
        SetCell(plan, row, col, copy);
        return;
    }
    const std::size_t index = static_cast<std::size_t>(col - 1);
    if (index >= cells.ends.size()) {
        if (text.empty())
            return;
        cells.ends.resize(index + 1, static_cast<std::uint32_t>(cells.text.size()));
    }
    const std::size_t begin = CellBegin(cells, col);
    const std::size_t oldLength = cells.ends[index] - begin;
    cells.text.replace(begin, oldLength, text);
    const std::int64_t shift =
        static_cast<std::int64_t>(text.size()) - static_cast<std::int64_t>(oldLength);
    if (shift != 0) {
        for (std::size_t k = index; k < cells.ends.size(); ++k) {
            cells.ends[k] = static_cast<std::uint32_t>(cells.ends[k] + shift);
        }
    }
    if (text.empty())
        DropTrailingEmptyCells(cells);
}

void ResizeTable(TestPlan& plan, int rows, int cols) {
    rows = std::max(rows, 1);
    cols = std::max(cols, 1);
    MarkPlanChanged(plan);
    plan.rows.resize(static_cast<std::size_t>(rows));
    if (cols < plan.cols) {
        for (TestPlanRow& cells : plan.rows) {
            if (cells.ends.size() <= static_cast<std::size_t>(cols))
                continue;
            cells.ends.resize(static_cast<std::size_t>(cols));
            cells.text.resize(cells.ends.back());
            DropTrailingEmptyCells(cells);
        }
    }
    plan.cols = cols;
}

void Renumber(TestPlan& plan) {
    for (int row = 1; row <= RowCount(plan); ++row) {
        SetCell(plan, row, column::kRecord, std::to_string(row));
    }
}

namespace {

// FNV-1a, 64 bits.
struct Fnv {
    std::uint64_t value = 14695981039346656037ULL;
    void Add(std::string_view bytes) {
        for (const char c : bytes) {
            value ^= static_cast<unsigned char>(c);
            value *= 1099511628211ULL;
        }
    }
    void Add(std::uint64_t number) {
        for (int shift = 0; shift < 64; shift += 8) {
            value ^= (number >> shift) & 0xFF;
            value *= 1099511628211ULL;
        }
    }
};

}  // namespace

std::uint64_t PlanFingerprint(const TestPlan& plan) {
    Fnv hash;
    hash.Add(static_cast<std::uint64_t>(plan.rows.size()));
    hash.Add(static_cast<std::uint64_t>(plan.cols));
    for (const TestPlanRow& row : plan.rows) {
        std::size_t kept = row.ends.size();
        while (kept > 0 && row.ends[kept - 1] == (kept == 1 ? 0 : row.ends[kept - 2]))
            --kept;
        hash.Add(static_cast<std::uint64_t>(kept));
        for (std::size_t k = 0; k < kept; ++k)
            hash.Add(static_cast<std::uint64_t>(row.ends[k]));
        hash.Add(std::string_view(row.text));
    }
    return hash.value;
}

PlanOnDisk MarkOnDisk(const TestPlan& plan) {
    return {plan.revision.count, PlanFingerprint(plan)};
}

bool DiffersFromDisk(const PlanOnDisk& disk, const TestPlan& plan) {
    return plan.revision.count != disk.revision && PlanFingerprint(plan) != disk.fingerprint;
}

}  // namespace orv
