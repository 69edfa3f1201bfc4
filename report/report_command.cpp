#include "report/report_command.h"

#include <optional>

#include "core/app_state.h"
#include "core/files.h"
#include "core/settings.h"
#include "report/report_csv.h"
#include "report/report_document.h"
#include "testplan/orv_file.h"

namespace orv {

namespace {

constexpr std::string_view kUsage =
    "usage: orv-report PLAN.orv [-o REPORT.html] [--csv RECORDS.csv]\n"
    "Writes a self-contained HTML report of the test plan's results (by default beside\n"
    "the plan, named after it) and, with --csv, one line per record as CSV. The\n"
    "instrument model and the difference threshold are read from ORV_settings.txt in\n"
    "the working directory when it is there.\n";

struct ReportArguments {
    std::string plan;
    std::string output;
    std::string csv;
};

// Nothing, with the reason in `error`, for a command line that names no single plan.
std::optional<ReportArguments> ParseArguments(std::span<const std::string> arguments,
                                              std::string& error) {
    ReportArguments parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "-o" || a == "--csv") {
            if (i + 1 >= arguments.size()) {
                error = a + " needs a file name";
                return std::nullopt;
            }
            (a == "-o" ? parsed.output : parsed.csv) = arguments[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option " + a;
            return std::nullopt;
        } else if (parsed.plan.empty()) {
            parsed.plan = a;
        } else {
            error = "more than one test plan: " + parsed.plan + ", " + a;
            return std::nullopt;
        }
    }
    if (parsed.plan.empty()) {
        error = "no test plan named";
        return std::nullopt;
    }
    if (parsed.output.empty())
        parsed.output = ReportNameFor(parsed.plan);
    return parsed;
}

// Plan text on a terminal: without control characters (C0, DEL and the UTF-8 C1
// range), so that a cell cannot move the cursor, retitle the window or hide a line.
std::string TerminalText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F)
            continue;
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            ++i;
            continue;
        }
        shown += text[i];
    }
    return shown;
}

// The reason the outputs would overwrite the plan or each other, or empty.
std::string SameFileProblem(const ReportArguments& a) {
    if (SameFile(a.output, a.plan))
        return "the report would replace the test plan " + a.plan;
    if (a.csv.empty())
        return {};
    if (SameFile(a.csv, a.plan))
        return "the record list would replace the test plan " + a.plan;
    if (SameFile(a.csv, a.output))
        return "the report and the record list would be one file: " + a.output;
    return {};
}

std::string SettingOr(std::string_view key, const std::string& fallback) {
    const std::string value = FindSettingValue(kSettingsFileName, key);
    return value.empty() ? fallback : value;
}

}  // namespace

int RunReportCommand(std::span<const std::string> arguments, std::ostream& out, std::ostream& err,
                     const LocalDateTime& when) {
    for (const std::string& a : arguments) {
        if (a == "--help" || a == "-h") {
            out << kUsage;
            return kReportWritten;
        }
        if (a == "--version") {
            out << "orv-report " << SoftwareVersionText() << "\n";
            return kReportWritten;
        }
    }
    std::string error;
    const std::optional<ReportArguments> parsed = ParseArguments(arguments, error);
    if (!parsed) {
        err << "orv-report: " << TerminalText(error) << "\n" << kUsage;
        return kReportUsage;
    }
    if (const std::string same = SameFileProblem(*parsed); !same.empty()) {
        err << "orv-report: " << TerminalText(same) << "\n";
        return kReportUsage;
    }
    const std::optional<std::string> bytes =
        ReadWholeFile(NativePath(parsed->plan), kMaxTestPlanBytes);
    if (!bytes) {
        err << "orv-report: cannot read the test plan " << TerminalText(parsed->plan) << "\n";
        return kReportFailed;
    }
    const TestPlan plan = ParseTestPlan(*bytes);

    const Settings defaults;
    ReportContext context;
    context.planFileName = parsed->plan;
    context.thresholdText = SettingOr("ORV_GoldenVsLiveThreshold", defaults.GoldenVsLiveThreshold);
    context.instrumentModel = SettingOr("ActiveInstrument", defaults.ActiveInstrument);
    context.softwareVersion = std::string(SoftwareVersionText());
    context.when = when;
    const ReportDocument document = MakeReportDocument(plan, context, parsed->plan);

    if (const std::string failed = WriteReportFile(parsed->output, document.html);
        !failed.empty()) {
        err << "orv-report: the report was not written: " << TerminalText(failed) << "\n";
        return kReportFailed;
    }
    if (!parsed->csv.empty()) {
        if (const std::string failed = WriteReportFile(parsed->csv, ReportCsv(document.report));
            !failed.empty()) {
            err << "orv-report: the record list was not written: " << TerminalText(failed) << "\n";
            return kReportFailed;
        }
    }
    for (const std::string& warning : document.warnings)
        err << "orv-report: " << TerminalText(parsed->plan + ": " + warning) << "\n";
    for (const ReportRecord& r : document.report.records) {
        if (!r.faultKind.empty())
            out << TerminalText(r.component + " pin " + r.pin + ": " + r.faultEvidence) << "\n";
    }
    const ReportCounts& n = document.report.counts;
    out << "orv-report: wrote " << TerminalText(parsed->output) << " (" << n.records << " records, "
        << n.bad << " Bad)" << (parsed->csv.empty() ? "" : " and " + TerminalText(parsed->csv))
        << "\n";
    return document.warnings.empty() ? kReportWritten : kReportWrittenWithWarnings;
}

}  // namespace orv
