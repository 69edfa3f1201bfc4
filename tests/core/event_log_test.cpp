#include "core/event_log.h"

#include <regex>
#include <thread>

#include "core/clock.h"
#include "core/files.h"
#include "support/short_write.h"
#include "support/working_dir.h"

namespace orv {
namespace {

using test::FileText;

TEST(LogStampTest, DayMonthNameYearAndTime) {
    EXPECT_EQ(FormatLogStamp({2026, 12, 9, 14, 5, 31}), "[09-Dec-2026 14:05:31] ");
    EXPECT_EQ(FormatLogStamp({2027, 1, 31, 0, 0, 0}), "[31-Jan-2027 00:00:00] ");
    EXPECT_EQ(FormatDayMonthYear({2026, 12, 9, 14, 5, 31}), "09/12/2026");
}

TEST(SplitMessageTest, TitleAndTextOfEachKind) {
    struct Case {
        const char* message;
        MessageKind kind;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {"Error #0055 cannot create menu", MessageKind::Error, "Error #0055", "cannot create menu"},
        {"Error #00xx 'Display Colours' window won't start", MessageKind::Error, "Error #00xx",
         "'Display Colours' window won't start"},
        {"Warning #0061 USB service unable to start", MessageKind::Warning, "Warning #0061",
         "USB service unable to start"},
        {"Info #0063 This function is only available in Advanced mode.", MessageKind::Info,
         "Info #0063", "This function is only available in Advanced mode."},
        {"Info #0006 Comms Not running..", MessageKind::Info, "Info #0006", "Comms Not running.."},
        {"Error #0009", MessageKind::Error, "Error #0009", ""},
        {"ORV_StartConnection()", MessageKind::None, "", ""},
        {"error #0001 lower case is no prefix", MessageKind::None, "", ""},
    };
    for (const Case& c : cases) {
        const MessageParts parts = SplitMessage(c.message);
        EXPECT_EQ(parts.kind, c.kind) << c.message;
        EXPECT_EQ(parts.title, c.title) << c.message;
        EXPECT_EQ(parts.text, c.text) << c.message;
    }
}

class EventLogTest : public test::InWorkingDir {
protected:
    void SetUp() override {
        InWorkingDir::SetUp();
        log_.dialogs = &dialogs_;
    }
    std::vector<std::string> LogLines() { return *ReadTextLines(kLogFileName); }

    ui::ScriptedDialogs dialogs_;
    EventLog log_;
};

const std::regex kStampedLine(
    R"(\[\d\d-(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec)-\d{4} \d\d:\d\d:\d\d\] (.*))");

TEST_F(EventLogTest, ShowUserMessageLogsTheWholeTextThenShowsTheBox) {
    ShowUserMessage(log_, "Error #0055 cannot create menu");
    ShowUserMessage(log_, "User pressed Connect (instrument=ORV310)");
    ShowUserMessage(log_, "Info #0006 Comms Not running..");

    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 3u);
    const char* texts[] = {"Error #0055 cannot create menu",
                           "User pressed Connect (instrument=ORV310)",
                           "Info #0006 Comms Not running.."};
    for (size_t i = 0; i < 3; ++i) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(lines[i], match, kStampedLine)) << lines[i];
        EXPECT_EQ(match[2], texts[i]);
    }
    EXPECT_EQ(FileText("log.txt").substr(FileText("log.txt").size() - 2), "\r\n");
    const std::vector<ui::ShownBox> expected = {
        {ui::ShownBox::Kind::Message, "Error #0055", "cannot create menu", ui::BoxIcon::Error},
        {ui::ShownBox::Kind::Message, "Info #0006", "Comms Not running..",
         ui::BoxIcon::Information}};
    EXPECT_EQ(dialogs_.shown, expected);
}

TEST_F(EventLogTest, DeletedLogIsRecreated) {
    WriteLogLine(log_, "first");
    ASSERT_EQ(std::remove("log.txt"), 0);
    WriteLogLine(log_, "second");
    ASSERT_EQ(LogLines().size(), 1u);
    EXPECT_NE(LogLines()[0].find("] second"), std::string::npos);
}

TEST_F(EventLogTest, UnwritableLogShowsAnUnloggedWarningAndTheMessageStillShows) {
    ASSERT_TRUE(MakeFolder("log.txt"));
    ShowUserMessage(log_, "Error #0064 File cannot be created");
    const std::vector<ui::ShownBox> expected = {
        {ui::ShownBox::Kind::Message, "Warning #xxxx", "cannot write to log.txt",
         ui::BoxIcon::Warning},
        {ui::ShownBox::Kind::Message, "Error #0064", "File cannot be created", ui::BoxIcon::Error}};
    EXPECT_EQ(dialogs_.shown, expected);
}

TEST_F(EventLogTest, FailureOnAnotherThreadIsShownLaterByTheInterfaceThread) {
    ASSERT_TRUE(MakeFolder("log.txt"));
    std::thread([&] { WriteLogLine(log_, "from the link"); }).join();
    EXPECT_TRUE(dialogs_.shown.empty());
    ShowPendingLogWarning(log_);
    ShowPendingLogWarning(log_);
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].title, "Warning #xxxx");
}

TEST_F(EventLogTest, TwoThreadsWriteWholeLines) {
    auto writer = [&](const std::string& name) {
        for (int i = 0; i < 1000; ++i)
            WriteLogLine(log_, name + " line " + std::to_string(i));
    };
    std::thread a(writer, "interface");
    std::thread b(writer, "link");
    a.join();
    b.join();
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 2000u);
    int fromEach[2] = {0, 0};
    const std::regex whole(R"(\[[^\]]+\] (interface|link) line \d+)");
    for (const std::string& line : lines) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, whole)) << line;
        ++fromEach[match[1] == "link"];
    }
    EXPECT_EQ(fromEach[0], 1000);
    EXPECT_EQ(fromEach[1], 1000);
}

TEST_F(EventLogTest, ALastLineWithoutItsEndIsNotContinued) {
    for (const char* before : {"edited by hand", "cut short\r", "[09-Dec-2026 14:0"}) {
        ASSERT_TRUE(WriteWholeFile("log.txt", before));
        WriteLogLine(log_, "next");
        const std::vector<std::string> lines = LogLines();
        ASSERT_EQ(lines.size(), 2u) << before;
        EXPECT_TRUE(std::regex_match(lines[1], kStampedLine)) << lines[1];
        EXPECT_EQ(lines[1].substr(lines[1].size() - 6), "] next");
    }
}

class EventLogOnAFullDiskTest : public EventLogTest,
                                public ::testing::WithParamInterface<test::ShortWriteKind> {};

TEST_P(EventLogOnAFullDiskTest, ALineTheDiskCannotTakeLeavesNothingBehind) {
    test::ShortWrites disk;
    if (!disk.Prepare(GetParam()))
        GTEST_SKIP() << "a small file system needs root";
    const std::string before = test::PadToPageEnd("[09-Dec-2026 14:05:31] start\r\n", "", 10);
    ASSERT_TRUE(WriteWholeFile("log.txt", before));

    disk.Squeeze("log.txt", 10);
    WriteLogLine(log_, "lost for want of room");
    disk.Release();
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].title, "Warning #xxxx");
    EXPECT_TRUE(FileText("log.txt") == before)
        << FileText("log.txt").size() << " bytes, " << before.size() << " before";

    WriteLogLine(log_, "room again");
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(std::regex_match(lines[2], kStampedLine)) << lines[2];
    EXPECT_EQ(lines[2].substr(lines[2].size() - 12), "] room again");
}

INSTANTIATE_TEST_SUITE_P(ShortWrites, EventLogOnAFullDiskTest,
                         ::testing::Values(test::ShortWriteKind::FileSizeLimit,
                                           test::ShortWriteKind::FullFileSystem),
                         [](const auto& info) { return test::ShortWriteName(info.param); });

}  // namespace
}  // namespace orv
