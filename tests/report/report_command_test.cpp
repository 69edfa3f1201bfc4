// orv-report in a working directory of its own: what it writes, its exit status and
// its messages for each kind of bad input.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <sstream>
#include <string>
#include <vector>

#include "core/files.h"
#include "report/report_command.h"
#include "report_plans.h"
#include "support/working_dir.h"
#include "testplan/orv_file.h"

namespace orv {
namespace {

class ReportCommandTest : public test::InWorkingDir {
protected:
    int Run(const std::vector<std::string>& arguments) {
        out_.str("");
        err_.str("");
        return RunReportCommand(arguments, out_, err_, {2026, 12, 10, 9, 30, 0});
    }

    // A plan of two records, one Bad, whose photograph `photo` lies in testplans/images.
    static void WritePlan(const std::string& name, const std::string& photo) {
        TestPlan plan = test::EmptyPlan(photo);
        test::AddRecord(plan, "U1", "1", "Good");
        test::AddRecord(plan, "U1", "2", "Bad", true, 0.2f, "lifted, \"cold\" joint");
        ASSERT_TRUE(WriteWholeFile(name, TestPlanBytes(plan)));
    }

    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(ReportCommandTest, WritesTheReportBesideThePlanAndTheCsvOnRequest) {
    ASSERT_TRUE(MakeFolder("testplans") && MakeFolder("testplans/images"));
    QImage photo(64, 48, QImage::Format_RGB32);
    photo.fill(Qt::darkGreen);
    ASSERT_TRUE(photo.save("testplans/images/amp.png"));
    WritePlan("testplans/amp.orv", "testplans/images/amp.png");

    EXPECT_EQ(Run({"testplans/amp.orv", "--csv", "records.csv"}), kReportWritten) << err_.str();
    EXPECT_EQ(err_.str(), "");
    // Each Bad pin with the fault its signatures show, then the summary.
    const std::string out = out_.str();
    EXPECT_EQ(out.rfind("U1 pin 2: ", 0), 0u) << out;
    EXPECT_NE(
        out.find("\norv-report: wrote testplans/amp.html (2 records, 1 Bad) and records.csv\n"),
        std::string::npos)
        << out;
    const std::string html = test::FileText("testplans/amp.html");
    EXPECT_NE(html.find("data:image/jpeg;base64,"), std::string::npos);
    EXPECT_NE(html.find("ORV310"), std::string::npos) << "the program's model without settings";
    EXPECT_NE(html.find("<th>Difference threshold</th><td>1.50%</td>"), std::string::npos);
    const std::string csv = test::FileText("records.csv");
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "row,component,pin,note,status,signature,difference,threshold,fault kind");
    EXPECT_NE(csv.find("\"lifted, \"\"cold\"\" joint\""), std::string::npos);
    EXPECT_FALSE(FileExists("testplans/amp.html.tmp"));

    // The model and threshold the program uses in this working directory.
    ASSERT_TRUE(WriteWholeFile("ORV_settings.txt",
                               "ActiveInstrument=ORV340\r\nORV_GoldenVsLiveThreshold=5.00%\r\n"));
    EXPECT_EQ(Run({"testplans/amp.orv", "-o", "out.html"}), kReportWritten);
    const std::string chosen = test::FileText("out.html");
    EXPECT_NE(chosen.find("ORV340"), std::string::npos);
    EXPECT_NE(chosen.find("<th>Difference threshold</th><td>5.00%</td>"), std::string::npos);
    EXPECT_EQ(test::FileText("ORV_settings.txt"),
              "ActiveInstrument=ORV340\r\nORV_GoldenVsLiveThreshold=5.00%\r\n")
        << "the settings file is only read";
}

TEST_F(ReportCommandTest, AMissingPhotographStillGivesAReportButNotASilentOne) {
    WritePlan("amp.orv", "images/gone.jpg");
    EXPECT_EQ(Run({"amp.orv"}), kReportWrittenWithWarnings);
    EXPECT_EQ(err_.str(),
              "orv-report: amp.orv: The board photograph images/gone.jpg is missing.\n");
    EXPECT_NE(test::FileText("amp.html").find("No board is drawn."), std::string::npos);
}

TEST_F(ReportCommandTest, CellsThatAreNotNumbersAreNamed) {
    TestPlan plan = test::EmptyPlan();
    const int row = test::AddRecord(plan, "U1", "1", "Good");
    SetCell(plan, row, column::kTestY, "12px");
    ASSERT_TRUE(WriteWholeFile("odd.orv", TestPlanBytes(plan)));
    EXPECT_EQ(Run({"odd.orv"}), kReportWrittenWithWarnings);
    EXPECT_NE(err_.str().find("row 2, column 18: \"12px\" is not a number"), std::string::npos)
        << err_.str();
    EXPECT_NE(test::FileText("odd.html").find("</html>"), std::string::npos);
}

TEST_F(ReportCommandTest, NothingIsWrittenWhenThePlanOrTheTargetFails) {
    ASSERT_TRUE(MakeFolder("folder.orv"));
    WritePlan("amp.orv", "");
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"gone.orv"}, "orv-report: cannot read the test plan gone.orv\n"},
        {{"folder.orv"}, "orv-report: cannot read the test plan folder.orv\n"},
        {{"amp.orv", "-o", "no/such/folder/r.html"},
         "orv-report: the report was not written: cannot write no/such/folder/r.html.tmp\n"},
        {{"amp.orv", "-o", "r.html", "--csv", "no/such/r.csv"},
         "orv-report: the record list was not written: cannot write no/such/r.csv.tmp\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.arguments), kReportFailed) << c.arguments[0];
        EXPECT_EQ(err_.str(), c.message);
    }
    EXPECT_FALSE(FileExists("gone.html"));
    EXPECT_FALSE(FileExists("folder.html"));
}

TEST_F(ReportCommandTest, NoOutputReplacesThePlanHoweverItIsNamed) {
    WritePlan("amp.orv", "");
    const std::string plan = test::FileText("amp.orv");
    ASSERT_TRUE(MakeFolder("sub"));
    ASSERT_EQ(::symlink("amp.orv", "linked.orv"), 0);
    ASSERT_EQ(::link("amp.orv", "hard.orv"), 0);
    const std::string asReport = "orv-report: the report would replace the test plan amp.orv\n";
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"amp.orv", "-o", "amp.orv"}, asReport},
        {{"amp.orv", "-o", "./amp.orv"}, asReport},
        {{"amp.orv", "-o", "sub/../amp.orv"}, asReport},
        {{"amp.orv", "-o", "linked.orv"}, asReport},
        {{"amp.orv", "-o", "hard.orv"}, asReport},
        {{"./amp.orv", "-o", "amp.orv"},
         "orv-report: the report would replace the test plan ./amp.orv\n"},
        {{"amp.orv", "--csv", "./amp.orv"},
         "orv-report: the record list would replace the test plan amp.orv\n"},
        {{"amp.orv", "-o", "r.html", "--csv", "./r.html"},
         "orv-report: the report and the record list would be one file: r.html\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.arguments), kReportUsage) << c.arguments[2];
        EXPECT_EQ(err_.str(), c.message);
        EXPECT_EQ(test::FileText("amp.orv"), plan) << c.arguments[2];
    }
    EXPECT_FALSE(FileExists("r.html"));
    EXPECT_FALSE(FileExists("amp.html"));
}

TEST_F(ReportCommandTest, PlanTextReachesTheTerminalWithoutControlCharacters) {
    TestPlan plan = test::EmptyPlan("images/\x1b[31mgone\x07.jpg");
    test::AddRecord(plan, "U1\x1b]0;owned\x07", "2\x1b[2J", "Bad", true, 0.2f);
    test::AddRecord(plan,
                    "U2\xC2\x9B"
                    "2J",
                    "1\x7F", "Bad", true, 0.2f);
    ASSERT_TRUE(WriteWholeFile("amp.orv", TestPlanBytes(plan)));
    EXPECT_EQ(Run({"amp.orv"}), kReportWrittenWithWarnings);
    const std::string shown = out_.str() + err_.str();
    for (const char* control : {"\x1b", "\x07", "\r", "\x7F", "\xC2\x9B"})
        EXPECT_EQ(shown.find(control), std::string::npos) << shown;
    EXPECT_EQ(out_.str().rfind("U1]0;owned pin 2[2J: ", 0), 0u) << out_.str();
    EXPECT_NE(out_.str().find("\nU22J pin 1: "), std::string::npos) << out_.str();
    EXPECT_NE(err_.str().find("images/[31mgone.jpg is missing."), std::string::npos) << err_.str();
}

TEST_F(ReportCommandTest, AWrongCommandLineShowsTheUsage) {
    const std::vector<std::string> wrong[] = {
        {}, {"-o"}, {"a.orv", "b.orv"}, {"--bogus", "a.orv"}, {"a.orv", "--csv"}};
    for (const auto& arguments : wrong) {
        EXPECT_EQ(Run(arguments), kReportUsage);
        EXPECT_NE(
            err_.str().find("usage: orv-report PLAN.orv [-o REPORT.html] [--csv RECORDS.csv]"),
            std::string::npos);
    }
    EXPECT_EQ(Run({"--help"}), kReportWritten);
    EXPECT_EQ(out_.str().rfind("usage: orv-report", 0), 0u);
    EXPECT_EQ(Run({"--version"}), kReportWritten);
    EXPECT_EQ(out_.str().rfind("orv-report ", 0), 0u);
}

}  // namespace
}  // namespace orv
