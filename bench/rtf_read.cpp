// Reading a large RTF document (text, styles, lists, pictures; about 5 MB, made
// here) into a document, beside unrtf --text and pandoc -f rtf -t plain on the
// same file. Figures are MB/s of RTF input.
#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class TBenchDoc : public TCustomRPData {
public:
    ~TBenchDoc() override { Clear(); }
    mutable TRPStyle Style;
    TRPStyle* GetRPStyle() const override { return &Style; }
};

std::string PngHex() {
    QImage img(48, 32, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(x * 5, y * 7, (x * y) & 0xFF));
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return png.toHex().toStdString();
}

// A document in the style of the program's pages and of word processors' output.
const std::string& Document() {
    static const std::string doc = [] {
        std::string s =
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
            "{\\f1\\froman\\fcharset0 Times New Roman;}{\\f2\\fcharset2 Symbol;}{\\f3\\fcharset204 Tahoma "
            "CYR;}}"
            "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;\\red0\\green0\\blue255;}"
            "{\\stylesheet{\\s0 Normal;}{\\s1\\b\\fs32 heading 1;}}"
            "{\\*\\listtable{\\list\\listid1{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}"
            "{\\levelnumbers\\'01;}\\fi-360\\li720\\tx720}{\\listlevel\\levelnfc4\\levelstartat1"
            "{\\leveltext\\'02\\'01);}{\\levelnumbers\\'01;}\\fi-360\\li1440\\tx1440}}"
            "{\\list\\listid2{\\listlevel\\levelnfc23\\f2{\\leveltext\\'01\\u-3913 "
            "?;}\\fi-360\\li720\\tx720}}}"
            "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}}\n";
        const std::string png = PngHex();
        int n = 0;
        while (s.size() < 5 * 1024 * 1024) {
            ++n;
            s += "\\pard\\plain\\s1\\sb240\\sa120\\b\\fs32 Abschnitt " + std::to_string(n) + "\\par\n";
            s += "\\pard\\plain\\f1\\fs24\\qj Die Zahl {\\b " + std::to_string(n * 37) +
                 "} ist {\\i gr\\'f6\\'dfer} als {\\cf1 " + std::to_string(n) +
                 "}. Ein Rechteck hat vier Ecken und vier Seiten; gegen\\'fcberliegende Seiten sind gleich "
                 "lang. \\u8364? 3,50 kostet das Heft, {\\ul unterstrichen} und {\\cf3\\strike durch} und "
                 "{\\f3 \\'cf\\'f0\\'e8\\'ec\\'e5\\'f0}.\\par\n";
            s +=
                "\\pard\\ls1\\ilvl0\\fi-360\\li720 erster Punkt der Liste\\par\n"
                "\\pard\\ls1\\ilvl1\\fi-360\\li1440 Unterpunkt mit {\\b fett}\\par\n"
                "\\pard\\ls2\\fi-360\\li720 Aufz\\'e4hlung\\tab mit Tabulator\\line und Zeilenumbruch\\par\n";
            if (n % 25 == 0)
                s += "\\pard\\qc{\\*\\shppict{\\pict\\pngblip\\picw48\\pich32\\picwgoal720\\pichgoal480 " +
                     png + "}}{\\nonshppict{\\pict\\wmetafile8\\picw48\\pich32 0100090000}}\\par\n";
        }
        s += "}";
        return s;
    }();
    return doc;
}

QString DocumentFile() {
    static const QString path = [] {
        const QString p = QDir::tempPath() + "/pravolin_rtf_read_bench.rtf";
        QFile f(p);
        if (f.open(QIODevice::WriteOnly)) f.write(Document().data(), static_cast<qint64>(Document().size()));
        return p;
    }();
    return path;
}

void ReportBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(Document().size()));
}

void BM_RTFImportIntoDocument(benchmark::State& state) {
    const std::string& rtf = Document();
    size_t items = 0;
    for (auto _ : state) {
        TBenchDoc doc;
        TRPRTFReaderProperties props;
        props.UnicodeMode = rpruMixed;
        props.TextStyleMode = rprsAddIfNeeded;
        props.ParaStyleMode = rprsAddIfNeeded;
        QByteArray bytes = QByteArray::fromRawData(rtf.data(), static_cast<qsizetype>(rtf.size()));
        QBuffer buf(&bytes);
        buf.open(QIODevice::ReadOnly);
        if (props.ReadRTFStream(buf, &doc) != 0) state.SkipWithError("import failed");
        items = static_cast<size_t>(doc.GetItemCount());
    }
    state.counters["items"] = static_cast<double>(items);
    ReportBytes(state);
}

void BM_RTFReaderEventsOnly(benchmark::State& state) {
    const std::string& rtf = Document();
    for (auto _ : state) {
        size_t chars = 0;
        TRPRTFReader r;
        r.OnNewText = [&](TRPRTFReader*, const std::string& t, TRPRTFPosition) { chars += t.size(); };
        r.OnNewUnicodeText = [&](TRPRTFReader*, const std::u16string& t, TRPRTFPosition) {
            chars += t.size();
        };
        if (r.ReadFromBuffer(rtf.data(), rtf.size()) != 0) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(chars);
    }
    ReportBytes(state);
}

void RunTool(benchmark::State& state, const char* tool, const std::string& command) {
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
        state.SkipWithError((std::string(tool) + " is not installed").c_str());
        return;
    }
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError((std::string(tool) + " failed").c_str());
    ReportBytes(state);
}

void BM_Unrtf(benchmark::State& state) {
    RunTool(state, "unrtf", "unrtf --text '" + DocumentFile().toStdString() + "' > /dev/null 2>&1");
}

void BM_Pandoc(benchmark::State& state) {
    RunTool(state, "pandoc", "pandoc -f rtf -t plain '" + DocumentFile().toStdString() + "' -o /dev/null");
}

} // namespace

BENCHMARK(BM_RTFImportIntoDocument)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RTFReaderEventsOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Unrtf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Pandoc)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QFile::remove(DocumentFile());
    return 0;
}
