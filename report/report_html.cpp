#include "report/report_html.h"

#include <QByteArray>
#include <cstdio>

#include "display/scope_geometry.h"
#include "display/scope_labels.h"
#include "display/signature_trace.h"
#include "display/thumbnail.h"

namespace orv {

namespace {

constexpr int kPlotWidth = 200;
constexpr int kPlotHeight = 150;
constexpr int kPlotMargin = 40;
constexpr int kPlotDivisions = 5;

// Printable on A4 in portrait; a record's row or fault never splits across pages.
constexpr std::string_view kStyle = R"(
@page { size: A4; margin: 12mm; }
body { font-family: "Liberation Sans", Arial, sans-serif; font-size: 10pt; color: #000; margin: 0 auto; max-width: 190mm; }
h1 { font-size: 16pt; margin: 0 0 4mm; }
h2 { font-size: 13pt; margin: 6mm 0 2mm; border-bottom: 1px solid #888; }
h3 { font-size: 11pt; margin: 4mm 0 1mm; }
table { border-collapse: collapse; }
th, td { border: 1px solid #bbb; padding: 1mm 2mm; text-align: left; vertical-align: top; }
td.n { text-align: right; }
tr, .fault, figure { break-inside: avoid; }
.facts th { background: #eee; }
.records { width: 100%; }
.records th { background: #eee; }
.fault { border: 1px solid #c00; padding: 2mm; margin: 2mm 0; display: flex; gap: 4mm; }
.fault table { flex: 1; }
.problem { color: #a00; font-weight: bold; }
.swatch { display: inline-block; width: 3mm; height: 3mm; border: 1px solid #000; vertical-align: middle; }
svg.board { width: 100%; height: auto; }
svg.board circle, svg.board rect { stroke: #000; stroke-width: 2; }
svg.board text { font: bold 24px sans-serif; fill: #c00; stroke: #fff; stroke-width: 3px; paint-order: stroke; }
svg.plot { width: 44mm; height: 33mm; }
svg.plot .frame { fill: #fff; stroke: #555; }
svg.plot .grid { stroke: #ccc; stroke-dasharray: 1 2; }
svg.plot .axis { stroke: #999; }
svg.plot .golden { fill: none; stroke: #ffa500; stroke-width: 1.5; }
svg.plot .dut { fill: none; stroke: #0000ff; stroke-width: 1; }
svg.plot text { font: 9px sans-serif; fill: #333; }
.legend-golden { color: #e69500; font-weight: bold; }
.legend-dut { color: #0000ff; font-weight: bold; }
)";

void Append(std::string& out, std::string_view a) {
    out.append(a);
}

void AppendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                // NUL and the other control bytes are no text in HTML (a parser drops or
                // rejects them); the replacement character shows that something was there.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
                    out += "\xEF\xBF\xBD";
                else
                    out += c;
        }
    }
}

std::string Hex(ColourNumber colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", RedOf(colour), GreenOf(colour),
                  BlueOf(colour));
    return text;
}

std::string Number(int value) {
    return std::to_string(value);
}

void AppendPolygon(std::string& out, std::string_view cssClass, const std::vector<QPoint>& pixels) {
    if (pixels.empty())
        return;
    out += "<polygon class=\"";
    out += cssClass;
    out += "\" points=\"";
    for (const QPoint& p : pixels) {
        out += Number(p.x());
        out += ',';
        out += Number(p.y());
        out += ' ';
    }
    out.back() = '"';
    out += "/>";
}

void AppendText(std::string& out, int x, int y, std::string_view anchor, std::string_view text,
                std::string_view transform = {}) {
    out += "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" text-anchor=\"";
    out += anchor;
    out += '"';
    if (!transform.empty()) {
        out += " transform=\"";
        out += transform;
        out += '"';
    }
    out += '>';
    AppendEscaped(out, text);
    out += "</text>";
}

std::string GeneratorText(const RecordGenerator& g) {
    return std::to_string(g.Millivolts) + " mVpk, " + std::to_string(g.Ohms) + " ohms, " +
           std::to_string(g.Hertz) + " Hz" + (g.ScanSig != 0 ? ", ScanSig" : "") +
           (g.ScanCom != 0 ? ", ScanCom" : "");
}

std::string DifferenceText(const ReportRecord& r, float threshold) {
    if (!r.difference)
        return "";
    return PercentText(*r.difference) + (*r.difference > threshold ? " (above " : " (within ") +
           PercentText(threshold) + ")";
}

std::string DateText(const LocalDateTime& when) {
    const std::string stamp = FormatLogStamp(when);  // "[09-Dec-2026 14:05:31] "
    return stamp.size() > 3 ? stamp.substr(1, stamp.size() - 3) : stamp;
}

void AppendFact(std::string& out, std::string_view name, std::string_view value) {
    out += "<tr><th>";
    out += name;
    out += "</th><td>";
    AppendEscaped(out, value);
    out += "</td></tr>\n";
}

void AppendCount(std::string& out, std::string_view name, ColourNumber colour, int count,
                 int records) {
    out += "<tr><th><span class=\"swatch\" style=\"background:" + Hex(colour) + "\"></span> ";
    out += name;
    out += "</th><td class=\"n\">" + Number(count) + "</td><td class=\"n\">" +
           ShareText(count, records) + "</td></tr>\n";
}

void AppendHeader(std::string& out, const TestReport& report) {
    const ReportContext& c = report.context;
    out += "<h1>Test report: ";
    AppendEscaped(out, WithoutFolder(c.planFileName));
    out += "</h1>\n<table class=\"facts\">\n";
    AppendFact(out, "Test plan", c.planFileName);
    AppendFact(out, "Board photograph",
               report.photoName.empty() ? "(none)" : WithoutFolder(report.photoName));
    AppendFact(out, "Date and time", DateText(c.when));
    AppendFact(out, "Instrument model", c.instrumentModel);
    AppendFact(out, "Software version", c.softwareVersion);
    const std::string threshold = PercentText(report.thresholdPercent);
    AppendFact(out, "Difference threshold",
               threshold == c.thresholdText
                   ? threshold
                   : threshold + " (the setting reads \"" + c.thresholdText + "\")");
    out += "</table>\n";

    const ReportCounts& n = report.counts;
    out +=
        "<h2>Results</h2>\n<table class=\"facts\">\n<tr><th>Result</th><th>Records</th>"
        "<th>Share</th></tr>\n";
    AppendCount(out, "Good", kColourGreen, n.good, n.records);
    AppendCount(out, "Bad", kColourRed, n.bad, n.records);
    AppendCount(out, "Untested", kColourYellow, n.untested, n.records);
    AppendCount(out, "NoTest", kColourGreyGreen, n.noTest, n.records);
    AppendCount(out, "No golden signature", kColourPink, n.noGolden, n.records);
    out += "<tr><th>All records</th><td class=\"n\">" + Number(n.records) +
           "</td><td></td></tr>\n</table>\n";
}

void AppendBoard(std::string& out, const BoardPicture* board, std::string_view problem) {
    out += "<h2>Board</h2>\n";
    if (board == nullptr) {
        out += "<p class=\"problem\">";
        AppendEscaped(out, problem.empty() ? "No board photograph could be drawn." : problem);
        out += " No board is drawn.</p>\n";
        return;
    }
    const std::string w = Number(board->width);
    const std::string h = Number(board->height);
    out += "<svg class=\"board\" viewBox=\"0 0 " + w + " " + h + "\" width=\"" + w +
           "\" height=\"" + h + "\">\n<image width=\"" + w + "\" height=\"" + h +
           "\" href=\"data:image/jpeg;base64,";
    const QByteArray bytes(board->jpeg.data(), static_cast<qsizetype>(board->jpeg.size()));
    const QByteArray base64 = bytes.toBase64();
    out.append(base64.constData(), static_cast<std::size_t>(base64.size()));
    out += "\"/>\n";
    const int r = board->markerRadius;
    for (const BoardMarker& m : board->markers) {
        const std::string fill = m.fill ? Hex(*m.fill) : "none";
        if (m.square) {
            out += "<rect x=\"" + Number(m.u - r) + "\" y=\"" + Number(m.v - r) + "\" width=\"" +
                   Number(2 * r) + "\" height=\"" + Number(2 * r) + "\" fill=\"" + fill + "\"/>\n";
        } else {
            out += "<circle cx=\"" + Number(m.u) + "\" cy=\"" + Number(m.v) + "\" r=\"" +
                   Number(r) + "\" fill=\"" + fill + "\"/>\n";
        }
    }
    for (const BoardLabel& label : board->labels)
        AppendText(out, label.u + r + 2, label.v - r - 2, "start", label.text);
    out += "\n</svg>\n";
}

void AppendFault(std::string& out, const ReportRecord& r, float threshold) {
    out += "<div class=\"fault\">";
    out += SignaturePlotSvg(r);
    out += "<table>\n";
    AppendFact(out, "Component", r.component);
    AppendFact(out, "Pin", r.pin);
    AppendFact(out, "Note", r.note);
    AppendFact(out, "Generator", GeneratorText(r.settings));
    AppendFact(out, "Difference",
               r.difference ? DifferenceText(r, threshold) : "no DUT signature to compare");
    if (!r.faultEvidence.empty())
        AppendFact(out, "Fault kind", r.faultEvidence);
    AppendFact(out, "Record", Number(r.row));
    out += "</table></div>\n";
}

void AppendFaults(std::string& out, const TestReport& report) {
    out +=
        "<h2>Faults</h2>\n<p><span class=\"legend-golden\">Golden</span> and "
        "<span class=\"legend-dut\">DUT</span> signatures, volts across and current up, "
        "to the golden settings' full scale.</p>\n";
    bool any = false;
    for (const ReportRecord& r : report.records) {
        if (r.status != kBad)
            continue;
        any = true;
        AppendFault(out, r, report.thresholdPercent);
    }
    if (!any)
        out += "<p>No record is Bad.</p>\n";
}

void AppendRecords(std::string& out, const TestReport& report) {
    out += "<h2>Records</h2>\n";
    if (report.records.empty()) {
        out += "<p>The test plan holds no records.</p>\n";
        return;
    }
    for (const ReportComponent& component : report.components) {
        out += "<h3>";
        AppendEscaped(out, component.name.empty() ? "(no component)" : component.name);
        out +=
            "</h3>\n<table class=\"records\">\n<tr><th>Record</th><th>Pin</th><th>Note</th>"
            "<th>Result</th><th>Golden</th><th>Generator</th><th>Difference</th>"
            "<th>Signatures</th></tr>\n";
        for (int i = component.first; i <= component.last; ++i) {
            const ReportRecord& r = report.records[static_cast<std::size_t>(i)];
            out += "<tr><td class=\"n\">" + Number(r.row) + "</td><td>";
            AppendEscaped(out, r.pin);
            out += "</td><td>";
            AppendEscaped(out, r.note);
            out += "</td><td>";
            AppendEscaped(out, r.status);
            out += r.hasGolden ? "</td><td>Yes</td><td>" : "</td><td>No</td><td>";
            if (r.hasGolden)
                AppendEscaped(out, GeneratorText(r.settings));
            out += "</td><td>";
            AppendEscaped(out, DifferenceText(r, report.thresholdPercent));
            out += "</td><td>";
            out += SignaturePlotSvg(r);
            out += "</td></tr>\n";
        }
        out += "</table>\n";
    }
}

void AppendCellProblems(std::string& out, const TestReport& report) {
    if (report.cellProblems.empty())
        return;
    out +=
        "<h2>Cells that are not numbers</h2>\n<p>They are read as the program reads them "
        "(as 0, or the number they begin with).</p>\n<ul>\n";
    for (const std::string& problem : report.cellProblems) {
        out += "<li>";
        AppendEscaped(out, problem);
        out += "</li>\n";
    }
    out += "</ul>\n";
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendEscaped(out, text);
    return out;
}

std::string SignaturePlotSvg(const ReportRecord& record) {
    if (record.goldenPoints < 1 && record.dutPoints < 1)
        return {};
    const ScopeGeometry g = MakeScopeGeometry(kPlotWidth, kPlotHeight, kPlotMargin);
    const float millivolts = static_cast<float>(record.settings.Millivolts);
    const float ohms = static_cast<float>(record.settings.Ohms);
    const float xRange = millivolts / 1000.0f;
    const float yRange = ohms != 0.0f ? xRange / ohms : 0.0f;
    if (!(xRange > 0.0f && yRange > 0.0f))
        return {};  // no scale to draw on
    std::string out;
    out.reserve(2048);
    out += "<svg class=\"plot\" viewBox=\"0 0 " + Number(kPlotWidth) + " " + Number(kPlotHeight) +
           "\">";
    out += "<rect class=\"frame\" x=\"" + Number(g.left) + "\" y=\"" + Number(g.top) +
           "\" width=\"" + Number(g.right - g.left) + "\" height=\"" + Number(g.bottom - g.top) +
           "\"/><path class=\"grid\" d=\"";
    for (int i = 1; i < kPlotDivisions; ++i) {
        for (const int side : {-1, 1}) {
            const int x = g.cx + side * g.hw * i / kPlotDivisions;
            const int y = g.cy + side * g.hh * i / kPlotDivisions;
            out += "M" + Number(x) + " " + Number(g.top) + "V" + Number(g.bottom);
            out += "M" + Number(g.left) + " " + Number(y) + "H" + Number(g.right);
        }
    }
    out += "\"/><path class=\"axis\" d=\"M" + Number(g.cx) + " " + Number(g.top) + "V" +
           Number(g.bottom) + "M" + Number(g.left) + " " + Number(g.cy) + "H" + Number(g.right) +
           "\"/>";
    const SignatureView golden{record.golden.X, record.golden.Y, record.goldenPoints};
    const SignatureView dut{record.dut.X, record.dut.Y, record.dutPoints};
    AppendPolygon(out, "golden", TracePixels(g, xRange, yRange, golden));
    AppendPolygon(out, "dut", TracePixels(g, xRange, yRange, dut));
    const auto volts = VoltageLimitTexts(millivolts);
    const auto amps = CurrentLimitTexts(millivolts, ohms);
    AppendText(out, g.left, g.bottom + 12, "start", volts[0]);
    AppendText(out, g.right, g.bottom + 12, "end", volts[1]);
    const std::string top =
        "translate(" + Number(g.left - 13) + "," + Number(g.top) + ") rotate(90)";
    const std::string bottom =
        "translate(" + Number(g.left - 13) + "," + Number(g.bottom) + ") rotate(90)";
    AppendText(out, 0, 0, "start", amps[0], top);
    AppendText(out, 0, 0, "end", amps[1], bottom);
    out += "</svg>";
    return out;
}

std::string ReportHtml(const TestReport& report, const BoardPicture* board,
                       std::string_view boardProblem) {
    std::string out;
    out.reserve(4096 + report.records.size() * 3000 + (board ? board->jpeg.size() * 4 / 3 : 0));
    out +=
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Test "
        "report: ";
    AppendEscaped(out, WithoutFolder(report.context.planFileName));
    out += "</title>\n<style>";
    Append(out, kStyle);
    out += "</style>\n</head>\n<body>\n";
    AppendHeader(out, report);
    AppendBoard(out, board, boardProblem);
    AppendFaults(out, report);
    AppendRecords(out, report);
    AppendCellProblems(out, report);
    out += "</body>\n</html>\n";
    return out;
}

}  // namespace orv
