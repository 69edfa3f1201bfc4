#pragma once
// The report as one HTML page that needs nothing else: the photograph inlined, the
// plots drawn as inline vector graphics, the style inside the page. Every text from
// the plan is escaped, so a cell can never add markup.

#include <string>
#include <string_view>

#include "report/board_picture.h"
#include "report/test_report.h"

namespace orv {

// "&", "<", ">", '"' and "'" as character references.
std::string EscapeHtml(std::string_view text);

// A small scope of a record: its golden (orange) and, when judged, DUT (blue)
// signature on the axes of the record's golden settings; empty without a signature or
// without golden settings to scale it by.
std::string SignaturePlotSvg(const ReportRecord& record);

// `board` is null when no photograph could be drawn; `boardProblem` then says why.
std::string ReportHtml(const TestReport& report, const BoardPicture* board,
                       std::string_view boardProblem);

}  // namespace orv
