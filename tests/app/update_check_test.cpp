#include <gtest/gtest.h>

#include <chrono>

#include "app/program.h"
#include "app/running_program.h"
#include "app/subsystem_steps.h"
#include "core/clock.h"
#include "core/event_log.h"
#include "core/settings.h"
#include "support/loopback_http_server.h"
#include "support/working_dir.h"
#include "ui/gui.h"

namespace orv {
namespace {

using test::FileText;
using test::HttpReply;
using test::LoopbackHttpServer;

// The release check of a program whose window is open, asking a server of the test's.
class UpdateCheckTest : public test::InWorkingDir {
protected:
    void SetUp() override {
        InWorkingDir::SetUp();
        program_.dialogs = std::make_unique<ui::ScriptedDialogs>();
        program_.gui = std::make_unique<ui::Gui>();
        ResetProgram(program_);
        ASSERT_TRUE(ui::OpenWindow(*program_.gui, ui::kMainWindow, "main", 0, 0, 500, 500));
    }
    ui::ScriptedDialogs& Dialogs() { return static_cast<ui::ScriptedDialogs&>(*program_.dialogs); }
    void Check(const LoopbackHttpServer& server, int timeLimitMs = 5000) {
        ASSERT_FALSE(server.Host().empty());
        CheckForUpdate(program_, {server.Host(), timeLimitMs});
    }
    // The latest version the offer names; empty when no box was shown.
    std::string OfferedVersion() {
        if (Dialogs().shown.empty())
            return {};
        const std::string& text = Dialogs().shown.front().text;
        const std::string mark = "Latest software version: ";
        const std::size_t at = text.find(mark) + mark.size();
        return text.substr(at, text.find('\n', at) - at);
    }

    Program program_;
};

TEST_F(UpdateCheckTest, OffersOnlyAReleaseNewerThanTheRunningOne) {
    struct Case {
        int status;
        const char* page;
        const char* offered;  // empty: no box
    };
    const Case cases[] = {
        {200, "<p>Version: 25.004</p>", "25.004"},
        {200, "<p>Version: 25.003</p>", ""},
        {200, "<p>Version: 25.0034</p>", ""},
        {200, "<p>Version: 25.1</p>", "25.100"},
        {200, "Version: 25.002 <br> Version: 25.009", "25.009"},
        {200, "Version: 25.009 <br> Version: 25.002", ""},
        {404, "<h1>Not Found</h1> Version: 26.000", "26.000"},
        {200, "Version: 27", "27.000"},
        {200, "<p>Version: beta-2</p>", ""},
        {200, "<p>No release news</p>", ""},
        {500, "", ""},
    };
    for (const Case& c : cases) {
        Dialogs().shown.clear();
        const LoopbackHttpServer server({c.status, c.page});
        Check(server);
        EXPECT_EQ(OfferedVersion(), c.offered) << c.page;
        EXPECT_EQ(server.RequestLines(), std::vector<std::string>{"GET /pages/XRM7LT HTTP/1.1"});
    }
}

TEST_F(UpdateCheckTest, YesOpensTheDownloadPageAndNoDoesNothing) {
    const LoopbackHttpServer server({200, "Version: 25.004"});
    const std::string download = "http://" + server.Host() + "/pages/software";
    Dialogs().yesNoAnswers = {false, true};
    Check(server);
    EXPECT_TRUE(Dialogs().openedAddresses.empty());
    Check(server);
    EXPECT_EQ(Dialogs().openedAddresses, std::vector<std::string>{download});

    ASSERT_EQ(Dialogs().shown.size(), 2u);
    const ui::ShownBox expected{ui::ShownBox::Kind::YesNo, "Info #0001",
                                "Current software version: 25.003\n\n"
                                "Latest software version: 25.004\n\n"
                                "Click YES to goto our website (" +
                                    download + ") or NO to continue.",
                                ui::BoxIcon::Information};
    EXPECT_EQ(Dialogs().shown[0], expected);
    EXPECT_EQ(FileText(std::string(kLogFileName)), "<missing>") << "the offer is not logged";
}

TEST_F(UpdateCheckTest, EachModelAsksForItsOwnPageAndTheLargestForNone) {
    const std::pair<const char*, const char*> models[] = {
        {"ORV310", "/pages/XRM7LT"}, {"ORV311P", "/pages/L7QLD9"}, {"ORV320", "/pages/Z6D9XR"},
        {"ORV340", "/pages/B9K5YA"}, {"ORV340X", nullptr},
    };
    for (const auto& [model, path] : models) {
        const LoopbackHttpServer server({200, "Version: 26.000"});
        program_.app.settings.ActiveInstrument = model;
        Dialogs().shown.clear();
        Check(server);
        if (path == nullptr) {
            EXPECT_EQ(server.Connections(), 0) << model;
            EXPECT_TRUE(Dialogs().shown.empty()) << model;
        } else {
            EXPECT_EQ(server.RequestLines(),
                      std::vector<std::string>{std::string("GET ") + path + " HTTP/1.1"});
            EXPECT_EQ(Dialogs().shown.size(), 1u) << model;
        }
    }
}

TEST_F(UpdateCheckTest, ASilentServerIsGivenUpAfterTheTimeLimitWithoutABox) {
    const LoopbackHttpServer server({200, "Version: 26.000", false});
    const auto start = std::chrono::steady_clock::now();
    Check(server, 1000);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(990));
    EXPECT_LT(elapsed, std::chrono::milliseconds(3000));
    EXPECT_EQ(server.Connections(), 1);
    EXPECT_TRUE(Dialogs().shown.empty());
}

TEST_F(UpdateCheckTest, AnUnreachableServerEndsTheCheckSilently) {
    std::string host;
    {
        const LoopbackHttpServer gone({});
        host = gone.Host();
    }
    CheckForUpdate(program_, {host, 5000});
    EXPECT_TRUE(Dialogs().shown.empty());
    EXPECT_EQ(FileText(std::string(kLogFileName)), "<missing>");
}

// The start-up asks once a day, before the window has its contents.
class StartUpReleaseCheckTest : public test::RunningProgram {};

TEST_F(StartUpReleaseCheckTest, TheFirstStartOfTheDayAsksTheServer) {
    const LoopbackHttpServer server({200, "Version: 25.004"});
    options_.releaseServer = {server.Host(), 5000};
    Start("ORV320", "DateOfLastUpdateCheck=01/01/2021\r\n");
    EXPECT_EQ(server.RequestLines(), std::vector<std::string>{"GET /pages/Z6D9XR HTTP/1.1"});
    ASSERT_EQ(Dialogs().shown.size(), 1u);
    EXPECT_EQ(Dialogs().shown[0].title, "Info #0001");
    EXPECT_EQ(FindSettingValue(kSettingsFileName, "DateOfLastUpdateCheck"),
              FormatDayMonthYear(NowLocal()));
}

TEST_F(StartUpReleaseCheckTest, NoRequestOnTheSameDay) {
    const LoopbackHttpServer server({200, "Version: 25.004"});
    options_.releaseServer = {server.Host(), 5000};
    Start("ORV310", "DateOfLastUpdateCheck=" + FormatDayMonthYear(NowLocal()) + "\r\n");
    EXPECT_EQ(server.Connections(), 0);
    EXPECT_TRUE(Dialogs().shown.empty());
}

TEST_F(StartUpReleaseCheckTest, NoRequestWhenTheDailyCheckIsOff) {
    const LoopbackHttpServer server({200, "Version: 25.004"});
    options_.releaseServer = {server.Host(), 5000};
    Start("ORV310", "CheckWebsiteForUpdate=0\r\nDateOfLastUpdateCheck=01/01/2021\r\n");
    EXPECT_EQ(server.Connections(), 0);
    EXPECT_EQ(FindSettingValue(kSettingsFileName, "DateOfLastUpdateCheck"), "01/01/2021");
}

}  // namespace
}  // namespace orv
