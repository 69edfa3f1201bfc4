#pragma once
// The ".orv" test plan file: one line per table row, CR LF after every line, the cells
// separated by ",", and a "," inside a cell written as "£". No header, no quoting.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/event_log.h"
#include "testplan/test_plan.h"

namespace orv {

// Largest plan file read: a plan of a thousand pins is about 5 MB. Only regular files
// are read, so a device named as the plan (/dev/zero) fails like a missing file.
inline constexpr std::int64_t kMaxTestPlanBytes = std::int64_t{256} * 1024 * 1024;

// The table a file's bytes hold: as many rows as lines (at least 1), as many columns
// as the line with the most fields; shorter lines are padded with empty cells.
TestPlan ParseTestPlan(std::string_view bytes);

// The board photograph named by a plan file's header row, read without loading the
// plan; empty when the file cannot be read.
std::string PlanImageName(std::string_view fileName);

// The bytes of a file holding the table. Every line has all the table's fields.
std::string TestPlanBytes(const TestPlan& plan);

// Replaces the table by the file's content. A file that cannot be opened, is no
// regular file or is larger than kMaxTestPlanBytes is reported (Error #0065, the box
// naming the file) and leaves the table as it was; false then.
bool LoadTestPlan(TestPlan& plan, EventLog& log, std::string_view fileName);

// Writes the table over the file in one step through fileName + ".tmp", after copying
// a non-empty previous version to fileName + ".bak" the same way. Failures are
// reported; the target keeps its old content then, and the result is false.
bool SaveTestPlan(const TestPlan& plan, EventLog& log, std::string_view fileName);

}  // namespace orv
