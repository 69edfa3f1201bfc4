#pragma once
// The records of a report as comma-separated values for spreadsheets and scripts: a
// header line, then one line per record, fields quoted where they must be (a comma,
// a quote or a line end inside; quotes doubled), lines ended by CR LF.

#include <string>
#include <string_view>

#include "report/test_report.h"

namespace orv {

// The columns, in order; the header line is made of these names.
inline constexpr std::string_view kReportCsvColumns[] = {
    "row",       "component",  "pin",       "note",       "status",
    "signature", "difference", "threshold", "fault kind",
};

std::string CsvField(std::string_view text);

std::string ReportCsv(const TestReport& report);

}  // namespace orv
