// The menu bar and the shortcuts inside the running program: the whole menu tree, the
// settings each item writes and marks, and the File menu's plans and recent list.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/plan_files.h"
#include "app/running_program.h"
#include "core/files.h"
#include "core/settings.h"
#include "display/ribbon_tables.h"
#include "testplan/orv_file.h"
#include "testplan/recent_plans.h"
#include "ui/controls.h"
#include "ui/qt_windows.h"

namespace orv {
namespace {

// The bar as text: one line an entry, indented by depth, the command in brackets,
// "[x]" for a checkable item, "---" for a separator.
constexpr const char* kMenuTree = R"(File
  New [25]
  Open [26]
  Save [27]
  Export Test Report... [901]
  Save As... [902]
  ---
  Open Recent
    testplans\demo_A.orv [555]
    testplans\demo_B.orv [556]
    testplans\demo_C.orv [557]
    testplans\demo_D.orv [558]
    testplans\demo_E.orv [559]
    testplans\demo_F.orv [560]
    testplans\demo_G.orv [561]
    testplans\demo_H.orv [562]
Instrument
  Connect [235] [x]
  Disconnect [236] [x]
  ---
  Change Instrument
    ORV310 [240] [x]
    ORV311P [241] [x]
    ORV320 [242] [x]
    ORV340 [243] [x]
Mode
  Compact [162] [x]
  Advanced [164] [x]
Test
  Allow Signature Overwrite (AUTO CAPTURE) [202] [x]
  Open Circuit Detect Threshold (AUTO TEST/AUTO CAPTURE)
    0.25% [172] [x]
    0.5% (default) [173] [x]
    1.0% [174] [x]
  Stable Signature Detect Threshold (AUTO TEST/AUTO CAPTURE)
    0.5% [180] [x]
    1.0% (default) [181] [x]
    2.0% [182] [x]
  Stable Signature Delay (AUTO TEST/AUTO CAPTURE)
     2 cycles [175] [x]
     5 cycles [176] [x]
    10 cycles (default) [177] [x]
    15 cycles [178] [x]
    20 cycles [179] [x]
  ---
  Golden vs. Live Signature Difference Threshold (AUTO TEST)
    0.5% [183] [x]
    0.75% [184] [x]
    1.0% [185] [x]
    1.5% (default) [186] [x]
    2.0% [187] [x]
    3.0% [188] [x]
    4.0% [189] [x]
    5.0% [190] [x]
  ---
  Collapse Test Tree [201]
Scope
  Graticule
    On (default) [49] [x]
    Off [50] [x]
  Crosshairs
    On (default) [51] [x]
    Classic [52] [x]
    Off [53] [x]
  ---
  Crosshairs (mini-scopes)
    On [54] [x]
    Off (default) [55] [x]
Display
  PCB Crosshairs
    1 line [60] [x]
    3 line [61] [x]
  ---
  Display Colours [59]
Views
  9 mini-scopes (default) [76] [x]
  6 mini-scopes + TestTree [77] [x]
  3 mini-scopes + TestTree [78] [x]
  3 mini-scopes + TestTree + BadTree [83] [x]
  3 mini-scopes + PCB [79] [x]
  3 mini-scopes + PCB + TestTree [80] [x]
  2 mini-scopes + PCB + TestTree + BadTree [84] [x]
  2 mini-scopes + PCB + TestTree [81] [x]
  1 mini-scope + PCB+ TestTree + BadTree [85] [x]
  PCB [82] [x]
Utilities
  Calibrate
    Calibrate DAC/ADC [58]
  ---
  Daily Update Check
    Daily Check for Releases [238] [x]
Help
  About [146]
  Support
    Support Info [149]
)";

class MenuCommandsTest : public test::RunningProgram {
protected:
    std::string MenuTree() {
        std::ostringstream out;
        for (const ui::MenuEntry& e : ui::MenuEntries(*program_.gui, ui::kMainWindow)) {
            out << std::string(static_cast<size_t>(2 * e.depth), ' ');
            if (e.separator) {
                out << "---\n";
                continue;
            }
            out << e.text;
            if (e.command != 0)
                out << " [" << e.command << "]";
            if (e.checkable)
                out << " [x]";
            out << "\n";
        }
        return out.str();
    }

    void Menu(int command) { Post({ui::EventKind::Menu, command, ui::kMainWindow}); }
    void CloseMainWindow() { Post({ui::EventKind::CloseRequest, 0, ui::kMainWindow}); }
    void Post(const ui::Event& event) {
        while (!program_.gui->pending.empty())
            Pass();
        program_.gui->pending.push_back(event);
        Pass();
    }

    std::string SettingsFile() { return ReadWholeFile(kSettingsFileName).value_or(""); }
    bool SettingsHave(const std::string& line) {
        return SettingsFile().find("\r\n" + line + "\r\n") != std::string::npos;
    }
    bool Checked(int command) { return ui::IsMenuItemChecked(*program_.gui, command); }

    // The menu item's own action, clicked as the user clicks it.
    QAction* MenuAction(int command) {
        const auto& items = program_.gui->windows->menuItems;
        const auto found = items.find(command);
        return found != items.end() ? found->second.action : nullptr;
    }

    QWidget* MainWindow() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->windowTitle().startsWith("ORV310") || top->windowTitle().contains("Analog"))
                return top;
        }
        return nullptr;
    }

    // A plan of two records saved under `name`.
    static void WritePlan(const std::string& name) {
        TestPlan plan;
        ResizeTable(plan, 3, kPlanColumns);
        SetCell(plan, 2, column::kComponent, "U1");
        SetCell(plan, 3, column::kComponent, "U1");
        Renumber(plan);
        ASSERT_TRUE(WriteWholeFile(name, TestPlanBytes(plan)));
    }
};

TEST_F(MenuCommandsTest, TheMenuBarHoldsEveryItemInOrder) {
    Start("ORV310");
    EXPECT_EQ(MenuTree(), kMenuTree);
}

TEST_F(MenuCommandsTest, EachShortcutDeliversItsCommand) {
    Start("ORV310");
    QWidget* window = MainWindow();
    ASSERT_NE(window, nullptr);
    window->activateWindow();
    QApplication::setActiveWindow(window);
    struct Key {
        Qt::Key key;
        int command;
        Qt::KeyboardModifier modifier = Qt::AltModifier;
    };
    const Key keys[] = {{Qt::Key_W, 197},
                        {Qt::Key_X, 198},
                        {Qt::Key_Y, 199},
                        {Qt::Key_Z, 200},
                        {Qt::Key_B, 191},
                        {Qt::Key_E, 192},
                        {Qt::Key_R, 196},
                        {Qt::Key_J, 193},
                        {Qt::Key_K, 194},
                        {Qt::Key_L, 195},
                        {Qt::Key_S, kShortcutQuickSave, Qt::ControlModifier}};
    for (const auto& [key, command, modifier] : keys) {
        program_.gui->pending.clear();
        QTest::keyClick(window, key, modifier);
        bool seen = false;
        for (const ui::Event& event : program_.gui->pending)
            seen = seen || (event.kind == ui::EventKind::Menu && event.number == command);
        EXPECT_TRUE(seen) << command;
    }
    program_.gui->pending.clear();
}

TEST_F(MenuCommandsTest, SettingsChoicesAreWrittenAndMarked) {
    struct Case {
        int command;
        const char* line;
        std::vector<int> unmarked;  // the other items of the group
    };
    const Case cases[] = {
        {61, "ORV_PCBCrosshairType=3 line", {60}},
        {50, "ORV_Scope1GraticuleMode=Off", {49}},
        {52, "ORV_Scope1CrosshairMode=Classic", {51, 53}},
        {54, "ORV_ScopeXCrosshairMode=On", {55}},
        {172, "ORV_OpenCircuitDetectThreshold=0.25%", {173, 174}},
        {182, "ORV_StableSignatureDetectThreshold=2.00%", {180, 181}},
        {179, "ORV_SignatureCaptureDelay=20 cycles", {175, 176, 177, 178}},
        {184, "ORV_GoldenVsLiveThreshold=0.75%", {183, 185, 186, 187, 188, 189, 190}},
        {82, "ORV_DisplayView=PCB", {76, 77, 78, 79, 80, 81, 83, 84, 85}},
        {202, "ORV_AllowSignatureOverwrite=1", {}},
        {162, "ORV_Mode=Basic", {164}},
        {164, "ORV_Mode=Advanced", {162}},
    };
    Start("ORV310");
    for (const Case& c : cases) {
        Menu(c.command);
        EXPECT_TRUE(SettingsHave(c.line)) << c.line;
        EXPECT_TRUE(Checked(c.command)) << c.line;
        for (const int other : c.unmarked)
            EXPECT_FALSE(Checked(other)) << c.line << " " << other;
    }
    EXPECT_EQ(program_.app.settings.SignatureCaptureDelay, "20 cycles");
    EXPECT_EQ(SettingsFile().find("ORV_StableSignatureDelay"), std::string::npos);
    EXPECT_TRUE(Checked(238));
    Menu(238);
    EXPECT_TRUE(SettingsHave("CheckWebsiteForUpdate=0"));
    EXPECT_FALSE(Checked(238));
}

TEST_F(MenuCommandsTest, ConnectAndDisconnectOnlyChangeWhatIsNotSoAlready) {
    Start("ORV310");
    Menu(kMenuDisconnect);
    EXPECT_FALSE(program_.link.state.Connected);
    EXPECT_FALSE(program_.link.state.AutoReconnectEnabled);
    Menu(kMenuConnect);
    ASSERT_TRUE(program_.link.state.Connected);
    EXPECT_TRUE(Checked(kMenuConnect));
    EXPECT_FALSE(Checked(kMenuDisconnect));
    const std::uint64_t opened = sim::Inspect(*program_.simulator).counters.opens;
    Menu(kMenuConnect);
    EXPECT_EQ(sim::Inspect(*program_.simulator).counters.opens, opened);
    Menu(kMenuDisconnect);
    EXPECT_FALSE(program_.link.state.Connected);
    EXPECT_TRUE(Checked(kMenuDisconnect));
}

// Qt turns a checkable item's mark over by itself when it is clicked, so these go
// through the menu items, not through command numbers.
TEST_F(MenuCommandsTest, ConnectionMarksShowTheLinkAfterEveryClick) {
    struct Case {
        const char* what;
        bool connectedBefore;
        bool unplugged;
        int item;
        bool connectedAfter;
    };
    const Case cases[] = {
        {"Connect while connected", true, false, kMenuConnect, true},
        {"Disconnect while disconnected", false, false, kMenuDisconnect, false},
        {"Connect with the instrument unplugged", false, true, kMenuConnect, false},
        {"Disconnect while connected", true, false, kMenuDisconnect, false},
        {"Connect while disconnected", false, false, kMenuConnect, true},
    };
    Start("ORV310");
    for (const Case& c : cases) {
        if (c.connectedBefore) {
            Menu(kMenuConnect);
            ASSERT_TRUE(LoopUntil([&] { return program_.link.state.Connected.load(); })) << c.what;
        } else {
            Menu(kMenuDisconnect);
            ASSERT_FALSE(program_.link.state.Connected) << c.what;
        }
        if (c.unplugged)
            sim::Unplug(*program_.simulator);
        QAction* action = MenuAction(c.item);
        ASSERT_NE(action, nullptr) << c.what;
        action->trigger();
        Pass();
        ASSERT_TRUE(LoopUntil([&] { return !program_.link.state.ConnectInProgress; })) << c.what;
        Pass();
        EXPECT_EQ(program_.link.state.Connected, c.connectedAfter) << c.what;
        EXPECT_EQ(Checked(kMenuConnect), c.connectedAfter) << c.what;
        EXPECT_EQ(Checked(kMenuDisconnect), !c.connectedAfter) << c.what;
        if (c.unplugged)
            sim::Replug(*program_.simulator);
    }
}

TEST_F(MenuCommandsTest, NewPlansOnlyInAdvancedAndNeverOnACancel) {
    Start("ORV310", "ORV_Mode=Basic\r\n");
    const TestPlan before = program_.testPlan;
    Dialogs().shown.clear();
    Menu(kMenuFileNew);
    ASSERT_EQ(Dialogs().shown.size(), 1u);
    EXPECT_EQ(Dialogs().shown[0].title, "Info #0063");
    EXPECT_EQ(Dialogs().shown[0].text, "This function is only available in Advanced mode.");
    EXPECT_TRUE(Dialogs().fileRequests.empty());

    Menu(kMenuModeAdvanced);
    SetCell(program_.testPlan, 1, column::kImageFile, "kept.jpg");
    Dialogs().shown.clear();
    Dialogs().saveAnswers = {ui::SaveAnswer::Discard, ui::SaveAnswer::Discard};
    Menu(kMenuFileNew);  // the save dialog is cancelled
    ASSERT_EQ(Dialogs().fileRequests.size(), 1u);
    EXPECT_EQ(Dialogs().fileRequests[0].title, "Please choose file to save");
    ASSERT_EQ(Dialogs().shown.size(), 1u);  // the question, and nothing else
    EXPECT_EQ(Dialogs().shown[0].kind, ui::ShownBox::Kind::SaveDiscardCancel);
    EXPECT_EQ(Cell(program_.testPlan, 1, column::kImageFile), "kept.jpg");
    EXPECT_EQ(program_.app.settings.TestPlanFileName, "testplans\\demo_A.orv");

    Dialogs().fileAnswers = {"testplans/fresh"};
    Menu(kMenuFileNew);
    EXPECT_TRUE(FileExists("testplans/fresh.orv"));
    EXPECT_EQ(program_.app.settings.TestPlanFileName, "testplans/fresh.orv");
    EXPECT_TRUE(SettingsHave("ORV_TestPlanFileName=testplans/fresh.orv"));
    EXPECT_TRUE(SettingsHave("ORV_TestPlanFileNameRecent1=testplans/fresh.orv"));
    EXPECT_EQ(ui::MenuItemText(*program_.gui, 555), "testplans/fresh.orv");
    EXPECT_TRUE(ui::IsControlChecked(*program_.gui, kControlEditCapture));
    EXPECT_EQ(program_.working.WorkingMode, 2);
    EXPECT_EQ(RowCount(program_.testPlan), 1);
}

TEST_F(MenuCommandsTest, OpeningPlansKeepsTheRecentList) {
    Start("ORV310");
    ASSERT_TRUE(MakeFolder("testplans"));
    WritePlan("testplans/x.orv");
    WritePlan("testplans/demo_C.orv");
    const std::string before = SettingsFile();

    // The first entry, reopened: nothing changes in the file.
    Menu(555);
    EXPECT_EQ(SettingsFile(), before);

    // The third: first on the menu at once, the file keeps its order.
    Menu(557);
    EXPECT_EQ(ui::MenuItemText(*program_.gui, 555), "testplans\\demo_C.orv");
    EXPECT_EQ(ui::MenuItemText(*program_.gui, 556), "testplans\\demo_A.orv");
    EXPECT_EQ(ui::MenuItemText(*program_.gui, 557), "testplans\\demo_B.orv");
    EXPECT_TRUE(SettingsHave("ORV_TestPlanFileNameRecent1=testplans\\demo_A.orv"));
    EXPECT_TRUE(SettingsHave("ORV_TestPlanFileName=testplans\\demo_C.orv"));

    // A new name: the eighth drops out, all eight written.
    Dialogs().fileAnswers = {"testplans/x.orv"};
    Menu(kMenuFileOpen);
    ASSERT_EQ(Dialogs().fileRequests.back(),
              (ui::FileRequest{ui::FileRequest::Kind::Open,
                               "Please choose a file to open",
                               "*.orv",
                               {{"Test (*.orv)", "*.orv"}, {"All files (*.*)", "*.*"}}}));
    EXPECT_EQ(RowCount(program_.testPlan), 3);
    EXPECT_EQ(program_.position.TestPlanIndex, 1);
    EXPECT_TRUE(SettingsHave("ORV_TestPlanFileNameRecent1=testplans/x.orv"));
    EXPECT_TRUE(SettingsHave("ORV_TestPlanFileNameRecent2=testplans\\demo_C.orv"));
    EXPECT_TRUE(SettingsHave("ORV_TestPlanFileNameRecent8=testplans\\demo_G.orv"));
    EXPECT_EQ(SettingsFile().find("demo_H"), std::string::npos);
}

// A fresh install lists demo plans that are not there. Choosing one, or a missing file
// in the open dialog, is told with the file's name and changes nothing: the plan, its
// name, the settings and the recent list stay, and the next save goes where it went.
TEST_F(MenuCommandsTest, AFailedOpenChangesNothing) {
    Start("ORV310");
    ASSERT_TRUE(MakeFolder("testplans"));
    WritePlan("testplans/x.orv");
    Dialogs().fileAnswers = {"testplans/x.orv"};
    Menu(kMenuFileOpen);
    // The list as the start-up and this open made it: x, then demo_A to demo_G.
    EXPECT_TRUE(ui::IsMenuItemEnabled(*program_.gui, 555));
    EXPECT_TRUE(ui::IsMenuItemEnabled(*program_.gui, 556));  // demo_A, made at the start
    for (int command = 557; command <= 562; ++command) {
        EXPECT_FALSE(ui::IsMenuItemEnabled(*program_.gui, command)) << command;
        EXPECT_EQ(
            ui::MenuItemText(*program_.gui, command),
            "testplans\\demo_" + std::string(1, static_cast<char>('B' + command - 557)) + ".orv");
    }
    SetCell(program_.testPlan, 2, column::kStatus, "Bad");
    const TestPlan before = program_.testPlan;
    const std::string settings = SettingsFile();

    struct Case {
        const char* how;
        int command;
        std::string answer;  // for the open dialog
        const char* named;
    };
    const Case cases[] = {
        {"recent", 557, "", "testplans\\demo_B.orv"},
        {"dialog", kMenuFileOpen, "testplans/gone.orv", "testplans/gone.orv"},
    };
    for (const Case& c : cases) {
        Dialogs().shown.clear();
        Dialogs().saveAnswers = {ui::SaveAnswer::Discard};
        Dialogs().fileAnswers = {c.answer};
        Menu(c.command);
        ASSERT_EQ(Dialogs().shown.size(), 2u) << c.how;
        EXPECT_EQ(Dialogs().shown[1].title, "Error #0065") << c.how;
        EXPECT_EQ(Dialogs().shown[1].text, "Cannot open .orv file\n" + std::string(c.named))
            << c.how;
        EXPECT_EQ(program_.app.settings.TestPlanFileName, "testplans/x.orv") << c.how;
        EXPECT_EQ(SettingsFile(), settings) << c.how;
        EXPECT_EQ(ui::MenuItemText(*program_.gui, 555), "testplans/x.orv") << c.how;
        EXPECT_EQ(ui::MenuItemText(*program_.gui, 557), "testplans\\demo_B.orv") << c.how;
        EXPECT_EQ(TestPlanBytes(program_.testPlan), TestPlanBytes(before)) << c.how;
        EXPECT_EQ(ui::TreeEntryAt(*program_.gui, kControlTestTree, 0).text, "testplans/x.orv")
            << c.how;
    }
    Menu(kShortcutQuickSave);
    EXPECT_EQ(ReadWholeFile("testplans/x.orv"), TestPlanBytes(before));
    EXPECT_FALSE(FileExists("testplans/demo_B.orv"));
    EXPECT_FALSE(FileExists("testplans/gone.orv"));
}

TEST_F(MenuCommandsTest, SaveAddsTheExtensionAndKeepsTheCurrentName) {
    Start("ORV310");
    ASSERT_TRUE(MakeFolder("testplans"));
    Dialogs().fileAnswers = {"testplans/Board1", "testplans/Board2.ORV", ""};
    Menu(kMenuFileSave);
    Menu(kMenuFileSave);
    Menu(kMenuFileSave);  // cancelled
    EXPECT_EQ(Dialogs().fileRequests[0].defaultFile, "testplans\\demo_A.orv");
    EXPECT_TRUE(FileExists("testplans/Board1.orv"));
    EXPECT_TRUE(FileExists("testplans/Board2.ORV"));
    EXPECT_EQ(program_.app.settings.TestPlanFileName, "testplans\\demo_A.orv");
    // Each copy is told, with the plan the program goes on with.
    ASSERT_EQ(Dialogs().shown.size(), 2u);
    EXPECT_EQ(Dialogs().shown[0].title, "Save");
    EXPECT_NE(Dialogs().shown[0].text.find("testplans/Board1.orv"), std::string::npos);
    EXPECT_NE(Dialogs().shown[0].text.find("keeps working on testplans\\demo_A.orv"),
              std::string::npos);
}

// Save As names the plan the program works on from then on, on the menu and in the
// trees; Ctrl+S then writes there. A "&" in the name is a character of the recent
// entry, not a mnemonic.
TEST_F(MenuCommandsTest, SaveAsSwitchesToTheNewNameAndCtrlSSavesUnderIt) {
    Start("ORV310");
    ASSERT_TRUE(MakeFolder("testplans"));
    const std::optional<std::string> demo = ReadWholeFile("testplans/demo_A.orv");
    Dialogs().fileAnswers = {"testplans/R&D"};
    Menu(kMenuFileSaveAs);
    EXPECT_EQ(Dialogs().fileRequests.back().defaultFile, "testplans\\demo_A.orv");
    ASSERT_TRUE(FileExists("testplans/R&D.orv"));
    EXPECT_EQ(program_.app.settings.TestPlanFileName, "testplans/R&D.orv");
    EXPECT_TRUE(SettingsHave("ORV_TestPlanFileName=testplans/R&D.orv"));
    EXPECT_TRUE(SettingsHave("ORV_TestPlanFileNameRecent1=testplans/R&D.orv"));
    EXPECT_EQ(ui::TreeEntryAt(*program_.gui, kControlTestTree, 0).text, "testplans/R&D.orv");
    // What Qt shows of the entry, its mnemonic marks taken out.
    QStringList shown;
    for (const QAction* action : MainWindow()->findChildren<QAction*>())
        shown.append(action->iconText());
    EXPECT_TRUE(shown.contains("testplans/R&D.orv")) << shown.join(" | ").toStdString();
    EXPECT_TRUE(ui::IsMenuItemEnabled(*program_.gui, 555));

    SetCell(program_.testPlan, 1, column::kImageFile, "board.jpg");
    QWidget* window = MainWindow();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
    Pass();
    EXPECT_EQ(PlanImageName("testplans/R&D.orv"), "board.jpg");
    EXPECT_EQ(ReadWholeFile("testplans/demo_A.orv"), demo);
    // Saved: the close asks nothing.
    Dialogs().shown.clear();
    CloseMainWindow();
    EXPECT_TRUE(Dialogs().shown.empty());
    EXPECT_TRUE(program_.app.QuitRequested);
}

// Closing the window, File New, File Open and a recent plan each ask before a plan
// that differs from its file is given up; the answer does what it says, and Cancel
// leaves everything as it was. A plan as its file holds it is left without a word.
TEST_F(MenuCommandsTest, LeavingAChangedPlanAsksFirst) {
    Start("ORV310");
    ASSERT_TRUE(MakeFolder("testplans"));
    WritePlan("testplans/other.orv");
    enum class Leave { Close, New, Open, Recent };
    struct Case {
        Leave leave;
        bool changed;
        ui::SaveAnswer answer;
    };
    using ui::SaveAnswer;
    std::vector<Case> cases;
    for (const Leave leave : {Leave::Close, Leave::New, Leave::Open, Leave::Recent}) {
        cases.push_back({leave, false, SaveAnswer::Cancel});
        for (const SaveAnswer answer : {SaveAnswer::Save, SaveAnswer::Discard, SaveAnswer::Cancel})
            cases.push_back({leave, true, answer});
    }
    int run = 0;
    for (const Case& c : cases) {
        const std::string what = "case " + std::to_string(run);
        WritePlan("testplans/x.orv");
        const std::optional<std::string> onDisk = ReadWholeFile("testplans/x.orv");
        OpenTestPlan(program_, "testplans/x.orv");
        program_.app.QuitRequested = false;
        if (c.changed)
            SetCell(program_.testPlan, 2, column::kStatus, "Good");  // a verdict
        const TestPlan inMemory = program_.testPlan;
        Dialogs().shown.clear();
        Dialogs().saveAnswers = {c.answer};
        const std::string fresh = "testplans/new" + std::to_string(run++) + ".orv";
        Dialogs().fileAnswers = {c.leave == Leave::New ? fresh : "testplans/other.orv"};
        std::string target = "testplans/other.orv";
        switch (c.leave) {
            case Leave::Close:
                CloseMainWindow();
                break;
            case Leave::New:
                target = fresh;
                Menu(kMenuFileNew);
                break;
            case Leave::Open:
                Menu(kMenuFileOpen);
                break;
            case Leave::Recent: {
                const RecentPlans& recent = program_.app.settings.TestPlanFileNameRecent;
                const auto at = std::find(recent.begin(), recent.end(), target);
                ASSERT_NE(at, recent.end()) << what;
                Menu(kMenuRecentFiles[static_cast<size_t>(at - recent.begin())]);
                break;
            }
        }
        if (!c.changed) {
            EXPECT_TRUE(Dialogs().shown.empty()) << what;
        } else {
            ASSERT_FALSE(Dialogs().shown.empty()) << what;
            EXPECT_EQ(Dialogs().shown[0],
                      (ui::ShownBox{ui::ShownBox::Kind::SaveDiscardCancel, "Unsaved changes",
                                    "Save changes to testplans/x.orv?", ui::BoxIcon::Question}))
                << what;
        }
        const std::optional<std::string> after = ReadWholeFile("testplans/x.orv");
        if (c.changed && c.answer == SaveAnswer::Save)
            EXPECT_EQ(after, TestPlanBytes(inMemory)) << what;
        else
            EXPECT_EQ(after, onDisk) << what;
        const bool left = !c.changed || c.answer != SaveAnswer::Cancel;
        if (c.leave == Leave::Close) {
            EXPECT_EQ(program_.app.QuitRequested, left) << what;
        } else {
            EXPECT_EQ(program_.app.settings.TestPlanFileName, left ? target : "testplans/x.orv")
                << what;
        }
        if (!left) {
            EXPECT_EQ(TestPlanBytes(program_.testPlan), TestPlanBytes(inMemory)) << what;
        }
    }
    program_.app.QuitRequested = false;
}

TEST_F(MenuCommandsTest, ExportTestReportWritesThePlanInMemoryAndOpensItOnRequest) {
    Start("ORV310", "ORV_GoldenVsLiveThreshold=3.00%\r\n");
    ASSERT_TRUE(MakeFolder("testplans"));
    WritePlan("testplans/x.orv");
    Dialogs().fileAnswers = {"testplans/x.orv"};
    Menu(kMenuFileOpen);
    // A result judged but not saved is in the report.
    SetCell(program_.testPlan, 3, column::kStatus, "Bad");
    SetCell(program_.testPlan, 3, column::kUserText, "<b>seen</b>");

    Dialogs().fileAnswers = {"testplans/first", "", "testplans/second.HTM", "no/such/r.html"};
    Dialogs().yesNoAnswers = {true, false};
    Dialogs().shown.clear();
    Menu(kMenuFileExportReport);
    ASSERT_EQ(Dialogs().fileRequests.back(),
              (ui::FileRequest{ui::FileRequest::Kind::Save,
                               "Please choose a file for the test report",
                               "testplans/x.html",
                               {{"Web page (*.html)", "*.html"}, {"All files (*.*)", "*.*"}}}));
    const std::string html = ReadWholeFile("testplans/first.html").value_or("");
    EXPECT_NE(html.find("&lt;b&gt;seen&lt;/b&gt;"), std::string::npos);
    EXPECT_NE(html.find("<th>Difference threshold</th><td>3.00%</td>"), std::string::npos);
    ASSERT_EQ(Dialogs().shown.size(), 1u);
    EXPECT_EQ(Dialogs().shown[0].kind, ui::ShownBox::Kind::YesNo);
    EXPECT_EQ(Dialogs().shown[0].text,
              "The test report was written to testplans/first.html.\n"
              "The test plan names no board photograph.\n\n"
              "Open the report in the web browser?");
    ASSERT_EQ(Dialogs().openedAddresses.size(), 1u);
    EXPECT_EQ(Dialogs().openedAddresses[0], "file://" + dir_ + "/testplans/first.html");

    Menu(kMenuFileExportReport);  // cancelled: nothing asked, nothing written
    EXPECT_EQ(Dialogs().shown.size(), 1u);

    Menu(kMenuFileExportReport);  // the answer No opens nothing
    EXPECT_TRUE(FileExists("testplans/second.HTM"));
    EXPECT_EQ(Dialogs().openedAddresses.size(), 1u);

    Dialogs().shown.clear();
    Menu(kMenuFileExportReport);
    ASSERT_EQ(Dialogs().shown.size(), 1u);
    EXPECT_EQ(Dialogs().shown[0].title, "Error #0080");
    EXPECT_EQ(Dialogs().shown[0].text, "The test report cannot be written: no/such/r.html");
    EXPECT_EQ(program_.app.settings.TestPlanFileName, "testplans/x.orv");
}

TEST_F(MenuCommandsTest, ShortcutsAndTreeCommandsActOnTheRecords) {
    Start("ORV310");
    TestPlan& plan = program_.testPlan;
    plan = TestPlan{};
    ResizeTable(plan, 4, kPlanColumns);
    for (int row = 2; row <= 4; ++row) {
        SetCell(plan, row, column::kComponent, row < 4 ? "U1" : "U2");
        SetCell(plan, row, column::kStatus, "Bad");
    }
    Menu(kShortcutFirstRecord);
    EXPECT_EQ(program_.position.TestPlanIndex, 2);
    Menu(kShortcutNextComponent);
    EXPECT_EQ(program_.position.TestPlanIndex, 4);
    Menu(kShortcutPreviousRecord);
    EXPECT_EQ(program_.position.TestPlanIndex, 3);
    Menu(kShortcutGood);
    EXPECT_EQ(Cell(plan, 3, column::kStatus), "Good");
    Menu(kMenuCollapseTestTree);
    EXPECT_EQ(ui::TreeEntryCount(*program_.gui, kControlBadTree), 3);
    EXPECT_EQ(ui::TreeEntryCount(*program_.gui, kControlTestTree), 6);
    Dialogs().shown.clear();
    Menu(kShortcutResetResults);  // no question
    EXPECT_TRUE(Dialogs().shown.empty());
    EXPECT_EQ(Cell(plan, 2, column::kStatus), "Untested");
    EXPECT_EQ(program_.position.TestPlanIndex, 2);
    SetCell(plan, 2, column::kSignature, "Yes");  // something for the automatic test to do
    Menu(kShortcutAutomatic);
    EXPECT_EQ(program_.working.WorkingMode, 3);
    Menu(kMenuAbout);
    Menu(kMenuSupport);
    ASSERT_EQ(Dialogs().shown.size(), 2u);
    EXPECT_EQ(Dialogs().shown[0].title, "About");
    EXPECT_EQ(Dialogs().shown[1].title, "Support");
    EXPECT_NE(Dialogs().shown[1].text.find("support@korvane.example"), std::string::npos);
}

}  // namespace
}  // namespace orv
