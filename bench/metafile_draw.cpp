// Metafile pictures: drawing a heavy enhanced metafile (100 polylines of 100
// points across the picture, as heavy as a drawing may be and still be drawn
// within the bound at that size) again at 600 x 400 beside drawing a bitmap
// of that size and drawing its SVG; enhanced metafiles of 2,000 and 10,000
// such polylines across 1000 x 500 pixels (as heavy as the corpus picture
// and five times as heavy) made into Windows metafiles record for record
// (as RTF and copies write them) beside their conversion into SVG; a
// page of eight pictures that use up their CPU time, until its text is
// painted for the screen; and the page of the corpus with two Windows
// metafiles (rtfpipe/phprtflite/image_from_strings.rtf) opened again beside
// the same page without them, its first opening (the conversions it waits
// for when printed), and LibreOffice converting the same file.
#include "BenchMain.h"
#include "ViewBenchDocument.h"
#include "platform/MetafileCache.h"
#include "platform/MetafileConvert.h"
#include "platform/MetafileTranslate.h"
#include "platform/Pictures.h"
#include "richtext/model/RPItemNonText.h"
#include "tests/support/BusyMetafileHelper.h"
#include "tests/support/MetafileBuilder.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

const QString PagePath =
    QStringLiteral(PRAVOLIN_SOURCE_DIR "/../shared/corpus/rtf/rtfpipe/phprtflite/image_from_strings.rtf");

QImage White(int W, int H) {
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void BM_HeavyEmfDrawnAgain(benchmark::State& state) {
    TMetafile meta;
    meta.LoadFromStream(PolylinesEmf(600, 400, 100));
    QImage image = White(600, 400);
    TCanvas canvas(&image);
    // The first drawing.
    if (!meta.DrawPicture(canvas, Bounds(0, 0, 600, 400)))
        return state.SkipWithError("drawn as its frame: too heavy for the bound");
    for (auto _ : state)
        canvas.StretchDraw(Bounds(0, 0, 600, 400), meta);
    canvas.Release();
}

// What every drawing cost when the SVG itself was drawn.
void BM_HeavyEmfSvgDrawn(benchmark::State& state) {
    TMetafileSvg svg;
    if (!ConvertMetafile(PolylinesEmf(600, 400, 100), true, svg))
        return state.SkipWithError("conversion failed");
    QSvgRenderer renderer(svg.Svg);
    QImage image = White(600, 400);
    for (auto _ : state) {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        renderer.render(&p, QRectF(0, 0, 600, 400));
    }
}

void BM_BitmapOfThatSizeDrawn(benchmark::State& state) {
    QImage pixels = White(600, 400);
    pixels.fill(Qt::yellow);
    const TBitmap bitmap(pixels);
    QImage image = White(600, 400);
    TCanvas canvas(&image);
    for (auto _ : state)
        canvas.StretchDraw(Bounds(0, 0, 600, 400), bitmap);
    canvas.Release();
}

void BM_HeavyEmfTranslatedToWmf(benchmark::State& state) {
    const QByteArray emf = PolylinesEmf(1000, 500, static_cast<int>(state.range(0)));
    for (auto _ : state)
        if (WindowsMetafileOf(emf).isEmpty()) return state.SkipWithError("not translated");
    state.counters["MB"] = static_cast<double>(emf.size()) / (1024.0 * 1024.0);
}

// The same records through the library into SVG, as a picture is converted
// when it is loaded.
void BM_HeavyEmfConvertedToSvg(benchmark::State& state) {
    const QByteArray emf = PolylinesEmf(1000, 500, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TMetafileSvg svg;
        if (!ConvertMetafile(emf, true, svg)) return state.SkipWithError("conversion failed");
    }
}

// A document read from RTF bytes, formatted, and its first 800 pixels
// painted as a window paints them.
void OpenAndPaint(const QByteArray& Rtf, QWidget* Screen) {
    TViewBenchDoc d(kWidth, kHeight, 5, true);
    QByteArray bytes = Rtf;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    d.RTF.ReadRTFStream(buffer, &d);
    d.Format(false, false, false, 0, nullptr, false, false);
    TScreenPaintScope screen(Screen);
    d.PaintDocument(d.Canvas, Rect(0, 0, kWidth, kHeight));
    benchmark::DoNotOptimize(d.Surface.bits());
}

// Eight slow pictures of bytes not seen before in every iteration.
void BM_PageOfEightSlowPicturesShowsItsText(benchmark::State& state) {
    QWidget screen;
    TBusyMetafileHelper busy;
    static int variant = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QByteArray rtf =
            "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Liberation Serif;}}\\pard\\plain\\fs48 Rechnen\\par ";
        for (int i = 0; i < 8; ++i) {
            const QByteArray wmf = SmallWmf(++variant).mid(22);
            rtf += "{\\pict\\wmetafile8\\picw2540\\pich2540\\picwgoal1440\\pichgoal1440\\bin" +
                   QByteArray::number(wmf.size()) + " " + wmf + "}";
        }
        rtf += "\\par}";
        state.ResumeTiming();
        OpenAndPaint(rtf, &screen);
    }
}

QByteArray Page() {
    QFile f(PagePath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void BM_PageWithMetafilesOpenedAgain(benchmark::State& state) {
    const QByteArray page = Page();
    if (page.isEmpty()) return state.SkipWithError("no corpus");
    QWidget screen;
    OpenAndPaint(page, &screen);
    for (auto _ : state)
        OpenAndPaint(page, &screen);
}

void BM_SamePageWithoutThem(benchmark::State& state) {
    QByteArray page = Page();
    if (page.isEmpty()) return state.SkipWithError("no corpus");
    page = QString::fromLatin1(page)
               .remove(QRegularExpression(QStringLiteral("\\{\\\\pict\\\\wmetafile[^}]*\\}")))
               .toLatin1();
    QWidget screen;
    for (auto _ : state)
        OpenAndPaint(page, &screen);
}

// The bytes of the metafiles of a document and of its table cells.
void Collect(const TCustomRPData& D, std::vector<QByteArray>& Out) {
    for (int i = 0; i < D.GetItemCount(); ++i) {
        const TCustomRPItemInfo* item = D.GetItem(i);
        if (const auto* p = dynamic_cast<const TRPGraphicItemInfo*>(item))
            if (const auto* m = dynamic_cast<const TMetafile*>(p->Image.get()))
                Out.push_back(m->SaveToStream());
        for (int k = 0; k < item->GetSubRPDataCount(); ++k)
            if (const TCustomRPData* sub = item->GetSubRPDataAt(k)) Collect(*sub, Out);
    }
}

// The first opening as printing has it: the page, then its pictures
// converted (not from what this process keeps) and drawn.
void BM_PageWithMetafilesFirstOpened(benchmark::State& state) {
    const QByteArray page = Page();
    if (page.isEmpty()) return state.SkipWithError("no corpus");
    TViewBenchDoc d(kWidth, kHeight, 5, true);
    QByteArray bytes = page;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    d.RTF.ReadRTFStream(buffer, &d);
    std::vector<QByteArray> pictures;
    Collect(d, pictures);
    for (auto _ : state) {
        OpenAndPaint(page, nullptr);
        for (const QByteArray& wmf : pictures) {
            TMetafileSvg svg;
            if (!ConvertMetafile(wmf, false, svg)) state.SkipWithError("conversion failed");
        }
    }
    state.counters["pictures"] = static_cast<double>(pictures.size());
}

void BM_LibreOfficeConvertsThePage(benchmark::State& state) {
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        return state.SkipWithError("soffice is not installed");
    QTemporaryDir dir;
    const std::string command =
        "soffice -env:UserInstallation=file://" + dir.filePath("profile").toStdString() +
        " --headless --convert-to pdf --outdir '" + dir.filePath("out").toStdString() + "' '" +
        PagePath.toStdString() + "' > /dev/null 2>&1";
    // The first start builds LibreOffice's profile; it is not measured.
    if (std::system(command.c_str()) != 0) state.SkipWithError("soffice failed");
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("soffice failed");
}

} // namespace

BENCHMARK(BM_HeavyEmfDrawnAgain)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HeavyEmfSvgDrawn)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_BitmapOfThatSizeDrawn)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HeavyEmfTranslatedToWmf)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HeavyEmfConvertedToSvg)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PageOfEightSlowPicturesShowsItsText)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_PageWithMetafilesOpenedAgain)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SamePageWithoutThem)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PageWithMetafilesFirstOpened)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_LibreOfficeConvertsThePage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv) {
    return RunBenchmarks<QApplication>(argc, argv);
}
