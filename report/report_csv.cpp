#include "report/report_csv.h"

#include <cstdio>
#include <span>
#include <vector>

namespace orv {

namespace {

// A difference as a plain number, for spreadsheets: no percent sign.
std::string PlainPercent(float percent) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(percent));
    return text;
}

void AppendLine(std::string& out, std::span<const std::string> fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        out += CsvField(fields[i]);
    }
    out += "\r\n";
}

}  // namespace

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string ReportCsv(const TestReport& report) {
    std::string out;
    out.reserve(64 * (report.records.size() + 1));
    std::vector<std::string> fields(std::begin(kReportCsvColumns), std::end(kReportCsvColumns));
    AppendLine(out, fields);
    const std::string threshold = PlainPercent(report.thresholdPercent);
    for (const ReportRecord& r : report.records) {
        fields = {
            std::to_string(r.row),
            r.component,
            r.pin,
            r.note,
            r.status,
            r.hasGolden ? "Yes" : "No",
            r.difference ? PlainPercent(*r.difference) : "",
            threshold,
            r.faultKind,
        };
        AppendLine(out, fields);
    }
    return out;
}

}  // namespace orv
