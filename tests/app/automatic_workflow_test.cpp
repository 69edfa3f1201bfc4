// The repair workflow end to end, with no human: the simulated hand follows the plan
// while the automatic capture records the known-good board, the plan is saved and
// opened again, then the automatic test finds the faulty pins of the unit under test.
// The link's clock runs ten times fast, so the whole board takes seconds.

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "app/running_program.h"
#include "core/files.h"
#include "display/ribbon_tables.h"
#include "display/ui_refresh.h"
#include "engine/run_notices.h"
#include "link/sim/simulated_driver.h"
#include "testplan/record_cells.h"
#include "ui/controls.h"
#include "ui/tree_tooltips.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

// Every pin the four faults of the unit under test change.
const std::set<std::string> kFaultyPins = {"U2.8", "U2.11", "U2.13", "R9.1",
                                           "R9.2", "C3.1",  "D3.K"};

class AutomaticWorkflowTest : public test::RunningProgram {
protected:
    void SetUp() override {
        RunningProgram::SetUp();
        fs::copy(fs::path(ORV_DEMO_DIR) / "testplans", "testplans", fs::copy_options::recursive);
    }

    void ProbeWindowControl(int control) {
        while (!program_.gui->pending.empty())
            Pass();
        program_.gui->pending.push_back({ui::EventKind::Control, control, kSimProbeWindow});
        Pass();
    }

    void Menu(int command) {
        while (!program_.gui->pending.empty())
            Pass();
        program_.gui->pending.push_back({ui::EventKind::Menu, command, ui::kMainWindow});
        Pass();
    }

    // Passes until the automatic run is back in `manualMode`, within ten minutes of the
    // link's clock. An open pin reads as a lifted probe, so the run waits on it; the
    // technician judges it Bad by hand (Alt+K) once the window says so. Notes whether
    // the percentages ever lagged behind the verdicts while the test ran.
    bool RunUntilBackIn(int manualMode) {
        const std::int64_t until = NowMs(program_.link.clock) + 600000;
        while (NowMs(program_.link.clock) < until) {
            if (program_.working.WorkingMode == manualMode)
                return true;
            ui::Gui& gui = *program_.gui;
            if (ui::IsControlVisible(gui, kControlRunNotice) &&
                ui::ControlText(gui, kControlRunNotice) == kOpenPinPrompt) {
                pinsPrompted_.insert(
                    Cell(program_.testPlan, program_.position.TestPlanIndex, column::kComponent) +
                    "." + Cell(program_.testPlan, program_.position.TestPlanIndex, column::kPin));
                ++pinsJudgedByHand_;
                Menu(kShortcutBad);
                EXPECT_FALSE(ui::IsControlVisible(gui, kControlRunNotice)) << "judged";
            }
            Pass();
            // The percentages follow every verdict while the test runs.
            const int records = RowCount(program_.testPlan) - 1;
            if (program_.working.WorkingMode == kAutomaticTest &&
                ui::ControlText(gui, kControlGoodPercent) !=
                    ResultPercentText(CountResult("Good"), records))
                percentagesLagged_ = true;
        }
        return false;
    }

    // Records the known-good board with the automatic capture, saves and opens the plan
    // again, then runs the automatic test on the unit under test.
    void RecordTheGoodBoardThenTestTheBrokenOne() {
        Start("ORV310", "ORV_TestPlanFileName=testplans\\demo_A.orv\r\n");
        const int records = RowCount(program_.testPlan) - 1;
        ASSERT_GT(records, 40);
        Connect();
        ui::SetControlChecked(*program_.gui, kProbeFollowPlan, true);
        ProbeWindowControl(kProbeFollowPlan);

        // Capture: every record of the known-good board gets its golden signature.
        ui::SetControlChecked(*program_.gui, kControlEditCapture, true);
        Press(kControlEditCapture);
        Press(kControlWorkingMode);
        ASSERT_EQ(program_.working.WorkingMode, kAutomaticCapture);
        ASSERT_TRUE(RunUntilBackIn(kManualCapture));
        EXPECT_EQ(ui::ControlText(*program_.gui, kControlRunNotice),
                  "Automatic capture finished: " + std::to_string(records) + " of " +
                      std::to_string(records) + " records captured");
        for (int row = 2; row <= records + 1; ++row)
            ASSERT_EQ(Cell(program_.testPlan, row, column::kSignature), "Yes") << row;

        // Saved under a new name, and opened again from the file.
        Dialogs().fileAnswers = {"testplans/recorded", "testplans/recorded.orv"};
        Menu(kMenuFileSaveAs);
        EXPECT_FALSE(ui::IsControlVisible(*program_.gui, kControlRunNotice)) << "the next action";
        Menu(kMenuFileOpen);
        ASSERT_EQ(program_.app.settings.TestPlanFileName, "testplans/recorded.orv");
        ASSERT_EQ(RowCount(program_.testPlan), records + 1);
        const std::string saved = ReadWholeFile("testplans/recorded.orv").value_or("");
        EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), records + 1);
        SignatureBuffer golden;
        for (int row = 2; row <= records + 1; ++row)
            ASSERT_EQ(LoadSignature(program_.testPlan, row, kGoldenBlock, golden.X, golden.Y), 64);

        // Test: the unit under test, pin by pin.
        sim::SelectBoard(*program_.simulator, sim::BoardUnit::UnderTest);
        ui::SetControlChecked(*program_.gui, kControlEditCapture, false);
        Press(kControlEditCapture);
        Press(kControlWorkingMode);
        ASSERT_EQ(program_.working.WorkingMode, kAutomaticTest);
        ASSERT_TRUE(RunUntilBackIn(kManualTest))
            << "record " << program_.position.TestPlanIndex << " step "
            << program_.working.AutoTestStep << " state " << program_.measurement.SignatureState
            << " count " << program_.measurement.StableCount << " probe "
            << static_cast<int>(sim::Inspect(*program_.simulator).probe.kind) << " bad "
            << BadPins().size() << " good " << CountResult("Good");
    }

    struct BrowserRun {
        bool finished = false;
        std::string output;
        std::string errors;
    };

    static BrowserRun RunBrowser(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        BrowserRun run;
        run.finished =
            process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
        if (!run.finished)
            process.kill();
        run.output = process.readAllStandardOutput().toStdString();
        run.errors = process.readAllStandardError().toStdString();
        return run;
    }

    int pinsJudgedByHand_ = 0;
    std::set<std::string> pinsPrompted_;
    bool percentagesLagged_ = false;

    std::set<std::string> BadPins() {
        std::set<std::string> pins;
        const TestPlan& plan = program_.testPlan;
        for (int row = 2; row <= RowCount(plan); ++row) {
            if (CellView(plan, row, column::kStatus) == "Bad")
                pins.insert(Cell(plan, row, column::kComponent) + "." +
                            Cell(plan, row, column::kPin));
        }
        return pins;
    }

    int CountResult(std::string_view result) {
        int count = 0;
        for (int row = 2; row <= RowCount(program_.testPlan); ++row)
            count += CellView(program_.testPlan, row, column::kStatus) == result ? 1 : 0;
        return count;
    }
};

TEST_F(AutomaticWorkflowTest, RecordTheGoodBoardThenFindTheFaultsOfTheBrokenOne) {
    RecordTheGoodBoardThenTestTheBrokenOne();
    if (HasFatalFailure())
        return;
    const int records = RowCount(program_.testPlan) - 1;

    // Every pin the four faults change, and no other.
    EXPECT_EQ(BadPins(), kFaultyPins);
    EXPECT_EQ(pinsJudgedByHand_, 1);  // the open pin, once the window asked
    EXPECT_EQ(pinsPrompted_, std::set<std::string>{"U2.8"});
    EXPECT_FALSE(percentagesLagged_);
    // The end of the run is shown, and stays until the user acts.
    const int good = records - static_cast<int>(kFaultyPins.size());
    const std::string summary = "Automatic test finished: " + std::to_string(good) + " Good, " +
                                std::to_string(kFaultyPins.size()) + " Bad, 0 Untested";
    EXPECT_TRUE(ui::IsControlVisible(*program_.gui, kControlRunNotice));
    EXPECT_EQ(ui::ControlText(*program_.gui, kControlRunNotice), summary);
    PassFrames(20);
    EXPECT_EQ(ui::ControlText(*program_.gui, kControlRunNotice), summary);
    EXPECT_EQ(CountResult("Good"), records - static_cast<int>(kFaultyPins.size()));
    EXPECT_EQ(CountResult("Untested"), 0);
    EXPECT_EQ(ui::TreeEntryCount(*program_.gui, kControlBadTree),
              static_cast<int>(kFaultyPins.size()) + 1);
    EXPECT_EQ(ui::ControlText(*program_.gui, kControlBadPercent),
              ResultPercentText(static_cast<int>(kFaultyPins.size()), records));

    // Each Bad pin named as its fault in the bad tree's tooltip: the bond wire open, the
    // solder bridge a short, the pins behind the leaky zener leakage, the dried coupling
    // capacitor smaller.
    const std::map<std::string, std::string> kinds = {
        {"U2, Pin 8", "open"},
        {"U2, Pin 11", "short"},
        {"U2, Pin 13", "leakage"},
        {"R9, Pin 1", "leakage"},
        {"R9, Pin 2", "leakage"},
        {"D3, Pin K", "leakage"},
        {"C3, Pin 1", "capacitance smaller"},
    };
    for (int i = 1; i < ui::TreeEntryCount(*program_.gui, kControlBadTree); ++i) {
        const std::string pin = ui::TreeEntryAt(*program_.gui, kControlBadTree, i).text;
        const std::string tooltip = ui::TreeTooltip(*program_.gui, kControlBadTree, i);
        ASSERT_TRUE(kinds.contains(pin)) << pin;
        EXPECT_EQ(tooltip.substr(0, tooltip.find(" (confidence ")), kinds.at(pin))
            << pin << ": " << tooltip;
    }
}

// The report of the tested board, exported from the menu, rendered by a browser
// without a screen. The page has no script, so what can go wrong is the document
// itself: cut short or unparsable, or a picture the browser cannot decode. The DOM the
// browser builds must reach the last record and name every Bad pin on the board, the
// console must stay free of errors, and the screenshot must show the embedded
// photograph with the red markers of the Bad pins.
TEST_F(AutomaticWorkflowTest, TheReportOfTheTestedBoardLoadsInABrowser) {
    const QString chromium = QStandardPaths::findExecutable("chromium");
    if (chromium.isEmpty())
        GTEST_SKIP() << "chromium is not installed";
    RecordTheGoodBoardThenTestTheBrokenOne();
    if (HasFatalFailure())
        return;
    Dialogs().fileAnswers = {"tested"};
    Dialogs().yesNoAnswers = {false};
    Menu(kMenuFileExportReport);
    ASSERT_TRUE(FileExists("tested.html"));

    const QString page =
        QUrl::fromLocalFile(QDir::current().absoluteFilePath("tested.html")).toString();
    const QStringList common = {"--headless",
                                "--no-sandbox",
                                "--disable-gpu",
                                "--user-data-dir=" + QDir::current().absoluteFilePath("chromium"),
                                "--enable-logging=stderr",
                                "--v=0",
                                "--hide-scrollbars"};
    const BrowserRun dom = RunBrowser(chromium, common + QStringList{"--dump-dom", page});
    ASSERT_TRUE(dom.finished) << dom.errors;
    const std::string lastRow = ">" + std::to_string(RowCount(program_.testPlan)) + "</td>";
    EXPECT_NE(dom.output.find(lastRow), std::string::npos) << "the DOM stops early";
    EXPECT_NE(dom.output.find("</html>"), std::string::npos);
    for (const std::string& pin : kFaultyPins)
        EXPECT_NE(dom.output.find(">" + pin + "</text>"), std::string::npos) << pin;

    const QString shot = QDir::current().absoluteFilePath("tested.png");
    const BrowserRun rendered = RunBrowser(
        chromium, common + QStringList{"--screenshot=" + shot, "--window-size=900,2200", page});
    ASSERT_TRUE(rendered.finished) << rendered.errors;
    for (const BrowserRun* run : {&dom, &rendered}) {
        EXPECT_EQ(run->errors.find(":CONSOLE"), std::string::npos) << run->errors;
    }
    const QImage image(shot);
    ASSERT_FALSE(image.isNull());
    // The board is green; nothing else on the page is.
    int red = 0;
    int green = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 230 && c.green() < 50 && c.blue() < 50 ? 1 : 0;
            green += c.green() > c.red() + 40 && c.green() > c.blue() + 40 ? 1 : 0;
        }
    }
    EXPECT_GT(green, 100000) << "the photograph is not shown";
    EXPECT_GT(red, 7 * 20) << "the Bad pins' markers are not shown";
    const QString kept = QStringLiteral(ORV_REPORT_SHOT_DIR);
    QDir().mkpath(kept);
    QFile::remove(kept + "/simulated_board_report.png");
    QFile::copy(shot, kept + "/simulated_board_report.png");
    QFile::remove(kept + "/simulated_board_report.html");
    QFile::copy("tested.html", kept + "/simulated_board_report.html");
}

}  // namespace
}  // namespace orv
