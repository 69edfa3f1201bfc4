// The display's hot paths: the scope background, one trace refresh, the nine
// mini-scopes, the board view from a large photograph decoded once.

#include <benchmark/benchmark.h>

#include <QPainter>
#include <array>
#include <cmath>
#include <vector>

#include "display/pcb_view.h"
#include "display/scope_composition.h"
#include "display/thumbnail.h"

namespace orv {
namespace {

struct Curve {
    std::vector<float> x = std::vector<float>(129);
    std::vector<float> y = std::vector<float>(129);
    explicit Curve(float phase) {
        for (int i = 1; i <= 64; ++i) {
            const float t = 6.2831853f * static_cast<float>(i - 1) / 64.0f;
            x[i] = 1.8f * std::sin(t);
            y[i] = 0.0015f * std::sin(t + phase);
        }
    }
    SignatureView View() const { return {x, y, 64}; }
};

const Curve kGolden(0.6f);
const Curve kDut(0.9f);
const Curve kLive(0.5f);

ResultBadges Badges(int w, int h) {
    ResultBadges b;
    for (QImage* image : {&b.good, &b.bad, &b.untested, &b.noTest, &b.noSignature}) {
        *image = QImage(w, h, QImage::Format_RGB32);
        image->fill(Qt::darkGreen);
    }
    return b;
}

ScopeBackgroundInput BackgroundInput(const ResultBadges* badges) {
    ScopeBackgroundInput in;
    in.width = 696;
    in.height = 696;
    in.labels.peakMillivolts = 2000;
    in.labels.sourceOhms = 1000;
    in.labels.frequencyHz = 50;
    in.labels.recordIndex = 5;
    in.labels.rows = 40;
    in.labels.record = {"IC17, Pin 3", "", "Good", true};
    in.badges = badges;
    return in;
}

void BM_ScopeBackground(benchmark::State& state) {
    const ResultBadges badges = Badges(72, 23);
    const ScopeBackgroundInput in = BackgroundInput(&badges);
    ScopeImages images;
    for (auto _ : state) {
        ComposeScopeBackground(images, in);
        benchmark::DoNotOptimize(images.background.constBits());
    }
}
BENCHMARK(BM_ScopeBackground)->Unit(benchmark::kMicrosecond);

// What a new frame costs: the previous traces put back from the background, golden,
// DUT and live traces, the status line, and the live overlay on the centre mini-scope.
// Argument 1: the live trace moves every frame (a probe on a pin); 0: every frame draws
// the same picture (a lifted probe), which is found and skipped.
void BM_TraceRefresh696(benchmark::State& state) {
    const ResultBadges badges = Badges(72, 23);
    ScopeImages images;
    ComposeScopeBackground(images, BackgroundInput(&badges));
    images.centreThumbnail = QImage(231, 231, QImage::Format_RGB32);
    images.centreThumbnail.fill(Qt::black);
    images.centreWidth = 231;
    images.centreHeight = 231;
    TraceLayerInput in;
    in.xRange = 2;
    in.yRange = 0.002f;
    in.golden = kGolden.View();
    in.showDut = true;
    in.dut = kDut.View();
    in.connected = true;
    in.live = kLive.View();
    in.statusLine = LiveStatusLine(1, 12, 0.43f, "1.50%");
    Curve shifted = kLive;
    const bool moving = state.range(0) != 0;
    int frame = 0;
    for (auto _ : state) {
        if (moving) {
            for (size_t i = 1; i <= 64; ++i)
                shifted.x[i] = kLive.x[i] + 0.01f * static_cast<float>(frame % 7);
            in.live = shifted.View();
            ++frame;
        }
        ComposeTraceLayer(images, in);
        benchmark::DoNotOptimize(images.traceLayer.constBits());
        benchmark::DoNotOptimize(images.centreMiniScope.constBits());
    }
}
BENCHMARK(BM_TraceRefresh696)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_NineMiniScopes(benchmark::State& state) {
    const ResultBadges badges = Badges(23, 23);
    MiniScopeSetInput in;
    for (auto& size : in.sizes)
        size = {231, 231};
    for (auto& record : in.records) {
        record.peakMillivolts = 2000;
        record.sourceOhms = 1000;
        record.frequencyHz = 50;
        record.title = "IC17, Pin 3";
        record.result = "Bad";
        record.hasGolden = true;
        record.golden = kGolden.View();
        record.dut = kDut.View();
    }
    in.current = 10;
    in.rows = 40;
    in.badges = &badges;
    ScopeImages scope;
    for (auto _ : state) {
        auto images = ComposeMiniScopes(scope, in);
        benchmark::DoNotOptimize(images[8].constBits());
    }
}
BENCHMARK(BM_NineMiniScopes)->Unit(benchmark::kMicrosecond);

// A 4000 x 3000 (12-megapixel) photograph, decoded once and kept; each render crops
// and scales it, from the photograph itself (second argument 0) or from the smallest
// reduced copy that is large enough (1).
void BM_PcbView4000x3000(benchmark::State& state) {
    QImage photo(4000, 3000, QImage::Format_RGB32);
    photo.fill(QColor(20, 90, 40));
    {
        QPainter painter(&photo);
        painter.setPen(QPen(QColor(200, 180, 60), 8));
        for (int i = 0; i < 40; ++i)
            painter.drawLine(100 * i, 0, 100 * i + 500, 3000);
    }
    std::vector<PcbPin> pins;
    for (int i = 0; i < 200; ++i) {
        pins.push_back(PcbPin{i + 2, 100 + (i % 20) * 190, 100 + (i / 20) * 280, "Good", true,
                              i % 8 == 0, false});
    }
    PcbViewInput in;
    in.width = 464;
    in.height = 464;
    in.cx = 2000;
    in.cy = 1500;
    in.zoom = static_cast<float>(state.range(0));
    in.px0 = 1910;
    in.py0 = 1500;
    in.imageName = "testplans/images/board.jpg";
    in.photo = &photo;
    in.crosshairType = "3 line";
    in.pins = pins;
    const PhotoLevels levels = MakePhotoLevels(photo);
    if (state.range(1) != 0)
        in.levels = &levels;
    PcbViewState view;
    for (auto _ : state) {
        RenderPcbView(view, in);
        benchmark::DoNotOptimize(view.image.constBits());
    }
}
BENCHMARK(BM_PcbView4000x3000)->ArgsProduct({{1, 2, 4, 8}, {0, 1}})->Unit(benchmark::kMillisecond);

// Making the reduced copies, once per decoded photograph.
void BM_PhotoLevels4000x3000(benchmark::State& state) {
    QImage photo(4000, 3000, QImage::Format_RGB32);
    photo.fill(QColor(20, 90, 40));
    for (auto _ : state) {
        const PhotoLevels levels = MakePhotoLevels(photo);
        benchmark::DoNotOptimize(levels.halves.data());
    }
}
BENCHMARK(BM_PhotoLevels4000x3000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orv
