// A page with a heavy metafile picture, as the program handles it: printed
// into a PDF file and saved as RTF (the log book's way, with the views' RTF
// options), beside the same page without the picture. The pictures are those
// of the shared corpus (metafile/heavy_emf_2000x100.emf.gz and
// heavy_wmf_2000x100.wmf.gz: 2,000 polylines of 100 points each). Every
// figure is the first print or save of a picture this process has not seen:
// run one benchmark per process (--benchmark_filter) for figures that keep
// nothing from another. The counter "written_MB" is the size of the RTF.
// A fourth page holds an enhanced metafile of as many polylines that begins
// with a record the older format has no counterpart for (the arcs'
// direction): a writer cannot translate it and tries to draw it, which takes
// too long, so it goes as it is once the bound of drawing it has run out.
// Beside them, the first drawing of each corpus picture into 600 x 400 pixels.
#include "BenchMain.h"
#include "platform/Pictures.h"
#include "platform/Printer.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"
#include "richtext/view/RPPrint.h"
#include "richtext/view/RichPad.h"
#include "tests/support/MetafileBuilder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

// The shared corpus: where PRAVOLIN_CORPUS says, else beside the checkout or
// beside the folder of work trees.
QByteArray CorpusPicture(const char* Name) {
    QStringList roots;
    if (qEnvironmentVariableIsSet("PRAVOLIN_CORPUS")) roots << qEnvironmentVariable("PRAVOLIN_CORPUS");
    for (const char* up : {"/..", "/../.."})
        roots << QStringLiteral(PRAVOLIN_SOURCE_DIR) + QLatin1String(up) + QStringLiteral("/shared/corpus");
    for (const QString& root : roots) {
        const QString path = root + QStringLiteral("/metafile/") + QLatin1String(Name);
        if (!QFile::exists(path)) continue;
        QProcess unzip;
        unzip.start(QStringLiteral("gzip"), {QStringLiteral("-dc"), path});
        unzip.waitForFinished(-1);
        return unzip.readAllStandardOutput();
    }
    return {};
}

// The page: a heading, a sentence, the picture at its size, a sentence.
QByteArray Page(const QByteArray& Picture, bool Enhanced) {
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\plain\\fs32\\b Bilder\\par"
                     "\\pard\\plain\\fs24 Die Linien laufen hin und her.\\par\\pard ";
    if (Enhanced) {
        rtf += "{\\pict\\emfblip\\picw26458\\pich13229 " + Picture.toHex() + "}";
    } else if (!Picture.isEmpty()) {
        // Without the placeable header; its frame is 1000 x 500 at 1440 per inch.
        rtf += "{\\pict\\wmetafile8\\picw1764\\pich882 " + Picture.mid(22).toHex() + "}";
    }
    return rtf + "\\par\\pard Ende der Seite.\\par}";
}

enum TPicture { None, Emf, Wmf, TooHeavyToCopy };

const char* const kFiles[] = {nullptr, "heavy_emf_2000x100.emf.gz", "heavy_wmf_2000x100.wmf.gz", nullptr};

QByteArray PictureOf(TPicture Kind) {
    if (Kind != TooHeavyToCopy) return Kind == None ? QByteArray() : CorpusPicture(kFiles[Kind]);
    TEmfBuilder b(1000, 500);
    b.Record(57, {2}); // arcs drawn clockwise
    for (int i = 0; i < 2000; ++i) {
        std::vector<int> xy;
        for (int k = 0; k < 100; ++k)
            xy.insert(xy.end(), {(k * 37 + i) % 1000, (i * 7 + k * 53) % 500});
        b.Polyline(xy);
    }
    return b.Bytes();
}

struct TPage {
    QTemporaryDir Dir;
    TRPStyle Style;
    TRichPad View{nullptr};
    bool Loaded = false;
    explicit TPage(TPicture Kind) {
        const QByteArray picture = PictureOf(Kind);
        if (Kind != None && picture.isEmpty()) return;
        const QString file = Dir.filePath(QStringLiteral("seite.rtf"));
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly)) return;
        f.write(Page(picture, Kind == Emf || Kind == TooHeavyToCopy));
        f.close();
        View.SetStyle(&Style);
        View.GetRTFReadProperties()->TextStyleMode = rprsAddIfNeeded;
        View.GetRTFReadProperties()->ParaStyleMode = rprsAddIfNeeded;
        Loaded = View.LoadRTF(file.toStdString());
    }
};

void BM_PrintPage(benchmark::State& state) {
    TPage page(static_cast<TPicture>(state.range(0)));
    if (!page.Loaded) return state.SkipWithError("no corpus");
    TRPPrint print(nullptr);
    Printer()->SetOutputFileName(page.Dir.filePath(QStringLiteral("seite.pdf")));
    Printer()->SetPageSizeMM(210, 297);
    for (auto _ : state) {
        print.AssignSource(&page.View);
        print.FormatPages();
        if (!print.Print(QStringLiteral("Bilder"), 1, false)) state.SkipWithError("printing failed");
    }
    print.ReleaseSource();
    Printer()->SetOutputFileName(QString());
}

void BM_SaveRTF(benchmark::State& state) {
    TPage page(static_cast<TPicture>(state.range(0)));
    if (!page.Loaded) return state.SkipWithError("no corpus");
    size_t written = 0;
    for (auto _ : state) {
        std::string rtf;
        if (!page.View.SaveRTFToStream(rtf, false)) state.SkipWithError("saving failed");
        written = rtf.size();
    }
    state.counters["written_MB"] = static_cast<double>(written) / (1024.0 * 1024.0);
}

// The picture alone, drawn for the first time into 600 x 400 pixels (as a
// writer or a copy draws it, waiting for it).
void BM_FirstDraw(benchmark::State& state) {
    const QByteArray bytes = CorpusPicture(kFiles[state.range(0)]);
    if (bytes.isEmpty()) return state.SkipWithError("no corpus");
    TMetafile meta;
    meta.LoadFromStream(bytes);
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas(&image);
    for (auto _ : state)
        canvas.StretchDraw(Bounds(0, 0, 600, 400), meta);
    canvas.Release();
}

} // namespace

// 0: the page without a picture, 1: with the enhanced metafile, 2: with the
// Windows metafile, 3: with the enhanced metafile too heavy to copy.
BENCHMARK(BM_PrintPage)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_SaveRTF)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_FirstDraw)->DenseRange(1, 2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv) {
    return RunBenchmarks<QApplication>(argc, argv);
}
