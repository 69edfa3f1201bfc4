// The test report of a large plan: 1000 records with golden and DUT signatures and a
// 12-megapixel board photograph, from the plan file to the written page.

#include <benchmark/benchmark.h>

#include <QImage>
#include <array>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/files.h"
#include "media/image_decoding.h"
#include "media/image_encoding.h"
#include "report/board_picture.h"
#include "report/report_command.h"
#include "report/report_csv.h"
#include "report/report_html.h"
#include "report/test_report.h"
#include "testplan/orv_file.h"
#include "testplan/record_cells.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

constexpr int kRecords = 1000;
constexpr int kPhotoWidth = 4000;  // 12 megapixels
constexpr int kPhotoHeight = 3000;

// Every record has a golden loop and a DUT loop near it; one in ten is Bad.
TestPlan LargePlan() {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> noise(-0.01f, 0.01f);
    std::uniform_int_distribution<int> px(0, kPhotoWidth - 1);
    std::uniform_int_distribution<int> py(0, kPhotoHeight - 1);
    TestPlan plan;
    ResizeTable(plan, kRecords + 1, kPlanColumns);
    SetCell(plan, 1, column::kImageFile, "board.jpg");
    const GeneratorSettings generator{1000, 1000, 50, 0, 0, 0, 0};
    std::array<float, kMaxStoredPoints + 1> x{};
    std::array<float, kMaxStoredPoints + 1> y{};
    for (int row = 2; row <= kRecords + 1; ++row) {
        const bool bad = row % 10 == 0;
        const std::string component = "IC" + std::to_string(row / 16 + 1);
        const std::string pin = std::to_string(row % 16 + 1);
        SetCell(plan, row, column::kDescription, component + ", Pin " + pin);
        SetCell(plan, row, column::kStatus, bad ? "Bad" : "Good");
        SetCell(plan, row, column::kComponent, component);
        SetCell(plan, row, column::kPin, pin);
        SetCell(plan, row, column::kUserText, bad ? "check, \"reflow\"" : "");
        SetCell(plan, row, column::kTestX, std::to_string(px(random)));
        SetCell(plan, row, column::kTestY, std::to_string(py(random)));
        SetCell(plan, row, column::kSignature, "Yes");
        for (int block : {kGoldenBlock, kDutBlock}) {
            const float shift = block == kDutBlock ? (bad ? 0.1f : 0.005f) : 0.0f;
            for (int i = 1; i <= 64; ++i) {
                const float a = 2.0f * std::numbers::pi_v<float> * static_cast<float>(i) / 64.0f;
                x[i] = 0.6f * std::cos(a) + shift + noise(random);
                y[i] = 0.0004f * std::sin(2.0f * a) + noise(random) * 0.001f;
            }
            StoreSignature(plan, row, block, generator, 64, x, y);
        }
    }
    return plan;
}

// A photograph with detail everywhere, so the decoder has real work.
QImage Photo() {
    QImage photo(kPhotoWidth, kPhotoHeight, QImage::Format_RGB32);
    std::mt19937 random(7);
    for (int yy = 0; yy < kPhotoHeight; ++yy) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(yy));
        for (int xx = 0; xx < kPhotoWidth; ++xx) {
            const int grain = static_cast<int>(random() % 32);
            line[xx] = qRgb(20 + grain + (xx / 40) % 60, 90 + grain + (yy / 30) % 50, 40 + grain);
        }
    }
    return photo;
}

class ReportFiles {
public:
    ReportFiles() {
        folder_ = fs::temp_directory_path() / ("orv-report-bench-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        previous_ = fs::current_path();
        fs::current_path(folder_);
        plan = LargePlan();
        WriteWholeFile("plan.orv", TestPlanBytes(plan));
        WriteWholeFile("board.jpg", EncodeJpeg(Photo(), 90).value_or(""));
    }
    ~ReportFiles() {
        fs::current_path(previous_);
        fs::remove_all(folder_);
    }
    TestPlan plan;

private:
    fs::path folder_;
    fs::path previous_;
};

ReportFiles& Files() {
    static ReportFiles files;
    return files;
}

ReportContext Context() {
    ReportContext c;
    c.planFileName = "plan.orv";
    c.instrumentModel = "ORV320";
    c.softwareVersion = "25.003";
    return c;
}

// The whole command: plan file read, photograph decoded and drawn, page and CSV written.
void BM_ReportCommand(benchmark::State& state) {
    Files();
    const std::vector<std::string> arguments = {"plan.orv", "-o", "report.html", "--csv",
                                                "records.csv"};
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        if (RunReportCommand(arguments, out, err, {}) != kReportWritten)
            state.SkipWithError(err.str().c_str());
    }
    state.counters["html_MB"] =
        static_cast<double>(fs::file_size("report.html")) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ReportCommand)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_BuildTestReport(benchmark::State& state) {
    const TestPlan& plan = Files().plan;
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildTestReport(plan, Context()));
}
BENCHMARK(BM_BuildTestReport)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_BoardPicture(benchmark::State& state) {
    const TestReport report = BuildTestReport(Files().plan, Context());
    for (auto _ : state) {
        const BoardPhoto photo = LoadBoardPhoto("board.jpg", "plan.orv");
        benchmark::DoNotOptimize(DrawBoardPicture(*photo.image, report.records));
    }
}
BENCHMARK(BM_BoardPicture)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PageAndCsv(benchmark::State& state) {
    const TestReport report = BuildTestReport(Files().plan, Context());
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReportHtml(report, nullptr, ""));
        benchmark::DoNotOptimize(ReportCsv(report));
    }
}
BENCHMARK(BM_PageAndCsv)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace orv

BENCHMARK_MAIN();
