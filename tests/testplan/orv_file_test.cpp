#include "testplan/orv_file.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "core/files.h"
#include "core/number_text.h"
#include "support/log_messages.h"
#include "support/working_dir.h"
#include "testplan/cell_numbers.h"
#include "testplan/record_cells.h"

namespace orv {
namespace {

using test::LogMessages;

using test::FileText;

const std::string kNewPlanLine = std::string(575, ',') + "\r\n";

// A plan as the program makes it: header with a photograph, records of a few
// components with golden and DUT signatures.
TestPlan MadePlan(int records, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> volts(-10.0f, 10.0f);
    std::uniform_real_distribution<float> amps(-0.01f, 0.01f);
    TestPlan plan;
    ResizeTable(plan, records + 1, kPlanColumns);
    SetCell(plan, 1, column::kImageFile, "testplans\\images\\board, top.png");
    SetCell(plan, 1, column::kViewX, "800");
    SetCell(plan, 1, column::kViewY, "600");
    SetCell(plan, 1, column::kZoom, "1");
    std::array<float, kMaxStoredPoints + 1> x{};
    std::array<float, kMaxStoredPoints + 1> y{};
    GeneratorSettings generator{1000, 1000, 50, 0, 0, 0, 0};
    for (int row = 2; row <= records + 1; ++row) {
        const std::string component = "IC" + std::to_string(row / 8 + 1);
        const std::string pin = std::to_string(row % 8 + 1);
        SetCell(plan, row, column::kDescription, component + ", Pin " + pin);
        SetCell(plan, row, column::kStatus, row % 3 == 0 ? "Good" : "Untested");
        SetCell(plan, row, column::kComponent, component);
        SetCell(plan, row, column::kPin, pin);
        SetCell(plan, row, column::kZoom, FormatFloatText(1.5f));
        SetCell(plan, row, column::kTestX, std::to_string(row * 7));
        SetCell(plan, row, column::kTestY, std::to_string(row * 3));
        SetCell(plan, row, column::kScanSig, "0");
        SetCell(plan, row, column::kScanCom, "0");
        SetCell(plan, row, column::kSignature, "Yes");
        for (int i = 1; i <= 64; ++i) {
            x[i] = volts(random);
            y[i] = amps(random);
        }
        StoreSignature(plan, row, kGoldenBlock, generator, 64, x, y);
        StoreSignature(plan, row, kDutBlock, generator, 64, x, y);
    }
    return plan;
}

void ExpectSameCells(const TestPlan& actual, const TestPlan& expected) {
    ASSERT_EQ(RowCount(actual), RowCount(expected));
    ASSERT_EQ(ColCount(actual), ColCount(expected));
    for (int row = 1; row <= RowCount(expected); ++row) {
        for (int col = 1; col <= ColCount(expected); ++col) {
            ASSERT_EQ(Cell(actual, row, col), Cell(expected, row, col)) << row << "," << col;
        }
    }
}

class OrvFileTest : public test::InWorkingDir {
protected:
    void SetUp() override {
        InWorkingDir::SetUp();
        log_.dialogs = &dialogs_;
    }
    TestPlan Load(const std::string& bytes) {
        EXPECT_TRUE(WriteWholeFile("in.orv", bytes));
        TestPlan plan;
        LoadTestPlan(plan, log_, "in.orv");
        return plan;
    }

    ui::ScriptedDialogs dialogs_;
    EventLog log_;
};

TEST_F(OrvFileTest, APlanMadeByTheProgramComesBackCellForCell) {
    ASSERT_TRUE(MakeFolder("testplans"));
    const TestPlan made = MadePlan(40, 7);
    SaveTestPlan(made, log_, "testplans\\board.orv");
    const std::string bytes = FileText("testplans/board.orv");
    // Every line carries all 576 fields and ends with CR LF; the "," of the texts is "£".
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), ','), 41 * 575);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_NE(bytes.find(",IC3\xC2\xA3 Pin 2,Untested,IC3,2,,,"), std::string::npos);

    TestPlan loaded;
    LoadTestPlan(loaded, log_, "testplans\\board.orv");
    ExpectSameCells(loaded, made);
    EXPECT_EQ(LogMessages(),
              std::vector<std::string>{"TestPlan loaded: testplans\\board.orv rows=41 cols=576"});

    SaveTestPlan(loaded, log_, "testplans\\again.orv");
    EXPECT_EQ(FileText("testplans/again.orv"), bytes);
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(OrvFileTest, ReadsWhatOtherEditorsLeave) {
    struct Case {
        const char* name;
        std::string bytes;
        int rows;
        int cols;
        std::vector<std::tuple<int, int, std::string>> cells;
    };
    const Case cases[] = {
        {"empty file", "", 1, 1, {{1, 1, ""}}},
        {"byte order mark stays in the first cell",
         "\xEF\xBB\xBF"
         "1,a\r\n2,b\r\n",
         2,
         2,
         {{1, 1,
           "\xEF\xBB\xBF"
           "1"},
          {2, 2, "b"}}},
        {"mixed line ends, no end on the last line",
         "a,b\r\nc\nd,e,f\rg",
         4,
         3,
         {{1, 2, "b"}, {2, 1, "c"}, {2, 2, ""}, {3, 3, "f"}, {4, 1, "g"}, {4, 3, ""}}},
        {"blank lines are empty rows",
         "a\r\n\r\n\nb\r\n",
         4,
         1,
         {{2, 1, ""}, {3, 1, ""}, {4, 1, "b"}}},
        {"a line without a comma is one field", "just text\r\n", 1, 1, {{1, 1, "just text"}}},
        {"pound signs are commas",
         "IC17\xC2\xA3 Pin 3,\xC2\xA3x\xC2\xA3\r\n",
         1,
         2,
         {{1, 1, "IC17, Pin 3"}, {1, 2, ",x,"}}},
        {"a lone pound byte is kept",
         "a\xC2,\xA3"
         "b\r\n",
         1,
         2,
         {{1, 1, "a\xC2"},
          {1, 2,
           "\xA3"
           "b"}}},
        {"blanks are kept", " a , b \r\n", 1, 2, {{1, 1, " a "}, {1, 2, " b "}}},
        {"only commas", ",,,\r\n", 1, 4, {{1, 4, ""}}},
    };
    for (const Case& c : cases) {
        const TestPlan plan = Load(c.bytes);
        EXPECT_EQ(RowCount(plan), c.rows) << c.name;
        EXPECT_EQ(ColCount(plan), c.cols) << c.name;
        for (const auto& [row, col, text] : c.cells) {
            EXPECT_EQ(Cell(plan, row, col), text) << c.name << " " << row << "," << col;
        }
    }
}

TEST_F(OrvFileTest, RaggedLinesAreSavedPaddedToTheWidestAndTextsStayWhole) {
    TestPlan plan = Load("a\r\nb,c,d\nIC17\xC2\xA3 Pin 3\r");
    SaveTestPlan(plan, log_, "out.orv");
    EXPECT_EQ(FileText("out.orv"), "a,,\r\nb,c,d\r\nIC17\xC2\xA3 Pin 3,,\r\n");

    SetCell(plan, 1, 2, "100\xC2\xA3");  // a typed pound sign comes back as a comma
    SetCell(plan, 1, 3, "two\r\nlines\n");
    SaveTestPlan(plan, log_, "out.orv");
    EXPECT_EQ(SplitLines(FileText("out.orv"))[0], "a,100\xC2\xA3,two  lines ");
    const TestPlan back = Load(FileText("out.orv"));
    EXPECT_EQ(RowCount(back), 3);
    EXPECT_EQ(Cell(back, 1, 2), "100,");
}

TEST_F(OrvFileTest, ANewPlanIsOneLineOf575Commas) {
    SaveTestPlan(TestPlan{}, log_, "new.orv");
    EXPECT_EQ(FileText("new.orv"), kNewPlanLine);
    TestPlan single;
    ResizeTable(single, 1, 1);
    SaveTestPlan(single, log_, "single.orv");
    EXPECT_EQ(FileText("single.orv"), "\r\n");
    EXPECT_EQ(RowCount(Load("\r\n")), 1);
}

TEST_F(OrvFileTest, BackupOnlyOverANonEmptyFile) {
    SaveTestPlan(Load("first\r\n"), log_, "board.orv");
    EXPECT_FALSE(FileExists("board.orv.bak"));  // a new name has nothing to keep

    SaveTestPlan(Load("second\r\n"), log_, "board.orv");
    EXPECT_EQ(FileText("board.orv.bak"), "first\r\n");
    SaveTestPlan(Load("third\r\n"), log_, "board.orv");
    EXPECT_EQ(FileText("board.orv.bak"), "second\r\n");
    EXPECT_EQ(FileText("board.orv"), "third\r\n");

    ASSERT_TRUE(WriteWholeFile("empty.orv", ""));
    SaveTestPlan(Load("x\r\n"), log_, "empty.orv");
    EXPECT_FALSE(FileExists("empty.orv.bak"));
    EXPECT_FALSE(FileExists("board.orv.tmp"));
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(OrvFileTest, UnwritableTemporaryFileLeavesTheTargetAlone) {
    ASSERT_TRUE(WriteWholeFile("board.orv", "old\r\n"));
    ASSERT_TRUE(MakeFolder("board.orv.tmp"));
    SaveTestPlan(Load("new\r\n"), log_, "board.orv");
    EXPECT_EQ(FileText("board.orv"), "old\r\n");
    EXPECT_EQ(dialogs_.shown,
              (std::vector<ui::ShownBox>{{ui::ShownBox::Kind::Message, "Error #0064",
                                          "File cannot be created", ui::BoxIcon::Error}}));
    EXPECT_EQ(LogMessages().back(), "Error #0064 File cannot be created");
}

TEST_F(OrvFileTest, FailedRenameKeepsTheNewDataInTheTemporaryFile) {
    ASSERT_TRUE(MakeFolder("board.orv"));
    ASSERT_TRUE(WriteWholeFile("board.orv/inside", "x"));  // a folder in the way
    SaveTestPlan(Load("new\r\n"), log_, "board.orv");
    EXPECT_EQ(FileText("board.orv.tmp"), "new\r\n");
    const std::vector<std::string> log = LogMessages();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "Error: RenameFile failed for board.orv.tmp");
    EXPECT_EQ(log.back(), "Error #0066 File save failed during rename.");
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].title, "Error #0066");
    EXPECT_EQ(dialogs_.shown[0].text, "File save failed during rename.");
}

TEST_F(OrvFileTest, MissingFileIsReportedAndTheOpenPlanStays) {
    TestPlan plan = Load("kept,plan\r\n");
    EXPECT_FALSE(LoadTestPlan(plan, log_, "testplans\\gone.orv"));
    EXPECT_EQ(Cell(plan, 1, 2), "plan");
    EXPECT_EQ(LogMessages(),
              (std::vector<std::string>{"TestPlan loaded: in.orv rows=1 cols=2",
                                        "Error #0065 Cannot open .orv file: testplans\\gone.orv",
                                        "Error #0065 Cannot open .orv file"}));
    EXPECT_EQ(dialogs_.shown,
              (std::vector<ui::ShownBox>{{ui::ShownBox::Kind::Message, "Error #0065",
                                          "Cannot open .orv file\ntestplans\\gone.orv",
                                          ui::BoxIcon::Error}}));
}

// A device, a pipe, a folder or a file past the size limit named as the plan fails as
// a missing file does: reported, the open plan kept, nothing hangs or fills the memory.
TEST_F(OrvFileTest, OnlyRegularFilesWithinTheSizeLimitAreLoaded) {
    ASSERT_TRUE(WriteWholeFile("huge.orv", "a,b\r\n"));
    ASSERT_EQ(truncate("huge.orv", kMaxTestPlanBytes + 1), 0);  // sparse: no room taken
    ASSERT_EQ(mkfifo("pipe.orv", 0644), 0);
    ASSERT_TRUE(MakeFolder("folder.orv"));
    for (const std::string name : {"/dev/zero", "pipe.orv", "folder.orv", "huge.orv"}) {
        TestPlan plan = Load("kept,plan\r\n");
        dialogs_.shown.clear();
        LoadTestPlan(plan, log_, name);
        EXPECT_EQ(Cell(plan, 1, 2), "plan") << name;
        const std::vector<std::string> log = LogMessages();
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log[log.size() - 2], "Error #0065 Cannot open .orv file: " + name);
        EXPECT_EQ(log.back(), "Error #0065 Cannot open .orv file");
        EXPECT_EQ(dialogs_.shown.size(), 1u) << name;
    }
}

// The photograph is found from the header alone, before the plan is loaded; whatever
// cannot be read names none.
TEST_F(OrvFileTest, ThePhotographIsNamedByTheHeaderLineAlone) {
    ASSERT_TRUE(WriteWholeFile("made.orv", TestPlanBytes(MadePlan(50, 7))));
    // A header longer than what is read ahead, as a plan with notes could have.
    ASSERT_TRUE(WriteWholeFile("long.orv", std::string(12, ',') + "board.jpg," +
                                               std::string(200000, 'x') + "\r\nrow\r\n"));
    ASSERT_TRUE(WriteWholeFile("headerless.orv", ""));
    ASSERT_EQ(mkfifo("pipe.orv", 0644), 0);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"made.orv", "testplans\\images\\board, top.png"},
        {"long.orv", "board.jpg"},
        {"headerless.orv", ""},
        {"gone.orv", ""},
        {"pipe.orv", ""},
        {"/dev/zero", ""},
    };
    for (const auto& [file, image] : cases)
        EXPECT_EQ(PlanImageName(file), image) << file;
}

// A save killed at any moment leaves the previous or the new file, whole.
TEST_F(OrvFileTest, KilledSavesNeverLeaveAMissingOrPartialPlan) {
    const TestPlan plans[] = {MadePlan(60, 1), MadePlan(60, 2)};
    const std::string bytes[] = {TestPlanBytes(plans[0]), TestPlanBytes(plans[1])};
    SaveTestPlan(plans[0], log_, "board.orv");
    std::mt19937 random(42);
    std::uniform_int_distribution<int> delayUs(0, 40000);
    for (int round = 0; round < 25; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int save = 0; save < 1000; ++save)
                SaveTestPlan(plans[save % 2], log_, "board.orv");
            _exit(0);
        }
        usleep(static_cast<useconds_t>(delayUs(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        const std::string now = FileText("board.orv");
        ASSERT_TRUE(now == bytes[0] || now == bytes[1])
            << "round " << round << ": " << now.size() << " bytes";
        // The backup too: absent before the first save of the loop, then whole.
        const std::string backup = FileText("board.orv.bak");
        ASSERT_TRUE(backup == "<missing>" || backup == bytes[0] || backup == bytes[1])
            << "round " << round << ": backup of " << backup.size() << " bytes";
    }
}

}  // namespace
}  // namespace orv
