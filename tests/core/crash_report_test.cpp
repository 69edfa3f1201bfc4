#include "core/crash_report.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <regex>
#include <thread>

#include "core/files.h"
#include "support/working_dir.h"

namespace orv {
namespace {

using test::FileText;

std::vector<std::string> SplitAt(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos;) {
        parts.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::string Build(const CrashFacts& facts, const CrashStateValues& state) {
    char text[8192];
    return std::string(text, BuildCrashReport(facts, state, text, sizeof text));
}

CrashStateValues DefaultState() {
    static const AppState app;
    CrashStateValues state;
    state.instrument = app.settings.ActiveInstrument.data();
    state.instrumentLength = app.settings.ActiveInstrument.size();
    state.mode = app.settings.Mode.data();
    state.modeLength = app.settings.Mode.size();
    state.softwareVersion = app.SoftwareVersion;
    return state;
}

TEST(CrashReportTest, MemoryFaultWithSourceLocation) {
    CrashFacts facts;
    facts.description = "Invalid memory access";
    facts.code = 11;
    facts.codeAddress = 4198400;
    facts.hasTargetAddress = true;
    facts.targetAddress = 0;
    facts.sourceFile = "main_cycle.cpp";
    facts.sourceLine = 42;
    for (int i = 0; i < 8; ++i)
        facts.registers[i] = i - 3;
    CrashStateValues state = DefaultState();
    state.connected = true;
    state.testPlanIndex = 7;
    state.actualVoltage = 200.5f;
    state.actualResist = 10000;
    EXPECT_EQ(Build(facts, state),
              "Sorry! A program error was detected:\r\r"
              "Error Message:   Invalid memory access\r"
              "Error Code:      11\r"
              "Code Address:    4198400\r"
              "Target Address:  0\r"
              "Sourcecode line: 42\r"
              "Sourcecode file: main_cycle.cpp\r\r"
              "Register content:\r"
              "RAX = -3\rRBX = -2\rRCX = -1\rRDX = 0\rRBP = 1\rRSI = 2\rRDI = 3\rRSP = 4\r"
              "Display of registers R8-R15 skipped.\r\r"
              "Application State:\r"
              "  Instrument:    ORV310\r"
              "  Mode:          Advanced\r"
              "  USB connected: 1\r"
              "  TestPlanIndex: 7\r"
              "  ActualVoltage: 200.5\r"
              "  ActualResist:  10000\r"
              "  SW Version:    25.003\r\r"
              "Please email both 'bugreport.txt' and 'log.txt' to support@korvane.example\r"
              "We will attempt to fix this bug ASAP. Thank you again for your help!\r");
}

TEST(CrashReportTest, OtherFaultHasNoTargetAndNoSourceFile) {
    CrashFacts facts;
    facts.description = "Integer division by zero";
    facts.code = 8;
    const std::vector<std::string> lines = SplitAt(Build(facts, DefaultState()), "\r");
    EXPECT_EQ(lines[4], "Code Address:    0");
    EXPECT_EQ(lines[5],
              "Sourcecode line: Enable OnError lines support to get code line information.");
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], "Register content:");
}

TEST(CrashReportTest, StateNumbersInTheirTextForms) {
    struct Case {
        float voltage;
        float resist;
        const char* voltageLine;
        const char* resistLine;
    };
    const Case cases[] = {
        {1000, 10000, "  ActualVoltage: 1000", "  ActualResist:  10000"},
        {200.5f, 50, "  ActualVoltage: 200.5", "  ActualResist:  50"},
        {0.1f, 2.5f, "  ActualVoltage: 0.1000000015", "  ActualResist:  2"},  // half to even
        {0, 3.5f, "  ActualVoltage: 0", "  ActualResist:  4"},
    };
    for (const Case& c : cases) {
        CrashStateValues state = DefaultState();
        state.actualVoltage = c.voltage;
        state.actualResist = c.resist;
        const std::string report = Build({}, state);
        EXPECT_NE(report.find(std::string("\r") + c.voltageLine + "\r"), std::string::npos);
        EXPECT_NE(report.find(std::string("\r") + c.resistLine + "\r"), std::string::npos);
    }
}

TEST(CrashReportTest, BlockCarriesTheDateAndTheReportAsOneLine) {
    const std::string report = "line one\rline two\r";
    char block[256];
    const size_t n =
        BuildCrashBlock(report.data(), report.size(), {2026, 12, 9, 7, 5, 3}, block, sizeof block);
    EXPECT_EQ(std::string(block, n),
              "***************************\r\n*** 09/12/2026 07:05:03 ***\r\n"
              "line one\rline two\r\r\n");
}

// Faults of a child process, reported by the installed handler.
class CrashHandlerTest : public test::InWorkingDir {
protected:
    // Runs `fault` in a child with the handler installed; returns its wait status.
    template <class Fault>
    int CrashChild(Fault fault, const std::string& boxProgram = "") {
        const pid_t child = fork();
        if (child == 0) {
            static AppState app;  // defaults: ORV310, Advanced, nothing applied
            CrashStateSources sources;
            sources.app = &app;
            sources.boxProgram = boxProgram;
            InstallCrashHandler(sources);
            fault();
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return status;
    }
};

volatile int g_zero = 0;
volatile int g_dividend = 1000;
int* volatile g_nowhere = nullptr;

__attribute__((no_sanitize("undefined"))) void DivideByZero() {
    volatile int quotient = g_dividend / g_zero;
    (void)quotient;
}

__attribute__((no_sanitize("address", "undefined"))) void WriteThroughNull() {
    *g_nowhere = 1;
}

void ExpectStateLines(const std::vector<std::string>& report, size_t first) {
    const std::vector<std::string> expected = {
        "Application State:", "  Instrument:    ORV310", "  Mode:          Advanced",
        "  USB connected: 0", "  TestPlanIndex: 0",      "  ActualVoltage: 0",
        "  ActualResist:  0", "  SW Version:    25.003", ""};
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(report.at(first + i), expected[i]);
}

TEST_F(CrashHandlerTest, NullWriteAndDivisionByZeroAppendOneBlockEach) {
    const int nullStatus = CrashChild(WriteThroughNull);
    ASSERT_TRUE(WIFEXITED(nullStatus));
    EXPECT_EQ(WEXITSTATUS(nullStatus), 128 + SIGSEGV);
    const int divideStatus = CrashChild(DivideByZero);
    ASSERT_TRUE(WIFEXITED(divideStatus));
    EXPECT_EQ(WEXITSTATUS(divideStatus), 128 + SIGFPE);

    const std::vector<std::string> fileLines = SplitAt(FileText("bugreport.txt"), "\r\n");
    ASSERT_EQ(fileLines.size(), 7u);  // two blocks of three lines, then the final CR LF
    EXPECT_EQ(fileLines[6], "");
    const std::regex stamp(R"(\*\*\* \d\d/\d\d/\d{4} \d\d:\d\d:\d\d \*\*\*)");
    for (int block = 0; block < 2; ++block) {
        EXPECT_EQ(fileLines[block * 3], std::string(27, '*'));
        EXPECT_TRUE(std::regex_match(fileLines[block * 3 + 1], stamp)) << fileLines[block * 3 + 1];
    }

    const std::vector<std::string> memory = SplitAt(fileLines[2], "\r");
    EXPECT_EQ(memory[0], "Sorry! A program error was detected:");
    EXPECT_EQ(memory[2], "Error Message:   Invalid memory access");
    EXPECT_EQ(memory[3], "Error Code:      11");
    EXPECT_TRUE(std::regex_match(memory[4], std::regex(R"(Code Address:    \d+)")));
    EXPECT_EQ(memory[5], "Target Address:  0");
    size_t next = 6;
    if (memory[6].rfind("Sourcecode line: Enable", 0) == 0) {
        next = 7;  // a build without line information
    } else {
        EXPECT_TRUE(std::regex_match(memory[6], std::regex(R"(Sourcecode line: \d+)")));
        EXPECT_EQ(memory[7], "Sourcecode file: crash_report_test.cpp");
        next = 8;
    }
    EXPECT_EQ(memory[next], "");
    EXPECT_EQ(memory[next + 1], "Register content:");
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_TRUE(std::regex_match(memory[next + 2 + i], std::regex(R"(R[A-Z]{2} = -?\d+)")));
    }
    EXPECT_EQ(memory[next + 10], "Display of registers R8-R15 skipped.");
    EXPECT_EQ(memory[next + 11], "");
    ExpectStateLines(memory, next + 12);
    EXPECT_EQ(memory.at(next + 21),
              "Please email both 'bugreport.txt' and 'log.txt' to support@korvane.example");
    EXPECT_EQ(memory.at(next + 22),
              "We will attempt to fix this bug ASAP. Thank you again for your help!");
    EXPECT_EQ(memory.at(next + 23), "");  // the last line ends with its CR too

    const std::vector<std::string> division = SplitAt(fileLines[5], "\r");
    EXPECT_EQ(division[2], "Error Message:   Integer division by zero");
    EXPECT_EQ(division[3], "Error Code:      8");
    EXPECT_TRUE(division[5].rfind("Sourcecode line: ", 0) == 0) << "no target line expected";
}

TEST_F(CrashHandlerTest, AbortIsReportedToo) {
    const int status = CrashChild([] { abort(); });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGABRT);
    EXPECT_NE(FileText("bugreport.txt").find("Error Message:   Program aborted\r"),
              std::string::npos);
}

// Both threads fault: the second waits while the first report's box is open, and the
// run ends with one report and one box.
TEST_F(CrashHandlerTest, ASecondFaultOnTheOtherThreadWaitsForTheFirstReport) {
    ASSERT_TRUE(CreateNewFile("box.sh", "#!/bin/sh\necho shown >> boxes.txt\nsleep 0.5\n"));
    ASSERT_EQ(chmod("box.sh", 0755), 0);
    const int status = CrashChild(
        [] {
            std::thread other([] {
                while (access("boxes.txt", F_OK) != 0)
                    usleep(1000);
                WriteThroughNull();
            });
            other.detach();
            WriteThroughNull();
        },
        dir_ + "/box.sh");
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGSEGV);
    EXPECT_EQ(FileText("boxes.txt"), "shown\n");
    const std::vector<std::string> fileLines = SplitAt(FileText("bugreport.txt"), "\r\n");
    EXPECT_EQ(fileLines.size(), 4u);  // one block of three lines, then the final CR LF
}

}  // namespace
}  // namespace orv
