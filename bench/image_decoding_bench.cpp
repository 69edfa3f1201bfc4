// Decoding a board photograph of 4000 x 3000 pixels in each format the record editor
// accepts, and encoding one as the editor saves it.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include "media/image_decoding.h"
#include "media/image_encoding.h"

namespace {

// A photograph-like board: shaded solder mask, pads, traces, chips and sensor noise,
// so that the compressed sizes are those of a real photograph, not of flat colour.
const QImage& BoardPhoto() {
    static const QImage photo = [] {
        QImage image(4000, 3000, QImage::Format_RGB32);
        QPainter painter(&image);
        QLinearGradient mask(0, 0, 4000, 3000);
        mask.setColorAt(0, QColor(20, 90, 40));
        mask.setColorAt(1, QColor(10, 60, 30));
        painter.fillRect(image.rect(), mask);
        QRandomGenerator random(7);
        painter.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < 600; ++i) {
            painter.setPen(QPen(QColor(190, 160, 80), 6 + random.bounded(10)));
            painter.drawLine(random.bounded(4000), random.bounded(3000), random.bounded(4000),
                             random.bounded(3000));
        }
        for (int i = 0; i < 120; ++i) {
            const QRect chip(random.bounded(3800), random.bounded(2800), 80 + random.bounded(300),
                             60 + random.bounded(200));
            painter.fillRect(chip, QColor(25, 25, 28));
            for (int pin = chip.left(); pin < chip.right(); pin += 25) {
                painter.fillRect(pin, chip.bottom(), 12, 30, QColor(200, 200, 205));
            }
        }
        painter.end();
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int n = static_cast<int>(random.bounded(9)) - 4;
                const QRgb p = line[x];
                line[x] = qRgb(std::clamp(qRed(p) + n, 0, 255), std::clamp(qGreen(p) + n, 0, 255),
                               std::clamp(qBlue(p) + n, 0, 255));
            }
        }
        return image;
    }();
    return photo;
}

std::string Png() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    BoardPhoto().save(&buffer, "PNG", 50);
    return bytes.toStdString();
}

void Decode(benchmark::State& state, const std::string& bytes) {
    for (auto _ : state) {
        std::optional<QImage> image = orv::DecodeImage(bytes);
        if (!image)
            state.SkipWithError("decoding failed");
        benchmark::DoNotOptimize(image);
    }
    state.counters["MiB"] = static_cast<double>(bytes.size()) / (1024 * 1024);
}

void DecodeJpeg(benchmark::State& state) {
    Decode(state, *orv::EncodeJpeg(BoardPhoto(), 90));
}
void DecodePng(benchmark::State& state) {
    Decode(state, Png());
}
void DecodeJp2Lossy(benchmark::State& state) {
    Decode(state, *orv::EncodeJpeg2000(BoardPhoto(), {orv::Jpeg2000Container::File, 20}));
}
void DecodeJp2Lossless(benchmark::State& state) {
    Decode(state, *orv::EncodeJpeg2000(BoardPhoto()));
}

void EncodeJpeg(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(orv::EncodeJpeg(BoardPhoto(), 90));
}
void EncodeJp2Lossy(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            orv::EncodeJpeg2000(BoardPhoto(), {orv::Jpeg2000Container::File, 20}));
    }
}

BENCHMARK(DecodeJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodePng)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeJp2Lossy)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeJp2Lossless)->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeJp2Lossy)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
