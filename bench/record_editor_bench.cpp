// The record editor's refresh while the user pans and zooms over a 12-megapixel board
// photograph: the fields, the picture with every pin and the prompt, shown in the real
// window (offscreen). The photograph is decoded once, on the first refresh.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <array>
#include <vector>

#include "display/photo_cache.h"
#include "display/record_editor_window.h"
#include "testplan/test_plan.h"
#include "ui/gui.h"

namespace orv {
namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

void WritePhotograph(const char* file) {
    QImage photo(kWidth, kHeight, QImage::Format_RGB32);
    photo.fill(QColor(20, 90, 40));
    QPainter painter(&photo);
    painter.setPen(QPen(QColor(200, 180, 60), 8));
    for (int i = 0; i < 40; ++i)
        painter.drawLine(100 * i, 0, 100 * i + 500, kHeight);
    painter.end();
    photo.save(file);
}

void BM_RefreshEditorPanAndZoom(benchmark::State& state) {
    WritePhotograph("bench_board.png");
    ui::Gui gui;
    BuildRecordEditorWindow(gui);
    TestPlan plan;
    ResizeTable(plan, 201, kPlanColumns);
    SetCell(plan, 1, column::kImageFile, "bench_board.png");
    std::vector<PcbPin> pins;
    for (int i = 0; i < 200; ++i) {
        pins.push_back(PcbPin{i + 2, 100 + (i % 20) * 190, 100 + (i / 20) * 280, "Untested", false,
                              i % 8 == 0, false});
    }
    PhotoCache cache;
    PcbViewState view;
    EditorState editor;
    editor.imageFile = "bench_board.png";
    editor.prompt = "Click on Pin 8";
    Photograph(cache, editor.imageFile);  // the one decoding, when the photograph is chosen
    const qint64 decoded = cache.held.image.cacheKey();
    // What the buttons do: zoom steps and tenths of the view to either side.
    constexpr std::array<float, 6> kZooms = {1, 2, 3, 5, 8, 25};
    int step = 0;
    for (auto _ : state) {
        editor.zoom = kZooms[static_cast<std::size_t>(step % 6)];
        editor.viewX = 500 + (step * 137) % 3000;
        editor.viewY = 400 + (step * 89) % 2200;
        editor.marker = {editor.viewX, editor.viewY};
        EditorPictureInput picture;
        picture.photo = &Photograph(cache, editor.imageFile);
        picture.levels = &cache.held.levels;
        picture.pins = pins;
        const ShownImage shown = RefreshEditor(gui, plan, 2, editor, picture, view);
        benchmark::DoNotOptimize(shown);
        ++step;
    }
    state.counters["decodings"] = cache.held.image.cacheKey() == decoded ? 1 : 2;
}
BENCHMARK(BM_RefreshEditorPanAndZoom)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orv
