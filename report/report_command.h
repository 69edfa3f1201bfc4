#pragma once
// The command `orv-report PLAN.orv [-o REPORT.html] [--csv RECORDS.csv]`: the report
// of a plan without a window, for batch use. Exit status 0 when the report was written
// from a sound plan, 3 when it was written but the photograph is missing or cells are
// not numbers (each named on the error stream), 1 when nothing could be written, 2
// for a wrong command line, one whose report or record list would replace the plan
// (however the path is spelt) included. Plan text on the terminal has its control
// characters taken out.

#include <ostream>
#include <span>
#include <string>

#include "core/clock.h"

namespace orv {

inline constexpr int kReportWritten = 0;
inline constexpr int kReportFailed = 1;
inline constexpr int kReportUsage = 2;
inline constexpr int kReportWrittenWithWarnings = 3;

// The instrument model and threshold come from the settings file of the working
// directory, as the program would use them there.
int RunReportCommand(std::span<const std::string> arguments, std::ostream& out, std::ostream& err,
                     const LocalDateTime& when);

}  // namespace orv
