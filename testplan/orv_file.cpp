#include "testplan/orv_file.h"

#include <algorithm>

#include "core/files.h"

namespace orv {

namespace {

// "£" in UTF-8: the stand-in for a "," inside a cell.
constexpr std::string_view kCommaEscape = "\xC2\xA3";

// Cuts one line's bytes into the cells of a row; "£" reads back as ",". The cells are
// gathered in `scratch` first so that the row takes no more room than it needs.
void FillRow(std::string_view line, TestPlanRow& scratch, TestPlanRow& row) {
    scratch.text.clear();
    scratch.ends.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        std::size_t end = i;
        while (end < line.size() && line[end] != ',' && line[end] != kCommaEscape[0])
            ++end;
        scratch.text.append(line.substr(i, end - i));
        i = end;
        if (i == line.size())
            break;
        if (line[i] == ',') {
            scratch.ends.push_back(static_cast<std::uint32_t>(scratch.text.size()));
            ++i;
        } else if (line.substr(i, kCommaEscape.size()) == kCommaEscape) {
            scratch.text.push_back(',');
            i += kCommaEscape.size();
        } else {
            scratch.text.push_back(line[i]);
            ++i;
        }
    }
    scratch.ends.push_back(static_cast<std::uint32_t>(scratch.text.size()));
    DropTrailingEmptyCells(scratch);
    row.ends.assign(scratch.ends.begin(), scratch.ends.end());
    row.text.assign(scratch.text, 0, scratch.ends.empty() ? 0 : scratch.ends.back());
}

void AppendCell(std::string& out, std::string_view cell) {
    for (const char c : cell) {
        if (c == ',') {
            out.append(kCommaEscape);
        } else if (c == '\r' || c == '\n') {
            // A line break would split the record into two rows of the file.
            out.push_back(' ');
        } else {
            out.push_back(c);
        }
    }
}

}  // namespace

TestPlan ParseTestPlan(std::string_view bytes) {
    const std::vector<std::string> lines = SplitLines(bytes);
    std::size_t maxCommas = 0;
    for (const std::string& line : lines) {
        maxCommas = std::max(maxCommas,
                             static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')));
    }
    TestPlan plan;
    plan.rows.assign(std::max<std::size_t>(lines.size(), 1), TestPlanRow{});
    plan.cols = static_cast<int>(maxCommas + 1);
    TestPlanRow scratch;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        FillRow(lines[k], scratch, plan.rows[k]);
    }
    return plan;
}

std::string PlanImageName(std::string_view fileName) {
    // The header row is the first line; it is short, whatever the plan's size.
    constexpr std::int64_t kHeaderBytes = 64 * 1024;
    const std::optional<std::string> head = ReadFileHead(fileName, kHeaderBytes);
    if (!head)
        return {};
    const std::vector<std::string> lines = SplitLines(*head);
    return lines.empty() ? std::string()
                         : Cell(ParseTestPlan(lines.front()), 1, column::kImageFile);
}

std::string TestPlanBytes(const TestPlan& plan) {
    std::size_t size = 0;
    for (const TestPlanRow& row : plan.rows)
        size += row.text.size() + 16;
    std::string out;
    out.reserve(size + static_cast<std::size_t>(RowCount(plan)) *
                           static_cast<std::size_t>(ColCount(plan) + 1));
    for (int row = 1; row <= RowCount(plan); ++row) {
        for (int col = 1; col <= ColCount(plan); ++col) {
            if (col > 1)
                out.push_back(',');
            AppendCell(out, CellView(plan, row, col));
        }
        out.append(kLineEnd);
    }
    return out;
}

bool LoadTestPlan(TestPlan& plan, EventLog& log, std::string_view fileName) {
    const std::optional<std::string> bytes = ReadWholeFile(fileName, kMaxTestPlanBytes);
    if (!bytes) {
        WriteLogLine(log, "Error #0065 Cannot open .orv file: " + std::string(fileName));
        ShowUserMessage(log, "Error #0065 Cannot open .orv file", fileName);
        return false;
    }
    TestPlan loaded = ParseTestPlan(*bytes);
    WriteLogLine(log, "TestPlan loaded: " + std::string(fileName) +
                          " rows=" + std::to_string(RowCount(loaded)) +
                          " cols=" + std::to_string(ColCount(loaded)));
    plan = std::move(loaded);
    return true;
}

bool SaveTestPlan(const TestPlan& plan, EventLog& log, std::string_view fileName) {
    const std::string name(fileName);
    const std::string tempName = name + ".tmp";
    // The backup goes through the temporary file and a rename too: a crash while it is
    // written leaves the older backup whole rather than an empty or partial one. A
    // failed copy is not reported.
    const std::optional<std::string> previous = ReadWholeFile(name, kMaxTestPlanBytes);
    if (previous && !previous->empty())
        ReplaceFile(name + ".bak", tempName, *previous);
    switch (ReplaceFile(name, tempName, TestPlanBytes(plan))) {
        case ReplaceResult::Replaced:
            return true;
        case ReplaceResult::CannotWriteTemp:
            ShowUserMessage(log, "Error #0064 File cannot be created");
            return false;
        case ReplaceResult::CannotRename:
            WriteLogLine(log, "Error: RenameFile failed for " + tempName);
            ShowUserMessage(log, "Error #0066 File save failed during rename.");
            return false;
    }
    return false;
}

}  // namespace orv
