// Speed of the drawing toolkit where it works per frame or per pixel:
// - one filled frame of the turning cube on the 530 x 530 picture of the
//   rotating-solid exercise (the animation asks for one every 10 to 20 ms),
// - the same frame as a wire model with its gradient edges and balls,
// - a grey copy of a 400 x 300 picture, beside Qt's own grey conversion of the
//   same picture as the reference,
// - a cup of the basin exercise: a cylinder of 301 shaded strips with its lid
//   of 301 more, each a polygon filled and outlined.
#include "BenchMain.h"
#include "drawing/UNetzbau.h"
#include "drawing/URender.h"
#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"

#include "platform/ControlsExt.h"
#include "platform/Pictures.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

const tFarbfeld kFarben{RGB(255, 255, 0), RGB(0, 255, 0), RGB(0, 200, 255),
                        RGB(255, 0, 0),   RGB(0, 0, 255), RGB(200, 100, 50)};

void Wuerfelbild(benchmark::State& state, bool gefuellt) {
    TImage bild(nullptr);
    bild.SetBounds(0, 0, 530, 530);
    tAnsicht a;
    a.Bild = &bild;
    a.Drehung = DrehmatrixX1(20 * M_PI / 180);
    double winkel = 0;
    for (auto _ : state) {
        a.Drehung = MatrixProdukt1(a.Drehung, DrehmatrixY1(M_PI / 180));
        winkel = winkel >= 90 ? 0 : winkel + 1;
        benchmark::DoNotOptimize(WuerfelnetzZeichnen1(kFarben, gefuellt, true, 3.6, winkel, true, a));
    }
}

void BM_WuerfelGefuellt(benchmark::State& state) {
    Wuerfelbild(state, true);
}
void BM_WuerfelDraht(benchmark::State& state) {
    Wuerfelbild(state, false);
}

QImage Buntbild() {
    QImage bild(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            bild.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    return bild;
}

void BM_GrauBild(benchmark::State& state) {
    TBitmap quelle(Buntbild());
    for (auto _ : state)
        benchmark::DoNotOptimize(GrauBild(&quelle, 1.5));
}

void BM_QtGraustufen(benchmark::State& state) {
    const QImage quelle = Buntbild();
    for (auto _ : state)
        benchmark::DoNotOptimize(quelle.convertToFormat(QImage::Format_Grayscale8));
}

void BM_Zylinder(benchmark::State& state) {
    TImage bild(nullptr);
    bild.SetBounds(0, 0, 200, 260);
    for (auto _ : state)
        ZylinderZeichnen(100, 220, 70, 150, 120, 160, 230, 200, 220, 255, true, &bild);
}

} // namespace

BENCHMARK(BM_WuerfelGefuellt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WuerfelDraht)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrauBild)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QtGraustufen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Zylinder)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunBenchmarks<QApplication>(argc, argv);
}
