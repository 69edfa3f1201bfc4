#pragma once
// What a test report shows of a plan: the counts of each result, every record with its
// settings, signatures and difference, and the cells that could not be read as
// numbers. Worked out from the plan alone, with the program's own comparison, so a
// report and the window agree.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "engine/signature_buffer.h"
#include "testplan/record_cells.h"
#include "testplan/test_plan.h"

namespace orv {

// Where and when the report is made, and under which threshold.
struct ReportContext {
    std::string planFileName;
    std::string thresholdText = "1.50%";  // ORV_GoldenVsLiveThreshold in force
    std::string instrumentModel;
    std::string softwareVersion;
    LocalDateTime when;
};

// One pin record as the report shows it.
struct ReportRecord {
    int row = 0;
    std::string component;   // column 10
    std::string pin;         // column 11
    std::string note;        // column 12, the user's text
    std::string status;      // column 9
    bool hasGolden = false;  // column 30 is "Yes"
    RecordGenerator settings;
    int x = 0;  // pin position on the photograph
    int y = 0;
    bool pinOne = false;
    bool deleted = false;  // column 1 is "delete": no marker
    SignatureBuffer golden;
    int goldenPoints = 0;  // 0: no golden signature to draw
    SignatureBuffer dut;
    int dutPoints = 0;  // 0: no DUT signature; only a judged record shows one
    // DUT against golden in percent of full scale; nothing without both signatures
    // or without golden settings.
    std::optional<float> difference;
    // What a Bad record's two signatures show ("open", "leakage", ...) and the sentence
    // that says why; empty for the other records.
    std::string faultKind;
    std::string faultEvidence;
};

struct ReportCounts {
    int records = 0;
    int good = 0;
    int bad = 0;
    int untested = 0;
    int noTest = 0;
    int noGolden = 0;  // column 30 is not "Yes", whatever the status
};

// A run of consecutive records of one component: indices into TestReport::records.
struct ReportComponent {
    std::string name;
    int first = 0;
    int last = 0;
};

struct TestReport {
    ReportContext context;
    std::string photoName;  // header column 13, as stored
    float thresholdPercent = 0;
    ReportCounts counts;
    std::vector<ReportRecord> records;  // rows 2 and up, in plan order
    std::vector<ReportComponent> components;
    // "row 5, column 17: "abc" is not a number", for the numeric cells the report reads.
    std::vector<std::string> cellProblems;
};

TestReport BuildTestReport(const TestPlan& plan, const ReportContext& context);

// The program's version, "25.003".
std::string_view SoftwareVersionText();

// "12.34%": a difference or threshold as the status line writes it.
std::string PercentText(float percent);

// The counts of each result in percent of all records, as the window writes them.
std::string ShareText(int count, int records);

}  // namespace orv
