// The report's content from small plans: counts, the fault list with the program's own
// difference, the board picture, escaping, the CSV and the writing of the file.

#include <gtest/gtest.h>

#include <QImage>
#include <optional>
#include <string>
#include <vector>

#include "core/files.h"
#include "display/fault_tooltips.h"
#include "display/pcb_view.h"
#include "engine/difference.h"
#include "engine/fault_kind.h"
#include "media/image_decoding.h"
#include "report/board_picture.h"
#include "report/report_csv.h"
#include "report/report_document.h"
#include "report/report_html.h"
#include "report/test_report.h"
#include "report_plans.h"
#include "support/working_dir.h"

namespace orv {
namespace {

using test::AddRecord;
using test::EmptyPlan;

ReportContext Context() {
    ReportContext c;
    c.planFileName = "testplans/amp.orv";
    c.thresholdText = "1.50%";
    c.instrumentModel = "ORV320";
    c.softwareVersion = "25.003";
    c.when = {2026, 12, 9, 14, 5, 31};
    return c;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The text between the first `from` and the next `to` after it.
std::string Section(const std::string& html, const std::string& from, const std::string& to) {
    const auto begin = html.find(from);
    if (begin == std::string::npos)
        return {};
    return html.substr(begin, html.find(to, begin + from.size()) - begin);
}

class ReportTest : public test::InWorkingDir {};

TEST_F(ReportTest, CountsEachResultAndItsShareOfAllRecords) {
    TestPlan plan = EmptyPlan();
    AddRecord(plan, "U1", "1", "Good");
    AddRecord(plan, "U1", "2", "Good");
    AddRecord(plan, "U1", "3", "Bad", true, 0.2f);
    AddRecord(plan, "U2", "1", "Untested");
    AddRecord(plan, "U2", "2", "NoTest");
    AddRecord(plan, "U2", "3", "Untested", false);
    const TestReport report = BuildTestReport(plan, Context());
    const ReportCounts& n = report.counts;
    EXPECT_EQ(n.records, 6);
    EXPECT_EQ(n.good, 2);
    EXPECT_EQ(n.bad, 1);
    EXPECT_EQ(n.untested, 2);
    EXPECT_EQ(n.noTest, 1);
    EXPECT_EQ(n.noGolden, 1);

    const std::string html = ReportHtml(report, nullptr, "");
    const std::string results = Section(html, "<h2>Results</h2>", "</table>");
    EXPECT_TRUE(Has(results, "Good</th><td class=\"n\">2</td><td class=\"n\">33.33%"));
    EXPECT_TRUE(Has(results, "Bad</th><td class=\"n\">1</td><td class=\"n\">16.67%"));
    EXPECT_TRUE(Has(results, "Untested</th><td class=\"n\">2</td><td class=\"n\">33.33%"));
    EXPECT_TRUE(Has(results, "NoTest</th><td class=\"n\">1</td><td class=\"n\">16.67%"));
    EXPECT_TRUE(
        Has(results, "No golden signature</th><td class=\"n\">1</td><td class=\"n\">16.67%"));
    for (const char* fact : {"testplans/amp.orv", "09-Dec-2026 14:05:31", "ORV320", "25.003"})
        EXPECT_TRUE(Has(Section(html, "<table class=\"facts\">", "</table>"), fact)) << fact;

    // A plan without records divides by nothing.
    const std::string empty = ReportHtml(BuildTestReport(EmptyPlan(), Context()), nullptr, "");
    EXPECT_TRUE(Has(empty, "0.00%"));
    EXPECT_TRUE(Has(empty, "The test plan holds no records."));
}

TEST_F(ReportTest, ABadRecordIsListedWithTheDifferenceTheWindowComputes) {
    TestPlan plan = EmptyPlan();
    AddRecord(plan, "U1", "1", "Good", true, 0.001f);
    const int bad = AddRecord(plan, "R9", "2", "Bad", true, 0.1f, "burnt mark");
    AddRecord(plan, "R9", "1", "Untested");
    const TestReport report = BuildTestReport(plan, Context());

    // What the automatic test stores as the difference of this pin.
    Signatures signatures;
    Measurement measurement;
    LoadSignature(plan, bad, kDutBlock, signatures.TraceBuffer.X, signatures.TraceBuffer.Y);
    ComputeDifference(plan, bad, signatures, measurement);
    const ReportRecord& record = report.records[static_cast<std::size_t>(bad - 2)];
    ASSERT_TRUE(record.difference.has_value());
    EXPECT_EQ(*record.difference, measurement.DifferencePercent);
    EXPECT_NEAR(*record.difference, 10.0f, 0.2f);  // a tenth of the 1 V full scale
    EXPECT_FALSE(report.records[2].difference.has_value()) << "an untested record has no DUT";

    const std::string faults = Section(ReportHtml(report, nullptr, ""), "<h2>Faults</h2>", "<h2>");
    EXPECT_EQ(faults.find("<div class=\"fault\">"), faults.rfind("<div class=\"fault\">"));
    for (const std::string& part :
         {std::string("<td>R9</td>"), std::string("<td>2</td>"), std::string("<td>burnt mark</td>"),
          std::string("1000 mVpk, 1000 ohms, 1000 Hz"),
          PercentText(measurement.DifferencePercent) + " (above 1.50%)",
          std::string("class=\"golden\""), std::string("class=\"dut\"")}) {
        EXPECT_TRUE(Has(faults, part)) << part;
    }
    // The fault named as the bad tree names it; the other records get no class.
    const std::optional<FaultClass> fault = ClassifyRecord(plan, bad);
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(record.faultKind, FaultKindText(fault->kind));
    EXPECT_TRUE(Has(faults, "<th>Fault kind</th><td>" + FaultTooltip(*fault)));
    EXPECT_TRUE(report.records[0].faultKind.empty());
}

TEST_F(ReportTest, MarkupInAnyTextCellIsShownAsText) {
    TestPlan plan = EmptyPlan("<img src=x onerror=alert(1)>.png");
    AddRecord(plan, "<b>U1</b>", "1&2", "Bad", true, 0.2f, "<script>alert(\"x\")</script>");
    AddRecord(plan, "U2", "'1'", "<i>odd</i>");
    // NUL and other control bytes, which an HTML parser drops or rejects.
    const std::string controls(
        "U\0"
        "3\x01\x1b",
        5);
    AddRecord(plan, controls, controls, "Bad", true, 0.2f, controls);
    ReportContext context = Context();
    context.planFileName = "plans/<em>board</em>.orv";
    context.thresholdText = "<u>2%";  // no threshold the program knows: 0
    const std::string html = ReportHtml(BuildTestReport(plan, context), nullptr, "");
    for (const char* injected : {"<script", "<b>", "<img", "<i>", "<em>", "<u>"})
        EXPECT_FALSE(Has(html, injected)) << injected;
    for (const char* escaped : {"&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;", "&lt;b&gt;U1",
                                "1&amp;2", "&#39;1&#39;", "&lt;i&gt;odd", "&lt;em&gt;board",
                                "0.00% (the setting reads &quot;&lt;u&gt;2%&quot;)"})
        EXPECT_TRUE(Has(html, escaped)) << escaped;
    EXPECT_EQ(html.find_first_of(std::string("\0\x01\x1b", 3)), std::string::npos);
    EXPECT_TRUE(Has(html,
                    "<h3>U\xEF\xBF\xBD"
                    "3\xEF\xBF\xBD\xEF\xBF\xBD</h3>"));
}

TEST_F(ReportTest, ThePageNeedsNothingFromOutside) {
    TestPlan plan = EmptyPlan("board.png");
    AddRecord(plan, "U1", "1", "Bad", true, 0.2f);
    QImage photo(40, 30, QImage::Format_RGB32);
    photo.fill(Qt::darkGreen);
    ASSERT_TRUE(photo.save("board.png"));
    const std::string html = MakeReportDocument(plan, Context(), "plan.orv").html;
    EXPECT_TRUE(Has(html, "href=\"data:image/jpeg;base64,"));
    for (const char* outside : {"http:", "https:", "src=", "<link", "@import", "url("})
        EXPECT_FALSE(Has(html, outside)) << outside;
}

TEST_F(ReportTest, TheBoardShowsEveryPinInItsResultColourAndNamesTheBadOnes) {
    TestPlan plan = EmptyPlan("images/board.png");
    AddRecord(plan, "U1", "2", "Good", true, 0, "", 100, 100);
    AddRecord(plan, "U1", "3", "Bad", true, 0.2f, "", 300, 200);
    AddRecord(plan, "U1", "4", "Untested", false, 0, "", 500, 300);
    ASSERT_TRUE(MakeFolder("images"));
    QImage photo(800, 600, QImage::Format_RGB32);  // scaled to half for a 400 pixel side
    photo.fill(Qt::gray);
    ASSERT_TRUE(photo.save("images/board.png"));

    const TestReport report = BuildTestReport(plan, Context());
    const BoardPhoto loaded = LoadBoardPhoto(report.photoName, "testplans/plan.orv");
    ASSERT_TRUE(loaded.image.has_value()) << loaded.problem;
    const auto picture = DrawBoardPicture(*loaded.image, report.records, 400);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, 400);
    EXPECT_EQ(picture->height, 300);
    ASSERT_EQ(picture->labels.size(), 1u);
    EXPECT_EQ(picture->labels[0].text, "U1.3");
    EXPECT_EQ(picture->labels[0].u, 150);
    EXPECT_EQ(picture->labels[0].v, 100);

    const auto image = DecodeImage(picture->jpeg);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->size(), QSize(400, 300));
    ASSERT_EQ(picture->markers.size(), 3u);
    struct Marker {
        int u, v;
        ColourNumber fill;
    };
    const Marker expected[] = {
        {50, 50, kMarkerGood}, {150, 100, kMarkerBad}, {250, 150, kMarkerNoSignature}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(picture->markers[i].u, expected[i].u) << i;
        EXPECT_EQ(picture->markers[i].v, expected[i].v) << i;
        EXPECT_EQ(picture->markers[i].fill, expected[i].fill) << i;
    }
    const std::string html = ReportHtml(report, &*picture, "");
    EXPECT_TRUE(Has(html, "<circle cx=\"150\" cy=\"100\" r=\"6\" fill=\"#ff0000\"/>"));
    EXPECT_TRUE(Has(html, ">U1.3</text>"));
}

TEST_F(ReportTest, PinOneIsASquareAndAPinWithoutResultOnlyAnOutline) {
    TestPlan plan = EmptyPlan();
    AddRecord(plan, "U1", "1", "Good", true, 0, "", 20, 20);
    AddRecord(plan, "U1", "2", "", true, 0, "", 30, 30);
    AddRecord(plan, "U1", "3", "Bad", true, 0.2f, "", 900, 30);  // beside the photograph
    const int deleted = AddRecord(plan, "U1", "4", "Bad", true, 0.2f, "", 40, 40);
    SetCell(plan, deleted, column::kRecord, "delete");
    QImage photo(100, 100, QImage::Format_RGB32);
    photo.fill(Qt::gray);
    const auto picture = DrawBoardPicture(photo, BuildTestReport(plan, Context()).records);
    ASSERT_TRUE(picture.has_value());
    ASSERT_EQ(picture->markers.size(), 2u);
    EXPECT_TRUE(picture->markers[0].square);
    EXPECT_FALSE(picture->markers[1].square);
    EXPECT_FALSE(picture->markers[1].fill.has_value());
    EXPECT_TRUE(picture->labels.empty());
}

TEST_F(ReportTest, AMissingOrUnreadablePhotographIsReportedAndNoBoardDrawn) {
    ASSERT_TRUE(WriteWholeFile("broken.png", "\x89PNG\r\n\x1a\n not really"));
    struct Case {
        std::string photo;
        std::string problem;
    };
    for (const Case& c :
         {Case{"", "names no board photograph"}, Case{"gone.png", "gone.png is missing"},
          Case{"broken.png", "broken.png is no picture"}}) {
        TestPlan plan = EmptyPlan(c.photo);
        AddRecord(plan, "U1", "1", "Good");
        const ReportDocument document = MakeReportDocument(plan, Context(), "plan.orv");
        ASSERT_EQ(document.warnings.size(), 1u) << c.photo;
        EXPECT_TRUE(Has(document.warnings[0], c.problem)) << document.warnings[0];
        EXPECT_TRUE(Has(document.html, "No board is drawn.")) << c.photo;
        EXPECT_FALSE(Has(document.html, "class=\"board\"")) << c.photo;
        EXPECT_TRUE(Has(document.html, "</html>\n")) << c.photo;
    }
}

TEST_F(ReportTest, APhotographIsFoundBesideThePlanAsWell) {
    ASSERT_TRUE(MakeFolder("work") && MakeFolder("work/testplans") &&
                MakeFolder("work/testplans/images"));
    QImage photo(20, 20, QImage::Format_RGB32);
    photo.fill(Qt::blue);
    ASSERT_TRUE(photo.save("work/testplans/images/b.png"));
    EXPECT_TRUE(LoadBoardPhoto("testplans\\images\\b.png", "work/testplans/p.orv").image);
    EXPECT_TRUE(LoadBoardPhoto("images/b.png", "work/testplans/p.orv").image);
    EXPECT_FALSE(LoadBoardPhoto("images/b.png", "p.orv").image);
}

TEST_F(ReportTest, CellsThatAreNotNumbersAreNamedAndReadAsTheProgramReadsThem) {
    struct Case {
        const char* text;
        bool number;
    };
    const Case cases[] = {
        {"12", true},     {" -3.5e2 ", true}, {"NaN", true},  {"+Infinity", true},
        {"", true},       {".5", true},       {"abc", false}, {"1.2.3", false},
        {"12abc", false}, {"e5", false},      {".", false},   {"1e", false},
    };
    for (const Case& c : cases) {
        TestPlan plan = EmptyPlan();
        const int row = AddRecord(plan, "U1", "1", "Bad", true, 0.2f);
        SetCell(plan, row, column::kTestX, c.text);
        const TestReport report = BuildTestReport(plan, Context());
        EXPECT_EQ(report.cellProblems.empty(), c.number) << '"' << c.text << '"';
    }

    // Settings, point counts and points that are no numbers: the record is shown, with
    // no signature where its count cannot be read, and nothing breaks.
    TestPlan plan = EmptyPlan();
    const int broken = AddRecord(plan, "U1", "1", "Bad", true, 0.2f);
    SetCell(plan, broken, column::kVoltage, "lots");
    SetCell(plan, broken, column::kPointCount + 1, "NaN");
    SetCell(plan, broken, kBlockColumns + column::kPointCount, "sixty-four");
    const TestReport report = BuildTestReport(plan, Context());
    EXPECT_EQ(report.cellProblems,
              (std::vector<std::string>{"row 2, column 2: \"lots\" is not a number",
                                        "row 2, column 319: \"sixty-four\" is not a number"}));
    EXPECT_EQ(report.records[0].dutPoints, 0);
    EXPECT_FALSE(report.records[0].difference.has_value());
    EXPECT_TRUE(SignaturePlotSvg(report.records[0]).empty()) << "no full scale to draw on";
    const std::string html = ReportHtml(report, nullptr, "");
    EXPECT_TRUE(Has(html, "Cells that are not numbers"));
    EXPECT_TRUE(Has(html, "no DUT signature to compare"));
}

TEST_F(ReportTest, RecordsAreGroupedByComponentRunsInPlanOrder) {
    TestPlan plan = EmptyPlan();
    for (const char* component : {"U1", "U1", "U2", "U1"})
        AddRecord(plan, component, "1", "Untested");
    const std::string records = Section(ReportHtml(BuildTestReport(plan, Context()), nullptr, ""),
                                        "<h2>Records</h2>", "</body>");
    std::vector<std::string> headings;
    for (auto at = records.find("<h3>"); at != std::string::npos; at = records.find("<h3>", at + 1))
        headings.push_back(records.substr(at + 4, records.find("</h3>", at) - at - 4));
    EXPECT_EQ(headings, (std::vector<std::string>{"U1", "U2", "U1"}));
}

TEST_F(ReportTest, TheCsvQuotesWhatMustBeQuoted) {
    const std::pair<const char*, const char*> fields[] = {
        {"plain", "plain"},
        {"a, b", "\"a, b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"", ""},
    };
    for (const auto& [text, written] : fields)
        EXPECT_EQ(CsvField(text), written) << text;

    TestPlan plan = EmptyPlan();
    AddRecord(plan, "U1", "1", "Bad", true, 0.1f, "cracked, \"see photo\"");
    AddRecord(plan, "U1", "2", "Untested", false);
    const TestReport report = BuildTestReport(plan, Context());
    const std::string difference = PercentText(*report.records[0].difference);
    const std::optional<FaultClass> fault = ClassifyRecord(plan, 2);
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(ReportCsv(report),
              "row,component,pin,note,status,signature,difference,threshold,fault kind\r\n"
              "2,U1,1,\"cracked, \"\"see photo\"\"\",Bad,Yes," +
                  difference.substr(0, difference.size() - 1) + ",1.50," +
                  std::string(FaultKindText(fault->kind)) +
                  "\r\n"
                  "3,U1,2,,Untested,No,,1.50,\r\n");
}

// Cells a spreadsheet would run as formulas get a leading apostrophe, in every column
// the CSV takes from the plan; signed numbers stay numbers.
TEST_F(ReportTest, TheCsvNeverHandsASpreadsheetAFormula) {
    const std::pair<const char*, const char*> payloads[] = {
        {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {"=cmd|' /C calc'!A0", "'=cmd|' /C calc'!A0"},
        {"+1+1", "'+1+1"},
        {"-2+3", "'-2+3"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\t=1+1", "'\t=1+1"},
        {"\r=1+1", "\"'\r=1+1\""},
        {"-", "'-"},
        {"-1.5x", "'-1.5x"},
        {"-1e", "'-1e"},
        {"-1.5", "-1.5"},
        {"+3", "+3"},
        {"-0.001", "-0.001"},
        {"-.5", "-.5"},
        {"+2.5E-3", "+2.5E-3"},
        {"1-2", "1-2"},
        {"a=b", "a=b"},
    };
    for (const auto& [text, written] : payloads) {
        TestPlan plan = EmptyPlan();
        AddRecord(plan, text, text, text, true, 0, text);
        const std::string csv = ReportCsv(BuildTestReport(plan, Context()));
        const std::string w = written;
        EXPECT_EQ(csv.substr(csv.find("\r\n") + 2),
                  "2," + w + "," + w + "," + w + "," + w + ",Yes,,1.50,\r\n")
            << text;
    }
}

TEST_F(ReportTest, AReportIsWrittenWholeOrNotAtAll) {
    ASSERT_TRUE(WriteWholeFile("report.html", "old"));
    EXPECT_EQ(WriteReportFile("report.html", "new"), "");
    EXPECT_EQ(test::FileText("report.html"), "new");
    EXPECT_FALSE(FileExists("report.html.tmp"));

    EXPECT_NE(WriteReportFile("no/such/folder/report.html", "new"), "");
    EXPECT_FALSE(FileExists("no/such/folder/report.html"));

    const std::pair<const char*, const char*> names[] = {
        {"testplans\\board.orv", "testplans\\board.html"},
        {"board.ORV", "board.html"},
        {"board", "board.html"},
        {"", ".html"},
    };
    for (const auto& [plan, report] : names)
        EXPECT_EQ(ReportNameFor(plan), report) << plan;
    EXPECT_EQ(WithHtmlExtension("r"), "r.html");
    EXPECT_EQ(WithHtmlExtension("r.HTM"), "r.HTM");
}

}  // namespace
}  // namespace orv
