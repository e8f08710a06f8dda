// GIF decoding and encoding of a 640 x 480 picture with 256 colours made
// here (gradients with noise), and reading of the
// whole shared GIF test corpus when it is present. Figures are megapixels/s;
// no other GIF decoder is installed here to compare with.
#include "BenchMain.h"
#include "imaging/GIFCodec.h"
#include "imaging/GIFImage.h"

#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kW = 640, kH = 480;

const std::vector<uint8_t>& Picture() {
    static const std::vector<uint8_t> pixels = [] {
        std::vector<uint8_t> p(size_t(kW) * kH);
        std::mt19937 rng(1);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                p[size_t(y) * kW + size_t(x)] = uint8_t((x / 3 + y / 5 + (rng() % 4)) & 0xFF);
        return p;
    }();
    return pixels;
}

void BM_DecodeLZW(benchmark::State& state) {
    const QByteArray raw = GIFEncodeLZW(Picture(), kW, kH, 8, false);
    std::vector<uint8_t> out;
    for (auto _ : state)
        benchmark::DoNotOptimize(GIFDecodeLZW(raw, kW, kH, 8, false, out));
    state.counters["MPix/s"] =
        benchmark::Counter(double(kW) * kH * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_DecodeLZW);

void BM_EncodeLZW(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(GIFEncodeLZW(Picture(), kW, kH, 8, false));
    state.counters["MPix/s"] =
        benchmark::Counter(double(kW) * kH * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_EncodeLZW);

void BM_ReadCorpus(benchmark::State& state) {
    std::vector<QByteArray> files;
    QDirIterator it(QStringLiteral(PRAVOLIN_SOURCE_DIR "/../shared/corpus/gif"), {QStringLiteral("*.gif")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly)) files.push_back(f.readAll());
    }
    if (files.empty()) {
        state.SkipWithError("corpus not present");
        return;
    }
    double pixels = 0;
    for (auto _ : state) {
        for (const QByteArray& data : files) {
            TGIFImage gif;
            if (!gif.LoadFromStream(data)) continue;
            for (const auto& f : gif.Frames()) {
                f->Bitmap();
                pixels += double(f->Width()) * f->Height();
            }
        }
    }
    state.counters["MPix/s"] = benchmark::Counter(pixels * 1e-6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadCorpus);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QGuiApplication>(argc, argv);
}
