// Reading bitmap files as pictures, beside Qt's decoder alone on the same
// bytes in every iteration: pictures that the decoder refuses for their size
// (run-length data of a few bytes declared 16,384 pixels wide), which must
// cost no more than the decoder's refusal, and 1,024 x 768 pictures that it
// takes (run-length, 1 and 24 bits, and 24 bits cut after half its rows),
// which cost the decoder's reading and a picture of zeros to read into.
// Figures are milliseconds a picture and the ratio to the decoder's.
#include "BenchMain.h"
#include "platform/Pictures.h"
#include "tests/support/BitmapFile.h"

#include <QGuiApplication>
#include <QImage>
#include <QLoggingCategory>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <random>

namespace {

constexpr int kW = 1024, kH = 768;

// Rows of runs of 1 to 16 pixels of random greys, ended one by one.
QByteArray RunLengthRows() {
    std::mt19937 rng(7);
    QByteArray d;
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW;) {
            const int n = std::min<int>(kW - x, 1 + int(rng() % 16));
            d.append(char(n));
            d.append(char(rng() % 256));
            x += n;
        }
        d.append('\0');
        d.append('\0');
    }
    d.append('\0');
    d.append('\1');
    return d;
}

QByteArray RandomRows(int Bits, int Rows) {
    std::mt19937 rng(11);
    QByteArray d((kW * Bits + 31) / 32 * 4 * Rows, '\0');
    for (char& c : d)
        c = char(rng());
    return d;
}

const QByteArray& File(int Kind) {
    static const QByteArray few("\x02\x11\x00\x00\x02\x22\x00\x01", 8);
    static const QByteArray files[] = {
        BitmapFile(16384, 4096, 8, 1, few),
        BitmapFile(16384, 16384, 4, 2, few),
        BitmapFile(kW, kH, 8, 1, RunLengthRows()),
        BitmapFile(kW, kH, 1, 0, RandomRows(1, kH)),
        BitmapFile(kW, kH, 24, 0, RandomRows(24, kH)),
        BitmapFile(kW, kH, 24, 0, RandomRows(24, kH / 2)),
    };
    return files[Kind];
}

template <class F> double Seconds(F&& Work) {
    const auto t0 = std::chrono::steady_clock::now();
    Work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Arg: 0 run-length 8 bits declared 16,384 x 4,096, 1 run-length 4 bits
// declared 16,384 x 16,384 (both refused), 2 run-length 8 bits, 3 1 bit,
// 4 24 bits, 5 24 bits with half its rows.
void BM_LoadBitmap(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    const QByteArray& file = File(kind);
    const bool taken = kind >= 2;
    RunSideBySide(
        state,
        [&] {
            TBitmap b;
            bool ok = false;
            const double s = Seconds([&] { ok = b.LoadFromStream(file); });
            return ok == taken ? s : -1;
        },
        [&] {
            QImage img;
            bool ok = false;
            const double s = Seconds([&] { ok = img.loadFromData(file, "BMP"); });
            return ok == taken ? s : -1;
        },
        "ours", "decoder", "picture", 1);
    state.counters["file_bytes"] = double(file.size());
}
BENCHMARK(BM_LoadBitmap)->ArgName("kind")->DenseRange(0, 5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The decoder warns of every picture that it refuses for its size.
    return RunBenchmarks<QGuiApplication>(
        argc, argv, [] { QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.warning=false")); });
}
