#include "app/startup.h"

#include "app/sim_probe_window.h"

#include <ctime>

#include <algorithm>

#include "core/clock.h"
#include "core/files.h"
#include "core/settings.h"
#include "display/ribbon_tables.h"
#include "support/log_messages.h"
#include "support/working_dir.h"
#include "testplan/test_plan.h"
#include "ui/controls.h"

namespace orv {
namespace {

using test::LogMessages;

using test::FileText;

class StartUpTest : public test::InWorkingDir {
protected:
    void SetUp() override {
        InWorkingDir::SetUp();
        auto dialogs = std::make_unique<ui::ScriptedDialogs>();
        dialogs_ = dialogs.get();
        program_.dialogs = std::move(dialogs);
        program_.gui = std::make_unique<ui::Gui>();
        options_.settleMs = 0;
    }
    void Start() { StartUp(program_, options_); }

    Program program_;
    ui::ScriptedDialogs* dialogs_ = nullptr;
    StartOptions options_;
};

TEST_F(StartUpTest, FirstStartInAnEmptyDirectory) {
    Start();

    const std::string settings = FileText("ORV_settings.txt");
    EXPECT_NE(settings.substr(0, 3), "\xEF\xBB\xBF");
    const std::vector<std::string> lines = SplitLines(settings);
    ASSERT_EQ(lines.size(), 44u);
    EXPECT_EQ(lines[0], "ActiveInstrument=ORV310");
    EXPECT_EQ(lines[3], "DateOfLastUpdateCheck=" + FormatDayMonthYear(NowLocal()));
    EXPECT_EQ(lines[6], "MainWindowWidth=1531");
    EXPECT_EQ(lines[43], "ORV_GoldenVsLiveThreshold=1.50%");
    size_t lineEnds = 0;
    for (size_t at = 0; (at = settings.find("\r\n", at)) != std::string::npos; at += 2)
        ++lineEnds;
    EXPECT_EQ(lineEnds, 44u);
    EXPECT_EQ(settings.find('\n'), settings.find("\r\n") + 1);

    // The missing demo plan is made as a placeholder of 576 commas, and loaded.
    EXPECT_EQ(FileText("testplans/demo_A.orv"), std::string(576, ','));
    // An empty directory has no colour-scheme file; a machine without an audio output
    // loads no sounds.
    std::vector<std::string> log = {
        "ORV32.EXE start-up, activeinstrument:ORV310",
        "TestPlan loaded: testplans\\demo_A.orv rows=1 cols=577",
        "Error #0003 settings/colours.txt Not found, using Default colour scheme"};
    if (!program_.app.SoundAvailable) {
        log.push_back(
            "ALLSoundStatus=#False, cannot load sounds - could be missing files OR no/bad sound "
            "system on WIN/PC");
    }
    EXPECT_EQ(LogMessages(), log);
    EXPECT_EQ(RowCount(program_.testPlan), 1);
    EXPECT_EQ(ColCount(program_.testPlan), 577);
    EXPECT_EQ(program_.position.TestPlanIndex, 1);
    EXPECT_EQ(ui::WindowTitle(*program_.gui, ui::kMainWindow),
              "Korvane - ORV310 Analog Signature Analyser V25.003");
    // Built at 1200 x 720, then sized for the Advanced mode by the first refresh.
    EXPECT_EQ(ui::InnerSize(*program_.gui, ui::kMainWindow), (ui::Size{1545, 725}));
    // Laid out and drawn before the settle, connection indicator included, so the
    // whole window appears at once.
    EXPECT_FALSE(program_.app.LayoutChanged);
    EXPECT_FALSE(program_.position.RecordChanged);
    EXPECT_FALSE(ui::ControlImage(*program_.gui, kControlMainScope).isNull());
    EXPECT_FALSE(ui::ControlImage(*program_.gui, kControlPcbView).isNull());
    EXPECT_EQ(program_.app.ShownConnectionState, 0);
    EXPECT_FALSE(program_.app.QuitRequested);
    ASSERT_EQ(dialogs_->shown.size(), 1u);
    EXPECT_EQ(dialogs_->shown[0].title, "Error #0003");
}

TEST_F(StartUpTest, ThePicturesBesideTheProgramAreLoaded) {
    ASSERT_TRUE(MakeFolder("settings"));
    ASSERT_TRUE(CreateNewFile("settings/colours.txt", ""));
    ASSERT_TRUE(MakeFolder("graphics"));
    QImage good(72, 23, QImage::Format_RGB32);
    good.fill(Qt::green);
    ASSERT_TRUE(good.save("graphics/good_72x23.png"));
    Start();
    EXPECT_EQ(PictureOf(program_.media, Picture::Good72x23).size(), QSize(72, 23));
    EXPECT_TRUE(PictureOf(program_.media, Picture::Bad72x23).isNull());
    EXPECT_TRUE(dialogs_->shown.empty());
    EXPECT_FALSE(ui::IsWindowOpen(*program_.gui, kSimProbeWindow));  // the USB instrument
}

TEST_F(StartUpTest, UnknownModelRunsAsTheSmallestAndTheFileKeepsIt) {
    ASSERT_TRUE(CreateNewFile("ORV_settings.txt", "ActiveInstrument=ORV999\r\n"));
    Start();
    EXPECT_EQ(program_.app.settings.ActiveInstrument, "ORV310");
    const std::vector<std::string> log = LogMessages();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 3),
              (std::vector<std::string>{
                  "ORV32.EXE start-up, cannot find legal instrument name, defaulting "
                  "'activeinstrument$' to 'ORV310'",
                  "ORV32.EXE start-up, activeinstrument:ORV310",
                  "TestPlan loaded: testplans\\demo_A.orv rows=1 cols=577"}));
    EXPECT_EQ(SplitLines(FileText("ORV_settings.txt"))[0], "ActiveInstrument=ORV999");
}

TEST_F(StartUpTest, EveryModelTitlesTheWindow) {
    for (const char* model : {"ORV310", "ORV311P", "ORV320", "ORV340", "ORV340X"}) {
        SCOPED_TRACE(model);
        ui::CloseWindow(*program_.gui, ui::kMainWindow);
        ASSERT_TRUE(ReplaceFile("ORV_settings.txt", "t",
                                std::string("ActiveInstrument=") + model + "\r\n") ==
                    ReplaceResult::Replaced);
        Start();
        EXPECT_EQ(program_.app.settings.ActiveInstrument, model);
        EXPECT_EQ(ui::WindowTitle(*program_.gui, ui::kMainWindow),
                  std::string("Korvane - ") + model + " Analog Signature Analyser V25.003");
        const std::vector<std::string> log = LogMessages();
        EXPECT_EQ(std::count(log.begin(), log.end(),
                             std::string("ORV32.EXE start-up, activeinstrument:") + model),
                  1);
    }
}

TEST_F(StartUpTest, DailyCheckDoneTodayWritesNothing) {
    const std::string today = FormatDayMonthYear(NowLocal());
    const std::string settings = "DateOfLastUpdateCheck=" + today + "\r\n";
    ASSERT_TRUE(CreateNewFile("ORV_settings.txt", settings));
    Start();
    EXPECT_EQ(SplitLines(FileText("ORV_settings.txt"))[0], "DateOfLastUpdateCheck=" + today);
    EXPECT_EQ(program_.app.TodayText, today);
}

TEST_F(StartUpTest, MissingCurrentPlanFallsBackToTheDemoPlanInMemoryOnly) {
    ASSERT_TRUE(CreateNewFile("ORV_settings.txt", "ORV_TestPlanFileName=testplans\\gone.orv\r\n"));
    ASSERT_TRUE(MakeFolder("testplans"));
    ASSERT_TRUE(CreateNewFile("testplans/demo_A.orv", "kept"));
    Start();
    EXPECT_EQ(program_.app.settings.TestPlanFileName, "testplans\\demo_A.orv");
    EXPECT_EQ(FileText("testplans/demo_A.orv"), "kept");
    EXPECT_EQ(Cell(program_.testPlan, 1, 1), "kept");
    EXPECT_EQ(SplitLines(FileText("ORV_settings.txt"))[0],
              "ORV_TestPlanFileName=testplans\\gone.orv");
}

TEST_F(StartUpTest, LoopHandsEventsToTheMainCycleAndEndsOnTheMainWindowsClose) {
    Start();
    std::deque<ui::Event>& pending = program_.gui->pending;
    pending.clear();

    // The main cycle serves a click in the pass that saw it.
    pending.push_back({ui::EventKind::RightClick, 0, ui::kMainWindow, 5, 6});
    RunTopLevelPass(program_);
    EXPECT_EQ(program_.app.LastEvent,
              (ui::Event{ui::EventKind::RightClick, 0, ui::kMainWindow, 5, 6}));
    EXPECT_FALSE(program_.app.RightClickPending);

    pending.push_back({ui::EventKind::Control, 42, ui::kMainWindow});
    RunTopLevelPass(program_);
    EXPECT_FALSE(program_.app.ClickPending);
    EXPECT_EQ(program_.app.LastEvent, (ui::Event{ui::EventKind::Control, 42, ui::kMainWindow}));

    pending.push_back({ui::EventKind::MovedOrResized, 0, ui::kMainWindow});
    program_.cycle.LayoutTime = std::time(nullptr) + 60;  // laid out a moment ago
    RunTopLevelPass(program_);
    EXPECT_TRUE(program_.app.LayoutChanged);

    pending.push_back({ui::EventKind::Menu, 7, ui::kMainWindow});
    RunTopLevelPass(program_);
    EXPECT_EQ(program_.app.LastEvent.kind, ui::EventKind::Menu);

    pending.push_back({ui::EventKind::CloseRequest, 0, 2});  // a secondary window
    RunTopLevelPass(program_);
    EXPECT_FALSE(program_.app.QuitRequested);

    pending.push_back({ui::EventKind::CloseRequest, 0, ui::kMainWindow});
    RunTopLevelLoop(program_);
    EXPECT_TRUE(program_.app.QuitRequested);
}

TEST_F(StartUpTest, LoopServesAReconnectRequestOnce) {
    Start();
    program_.app.ReconnectRequested = true;
    RunTopLevelPass(program_);
    EXPECT_FALSE(program_.app.ReconnectRequested);
    // Without a driver library the attempt fails; what matters is that it is made once.
    const std::vector<std::string> messages = LogMessages();
    ASSERT_GE(messages.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(messages.end() - 4, messages.end()),
              (std::vector<std::string>{
                  "Auto-reconnect: initiating connection from UI thread", "ORV_StartConnection()",
                  "Error #0005 FTD2XX.DLL failed to open.",
                  "Warning #0061 USB service unable to start - please check instrument is "
                  "connected via USB."}));
    const size_t lines = LogMessages().size();
    RunTopLevelPass(program_);
    EXPECT_EQ(LogMessages().size(), lines);
}

TEST_F(StartUpTest, MainWindowHoldsTheRibbonOfTheModelAndTheDisplayAreas) {
    ASSERT_TRUE(CreateNewFile("ORV_settings.txt", "ActiveInstrument=ORV340\r\n"));
    Start();
    for (const int number :
         {kControlRibbonPanel, kControlVoltagePlus, kControlScanSignalList, kControlEditRecords,
          kControlMainScope, kControlMiniScopes[8], kControlPcbView, kControlBottomFiller,
          kControlTestTree, kControlBadTree}) {
        EXPECT_TRUE(ui::ControlExists(*program_.gui, number)) << number;
    }
    EXPECT_FALSE(ui::ControlExists(*program_.gui, kControlInstrumentStatusText));
}

}  // namespace
}  // namespace orv
