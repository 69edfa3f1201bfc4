#pragma once
// The records of a report as comma-separated values for spreadsheets and scripts: a
// header line, then one line per record, fields quoted where they must be (a comma,
// a quote or a line end inside; quotes doubled), lines ended by CR LF. A field that a
// spreadsheet would run as a formula (it starts with "=", "+", "-", "@", a tab or a
// CR and is no plain number such as "-1.5") starts with an apostrophe.

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
