#include "report/test_report.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string_view>

#include "display/fault_tooltips.h"
#include "display/ui_refresh.h"
#include "engine/difference.h"
#include "engine/fault_kind.h"
#include "engine/thresholds.h"
#include "testplan/cell_numbers.h"

namespace orv {

namespace {

bool EqualsIgnoringCase(std::string_view text, std::string_view word) {
    if (text.size() != word.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(word[i])))
            return false;
    }
    return true;
}

std::size_t SkipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
        ++at;
    return at;
}

// Whether a cell holds a number as the program writes them (blanks around it
// allowed); an empty cell is an absent value, not a fault.
bool IsNumberCell(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos)
        return true;
    text = text.substr(begin, text.find_last_not_of(" \t") + 1 - begin);
    std::size_t at = 0;
    if (text[at] == '+' || text[at] == '-')
        ++at;
    const std::string_view rest = text.substr(at);
    if (EqualsIgnoringCase(rest, "infinity") || EqualsIgnoringCase(rest, "nan"))
        return true;
    const std::size_t digitsEnd = SkipDigits(text, at);
    std::size_t end = digitsEnd;
    std::size_t fractionEnd = end;
    if (end < text.size() && text[end] == '.') {
        fractionEnd = SkipDigits(text, end + 1);
        end = fractionEnd;
    }
    if (digitsEnd == at && fractionEnd <= digitsEnd + 1)
        return false;  // no digit at all
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        end = SkipDigits(text, exponent);
        if (end == exponent)
            return false;
    }
    return end == text.size();
}

class CellChecker {
public:
    CellChecker(const TestPlan& plan, std::vector<std::string>& problems)
        : plan_(plan), problems_(problems) {}

    void Check(int row, int col) {
        const std::string_view text = CellView(plan_, row, col);
        if (IsNumberCell(text))
            return;
        problems_.push_back("row " + std::to_string(row) + ", column " + std::to_string(col) +
                            ": \"" + std::string(text) + "\" is not a number");
    }

    // The point count and the points of a block.
    void CheckBlock(int row, int offset, int points) {
        Check(row, offset + column::kPointCount);
        for (int col = offset + column::kPointCount + 1;
             col <= offset + column::kPointCount + 2 * points; ++col)
            Check(row, col);
    }

private:
    const TestPlan& plan_;
    std::vector<std::string>& problems_;
};

bool ShowsDut(std::string_view status) {
    return status == kGood || status == kBad;
}

}  // namespace

std::string_view SoftwareVersionText() {
    return ORV_VERSION;
}

std::string PercentText(float percent) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f%%", static_cast<double>(percent));
    return text;
}

std::string ShareText(int count, int records) {
    return ResultPercentText(count, records);
}

TestReport BuildTestReport(const TestPlan& plan, const ReportContext& context) {
    TestReport report;
    report.context = context;
    report.photoName = Cell(plan, 1, column::kImageFile);
    report.thresholdPercent = VerdictThreshold(context.thresholdText);
    const int rows = RowCount(plan);
    report.records.reserve(static_cast<std::size_t>(std::max(0, rows - 1)));
    CellChecker checker(plan, report.cellProblems);
    ReportCounts& counts = report.counts;
    for (int row = kFirstRecordRow; row <= rows; ++row) {
        ReportRecord& r = report.records.emplace_back();
        r.row = row;
        r.component = Cell(plan, row, column::kComponent);
        r.pin = Cell(plan, row, column::kPin);
        r.note = Cell(plan, row, column::kUserText);
        r.status = Cell(plan, row, column::kStatus);
        r.hasGolden = CellView(plan, row, column::kSignature) == "Yes";
        r.settings = RecordSettings(plan, row);
        r.x = static_cast<int>(IntegerCell(plan, row, column::kTestX));
        r.y = static_cast<int>(IntegerCell(plan, row, column::kTestY));
        r.pinOne = r.pin == "1";
        r.deleted = CellView(plan, row, column::kRecord) == "delete";
        checker.Check(row, column::kTestX);
        checker.Check(row, column::kTestY);
        if (r.hasGolden) {
            for (const int col : {column::kVoltage, column::kResistance, column::kFrequency})
                checker.Check(row, col);
            r.goldenPoints = LoadSignature(plan, row, kGoldenBlock, r.golden.X, r.golden.Y);
            checker.CheckBlock(row, 0, r.goldenPoints);
            if (ShowsDut(r.status)) {
                r.dutPoints = LoadSignature(plan, row, kDutBlock, r.dut.X, r.dut.Y);
                checker.CheckBlock(row, kBlockColumns, r.dutPoints);
            }
            if (r.goldenPoints > 0 && r.dutPoints > 0)
                r.difference = RecordDifference(plan, row, r.dut);
        }
        if (const std::optional<FaultClass> fault = ClassifyRecord(plan, row)) {
            r.faultKind = std::string(FaultKindText(fault->kind));
            r.faultEvidence = FaultTooltip(*fault);
        }
        ++counts.records;
        counts.good += r.status == kGood ? 1 : 0;
        counts.bad += r.status == kBad ? 1 : 0;
        counts.untested += r.status == kUntested ? 1 : 0;
        counts.noTest += r.status == kNoTest ? 1 : 0;
        counts.noGolden += r.hasGolden ? 0 : 1;
    }
    for (const ComponentRun& run : ComponentRuns(plan)) {
        report.components.push_back({Cell(plan, run.first, column::kComponent),
                                     run.first - kFirstRecordRow, run.last - kFirstRecordRow});
    }
    return report;
}

}  // namespace orv
