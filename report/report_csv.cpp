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

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A whole decimal number with an optional sign, fraction and exponent: "-1.5", "+3",
// "-0.001", "2e-3". A spreadsheet reads these as numbers, not as formulas.
bool IsPlainNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i)
            ++digits;
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t exponentStart = i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        if (i == exponentStart)
            return false;
    }
    return i == text.size();
}

// A spreadsheet runs a cell that starts with one of these as a formula (or, after a
// tab or CR, may strip them and run what follows).
bool RunsAsFormula(std::string_view text) {
    return !text.empty() &&
           std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos &&
           !IsPlainNumber(text);
}

}  // namespace

std::string CsvField(std::string_view text) {
    // A leading apostrophe makes it text, as a spreadsheet user would type it.
    const std::string neutral = RunsAsFormula(text) ? "'" + std::string(text) : std::string(text);
    if (neutral.find_first_of(",\"\r\n") == std::string::npos)
        return neutral;
    std::string quoted = "\"";
    for (const char c : neutral) {
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
