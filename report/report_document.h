#pragma once
// A whole report from a plan: the counts and records, the board picture and the page,
// with the problems found on the way, and the writing of it to a file in one step.

#include <string>
#include <string_view>
#include <vector>

#include "report/test_report.h"

namespace orv {

struct ReportDocument {
    TestReport report;
    std::string html;
    // A missing photograph and the cells that are not numbers: the report is written,
    // and says so, but its reader should hear of them.
    std::vector<std::string> warnings;
};

// `planPath` is where the plan was read from, to find its photograph beside it.
ReportDocument MakeReportDocument(const TestPlan& plan, const ReportContext& context,
                                  std::string_view planPath);

// The report's name for a plan: ".orv" (any letter case) replaced by ".html", else
// ".html" added.
std::string ReportNameFor(std::string_view planName);

// A chosen name as it is written: ".html" added unless it ends in ".html" or ".htm"
// (any letter case).
std::string WithHtmlExtension(std::string_view name);

// "file:///work/board%20A.html": the address a browser opens the file at.
std::string FileAddress(std::string_view path);

// Writes the file through `path` + ".tmp", renamed into place, so an interrupted
// write never leaves half a report. Empty on success, else what went wrong.
std::string WriteReportFile(std::string_view path, std::string_view content);

}  // namespace orv
