#pragma once
// File, "Export Test Report...": the report of the plan in memory, results not yet
// saved included, written where the user chooses and shown in the browser on request.

namespace orv {

struct Program;

void ExportTestReport(Program& program);

}  // namespace orv
