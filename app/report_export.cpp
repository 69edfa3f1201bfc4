#include "app/report_export.h"

#include <string>
#include <vector>

#include "app/program.h"
#include "core/clock.h"
#include "core/event_log.h"
#include "report/report_document.h"

namespace orv {

namespace {

const std::vector<ui::FileFilter> kReportFilters = {{"Web page (*.html)", "*.html"},
                                                    {"All files (*.*)", "*.*"}};

}  // namespace

void ExportTestReport(Program& program) {
    const Settings& settings = program.app.settings;
    const std::string chosen =
        program.dialogs->ChooseFileToSave("Please choose a file for the test report",
                                          ReportNameFor(settings.TestPlanFileName), kReportFilters);
    if (chosen.empty())
        return;
    const std::string name = WithHtmlExtension(chosen);
    ReportContext context;
    context.planFileName = settings.TestPlanFileName;
    context.thresholdText = settings.GoldenVsLiveThreshold;
    context.instrumentModel = settings.ActiveInstrument;
    context.softwareVersion = std::string(SoftwareVersionText());
    context.when = NowLocal();
    const ReportDocument document =
        MakeReportDocument(program.testPlan, context, settings.TestPlanFileName);
    if (const std::string failed = WriteReportFile(name, document.html); !failed.empty()) {
        WriteLogLine(program.log, "Error: test report not written: " + failed);
        ShowUserMessage(program.log, "Error #0080 The test report cannot be written: " + name);
        return;
    }
    WriteLogLine(program.log, "Test report written: " + name);
    std::string question = "The test report was written to " + name + ".";
    if (!document.warnings.empty())
        question += "\n" + document.warnings.front();
    if (document.warnings.size() > 1) {
        question += "\n" + std::to_string(document.warnings.size() - 1) +
                    " more problem(s) are listed in the report.";
    }
    question += "\n\nOpen the report in the web browser?";
    if (program.dialogs->AskYesNo("Test Report", question, ui::BoxIcon::Question))
        program.dialogs->OpenWebAddress(FileAddress(name));
}

}  // namespace orv
