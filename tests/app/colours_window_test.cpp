// The Display Colours window in the running program: what it writes, what the scopes
// and the ribbon show afterwards, and when it closes.

#include "app/colours_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QTimer>

#include "app/running_program.h"
#include "core/colours.h"
#include "display/image_probe.h"
#include "support/working_dir.h"
#include "ui/control_numbers.h"
#include "ui/controls.h"

namespace orv {
namespace {

constexpr int kScopeBackgroundRow = 0;
constexpr int kGoldenRow = 6;
constexpr int kPanelRow = 9;

class ColoursWindowAppTest : public test::RunningProgram {
protected:
    void StartWith(const std::string& moreSettings = {}) {
        Start("ORV310", moreSettings);
        // Let the start-up's own window events go first.
        while (!program_.gui->pending.empty())
            Pass();
    }
    // Opens the window, which takes the events queued for it and then the close box.
    void RunWindow(const std::vector<int>& controls) {
        for (const int control : controls)
            program_.gui->pending.push_back(
                {ui::EventKind::Control, control, kDisplayColoursWindow});
        program_.gui->pending.push_back({ui::EventKind::CloseRequest, 0, kDisplayColoursWindow});
        OpenDisplayColoursWindow(program_);
        EXPECT_FALSE(ui::IsWindowOpen(*program_.gui, kDisplayColoursWindow));
    }
    std::string SettingsFile() { return test::FileText("ORV_settings.txt"); }
    QWidget* MainWindow() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->windowTitle().startsWith("Korvane") && top->isVisible())
                return top;
        }
        return nullptr;
    }
    QImage RibbonPicture() {
        auto* window = qobject_cast<QMainWindow*>(MainWindow());
        const ui::Rect r = ui::ControlRect(*program_.gui, kControlRibbonPanel);
        return window->centralWidget()->grab(QRect(r.x, r.y, r.width, r.height)).toImage();
    }
};

TEST_F(ColoursWindowAppTest, CancellingTheChooserWritesNothing) {
    // A line in other letter case would be rewritten by any write.
    StartWith("orv_colourscopextracegoldensig=42495\r\n");
    const std::string before = SettingsFile();
    RunWindow({kColoursRowButtons[kGoldenRow]});
    EXPECT_EQ(SettingsFile(), before);
    EXPECT_EQ(program_.app.settings.ColourScopeXTraceGoldenSig, kColourOrange);
    ASSERT_EQ(Dialogs().shown.size(), 1u);
    EXPECT_EQ(Dialogs().shown[0].kind, ui::ShownBox::Kind::Colour);
    EXPECT_EQ(Dialogs().shown[0].colour, kColourOrange);
}

TEST_F(ColoursWindowAppTest, TheGoldenRowsDefaultIsBlueAndTheDarkPresetGold) {
    StartWith();
    RunWindow({kColoursRowDefaults[kGoldenRow]});
    EXPECT_NE(SettingsFile().find("\r\nORV_ColourScopeXTraceGoldenSig=16711680\r\n"),
              std::string::npos);
    EXPECT_EQ(program_.app.settings.ColourScopeXTraceGoldenSig, kColourBlue);

    RunWindow({kColoursDarkMode});
    EXPECT_NE(SettingsFile().find("\r\nORV_ColourScopeXTraceGoldenSig=55295\r\n"),
              std::string::npos);
    EXPECT_NE(SettingsFile().find("\r\nORV_ColourPanelWindow=2228224\r\n"), std::string::npos);
    EXPECT_EQ(program_.app.settings.ColourScopeXTraceGoldenSig, kColourGold);
    EXPECT_TRUE(Dialogs().shown.empty());
}

TEST_F(ColoursWindowAppTest, AScopeColourShowsAtTheNextRedraw) {
    StartWith();
    const ColourNumber chosen = MakeColour(10, 20, 30);
    auto chosenPixels = [&] {
        const QImage scope = ui::ControlImage(*program_.gui, kControlMainScope);
        return test::CountColour(scope, scope.rect(), chosen);
    };
    ASSERT_EQ(chosenPixels(), 0);
    Dialogs().colourAnswers = {chosen};
    RunWindow({kColoursRowButtons[kScopeBackgroundRow]});
    EXPECT_NE(SettingsFile().find("\r\nORV_ColourScope1Background=1971210\r\n"), std::string::npos);
    EXPECT_TRUE(program_.position.RecordChanged);
    EXPECT_TRUE(program_.display.traceRefreshRequested);
    Pass();
    const QImage scope = ui::ControlImage(*program_.gui, kControlMainScope);
    EXPECT_GT(chosenPixels(), scope.width() * scope.height() / 2);
}

TEST_F(ColoursWindowAppTest, ARibbonColourIsStoredButTheOpenRibbonKeepsItsOwn) {
    StartWith();
    const QImage before = RibbonPicture();
    ASSERT_GT(test::CountColour(before, before.rect(), kColourGreyGreen), 0);
    const ColourNumber chosen = MakeColour(200, 10, 10);
    Dialogs().colourAnswers = {chosen};
    RunWindow({kColoursRowButtons[kPanelRow]});
    EXPECT_NE(SettingsFile().find("\r\nORV_ColourPanel=658120\r\n"), std::string::npos);
    Pass();
    const QImage after = RibbonPicture();
    EXPECT_EQ(test::CountColour(after, after.rect(), chosen), 0);
    EXPECT_EQ(test::CountColour(after, after.rect(), kColourGreyGreen),
              test::CountColour(before, before.rect(), kColourGreyGreen));
}

TEST_F(ColoursWindowAppTest, ClosesWhenTheMainWindowIsActivatedAndLeavesItsEventsForLater) {
    StartWith();
    const ui::Event forMain{ui::EventKind::Control, kControlNextRecord, ui::kMainWindow};
    program_.gui->pending.push_back(forMain);
    // The user turns to the main window once the colours window has the focus.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (ui::ActiveWindow(*program_.gui) == kDisplayColoursWindow)
            MainWindow()->activateWindow();
    });
    poll.start(20);
    // Without the activation the window would stay open: nothing else closes it.
    QTimer giveUp;
    giveUp.setSingleShot(true);
    bool gaveUp = false;
    QObject::connect(&giveUp, &QTimer::timeout, [&] {
        gaveUp = true;
        program_.gui->pending.push_back({ui::EventKind::CloseRequest, 0, kDisplayColoursWindow});
    });
    giveUp.start(5000);
    OpenDisplayColoursWindow(program_);
    EXPECT_FALSE(gaveUp);
    EXPECT_FALSE(ui::IsWindowOpen(*program_.gui, kDisplayColoursWindow));
    ASSERT_FALSE(program_.gui->pending.empty());
    EXPECT_EQ(program_.gui->pending.front(), forMain);
}

TEST_F(ColoursWindowAppTest, AWindowThatCannotOpenIsReported) {
    StartWith();
    ASSERT_TRUE(ui::OpenWindow(*program_.gui, kDisplayColoursWindow, "taken", 0, 0, 10, 10));
    OpenDisplayColoursWindow(program_);
    ASSERT_EQ(Dialogs().shown.size(), 1u);
    EXPECT_EQ(Dialogs().shown[0].title, "Error #00xx");
    EXPECT_EQ(Dialogs().shown[0].text, "'Display Colours' window won't start");
    EXPECT_NE(
        test::FileText("log.txt").find("] Error #00xx 'Display Colours' window won't start\r\n"),
        std::string::npos);
    ui::CloseWindow(*program_.gui, kDisplayColoursWindow);
}

}  // namespace
}  // namespace orv
